#include "framework/platform/windows/WinFont.h"

#include "framework/platform/windows/Utf8.h"

#include <cwchar>
#include <string>

namespace pfw {

WinFont::WinFont(bool fromSystem, HFONT font, const char* styleName)
  : mFromSystem(fromSystem)
  , mFont(font)
  , mStyleName(styleName ? styleName : "")
{
}

WinFont::~WinFont()
{
  if (mFont)
    DeleteObject(mFont);
}

std::unique_ptr<gui::FontData> WinFont::GetFontData() const
{
  auto data = std::make_unique<gui::FontData>();
  HDC dc = CreateCompatibleDC(nullptr);
  if (!dc)
    return data;
  HGDIOBJ previous = SelectObject(dc, mFont);
  // A font inside a collection is read as the whole collection file, so that the face
  // index means what it says; a single font as its file.
  const DWORD collection = 0x66637474; // "ttcf" as GDI packs table tags
  DWORD table = collection;
  DWORD size = ::GetFontData(dc, table, 0, nullptr, 0);
  if (size == GDI_ERROR || size == 0)
  {
    table = 0;
    size = ::GetFontData(dc, table, 0, nullptr, 0);
  }
  if (size != GDI_ERROR && size > 0 && size < 0x7fffffff)
  {
    ByteBuffer& bytes = data->Bytes();
    bytes.Resize(static_cast<int>(size), true);
    if (bytes.Size() == static_cast<int>(size) && ::GetFontData(dc, table, 0, bytes.Data(), size) == size)
      data->SelectFace(mStyleName.Get());
  }
  SelectObject(dc, previous);
  DeleteDC(dc);
  return data;
}

namespace {
int CALLBACK NoteFamilyFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found)
{
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}
} // namespace

HFONT CreateFontByFaceName(const char* faceName, int weight, bool italic, bool underline, BYTE quality,
                           bool checkInstalled)
{
  const std::wstring wanted = Utf8ToWide(faceName);
  if (wanted.empty())
    return nullptr;
  LOGFONTW logFont = {};
  logFont.lfWeight = weight;
  logFont.lfItalic = italic;
  logFont.lfUnderline = underline;
  logFont.lfCharSet = DEFAULT_CHARSET;
  logFont.lfOutPrecision = OUT_TT_PRECIS;
  logFont.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  logFont.lfQuality = quality;
  wcsncpy(logFont.lfFaceName, wanted.c_str(), LF_FACESIZE - 1);

  HDC screen = GetDC(nullptr);
  if (!screen)
    return nullptr;
  HFONT font = nullptr;
  bool installed = !checkInstalled;
  if (checkInstalled)
    EnumFontFamiliesExW(screen, &logFont, NoteFamilyFound, reinterpret_cast<LPARAM>(&installed), 0);
  if (installed)
    font = CreateFontIndirectW(&logFont);
  if (font)
  {
    HGDIOBJ previous = SelectObject(screen, font);
    wchar_t face[64] = {};
    const int length = GetTextFaceW(screen, 64, face);
    SelectObject(screen, previous);
    if (length <= 0 || _wcsicmp(face, logFont.lfFaceName) != 0)
    {
      DeleteObject(font);
      font = nullptr;
    }
  }
  ReleaseDC(nullptr, screen);
  return font;
}

} // namespace pfw
