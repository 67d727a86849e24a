#pragma once

#include "deps/vst3/interfaces/FUnknown.h"

namespace Steinberg {

// A view rectangle in physical pixels on Windows.
struct ViewRect
{
  int32 left;
  int32 top;
  int32 right;
  int32 bottom;
  int32 getWidth() const { return right - left; }
  int32 getHeight() const { return bottom - top; }
};
static_assert(sizeof(ViewRect) == 16 && alignof(ViewRect) == 4 && offsetof(ViewRect, bottom) == 12);

constexpr const char* kPlatformTypeHWND = "HWND";

class IPlugFrame;

class IPlugView : public FUnknown
{
public:
  virtual tresult VST3_CALL isPlatformTypeSupported(FIDString type) = 0;
  virtual tresult VST3_CALL attached(void* parent, FIDString type) = 0;
  virtual tresult VST3_CALL removed() = 0;
  virtual tresult VST3_CALL onWheel(float distance) = 0;
  virtual tresult VST3_CALL onKeyDown(char16 key, int16 keyCode, int16 modifiers) = 0;
  virtual tresult VST3_CALL onKeyUp(char16 key, int16 keyCode, int16 modifiers) = 0;
  virtual tresult VST3_CALL getSize(ViewRect* size) = 0;
  virtual tresult VST3_CALL onSize(ViewRect* newSize) = 0;
  virtual tresult VST3_CALL onFocus(TBool state) = 0;
  virtual tresult VST3_CALL setFrame(IPlugFrame* frame) = 0;
  virtual tresult VST3_CALL canResize() = 0;
  virtual tresult VST3_CALL checkSizeConstraint(ViewRect* rect) = 0;
  VST3_INTERFACE_ID(0x5BC32507, 0xD06049EA, 0xA6151B52, 0x2B755B29);
};

class IPlugFrame : public FUnknown
{
public:
  virtual tresult VST3_CALL resizeView(IPlugView* view, ViewRect* newSize) = 0;
  VST3_INTERFACE_ID(0x367FAF01, 0xAFA94693, 0x8D4DA2A0, 0xED0882A3);
};

class IPlugViewContentScaleSupport : public FUnknown
{
public:
  using ScaleFactor = float;
  virtual tresult VST3_CALL setContentScaleFactor(ScaleFactor factor) = 0;
  VST3_INTERFACE_ID(0x65ED9690, 0x8AC44525, 0x8AADEF7A, 0x72EA703F);
};

// A helper record; the view methods take its three parts as separate arguments.
struct KeyCode
{
  char16 character;
  uint8 virt;
  uint8 modifier;
};
static_assert(sizeof(KeyCode) == 4 && alignof(KeyCode) == 2 && offsetof(KeyCode, virt) == 2);

enum KeyModifier : int16
{
  kShiftKey = 1 << 0,
  kAlternateKey = 1 << 1,
  kCommandKey = 1 << 2, // Ctrl on Windows
  kControlKey = 1 << 3, // the Windows key on Windows
};

// The keyCode argument of onKeyDown/onKeyUp. Codes from VKEY_FIRST_ASCII up stand for
// the digits and capital letters: code = 128 + (character - 0x30).
enum VirtualKeyCodes : int16
{
  KEY_BACK = 1,
  KEY_TAB,
  KEY_CLEAR,
  KEY_RETURN,
  KEY_PAUSE,
  KEY_ESCAPE,
  KEY_SPACE,
  KEY_NEXT,
  KEY_END,
  KEY_HOME,
  KEY_LEFT,
  KEY_UP,
  KEY_RIGHT,
  KEY_DOWN,
  KEY_PAGEUP,
  KEY_PAGEDOWN,
  KEY_SELECT,
  KEY_PRINT,
  KEY_ENTER,
  KEY_SNAPSHOT,
  KEY_INSERT,
  KEY_DELETE,
  KEY_HELP,
  KEY_NUMPAD0,
  KEY_NUMPAD1,
  KEY_NUMPAD2,
  KEY_NUMPAD3,
  KEY_NUMPAD4,
  KEY_NUMPAD5,
  KEY_NUMPAD6,
  KEY_NUMPAD7,
  KEY_NUMPAD8,
  KEY_NUMPAD9,
  KEY_MULTIPLY,
  KEY_ADD,
  KEY_SEPARATOR,
  KEY_SUBTRACT,
  KEY_DECIMAL,
  KEY_DIVIDE,
  KEY_F1,
  KEY_F2,
  KEY_F3,
  KEY_F4,
  KEY_F5,
  KEY_F6,
  KEY_F7,
  KEY_F8,
  KEY_F9,
  KEY_F10,
  KEY_F11,
  KEY_F12,
  KEY_NUMLOCK,
  KEY_SCROLL,
  KEY_SHIFT,
  KEY_CONTROL,
  KEY_ALT,
  KEY_EQUALS,
  KEY_CONTEXTMENU,
  KEY_MEDIA_PLAY,
  KEY_MEDIA_STOP,
  KEY_MEDIA_PREV,
  KEY_MEDIA_NEXT,
  KEY_VOLUME_UP,
  KEY_VOLUME_DOWN,
  KEY_F13,
  KEY_F14,
  KEY_F15,
  KEY_F16,
  KEY_F17,
  KEY_F18,
  KEY_F19,
  KEY_F20,
  KEY_F21,
  KEY_F22,
  KEY_F23,
  KEY_F24,
  KEY_SUPER,
  VKEY_FIRST_CODE = KEY_BACK,
  VKEY_LAST_CODE = KEY_SUPER,
  VKEY_FIRST_ASCII = 128,
};
static_assert(KEY_SPACE == 7 && KEY_DIVIDE == 39 && KEY_F12 == 51 && KEY_CONTEXTMENU == 58 && KEY_SUPER == 77);

} // namespace Steinberg
