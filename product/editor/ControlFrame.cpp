#include "product/editor/ControlFrame.h"

#include "product/core/TarnwickProduct.h"
#include "product/editor/EditorPalette.h"

#include "framework/graphics/IGui.h"

namespace editor {

void DrawControlFrame(pfw::gui::IGui& g, const pfw::gui::IRectF& rect, bool on, bool hovered)
{
  g.FillRoundRect(on ? pfw::gui::IArgbColour(255, 36, 65, 65) : EditorPalette::Ink, rect, 5.f);
  const pfw::gui::IArgbColour& outline = hovered ? EditorPalette::Amber : on ? EditorPalette::Teal : EditorPalette::Slate;
  g.DrawRoundRect(outline, rect.Inflated(-0.5f), 5.f, nullptr, 1.f);
}

pfw::gui::IRectF OpaqueInside(const pfw::gui::IRectF& rect, float cornerRadius)
{
  return rect.Inflated(-(cornerRadius + 1.f));
}

void FollowStageDimming(pfw::gui::IControl& control, const TarnwickProduct& product)
{
  const bool unused = product.IsParamUnused(control.GetParamIdx());
  if (unused != control.IsDisabled())
    control.SetDisabled(unused);
}

} // namespace editor
