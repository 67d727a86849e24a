#pragma once

namespace pfw::gui {

// A straight (not premultiplied) colour, each channel 0..1.
struct VectorColour
{
  float r = 0.f;
  float g = 0.f;
  float b = 0.f;
  float a = 0.f;
};

// How a fill, stroke or text run is coloured. Without an image it is a gradient over a
// rounded rectangle of half size extent and corner radius radius: inner colour inside,
// outer colour beyond feather; with an image it samples that image scaled to extent.
// transform maps paint space to frame space: x' = a x + c y + e, y' = b x + d y + f.
struct VectorPaint
{
  float transform[6] = {1.f, 0.f, 0.f, 1.f, 0.f, 0.f};
  float extent[2] = {0.f, 0.f};
  float radius = 0.f;
  float feather = 1.f;
  VectorColour innerColour;
  VectorColour outerColour;
  int image = 0;
};

} // namespace pfw::gui
