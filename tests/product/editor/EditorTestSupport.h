#pragma once

#include "DisplayTestSupport.h"
#include "TarnwickTestSupport.h"

#include <string>
#include <vector>

namespace editor_test {

using HostEdit = IPluginTestWrapper::HostEdit;

// True when every host edit of a parameter is begun once, ended once, never nested, and
// every value the host is told lies inside its parameter's edit; `why` says what broke.
bool BalancedHostEdits(const std::vector<HostEdit>& edits, std::string* why = nullptr);

// The parameters whose values the host was told, in order.
std::vector<int> PerformedParams(const std::vector<HostEdit>& edits);

// A plug-in object with an open editor drawn by the recording back end.
struct PluginWithGui
{
  std::unique_ptr<Tarnwick> plugin = tarnwick_test::MakePlugin();
  RecordingGui gui{*plugin};
};

} // namespace editor_test

#include "product/editor/EditorLayout.h"
#include "product/editor/ViewState.h"

namespace editor_test {

// The recording back end whose window, when opened, gets the editor's page as a platform
// window does; it keeps the page's view state for the tests.
class EditorGui : public StyledRecordingGui
{
public:
  EditorGui(Tarnwick& plugin)
    : StyledRecordingGui(plugin)
    , mPlugin(plugin)
  {
  }
  void* OpenWindow(void* parent) override
  {
    void* handle = StyledRecordingGui::OpenWindow(parent);
    viewState = editor::BuildEditorLayout(mPlugin.Product(), this);
    return handle;
  }
  std::shared_ptr<editor::ViewState> viewState;

private:
  Tarnwick& mPlugin;
};

// A plug-in object with its editor open on the recording back end.
struct OpenEditor
{
  OpenEditor();
  ~OpenEditor() { plugin->CloseWindow(); }

  // Input in user-interface units, as the platform layer delivers it.
  void Click(float x, float y, bool right = false);
  void Press(float x, float y, bool shift = false);
  void Release(float x, float y);
  void Drag(float x, float y, float dX, float dY, bool shift = false);
  void DoubleClick(float x, float y);
  bool Key(float x, float y, int vk, bool shift = false);
  void Wheel(float x, float y, float delta, bool fine = false);
  void Hover(float x, float y);
  // One frame: every control polls, the dirty ones draw; `gui->texts` holds the texts drawn.
  void Frame();

  // The controls shown now (not hidden), in drawing order.
  std::vector<pfw::gui::IControl*> VisibleControls() const;
  // Every control linked to the parameter, shown or not, in drawing order.
  std::vector<pfw::gui::IControl*> ControlsOf(int paramIdx) const;
  // Shows the view whose control row holds the parameter; returns that control.
  pfw::gui::IControl* ShowViewOf(int paramIdx);
  // Opens the value box of the parameter's knob with a click, replaces its text with
  // `text` key by key and commits it with Enter. Returns the text the entry opened with.
  std::string TypeIntoValueBox(int paramIdx, const std::string& text);
  double Value(int paramIdx) const { return plugin->GetParam(paramIdx)->Value(); }
  editor::ViewState& View() const { return *gui->viewState; }

  std::unique_ptr<Tarnwick> plugin = tarnwick_test::MakePlugin();
  EditorGui* gui = nullptr;
};

} // namespace editor_test
