#pragma once

#include "framework/core/IEditorDelegate.h"
#include "product/core/ChainBanks.h"
#include "product/core/ParamIds.h"

#include <atomic>
#include <cstdint>
#include <memory>

class AmpEngine;

namespace pfw {
class IDataChunk;
class IPluginAPIBase;
class IPluginProcessor;
} // namespace pfw

// The product's side of the plug-in object, independent of the wrapper that each
// deliverable puts around it: the parameters set up from the table, the factory presets,
// the engine and its block processing, the tail length, the banks, recipes and state,
// and the editor's resize and dimming rules. The plug-in class owns one and forwards the
// framework's hooks to it; the editor works with it directly.
class TarnwickProduct : public ChainParamAccess
{
public:
  static constexpr int kMaxPieceFrames = 512;
  // Input mask bits: the left or right main input is heard as silence.
  static constexpr int kMuteLeftInput = 0x1;
  static constexpr int kMuteRightInput = 0x2;

  // `plugin` and `processor` are the two faces of the same, already constructed plug-in
  // object. Sets up its parameters and fills its preset slots with the factory recipes.
  TarnwickProduct(pfw::IPluginAPIBase& plugin, pfw::IPluginProcessor& processor);
  virtual ~TarnwickProduct();
  TarnwickProduct(const TarnwickProduct&) = delete;
  TarnwickProduct& operator=(const TarnwickProduct&) = delete;

  // Activation prepares the engine afresh at the processor's rate (48000 when that is not
  // usable) and reports the latency; deactivation only stops processing.
  void OnActivate(bool active);
  // The same steps as an activation.
  void OnReset();
  bool IsActivated() const { return mActivated.load(); }
  double GetProcessingSampleRate() const { return mProcessingRate.load(); }

  // One host block on the audio thread, with the processor's connected channels. The
  // side-chain, when connected, is read from input channels 2 and 3.
  void ProcessBlock(float** inputs, float** outputs, int nFrames);
  // The same for a given number of used inputs (0 ... 2) and outputs: the engine runs in
  // pieces of at most kMaxPieceFrames; one output gets the mean of the engine's two,
  // outputs beyond the second are silent. `sideChain` is null while no side-chain is
  // connected, else its left and right channel (a null channel is silent).
  void RenderBlock(const float* const* inputs, int usedInputs, float* const* outputs, int nOutputs, int nFrames,
                   const float* const* sideChain = nullptr);

  // Set by wrappers that offer them; the standalone program never does.
  void SetHostBypass(bool bypass) { mHostBypass = bypass; }
  void SetInputMask(int mask) { mInputMask = mask; }
  // Whether the host feeds the side-chain in this block, and which of its channels it
  // marks silent (kMuteLeftInput, kMuteRightInput). Without a side-chain the gate's and the
  // monitor's "External" source stays silent.
  void SetSideChainInput(bool connected, int silenceMask)
  {
    mSideChainConnected = connected;
    mSideChainSilence = silenceMask;
  }

  void UpdateTailSamples();
  int64_t GetTailSamples() const { return mTailSamples.load(); }

  // Fits the editor to its parent window (pixels), limiting the scale; a closed editor
  // opens at that fit.
  void OnParentWindowResize(int width, int height);
  // The size in pixels the editor takes in a parent window of width x height pixels, or for
  // the one side that drives it, the other following the editor's proportions.
  void EditorSizeForWindow(int& width, int& height, pfw::IEditorDelegate::DrivingSides driving) const;
  // True when the stage that owns the parameter is switched off, so the editor dims it.
  bool IsParamUnused(int paramIdx) const;

  bool SerializeState(pfw::IDataChunk& chunk) const { return mBanks.SerializeState(chunk); }
  int UnserializeState(const pfw::IDataChunk& chunk, int startPos) { return mBanks.UnserializeState(chunk, startPos); }
  void ApplyRecipe(int index) { mBanks.ApplyRecipe(index); }
  void CopyToOtherBank() { mBanks.CopyToOtherBank(); }
  void SwitchBank() { mBanks.SwitchBank(); }
  int FindMatchingRecipe() const { return mBanks.FindMatchingRecipe(); }
  int GetRecipeIndex() const { return mBanks.GetRecipeIndex(); }
  bool IsBankBActive() const { return mBanks.IsBankBActive(); }
  float GetOtherBankValue(int index) const { return mBanks.GetOtherBankValue(index); }

  const AmpEngine& GetEngine() const { return *mEngine; }

  // Sets a parameter from a physical value, limited to its range (a gesture that maps to
  // physical values, such as the microphone drag, may overshoot): the host hears of it,
  // inside its own edit when `gesture` is set, and every control of the parameter follows.
  void SetParamFromPhysical(int paramIdx, double value, bool gesture);

  // 0 for an index outside 0 ... 83.
  double GetCurrentParamValue(int index) const override;
  // Each value constrained into its parameter; the host hears of each inside its own edit
  // gesture when asked, the editor always; then the tail length follows.
  void SetAllParamValues(const float values[kNumParams], bool notifyHost) override;

protected:
  // Runs the engine over the first nFrames of the block buffers.
  virtual void RunEngine(int nFrames);

private:
  void GetCurrentValues(float values[kNumParams]) const;
  void FillInputs(const float* const* inputs, int usedInputs, const float* const* sideChain, int offset, int nFrames);
  void WriteOutputs(float* const* outputs, int nOutputs, int offset, int nFrames);

  pfw::IPluginAPIBase& mPlugin;
  pfw::IPluginProcessor& mProcessor;
  std::unique_ptr<AmpEngine> mEngine;
  ChainBanks mBanks{*this};
  std::atomic<double> mProcessingRate{48000.0};
  // Written by whichever thread changes parameters, the audio thread included.
  std::atomic<int64_t> mTailSamples{0};
  std::atomic<bool> mActivated{false};
  bool mHostBypass = false;
  int mInputMask = 0;
  bool mSideChainConnected = false;
  int mSideChainSilence = 0;
  bool mSideChainInBlock = false; // the engine hears a connected side-chain in this block
  bool mResizing = false;
  float mInput[2][kMaxPieceFrames] = {};
  float mOutput[2][kMaxPieceFrames] = {};
  float mAux[2][kMaxPieceFrames] = {};
};
