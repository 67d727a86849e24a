#include "deps/vst3/helpers/EditController.h"

#include <cmath>

namespace Steinberg::Vst {

EditController::~EditController()
{
  releaseComponentHandler();
}

tresult VST3_CALL EditController::queryInterface(const TUID iid, void** obj)
{
  if (!obj)
    return kInvalidArgument;
  if (answerInterface<IEditController>(this, iid, obj) || answerInterface<IEditController2>(this, iid, obj) ||
      answerInterface<IPluginBase, IEditController>(this, iid, obj))
    return kResultOk;
  return ComponentBase::queryInterface(iid, obj);
}

tresult VST3_CALL EditController::initialize(FUnknown* context)
{
  return ComponentBase::initialize(context);
}

tresult VST3_CALL EditController::terminate()
{
  parameters.removeAll();
  releaseComponentHandler();
  return ComponentBase::terminate();
}

void EditController::releaseComponentHandler()
{
  if (componentHandler2)
  {
    componentHandler2->release();
    componentHandler2 = nullptr;
  }
  if (componentHandler)
  {
    componentHandler->release();
    componentHandler = nullptr;
  }
}

tresult VST3_CALL EditController::setComponentState(IBStream*)
{
  return kNotImplemented;
}

tresult VST3_CALL EditController::setState(IBStream*)
{
  return kNotImplemented;
}

tresult VST3_CALL EditController::getState(IBStream*)
{
  return kNotImplemented;
}

int32 VST3_CALL EditController::getParameterCount()
{
  return parameters.getParameterCount();
}

tresult VST3_CALL EditController::getParameterInfo(int32 paramIndex, ParameterInfo& info)
{
  const Parameter* parameter = parameters.getParameterByIndex(paramIndex);
  if (!parameter)
    return kResultFalse;
  info = parameter->getInfo();
  return kResultTrue;
}

tresult VST3_CALL EditController::getParamStringByValue(ParamID id, ParamValue valueNormalized, String128 string)
{
  const Parameter* parameter = parameters.getParameter(id);
  if (!parameter || !string)
    return kResultFalse;
  parameter->toString(valueNormalized, string);
  return kResultTrue;
}

tresult VST3_CALL EditController::getParamValueByString(ParamID id, TChar* string, ParamValue& valueNormalized)
{
  const Parameter* parameter = parameters.getParameter(id);
  if (!parameter || !string)
    return kResultFalse;
  return parameter->fromString(string, valueNormalized) ? kResultTrue : kResultFalse;
}

ParamValue VST3_CALL EditController::normalizedParamToPlain(ParamID id, ParamValue valueNormalized)
{
  const Parameter* parameter = parameters.getParameter(id);
  return parameter ? parameter->toPlain(valueNormalized) : valueNormalized;
}

ParamValue VST3_CALL EditController::plainParamToNormalized(ParamID id, ParamValue plainValue)
{
  const Parameter* parameter = parameters.getParameter(id);
  return parameter ? parameter->toNormalized(plainValue) : plainValue;
}

ParamValue VST3_CALL EditController::getParamNormalized(ParamID id)
{
  const Parameter* parameter = parameters.getParameter(id);
  return parameter ? parameter->getNormalized() : 0.;
}

tresult VST3_CALL EditController::setParamNormalized(ParamID id, ParamValue value)
{
  Parameter* parameter = parameters.getParameter(id);
  if (!parameter || std::isnan(value))
    return kResultFalse;
  parameter->setNormalized(value);
  return kResultTrue;
}

tresult VST3_CALL EditController::setComponentHandler(IComponentHandler* handler)
{
  if (handler == componentHandler)
    return kResultTrue;
  releaseComponentHandler();
  componentHandler = handler;
  if (componentHandler)
  {
    componentHandler->addRef();
    void* second = nullptr;
    if (componentHandler->queryInterface(IComponentHandler2::iid, &second) == kResultOk)
      componentHandler2 = static_cast<IComponentHandler2*>(second);
  }
  return kResultTrue;
}

IPlugView* VST3_CALL EditController::createView(FIDString)
{
  return nullptr;
}

tresult VST3_CALL EditController::setKnobMode(KnobMode mode)
{
  hostKnobMode = mode;
  return kResultTrue;
}

tresult VST3_CALL EditController::openHelp(TBool)
{
  return kResultFalse;
}

tresult VST3_CALL EditController::openAboutBox(TBool)
{
  return kResultFalse;
}

tresult EditController::beginEdit(ParamID tag)
{
  return componentHandler ? componentHandler->beginEdit(tag) : kResultFalse;
}

tresult EditController::performEdit(ParamID tag, ParamValue valueNormalized)
{
  return componentHandler ? componentHandler->performEdit(tag, valueNormalized) : kResultFalse;
}

tresult EditController::endEdit(ParamID tag)
{
  return componentHandler ? componentHandler->endEdit(tag) : kResultFalse;
}

tresult EditController::startGroupEdit()
{
  return componentHandler2 ? componentHandler2->startGroupEdit() : kNotImplemented;
}

tresult EditController::finishGroupEdit()
{
  return componentHandler2 ? componentHandler2->finishGroupEdit() : kNotImplemented;
}

} // namespace Steinberg::Vst
