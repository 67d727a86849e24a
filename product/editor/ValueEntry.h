#pragma once

#include "framework/graphics/IControl.h"

#include <functional>

namespace editor {

// The owner of a knob's typed-value entry: linked to no parameter, so the typed text
// reaches its completion function as it stands (units and all) instead of the
// framework's parameter parsing. Ignores the mouse and draws nothing.
class ValueEntry : public pfw::gui::IControl
{
public:
  using Completion = std::function<void(const char* text)>;

  explicit ValueEntry(Completion completion);

  void OnTextEntryCompletion(const char* text, int valIdx) override;
  void Draw(pfw::gui::IGui&) override {}

private:
  Completion mCompletion;
};

} // namespace editor
