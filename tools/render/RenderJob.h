#pragma once

#include "tools/render/WavFile.h"

#include "product/core/ParamIds.h"

#include <string>
#include <utility>
#include <vector>

// The render tool's work, apart from its command line: offline runs of the plug-in object.

struct RenderOptions
{
  std::string inputPath;  // empty when the test signal is generated
  std::string outputPath;
  double seconds = 6.0;    // length of the generated signal
  double sampleRate = 48000.0;
  int blockSize = 512;
  int recipe = -1;         // factory recipe applied first, -1 for the defaults
  std::vector<std::pair<int, float>> values; // --set INDEX=VALUE, applied in order
};

// Parses `[IN.wav | --test-signal] OUT.wav [--seconds S] [--rate HZ] [--block N]
// [--recipe N|NAME] [--set INDEX=VALUE]...`. Returns false with a message on bad arguments.
bool ParseRenderArguments(const std::vector<std::string>& args, RenderOptions& options, std::string& error);
const char* RenderUsage();

// A few seconds of plucked-string-like guitar: strummed chords and single notes, stereo.
AudioClip MakeGuitarTestSignal(double seconds, double sampleRate);

// The factory recipe that a --recipe value names: its number (0 to 39) or its name in any
// letter case. -1 when it names none.
int FindRecipeArgument(const std::string& text);

// Runs the clip through a fresh plug-in object as a host would: the recipe (if any) is
// applied first, then the --set values, then the object is activated at the clip's rate
// and given host blocks of blockSize frames (a mono clip through one input, which the
// plug-in hears on both sides). The result is stereo and as long as the input. Returns
// false for a sample rate that the engine does not support.
bool RenderThroughPlugin(const AudioClip& input, const RenderOptions& options, AudioClip& output, std::string& error);

struct ChannelStats
{
  double peak = 0.0;
  double rms = 0.0;
  double dc = 0.0;
  size_t nonFinite = 0;
  // Share of the energy above 1 kHz (0 ... 1), from a 4096-point averaged spectrum.
  double highShare = 0.0;
};

ChannelStats MeasureChannel(const std::vector<float>& samples, double sampleRate);
