#pragma once

#include <string>

namespace editor {

// Values shown and typed in the physical units of each parameter's unit label (dB, %,
// ms, Hz, cm, deg, Q, s). Both ignore the process's locale: a host that switched to a
// decimal comma changes neither what is shown nor what is understood.

// The text of a knob's value box for a physical value of the parameter, cut to
// `capacity` bytes with its terminator.
void FormatPhysicalValue(int paramIdx, double value, char* out, int capacity);

// Reads a typed value: a number, then optionally a unit the parameter understands
// (e.g. "1.2k", "500 ms", "0.5m"), scaled to the parameter's unit. False when the text is
// no such value or lies outside the parameter's range: typed values are refused, never
// clamped. On true, `value` lies within the range.
bool ParsePhysicalValue(int paramIdx, const char* text, double& value);

// A value as "%.8g" writes it: the start of a typed-value entry.
std::string FormatEntryValue(double value);

} // namespace editor
