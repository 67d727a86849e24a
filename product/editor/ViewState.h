#pragma once

#include <string>
#include <vector>

namespace pfw::gui {
class IControl;
class IGui;
} // namespace pfw::gui

namespace editor {

// What the editor's controls share: the view the control row shows, the text of the
// context-help panel and the controls that belong to one view. One per open editor, held
// through a shared pointer by every control that reads or writes it; user-interface
// thread only.
class ViewState
{
public:
  static constexpr int kViewCount = 11;
  static constexpr int kInitialView = 1;
  static constexpr const char* kInitialHelpTitle = "YOUR GUITAR / YOUR CHAIN";
  static constexpr const char* kInitialHelpBody =
    "Enable a stage in the signal chain, choose its family, then shape the sound. Cabinet microphone drag edits "
    "Position and Distance. Shift is finer; numeric knobs double-click to reset.";
  static constexpr const char* kViewsHelpTitle = "84 STABLE CONTROLS / DISCOVERABLE VIEWS";
  static constexpr const char* kViewsHelpBody =
    "Pedal; Amp Tone/Power; Cabinet First/Second Mic; EQ; Effects Time/Blend; Utility Levels/Gate/Monitor. Every "
    "parameter keeps its host automation ID. Dimmed controls are unused when a stage is off.";

  struct ViewControl
  {
    pfw::gui::IControl* control; // owned by the graphics context
    int view;
  };

  int currentView = kInitialView;
  std::string helpTitle = kInitialHelpTitle;
  std::string helpBody = kInitialHelpBody;
  std::vector<ViewControl> controls;

  // Title and body always change together; the help panel watches the body.
  void SetHelp(const char* title, const char* body);
  // Attaches the control (no tag, no group) and records it as shown only in `view`.
  void AddControl(pfw::gui::IGui& graphics, pfw::gui::IControl* control, int view);
  // Shows the recorded controls of the current view, hides the others, redraws all.
  void Apply(pfw::gui::IGui& graphics);
  // Makes `view` current and tells how the views are organised.
  void ShowView(int view, pfw::gui::IGui& graphics);
};

} // namespace editor
