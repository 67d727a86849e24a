#include "wrappers/vst3/ControlMenuTarget.h"

#include "framework/graphics/IGui.h"

namespace pfw {

using namespace Steinberg;

ControlMenuTarget::ControlMenuTarget(gui::IGui& graphics, gui::IControl& control)
  : mGraphics(&graphics)
  , mControl(&control)
{
}

tresult VST3_CALL ControlMenuTarget::queryInterface(const TUID iid, void** obj)
{
  if (!obj)
    return kInvalidArgument;
  if (answerInterface<Vst::IContextMenuTarget>(this, iid, obj))
    return kResultOk;
  return FObject::queryInterface(iid, obj);
}

tresult VST3_CALL ControlMenuTarget::executeMenuItem(int32 tag)
{
  if (!mGraphics || mGraphics->GetControlIdx(mControl) < 0)
    return kResultOk;
  try
  {
    mControl->OnContextSelection(tag);
  }
  catch (...)
  {
    return kInternalError;
  }
  return kResultOk;
}

void ControlMenuTarget::Forget()
{
  mGraphics = nullptr;
  mControl = nullptr;
}

} // namespace pfw
