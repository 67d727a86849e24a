#pragma once

namespace pfw {

struct IMidiEvent;
namespace gui {
struct IKeyEvent;
}

// What the editor delegate needs of the graphics context of an open editor. The graphics
// framework's IGui implements it; the delegate owns the object and deletes it through this
// interface. Sizes are in user-interface units.
class IEditorGraphics
{
public:
  virtual ~IEditorGraphics() = default;

  // Opens the editor window inside the parent; returns the native window or null.
  virtual void* OpenWindow(void* parent) = 0;
  virtual void CloseWindow() = 0;

  // How many controls the editor holds; 0 until its layout has run.
  virtual int NControls() const = 0;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual float GetDrawScale() const = 0;
  // Window pixels per drawn pixel: the monitor scale of the platform window.
  virtual float GetPlatformWindowScale() const = 0;
  virtual void Resize(int width, int height, float scale, bool needsPlatformResize) = 0;
  virtual void SetScreenScale(float scale) = 0;

  virtual void GetMouseLocation(float& x, float& y) const = 0;
  virtual bool OnKeyDown(float x, float y, const gui::IKeyEvent& key) = 0;
  virtual bool OnKeyUp(float x, float y, const gui::IKeyEvent& key) = 0;

  // Routing to controls: every value slot linked to the parameter, in control order.
  virtual void SetParameterValueFromDelegate(int paramIdx, double normalizedValue) = 0;
  // The control with the tag: its value slot 0, or the message.
  virtual void SetControlValueFromDelegate(int controlTag, double normalizedValue) = 0;
  virtual void SendControlMsgFromDelegate(int controlTag, int messageTag, int dataSize, const void* data) = 0;
  // Every control that wants MIDI, in control order.
  virtual void SendMidiMsgFromDelegate(const IMidiEvent& event) = 0;
};

} // namespace pfw
