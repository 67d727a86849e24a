#include "IGui.h"

#include "GraphicsCaches.h"
#include "ResourceFiles.h"

#include "deps/svg/SvgParser.h"

#include <cmath>
#include <cstring>

namespace pfw::gui {

namespace {
// The text after the last '.', or "" when there is none.
const char* ExtensionOf(const char* name)
{
  const char* dot = std::strrchr(name, '.');
  return dot ? dot + 1 : "";
}
} // namespace

int IGui::LocateResource(const char* name, const char* type, GrowString& location)
{
  return LocateResourceDefault(name, type, location, GetWinModuleHandle());
}

bool IGui::LoadModuleResource(const char* name, const char* type, ByteBuffer& data)
{
  return LoadModuleResourceBytes(name, type, data, GetWinModuleHandle());
}

bool IGui::LoadResource(const char* name, const char* type, ByteBuffer& data)
{
  data.Resize(0, true);
  GrowString location;
  switch (LocateResource(name, type, location))
  {
  case kFileOnDisk: return ReadFileBytes(location.Get(), data);
  case kModuleResource: return LoadModuleResource(location.Get(), type, data);
  default: return false;
  }
}

std::vector<int> IGui::ScaleSearchOrder(int targetScale)
{
  std::vector<int> order;
  if (targetScale <= 0)
    return order;
  order.push_back(targetScale);
  if (targetScale != 3)
    order.push_back(3);
  for (int s = order.back() - 1; s >= 1; --s)
    if (s != targetScale)
      order.push_back(s);
  return order;
}

int IGui::SearchNextScale(const char* name, const char* extension, GrowString& location, int targetScale,
                          int& foundScale)
{
  const char* dot = std::strrchr(name, '.');
  const int stemLength = dot ? static_cast<int>(dot - name) : static_cast<int>(std::strlen(name));
  for (int scale : ScaleSearchOrder(targetScale))
  {
    GrowString candidate;
    if (scale == 1)
      candidate.Set(name);
    else
      candidate.SetFormatted(0, "%.*s@%dx%s", stemLength, name, scale, dot ? dot : "");
    const int kind = LocateResource(candidate.Get(), extension, location);
    if (kind != kNotFound)
    {
      foundScale = scale;
      return kind;
    }
  }
  return kNotFound;
}

APIBitmap* IGui::FindBitmapAtNearestScale(const char* name, int targetScale, int& foundScale)
{
  ScopedCriticalSection lock(BitmapCache().Lock());
  for (int scale : ScaleSearchOrder(targetScale))
  {
    if (APIBitmap* bitmap = BitmapCache().Find(name, scale))
    {
      foundScale = scale;
      return bitmap;
    }
  }
  return nullptr;
}

void IGui::RetainBitmap(const IBitmapRef& bitmap, const char* name)
{
  if (!bitmap.bitmap)
    return;
  ScopedCriticalSection lock(BitmapCache().Lock());
  BitmapCache().Add(bitmap.bitmap, name, bitmap.bitmap->GetScale());
}

void IGui::ReleaseBitmap(const IBitmapRef& bitmap)
{
  ScopedCriticalSection lock(BitmapCache().Lock());
  BitmapCache().Remove(bitmap.bitmap);
}

IBitmapRef IGui::LoadBitmap(const char* name, int frames, bool horizontal, int targetScale)
{
  if (!name)
    return IBitmapRef();
  if (targetScale == 0)
    targetScale = static_cast<int>(std::ceil(mScreenScale));
  ScopedCriticalSection lock(BitmapCache().Lock());
  if (APIBitmap* cached = BitmapCache().Find(name, targetScale))
    return IBitmapRef(cached, name, frames, horizontal);

  const char* extension = ExtensionOf(name);
  if (!BitmapExtSupported(extension))
    return IBitmapRef();

  GrowString location;
  int foundScale = 0;
  const int kind = SearchNextScale(name, extension, location, targetScale, foundScale);
  APIBitmap* source = nullptr;
  std::unique_ptr<APIBitmap> decoded;
  if (kind == kNotFound)
  {
    // Only a copy cached at another scale is left; it is scaled like a found file.
    source = FindBitmapAtNearestScale(name, targetScale, foundScale);
    if (!source)
      return IBitmapRef();
  }
  else
  {
    source = foundScale != targetScale ? BitmapCache().Find(name, foundScale) : nullptr;
    if (!source)
    {
      decoded = LoadAPIBitmap(location.Get(), foundScale, kind, extension);
      source = decoded.get();
    }
  }
  if (!source)
    return IBitmapRef();

  if (source->GetScale() != static_cast<float>(targetScale))
    return ScaleBitmap(IBitmapRef(source, name, frames, horizontal), name, targetScale);

  const IBitmapRef result(decoded.release(), name, frames, horizontal);
  RetainBitmap(result, name);
  return result;
}

IBitmapRef IGui::LoadBitmapFromData(const char* name, const void* data, int size, int frames, bool horizontal,
                                    int targetScale)
{
  if (!name || !data || size <= 0)
    return IBitmapRef();
  if (targetScale == 0)
    targetScale = static_cast<int>(std::ceil(mScreenScale));
  ScopedCriticalSection lock(BitmapCache().Lock());
  if (APIBitmap* cached = BitmapCache().Find(name, targetScale))
    return IBitmapRef(cached, name, frames, horizontal);
  int foundScale = 0;
  if (APIBitmap* nearest = FindBitmapAtNearestScale(name, targetScale, foundScale))
  {
    if (nearest->GetScale() == static_cast<float>(targetScale))
      return IBitmapRef(nearest, name, frames, horizontal);
    return ScaleBitmap(IBitmapRef(nearest, name, frames, horizontal), name, targetScale);
  }

  std::unique_ptr<APIBitmap> decoded = LoadAPIBitmapFromData(name, data, size, 1);
  if (!decoded)
    return IBitmapRef();
  if (decoded->GetScale() != static_cast<float>(targetScale))
    return ScaleBitmap(IBitmapRef(decoded.get(), name, frames, horizontal), name, targetScale);
  const IBitmapRef result(decoded.release(), name, frames, horizontal);
  RetainBitmap(result, name);
  return result;
}

ISvgRef IGui::LoadSVG(const char* name, const char* units, float dpi)
{
  if (!name)
    return ISvgRef();
  ScopedCriticalSection lock(SvgCache().Lock());
  if (SVGHolder* cached = SvgCache().Find(name, 1.0))
    return ISvgRef{cached->image.get()};
  ByteBuffer bytes(4096);
  if (!LoadResource(name, "svg", bytes))
    return ISvgRef();
  return LoadSVGFromData(name, bytes.Data(), bytes.Size(), units, dpi);
}

ISvgRef IGui::LoadSVGFromData(const char* name, const void* data, int size, const char* units, float dpi)
{
  if (!name)
    return ISvgRef();
  ScopedCriticalSection lock(SvgCache().Lock());
  if (SVGHolder* cached = SvgCache().Find(name, 1.0))
    return ISvgRef{cached->image.get()};
  if (!data || size <= 0)
    return ISvgRef();
  std::unique_ptr<svg::Image> image =
    svg::ParseImage(static_cast<const char*>(data), static_cast<size_t>(size), units, dpi);
  if (!image)
    return ISvgRef();
  SVGHolder* holder = new SVGHolder(std::move(image));
  const svg::Image* result = holder->image.get();
  SvgCache().Add(holder, name, 1.0);
  return ISvgRef{result};
}

bool IGui::LoadFont(const char* fontId, const char* fileNameOrResourceName)
{
  std::unique_ptr<PlatformFont> font = LoadPlatformFontFromFileOrResource(fontId, fileNameOrResourceName);
  if (!font || !LoadAPIFont(fontId, *font))
    return false;
  CachePlatformFont(fontId, *font);
  return true;
}

bool IGui::LoadFontFromData(const char* fontId, const void* data, int size)
{
  std::unique_ptr<PlatformFont> font = LoadPlatformFontFromMemory(fontId, data, size);
  if (!font || !LoadAPIFont(fontId, *font))
    return false;
  CachePlatformFont(fontId, *font);
  return true;
}

} // namespace pfw::gui
