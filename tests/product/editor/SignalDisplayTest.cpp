#include "DisplayTestSupport.h"
#include "TarnwickTestSupport.h"

#include "product/editor/EditorPalette.h"
#include "product/editor/SignalDisplay.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

using editor::EditorPalette;
using pfw::gui::IArgbColour;
using pfw::gui::IRectF;

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

class SignalDisplayTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    gui.AttachControl(new editor::SignalDisplay(IRectF(724.f, 110.f, 1144.f, 389.f), feed));
    feed->display.signalPresent = true;
  }

  void Publish()
  {
    ++feed->publications;
    gui.Frame();
  }

  const PaintCall* Trace(const IArgbColour& colour) const
  {
    for (const PaintCall& p : gui.paints)
      if (!p.fill && p.path.size() == kDisplayPoints && p.source.stops[0].colour == colour)
        return &p;
    return nullptr;
  }

  // The top of the filled bar of meter column k, or NaN when none is drawn.
  float BarTop(int k, IArgbColour& colour) const
  {
    const double left = 1091.0 + 25.0 * k;
    for (const PaintCall& p : gui.paints)
    {
      if (!p.fill || p.source.stops[0].colour == EditorPalette::Slate)
        continue;
      double l = 1e9, t = 1e9, r = -1e9, b = -1e9;
      for (const PathCommand& c : p.path)
        if (c.kind != PathCommand::kClose && c.kind != PathCommand::kWinding)
        {
          l = std::min(l, c.pts[0]), r = std::max(r, c.pts[0]);
          t = std::min(t, c.pts[1]), b = std::max(b, c.pts[1]);
        }
      if (std::fabs(l - left) < 0.01 && std::fabs(r - (left + 10.0)) < 0.01 && std::fabs(b - 278.0) < 0.01)
      {
        colour = p.source.stops[0].colour;
        return static_cast<float>(t);
      }
    }
    return kNaN;
  }

  std::unique_ptr<Tarnwick> plugin = tarnwick_test::MakePlugin();
  StyledRecordingGui gui{*plugin};
  std::shared_ptr<ScriptedFeed> feed = std::make_shared<ScriptedFeed>();
};

TEST_F(SignalDisplayTest, SpectrumAndWaveformValuesMapOntoThePlot)
{
  struct Point
  {
    int index;
    float value;
    float y;
  };
  const Point spectrum[] = {{0, 0.f, 150.f},      {10, -48.f, 204.5f}, {20, -96.f, 259.f}, {30, 12.f, 150.f},
                            {40, -200.f, 259.f}, {50, kNaN, 259.f},    {255, kInf, 259.f}};
  const Point wave[] = {{0, 0.5f, 291.f}, {1, 2.f, 282.f}, {2, kNaN, 300.f}, {3, -1.f, 318.f}, {255, -kInf, 300.f}};
  for (const Point& p : spectrum)
    feed->display.inputSpectrum[p.index] = p.value;
  for (const Point& p : wave)
    feed->display.inputWaveform[p.index] = p.value;
  Publish();

  IArgbColour faintBlue = EditorPalette::Blue;
  faintBlue.A = 130;
  const PaintCall* spectrumTrace = Trace(EditorPalette::Blue);
  const PaintCall* waveTrace = Trace(faintBlue);
  ASSERT_NE(spectrumTrace, nullptr);
  ASSERT_NE(waveTrace, nullptr);
  ASSERT_NE(Trace(EditorPalette::Teal), nullptr);
  for (const auto& [points, count, trace] : {std::make_tuple(spectrum, 7, spectrumTrace),
                                            std::make_tuple(wave, 5, waveTrace)})
    for (int i = 0; i < count; ++i)
    {
      const PathCommand& drawn = trace->path[static_cast<size_t>(points[i].index)];
      EXPECT_NEAR(drawn.pts[0], 758.0 + points[i].index * 309.0 / 255.0, 1e-3) << points[i].index;
      EXPECT_NEAR(drawn.pts[1], points[i].y, 1e-3) << points[i].index << " " << points[i].value;
    }
  EXPECT_FLOAT_EQ(spectrumTrace->thickness, 1.2f);
}

TEST_F(SignalDisplayTest, TracesGiveWayToATextWithoutSignalOrAnalyzer)
{
  struct Case
  {
    bool analyzer;
    bool signal;
    const char* text; // null: traces
  };
  for (const Case& c : {Case{true, true, nullptr}, Case{true, false, "WAITING FOR REAL SIGNAL"},
                        Case{false, true, "ANALYZER OFF"}, Case{false, false, "ANALYZER OFF"}})
  {
    tarnwick_test::SetParam(*plugin, kParamAnalyzer, c.analyzer ? 1.0 : 0.0);
    feed->display.signalPresent = c.signal;
    // The tuner keeps working either way.
    feed->display.meters[kMeterTunerFrequency - kDisplayMeterFirst] = 440.f;
    feed->display.meters[kMeterTunerConfidence - kDisplayMeterFirst] = 0.99f;
    Publish();
    EXPECT_EQ(Trace(EditorPalette::Blue) != nullptr, c.text == nullptr);
    if (c.text)
    {
      EXPECT_NE(gui.FindText(c.text), nullptr) << c.text;
    }
    EXPECT_EQ(gui.FindText("TUNER A4") != nullptr, c.signal);
  }
}

TEST_F(SignalDisplayTest, LevelMetersShowBarsAndReadouts)
{
  struct Case
  {
    float level;
    float barTop; // NaN: no bar
    bool amber;
    const char* readout;
  };
  const Case cases[] = {
    {1.f, 158.f, true, "0"},    {2.f, 158.f, true, "6"},    {0.5f, 278.f - 120.f * 0.899657f, false, "-6"},
    {0.0005f, kNaN, false, "-66"}, {0.f, kNaN, false, "-inf"}, {-0.5f, kNaN, false, "-inf"},
    {kNaN, kNaN, false, "-inf"}, {0.99999f, 278.f - 120.f * 0.999999f, false, "0"},
  };
  for (const Case& c : cases)
  {
    feed->levels.inputPeak = c.level;
    feed->levels.outputPeak = c.level;
    Publish();
    for (int k = 0; k < 2; ++k)
    {
      IArgbColour colour;
      const float top = BarTop(k, colour);
      if (std::isnan(c.barTop))
        EXPECT_TRUE(std::isnan(top)) << c.level;
      else
      {
        EXPECT_NEAR(top, c.barTop, 0.01) << c.level;
        EXPECT_EQ(colour, c.amber ? EditorPalette::Amber : (k == 0 ? EditorPalette::Blue : EditorPalette::Teal));
      }
      const float x = 1091.f + 25.f * k;
      const StyledRecordingGui::DrawnText* readout = nullptr;
      for (const auto& t : gui.texts)
        if (t.bounds == IRectF(x - 9.f, 281.f, x + 20.f, 303.f))
          readout = &t;
      ASSERT_NE(readout, nullptr);
      EXPECT_EQ(readout->text, c.readout) << c.level;
      EXPECT_EQ(readout->colour, c.amber ? EditorPalette::Amber : EditorPalette::MutedText);
    }
  }
}

TEST_F(SignalDisplayTest, TunerNamesTheNoteOnlyForAClearReading)
{
  struct Case
  {
    float frequency;
    float confidence;
    bool signal;
    const char* text;
  };
  const Case cases[] = {
    {82.41f, 0.9f, true, "TUNER E2  +0ct  82.4Hz"},  {440.f, 0.99f, true, "TUNER A4  +0ct  440.0Hz"},
    {452.f, 0.8f, true, "TUNER A4  +47ct  452.0Hz"}, {40.f, 0.65f, true, "TUNER D#1  +49ct  40.0Hz"},
    {1200.f, 1.f, true, "TUNER D6  +37ct  1200.0Hz"}, {439.9f, 0.9f, true, "TUNER A4  +0ct  439.9Hz"},
    {39.f, 0.9f, true, nullptr},  {1201.f, 0.9f, true, nullptr}, {440.f, 0.6f, true, nullptr},
    {440.f, 0.99f, false, nullptr}, {kNaN, 0.99f, true, nullptr}, {440.f, kNaN, true, nullptr},
  };
  for (const Case& c : cases)
  {
    feed->display.signalPresent = c.signal;
    feed->display.meters[kMeterTunerFrequency - kDisplayMeterFirst] = c.frequency;
    feed->display.meters[kMeterTunerConfidence - kDisplayMeterFirst] = c.confidence;
    Publish();
    const StyledRecordingGui::DrawnText* tuner = gui.FindText("TUNER");
    ASSERT_NE(tuner, nullptr);
    EXPECT_EQ(tuner->text, c.text ? c.text : "TUNER -- / WAIT FOR A CLEAR NOTE") << c.frequency;
    EXPECT_EQ(tuner->colour, c.text ? EditorPalette::Teal : EditorPalette::MutedText);
    EXPECT_EQ(tuner->size, c.text ? 15.f : 12.f);
  }
}

TEST_F(SignalDisplayTest, ReductionReadoutsShowPositiveDecibels)
{
  struct Case
  {
    PublishedMeter meter;
    float value;
    const char* text;
  };
  const Case cases[] = {
    {kMeterGateGainDb, -3.5f, "GATE 3.5dB"},     {kMeterGateGainDb, 0.f, "GATE 0.0dB"},
    {kMeterAmpSagDb, -0.01f, "AMP 0.0dB"},       {kMeterPowerSagDb, kNaN, "POWER 0.0dB"},
    {kMeterCompressorReductionDb, -200.f, "COMP 120.0dB"}, {kMeterClipDb, 5.f, "CLIP 0.0dB"},
    {kMeterClipDb, -1.24f, "CLIP 1.2dB"},
  };
  for (const Case& c : cases)
  {
    feed->display.meters[c.meter - kDisplayMeterFirst] = c.value;
    Publish();
    const StyledRecordingGui::DrawnText* readout = gui.FindText(c.text);
    ASSERT_NE(readout, nullptr) << c.text;
    EXPECT_EQ(readout->colour, c.meter == kMeterClipDb ? EditorPalette::Amber : EditorPalette::MutedText);
  }
}

TEST_F(SignalDisplayTest, FrequencyAxisEndsWhereTheRateAllows)
{
  struct Case
  {
    double rate;
    const char* lastLabel;
  };
  for (const Case& c : {Case{44100.0, "20.0k"}, Case{96000.0, "20.0k"}, Case{32000.0, "15.7k"},
                        Case{16000.0, "10.8k"}, Case{22050.0, "10.8k"}})
  {
    feed->display.sampleRate = c.rate;
    Publish();
    const StyledRecordingGui::DrawnText* last = gui.FindText(c.lastLabel);
    ASSERT_NE(last, nullptr) << c.rate;
    EXPECT_EQ(last->bounds, IRectF(1047.f, 260.f, 1087.f, 275.f));
  }
}

TEST_F(SignalDisplayTest, AFailedReadKeepsTheLastReadingAndAStoppedEngineFadesToRest)
{
  feed->display.meters[kMeterTunerFrequency - kDisplayMeterFirst] = 440.f;
  feed->display.meters[kMeterTunerConfidence - kDisplayMeterFirst] = 0.99f;
  feed->levels.outputPeak = 0.5f;
  feed->readable = false; // nothing read yet: the display rests
  gui.Frame();
  EXPECT_NE(gui.FindText("WAITING FOR REAL SIGNAL"), nullptr);
  EXPECT_NE(gui.FindText("GATE 0.0dB"), nullptr);
  EXPECT_NE(gui.FindText("-inf"), nullptr);

  feed->readable = true;
  Publish();
  ASSERT_NE(gui.FindText("TUNER A4"), nullptr);

  feed->readable = false; // the writer is busy every time
  Publish();
  EXPECT_NE(gui.FindText("TUNER A4"), nullptr);
  EXPECT_NE(gui.FindText("-6"), nullptr);

  feed->readable = true; // nothing new is published from here on
  gui.clockMs += editor::LatestMeasurements::kStaleMs - 1.0;
  gui.Frame();
  EXPECT_NE(gui.FindText("TUNER A4"), nullptr);
  gui.clockMs += 1.0;
  gui.Frame();
  EXPECT_NE(gui.FindText("TUNER -- / WAIT FOR A CLEAR NOTE"), nullptr);
  EXPECT_NE(gui.FindText("WAITING FOR REAL SIGNAL"), nullptr);
  EXPECT_EQ(gui.FindText("-6"), nullptr);

  Publish(); // processing resumes
  EXPECT_NE(gui.FindText("TUNER A4"), nullptr);
}

TEST(SignalDisplayWithEngine, ARealSignalMovesSpectrumMetersAndTuner)
{
  std::unique_ptr<Tarnwick> plugin = tarnwick_test::MakePlugin();
  plugin->SetSampleRate(48000.0);
  plugin->OnActivate(true);
  StyledRecordingGui gui{*plugin};
  gui.AttachControl(new editor::SignalDisplay(IRectF(724.f, 110.f, 1144.f, 389.f), editor::MakeEngineFeed(plugin->Product())));

  constexpr int kBlock = 512;
  std::vector<float> left(kBlock), right(kBlock), outLeft(kBlock), outRight(kBlock);
  float* inputs[2] = {left.data(), right.data()};
  float* outputs[2] = {outLeft.data(), outRight.data()};
  auto play = [&](double amplitude, int blocks) {
    for (int b = 0, n = 0; b < blocks; ++b)
    {
      for (int i = 0; i < kBlock; ++i, ++n)
        left[i] = right[i] = static_cast<float>(amplitude * std::sin(2.0 * 3.14159265358979 * 110.0 * n / 48000.0));
      plugin->ProcessHostBlock(inputs, 2, outputs, 2, kBlock);
    }
    gui.Frame();
  };

  play(0.0, 100);
  EXPECT_NE(gui.FindText("WAITING FOR REAL SIGNAL"), nullptr);
  EXPECT_NE(gui.FindText("TUNER -- / WAIT FOR A CLEAR NOTE"), nullptr);

  play(0.3, 100); // about a second of an A2
  const StyledRecordingGui::DrawnText* tuner = gui.FindText("TUNER");
  ASSERT_NE(tuner, nullptr);
  EXPECT_EQ(tuner->text.rfind("TUNER A2  ", 0), 0u) << tuner->text;
  const StyledRecordingGui::DrawnText* in = nullptr;
  for (const auto& t : gui.texts)
    if (t.bounds == IRectF(1082.f, 281.f, 1111.f, 303.f))
      in = &t;
  ASSERT_NE(in, nullptr);
  EXPECT_EQ(in->text, "-10"); // a peak of 0.3
  const PaintCall* spectrum = nullptr;
  for (const PaintCall& p : gui.paints)
    if (!p.fill && p.path.size() == kDisplayPoints && p.source.stops[0].colour == EditorPalette::Blue)
      spectrum = &p;
  ASSERT_NE(spectrum, nullptr);
  size_t loudest = 0;
  for (size_t i = 0; i < spectrum->path.size(); ++i)
    if (spectrum->path[i].pts[1] < spectrum->path[loudest].pts[1])
      loudest = i;
  // Display point a lies at 20 * 1000^(a / 255) Hz: 110 Hz is near point 63.
  EXPECT_NEAR(static_cast<double>(loudest), 63.0, 3.0);
}

} // namespace
