#include "wrappers/vst3/IPluginVST3View.h"

#include "framework/core/HostIdentity.h"
#include "wrappers/vst3/IPluginVST3.h"
#include "wrappers/vst3/VST3KeyEvent.h"

#include <cmath>
#include <cstring>

namespace pfw {

using namespace Steinberg;

namespace {

bool IsHwnd(FIDString type)
{
  return type && std::strcmp(type, kPlatformTypeHWND) == 0;
}

} // namespace

IPluginVST3View::IPluginVST3View(IPluginVST3& plugin)
  : mPlugin(plugin)
{
  mPlugin.addRef();
  mHostWindow = EditorSize();
}

IPluginVST3View::~IPluginVST3View()
{
  mPlugin.ForgetView(this);
  mPlugin.release();
}

tresult VST3_CALL IPluginVST3View::queryInterface(const TUID iid, void** obj)
{
  if (!obj)
    return kInvalidArgument;
  if (answerInterface<IPlugViewContentScaleSupport>(this, iid, obj))
    return kResultOk;
  return CPluginView::queryInterface(iid, obj);
}

tresult VST3_CALL IPluginVST3View::isPlatformTypeSupported(FIDString type)
{
  return mPlugin.HasUI() && IsHwnd(type) ? kResultOk : kResultFalse;
}

tresult VST3_CALL IPluginVST3View::attached(void* parent, FIDString type)
{
  // A host told of success shows the view, so anything that opens no editor is refused.
  if (!mPlugin.HasUI() || !IsHwnd(type) || !parent)
    return kResultFalse;
  // The editor's resize requests, from its opening on, go to the frame of the view that
  // shows it, whichever other views the host has made.
  mPlugin.SetView(this);
  if (!mPlugin.OpenWindow(parent))
    return kResultFalse;
  mAskedFor = Size{};
  mAwaitingAnswer = false;
  return CPluginView::attached(parent, type);
}

tresult VST3_CALL IPluginVST3View::removed()
{
  mAwaitingAnswer = false;
  if (mPlugin.HasUI())
    mPlugin.CloseWindow();
  return CPluginView::removed();
}

tresult IPluginVST3View::PassKey(bool down, char16 key, int16 keyCode, int16 modifiers)
{
  // This host delivers every key here first; only the space bar is the editor's.
  const bool reaper = mPlugin.GetHost() == kHostReaper;
  if (reaper && keyCode != KEY_SPACE)
    return kResultFalse;
  const gui::IKeyEvent event = VST3KeyToKeyEvent(reaper ? u' ' : key, keyCode, modifiers);
  const bool handled = down ? mPlugin.OnKeyDown(event) : mPlugin.OnKeyUp(event);
  return handled ? kResultOk : kResultFalse;
}

tresult VST3_CALL IPluginVST3View::onKeyDown(char16 key, int16 keyCode, int16 modifiers)
{
  return PassKey(true, key, keyCode, modifiers);
}

tresult VST3_CALL IPluginVST3View::onKeyUp(char16 key, int16 keyCode, int16 modifiers)
{
  return PassKey(false, key, keyCode, modifiers);
}

tresult VST3_CALL IPluginVST3View::getSize(ViewRect* size)
{
  if (!mPlugin.HasUI() || !size)
    return kResultFalse;
  // A host sizes its window by this before it shows the view: the size the editor opens
  // at. Once shown, the view is the host's window, which takes another size only when the
  // host resizes it.
  if (!isAttached())
    mHostWindow = EditorSize();
  *size = ViewRect{0, 0, mHostWindow.width, mHostWindow.height};
  return kResultOk;
}

tresult VST3_CALL IPluginVST3View::onSize(ViewRect* newSize)
{
  if (!newSize || newSize->getWidth() <= 0 || newSize->getHeight() <= 0 || !mPlugin.GetHostResizeEnabled())
    return kResultFalse;
  rect = *newSize;
  const bool answer = mAwaitingAnswer;
  mAwaitingAnswer = false;
  mHostWindow = Size{newSize->getWidth(), newSize->getHeight()};
  // An answer to a size the editor has left since: the next idle tick asks for its size now.
  if (answer && EditorSize() != mAskedFor)
  {
    mAskedFor = Size{};
    return kResultOk;
  }
  // The editor fills a window of its own size already; fitting it again could only cost it
  // a pixel of rounding. A closed editor opens at the size it takes in this window.
  if (mHostWindow != EditorSize())
    mPlugin.OnParentWindowResize(mHostWindow.width, mHostWindow.height);
  // The host's answer stands, whatever size it gave: the editor stays fitted in it rather
  // than ask again. A window the host chose itself is asked once for the editor's size.
  mAskedFor = answer ? EditorSize() : Size{};
  return kResultOk;
}

tresult VST3_CALL IPluginVST3View::canResize()
{
  return mPlugin.HasUI() && mPlugin.GetHostResizeEnabled() ? kResultOk : kResultFalse;
}

tresult VST3_CALL IPluginVST3View::checkSizeConstraint(ViewRect* size)
{
  if (!size)
    return kResultFalse;
  // Exactly the size the editor takes for this window, so that a host which then gives it
  // through onSize has a window the editor fills. A user dragging one edge of the host's
  // window drives the editor's size by that side.
  int width = size->getWidth();
  int height = size->getHeight();
  using Sides = IEditorDelegate::DrivingSides;
  Sides driving = Sides::kBoth;
  if (height == mHostWindow.height && width != mHostWindow.width)
    driving = Sides::kWidth;
  else if (width == mHostWindow.width && height != mHostWindow.height)
    driving = Sides::kHeight;
  mPlugin.EditorSizeForWindow(width, height, driving);
  size->right = size->left + width;
  size->bottom = size->top + height;
  return kResultOk;
}

tresult VST3_CALL IPluginVST3View::setContentScaleFactor(ScaleFactor factor)
{
  if (!std::isfinite(factor) || factor <= 0.0f)
    return kResultFalse;
  mPlugin.SetScreenScale(factor);
  return kResultOk;
}

IPluginVST3View::Size IPluginVST3View::EditorSize() const
{
  return Size{mPlugin.GetEditorWidth(), mPlugin.GetEditorHeight()};
}

void IPluginVST3View::AskHostForEditorSize()
{
  const Size editor = EditorSize();
  IPlugFrame* frame = getFrame();
  if (!isAttached() || !frame || mAwaitingAnswer || editor == mHostWindow || editor == mAskedFor)
    return;
  mAskedFor = editor;
  mAwaitingAnswer = true;
  // The host may answer inside resizeView, through onSize, and may let the view go there.
  addRef();
  ViewRect size{0, 0, editor.width, editor.height};
  const tresult result = frame->resizeView(this, &size);
  // A host that keeps its window leaves the editor fitted inside it, and is not asked again
  // for the size that leaves.
  if (mAwaitingAnswer && result != kResultTrue)
  {
    mAwaitingAnswer = false;
    mPlugin.OnParentWindowResize(mHostWindow.width, mHostWindow.height);
    mAskedFor = EditorSize();
  }
  release();
}

} // namespace pfw
