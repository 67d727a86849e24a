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
  // The editor passes through other sizes while it opens; the host hears only the last.
  ++mHostCallDepth;
  void* editor = mPlugin.OpenWindow(parent);
  --mHostCallDepth;
  if (!editor)
    return kResultFalse;
  HoldBackUnlessAgreed();
  return CPluginView::attached(parent, type);
}

tresult VST3_CALL IPluginVST3View::removed()
{
  mHeldBack = false;
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
  const Size editor = EditorSize();
  *size = ViewRect{0, 0, editor.width, editor.height};
  // A host sizes its window by this before it shows the view.
  if (!isAttached())
    mHostWindow = editor;
  return kResultOk;
}

tresult VST3_CALL IPluginVST3View::onSize(ViewRect* newSize)
{
  if (!newSize || !mPlugin.GetHostResizeEnabled())
    return kResultFalse;
  rect = *newSize;
  ++mSizesFromHost;
  mHostWindow = Size{newSize->getWidth(), newSize->getHeight()};
  // The editor fills a window of its own size already; fitting it again could only cost it
  // a pixel of rounding.
  if (mHostWindow == EditorSize())
  {
    mAskedFor = Size{};
    return kResultOk;
  }
  ++mHostCallDepth;
  // A closed editor opens at the size it takes in this window.
  if (!mPlugin.GetGraphics())
  {
    int width = mHostWindow.width, height = mHostWindow.height;
    mPlugin.EditorSizeForWindow(width, height);
    mPlugin.SetEditorSize(width, height);
  }
  mPlugin.OnParentWindowResize(mHostWindow.width, mHostWindow.height);
  --mHostCallDepth;
  HoldBackUnlessAgreed();
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
  // Exactly the size the editor takes for this window, so that a host which then gives
  // it through onSize has a window the editor fills.
  int width = size->getWidth();
  int height = size->getHeight();
  mPlugin.EditorSizeForWindow(width, height);
  size->right = size->left + width;
  size->bottom = size->top + height;
  return kResultOk;
}

tresult VST3_CALL IPluginVST3View::setContentScaleFactor(ScaleFactor factor)
{
  if (!std::isfinite(factor) || factor <= 0.0f)
    return kResultFalse;
  mPlugin.SetScreenScale(factor);
  // A closed editor's size changes with the scale too, without resizing anything.
  EditorSizeChanged();
  return kResultOk;
}

IPluginVST3View::Size IPluginVST3View::EditorSize() const
{
  return Size{mPlugin.GetEditorWidth(), mPlugin.GetEditorHeight()};
}

void IPluginVST3View::EditorSizeChanged()
{
  if (mHostCallDepth > 0)
    mHeldBack = true;
  else
    AskHostForEditorSize();
}

void IPluginVST3View::AskForHeldBackSize()
{
  if (!mHeldBack || mHostCallDepth > 0)
    return;
  mHeldBack = false;
  AskHostForEditorSize();
}

void IPluginVST3View::HoldBackUnlessAgreed()
{
  if (EditorSize() != mHostWindow)
    mHeldBack = true;
}

void IPluginVST3View::AskHostForEditorSize()
{
  const Size editor = EditorSize();
  if (editor == mHostWindow)
  {
    mAskedFor = Size{};
    return;
  }
  // Without a frame the host learns the size from getSize when it shows the view.
  IPlugFrame* frame = getFrame();
  if (!frame)
  {
    mHostWindow = editor;
    return;
  }
  // A host that kept its window when asked for this size is not asked again until one of
  // the two changes.
  if (editor == mAskedFor && mHostWindow == mAskedAgainst)
    return;
  mAskedFor = editor;
  mAskedAgainst = mHostWindow;
  // The host may answer inside resizeView with onSize of a size of its own, which stands.
  addRef();
  const unsigned sizesBefore = mSizesFromHost;
  ViewRect size{0, 0, editor.width, editor.height};
  const tresult result = frame->resizeView(this, &size);
  if (mSizesFromHost == sizesBefore && result == kResultTrue)
    mHostWindow = editor;
  if (mHostWindow == EditorSize())
    mAskedFor = Size{};
  release();
}

} // namespace pfw
