#pragma once

#include "product/editor/MeasurementFeed.h"

#include "framework/graphics/IControl.h"

#include <memory>

namespace editor {

// The measurement panel: input and output spectra on a logarithmic frequency axis, both
// waveforms, the IN and OUT level meters, the tuner and the reduction readouts, all drawn
// from the copy of the engine's measurements taken once per frame. Nothing is drawn that
// the engine did not measure.
class SignalDisplay : public pfw::gui::IControl
{
public:
  SignalDisplay(const pfw::gui::IRectF& bounds, std::shared_ptr<const MeasurementFeed> feed);

  void Draw(pfw::gui::IGui& g) override;
  pfw::gui::IRectF OpaqueArea() const override;
  bool IsDirty() override;

private:
  bool AnalyzerOn() const;
  void DrawGrid(pfw::gui::IGui& g);
  void DrawTraces(pfw::gui::IGui& g);
  void DrawMeters(pfw::gui::IGui& g);
  void DrawTuner(pfw::gui::IGui& g);
  void DrawReadouts(pfw::gui::IGui& g);

  LatestMeasurements mMeasurements;
};

} // namespace editor
