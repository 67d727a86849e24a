#include "product/editor/Brand.h"

#include "product/editor/EditorPalette.h"
#include "product/editor/EditorText.h"
#include "product/editor/MakerContact.h"
#include "product/editor/ViewState.h"

#include "framework/graphics/IGui.h"

using pfw::gui::IGui;
using pfw::gui::IRectF;

namespace editor {

Brand::Brand(const IRectF& bounds, const pfw::gui::ISvgRef& logo, std::shared_ptr<ViewState> viewState)
  : IControl(bounds)
  , mLogo(logo)
  , mViewState(std::move(viewState))
{
  SetTooltip(kTooltip);
}

void Brand::OpenWebSite()
{
  if (mGraphics)
    mGraphics->OpenURL(kMakerWebSite);
}

void Brand::OnMouseDown(float /*x*/, float /*y*/, const pfw::gui::IPointerMods& /*mods*/)
{
  OpenWebSite();
}

bool Brand::OnKeyDown(float /*x*/, float /*y*/, const pfw::gui::IKeyEvent& key)
{
  if (key.vk != pfw::gui::kVKReturn && key.vk != pfw::gui::kVKSpace)
    return false;
  OpenWebSite();
  return true;
}

void Brand::OnMouseOver(float x, float y, const pfw::gui::IPointerMods& mods)
{
  mViewState->SetHelp(kHelpTitle, kHelpBody);
  IControl::OnMouseOver(x, y, mods);
}

void Brand::Draw(IGui& g)
{
  if (mLogo.IsValid())
    g.DrawSVG(mLogo, mRECT);
  else
    g.DrawText(EditorTextStyle(23.f, EditorPalette::Text, pfw::gui::ITextStyle::kAlignNear), "QUILLTONE",
               IRectF(36.f, 0.f, 238.f, 42.f));
  if (mMouseIsOver)
    g.DrawLine(EditorPalette::Amber, 37.f, 39.f, 230.f, 39.f);
}

} // namespace editor
