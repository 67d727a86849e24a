#pragma once

#include "framework/core/IEditorGraphics.h"

#include <functional>
#include <vector>

// An open editor without a window: records what the plug-in asks of it.
class FakeEditorGraphics : public pfw::IEditorGraphics
{
public:
  struct ResizeCall
  {
    int width;
    int height;
    float scale;
    bool needsPlatformResize;
  };

  void* OpenWindow(void*) override { return this; }
  void CloseWindow() override {}
  int Width() const override { return mWidth; }
  int Height() const override { return mHeight; }
  float GetDrawScale() const override { return mScale; }
  float GetPlatformWindowScale() const override { return platformScale; }
  int NControls() const override { return controlCount; }
  void Resize(int width, int height, float scale, bool needsPlatformResize) override
  {
    resizes.push_back({width, height, scale, needsPlatformResize});
    mWidth = width;
    mHeight = height;
    mScale = scale;
    if (onResize)
      onResize();
  }
  void SetScreenScale(float) override {}
  void GetMouseLocation(float& x, float& y) const override { x = y = 0.0f; }
  bool OnKeyDown(float, float, const pfw::gui::IKeyEvent&) override { return false; }
  bool OnKeyUp(float, float, const pfw::gui::IKeyEvent&) override { return false; }
  void SetParameterValueFromDelegate(int paramIdx, double normalizedValue) override
  {
    parameterValues.push_back({paramIdx, normalizedValue});
  }
  void SetControlValueFromDelegate(int, double) override {}
  void SendControlMsgFromDelegate(int, int, int, const void*) override {}
  void SendMidiMsgFromDelegate(const pfw::IMidiEvent&) override {}

  float platformScale = 1.0f;
  int controlCount = 1;
  std::vector<ResizeCall> resizes;
  std::vector<std::pair<int, double>> parameterValues;
  // Called after each resize, as a platform window would report its new size.
  std::function<void()> onResize;

private:
  int mWidth = 1180;
  int mHeight = 800;
  float mScale = 1.0f;
};
