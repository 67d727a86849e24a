#pragma once

#include <memory>

namespace pfw::gui {
class IGui;
} // namespace pfw::gui

class TarnwickProduct;

namespace editor {

class ViewState;

// The editor's fixed size in user-interface units and its frame rate.
inline constexpr int kEditorLayoutWidth = 1180;
inline constexpr int kEditorLayoutHeight = 800;
inline constexpr int kEditorFps = 30;

// Builds the whole editor page into the graphics context, in drawing order: the fixed
// upper half, the control row of every view (only the current one shown), the bottom
// band and the corner resizer. Returns the page's view state (also held by its controls);
// nothing without a graphics context.
std::shared_ptr<ViewState> BuildEditorLayout(TarnwickProduct& product, pfw::gui::IGui* graphics);

} // namespace editor
