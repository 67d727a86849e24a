#pragma once

// Turns SVG text into the drawable model of SvgImage.h.
//
// Read: path (every command), rect (with rounded corners), circle, ellipse, line,
// polyline, polygon; g, a, switch and nested svg as groups; use of any element or symbol;
// linear and radial gradients (stops, units, transforms, spread, href chains) found by id
// anywhere, defs included; presentation attributes, style attributes and simple <style>
// rules; transforms; the view box with preserveAspectRatio. Other elements (text, image,
// clip paths, masks, filters, ...) are skipped with their content.

#include "deps/svg/SvgImage.h"

#include <cstddef>
#include <memory>

namespace svg {

// units: the unit of the resulting coordinates ("px", "pt", "pc", "mm", "cm", "in"; any
// other text, or null, means "px"); dpi: pixels per inch of the physical units (96 when
// not a positive number). Null when the text is not well-formed XML, its root is not
// <svg>, or the image has no positive, finite size.
std::unique_ptr<Image> ParseImage(const char* text, size_t length, const char* units = "px", float dpi = 96.f);

} // namespace svg
