#include "product/editor/EditorText.h"

#include "product/editor/EditorPalette.h"

namespace editor {

pfw::gui::ITextStyle EditorTextStyle(float size, const pfw::gui::IArgbColour& colour, int hAlign, int vAlign)
{
  pfw::gui::ITextStyle style;
  style.SetFontId(kEditorFontId);
  style.size = size;
  style.colour = colour;
  style.entryBackground = pfw::gui::IArgbColour(255, 19, 26, 29);
  style.entryText = EditorPalette::Text;
  style.angle = 0.f;
  style.hAlign = hAlign;
  style.vAlign = vAlign;
  return style;
}

} // namespace editor
