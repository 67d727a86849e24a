#pragma once

#include "product/editor/MeasurementFeed.h"

#include "framework/graphics/IControl.h"

#include <memory>

namespace editor {

// The status line: what is being monitored, whether the plug-in is bypassed and its
// latency, and below it where the monitor and the gate detector really listen (a
// missing side-chain shows as a warning). Redrawn every frame; ignores the mouse.
class Status : public pfw::gui::IControl
{
public:
  struct Note
  {
    const char* text;
    bool warning; // drawn Amber, else Teal
  };
  // The second line for the monitor source (parameter value), the gate's detector and
  // the side-chain as the engine last saw it.
  static Note RoutingNote(int monitorSource, bool externalGateDetector, bool auxConnected, bool auxInUse);

  Status(const pfw::gui::IRectF& bounds, std::shared_ptr<const MeasurementFeed> feed);

  void Draw(pfw::gui::IGui& g) override;
  bool IsDirty() override;

private:
  double Value(int paramIdx) const;

  std::shared_ptr<const MeasurementFeed> mFeed;
  // The side-chain flags outlast a pause in processing, so the last good copy stays.
  DisplaySnapshot mSnapshot;
};

} // namespace editor
