#pragma once

#include "framework/graphics/IControl.h"

#include <memory>
#include <string>

namespace editor {

class ViewState;

// The help strip: the title and the wrapped body that the other controls write into the
// shared view state, redrawn when the body changes. Ignores the mouse.
class ContextHelp : public pfw::gui::IControl
{
public:
  ContextHelp(const pfw::gui::IRectF& bounds, std::shared_ptr<ViewState> viewState);

  void Draw(pfw::gui::IGui& g) override;
  bool IsDirty() override;

private:
  std::shared_ptr<ViewState> mViewState;
  std::string mShownBody;
};

} // namespace editor
