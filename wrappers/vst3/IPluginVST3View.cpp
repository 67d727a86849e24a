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
  return CPluginView::attached(parent, type);
}

tresult VST3_CALL IPluginVST3View::removed()
{
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
  *size = ViewRect{0, 0, mPlugin.GetEditorWidth(), mPlugin.GetEditorHeight()};
  return kResultOk;
}

tresult VST3_CALL IPluginVST3View::onSize(ViewRect* newSize)
{
  if (!newSize || !mPlugin.GetHostResizeEnabled())
    return kResultFalse;
  rect = *newSize;
  ++mSizesFromHost;
  // The host has given the window this size, so it is the view's size from now on; the
  // editor then fits itself into it and asks for another size only when it must.
  mPlugin.SetEditorSize(newSize->getWidth(), newSize->getHeight());
  mPlugin.OnParentWindowResize(newSize->getWidth(), newSize->getHeight());
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
  int width = size->getWidth();
  int height = size->getHeight();
  if (!mPlugin.ConstrainEditorResize(width, height))
  {
    size->right = size->left + width;
    size->bottom = size->top + height;
  }
  return kResultOk;
}

tresult VST3_CALL IPluginVST3View::setContentScaleFactor(ScaleFactor factor)
{
  if (!std::isfinite(factor) || factor <= 0.0f)
    return kResultFalse;
  mPlugin.SetScreenScale(factor);
  return kResultOk;
}

} // namespace pfw
