#pragma once

#include "framework/core/IEditorGraphics.h"
#include "framework/core/IMidiEvent.h"

#include <utility>
#include <vector>

// A graphics context that records what the delegate asks of it. Controls are modelled as
// value slots linked to parameters, in control order.
class FakeEditorGraphics : public pfw::IEditorGraphics
{
public:
  struct Slot
  {
    int controlTag;
    int paramIdx;
    double value;
  };

  explicit FakeEditorGraphics(int width = 1180, int height = 800, float scale = 1.0f)
    : width(width)
    , height(height)
    , drawScale(scale)
  {
  }
  ~FakeEditorGraphics() override
  {
    if (destroyed)
      *destroyed = true;
  }

  void* OpenWindow(void* parent) override
  {
    openedWith = parent;
    return &width;
  }
  void CloseWindow() override { ++closeCalls; }
  int Width() const override { return width; }
  int Height() const override { return height; }
  float GetDrawScale() const override { return drawScale; }
  float GetPlatformWindowScale() const override { return platformScale; }
  int NControls() const override { return controlCount; }
  void Resize(int w, int h, float scale, bool needsPlatformResize) override
  {
    width = w;
    height = h;
    drawScale = scale;
    resizes.push_back({w, h, scale, needsPlatformResize});
  }
  void SetScreenScale(float scale) override { screenScale = scale; }
  void GetMouseLocation(float& x, float& y) const override
  {
    x = mouseX;
    y = mouseY;
  }
  bool OnKeyDown(float x, float y, const pfw::gui::IKeyEvent&) override
  {
    keyAt = {x, y};
    return true;
  }
  bool OnKeyUp(float, float, const pfw::gui::IKeyEvent&) override { return false; }
  void SetParameterValueFromDelegate(int paramIdx, double normalizedValue) override
  {
    for (Slot& slot : slots)
      if (slot.paramIdx == paramIdx)
        slot.value = normalizedValue;
  }
  void SetControlValueFromDelegate(int controlTag, double normalizedValue) override
  {
    for (Slot& slot : slots)
      if (slot.controlTag == controlTag)
      {
        slot.value = normalizedValue;
        return;
      }
  }
  void SendControlMsgFromDelegate(int controlTag, int messageTag, int, const void*) override
  {
    controlMessages.push_back({controlTag, messageTag});
  }
  void SendMidiMsgFromDelegate(const pfw::IMidiEvent& event) override { midi.push_back(event); }

  struct ResizeCall
  {
    int width, height;
    float scale;
    bool platform;
  };

  int width, height;
  float drawScale;
  float platformScale = 1.0f;
  int controlCount = 1;
  float screenScale = 1.0f;
  float mouseX = 0, mouseY = 0;
  std::pair<float, float> keyAt{-1, -1};
  void* openedWith = nullptr;
  int closeCalls = 0;
  bool* destroyed = nullptr;
  std::vector<ResizeCall> resizes;
  std::vector<Slot> slots;
  std::vector<std::pair<int, int>> controlMessages;
  std::vector<pfw::IMidiEvent> midi;
};
