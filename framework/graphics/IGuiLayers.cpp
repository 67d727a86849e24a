#include "IGui.h"

#include "GraphicsCaches.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace pfw::gui {

void IGui::StartLayer(IControl* control, const IRectF& r, bool cacheable)
{
  const float s = GetTotalScale();
  const IRectF aligned = r.PixelAligned(s);
  const int w = static_cast<int>(std::ceil(std::ceil(aligned.W()) * s));
  const int h = static_cast<int>(std::ceil(std::ceil(aligned.H()) * s));
  std::unique_ptr<APIBitmap> bitmap = CreateAPIBitmap(w, h, mScreenScale, mDrawScale, cacheable);
  PushLayer(new ILayer(std::move(bitmap), aligned, control, control ? control->GetRECT() : IRectF()));
}

void IGui::PushLayer(ILayer* layer)
{
  if (!layer)
    return;
  mLayers.push_back(layer);
  UpdateLayer();
  PathTransformReset(false);
  PathClipRegion();
  PathClear();
}

ILayer* IGui::PopLayer()
{
  if (mLayers.empty())
    return nullptr;
  ILayer* layer = mLayers.back();
  mLayers.pop_back();
  UpdateLayer();
  PathTransformReset(false);
  PathClipRegion();
  PathClear();
  return layer;
}

std::unique_ptr<ILayer> IGui::EndLayer()
{
  return std::unique_ptr<ILayer>(PopLayer());
}

IBitmapRef IGui::ScaleBitmap(const IBitmapRef& bitmap, const char* name, int targetScale)
{
  if (!bitmap.IsValid())
    return IBitmapRef();
  const float previousScreenScale = mScreenScale;
  const float previousDrawScale = mDrawScale;
  const float d = bitmap.bitmap->GetDrawScale();
  mScreenScale = static_cast<float>(targetScale);
  mDrawScale = d;
  // The copy keeps the size in user-interface units; only its pixels change.
  const IRectF bounds(0.f, 0.f, bitmap.width / d, bitmap.height / d);
  StartLayer(nullptr, bounds, true);
  DrawBitmap(bitmap, bounds, 0, 0, nullptr);
  std::unique_ptr<ILayer> layer = EndLayer();
  IBitmapRef scaled;
  if (layer && layer->bitmap)
  {
    APIBitmap* owned = layer->bitmap.release();
    scaled = IBitmapRef(owned, name, bitmap.frames, bitmap.framesHorizontal);
    RetainBitmap(scaled, name);
  }
  mScreenScale = previousScreenScale;
  mDrawScale = previousDrawScale;
  return scaled;
}

void IGui::BlurAlphaLine(const unsigned char* in, unsigned char* out, int stride, int length, const int* taps,
                         int nTaps, int totalWeight)
{
  for (int x = 0; x < length; ++x)
  {
    // Inside a run of equal values the blur changes nothing.
    const int first = x - (nTaps - 1);
    const int last = x + (nTaps - 1);
    if (first >= 0 && last < length)
    {
      bool flat = true;
      const unsigned char v = in[x * stride];
      for (int t = first; t <= last && flat; ++t)
        flat = in[t * stride] == v;
      if (flat)
      {
        out[x * stride] = v;
        continue;
      }
    }
    long sum = 0;
    for (int t = -(nTaps - 1); t <= nTaps - 1; ++t)
    {
      const int at = x + t;
      if (at >= 0 && at < length)
        sum += static_cast<long>(taps[t < 0 ? -t : t]) * in[at * stride];
    }
    out[x * stride] = static_cast<unsigned char>(std::min<long>(255, sum / totalWeight));
  }
}

void IGui::ApplyLayerDropShadow(ILayer& layer, const IShadow& shadow)
{
  if (!layer.bitmap)
    return;
  ByteBuffer pixels(4096);
  GetLayerBitmapData(layer, pixels);
  const int width = layer.bitmap->GetWidth();
  const int height = layer.bitmap->GetHeight();
  if (width <= 0 || height <= 0 || pixels.Size() < width * height * 4)
    return;

  const double d = std::max(1.0, layer.bitmap->GetDrawScale() * layer.bitmap->GetScale() * shadow.blurSize + 1.0);
  const int nTaps = static_cast<int>(std::ceil(d));
  std::vector<int> taps(static_cast<size_t>(nTaps));
  int total = 0;
  for (int i = 0; i < nTaps; ++i)
  {
    taps[static_cast<size_t>(i)] = static_cast<int>(std::lround(std::exp(-i * i * 4.5 / (d * d)) * 255.0));
    total += i == 0 ? taps[0] : 2 * taps[static_cast<size_t>(i)];
  }
  if (total <= 0)
    return;

  unsigned char* data = static_cast<unsigned char*>(pixels.Data());
  const int alpha = AlphaChannelIndex();
  int rowStride = width * 4;
  unsigned char* origin = data + alpha;
  if (IsLayerDataFlipped())
  {
    origin = data + static_cast<size_t>(height - 1) * width * 4 + alpha;
    rowStride = -rowStride;
  }
  std::vector<unsigned char> scratch(static_cast<size_t>(width) * height * 4, 0);
  unsigned char* scratchOrigin = scratch.data() + (origin - data);
  for (int y = 0; y < height; ++y)
    BlurAlphaLine(origin + static_cast<ptrdiff_t>(y) * rowStride, scratchOrigin + static_cast<ptrdiff_t>(y) * rowStride,
                  4, width, taps.data(), nTaps, total);
  for (int x = 0; x < width; ++x)
    BlurAlphaLine(scratchOrigin + x * 4, origin + x * 4, rowStride, height, taps.data(), nTaps, total);
  ApplyShadowMask(layer, pixels, shadow);
}

} // namespace pfw::gui
