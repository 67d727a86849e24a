#pragma once

#include <cstdint>

namespace pfw::gui {

// Virtual-key codes of the keys the framework itself interprets (Windows values).
enum IVirtualKey
{
  kVKBack = 0x08,
  kVKTab = 0x09,
  kVKReturn = 0x0D,
  kVKEscape = 0x1B,
  kVKSpace = 0x20,
  kVKPrior = 0x21,
  kVKNext = 0x22,
  kVKEnd = 0x23,
  kVKHome = 0x24,
  kVKLeft = 0x25,
  kVKUp = 0x26,
  kVKRight = 0x27,
  kVKDown = 0x28,
  kVKDelete = 0x2E,
};

// A key press: its virtual-key code and the typed character as UTF-8.
struct IKeyEvent
{
  int vk = 0;
  char utf8[5] = {};
  bool shift = false;
  bool control = false;
  bool alt = false;
};

struct IPointerMods
{
  bool left = false;
  bool right = false;
  bool shift = false;
  bool control = false;
  bool alt = false;
  int64_t touchId = 0; // the mouse is touch 0
  float touchRadius = 0.f;
};

struct IPointerEvent
{
  float x = 0.f;
  float y = 0.f;
  float dX = 0.f;
  float dY = 0.f;
  IPointerMods mods;
};

enum ICursorKind
{
  kCursorArrow = 0,
  kCursorIBeam,
  kCursorWait,
  kCursorCross,
  kCursorUpArrow,
  kCursorSizeNWSE,
  kCursorSizeNESW,
  kCursorSizeWE,
  kCursorSizeNS,
  kCursorSizeAll,
  kCursorNo,
  kCursorHand,
  kCursorAppStarting,
  kCursorHelp,
};

} // namespace pfw::gui
