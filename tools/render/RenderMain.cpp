// tarnwick_render: runs a WAV file (or a generated guitar signal) through the plug-in object
// offline and writes the result, for listening tests and end-to-end checks.

#include "tools/render/RenderFiles.h"
#include "tools/render/RenderJob.h"

#include "product/core/FactoryRecipes.h"

#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

double Db(double x)
{
  return 20.0 * std::log10(x > 1e-9 ? x : 1e-9);
}

void PrintStats(const char* what, const std::vector<ChannelMeter>& meters)
{
  for (size_t c = 0; c < meters.size(); ++c)
  {
    const ChannelStats s = meters[c].Result();
    std::printf("%s %s: peak %.2f dBFS, RMS %.2f dBFS, DC %.2e, non-finite %zu, energy above 1 kHz %.1f %%\n", what,
                meters.size() == 1 ? "mono" : (c == 0 ? "left" : "right"), Db(s.peak), Db(s.rms), s.dc, s.nonFinite,
                100.0 * s.highShare);
  }
}

int Fail(const std::string& error)
{
  std::fprintf(stderr, "tarnwick_render: %s\n", error.c_str());
  return 1;
}

} // namespace

int main(int argc, char** argv)
{
  RenderOptions options;
  std::string error;
  if (!ParseRenderArguments(CommandLineArguments(argc, argv), options, error))
  {
    std::fprintf(stderr, "tarnwick_render: %s\n%s", error.c_str(), RenderUsage());
    return 2;
  }

  // The input is read a block at a time while the output is written, so the two must
  // never be one file.
  AudioClip testSignal;
  ClipSource generated(testSignal);
  FileInput file;
  WavReader wav(file);
  AudioSource* input = &generated;
  if (options.inputPath.empty())
  {
    testSignal = MakeGuitarTestSignal(options.seconds, options.sampleRate);
  }
  else
  {
    if (IsSameFile(options.inputPath, options.outputPath))
      return Fail(options.outputPath + " is the input file itself; give another name for the output");
    if (!file.Open(options.inputPath, error))
      return Fail(error);
    if (!wav.ReadHeader(error))
      return Fail(options.inputPath + ": " + error);
    input = &wav;
  }

  ReplacingFile output(options.outputPath);
  FloatWavWriter writer(output);
  RenderMeters meters;
  if (!output.Open(error) ||
      !writer.Begin(2, static_cast<uint32_t>(input->SampleRate()), input->Frames(), error) ||
      !RenderThroughPlugin(*input, options, writer, error, &meters) || !writer.Finish(error) ||
      !output.Commit(error))
    return Fail(error);

  std::printf("rendered %" PRIu64 " frames at %.0f Hz in blocks of %d with %s into %s\n", input->Frames(),
              input->SampleRate(), options.blockSize,
              options.recipe >= 0 ? FactoryRecipes()[options.recipe].name : "the default settings",
              options.outputPath.c_str());
  PrintStats("input ", meters.input);
  PrintStats("output", meters.output);
  return 0;
}
