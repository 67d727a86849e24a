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

#include "framework/graphics/IGui.h"

#include <string>

namespace editor {

namespace {
float TextWidth(pfw::gui::IGui& g, const pfw::gui::ITextStyle& style, const char* text)
{
  pfw::gui::IRectF measured;
  return g.MeasureText(style, text, measured);
}
} // namespace

void DrawFittedText(pfw::gui::IGui& g, const pfw::gui::ITextStyle& style, const char* text,
                    const pfw::gui::IRectF& bounds, float minSize)
{
  pfw::gui::ITextStyle fitted = style;
  while (TextWidth(g, fitted, text) > bounds.W() && fitted.size - 0.5f >= minSize)
    fitted.size -= 0.5f;
  const std::string line(text);
  const size_t firstSpace = line.find(' ');
  if (TextWidth(g, fitted, text) <= bounds.W() || firstSpace == std::string::npos)
  {
    g.DrawText(fitted, text, bounds);
    return;
  }
  size_t split = firstSpace;
  for (size_t space = line.find(' ', split + 1); space != std::string::npos; space = line.find(' ', space + 1))
  {
    if (TextWidth(g, fitted, line.substr(0, space).c_str()) > bounds.W())
      break;
    split = space;
  }
  const float lineHeight = fitted.size * 1.15f;
  const float top = bounds.MH() - lineHeight;
  g.DrawText(fitted, line.substr(0, split).c_str(), pfw::gui::IRectF(bounds.L, top, bounds.R, top + lineHeight));
  g.DrawText(fitted, line.substr(split + 1).c_str(),
             pfw::gui::IRectF(bounds.L, top + lineHeight, bounds.R, top + 2.f * lineHeight));
}

} // namespace editor
