#include "product/editor/SignalDisplay.h"

#include "product/editor/ControlFrame.h"
#include "product/editor/EditorPalette.h"
#include "product/editor/EditorText.h"
#include "product/editor/SignalDisplayScales.h"

#include "framework/core/IGuiEditorDelegate.h"
#include "framework/core/IParam.h"
#include "framework/graphics/IGui.h"
#include "product/core/ParamIds.h"

#include <cstdio>

using pfw::gui::IArgbColour;
using pfw::gui::IGui;
using pfw::gui::IRectF;
using pfw::gui::ITextStyle;

namespace editor {

using namespace signal_scales;

namespace {
const IRectF kPlot(kPlotLeft, kPlotTop, kPlotRight, kPlotBottom);
constexpr float kCornerRadius = 5.f;

void Text(IGui& g, const char* text, const IRectF& area, float size, const IArgbColour& colour,
          int hAlign = ITextStyle::kAlignCentre)
{
  g.DrawText(EditorTextStyle(size, colour, hAlign), text, area);
}

// One trace as a single polyline: one stroke instead of 255 for a panel that is redrawn
// in every frame.
template <typename MapY>
void Trace(IGui& g, const float* values, MapY mapY, const IArgbColour& colour)
{
  g.PathClear();
  g.PathMoveTo(TraceX(0), mapY(values[0]));
  for (int i = 1; i < kDisplayPoints; ++i)
    g.PathLineTo(TraceX(i), mapY(values[i]));
  pfw::gui::IStrokeStyle style;
  style.join = pfw::gui::IStrokeStyle::kJoinBevel;
  g.PathStroke(pfw::gui::IColourSource::FromColour(colour), 1.2f, style, nullptr);
}
} // namespace

SignalDisplay::SignalDisplay(const IRectF& bounds, std::shared_ptr<const MeasurementFeed> feed)
  : IControl(bounds)
  , mMeasurements(std::move(feed))
{
}

bool SignalDisplay::IsDirty()
{
  mMeasurements.Renew(NowMs(), true);
  mDirty = true;
  return IControl::IsDirty();
}

bool SignalDisplay::AnalyzerOn() const
{
  const pfw::IParam* analyzer = mDelegate ? mDelegate->GetParam(kParamAnalyzer) : nullptr;
  return analyzer && analyzer->Value() >= 0.5;
}

void SignalDisplay::Draw(IGui& g)
{
  g.FillRoundRect(EditorPalette::Ink, mRECT, kCornerRadius);
  g.DrawRoundRect(EditorPalette::Slate, mRECT.Inflated(-0.5f), kCornerRadius);
  Text(g, "REAL INPUT / OUTPUT", IRectF(740.f, 112.f, 994.f, 135.f), 12.f, EditorPalette::MutedText,
       ITextStyle::kAlignNear);
  g.DrawLine(EditorPalette::Blue, 977.f, 129.f, 994.f, 129.f, nullptr, 2.f);
  g.DrawLine(EditorPalette::Teal, 1004.f, 129.f, 1021.f, 129.f, nullptr, 2.f);
  Text(g, "FFT dBFS", IRectF(1030.f, 112.f, 1130.f, 135.f), 10.f, EditorPalette::MutedText, ITextStyle::kAlignNear);
  DrawGrid(g);
  DrawTraces(g);
  g.DrawLine(EditorPalette::Slate, kPlotLeft, kWaveAxisY, kPlotRight, kWaveAxisY);
  Text(g, "ACTUAL WAVE / FIXED +/-1", IRectF(kPlotLeft, 318.f, kPlotRight, 334.f), 9.f, EditorPalette::MutedText);
  DrawMeters(g);
  DrawTuner(g);
  DrawReadouts(g);
}

IRectF SignalDisplay::OpaqueArea() const
{
  return OpaqueInside(mRECT, kCornerRadius);
}

void SignalDisplay::DrawGrid(IGui& g)
{
  char label[16];
  for (int dB = -96; dB <= 0; dB += 24)
  {
    const float y = SpectrumY(static_cast<float>(dB));
    g.DrawLine(EditorPalette::Slate, kPlotLeft, y, kPlotRight, y);
    std::snprintf(label, sizeof(label), "%d", dB);
    Text(g, label, IRectF(731.f, y - 8.f, 752.f, y + 8.f), 9.f, EditorPalette::MutedText, ITextStyle::kAlignFar);
  }
  const double top = FrequencyAxisTop(mMeasurements.Display().sampleRate);
  for (double frequency : {20.0, 200.0, 2000.0, top})
  {
    const float x = FrequencyX(frequency, top);
    g.DrawLine(EditorPalette::Slate, x, kPlotTop, x, kPlotBottom);
    if (frequency >= 1000.0)
      std::snprintf(label, sizeof(label), "%.1fk", frequency / 1000.0);
    else
      std::snprintf(label, sizeof(label), "%.0f", frequency);
    Text(g, label, IRectF(x - 20.f, 260.f, x + 20.f, 275.f), 9.f, EditorPalette::MutedText);
  }
}

void SignalDisplay::DrawTraces(IGui& g)
{
  const DisplaySnapshot& snapshot = mMeasurements.Display();
  const bool analyzerOn = AnalyzerOn();
  if (!analyzerOn || !snapshot.signalPresent)
  {
    // On the panel's colour, so that the grid line through the plot's middle does not
    // strike it through.
    const char* text = analyzerOn ? "WAITING FOR REAL SIGNAL" : "ANALYZER OFF";
    const pfw::gui::ITextStyle style = EditorTextStyle(11.f, EditorPalette::MutedText);
    IRectF box;
    const float width = g.MeasureText(style, text, box);
    g.FillRect(EditorPalette::Ink, IRectF(kPlot.MW() - 0.5f * width - 6.f, kPlot.MH() - 8.f,
                                          kPlot.MW() + 0.5f * width + 6.f, kPlot.MH() + 8.f));
    g.DrawText(style, text, kPlot);
    return;
  }
  Trace(g, snapshot.inputSpectrum, SpectrumY, EditorPalette::Blue);
  Trace(g, snapshot.outputSpectrum, SpectrumY, EditorPalette::Teal);
  IArgbColour faintBlue = EditorPalette::Blue;
  faintBlue.A = 130;
  Trace(g, snapshot.inputWaveform, WaveformY, faintBlue);
  Trace(g, snapshot.outputWaveform, WaveformY, EditorPalette::Teal);
}

void SignalDisplay::DrawMeters(IGui& g)
{
  const LevelSnapshot& levels = mMeasurements.Levels();
  const float peaks[2] = {levels.inputPeak, levels.outputPeak};
  const char* const labels[2] = {"IN", "OUT"};
  const IArgbColour barColours[2] = {EditorPalette::Blue, EditorPalette::Teal};
  char readout[16];
  for (int k = 0; k < 2; ++k)
  {
    const float x = 1091.f + 25.f * static_cast<float>(k);
    const LevelReading reading = ReadLevel(peaks[k]);
    Text(g, labels[k], IRectF(x - 8.f, 139.f, x + 19.f, 154.f), 9.f, EditorPalette::MutedText);
    g.FillRoundRect(EditorPalette::Slate, IRectF(x, 158.f, x + 10.f, 278.f), 3.f);
    if (reading.fraction > 0.f)
      g.FillRoundRect(reading.fullScale ? EditorPalette::Amber : barColours[k],
                      IRectF(x, 278.f - 120.f * reading.fraction, x + 10.f, 278.f), 3.f);
    FormatLevel(reading, readout, sizeof(readout));
    Text(g, readout, IRectF(x - 9.f, 281.f, x + 20.f, 303.f), 9.f,
         reading.fullScale ? EditorPalette::Amber : EditorPalette::MutedText);
  }
}

void SignalDisplay::DrawTuner(IGui& g)
{
  const TunerReading reading = ReadTuner(mMeasurements.Display());
  char text[96];
  FormatTuner(reading, text, sizeof(text));
  const IRectF area(740.f, 334.f, 1131.f, 357.f);
  if (reading.valid)
    Text(g, text, area, 15.f, EditorPalette::Teal);
  else
    Text(g, text, area, 12.f, EditorPalette::MutedText);
}

void SignalDisplay::DrawReadouts(IGui& g)
{
  char text[32];
  for (int j = 0; j < kReadoutCount; ++j)
  {
    const float left = 740.f + 78.f * static_cast<float>(j);
    FormatReadout(kReadouts[j], mMeasurements.Display(), text, sizeof(text));
    const bool clip = kReadouts[j].meter == kMeterClipDb;
    Text(g, text, IRectF(left, 360.f, left + 76.f, 383.f), 10.f, clip ? EditorPalette::Amber : EditorPalette::MutedText);
  }
}

} // namespace editor
