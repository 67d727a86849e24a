// tarnwick_render: runs a WAV file (or a generated guitar signal) through the plug-in object
// offline and writes the result, for listening tests and end-to-end checks.

#include "tools/render/RenderJob.h"

#include "product/core/FactoryRecipes.h"

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

double Db(double x)
{
  return 20.0 * std::log10(x > 1e-9 ? x : 1e-9);
}

void PrintStats(const char* what, const AudioClip& clip)
{
  for (size_t c = 0; c < clip.channels.size(); ++c)
  {
    const ChannelStats s = MeasureChannel(clip.channels[c], clip.sampleRate);
    std::printf("%s %s: peak %.2f dBFS, RMS %.2f dBFS, DC %.2e, non-finite %zu, energy above 1 kHz %.1f %%\n", what,
                clip.channels.size() == 1 ? "mono" : (c == 0 ? "left" : "right"), Db(s.peak), Db(s.rms), s.dc,
                s.nonFinite, 100.0 * s.highShare);
  }
}

} // namespace

int main(int argc, char** argv)
{
  std::vector<std::string> args(argv + 1, argv + argc);
  RenderOptions options;
  std::string error;
  if (!ParseRenderArguments(args, options, error))
  {
    std::fprintf(stderr, "tarnwick_render: %s\n%s", error.c_str(), RenderUsage());
    return 2;
  }

  AudioClip input;
  if (options.inputPath.empty())
  {
    input = MakeGuitarTestSignal(options.seconds, options.sampleRate);
  }
  else if (!ReadWavFile(options.inputPath, input, error))
  {
    std::fprintf(stderr, "tarnwick_render: %s\n", error.c_str());
    return 1;
  }

  AudioClip output;
  if (!RenderThroughPlugin(input, options, output, error))
  {
    std::fprintf(stderr, "tarnwick_render: %s\n", error.c_str());
    return 1;
  }
  if (!WriteWavFile(options.outputPath, output, error))
  {
    std::fprintf(stderr, "tarnwick_render: %s\n", error.c_str());
    return 1;
  }

  std::printf("rendered %zu frames at %.0f Hz in blocks of %d with %s into %s\n", output.Frames(), output.sampleRate,
              options.blockSize, options.recipe >= 0 ? FactoryRecipes()[options.recipe].name : "the default settings",
              options.outputPath.c_str());
  PrintStats("input ", input);
  PrintStats("output", output);
  return 0;
}
