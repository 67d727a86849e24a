#pragma once

#include "tools/render/WavFile.h"

#include "product/core/ParamIds.h"

#include <string>
#include <utility>
#include <vector>

// The render tool's work, apart from its command line: offline runs of the amp engine.

struct RenderOptions
{
  std::string inputPath;  // empty when the test signal is generated
  std::string outputPath;
  double seconds = 6.0;    // length of the generated signal
  double sampleRate = 48000.0;
  int blockSize = 512;
  int recipe = -1;         // factory recipe to start from, -1 for the defaults
  std::vector<std::pair<int, float>> values; // --set INDEX=VALUE, applied in order
};

// Parses `[IN.wav | --test-signal] OUT.wav [--seconds S] [--rate HZ] [--block N]
// [--recipe N] [--set INDEX=VALUE]...`. Returns false with a message on bad arguments.
bool ParseRenderArguments(const std::vector<std::string>& args, RenderOptions& options, std::string& error);
const char* RenderUsage();

// A few seconds of plucked-string-like guitar: strummed chords and single notes, stereo.
AudioClip MakeGuitarTestSignal(double seconds, double sampleRate);

// The parameter values a run uses: the defaults or a recipe, then the --set values.
std::vector<float> RenderParameters(const RenderOptions& options);

// Runs the clip (mono is fed to both inputs) through a freshly prepared engine in host
// blocks of blockSize frames; the result is stereo and as long as the input. Returns
// false when the engine refused the sample rate.
bool RenderThroughEngine(const AudioClip& input, const std::vector<float>& params, int blockSize, AudioClip& output,
                         std::string& error);

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
