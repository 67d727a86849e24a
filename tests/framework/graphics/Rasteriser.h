#pragma once

#include "RecordingGui.h"

#include <vector>

// A tiny reference rasteriser for recorded fills: one sample at each pixel centre,
// solid sub-paths and holes oriented as the renderer does, non-zero filling, linear
// gradients evaluated in the paint's own space, source-over compositing. Strokes are
// not drawn.
class Rasteriser
{
public:
  struct Pixel
  {
    float r = 0, g = 0, b = 0, a = 0; // straight colour, 0..1
  };

  Rasteriser(int width, int height)
    : mWidth(width), mHeight(height), mPixels(static_cast<size_t>(width) * static_cast<size_t>(height))
  {
  }

  void Render(const std::vector<PaintCall>& calls);
  const Pixel& At(int x, int y) const { return mPixels[static_cast<size_t>(y * mWidth + x)]; }
  int Alpha255(int x, int y) const { return static_cast<int>(At(x, y).a * 255.f + 0.5f); }

private:
  void Fill(const PaintCall& call);

  int mWidth;
  int mHeight;
  std::vector<Pixel> mPixels;
};
