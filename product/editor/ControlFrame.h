#pragma once

#include "framework/graphics/IRectF.h"

namespace pfw::gui {
class IControl;
class IGui;
} // namespace pfw::gui

class TarnwickProduct;

namespace editor {

// The rounded box of a button: lit when on, outlined Amber under the mouse.
void DrawControlFrame(pfw::gui::IGui& g, const pfw::gui::IRectF& rect, bool on, bool hovered);

// The part of a rounded rectangle filled with an opaque colour that shows that colour
// alone: clear of its corners and of its anti-aliased edge.
pfw::gui::IRectF OpaqueInside(const pfw::gui::IRectF& rect, float cornerRadius);

// Dims the control while the stage that owns its parameter is switched off (a dimmed
// control takes no input); polled once per frame, so host automation is followed too.
void FollowStageDimming(pfw::gui::IControl& control, const TarnwickProduct& product);

} // namespace editor
