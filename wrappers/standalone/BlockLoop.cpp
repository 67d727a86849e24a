#include "wrappers/standalone/BlockLoop.h"

#include "wrappers/standalone/IPluginAPP.h"

#include <algorithm>
#include <cstring>

void BlockLoop::Prepare(int nInputs, int nOutputs, unsigned int deviceFrames)
{
  mInputs = std::max(nInputs, 0);
  mOutputs = std::max(nOutputs, 0);
  mDeviceFrames = deviceFrames;
  mPosition = 0;
  mSamplesProcessed = 0;
  mInputPointers.assign(static_cast<size_t>(mInputs), nullptr);
  mOutputPointers.assign(static_cast<size_t>(mOutputs), nullptr);
  mInputBlock.assign(static_cast<size_t>(mInputs) * kBlockFrames, 0.0);
  mOutputBlock.assign(static_cast<size_t>(mOutputs) * kBlockFrames, 0.0);
}

void BlockLoop::RunBlock(pfw::IPluginAPP& plugin, int inputs)
{
  plugin.ProcessHostBuffers(inputs ? mInputPointers.data() : nullptr, inputs,
                            mOutputs ? mOutputPointers.data() : nullptr, mOutputs, kBlockFrames);
  mSamplesProcessed.store(mSamplesProcessed.load(std::memory_order_relaxed) + kBlockFrames, std::memory_order_relaxed);
}

void BlockLoop::Run(pfw::IPluginAPP& plugin, const double* input, double* output, unsigned int n)
{
  const int inputs = input ? mInputs : 0;
  if (InPlace(n))
  {
    for (unsigned int i = 0; i < n; i += kBlockFrames)
    {
      // The processor only reads its inputs.
      for (int c = 0; c < inputs; ++c)
        mInputPointers[static_cast<size_t>(c)] = const_cast<double*>(input) + static_cast<size_t>(c) * n + i;
      for (int c = 0; c < mOutputs; ++c)
        mOutputPointers[static_cast<size_t>(c)] = output + static_cast<size_t>(c) * n + i;
      RunBlock(plugin, inputs);
    }
    return;
  }

  for (int c = 0; c < mInputs; ++c)
    mInputPointers[static_cast<size_t>(c)] = mInputBlock.data() + static_cast<size_t>(c) * kBlockFrames;
  for (int c = 0; c < mOutputs; ++c)
    mOutputPointers[static_cast<size_t>(c)] = mOutputBlock.data() + static_cast<size_t>(c) * kBlockFrames;
  unsigned int i = 0;
  while (i < n)
  {
    const unsigned int run = std::min(kBlockFrames - mPosition, n - i);
    for (int c = 0; c < inputs; ++c)
      std::memcpy(mInputBlock.data() + static_cast<size_t>(c) * kBlockFrames + mPosition,
                  input + static_cast<size_t>(c) * n + i, sizeof(double) * run);
    for (int c = 0; c < mOutputs; ++c)
      std::memcpy(output + static_cast<size_t>(c) * n + i,
                  mOutputBlock.data() + static_cast<size_t>(c) * kBlockFrames + mPosition, sizeof(double) * run);
    mPosition += run;
    i += run;
    if (mPosition == kBlockFrames)
    {
      RunBlock(plugin, inputs);
      mPosition = 0;
    }
  }
}

void BlockLoop::Abandon()
{
  mPosition = 0;
  std::fill(mInputBlock.begin(), mInputBlock.end(), 0.0);
  std::fill(mOutputBlock.begin(), mOutputBlock.end(), 0.0);
}

void ApplyFade(double* buffers, int channels, unsigned int n, bool out)
{
  if (!buffers || n == 0)
    return;
  for (int c = 0; c < channels; ++c)
  {
    double* channel = buffers + static_cast<size_t>(c) * n;
    for (unsigned int i = 0; i < n; ++i)
      channel[i] *= (out ? static_cast<double>(n - 1 - i) : static_cast<double>(i)) / n;
  }
}
