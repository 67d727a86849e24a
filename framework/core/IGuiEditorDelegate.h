#pragma once

#include "IEditorDelegate.h"
#include "IEditorGraphics.h"

#include <functional>

namespace pfw {

namespace gui {
class IControl;
class IPopupMenu;
} // namespace gui

// Binds the editor protocol to a graphics context: makes it when the editor opens, deletes
// it when it closes, routes values to the controls linked to a parameter, and keeps the
// editor size and scale across close and open.
class IGuiEditorDelegate : public IEditorDelegate
{
public:
  using MakeGraphicsFunc = std::function<IEditorGraphics*()>;
  using LayoutFunc = std::function<void(IEditorGraphics* graphics)>;

  explicit IGuiEditorDelegate(int nParams);
  ~IGuiEditorDelegate() override;

  void* OpenWindow(void* parent) override;
  void CloseWindow() override;
  void OnParentWindowResize(int width, int height) override;
  bool OnKeyDown(const gui::IKeyEvent& key) override;
  bool OnKeyUp(const gui::IKeyEvent& key) override;
  void SendControlValueFromDelegate(int controlTag, double normalizedValue) override;
  void SendControlMsgFromDelegate(int controlTag, int messageTag, int dataSize, const void* data) override;
  void SendMidiMsgFromDelegate(const IMidiEvent& event) override;
  void SendParameterValueFromDelegate(int paramIdx, double value, bool normalized) override;
  bool SerializeEditorSize(IDataChunk& chunk) const override;
  int UnserializeEditorSize(const IDataChunk& chunk, int startPos) override;
  void SetScreenScale(float scale) override;
  // Whole units at scale 1 within the limits, as OnParentWindowResize fits the graphics.
  void EditorSizeForWindow(int& width, int& height, DrivingSides driving) const override;
  virtual IEditorGraphics* CreateGraphics();
  virtual void LayoutUI(IEditorGraphics* graphics);
  // A host that shows the controls' context menus itself shows this one, holding the
  // control's own items, at (x, y) in the window's pixels; false leaves the menu to the
  // editor.
  virtual bool PopupHostContextMenu(gui::IControl& control, gui::IPopupMenu& items, int paramIdx, int x, int y);

  void SetMakeGraphicsFunc(MakeGraphicsFunc func) { mMakeGraphicsFunc = std::move(func); }
  void SetLayoutFunc(LayoutFunc func) { mLayoutFunc = std::move(func); }
  // The open editor's graphics; null while the editor is closed.
  IEditorGraphics* GetGraphics() const { return mGraphics; }
  // Window pixels per drawn pixel of the open editor, or of the one that opens next: the
  // screen scale the host set, else 1.
  float EditorWindowScale() const;
  // A closed editor opens at this size in units and drawing scale; its size in pixels
  // follows them at the window scale.
  void SetClosedEditorSize(int width, int height, float scale);
  // True once this delegate's destructor runs: the editor it deletes then must not call
  // back into the plug-in, whose own parts are already gone.
  bool IsBeingDestroyed() const { return mDestroying; }

private:
  // Sizes from a window or a stored record must be positive, finite and within the limits.
  bool AcceptableSize(int& width, int& height, float scale) const;

  MakeGraphicsFunc mMakeGraphicsFunc;
  LayoutFunc mLayoutFunc;
  IEditorGraphics* mGraphics = nullptr;
  int mLastWidth = 0;
  int mLastHeight = 0;
  float mLastScale = 0.0f;
  // The screen scale the host set, kept for an editor that opens later (0: none).
  float mHostScreenScale = 0.0f;
  bool mClosing = false;
  bool mDestroying = false;
};

} // namespace pfw
