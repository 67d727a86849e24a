#include "wrappers/standalone/program/CapturedImage.h"

#include "framework/platform/windows/Utf8Shims.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

void CapturedImage::Resize(int w, int h)
{
  width = std::max(w, 0);
  height = std::max(h, 0);
  rgba.assign(static_cast<size_t>(width) * height * 4, 0);
}

bool CapturedImage::IsUniform(int left, int top, int right, int bottom) const
{
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, width);
  bottom = std::min(bottom, height);
  if (left >= right || top >= bottom)
    return true;
  const uint8_t* first = &rgba[(static_cast<size_t>(top) * width + left) * 4];
  for (int y = top; y < bottom; ++y)
    for (int x = left; x < right; ++x)
      if (std::memcmp(first, &rgba[(static_cast<size_t>(y) * width + x) * 4], 4) != 0)
        return false;
  return true;
}

void CapturedImage::Paste(const CapturedImage& other, int x, int y)
{
  const int left = std::max(x, 0), right = std::min(x + other.width, width);
  if (left >= right)
    return;
  for (int row = std::max(y, 0); row < std::min(y + other.height, height); ++row)
    std::memcpy(&rgba[(static_cast<size_t>(row) * width + left) * 4],
                &other.rgba[(static_cast<size_t>(row - y) * other.width + (left - x)) * 4],
                static_cast<size_t>(right - left) * 4);
}

bool CapturedImage::WritePng(const char* path) const
{
  if (!path || width <= 0 || height <= 0)
    return false;
  std::vector<uint8_t> png;
  const auto append = [](void* context, void* data, int size) {
    auto* bytes = static_cast<std::vector<uint8_t>*>(context);
    bytes->insert(bytes->end(), static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
  };
  if (!stbi_write_png_to_func(append, &png, width, height, 4, rgba.data(), width * 4) || png.empty())
    return false;
  FILE* file = pfw::fopenUTF8(path, "wb");
  if (!file)
    return false;
  const bool written = std::fwrite(png.data(), 1, png.size(), file) == png.size();
  return std::fclose(file) == 0 && written;
}
