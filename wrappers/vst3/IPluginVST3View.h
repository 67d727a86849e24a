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

  // The editor's size may have changed: a host window of another size is asked for the
  // editor's size at once, or, while the host's own onSize or attached call is running,
  // on the next idle tick.
  void EditorSizeChanged();
  // The idle tick: asks for a size held back during a host call.
  void AskForHeldBackSize();

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
  // Asks the host's frame for the editor's size when its window has another, once for
  // each editor size against each window size.
  void AskHostForEditorSize();
  void HoldBackUnlessAgreed();

  IPluginVST3& mPlugin;
  // The host's window as far as the view knows: the size it was given by getSize before
  // showing the view, gave through onSize, or took when asked.
  Size mHostWindow;
  // The last request the host answered with a window of another size, and that window.
  Size mAskedFor, mAskedAgainst;
  unsigned mSizesFromHost = 0;
  int mHostCallDepth = 0;
  bool mHeldBack = false;
};

} // namespace pfw
