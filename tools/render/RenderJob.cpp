#include "tools/render/RenderJob.h"

#include "product/core/AmpEngine.h"
#include "product/core/FactoryRecipes.h"
#include "product/core/ParamSpecTable.h"
#include "product/core/Tarnwick.h"
#include "product/editor/PhysicalUnits.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

bool ParseNumber(const std::string& text, double& value)
{
  if (text.empty())
    return false;
  char* end = nullptr;
  value = std::strtod(text.c_str(), &end);
  return end != nullptr && *end == '\0' && std::isfinite(value);
}

bool ParseInteger(const std::string& text, long long low, long long high, int& value)
{
  double v;
  if (!ParseNumber(text, v) || v != std::floor(v) || v < static_cast<double>(low) || v > static_cast<double>(high))
    return false;
  value = static_cast<int>(v);
  return true;
}

// A --set value follows the rule of typed values in the editor: a number in the
// parameter's own units (a unit it understands may follow) within its range, never clamped;
// for a switch or a choice a whole number within its range, or a choice's name. The
// message says what the parameter takes.
bool ParseSetting(int index, const std::string& text, double& value, std::string& error)
{
  const int low = static_cast<int>(ParamSpecTable::kMinimums[index]);
  const int high = static_cast<int>(ParamSpecTable::kMaximums[index]);
  char range[96];
  if (IsDiscreteParam(index))
  {
    int whole = 0;
    if (ParseInteger(text, low, high, whole))
    {
      value = whole;
      return true;
    }
    for (int choice = low; choice <= high; ++choice)
    {
      if (text == ParamValueName(index, choice))
      {
        value = choice;
        return true;
      }
    }
    std::snprintf(range, sizeof range, "a whole number from %d to %d or the name of a choice", low, high);
  }
  else
  {
    if (editor::ParsePhysicalValue(index, text.c_str(), value))
      return true;
    const char* label = ParamSpecTable::kLabels[index];
    std::snprintf(range, sizeof range, "a number from %.7g to %.7g%s%s", ParamSpecTable::kMinimums[index],
                  ParamSpecTable::kMaximums[index], *label ? " " : "", label);
  }
  error = "--set " + std::to_string(index) + "=" + text + ": " + ParamSpecTable::kNames[index] + " takes " + range;
  return false;
}

// One plucked string: a noise burst circulating in a loop whose length is the period,
// damped by a two-point average (a Karplus-Strong string).
void AddPluck(std::vector<float>& out, size_t start, double frequency, double level, double sampleRate,
              uint32_t& noise)
{
  const double period = sampleRate / frequency;
  const int length = static_cast<int>(period);
  if (length < 2)
    return;
  std::vector<double> loop(static_cast<size_t>(length));
  double previous = 0.0;
  for (double& s : loop)
  {
    noise = noise * 1664525u + 1013904223u;
    const double white = (noise >> 8) / 8388608.0 - 1.0;
    previous = 0.5 * (white + previous); // a softer pick: less top end in the burst
    s = level * previous;
  }
  const size_t ring = static_cast<size_t>(sampleRate * 2.5);
  size_t index = 0;
  for (size_t n = 0; n < ring && start + n < out.size(); ++n)
  {
    const size_t next = (index + 1) % loop.size();
    const double y = loop[index];
    loop[index] = 0.998 * 0.5 * (y + loop[next]);
    index = next;
    out[start + n] += static_cast<float>(y);
  }
}

} // namespace

const char* RenderUsage()
{
  return "usage: tarnwick_render (IN.wav | --test-signal) OUT.wav [--seconds S] [--rate HZ] [--block N]\n"
         "                       [--recipe N|NAME] [--set INDEX=VALUE]...\n"
         "  IN.wav: 16/24/32-bit PCM or 32-bit float, one or two channels, 22050 to 192000 Hz\n"
         "  --test-signal: generated plucked-string guitar (--seconds, default 6; --rate, default 48000)\n"
         "  --block N: host block size in frames (default 512)\n"
         "  --recipe N|NAME: apply factory recipe N (0 to 39), or the one of that name, before any --set\n"
         "  --set INDEX=VALUE: a parameter (0 to 83) within its range, held from the first sample: a\n"
         "                     number in its units or one it understands (500ms, 1.2k), or a choice's name\n"
         "  OUT.wav is written as 32-bit float stereo of the same length (at most 4 GiB), under a\n"
         "  temporary name that replaces OUT.wav only once complete; it must not be IN.wav.\n";
}

bool ParseRenderArguments(const std::vector<std::string>& args, RenderOptions& options, std::string& error)
{
  std::vector<std::string> positional;
  bool testSignal = false;
  for (size_t i = 0; i < args.size(); ++i)
  {
    const std::string& arg = args[i];
    const bool hasValue = i + 1 < args.size();
    if (arg == "--test-signal")
    {
      testSignal = true;
    }
    else if (arg == "--seconds" || arg == "--rate" || arg == "--block" || arg == "--recipe" || arg == "--set")
    {
      if (!hasValue)
      {
        error = arg + " needs a value";
        return false;
      }
      const std::string value = args[++i];
      double number = 0.0;
      if (arg == "--seconds")
      {
        if (!ParseNumber(value, number) || number <= 0.0 || number > 600.0)
        {
          error = "--seconds must be a number above 0 and at most 600";
          return false;
        }
        options.seconds = number;
      }
      else if (arg == "--rate")
      {
        int rate = 0;
        if (!ParseInteger(value, static_cast<long long>(AmpEngine::kMinSampleRate),
                          static_cast<long long>(AmpEngine::kMaxSampleRate), rate))
        {
          error = "--rate must be a whole number of Hz from 22050 to 192000";
          return false;
        }
        options.sampleRate = rate;
      }
      else if (arg == "--block")
      {
        if (!ParseInteger(value, 1, 1 << 20, options.blockSize))
        {
          error = "--block must be a whole number of frames from 1 to 1048576";
          return false;
        }
      }
      else if (arg == "--recipe")
      {
        options.recipe = FindRecipeArgument(value);
        if (options.recipe < 0)
        {
          error = "--recipe must be a whole number from 0 to 39 or a recipe name, not '" + value + "'";
          return false;
        }
      }
      else
      {
        const size_t equals = value.find('=');
        int index = -1;
        if (equals == std::string::npos || !ParseInteger(value.substr(0, equals), 0, kNumParams - 1, index))
        {
          error = "--set needs INDEX=VALUE with INDEX 0 to 83, not '" + value + "'";
          return false;
        }
        if (!ParseSetting(index, value.substr(equals + 1), number, error))
          return false;
        options.values.emplace_back(index, number);
      }
    }
    else if (arg.size() > 1 && arg[0] == '-' && arg[1] == '-')
    {
      error = "unknown option " + arg;
      return false;
    }
    else
    {
      positional.push_back(arg);
    }
  }
  const size_t wanted = testSignal ? 1 : 2;
  if (positional.size() != wanted)
  {
    error = testSignal ? "give one output file after --test-signal" : "give an input and an output file";
    return false;
  }
  options.inputPath = testSignal ? std::string() : positional[0];
  options.outputPath = positional.back();
  return true;
}

AudioClip MakeGuitarTestSignal(double seconds, double sampleRate)
{
  AudioClip clip;
  clip.sampleRate = sampleRate;
  const size_t frames = static_cast<size_t>(seconds * sampleRate);
  std::vector<float> mono(frames, 0.0f);
  uint32_t noise = 0x2545F491u;
  // E5 power chord, A5, then single notes, strummed (each string a few ms later).
  const double chords[3][3] = {{82.41, 123.47, 164.81}, {110.0, 164.81, 220.0}, {146.83, 220.0, 293.66}};
  const double notes[6] = {329.63, 392.0, 440.0, 392.0, 329.63, 246.94};
  size_t at = 0;
  int step = 0;
  while (at < frames)
  {
    if (step % 4 < 3)
    {
      for (int s = 0; s < 3; ++s)
        AddPluck(mono, at + static_cast<size_t>(s * 0.012 * sampleRate), chords[step % 3][s], 0.3, sampleRate,
                 noise);
      at += static_cast<size_t>(0.75 * sampleRate);
    }
    else
    {
      for (double note : notes)
      {
        AddPluck(mono, at, note, 0.35, sampleRate, noise);
        at += static_cast<size_t>(0.25 * sampleRate);
        if (at >= frames)
          break;
      }
    }
    ++step;
  }
  // A guitar into an interface: the same signal on both inputs.
  clip.channels = {mono, mono};
  return clip;
}

int FindRecipeArgument(const std::string& text)
{
  int index = -1;
  if (ParseInteger(text, 0, kNumFactoryRecipes - 1, index))
    return index;
  const auto sameLetters = [](const std::string& a, const char* b) {
    size_t i = 0;
    for (; i < a.size() && b[i] != '\0'; ++i)
    {
      if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
        return false;
    }
    return i == a.size() && b[i] == '\0';
  };
  for (int r = 0; r < kNumFactoryRecipes; ++r)
  {
    if (sameLetters(text, FactoryRecipes()[r].name))
      return r;
  }
  return -1;
}

bool RenderThroughPlugin(AudioSource& input, const RenderOptions& options, AudioSink& output, std::string& error,
                         RenderMeters* meters)
{
  const int nInputs = input.Channels();
  if (nInputs < 1 || nInputs > 2 || input.Frames() == 0 || options.blockSize < 1)
  {
    error = "no audio to render";
    return false;
  }
  if (!AmpEngine::IsSupportedSampleRate(input.SampleRate()))
  {
    char rate[32];
    std::snprintf(rate, sizeof rate, "%.0f", input.SampleRate());
    error = std::string("sample rate ") + rate + " Hz is outside 22050 ... 192000 Hz";
    return false;
  }
  TarnwickInstanceInfo info;
  info.blockSize = options.blockSize;
  std::unique_ptr<Tarnwick> plugin(MakeTarnwick(info));
  if (!plugin)
  {
    error = "the plug-in object could not be made";
    return false;
  }
  TarnwickProduct& product = plugin->Product();
  product.ApplyRecipe(options.recipe);
  if (!options.values.empty())
  {
    float values[kNumParams];
    for (int i = 0; i < kNumParams; ++i)
      values[i] = static_cast<float>(product.GetCurrentParamValue(i));
    for (const auto& value : options.values)
      values[value.first] = static_cast<float>(value.second);
    product.SetAllParamValues(values, false);
  }
  plugin->SetSampleRate(input.SampleRate());
  plugin->OnActivate(true);

  if (meters)
  {
    meters->input.clear();
    meters->output.clear();
    for (int c = 0; c < nInputs; ++c)
      meters->input.emplace_back(input.SampleRate());
    for (int c = 0; c < 2; ++c)
      meters->output.emplace_back(input.SampleRate());
  }
  // A host hands over buffers of its own for each block.
  const size_t block = static_cast<size_t>(options.blockSize);
  std::vector<float> blockInputs[2] = {std::vector<float>(block), std::vector<float>(block)};
  std::vector<float> blockOutputs[2] = {std::vector<float>(block), std::vector<float>(block)};
  float* in[2] = {blockInputs[0].data(), blockInputs[1].data()};
  float* out[2] = {blockOutputs[0].data(), blockOutputs[1].data()};
  const uint64_t frames = input.Frames();
  for (uint64_t start = 0; start < frames; start += block)
  {
    const size_t count = static_cast<size_t>(std::min<uint64_t>(frames - start, block));
    if (!input.Read(in, count, error))
      return false;
    plugin->ProcessHostBlock(in, nInputs, out, static_cast<int>(count));
    if (!output.Write(out, 2, count, error))
      return false;
    for (size_t c = 0; meters && c < meters->input.size(); ++c)
      meters->input[c].Add(in[c], count);
    for (size_t c = 0; meters && c < meters->output.size(); ++c)
      meters->output[c].Add(out[c], count);
  }
  return true;
}

bool RenderThroughPlugin(const AudioClip& input, const RenderOptions& options, AudioClip& output, std::string& error)
{
  ClipSource source(input);
  output = AudioClip();
  output.sampleRate = input.sampleRate;
  ClipSink sink(output);
  return RenderThroughPlugin(source, options, sink, error);
}
