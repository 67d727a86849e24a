// Draws the standalone program's icon in code and writes it as a Windows icon file with
// 32-bit images of 16, 32, 48, 128 and 256 pixels: a dark amplifier face with its control
// strip, three knobs, a power light and the speaker grille, in the editor's colours.
// Built and run on the build machine: tarnwick_icon_gen OUT.ico

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

struct Rgba
{
  double r, g, b, a;
};

// The editor's palette.
constexpr Rgba kInk{27, 35, 40, 255};
constexpr Rgba kSlate{54, 67, 73, 255};
constexpr Rgba kAmber{215, 165, 109, 255};
constexpr Rgba kText{240, 236, 226, 255};
constexpr Rgba kGreen{36, 157, 16, 255};
constexpr Rgba kClear{0, 0, 0, 0};

// Signed distance (in units of the icon's side) to a rounded rectangle.
double RoundedBox(double x, double y, double left, double top, double right, double bottom, double radius)
{
  const double cx = (left + right) / 2, cy = (top + bottom) / 2;
  const double hx = (right - left) / 2 - radius, hy = (bottom - top) / 2 - radius;
  const double dx = std::fabs(x - cx) - hx, dy = std::fabs(y - cy) - hy;
  const double outside = std::hypot(std::max(dx, 0.0), std::max(dy, 0.0));
  return outside + std::min(std::max(dx, dy), 0.0) - radius;
}

double Circle(double x, double y, double cx, double cy, double radius)
{
  return std::hypot(x - cx, y - cy) - radius;
}

Rgba Over(const Rgba& under, const Rgba& over, double coverage)
{
  const double a = over.a / 255.0 * coverage;
  const double outA = a + under.a / 255.0 * (1 - a);
  if (outA <= 0)
    return kClear;
  auto mix = [&](double u, double o) { return (o * a + u * (under.a / 255.0) * (1 - a)) / outA; };
  return {mix(under.r, over.r), mix(under.g, over.g), mix(under.b, over.b), outA * 255.0};
}

// The colour at a point of the unit square; small icons leave out the fine detail.
Rgba Shade(double x, double y, int size)
{
  Rgba colour = kClear;
  auto layer = [&](double distance, const Rgba& paint) {
    if (distance < 0)
      colour = Over(colour, paint, 1.0);
  };
  layer(RoundedBox(x, y, 0.03, 0.03, 0.97, 0.97, 0.16), kSlate);
  layer(RoundedBox(x, y, 0.07, 0.07, 0.93, 0.93, 0.13), kInk);
  // Control strip with three knobs and the power light.
  layer(RoundedBox(x, y, 0.13, 0.14, 0.87, 0.38, 0.05), kSlate);
  for (int knob = 0; knob < 3; ++knob)
  {
    const double cx = 0.25 + 0.17 * knob;
    layer(Circle(x, y, cx, 0.26, 0.065), kAmber);
    if (size >= 32)
    {
      // The pointer of each knob, turned a little further each time.
      const double angle = -2.2 + 1.4 * knob;
      const double px = cx + 0.045 * std::sin(angle), py = 0.26 - 0.045 * std::cos(angle);
      layer(Circle(x, y, px, py, 0.014), kInk);
    }
  }
  layer(Circle(x, y, 0.77, 0.26, 0.04), kGreen);
  // Speaker grille: cloth with horizontal slats.
  layer(RoundedBox(x, y, 0.13, 0.45, 0.87, 0.86, 0.05), kSlate);
  if (size >= 32)
  {
    const int slats = size >= 128 ? 7 : 4;
    for (int slat = 0; slat < slats; ++slat)
    {
      const double top = 0.49 + (0.33 / slats) * slat;
      layer(RoundedBox(x, y, 0.17, top, 0.83, top + 0.33 / slats * 0.45, 0.01), kInk);
    }
  }
  // The maker's plate on the grille.
  layer(RoundedBox(x, y, 0.40, 0.62, 0.60, 0.69, 0.02), kText);
  return colour;
}

// Rows top-down, 4 bytes per pixel (blue, green, red, alpha), 4 x 4 samples per pixel.
std::vector<uint8_t> Render(int size)
{
  std::vector<uint8_t> bgra(static_cast<size_t>(size) * size * 4);
  constexpr int kSamples = 4;
  for (int py = 0; py < size; ++py)
    for (int px = 0; px < size; ++px)
    {
      double r = 0, g = 0, b = 0, a = 0;
      for (int sy = 0; sy < kSamples; ++sy)
        for (int sx = 0; sx < kSamples; ++sx)
        {
          const Rgba c = Shade((px + (sx + 0.5) / kSamples) / size, (py + (sy + 0.5) / kSamples) / size, size);
          const double alpha = c.a / 255.0;
          r += c.r * alpha;
          g += c.g * alpha;
          b += c.b * alpha;
          a += alpha;
        }
      uint8_t* out = &bgra[(static_cast<size_t>(py) * size + px) * 4];
      // Straight (not premultiplied) colour, as icons store it.
      const double n = kSamples * kSamples;
      out[0] = static_cast<uint8_t>(a > 0 ? std::lround(b / a) : 0);
      out[1] = static_cast<uint8_t>(a > 0 ? std::lround(g / a) : 0);
      out[2] = static_cast<uint8_t>(a > 0 ? std::lround(r / a) : 0);
      out[3] = static_cast<uint8_t>(std::lround(a / n * 255.0));
    }
  return bgra;
}

void Put16(std::vector<uint8_t>& out, uint32_t value)
{
  out.push_back(static_cast<uint8_t>(value));
  out.push_back(static_cast<uint8_t>(value >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t value)
{
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

// One icon image: a bitmap header, the pixels bottom-up, and an all-clear AND mask (the
// alpha channel decides).
std::vector<uint8_t> IconImage(int size)
{
  const std::vector<uint8_t> bgra = Render(size);
  const uint32_t maskRow = ((size + 31) / 32) * 4;
  std::vector<uint8_t> image;
  Put32(image, 40);
  Put32(image, size);
  Put32(image, size * 2);
  Put16(image, 1);
  Put16(image, 32);
  Put32(image, 0);
  Put32(image, static_cast<uint32_t>(bgra.size() + maskRow * size));
  for (int i = 0; i < 4; ++i)
    Put32(image, 0);
  for (int row = size - 1; row >= 0; --row)
    image.insert(image.end(), bgra.begin() + static_cast<size_t>(row) * size * 4,
                 bgra.begin() + static_cast<size_t>(row + 1) * size * 4);
  image.resize(image.size() + maskRow * size, 0);
  return image;
}

} // namespace

int main(int argc, char** argv)
{
  if (argc != 2)
  {
    std::fprintf(stderr, "usage: tarnwick_icon_gen OUT.ico\n");
    return 2;
  }
  const int sizes[] = {16, 32, 48, 128, 256};
  const int count = sizeof(sizes) / sizeof(sizes[0]);
  std::vector<std::vector<uint8_t>> images;
  for (int size : sizes)
    images.push_back(IconImage(size));

  std::vector<uint8_t> file;
  Put16(file, 0);
  Put16(file, 1); // an icon
  Put16(file, count);
  uint32_t offset = 6 + 16 * count;
  for (int i = 0; i < count; ++i)
  {
    file.push_back(static_cast<uint8_t>(sizes[i] & 0xFF)); // 256 is written as 0
    file.push_back(static_cast<uint8_t>(sizes[i] & 0xFF));
    file.push_back(0);
    file.push_back(0);
    Put16(file, 1);
    Put16(file, 32);
    Put32(file, static_cast<uint32_t>(images[i].size()));
    Put32(file, offset);
    offset += static_cast<uint32_t>(images[i].size());
  }
  for (const std::vector<uint8_t>& image : images)
    file.insert(file.end(), image.begin(), image.end());

  FILE* out = std::fopen(argv[1], "wb");
  if (!out)
  {
    std::perror(argv[1]);
    return 1;
  }
  const bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
  if (std::fclose(out) != 0 || !written)
  {
    std::fprintf(stderr, "tarnwick_icon_gen: could not write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
