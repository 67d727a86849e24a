#pragma once

#include "framework/graphics/ITextStyle.h"

namespace editor {

// Every text of the editor is drawn in this font, which the layout loads from the
// embedded "Roboto-Regular.ttf".
inline constexpr const char* kEditorFontId = "QUILLTONE";
inline constexpr const char* kEditorFontResource = "Roboto-Regular.ttf";

// The editor's text style: its font at the given size and colour, the given alignment,
// and the colours of a typed-value entry (a dark box with light text).
pfw::gui::ITextStyle EditorTextStyle(float size, const pfw::gui::IArgbColour& colour,
                                     int hAlign = pfw::gui::ITextStyle::kAlignCentre,
                                     int vAlign = pfw::gui::ITextStyle::kAlignCentre);

} // namespace editor

namespace pfw::gui {
class IGui;
struct IRectF;
} // namespace pfw::gui

namespace editor {

// Draws a one-line text so that it stays inside the rectangle: at the style's size when
// it fits, else at the largest size down to `minSize` that fits, else at `minSize` broken
// after the last word that fits onto a second line.
void DrawFittedText(pfw::gui::IGui& g, const pfw::gui::ITextStyle& style, const char* text,
                    const pfw::gui::IRectF& bounds, float minSize);

} // namespace editor
