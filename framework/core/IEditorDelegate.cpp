#include "IEditorDelegate.h"

#include "IDataChunk.h"
#include "ParamChangeSource.h"
#include "Trace.h"

#include <algorithm>

namespace pfw {

IEditorDelegate::IEditorDelegate(int nParams)
{
  for (int i = 0; i < nParams; ++i)
  {
    IParam* param = new IParam;
    if (!mParams.Add(param))
    {
      delete param;
      break;
    }
  }
}

IEditorDelegate::~IEditorDelegate() = default;

void* IEditorDelegate::OpenWindow(void*)
{
  OnUIOpen();
  return nullptr;
}

void IEditorDelegate::CloseWindow()
{
  OnUIClose();
}

void IEditorDelegate::OnParentWindowResize(int, int) {}

void IEditorDelegate::OnUIOpen()
{
  SendAllParamValuesToUI();
}

void IEditorDelegate::OnUIClose() {}

void IEditorDelegate::OnParamChangeHook(int) {}

void IEditorDelegate::OnParamChange(int paramIdx, int source, int)
{
  Trace(__FUNCTION__, __LINE__, "idx:%i src:%s\n", paramIdx, ParamChangeSourceName(source));
  OnParamChangeHook(paramIdx);
}

void IEditorDelegate::OnParamChangeUI(int, int) {}

void IEditorDelegate::OnParamReset(int source)
{
  for (int i = 0; i < NParams(); ++i)
  {
    OnParamChange(i, source, -1);
    OnParamChangeUI(i, source);
  }
}

void IEditorDelegate::OnMidiMsgUI(const IMidiEvent&) {}

void IEditorDelegate::OnSysexMsgUI(const ISysExMessage&) {}

bool IEditorDelegate::OnMessage(int, int, int, const void*)
{
  return false;
}

void IEditorDelegate::OnRestoreState()
{
  SendAllParamValuesToUI();
}

bool IEditorDelegate::OnKeyDown(const gui::IKeyEvent&)
{
  return false;
}

bool IEditorDelegate::OnKeyUp(const gui::IKeyEvent&)
{
  return false;
}

void IEditorDelegate::SendControlValueFromDelegate(int, double) {}

void IEditorDelegate::SendControlMsgFromDelegate(int controlTag, int messageTag, int dataSize, const void* data)
{
  OnMessage(messageTag, controlTag, dataSize, data);
}

void IEditorDelegate::SendArbitraryMsgFromDelegate(int messageTag, int dataSize, const void* data)
{
  OnMessage(messageTag, -1, dataSize, data);
}

void IEditorDelegate::SendMidiMsgFromDelegate(const IMidiEvent& event)
{
  OnMidiMsgUI(event);
}

void IEditorDelegate::SendSysexMsgFromDelegate(const ISysExMessage& message)
{
  OnSysexMsgUI(message);
}

void IEditorDelegate::SendParameterValueFromDelegate(int paramIdx, double, bool)
{
  OnParamChangeUI(paramIdx, kDelegate);
}

void IEditorDelegate::SendAllParamValuesToHost() {}

void IEditorDelegate::SendParameterValueFromUI(int paramIdx, double normalizedValue)
{
  IParam* param = GetParam(paramIdx);
  if (!param)
    return;
  param->SetNormalized(normalizedValue);
  OnParamChangeUI(paramIdx, kUI);
}

bool IEditorDelegate::EditorResizeFromUI(int, int, bool)
{
  return false;
}

void IEditorDelegate::SendMidiMsgFromUI(const IMidiEvent&) {}

void IEditorDelegate::SendSysexMsgFromUI(const ISysExMessage&) {}

void IEditorDelegate::SendArbitraryMsgFromUI(int, int, int, const void*) {}

void IEditorDelegate::QueueMidiMsgFromUI(const IMidiEvent&) {}

void IEditorDelegate::QueueSysexMsgFromUI(const ISysExMessage&) {}

bool IEditorDelegate::ConstrainEditorResize(int& width, int& height) const
{
  if (width >= mMinWidth && width <= mMaxWidth && height >= mMinHeight && height <= mMaxHeight)
    return true;
  width = std::clamp(width, mMinWidth, mMaxWidth);
  height = std::clamp(height, mMinHeight, mMaxHeight);
  return false;
}

void IEditorDelegate::EditorSizeForWindow(int& width, int& height, DrivingSides) const
{
  ConstrainEditorResize(width, height);
}

bool IEditorDelegate::SerializeEditorSize(IDataChunk&) const
{
  return true;
}

int IEditorDelegate::UnserializeEditorSize(const IDataChunk&, int startPos)
{
  return startPos;
}

void IEditorDelegate::SetScreenScale(float) {}

void IEditorDelegate::SendAllParamValuesToUI()
{
  for (int i = 0; i < NParams(); ++i)
    SendParameterValueFromDelegate(i, GetParam(i)->GetNormalized(), true);
}

void IEditorDelegate::SetSizeConstraints(int minWidth, int maxWidth, int minHeight, int maxHeight)
{
  mMinWidth = std::min(minWidth, maxWidth);
  mMaxWidth = std::max(minWidth, maxWidth);
  mMinHeight = std::min(minHeight, maxHeight);
  mMaxHeight = std::max(minHeight, maxHeight);
}

} // namespace pfw
