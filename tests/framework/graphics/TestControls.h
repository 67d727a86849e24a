#pragma once

#include "FakeDelegate.h"
#include "RecordingGui.h"

#include "framework/graphics/IKnobControlBase.h"

#include <memory>
#include <string>
#include <vector>

// A control that logs what it receives into a shared event log.
class LoggingControl : public pfw::gui::IControl
{
public:
  LoggingControl(const char* name_, const pfw::gui::IRectF& bounds, std::vector<std::string>& events_,
                 int paramIdx = -1)
    : pfw::gui::IControl(bounds, paramIdx)
    , name(name_)
    , events(events_)
  {
  }

  void Draw(pfw::gui::IGui& g) override
  {
    events.push_back(name + " draw");
    g.FillRect(pfw::gui::IArgbColour(255, 10, 20, 30), mRECT);
  }
  void OnMouseDown(float x, float y, const pfw::gui::IPointerMods& mods) override
  {
    events.push_back(name + " down");
    pfw::gui::IControl::OnMouseDown(x, y, mods);
  }
  void OnMouseUp(float, float, const pfw::gui::IPointerMods&) override { events.push_back(name + " up"); }
  void OnMouseDrag(float, float, float dX, float dY, const pfw::gui::IPointerMods&) override
  {
    events.push_back(name + " drag " + std::to_string(static_cast<int>(dX)) + "," + std::to_string(static_cast<int>(dY)));
  }
  void OnMouseDblClick(float x, float y, const pfw::gui::IPointerMods& mods) override
  {
    events.push_back(name + " dblclick");
    pfw::gui::IControl::OnMouseDblClick(x, y, mods);
  }
  void OnMouseWheel(float, float, const pfw::gui::IPointerMods&, float) override { events.push_back(name + " wheel"); }
  bool OnKeyDown(float, float, const pfw::gui::IKeyEvent&) override
  {
    events.push_back(name + " key");
    return handlesKeys;
  }
  void OnMouseOver(float x, float y, const pfw::gui::IPointerMods& mods) override
  {
    events.push_back(name + " over");
    pfw::gui::IControl::OnMouseOver(x, y, mods);
  }
  void OnMouseOut() override
  {
    if (mMouseIsOver)
      events.push_back(name + " out");
    pfw::gui::IControl::OnMouseOut();
  }
  void OnMouseCancelled(float, float, const pfw::gui::IPointerMods&) override { events.push_back(name + " cancelled"); }
  void OnDrop(const char* path) override { events.push_back(name + " drop " + path); }
  void OnContextSelection(int index) override { events.push_back(name + " context " + std::to_string(index)); }
  void CreateContextMenu(pfw::gui::IPopupMenu& menu) override
  {
    for (const std::string& item : contextItems)
      menu.AddItem(item.c_str());
  }
  void OnTextEntryCompletion(const char* text, int valIdx) override
  {
    events.push_back(name + " completion " + text + " " + std::to_string(valIdx));
  }

  std::string name;
  std::vector<std::string>& events;
  std::vector<std::string> contextItems;
  bool handlesKeys = true;
};

class TestKnob : public pfw::gui::IKnobControlBase
{
public:
  TestKnob(const pfw::gui::IRectF& bounds, int paramIdx, int direction = kVertical, double gearing = 1.0)
    : pfw::gui::IKnobControlBase(bounds, paramIdx, direction, gearing)
  {
  }
  void Draw(pfw::gui::IGui& g) override { g.FillRect(pfw::gui::IArgbColour(), mRECT); }
};

// A delegate, a recording graphics instance and an event log, with helpers that send
// pointer events as the platform layer would.
struct GuiFixture
{
  FakeDelegate delegate;
  std::unique_ptr<RecordingGui> gui = std::make_unique<RecordingGui>(delegate);
  std::vector<std::string> events;

  LoggingControl* Add(const char* name, const pfw::gui::IRectF& bounds, int paramIdx = -1, int tag = -1)
  {
    auto* control = new LoggingControl(name, bounds, events, paramIdx);
    if (!gui->AttachControl(control, tag))
    {
      delete control;
      return nullptr;
    }
    return control;
  }

  static pfw::gui::IPointerEvent Point(float x, float y, bool right = false, int64_t touch = 0, float dX = 0.f,
                                       float dY = 0.f)
  {
    pfw::gui::IPointerEvent e;
    e.x = x;
    e.y = y;
    e.dX = dX;
    e.dY = dY;
    e.mods.left = !right;
    e.mods.right = right;
    e.mods.touchId = touch;
    return e;
  }
  void Down(float x, float y, bool right = false) { gui->OnMouseDown({Point(x, y, right)}); }
  void Up(float x, float y, bool right = false) { gui->OnMouseUp({Point(x, y, right)}); }
  void Drag(float x, float y, float dX, float dY, bool shift = false)
  {
    pfw::gui::IPointerEvent e = Point(x, y, false, 0, dX, dY);
    e.mods.shift = shift;
    gui->OnMouseDrag({e});
  }
};
