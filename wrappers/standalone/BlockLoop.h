#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

namespace pfw {
class IPluginAPP;
}

// Turns the device's buffers into the plug-in's blocks of exactly 512 frames. A device
// buffer of a multiple of 512 frames is processed in place, block by block, without
// delay; any other size goes through one block of buffering each way, which delays the
// output by 512 frames but never reads or writes past the device's buffers.
class BlockLoop
{
public:
  static constexpr unsigned int kBlockFrames = 512;

  // Sizes everything for a stream of these channel counts (the only allocation).
  void Prepare(int nInputs, int nOutputs, unsigned int deviceFrames);

  // On the audio thread: non-interleaved device buffers of n frames per channel (channel c
  // starts at c x n); input may be null when there are no inputs.
  void Run(pfw::IPluginAPP& plugin, const double* input, double* output, unsigned int n);
  // After a Run that threw: the block being gathered and the output still to be played are
  // dropped (silence), and the next Run starts a new block.
  void Abandon();

  int Inputs() const { return mInputs; }
  int Outputs() const { return mOutputs; }
  // Processed frames, +512 per block; wraps.
  uint32_t SamplesProcessed() const { return mSamplesProcessed.load(std::memory_order_relaxed); }
  // Frames of the current block already gathered (0 ... 511).
  unsigned int Position() const { return mPosition; }
  bool InPlace(unsigned int n) const { return n == mDeviceFrames && mDeviceFrames % kBlockFrames == 0; }

private:
  void RunBlock(pfw::IPluginAPP& plugin, int inputs);

  int mInputs = 0;
  int mOutputs = 0;
  unsigned int mDeviceFrames = 0;
  unsigned int mPosition = 0;
  std::atomic<uint32_t> mSamplesProcessed{0};
  std::vector<double*> mInputPointers;
  std::vector<double*> mOutputPointers;
  std::vector<double> mInputBlock;  // mInputs x 512, for buffered sizes
  std::vector<double> mOutputBlock; // mOutputs x 512
};

// Multiplies sample i of each of the n-frame channels by i / n (fading in) or by
// (n - 1 - i) / n (fading out).
void ApplyFade(double* buffers, int channels, unsigned int n, bool out);
