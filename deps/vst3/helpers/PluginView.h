#pragma once

#include "deps/vst3/helpers/FObject.h"
#include "deps/vst3/interfaces/IPlugView.h"

namespace Steinberg {

// The plug-in view base: keeps the view rectangle, the parent window while attached and
// a counted reference to the host's frame (from setFrame until replaced or destroyed).
class CPluginView : public FObject, public IPlugView
{
public:
  explicit CPluginView(const ViewRect* rect = nullptr);

  tresult VST3_CALL queryInterface(const TUID iid, void** obj) override;
  VST3_FORWARD_REFCOUNT(FObject)
  VST3_OBJECT_TYPE(CPluginView, FObject)

  tresult VST3_CALL isPlatformTypeSupported(FIDString type) override;
  tresult VST3_CALL attached(void* parent, FIDString type) override;
  tresult VST3_CALL removed() override;
  tresult VST3_CALL onWheel(float distance) override;
  tresult VST3_CALL onKeyDown(char16 key, int16 keyCode, int16 modifiers) override;
  tresult VST3_CALL onKeyUp(char16 key, int16 keyCode, int16 modifiers) override;
  tresult VST3_CALL getSize(ViewRect* size) override;
  tresult VST3_CALL onSize(ViewRect* newSize) override;
  tresult VST3_CALL onFocus(TBool state) override;
  tresult VST3_CALL setFrame(IPlugFrame* frame) override;
  tresult VST3_CALL canResize() override;
  tresult VST3_CALL checkSizeConstraint(ViewRect* rect) override;

  bool isAttached() const { return systemWindow != nullptr; }
  IPlugFrame* getFrame() const { return plugFrame; }

protected:
  ~CPluginView() override;

  ViewRect rect{};
  void* systemWindow = nullptr;
  IPlugFrame* plugFrame = nullptr;
};

} // namespace Steinberg
