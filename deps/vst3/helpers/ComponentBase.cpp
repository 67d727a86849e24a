#include "deps/vst3/helpers/ComponentBase.h"

namespace Steinberg::Vst {

ComponentBase::~ComponentBase()
{
  if (hostContext)
    hostContext->release();
}

tresult VST3_CALL ComponentBase::initialize(FUnknown* context)
{
  if (initialized)
    return kResultFalse;
  initialized = true;
  hostContext = context;
  if (hostContext)
    hostContext->addRef();
  return kResultOk;
}

tresult VST3_CALL ComponentBase::terminate()
{
  initialized = false;
  if (hostContext)
  {
    hostContext->release();
    hostContext = nullptr;
  }
  return kResultOk;
}

tresult VST3_CALL ComponentBase::queryInterface(const TUID iid, void** obj)
{
  return FObject::queryInterface(iid, obj);
}

tresult VST3_CALL ComponentBase::connect(IConnectionPoint* other)
{
  return other ? kResultOk : kInvalidArgument;
}

tresult VST3_CALL ComponentBase::disconnect(IConnectionPoint* other)
{
  return other ? kResultOk : kInvalidArgument;
}

tresult VST3_CALL ComponentBase::notify(IMessage* message)
{
  return message ? kResultFalse : kInvalidArgument;
}

} // namespace Steinberg::Vst
