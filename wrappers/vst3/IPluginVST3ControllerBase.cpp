#include "wrappers/vst3/IPluginVST3ControllerBase.h"

#include "deps/vst3/helpers/StringConvert.h"
#include "deps/vst3/interfaces/IChannelContext.h"
#include "wrappers/vst3/IPluginVST3.h"
#include "wrappers/vst3/IPluginVST3Parameter.h"
#include "wrappers/vst3/MidiControllerNames.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>

namespace pfw {

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

// Longest track text taken from the host, in UTF-16 units.
constexpr int64 kMaxTrackTextUnits = 1024;

bool AddUnit(IPluginVST3& plugin, const char* name, UnitID id, UnitID parent)
{
  String128 wide;
  widenText(wide, 128, name);
  Unit* unit = new (std::nothrow) Unit(wide, id, parent, kNoProgramListId);
  return unit && plugin.addUnit(unit);
}

// A text attribute of the host's stated length, bounded whatever the host says.
void TakeText(IAttributeList* list, const char* lengthKey, const char* textKey, GrowString& text)
{
  // A missing or nonsensical length reads as the longest text taken.
  int64 length = kMaxTrackTextUnits;
  if (list->getInt(lengthKey, length) != kResultOk || length <= 0)
    length = kMaxTrackTextUnits;
  length = std::min(length, kMaxTrackTextUnits);
  char16 wide[kMaxTrackTextUnits + 1];
  std::memset(wide, 0, sizeof(wide));
  const uint32 bytes = static_cast<uint32>((length + 1) * static_cast<int64>(sizeof(char16)));
  if (list->getString(textKey, wide, bytes) != kResultOk)
    return;
  wide[length] = 0;
  char utf8[kMaxTrackTextUnits * 3 + 1];
  utf16ToUtf8(utf8, sizeof(utf8), wide);
  text.Set(utf8);
}

} // namespace

IPluginVST3ControllerBase::IPluginVST3ControllerBase(ParameterContainer& parameters)
  : mParameters(&parameters)
  , mTrackName(nullptr)
  , mTrackNamespace(nullptr)
  , mTrackIdentifier(nullptr)
{
}

bool IPluginVST3ControllerBase::Initialize(IPluginVST3& plugin, bool instrument, bool midiIn)
{
  mGroupNames.Clear();
  mBypassParameter = nullptr;
  if (!instrument)
  {
    IPluginVST3BypassParameter* bypass = new (std::nothrow) IPluginVST3BypassParameter;
    if (!bypass || !mParameters->addParameter(bypass))
      return false;
    mBypassParameter = bypass;
  }
  if (!AddUnit(plugin, "Root", kRootUnitId, kNoParentUnitId))
    return false;
  int nUnits = 1;
  for (int i = 0; i < plugin.NParams(); ++i)
  {
    IParam* param = plugin.GetParam(i);
    UnitID unitId = kRootUnitId;
    const char* group = param->GetGroup();
    if (group && group[0])
    {
      int position = 0;
      while (position < mGroupNames.GetSize() && std::strcmp(mGroupNames.Get(position)->Get(), group) != 0)
        ++position;
      if (position == mGroupNames.GetSize())
      {
        GrowString* name = new (std::nothrow) GrowString(group);
        if (!name || !mGroupNames.Add(name) || !AddUnit(plugin, group, position + 1, kRootUnitId))
          return false;
        ++nUnits;
      }
      unitId = position + 1;
    }
    IPluginVST3Parameter* parameter = new (std::nothrow) IPluginVST3Parameter(*param, i, unitId);
    if (!parameter || !mParameters->addParameter(parameter))
      return false;
  }
  if (midiIn)
  {
    const UnitID midiUnit = nUnits + 1;
    const UnitID channelUnit = nUnits + 2;
    char channelName[16];
    std::snprintf(channelName, sizeof(channelName), "CH%i", 1);
    if (!AddUnit(plugin, "MIDI CCs", midiUnit, kRootUnitId) || !AddUnit(plugin, channelName, channelUnit, midiUnit))
      return false;
    for (int controller = 0; controller < kMidiControllersPerChannel; ++controller)
    {
      String128 title;
      widenText(title, 128, controller < 128               ? MidiControllerName(controller)
                            : controller == kAfterTouch ? "Channel Aftertouch"
                                                        : "Pitch Bend");
      const double initial = controller == kPitchBend ? 0.5 : 0.0;
      if (!mParameters->addParameter(title, nullptr, 0, initial, 0, kFirstMidiTag + static_cast<ParamID>(controller),
                                     channelUnit))
        return false;
    }
  }
  return true;
}

bool IPluginVST3ControllerBase::SetChannelContextInfos(IAttributeList* list)
{
  if (!list)
    return false;
  namespace Keys = ChannelContext;
  TakeText(list, Keys::kChannelNameLengthKey, Keys::kChannelNameKey, mTrackName);
  TakeText(list, Keys::kChannelUIDLengthKey, Keys::kChannelUIDKey, mTrackIdentifier);
  TakeText(list, Keys::kChannelIndexNamespaceLengthKey, Keys::kChannelIndexNamespaceKey, mTrackNamespace);
  int64 value = 0;
  if (list->getInt(Keys::kChannelIndexKey, value) == kResultOk)
    mTrackIndex = static_cast<int>(value);
  if (list->getInt(Keys::kChannelColorKey, value) == kResultOk)
    mTrackColour = static_cast<uint32_t>(value);
  if (list->getInt(Keys::kChannelIndexNamespaceOrderKey, value) == kResultOk)
    mTrackNamespaceOrder = static_cast<int>(value);
  list->getInt(Keys::kChannelPluginLocationKey, value);
  return true;
}

} // namespace pfw
