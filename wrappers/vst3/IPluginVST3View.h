#pragma once

#include "deps/vst3/helpers/PluginView.h"

namespace pfw {

class IPluginVST3;

// The editor view a host embeds in a window of its own: it opens and closes the plug-in's
// editor in the host's window, reports and negotiates its size in pixels, passes the
// content scale and keys to the editor, and carries the editor's own sizes to the host's
// frame. It keeps the plug-in alive while it exists.
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

  // The idle tick: while the view is shown and the editor's size differs from the host's
  // window, asks the host's frame once for the editor's size. The view takes that size in
  // the onSize that follows; until then it reports the host's window.
  void AskHostForEditorSize();

protected:
  ~IPluginVST3View() override;

private:
  struct Size
  {
    int width = 0, height = 0;
    bool operator==(const Size& other) const { return width == other.width && height == other.height; }
    bool operator!=(const Size& other) const { return !(*this == other); }
  };

  // The editor's answer to a key, or kResultFalse for a key this host keeps for itself.
  Steinberg::tresult PassKey(bool down, Steinberg::char16 key, Steinberg::int16 keyCode, Steinberg::int16 modifiers);
  Size EditorSize() const;

  IPluginVST3& mPlugin;
  // The host's window: the size getSize gave before the view was shown, or the last onSize.
  Size mHostWindow;
  // The size last asked for, not asked for again until the host gives a window of its own.
  Size mAskedFor;
  // The host accepted the request and answers with a later onSize.
  bool mAwaitingAnswer = false;
};

} // namespace pfw
