#pragma once

#include "deps/vst3/helpers/FObject.h"
#include "deps/vst3/interfaces/IMessage.h"

namespace Steinberg::Vst {

// What component and controller share: the host context from initialize to terminate.
// The connection-point methods are here for completeness of the object; a single object
// has no peer to talk to, so they keep nothing.
class ComponentBase : public FObject, public IConnectionPoint
{
public:
  // Keeps a counted reference to the context; a second initialize answers kResultFalse.
  virtual tresult VST3_CALL initialize(FUnknown* context);
  virtual tresult VST3_CALL terminate();

  tresult VST3_CALL queryInterface(const TUID iid, void** obj) override;
  VST3_FORWARD_REFCOUNT(FObject)
  VST3_OBJECT_TYPE(ComponentBase, FObject)

  tresult VST3_CALL connect(IConnectionPoint* other) override;
  tresult VST3_CALL disconnect(IConnectionPoint* other) override;
  tresult VST3_CALL notify(IMessage* message) override;

  FUnknown* getHostContext() const { return hostContext; }

protected:
  ~ComponentBase() override;

  FUnknown* hostContext = nullptr;

private:
  bool initialized = false; // a host may initialise without a context
};

} // namespace Steinberg::Vst
