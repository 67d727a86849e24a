#include "wrappers/vst3/VST3KeyEvent.h"

#include "deps/vst3/interfaces/IPlugView.h"

#include <windows.h>

namespace pfw {

using namespace Steinberg;

namespace {

// Key codes that run in order onto virtual keys that run in order.
struct KeyRun
{
  int16 firstCode;
  int16 lastCode;
  int firstVirtualKey;
};

constexpr KeyRun kKeyRuns[] = {
  {KEY_BACK, KEY_BACK, VK_BACK},           {KEY_TAB, KEY_TAB, VK_TAB},
  {KEY_CLEAR, KEY_CLEAR, VK_CLEAR},        {KEY_RETURN, KEY_RETURN, VK_RETURN},
  {KEY_PAUSE, KEY_PAUSE, VK_PAUSE},        {KEY_ESCAPE, KEY_ESCAPE, VK_ESCAPE},
  {KEY_SPACE, KEY_SPACE, VK_SPACE},        {KEY_NEXT, KEY_NEXT, VK_NEXT},
  {KEY_END, KEY_END, VK_END},              {KEY_HOME, KEY_HOME, VK_HOME},
  {KEY_LEFT, KEY_DOWN, VK_LEFT},           {KEY_PAGEUP, KEY_PAGEUP, VK_PRIOR},
  {KEY_PAGEDOWN, KEY_PAGEDOWN, VK_NEXT},   {KEY_SELECT, KEY_SELECT, VK_SELECT},
  {KEY_PRINT, KEY_PRINT, VK_PRINT},        {KEY_ENTER, KEY_ENTER, VK_RETURN},
  {KEY_SNAPSHOT, KEY_HELP, VK_SNAPSHOT},   {KEY_NUMPAD0, KEY_DIVIDE, VK_NUMPAD0},
  {KEY_F1, KEY_F12, VK_F1},                {KEY_NUMLOCK, KEY_NUMLOCK, VK_NUMLOCK},
  {KEY_SCROLL, KEY_SCROLL, VK_SCROLL},     {KEY_SHIFT, KEY_SHIFT, VK_SHIFT},
  {KEY_CONTROL, KEY_CONTROL, VK_CONTROL},  {KEY_ALT, KEY_ALT, VK_MENU},
};

} // namespace

int VST3KeyCodeToVirtualKey(int16 keyCode, char character)
{
  if (keyCode >= VKEY_FIRST_ASCII)
    return keyCode - 80;
  if (keyCode == 0 || keyCode == KEY_EQUALS)
  {
    if (character == 0)
      return 0;
    // The low byte is the key; the high byte holds the shift state, and -1 means the
    // layout has no key for the character.
    const SHORT scan = VkKeyScanExA(character, GetKeyboardLayout(0));
    return scan == -1 ? 0 : (scan & 0xFF);
  }
  for (const KeyRun& run : kKeyRuns)
    if (keyCode >= run.firstCode && keyCode <= run.lastCode)
      return run.firstVirtualKey + (keyCode - run.firstCode);
  return 0;
}

gui::IKeyEvent VST3KeyToKeyEvent(char16 character, int16 keyCode, int16 modifiers)
{
  if (character == 0)
  {
    if (keyCode >= VKEY_FIRST_ASCII)
      character = static_cast<char16>((keyCode & 0xFF) - 80);
    else if (keyCode == KEY_SPACE)
      character = u' ';
  }
  gui::IKeyEvent key;
  if (character > 0 && character < 0x80)
    key.utf8[0] = static_cast<char>(character);
  key.vk = VST3KeyCodeToVirtualKey(keyCode, key.utf8[0]);
  key.shift = (modifiers & kShiftKey) != 0;
  key.alt = (modifiers & kAlternateKey) != 0;
  key.control = (modifiers & kCommandKey) != 0;
  return key;
}

} // namespace pfw
