#pragma once

#include "framework/core/IDataChunk.h"
#include "framework/core/WindowsServices.h"
#include "product/core/ParamIds.h"

#include <atomic>

// What the bank operations need from the plug-in, which holds the current settings in its
// parameters.
class ChainParamAccess
{
public:
  // The current plain value of a parameter.
  virtual double GetCurrentParamValue(int index) const = 0;
  // Stores each constrained value, tells the host when asked and the editor always, and
  // then brings everything that depends on the whole setting (the tail length) up to date.
  virtual void SetAllParamValues(const float values[kNumParams], bool notifyHost) = 0;

protected:
  ~ChainParamAccess() = default;
};

// The settings bank that is not active, the recipe most recently applied and which bank is
// active, with the operations of the editor (recipes, COPY, A/B) and of the host (save and
// restore). Every element changes by atomic exchange, so the audio thread never waits.
// The user-interface-side operations are also serialised against each other, so that a
// save never sees a bank switch half done and loses a bank.
class ChainBanks
{
public:
  explicit ChainBanks(ChainParamAccess& params);
  ~ChainBanks();
  ChainBanks(const ChainBanks&) = delete;
  ChainBanks& operator=(const ChainBanks&) = delete;

  // Appends the state record; true only when the whole record was written. Non-finite or
  // out-of-range values are written as they would be used (made safe), so a saved state
  // can always be loaded again.
  bool SerializeState(pfw::IDataChunk& chunk) const;
  // Restores a record that fills the chunk from the start position: parameters (editor told,
  // host not), other bank, recipe index, active bank. Returns the next position or -1, in
  // which case nothing has changed.
  int UnserializeState(const pfw::IDataChunk& chunk, int startPosition);

  // Sets every parameter to the recipe's values, with host notification; indices outside
  // 0 to 39 do nothing. The banks are not touched.
  void ApplyRecipe(int index);
  // COPY: the other bank becomes the current settings.
  void CopyToOtherBank();
  // A/B: the current settings and the other bank trade places and the active bank flips.
  void SwitchBank();
  // The first recipe the current settings match, or -1 for custom settings.
  int FindMatchingRecipe() const;

  int GetRecipeIndex() const { return mRecipeIndex.load(); }
  bool IsBankBActive() const { return mBankB.load(); }
  // 0 for an index outside 0 to 83.
  float GetOtherBankValue(int index) const;

private:
  void GetCurrentValues(float values[kNumParams]) const;

  ChainParamAccess& mParams;
  std::atomic<float> mOtherBank[kNumParams];
  std::atomic<int> mRecipeIndex{0};
  std::atomic<bool> mBankB{false};
  mutable CRITICAL_SECTION mEditLock; // user-interface and host-state side only, never audio
};
