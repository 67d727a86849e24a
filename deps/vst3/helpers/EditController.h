#pragma once

#include "deps/vst3/helpers/ComponentBase.h"
#include "deps/vst3/helpers/ParameterContainer.h"
#include "deps/vst3/interfaces/IEditController.h"

namespace Steinberg::Vst {

// The edit-controller base: the parameter container, the host's component handler and
// the edit gestures sent through it.
class EditController : public ComponentBase, public IEditController, public IEditController2
{
public:
  EditController() = default;

  tresult VST3_CALL queryInterface(const TUID iid, void** obj) override;
  VST3_FORWARD_REFCOUNT(ComponentBase)
  VST3_OBJECT_TYPE(EditController, ComponentBase)

  tresult VST3_CALL initialize(FUnknown* context) override;
  // Drops the parameters, the handler references and the context.
  tresult VST3_CALL terminate() override;

  tresult VST3_CALL setComponentState(IBStream* state) override;
  tresult VST3_CALL setState(IBStream* state) override;
  tresult VST3_CALL getState(IBStream* state) override;
  int32 VST3_CALL getParameterCount() override;
  tresult VST3_CALL getParameterInfo(int32 paramIndex, ParameterInfo& info) override;
  tresult VST3_CALL getParamStringByValue(ParamID id, ParamValue valueNormalized, String128 string) override;
  tresult VST3_CALL getParamValueByString(ParamID id, TChar* string, ParamValue& valueNormalized) override;
  ParamValue VST3_CALL normalizedParamToPlain(ParamID id, ParamValue valueNormalized) override;
  ParamValue VST3_CALL plainParamToNormalized(ParamID id, ParamValue plainValue) override;
  ParamValue VST3_CALL getParamNormalized(ParamID id) override;
  tresult VST3_CALL setParamNormalized(ParamID id, ParamValue value) override;
  tresult VST3_CALL setComponentHandler(IComponentHandler* handler) override;
  IPlugView* VST3_CALL createView(FIDString name) override;

  tresult VST3_CALL setKnobMode(KnobMode mode) override;
  tresult VST3_CALL openHelp(TBool onlyCheck) override;
  tresult VST3_CALL openAboutBox(TBool onlyCheck) override;

  // Edit gestures to the host: kResultFalse without a handler. The group edits need the
  // handler's IComponentHandler2 and answer kNotImplemented without it.
  tresult beginEdit(ParamID tag);
  tresult performEdit(ParamID tag, ParamValue valueNormalized);
  tresult endEdit(ParamID tag);
  tresult startGroupEdit();
  tresult finishGroupEdit();

  IComponentHandler* getComponentHandler() const { return componentHandler; }
  KnobMode getKnobMode() const { return hostKnobMode; }

protected:
  ~EditController() override;
  void releaseComponentHandler();

  ParameterContainer parameters;
  IComponentHandler* componentHandler = nullptr;
  IComponentHandler2* componentHandler2 = nullptr;
  KnobMode hostKnobMode = kCircularMode;
};

} // namespace Steinberg::Vst
