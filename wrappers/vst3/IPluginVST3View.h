#pragma once

#include "deps/vst3/helpers/PluginView.h"

namespace pfw {

class IPluginVST3;

// The editor view a host embeds in a window of its own: it opens and closes the plug-in's
// editor in the host's window, reports and negotiates its size in pixels, passes the
// content scale and keys to the editor, and carries the plug-in's own resize requests to
// the host's frame. It keeps the plug-in alive while it exists.
class IPluginVST3View : public Steinberg::CPluginView, public Steinberg::IPlugViewContentScaleSupport
{
public:
  explicit IPluginVST3View(IPluginVST3& plugin);

  Steinberg::tresult VST3_CALL queryInterface(const Steinberg::TUID iid, void** obj) override;
  VST3_FORWARD_REFCOUNT(CPluginView)
  VST3_OBJECT_TYPE(IPluginVST3View, CPluginView)

  Steinberg::tresult VST3_CALL isPlatformTypeSupported(Steinberg::FIDString type) override;
  Steinberg::tresult VST3_CALL attached(void* parent, Steinberg::FIDString type) override;
  Steinberg::tresult VST3_CALL removed() override;
  Steinberg::tresult VST3_CALL onKeyDown(Steinberg::char16 key, Steinberg::int16 keyCode,
                                         Steinberg::int16 modifiers) override;
  Steinberg::tresult VST3_CALL onKeyUp(Steinberg::char16 key, Steinberg::int16 keyCode,
                                       Steinberg::int16 modifiers) override;
  Steinberg::tresult VST3_CALL getSize(Steinberg::ViewRect* size) override;
  Steinberg::tresult VST3_CALL onSize(Steinberg::ViewRect* newSize) override;
  Steinberg::tresult VST3_CALL canResize() override;
  Steinberg::tresult VST3_CALL checkSizeConstraint(Steinberg::ViewRect* rect) override;
  Steinberg::tresult VST3_CALL setContentScaleFactor(ScaleFactor factor) override;

  Steinberg::IPlugView* plugView() { return this; }
  // How many sizes the host has given through onSize, so that a resize request can tell
  // whether the host answered it with a size of its own.
  unsigned SizesFromHost() const { return mSizesFromHost; }

protected:
  ~IPluginVST3View() override;

private:
  // The editor's answer to a key, or kResultFalse for a key this host keeps for itself.
  Steinberg::tresult PassKey(bool down, Steinberg::char16 key, Steinberg::int16 keyCode, Steinberg::int16 modifiers);

  IPluginVST3& mPlugin;
  unsigned mSizesFromHost = 0;
};

} // namespace pfw
