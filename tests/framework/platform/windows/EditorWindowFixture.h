#pragma once

#include "framework/platform/windows/IGuiWin.h"
#include "framework/platform/windows/WinMachine.h"
#include "tests/framework/graphics/FakeDelegate.h"
#include "tests/support/MessagePump.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

// A control that counts how often it is drawn; it may ask to be drawn again every frame.
class CountingControl : public pfw::gui::IControl
{
public:
  explicit CountingControl(const pfw::gui::IRectF& bounds, int paramIdx = -1)
    : pfw::gui::IControl(bounds, paramIdx)
  {
  }
  void Draw(pfw::gui::IGui& g) override;
  bool IsDirty() override { return animate || pfw::gui::IControl::IsDirty(); }
  void OnMouseWheel(float, float, const pfw::gui::IPointerMods&, float delta) override { wheel.push_back(delta); }
  void OnDrop(const char* path) override { drops.push_back(path); }
  void OnDropMultiple(const std::vector<const char*>& paths) override { drops.assign(paths.begin(), paths.end()); }

  int draws = 0;
  pfw::gui::IArgbColour colour{255, 40, 160, 90};
  float cornerRadius = 0.f;
  bool animate = false;
  std::function<void()> onDraw;
  std::vector<float> wheel;
  std::vector<std::string> drops;
};

// A top-level window that hosts editors and records the keys that reach it; it may hand
// each key back to the window that has the focus, as some hosts do.
class HostWindow
{
public:
  explicit HostWindow(bool visible = false);
  ~HostWindow();
  // Back to 400 x 300 at (200, 150) with nothing recorded.
  void Reset();
  HWND Handle() const { return mHandle; }
  bool HasChildren() const { return FindWindowExW(mHandle, nullptr, nullptr, nullptr) != nullptr; }

  std::vector<WPARAM> keys;
  bool echoKeys = false;

private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  HWND mHandle = nullptr;
};

// Visible hosts that live as long as the test program (Wine takes seconds to close a
// visible window), reset for each use.
HostWindow& SharedHost(int index = 0);

// Puts the real machine back after a test that faked parts of it.
struct MachineOverride
{
  const pfw::gui::WinMachine saved = pfw::gui::Machine();
  ~MachineOverride() { pfw::gui::Machine() = saved; }
};

// One editor of 300 x 200 units at 30 frames per second in a host window.
class EditorWindowTest : public ::testing::Test
{
protected:
  // The window timer drives frames unless a test asks for the vertical-blank thread.
  EditorWindowTest() { pfw::gui::Machine().isWindows8OrLater = [] { return false; }; }
  void TearDown() override { gui.reset(); }
  HWND Open();
  CountingControl* Add(const pfw::gui::IRectF& bounds, int paramIdx = -1);
  // A display tick as the window's clock would give it.
  void Tick() { gui->OnDisplayTick(0); }

  MachineOverride machine;
  FakeDelegate delegate;
  HostWindow& host = SharedHost();
  std::unique_ptr<pfw::gui::IGuiWin> gui;
  HWND editor = nullptr;
};
