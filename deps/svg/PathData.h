#pragma once

// The path element's "d" attribute: every command, absolute and relative, with implicit
// repeats, smooth curves and arcs.

#include <string>

namespace svg {

class PathBuilder;

// Adds the outline to the builder. Reading stops at the first error and keeps what came
// before it, as SVG renderers do; returns false when it stopped early.
bool ParsePathData(const std::string& data, PathBuilder& builder);

} // namespace svg
