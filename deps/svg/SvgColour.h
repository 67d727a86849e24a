#pragma once

// Colour values: "#rgb", "#rrggbb", "rgb(r, g, b)" with numbers or percentages,
// "rgba(r, g, b, a)" and the common colour keywords. "currentColor" and "none" are
// handled by the caller.

#include "deps/svg/SvgImage.h"

#include <string>

namespace svg {

// false (colour unchanged) when the text is not a colour.
bool ParseColour(const std::string& text, Colour& colour);

} // namespace svg
