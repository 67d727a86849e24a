#include "IGuiEditorDelegate.h"

#include "EditorPixels.h"
#include "IDataChunk.h"
#include "ParamChangeSource.h"

#include <cmath>
#include <cstdint>

namespace pfw {

IGuiEditorDelegate::IGuiEditorDelegate(int nParams)
  : IEditorDelegate(nParams)
{
}

IGuiEditorDelegate::~IGuiEditorDelegate()
{
  mDestroying = true;
  delete mGraphics;
  mGraphics = nullptr;
  mMakeGraphicsFunc = nullptr;
  mLayoutFunc = nullptr;
}

bool IGuiEditorDelegate::AcceptableSize(int& width, int& height, float scale) const
{
  if (!std::isfinite(scale) || scale <= 0.0f || width <= 0 || height <= 0)
    return false;
  ConstrainEditorResize(width, height);
  return true;
}

void* IGuiEditorDelegate::OpenWindow(void* parent)
{
  if (!mGraphics)
    mGraphics = CreateGraphics();
  if (!mGraphics)
    return nullptr;
  int width = mLastWidth;
  int height = mLastHeight;
  if (AcceptableSize(width, height, mLastScale))
    mGraphics->Resize(width, height, mLastScale, true);
  void* window = mGraphics->OpenWindow(parent);
  if (window && mHostScreenScale > 0.0f)
    mGraphics->SetScreenScale(mHostScreenScale);
  // The layout has attached the controls by now; show them the current values, not their
  // initial ones.
  OnUIOpen();
  return window;
}

void IGuiEditorDelegate::CloseWindow()
{
  if (mClosing)
    return;
  mClosing = true;
  OnUIClose();
  if (mGraphics)
  {
    mLastWidth = mGraphics->Width();
    mLastHeight = mGraphics->Height();
    mLastScale = mGraphics->GetDrawScale();
    mGraphics->CloseWindow();
    delete mGraphics;
    mGraphics = nullptr;
  }
  mClosing = false;
}

void IGuiEditorDelegate::OnParentWindowResize(int width, int height)
{
  if (!mGraphics)
  {
    // A closed editor opens at the size it takes in this window.
    const float windowScale = EditorWindowScale();
    int unitsWide = static_cast<int>(width / windowScale);
    int unitsHigh = static_cast<int>(height / windowScale);
    if (AcceptableSize(unitsWide, unitsHigh, 1.0f))
      SetClosedEditorSize(unitsWide, unitsHigh, 1.0f);
    return;
  }
  const float windowScale = mGraphics->GetPlatformWindowScale();
  if (!std::isfinite(windowScale) || windowScale <= 0.0f)
    return;
  mGraphics->Resize(static_cast<int>(width / windowScale), static_cast<int>(height / windowScale), 1.0f, false);
}

bool IGuiEditorDelegate::OnKeyDown(const gui::IKeyEvent& key)
{
  if (!mGraphics)
    return false;
  float x = 0.0f, y = 0.0f;
  mGraphics->GetMouseLocation(x, y);
  return mGraphics->OnKeyDown(x, y, key);
}

bool IGuiEditorDelegate::OnKeyUp(const gui::IKeyEvent& key)
{
  if (!mGraphics)
    return false;
  float x = 0.0f, y = 0.0f;
  mGraphics->GetMouseLocation(x, y);
  return mGraphics->OnKeyUp(x, y, key);
}

void IGuiEditorDelegate::SendControlValueFromDelegate(int controlTag, double normalizedValue)
{
  if (mGraphics)
    mGraphics->SetControlValueFromDelegate(controlTag, normalizedValue);
}

void IGuiEditorDelegate::SendControlMsgFromDelegate(int controlTag, int messageTag, int dataSize, const void* data)
{
  if (mGraphics)
    mGraphics->SendControlMsgFromDelegate(controlTag, messageTag, dataSize, data);
}

void IGuiEditorDelegate::SendMidiMsgFromDelegate(const IMidiEvent& event)
{
  if (mGraphics)
    mGraphics->SendMidiMsgFromDelegate(event);
  IEditorDelegate::SendMidiMsgFromDelegate(event);
}

void IGuiEditorDelegate::SendParameterValueFromDelegate(int paramIdx, double value, bool normalized)
{
  const IParam* param = GetParam(paramIdx);
  if (!param)
    return;
  if (mGraphics)
    mGraphics->SetParameterValueFromDelegate(paramIdx, normalized ? value : param->ToNormalized(value));
  IEditorDelegate::SendParameterValueFromDelegate(paramIdx, value, normalized);
}

bool IGuiEditorDelegate::SerializeEditorSize(IDataChunk& chunk) const
{
  const int32_t width = mGraphics ? mGraphics->Width() : mLastWidth;
  const int32_t height = mGraphics ? mGraphics->Height() : mLastHeight;
  const float scale = mGraphics ? mGraphics->GetDrawScale() : mLastScale;
  const int before = chunk.Size();
  chunk.Put(width);
  chunk.Put(height);
  chunk.Put(scale);
  return chunk.Size() == before + 12;
}

int IGuiEditorDelegate::UnserializeEditorSize(const IDataChunk& chunk, int startPos)
{
  int32_t width = 0;
  int32_t height = 0;
  float scale = 0.0f;
  int position = startPos;
  position = position < 0 ? -1 : chunk.Get(width, position);
  position = position < 0 ? -1 : chunk.Get(height, position);
  position = position < 0 ? -1 : chunk.Get(scale, position);
  if (!mGraphics)
  {
    mLastWidth = width;
    mLastHeight = height;
    mLastScale = scale;
  }
  else
  {
    int w = width, h = height;
    if (AcceptableSize(w, h, scale))
      mGraphics->Resize(w, h, scale, true);
  }
  return position;
}

void IGuiEditorDelegate::SetScreenScale(float scale)
{
  if (std::isfinite(scale) && scale > 0.0f)
    mHostScreenScale = scale;
  if (mGraphics)
  {
    mGraphics->SetScreenScale(scale);
    return;
  }
  if (mHostScreenScale <= 0.0f)
    return;
  // A closed editor opens at this scale: its size now is the size it will open at. Every
  // resize of a closed editor remembers its size in units, so with nothing remembered the
  // editor still has the size it was made with, in units at drawing scale 1.
  int width = mLastWidth, height = mLastHeight;
  if (AcceptableSize(width, height, mLastScale))
    SetClosedEditorSize(width, height, mLastScale);
  else
    SetClosedEditorSize(GetEditorWidth(), GetEditorHeight(), 1.0f);
}

void IGuiEditorDelegate::SetClosedEditorSize(int width, int height, float scale)
{
  mLastWidth = width;
  mLastHeight = height;
  mLastScale = scale;
  const float windowScale = EditorWindowScale();
  SetEditorSize(EditorPixelExtent(width, scale, windowScale), EditorPixelExtent(height, scale, windowScale));
}

float IGuiEditorDelegate::EditorWindowScale() const
{
  const float scale = mGraphics ? mGraphics->GetPlatformWindowScale() : mHostScreenScale;
  return std::isfinite(scale) && scale > 0.0f ? scale : 1.0f;
}

void IGuiEditorDelegate::EditorSizeForWindow(int& width, int& height, DrivingSides) const
{
  const float windowScale = EditorWindowScale();
  int unitsWide = static_cast<int>(width / windowScale);
  int unitsHigh = static_cast<int>(height / windowScale);
  ConstrainEditorResize(unitsWide, unitsHigh);
  width = EditorPixelExtent(unitsWide, 1.0f, windowScale);
  height = EditorPixelExtent(unitsHigh, 1.0f, windowScale);
}

bool IGuiEditorDelegate::PopupHostContextMenu(gui::IControl&, gui::IPopupMenu&, int, int, int)
{
  return false;
}

IEditorGraphics* IGuiEditorDelegate::CreateGraphics()
{
  return mMakeGraphicsFunc ? mMakeGraphicsFunc() : nullptr;
}

void IGuiEditorDelegate::LayoutUI(IEditorGraphics* graphics)
{
  if (mLayoutFunc)
    mLayoutFunc(graphics);
}

} // namespace pfw
