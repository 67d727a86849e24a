#pragma once

#include "tools/render/AudioStream.h"
#include "tools/render/ChannelMeter.h"

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
  std::vector<std::pair<int, double>> values; // --set INDEX=VALUE, applied in order
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

// What a render measured, one meter per channel of its input and its output.
struct RenderMeters
{
  std::vector<ChannelMeter> input;
  std::vector<ChannelMeter> output;
};

// Runs the source through a fresh plug-in object as a host would: the recipe (if any) is
// applied first, then the --set values, then the object is activated at the source's rate
// and given host blocks of blockSize frames (a mono source through one input, which the
// plug-in hears on both sides). The sink receives as many stereo frames as the source
// holds, a block at a time, so nothing but a few blocks is ever held. Refuses a source
// with no audio or at a sample rate that the engine does not run; fails when the source
// cannot be read or the sink cannot be written. `meters`, when given, measure both sides.
bool RenderThroughPlugin(AudioSource& input, const RenderOptions& options, AudioSink& output, std::string& error,
                         RenderMeters* meters = nullptr);
// The same for a clip in memory.
bool RenderThroughPlugin(const AudioClip& input, const RenderOptions& options, AudioClip& output, std::string& error);
