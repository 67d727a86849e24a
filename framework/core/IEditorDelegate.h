#pragma once

#include "IParam.h"
#include "PointerList.h"

namespace pfw {

class IDataChunk;
struct IMidiEvent;
struct ISysExMessage;
namespace gui {
struct IKeyEvent;
}

// The innermost base of the plug-in object: it owns the parameters and defines how values,
// MIDI, SysEx and messages travel between the plug-in and its editor ("FromDelegate": to
// the editor; "FromUI": from the editor), the editor's size limits and the product's hooks.
class IEditorDelegate
{
public:
  explicit IEditorDelegate(int nParams);
  virtual ~IEditorDelegate();
  IEditorDelegate(const IEditorDelegate&) = delete;
  IEditorDelegate& operator=(const IEditorDelegate&) = delete;

  virtual void* OpenWindow(void* parent);
  virtual void CloseWindow();
  virtual void OnParentWindowResize(int width, int height);
  virtual void OnUIOpen();
  virtual void OnUIClose();
  virtual void OnParamChangeHook(int paramIdx);
  virtual void OnParamChange(int paramIdx, int source, int sampleOffset);
  virtual void OnParamChangeUI(int paramIdx, int source);
  virtual void OnParamReset(int source);
  virtual void OnMidiMsgUI(const IMidiEvent& event);
  virtual void OnSysexMsgUI(const ISysExMessage& message);
  virtual bool OnMessage(int messageTag, int controlTag, int dataSize, const void* data);
  virtual void OnRestoreState();
  virtual bool OnKeyDown(const gui::IKeyEvent& key);
  virtual bool OnKeyUp(const gui::IKeyEvent& key);
  virtual void SendControlValueFromDelegate(int controlTag, double normalizedValue);
  virtual void SendControlMsgFromDelegate(int controlTag, int messageTag, int dataSize, const void* data);
  virtual void SendArbitraryMsgFromDelegate(int messageTag, int dataSize, const void* data);
  virtual void SendMidiMsgFromDelegate(const IMidiEvent& event);
  virtual void SendSysexMsgFromDelegate(const ISysExMessage& message);
  virtual void SendParameterValueFromDelegate(int paramIdx, double value, bool normalized);
  virtual void SendAllParamValuesToHost();
  virtual void BeginParamEditFromUI(int paramIdx) = 0;
  virtual void SendParameterValueFromUI(int paramIdx, double normalizedValue);
  virtual void EndParamEditFromUI(int paramIdx) = 0;
  virtual bool EditorResizeFromUI(int width, int height, bool needsPlatformResize);
  virtual void SendMidiMsgFromUI(const IMidiEvent& event);
  virtual void SendSysexMsgFromUI(const ISysExMessage& message);
  virtual void SendArbitraryMsgFromUI(int messageTag, int controlTag, int dataSize, const void* data);
  virtual void QueueMidiMsgFromUI(const IMidiEvent& event);
  virtual void QueueSysexMsgFromUI(const ISysExMessage& message);
  // True when the size lies within the limits (bounds included); otherwise both are clamped
  // into their ranges and the result is false.
  virtual bool ConstrainEditorResize(int& width, int& height) const;
  // The sides of a window that drive the editor's size in it: both, or the one a user
  // changed by dragging an edge. An editor that keeps its proportions lets the other side
  // follow; one that takes any shape keeps it as given.
  enum class DrivingSides
  {
    kBoth,
    kWidth,
    kHeight
  };
  // A parent window's size in pixels becomes the size the editor takes in it, so that a
  // host can be told that size before it sizes its window. The limits alone by default.
  virtual void EditorSizeForWindow(int& width, int& height, DrivingSides driving) const;
  virtual bool SerializeEditorSize(IDataChunk& chunk) const;
  virtual int UnserializeEditorSize(const IDataChunk& chunk, int startPos);
  virtual void SetScreenScale(float scale);

  // Every parameter's normalised value to the editor, in index order.
  void SendAllParamValuesToUI();

  int NParams() const { return mParams.GetSize(); }
  // Null for an index outside 0 ... NParams() - 1.
  IParam* GetParam(int paramIdx) const { return mParams.Get(paramIdx); }

  int GetEditorWidth() const { return mEditorWidth; }
  int GetEditorHeight() const { return mEditorHeight; }
  void SetEditorSize(int width, int height)
  {
    mEditorWidth = width;
    mEditorHeight = height;
  }
  int GetMinWidth() const { return mMinWidth; }
  int GetMaxWidth() const { return mMaxWidth; }
  int GetMinHeight() const { return mMinHeight; }
  int GetMaxHeight() const { return mMaxHeight; }
  void SetSizeConstraints(int minWidth, int maxWidth, int minHeight, int maxHeight);

private:
  PointerList<IParam> mParams{true};
  int mEditorWidth = 0;
  int mEditorHeight = 0;
  int mMinWidth = 10;
  int mMaxWidth = 100000;
  int mMinHeight = 10;
  int mMaxHeight = 100000;
};

} // namespace pfw
