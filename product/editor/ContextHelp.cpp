#include "product/editor/ContextHelp.h"

#include "product/editor/EditorPalette.h"
#include "product/editor/EditorText.h"
#include "product/editor/ViewState.h"

#include "framework/graphics/IGui.h"

using pfw::gui::IRectF;
using pfw::gui::ITextStyle;

namespace editor {

ContextHelp::ContextHelp(const IRectF& bounds, std::shared_ptr<ViewState> viewState)
  : IControl(bounds)
  , mViewState(std::move(viewState))
{
  SetIgnoreMouse(true);
}

// Every writer sets title and body together, so the body tells when to redraw.
bool ContextHelp::IsDirty()
{
  if (mViewState->helpBody != mShownBody)
  {
    mShownBody = mViewState->helpBody;
    mDirty = true;
  }
  return IControl::IsDirty();
}

void ContextHelp::Draw(pfw::gui::IGui& g)
{
  g.DrawText(EditorTextStyle(10.f, EditorPalette::Amber, ITextStyle::kAlignNear), mViewState->helpTitle.c_str(),
             IRectF(36.f, 721.f, 290.f, 750.f));
  g.DrawMultiLineText(EditorTextStyle(12.f, EditorPalette::MutedText, ITextStyle::kAlignNear),
                      mViewState->helpBody.c_str(), IRectF(300.f, 719.f, 1144.f, 752.f));
}

} // namespace editor
