#pragma once

namespace pfw::gui {

// Blurs a w x h rectangle of 8-bit coverage (rows stride bytes apart) in place by an
// approximately Gaussian blur of the given radius: two passes along each axis of a
// fixed-point one-pole filter, forwards and backwards. The border pixels end up 0.
void BlurGlyph(unsigned char* pixels, int w, int h, int stride, int blur);

} // namespace pfw::gui
