#pragma once

namespace pfw {

class IParam;

// Whether the native text box takes a typed character for a parameter: numbers only for
// numeric ones (a decimal point only for real ones), anything without a parameter.
// Control characters always pass, so that Backspace and the clipboard and undo shortcuts
// keep working.
bool TextEntryAcceptsChar(const IParam* param, wchar_t c);

} // namespace pfw
