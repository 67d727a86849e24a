#pragma once

#include "framework/graphics/IArgbColour.h"
#include "framework/graphics/IControl.h"

namespace editor {

// The page behind every control: a dark vertical gradient with faint scan lines, the
// product name, the rules between the bands and the panel of the control row. Ignores
// the mouse. The gradient and the lines are drawn only where no opaque panel covers them.
class Backdrop : public pfw::gui::IControl
{
public:
  // The gradient's colours at the top and at the foot of the page.
  static inline const pfw::gui::IArgbColour kTopColour{255, 42, 39, 37};
  static inline const pfw::gui::IArgbColour kFootColour{255, 19, 23, 27};

  explicit Backdrop(const pfw::gui::IRectF& bounds);

  void Draw(pfw::gui::IGui& g) override;

private:
  void DrawScanLines(pfw::gui::IGui& g, const pfw::gui::IRectF& area);
};

} // namespace editor
