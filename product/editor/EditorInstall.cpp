#include "product/editor/EditorInstall.h"

#include "product/editor/EditorLayout.h"

#include "framework/core/IGuiEditorDelegate.h"
#include "framework/graphics/IGui.h"

#if defined(_WIN32)
#include "framework/platform/windows/IGuiWin.h"

#include <new>
#endif

namespace editor {

#if defined(_WIN32)
namespace {
// The module this code was linked into, which also carries the editor's resources.
HMODULE OwnModule()
{
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&OwnModule), &module);
  return module;
}
} // namespace
#endif

void InstallEditor(pfw::IGuiEditorDelegate& delegate, TarnwickProduct& product)
{
#if defined(_WIN32)
  delegate.SetMakeGraphicsFunc([&delegate]() -> pfw::IEditorGraphics* {
    auto* graphics = new (std::nothrow)
      pfw::gui::IGuiWin(delegate, kEditorLayoutWidth, kEditorLayoutHeight, kEditorFps, 1.f);
    if (graphics)
      graphics->SetWinModuleHandle(OwnModule());
    return graphics;
  });
#endif
  delegate.SetLayoutFunc([&product](pfw::IEditorGraphics* graphics) {
    BuildEditorLayout(product, dynamic_cast<pfw::gui::IGui*>(graphics));
  });
}

} // namespace editor
