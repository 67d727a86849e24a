#pragma once

#include <cstdint>
#include <vector>

// Pixels of a capture: 8-bit red, green, blue and alpha, rows top-down.
struct CapturedImage
{
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgba;

  void Resize(int w, int h);
  // True when every pixel of the rectangle (clipped to the image) has one colour; an
  // empty rectangle is uniform.
  bool IsUniform(int left, int top, int right, int bottom) const;
  bool IsUniform() const { return IsUniform(0, 0, width, height); }
  // Copies the other image in with its top-left corner at (x, y), clipped to this one.
  void Paste(const CapturedImage& other, int x, int y);
  // Encodes as a PNG and writes it to the path (UTF-8); false when it could not be written.
  bool WritePng(const char* path) const;
};
