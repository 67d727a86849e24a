#include "product/editor/Backdrop.h"

#include "product/editor/ControlFrame.h"
#include "product/editor/EditorPalette.h"
#include "product/editor/EditorText.h"

#include "framework/graphics/IGui.h"

#include <algorithm>
#include <cmath>

using pfw::gui::IArgbColour;
using pfw::gui::IGui;
using pfw::gui::IRectF;
using pfw::gui::ITextStyle;

namespace editor {

namespace {
constexpr float kScanLineStep = 4.f;
constexpr int kBrightLineEvery = 3; // every third line (each 12 units) is brighter
constexpr float kControlRowRadius = 8.f;
} // namespace

Backdrop::Backdrop(const IRectF& bounds)
  : IControl(bounds)
{
  SetIgnoreMouse(true);
}

void Backdrop::Draw(IGui& g)
{
  const IRectF controlRow(36.f, 541.f, 1144.f, 714.f);
  pfw::gui::IRectFList parts;
  g.UncoveredParts(*this, g.GetClipRect(), parts);
  parts.Cut(OpaqueInside(controlRow, kControlRowRadius).PixelsInside(g.GetTotalScale()));
  for (int i = 0; i < parts.Size(); ++i)
  {
    g.PathClipRegion(parts.Get(i));
    g.PathClear();
    g.PathRect(mRECT);
    g.PathFill(pfw::gui::IColourSource::CreateLinearGradient(
                 590.f, 0.f, 590.f, 800.f, {{kTopColour, 0.f}, {kFootColour, 1.f}}),
               pfw::gui::IFillRule(), nullptr);
    DrawScanLines(g, parts.Get(i));
  }
  g.PathClipRegion();

  const int left = ITextStyle::kAlignNear;
  g.DrawText(EditorTextStyle(36.f, EditorPalette::Text, left), "TARN WICK", IRectF(36.f, 38.f, 455.f, 87.f));
  g.DrawText(EditorTextStyle(13.f, EditorPalette::MutedText, left), "PEDAL / AMP / CABINET",
             IRectF(457.f, 52.f, 721.f, 84.f));
  g.DrawLine(EditorPalette::Slate, 36.f, 97.f, 1144.f, 97.f);
  g.FillRoundRect(EditorPalette::Ink, controlRow, kControlRowRadius);
  g.DrawRoundRect(EditorPalette::Slate, controlRow, kControlRowRadius);
  g.DrawLine(EditorPalette::Slate, 36.f, 753.f, 1144.f, 753.f);
}

// The lines of one brightness go into one stroke, and only those of the area being
// redrawn: the backdrop lies under every control, so it is drawn in every frame.
void Backdrop::DrawScanLines(IGui& g, const IRectF& area)
{
  const int first = std::max(0, static_cast<int>(std::floor((area.T - 1.f) / kScanLineStep)));
  const int last = static_cast<int>(std::ceil(std::min(area.B + 1.f, mRECT.B) / kScanLineStep));
  for (const bool bright : {true, false})
  {
    g.PathClear();
    bool any = false;
    for (int i = first; i < last; ++i)
    {
      if ((i % kBrightLineEvery == 0) != bright)
        continue;
      const float y = kScanLineStep * static_cast<float>(i);
      g.PathMoveTo(mRECT.L, y);
      g.PathLineTo(mRECT.R, y);
      any = true;
    }
    if (any)
      g.PathStroke(pfw::gui::IColourSource::FromColour(IArgbColour(bright ? 3 : 1, 255, 255, 255)), 1.f,
                   pfw::gui::IStrokeStyle(), nullptr);
  }
}

} // namespace editor
