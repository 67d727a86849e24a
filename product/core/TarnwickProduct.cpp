#include "product/core/TarnwickProduct.h"

#include "framework/core/IDataChunk.h"
#include "framework/core/IPluginAPIBase.h"
#include "framework/core/IPluginProcessor.h"
#include "framework/core/ParamChangeSource.h"
#include "product/core/AmpEngine.h"
#include "product/core/ChainState.h"
#include "product/core/EditorFit.h"
#include "product/core/FactoryRecipes.h"
#include "product/core/ParamSetup.h"
#include "product/core/ParamSpecTable.h"
#include "product/core/TailLength.h"
#include "product/core/TarnwickConfig.h"

#include <algorithm>
#include <cmath>
#include <cstring>

TarnwickProduct::TarnwickProduct(pfw::IPluginAPIBase& plugin, pfw::IPluginProcessor& processor)
  : mPlugin(plugin)
  , mProcessor(processor)
  , mEngine(std::make_unique<AmpEngine>())
{
  for (int i = 0; i < kNumParams; ++i)
  {
    if (pfw::IParam* param = mPlugin.GetParam(i))
      SetUpParamFromTable(*param, i);
  }

  const FactoryRecipeTable& recipes = FactoryRecipes();
  for (int i = 0; i < kNumFactoryRecipes; ++i)
  {
    pfw::IDataChunk chunk;
    WriteChainState(chunk, recipes[i].values, recipes[i].values, i, false);
    mPlugin.MakePresetFromChunk(recipes[i].name, chunk);
  }

  mBanks.CopyToOtherBank();
  UpdateTailSamples();
}

TarnwickProduct::~TarnwickProduct() = default;

double TarnwickProduct::GetCurrentParamValue(int index) const
{
  const pfw::IParam* param = mPlugin.GetParam(index);
  return param ? param->Value() : 0.0;
}

void TarnwickProduct::GetCurrentValues(float values[kNumParams]) const
{
  for (int i = 0; i < kNumParams; ++i)
    values[i] = ParamValueToFloat(GetCurrentParamValue(i));
}

void TarnwickProduct::SetAllParamValues(const float values[kNumParams], bool notifyHost)
{
  for (int i = 0; i < kNumParams; ++i)
  {
    pfw::IParam* param = mPlugin.GetParam(i);
    if (!param)
      continue;
    if (notifyHost)
      mPlugin.BeginHostParamEdit(i);
    param->Set(param->Constrain(values[i]));
    const double normalized = param->GetNormalized();
    if (notifyHost)
    {
      mPlugin.PerformHostParamEdit(i, normalized);
      mPlugin.EndHostParamEdit(i);
    }
    mPlugin.SendParameterValueFromDelegate(i, normalized, true);
  }
  UpdateTailSamples();
}

void TarnwickProduct::SetParamFromPhysical(int paramIdx, double value, bool gesture)
{
  pfw::IParam* param = mPlugin.GetParam(paramIdx);
  if (!param || paramIdx >= kNumParams || std::isnan(value))
    return;
  const double physical = std::clamp(value, static_cast<double>(ParamSpecTable::kMinimums[paramIdx]),
                                     static_cast<double>(ParamSpecTable::kMaximums[paramIdx]));
  const double normalized = param->ToNormalized(physical);
  if (gesture)
    mPlugin.BeginHostParamEdit(paramIdx);
  mPlugin.SetParameterValue(paramIdx, normalized);
  param->Set(param->Constrain(param->FromNormalized(normalized)));
  mPlugin.OnParamChangeUI(paramIdx, pfw::kUI);
  mPlugin.SendParameterValueFromDelegate(paramIdx, normalized, true);
  if (gesture)
    mPlugin.EndHostParamEdit(paramIdx);
}

void TarnwickProduct::OnActivate(bool active)
{
  if (!active)
  {
    mActivated.store(false);
    return;
  }
  OnReset();
}

void TarnwickProduct::OnReset()
{
  double rate = mProcessor.GetSampleRate();
  if (!std::isfinite(rate) || rate <= 0.0)
    rate = 48000.0;
  mProcessingRate.store(rate);
  float values[kNumParams];
  GetCurrentValues(values);
  mEngine->SetTargets(values);
  mEngine->Prepare(rate, kMaxPieceFrames);
  mProcessor.SetLatency(kPluginLatency);
  UpdateTailSamples();
  mActivated.store(true);
}

void TarnwickProduct::UpdateTailSamples()
{
  float values[kNumParams];
  GetCurrentValues(values);
  const double rate = mProcessingRate.load();
  mTailSamples.store(TailSecondsToSamples(ComputeTailSeconds(values, rate), rate));
}

void TarnwickProduct::ProcessBlock(float** inputs, float** outputs, int nFrames)
{
  if (nFrames < 1)
    return;
  const int usedInputs = std::min(mProcessor.NChannelsConnected(pfw::kInput), 2);
  const int nOutputs = mProcessor.NChannelsConnected(pfw::kOutput);
  if (!mSideChainConnected || !inputs)
  {
    RenderBlock(inputs, usedInputs, outputs, nOutputs, nFrames);
    return;
  }
  // The side-chain follows the two main channels; a mono side-chain feeds both sides.
  const int channels = mProcessor.NChannels(pfw::kInput);
  const float* left = channels > 2 && !(mSideChainSilence & kMuteLeftInput) ? inputs[2] : nullptr;
  const float* right = left;
  if (channels > 3 && mProcessor.IsChannelConnected(pfw::kInput, 3))
    right = (mSideChainSilence & kMuteRightInput) ? nullptr : inputs[3];
  const float* sideChain[2] = {left, right};
  RenderBlock(inputs, usedInputs, outputs, nOutputs, nFrames, sideChain);
}

void TarnwickProduct::RenderBlock(const float* const* inputs, int usedInputs, float* const* outputs, int nOutputs,
                                  int nFrames, const float* const* sideChain)
{
  if (nFrames < 1 || outputs == nullptr)
    return;
  if (!mActivated.load())
  {
    for (int ch = 0; ch < nOutputs; ++ch)
    {
      if (outputs[ch])
        std::memset(outputs[ch], 0, sizeof(float) * static_cast<size_t>(nFrames));
    }
    return;
  }

  float values[kNumParams];
  GetCurrentValues(values);
  mEngine->SetTargets(values);
  mSideChainInBlock = sideChain != nullptr;

  for (int offset = 0; offset < nFrames; offset += kMaxPieceFrames)
  {
    const int piece = std::min(kMaxPieceFrames, nFrames - offset);
    FillInputs(inputs, inputs ? usedInputs : 0, sideChain, offset, piece);
    RunEngine(piece);
    WriteOutputs(outputs, nOutputs, offset, piece);
  }
}

void TarnwickProduct::FillInputs(const float* const* inputs, int usedInputs, const float* const* sideChain,
                                 int offset, int nFrames)
{
  const float* left = usedInputs >= 1 && !(mInputMask & kMuteLeftInput) ? inputs[0] : nullptr;
  const float* right = nullptr;
  if (usedInputs >= 2)
    right = (mInputMask & kMuteRightInput) ? nullptr : inputs[1];
  for (int n = 0; n < nFrames; ++n)
  {
    mInput[0][n] = left ? left[offset + n] : 0.0f;
    // A single input feeds both sides of the engine.
    mInput[1][n] = usedInputs >= 2 ? (right ? right[offset + n] : 0.0f) : mInput[0][n];
  }
  for (int ch = 0; ch < 2; ++ch)
  {
    const float* source = sideChain ? sideChain[ch] : nullptr;
    if (source)
      std::memcpy(mAux[ch], source + offset, sizeof(float) * static_cast<size_t>(nFrames));
    else
      std::memset(mAux[ch], 0, sizeof(float) * static_cast<size_t>(nFrames));
  }
}

void TarnwickProduct::RunEngine(int nFrames)
{
  const float* inputs[2] = {mInput[0], mInput[1]};
  float* outputs[2] = {mOutput[0], mOutput[1]};
  const float* aux[2] = {mAux[0], mAux[1]};
  mEngine->Process(inputs, outputs, nFrames, mHostBypass, aux, mSideChainInBlock);
}

void TarnwickProduct::WriteOutputs(float* const* outputs, int nOutputs, int offset, int nFrames)
{
  if (nOutputs == 1)
  {
    if (float* out = outputs[0])
    {
      for (int n = 0; n < nFrames; ++n)
        out[offset + n] = (mOutput[0][n] + mOutput[1][n]) * 0.5f;
    }
    return;
  }
  for (int ch = 0; ch < nOutputs; ++ch)
  {
    float* out = outputs[ch];
    if (!out)
      continue;
    if (ch < 2)
      std::memcpy(out + offset, mOutput[ch], sizeof(float) * static_cast<size_t>(nFrames));
    else
      std::memset(out + offset, 0, sizeof(float) * static_cast<size_t>(nFrames));
  }
}

void TarnwickProduct::OnParentWindowResize(int width, int height)
{
  pfw::IEditorGraphics* graphics = mPlugin.GetGraphics();
  if (!graphics)
  {
    if (const std::optional<EditorFit> fit = FitEditorToWindow(width, height, mPlugin.EditorWindowScale()))
      mPlugin.SetClosedEditorSize(kEditorWidth, kEditorHeight, fit->scale);
    return;
  }
  // Before its layout has run the editor has nothing to fit to the window.
  if (mResizing || graphics->NControls() == 0)
    return;
  const std::optional<EditorFit> fit = FitEditorToWindow(width, height, graphics->GetPlatformWindowScale());
  if (!fit)
    return;
  // Resizing the graphics may resize the parent window, which reports back here.
  mResizing = true;
  graphics->Resize(kEditorWidth, kEditorHeight, fit->scale, fit->needsPlatformResize);
  mResizing = false;
}

void TarnwickProduct::EditorSizeForWindow(int& width, int& height, pfw::IEditorDelegate::DrivingSides driving) const
{
  // A side that does not drive the editor's size takes whatever its proportions need.
  constexpr int kUnbounded = 1 << 20;
  if (driving == pfw::IEditorDelegate::DrivingSides::kWidth)
    height = kUnbounded;
  else if (driving == pfw::IEditorDelegate::DrivingSides::kHeight)
    width = kUnbounded;
  const float windowScale = mPlugin.EditorWindowScale();
  const std::optional<EditorFit> fit = FitEditorToWindow(std::max(width, 1), std::max(height, 1), windowScale);
  const EditorWindowSize size = EditorSizeAtScale(fit ? fit->scale : kMinEditorScale, windowScale);
  width = size.width;
  height = size.height;
}

bool TarnwickProduct::IsParamUnused(int paramIdx) const
{
  const auto off = [this](int stageSwitch) { return !(GetCurrentParamValue(stageSwitch) >= 0.5); };
  if (paramIdx >= kParamGateThreshold && paramIdx <= kParamScTrim)
    return off(kParamGateEnabled);
  if (paramIdx >= kParamPedalType && paramIdx <= kParamPedalBlend)
    return off(kParamPedalEnabled);
  if (paramIdx >= kParamAmpType && paramIdx <= kParamPowerType)
    return off(kParamAmpEnabled);
  if (paramIdx >= kParamCabType && paramIdx <= kParamCabRoom)
  {
    if (off(kParamCabEnabled))
      return true;
    return paramIdx == kParamSecondMicType && GetCurrentParamValue(kParamMicBlend) <= 0.0;
  }
  if (paramIdx >= kParamEqLow && paramIdx <= kParamEqLp)
    return off(kParamEqEnabled);
  if (paramIdx >= kParamChorusRate && paramIdx <= kParamChorusMix)
    return off(kParamChorusEnabled);
  if (paramIdx >= kParamDelayTime && paramIdx <= kParamDelayPingPong)
    return off(kParamDelayEnabled);
  if (paramIdx >= kParamReverbSize && paramIdx <= kParamReverbMix)
    return off(kParamReverbEnabled);
  if (paramIdx == kParamSafetyCeiling)
    return off(kParamSafetyClip);
  if (paramIdx == kParamAnalyzerSpeed)
    return off(kParamAnalyzer);
  return false;
}
