#pragma once

#include "deps/vst3/interfaces/VstTypes.h"
#include "framework/graphics/IInputEvents.h"

namespace pfw {

// The Windows virtual-key code of a VST3 key code; for codes that stand for a typed
// character (0 and "equals") the key of that character in the thread's keyboard layout.
// 0 when there is none.
int VST3KeyCodeToVirtualKey(Steinberg::int16 keyCode, char character);

// A key the host hands the view, as the editor's key event: the character (or the one the
// key code stands for), as text when it is ASCII, the virtual key and the modifiers.
gui::IKeyEvent VST3KeyToKeyEvent(Steinberg::char16 character, Steinberg::int16 keyCode, Steinberg::int16 modifiers);

} // namespace pfw
