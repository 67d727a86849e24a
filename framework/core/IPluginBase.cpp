#include "IPluginBase.h"

#include "ParamChangeSource.h"

#include <cstdio>
#include <cstring>

namespace pfw {

IPluginBase::IPluginBase(int nParams, int nPresets)
  : IGuiEditorDelegate(nParams)
{
  for (int i = 0; i < nPresets; ++i)
  {
    IPresetSlot* slot = new IPresetSlot;
    if (!mPresets.Add(slot))
    {
      delete slot;
      break;
    }
  }
}

IPluginBase::~IPluginBase() = default;

void IPluginBase::NotifyHostParamDetailsChanged() {}

bool IPluginBase::SerializeState(IDataChunk& chunk) const
{
  return SerializeParams(chunk);
}

int IPluginBase::UnserializeState(const IDataChunk& chunk, int startPos)
{
  return UnserializeParams(chunk, startPos);
}

void IPluginBase::OnCurrentPresetChanged() {}

bool IPluginBase::SerializeParams(IDataChunk& chunk) const
{
  // A partly failed append must not pass for a saved state.
  const int before = chunk.Size();
  for (int i = 0; i < NParams(); ++i)
    chunk.Put(GetParam(i)->Value());
  return chunk.Size() == before + 8 * NParams();
}

int IPluginBase::UnserializeParams(const IDataChunk& chunk, int startPos)
{
  int position = startPos;
  for (int i = 0; position >= 0 && i < NParams(); ++i)
  {
    double value = 0.0;
    position = chunk.Get(value, position);
    if (position >= 0)
    {
      IParam* param = GetParam(i);
      param->Set(param->Constrain(value));
    }
  }
  OnParamReset(kPresetRecall);
  return position;
}

bool IPluginBase::MakePresetFromChunk(const char* name, const IDataChunk& chunk)
{
  for (int i = 0; i < mPresets.GetSize(); ++i)
  {
    IPresetSlot* slot = mPresets.Get(i);
    if (slot->initialized)
      continue;
    slot->initialized = true;
    std::snprintf(slot->name, sizeof(slot->name), "%s", name ? name : "");
    slot->state.PutChunk(chunk);
    return true;
  }
  return false;
}

const char* IPluginBase::GetPresetName(int index) const
{
  const IPresetSlot* slot = mPresets.Get(index);
  return slot ? slot->name : "";
}

bool IPluginBase::RestorePreset(int index)
{
  IPresetSlot* slot = mPresets.Get(index);
  if (!slot)
    return false;
  bool restored = false;
  if (slot->initialized)
    restored = UnserializeState(slot->state, 0) > 0;
  else
  {
    slot->initialized = true;
    int userPresets = 0;
    for (int i = 0; i < mPresets.GetSize(); ++i)
      userPresets += std::strstr(mPresets.Get(i)->name, "user preset") ? 1 : 0;
    std::snprintf(slot->name, sizeof(slot->name), "%s %d", "user preset", userPresets + 1);
    slot->state.Clear();
    restored = SerializeState(slot->state);
  }
  if (restored)
  {
    mCurrentPresetIdx = index;
    OnCurrentPresetChanged();
    OnRestoreState();
  }
  return restored;
}

int IPluginBase::GetPluginVersion(bool decimal) const
{
  if (!decimal)
    return mVersion;
  const int major = (mVersion >> 16) & 0xFFFF;
  const int minor = (mVersion >> 8) & 0xFF;
  const int bugFix = mVersion & 0xFF;
  return major * 10000 + minor * 100 + bugFix;
}

} // namespace pfw
