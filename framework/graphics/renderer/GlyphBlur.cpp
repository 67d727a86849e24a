#include "GlyphBlur.h"

#include <cmath>

namespace pfw::gui {

namespace {
// 16 bits of precision in alpha, 7 in the running value.
constexpr int kAlphaPrecision = 16;
constexpr int kValuePrecision = 7;

void BlurLine(unsigned char* line, int count, int step, int alpha)
{
  int z = 0;
  for (int i = 1; i < count; ++i)
  {
    unsigned char& p = line[i * step];
    z += (alpha * ((static_cast<int>(p) << kValuePrecision) - z)) >> kAlphaPrecision;
    p = static_cast<unsigned char>(z >> kValuePrecision);
  }
  line[(count - 1) * step] = 0;
  z = 0;
  for (int i = count - 2; i >= 0; --i)
  {
    unsigned char& p = line[i * step];
    z += (alpha * ((static_cast<int>(p) << kValuePrecision) - z)) >> kAlphaPrecision;
    p = static_cast<unsigned char>(z >> kValuePrecision);
  }
  line[0] = 0;
}

void BlurRows(unsigned char* pixels, int w, int h, int stride, int alpha)
{
  for (int y = 0; y < h; ++y)
    BlurLine(pixels + y * stride, w, 1, alpha);
}

void BlurCols(unsigned char* pixels, int w, int h, int stride, int alpha)
{
  for (int x = 0; x < w; ++x)
    BlurLine(pixels + x, h, stride, alpha);
}
} // namespace

void BlurGlyph(unsigned char* pixels, int w, int h, int stride, int blur)
{
  if (blur < 1 || w < 1 || h < 1)
    return;
  const float sigma = static_cast<float>(blur) * 0.57735f; // 1 / sqrt(3)
  const int alpha = static_cast<int>((1.f - std::exp(-2.3f / (sigma + 1.f))) * static_cast<float>(1 << kAlphaPrecision));
  BlurCols(pixels, w, h, stride, alpha);
  BlurRows(pixels, w, h, stride, alpha);
  BlurCols(pixels, w, h, stride, alpha);
  BlurRows(pixels, w, h, stride, alpha);
}

} // namespace pfw::gui
