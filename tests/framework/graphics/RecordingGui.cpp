#include "RecordingGui.h"

#include "framework/graphics/TextConversion.h"

#include <cmath>
#include <cstdio>
#include <cstring>

using namespace pfw::gui;

int FakeBitmap::sNextId = 0;
int FakeBitmap::sLiving = 0;

namespace {
std::string Format(const char* format, ...)
#if defined(__GNUC__)
  __attribute__((format(printf, 1, 2)))
#endif
  ;
std::string Format(const char* format, ...)
{
  char text[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof(text), format, args);
  va_end(args);
  return text;
}
} // namespace

bool RecordingGui::Logged(const std::string& prefix) const
{
  return CountPrefix(prefix) > 0;
}

int RecordingGui::CountPrefix(const std::string& prefix) const
{
  int count = 0;
  for (const std::string& entry : log)
    if (entry.compare(0, prefix.size(), prefix) == 0)
      ++count;
  return count;
}

void RecordingGui::Record(PathCommand::Kind kind, std::initializer_list<double> points)
{
  PathCommand command{kind};
  int i = 0;
  for (double v : points)
    command.pts[i++] = v;
  for (int p = 0; p + 1 < i; p += 2)
    mMatrix.TransformPoint(command.pts[p], command.pts[p + 1]);
  mPath.push_back(command);
}

void RecordingGui::PathClear()
{
  log.push_back("clear");
  mPath.clear();
}

void RecordingGui::PathClose()
{
  log.push_back("close");
  Record(PathCommand::kClose, {});
}

void RecordingGui::PathArc(float cx, float cy, float r, float a1, float a2, int winding)
{
  log.push_back(Format("arc %g %g %g %g %g", cx, cy, r, a1, a2));
  const int steps = std::max(1, static_cast<int>(std::ceil(std::fabs(a2 - a1))));
  for (int i = 0; i <= steps; ++i)
  {
    const double a = (a1 + (a2 - a1) * i / steps) / 180.0 * 3.14159265358979;
    const double x = cx + r * std::sin(a);
    const double y = cy - r * std::cos(a);
    const bool first = i == 0 && (mPath.empty() || mPath.back().kind == PathCommand::kClose);
    Record(first ? PathCommand::kMove : PathCommand::kLine, {x, y});
    if (i == steps)
    {
      mLastX = static_cast<float>(x);
      mLastY = static_cast<float>(y);
    }
  }
  (void)winding;
}

void RecordingGui::PathMoveTo(float x, float y)
{
  log.push_back(Format("move %g %g", x, y));
  Record(PathCommand::kMove, {x, y});
  mLastX = x;
  mLastY = y;
}

void RecordingGui::PathLineTo(float x, float y)
{
  log.push_back(Format("line %g %g", x, y));
  Record(PathCommand::kLine, {x, y});
  mLastX = x;
  mLastY = y;
}

void RecordingGui::PathSetWinding(bool clockwise)
{
  log.push_back(clockwise ? "winding hole" : "winding solid");
  PathCommand command{PathCommand::kWinding};
  command.hole = clockwise;
  mPath.push_back(command);
}

void RecordingGui::PathCubicTo(float c1x, float c1y, float c2x, float c2y, float x, float y)
{
  log.push_back(Format("cubic %g %g %g %g %g %g", c1x, c1y, c2x, c2y, x, y));
  Record(PathCommand::kCubic, {c1x, c1y, c2x, c2y, x, y});
  mLastX = x;
  mLastY = y;
}

void RecordingGui::PathQuadTo(float cx, float cy, float x, float y)
{
  PathCubicTo(mLastX + 2.f / 3.f * (cx - mLastX), mLastY + 2.f / 3.f * (cy - mLastY), x + 2.f / 3.f * (cx - x),
              y + 2.f / 3.f * (cy - y), x, y);
}

void RecordingGui::PathStroke(const IColourSource& source, float thickness, const IStrokeStyle& style,
                              const IBlendMode* blend)
{
  log.push_back(Format("stroke %g %d,%d,%d,%d w%g dashes%d", thickness, source.stops[0].colour.A,
                       source.stops[0].colour.R, source.stops[0].colour.G, source.stops[0].colour.B,
                       blend ? blend->weight : 1.f, style.nDashes));
  PaintCall call;
  call.fill = false;
  call.path = mPath;
  call.source = source;
  call.thickness = thickness;
  call.clip = mClip;
  call.blendWeight = blend ? blend->weight : 1.f;
  call.dashes = style.nDashes;
  call.matrix = mMatrix;
  paints.push_back(call);
  if (!style.keepPath)
    mPath.clear();
}

void RecordingGui::PathFill(const IColourSource& source, const IFillRule& rule, const IBlendMode* blend)
{
  log.push_back(Format("fill rule%d keep%d %d,%d,%d,%d w%g", rule.rule, rule.keepPath ? 1 : 0,
                       source.stops[0].colour.A, source.stops[0].colour.R, source.stops[0].colour.G,
                       source.stops[0].colour.B, blend ? blend->weight : 1.f));
  PaintCall call;
  call.fill = true;
  call.path = mPath;
  call.source = source;
  call.rule = rule.rule;
  call.matrix = mMatrix;
  call.clip = mClip;
  call.blendWeight = blend ? blend->weight : 1.f;
  paints.push_back(call);
  if (!rule.keepPath)
    mPath.clear();
}

void RecordingGui::PathTransformSetMatrix(const ITransform2D& t)
{
  log.push_back(Format("matrix %g %g %g %g %g %g", t.xx, t.yx, t.xy, t.yy, t.tx, t.ty));
  mMatrix = t;
}

void RecordingGui::SetClipRegion(const IRectF& clip)
{
  log.push_back(Format("clip %g %g %g %g", clip.L, clip.T, clip.R, clip.B));
  mClip = clip;
}

void RecordingGui::DrawBitmap(const IBitmapRef& bitmap, const IRectF& dest, int srcX, int srcY,
                              const IBlendMode* blend)
{
  log.push_back(Format("bitmap %s %g %g %g %g %d %d w%g", bitmap.name.Get(), dest.L, dest.T, dest.R, dest.B, srcX,
                       srcY, blend ? blend->weight : 1.f));
}

bool RecordingGui::BitmapExtSupported(const char* extension)
{
  return std::strcmp(extension, "png") == 0 || std::strcmp(extension, "jpg") == 0;
}

void RecordingGui::GetLayerBitmapData(ILayer& layer, pfw::ByteBuffer& data)
{
  FakeBitmap* bitmap = dynamic_cast<FakeBitmap*>(layer.bitmap.get());
  if (!bitmap)
    return;
  data.Resize(static_cast<int>(bitmap->pixels.size()), true);
  if (data.Size() == static_cast<int>(bitmap->pixels.size()))
    std::memcpy(data.Data(), bitmap->pixels.data(), bitmap->pixels.size());
}

void RecordingGui::ApplyShadowMask(ILayer&, pfw::ByteBuffer& mask, const IShadow&)
{
  const unsigned char* bytes = static_cast<const unsigned char*>(mask.Data());
  lastMask.assign(bytes, bytes + mask.Size());
  log.push_back("shadowmask");
}

std::unique_ptr<APIBitmap> RecordingGui::LoadAPIBitmapFromData(const char* name, const void* data, int size,
                                                               int scale)
{
  ++decodes;
  int w = 0, h = 0;
  std::string text(static_cast<const char*>(data), static_cast<size_t>(size));
  if (std::sscanf(text.c_str(), "img %d %d", &w, &h) != 2)
    return nullptr;
  log.push_back(Format("decode %s", name));
  return std::make_unique<FakeBitmap>(w, h, static_cast<float>(scale), 1.f);
}

std::unique_ptr<APIBitmap> RecordingGui::LoadAPIBitmap(const char* location, int scale, int locationKind,
                                                       const char*)
{
  ++decodes;
  log.push_back(Format("decode %s kind%d", location, locationKind));
  int w = 0, h = 0;
  const auto found = files.find(location);
  if (found == files.end() || std::sscanf(found->second.c_str(), "img %d %d", &w, &h) != 2)
    return nullptr;
  return std::make_unique<FakeBitmap>(w, h, static_cast<float>(scale), 1.f);
}

std::unique_ptr<APIBitmap> RecordingGui::CreateAPIBitmap(int width, int height, float scale, float drawScale, bool)
{
  log.push_back(Format("createbitmap %d %d", width, height));
  return std::make_unique<FakeBitmap>(width, height, scale, drawScale);
}

bool RecordingGui::LoadAPIFont(const char* fontId, const PlatformFont&)
{
  if (rejectFonts)
    return false;
  registeredFonts.push_back(fontId);
  return true;
}

float RecordingGui::DoMeasureText(const ITextStyle& style, const char* text, IRectF& bounds) const
{
  const std::u16string wide = Utf8ToUtf16(text);
  float width = static_cast<float>(wide.size()) * style.size * 0.5f;
  for (size_t i = 1; i < wide.size(); ++i)
    if (wide[i - 1] == u'A' && wide[i] == u'V')
      width -= 1.f;
  bounds = IRectF(bounds.L, bounds.T, bounds.L + width, bounds.T + style.size);
  return width;
}

void RecordingGui::DoDrawText(const ITextStyle&, const char* text, const IRectF& bounds, const IBlendMode*)
{
  log.push_back(Format("text %s %g %g %g %g", text, bounds.L, bounds.T, bounds.R, bounds.B));
}

void RecordingGui::HideMouseCursor(bool hide, bool lock)
{
  if (hide == mCursorHidden)
    return;
  mCursorHidden = hide;
  log.push_back(Format("cursor %s lock%d", hide ? "hide" : "show", lock ? 1 : 0));
}

bool RecordingGui::GetTextFromClipboard(pfw::GrowString& text)
{
  text.Set(hasClipboard ? clipboard.c_str() : "");
  return hasClipboard;
}

bool RecordingGui::SetTextInClipboard(const char* text)
{
  clipboard = text;
  hasClipboard = true;
  return true;
}

std::unique_ptr<PlatformFont> RecordingGui::LoadPlatformFontFromMemory(const char* fontId, const void* data, int size)
{
  if (!data || size <= 0)
    return nullptr;
  return std::make_unique<FakeFont>(fontId);
}

std::unique_ptr<PlatformFont> RecordingGui::LoadPlatformFontFromFileOrResource(const char* fontId, const char* name)
{
  if (files.find(name) == files.end())
    return nullptr;
  return std::make_unique<FakeFont>(fontId);
}

void RecordingGui::CreatePlatformTextEntry(int paramIdx, const ITextStyle&, const IRectF& bounds, int length,
                                           const char* text)
{
  platformTextEntries.push_back(
    Format("%d %g %g %g %g %d %s", paramIdx, bounds.L, bounds.T, bounds.R, bounds.B, length, text));
}

IPopupMenu* RecordingGui::CreatePlatformPopupMenu(IPopupMenu& menu, const IRectF&, bool& isAsync)
{
  std::string shown = menu.GetTitle();
  for (int i = 0; i < menu.NItems(); ++i)
  {
    shown += "|";
    shown += menu.GetItem(i)->GetText();
    if (menu.GetItem(i)->GetChecked())
      shown += "*";
  }
  popupsShown.push_back(shown);
  if (popupsAsync)
  {
    isAsync = true;
    return nullptr;
  }
  const int answer = popupAnswers.empty() ? -1 : popupAnswers.front();
  if (!popupAnswers.empty())
    popupAnswers.pop_front();
  if (answer < 0 || answer >= menu.NItems())
    return nullptr;
  menu.SetChosenItemIdx(answer);
  menu.ExecCompletion();
  return &menu;
}

int RecordingGui::LocateResource(const char* name, const char* type, pfw::GrowString& location)
{
  located.push_back(name);
  if (useRealResources)
    return IGui::LocateResource(name, type, location);
  if (files.find(name) == files.end())
    return kNotFound;
  location.Set(name);
  return kFileOnDisk;
}

bool RecordingGui::LoadModuleResource(const char* name, const char* type, pfw::ByteBuffer& data)
{
  if (useRealResources)
    return IGui::LoadModuleResource(name, type, data);
  return false;
}
