#include "product/core/DisplaySnapshot.h"

DisplaySnapshot::DisplaySnapshot()
  : sampleRate(48000.0)
  , auxConnected(false)
  , auxInUse(false)
  , signalPresent(false)
{
  for (int i = 0; i < kDisplayPoints; ++i)
  {
    inputSpectrum[i] = -120.0f;
    outputSpectrum[i] = -120.0f;
    inputWaveform[i] = 0.0f;
    outputWaveform[i] = 0.0f;
  }
  for (float& meter : meters)
    meter = 0.0f;
  meters[kMeterGateDetectorDb - kDisplayMeterFirst] = -120.0f;
  meters[kMeterInputRmsDb - kDisplayMeterFirst] = -120.0f;
  meters[kMeterOutputRmsDb - kDisplayMeterFirst] = -120.0f;
}
