#include "deps/vst3/helpers/PluginView.h"

namespace Steinberg {

CPluginView::CPluginView(const ViewRect* initialRect)
{
  if (initialRect)
    rect = *initialRect;
}

CPluginView::~CPluginView()
{
  setFrame(nullptr);
}

tresult VST3_CALL CPluginView::queryInterface(const TUID iid, void** obj)
{
  if (!obj)
    return kInvalidArgument;
  if (answerInterface<IPlugView>(this, iid, obj))
    return kResultOk;
  return FObject::queryInterface(iid, obj);
}

tresult VST3_CALL CPluginView::isPlatformTypeSupported(FIDString)
{
  return kNotImplemented;
}

tresult VST3_CALL CPluginView::attached(void* parent, FIDString)
{
  systemWindow = parent;
  return kResultOk;
}

tresult VST3_CALL CPluginView::removed()
{
  systemWindow = nullptr;
  return kResultOk;
}

tresult VST3_CALL CPluginView::onWheel(float)
{
  return kResultFalse;
}

tresult VST3_CALL CPluginView::onKeyDown(char16, int16, int16)
{
  return kResultFalse;
}

tresult VST3_CALL CPluginView::onKeyUp(char16, int16, int16)
{
  return kResultFalse;
}

tresult VST3_CALL CPluginView::getSize(ViewRect* size)
{
  if (!size)
    return kInvalidArgument;
  *size = rect;
  return kResultTrue;
}

tresult VST3_CALL CPluginView::onSize(ViewRect* newSize)
{
  if (!newSize)
    return kInvalidArgument;
  rect = *newSize;
  return kResultTrue;
}

tresult VST3_CALL CPluginView::onFocus(TBool)
{
  return kResultFalse;
}

tresult VST3_CALL CPluginView::setFrame(IPlugFrame* frame)
{
  if (frame)
    frame->addRef();
  if (plugFrame)
    plugFrame->release();
  plugFrame = frame;
  return kResultTrue;
}

tresult VST3_CALL CPluginView::canResize()
{
  return kResultFalse;
}

tresult VST3_CALL CPluginView::checkSizeConstraint(ViewRect*)
{
  return kResultFalse;
}

} // namespace Steinberg
