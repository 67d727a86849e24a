#pragma once

#include "framework/graphics/IControl.h"
#include "framework/graphics/ISvgRef.h"

#include <memory>

namespace editor {

class ViewState;

// The maker's logo (or its name, when the logo did not load); a click, Enter or Space
// opens the maker's web site.
class Brand : public pfw::gui::IControl
{
public:
  static constexpr const char* kTooltip = "Open QUILLTONE plugins and support.";
  static constexpr const char* kHelpTitle = "QUILLTONE";
  static constexpr const char* kHelpBody =
    "Independent original audio tools. Open the QUILLTONE web site for downloads, sound examples and help.";

  Brand(const pfw::gui::IRectF& bounds, const pfw::gui::ISvgRef& logo, std::shared_ptr<ViewState> viewState);

  void OnMouseDown(float x, float y, const pfw::gui::IPointerMods& mods) override;
  bool OnKeyDown(float x, float y, const pfw::gui::IKeyEvent& key) override;
  void OnMouseOver(float x, float y, const pfw::gui::IPointerMods& mods) override;
  void Draw(pfw::gui::IGui& g) override;

private:
  void OpenWebSite();

  pfw::gui::ISvgRef mLogo;
  std::shared_ptr<ViewState> mViewState;
};

} // namespace editor
