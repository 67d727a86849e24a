#pragma once

#include "GrowString.h"
#include "HostIdentity.h"
#include "IDataChunk.h"
#include "IGuiEditorDelegate.h"
#include "IPresetSlot.h"
#include "PointerList.h"

namespace pfw {

// What identifies the plug-in and what it persists: names, ids and version, the host's
// identity, the framework's serialisation of parameter values, and the preset slots.
class IPluginBase : public IGuiEditorDelegate
{
public:
  IPluginBase(int nParams, int nPresets);
  ~IPluginBase() override;

  virtual void NotifyHostParamDetailsChanged();
  virtual bool SerializeState(IDataChunk& chunk) const;
  virtual int UnserializeState(const IDataChunk& chunk, int startPos);
  virtual void OnCurrentPresetChanged();

  // One little-endian double per parameter in index order, nothing else. True only when
  // the chunk grew by exactly that much.
  bool SerializeParams(IDataChunk& chunk) const;
  // Reads one double per parameter; each is constrained and stored. Short data stops the
  // reading with -1, keeping the values already set. Either way the editor and the hooks
  // hear of the reset with the source "Preset".
  int UnserializeParams(const IDataChunk& chunk, int startPos);

  // Fills the first uninitialised preset slot; false when every slot is taken.
  bool MakePresetFromChunk(const char* name, const IDataChunk& chunk);
  int NPresets() const { return mPresets.GetSize(); }
  IPresetSlot* GetPreset(int index) const { return mPresets.Get(index); }
  // The slot's name, or "" for an index out of range.
  const char* GetPresetName(int index) const;
  // Loads an initialised slot (true when its chunk was read); an empty slot instead becomes
  // the next "user preset N" holding the current state. On success the slot is the current
  // preset and the editor hears of the restore. False for an index out of range.
  bool RestorePreset(int index);
  int GetCurrentPresetIdx() const { return mCurrentPresetIdx; }

  // Packed 0xMMMMmmbb, or with the decimal flag major x 10000 + minor x 100 + bug-fix.
  int GetPluginVersion(bool decimal) const;
  const char* GetPluginName() const { return mPluginName.Get(); }
  const char* GetProductName() const { return mProductName.Get(); }
  const char* GetMfrName() const { return mMfrName.Get(); }
  int GetUniqueID() const { return mUniqueID; }
  int GetMfrID() const { return mMfrID; }
  int GetHost() const { return mHost; }
  const char* GetHostName() const { return mHostName.Get(); }
  int GetHostVersion() const { return mHostVersion; }
  const char* GetBundleID() const { return mBundleID.Get(); }
  const char* GetAppGroupID() const { return mAppGroupID.Get(); }
  bool DoesStateChunks() const { return mStateChunks; }
  bool HasUI() const { return mHasUI; }
  bool GetHostResizeEnabled() const { return mHostResize; }

protected:
  bool mStateChunks = false;
  GrowString mPluginName;
  GrowString mProductName;
  GrowString mMfrName;
  int mUniqueID = 0;
  int mMfrID = 0;
  int mVersion = 0;
  int mHostVersion = 0;
  int mHost = kHostUninit;
  GrowString mHostName;
  GrowString mBundleID;
  GrowString mAppGroupID;
  bool mHasUI = false;
  bool mHostResize = false;

private:
  PointerList<IPresetSlot> mPresets{true};
  int mCurrentPresetIdx = 0;
};

} // namespace pfw
