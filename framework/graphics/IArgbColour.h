#pragma once

namespace pfw::gui {

// A colour of four 0..255 channels.
struct IArgbColour
{
  int A = 255;
  int R = 0;
  int G = 0;
  int B = 0;

  IArgbColour() = default;
  IArgbColour(int a, int r, int g, int b)
    : A(a), R(r), G(g), B(b)
  {
  }
  bool operator==(const IArgbColour& o) const { return A == o.A && R == o.R && G == o.G && B == o.B; }
  bool operator!=(const IArgbColour& o) const { return !(*this == o); }
};

} // namespace pfw::gui
