// Fonts through Wine's real GDI: system families (Wine sees the machine's Roboto),
// Roboto installed from memory, from the test program's resources and from disk, the
// HFONT copies and the caches. A copy of Roboto renamed to a family no machine has
// shows that the installation really happens. (Wine keeps resolving a family it has
// drawn once, even after it was uninstalled, so the uninstallation shows only in the
// cache.)

#include "framework/platform/windows/PlatformFontCaches.h"
#include "framework/platform/windows/PlatformFontLoading.h"
#include "framework/platform/windows/WinFont.h"

#include "framework/graphics/ResourceFiles.h"

#include <gtest/gtest.h>

#include <string>

using namespace pfw;

namespace {
std::string RobotoPath()
{
  return std::string("Z:") + TARNWICK_ROBOTO_TTF;
}

std::string RobotoBytes()
{
  ByteBuffer bytes(4096);
  EXPECT_TRUE(gui::ReadFileBytes(RobotoPath().c_str(), bytes));
  return std::string(static_cast<const char*>(bytes.Data()), static_cast<size_t>(bytes.Size()));
}

// Roboto's bytes with its names turned into "Tarnwq", a family only these tests make.
std::string RenamedRoboto()
{
  std::string bytes = RobotoBytes();
  const std::string wide("\0R\0o\0b\0o\0t\0o", 12);
  for (size_t at = bytes.find(wide); at != std::string::npos; at = bytes.find(wide, at))
    bytes.replace(at, wide.size(), std::string("\0T\0a\0r\0n\0w\0q", 12));
  for (size_t at = bytes.find("Roboto"); at != std::string::npos; at = bytes.find("Roboto", at))
    bytes.replace(at, 6, "Tarnwq");
  return bytes;
}

std::string FaceOf(HFONT font)
{
  LOGFONTW logFont = {};
  GetObjectW(font, sizeof(logFont), &logFont);
  return std::string(logFont.lfFaceName, logFont.lfFaceName + wcslen(logFont.lfFaceName));
}

// Keeps the caches as an open editor window does, and lets them go at the end.
struct FontCachesHeld
{
  FontCachesHeld() { RetainPlatformFontCaches(); }
  ~FontCachesHeld() { ReleasePlatformFontCaches(); }
};
} // namespace

TEST(FontsTest, SystemFamiliesByNameAndStyle)
{
  const struct
  {
    const char* family;
    int style;
    bool found;
    const char* styleName;
  } cases[] = {{"Roboto", 0, true, "Regular"},
               {"Roboto", 1, true, "Bold"},
               {"Roboto", 2, true, "Italic"},
               {"roboto", 0, true, "Regular"},
               {"Tarnwick No Such Family", 0, false, ""},
               {"", 0, false, ""}};
  for (const auto& c : cases)
  {
    std::unique_ptr<gui::PlatformFont> font = LoadSystemFont(c.family, c.style);
    ASSERT_EQ(c.found, font != nullptr) << c.family;
    if (!font)
      continue;
    EXPECT_TRUE(static_cast<const WinFont&>(*font).IsFromSystem());
    const std::unique_ptr<gui::FontData> data = font->GetFontData();
    ASSERT_TRUE(data->IsComplete()) << c.family << " " << c.style;
    EXPECT_STREQ("Roboto", data->Descriptor().FamilyName());
    EXPECT_STREQ(c.styleName, data->Descriptor().StyleName());
  }
}

TEST(FontsTest, MemoryFontIsInstalledOnceAndReadBackWhole)
{
  FontCachesHeld caches;
  const std::string roboto = RenamedRoboto();
  ASSERT_EQ(nullptr, LoadSystemFont("Tarnwq", 0));
  const int before = InstalledFontCache().Size();
  std::unique_ptr<gui::PlatformFont> font = InstallFontFromMemory("memory-roboto", roboto.data(), static_cast<int>(roboto.size()));
  ASSERT_NE(nullptr, font);
  EXPECT_FALSE(static_cast<const WinFont&>(*font).IsFromSystem());
  EXPECT_EQ("Tarnwq", FaceOf(static_cast<HFONT>(font->GetDescriptor())));

  const std::unique_ptr<gui::FontData> data = font->GetFontData();
  ASSERT_TRUE(data->IsComplete());
  EXPECT_EQ(roboto, std::string(static_cast<const char*>(data->Data()), static_cast<size_t>(data->Size())));
  EXPECT_EQ(0, data->FaceIndex());
  EXPECT_STREQ("Tarnwq", data->Descriptor().FamilyName());
  EXPECT_STREQ("Regular", data->Descriptor().StyleName());
  EXPECT_EQ(2048, data->Descriptor().UnitsPerEm());

  // Loading the same font id again (a second editor) installs nothing more.
  EXPECT_NE(nullptr, InstallFontFromMemory("memory-roboto", roboto.data(), static_cast<int>(roboto.size())));
  EXPECT_EQ(before + 1, InstalledFontCache().Size());

  const std::string junk(4096, 'x');
  EXPECT_EQ(nullptr, InstallFontFromMemory("junk", junk.data(), static_cast<int>(junk.size())));
  EXPECT_EQ(nullptr, InstallFontFromMemory("half", roboto.data(), static_cast<int>(roboto.size() / 2)));
  EXPECT_EQ(before + 1, InstalledFontCache().Size());
}

TEST(FontsTest, FontsFromTheModuleAndFromDisk)
{
  FontCachesHeld caches;
  const std::string roboto = RobotoBytes();
  HMODULE module = GetModuleHandleW(nullptr);
  const struct
  {
    const char* id;
    std::string name;
    bool found;
  } cases[] = {{"resource", "Roboto-Regular.ttf", true},
               {"disk", RobotoPath(), true},
               {"tiny", "tiny.ttf", false},
               {"missing", "missing-font.ttf", false}};
  for (const auto& c : cases)
  {
    std::unique_ptr<gui::PlatformFont> font = InstallFontFromFileOrResource(c.id, c.name.c_str(), module);
    ASSERT_EQ(c.found, font != nullptr) << c.name;
    if (font)
    {
      const std::unique_ptr<gui::FontData> data = font->GetFontData();
      EXPECT_EQ(static_cast<int>(roboto.size()), data->Size()) << c.name;
      EXPECT_TRUE(data->IsComplete()) << c.name;
    }
  }
}

TEST(FontsTest, CachedHandleMakesTheTextBoxFont)
{
  FontCachesHeld caches;
  std::unique_ptr<gui::PlatformFont> roboto = LoadSystemFont("Roboto", 0);
  ASSERT_NE(nullptr, roboto);
  CacheFontHandle("text-box", *roboto);
  CacheFontHandle("text-box", *roboto);
  const CachedFontHandle* cached = FontHandleCache().Find("text-box", 1.0);
  ASSERT_NE(nullptr, cached);
  EXPECT_NE(roboto->GetDescriptor(), cached->Get()) << "an own copy outlives the loaded font";
  roboto.reset();

  HFONT sized = CreateCachedFontAtHeight("text-box", 21);
  LOGFONTW logFont = {};
  ASSERT_EQ(static_cast<int>(sizeof(logFont)), GetObjectW(sized, sizeof(logFont), &logFont));
  EXPECT_EQ(21, logFont.lfHeight);
  EXPECT_EQ("Roboto", FaceOf(sized));
  DeleteObject(sized);

  HFONT fallback = CreateCachedFontAtHeight("never-loaded", 18);
  ASSERT_NE(nullptr, fallback);
  EXPECT_EQ(FaceOf(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT))), FaceOf(fallback));
  DeleteObject(fallback);
}

TEST(FontsTest, TheLastEditorEmptiesTheHandleCacheAndTheFontsStayInstalled)
{
  const std::string roboto = RenamedRoboto();
  RetainPlatformFontCaches();
  RetainPlatformFontCaches();
  std::unique_ptr<gui::PlatformFont> font = InstallFontFromMemory("held", roboto.data(), static_cast<int>(roboto.size()));
  ASSERT_NE(nullptr, font);
  CacheFontHandle("held", *font);
  ReleasePlatformFontCaches();
  EXPECT_NE(nullptr, FontHandleCache().Find("held", 1.0));
  ReleasePlatformFontCaches();
  EXPECT_EQ(0, FontHandleCache().Size());

  // The next editor finds the bytes registered: none are registered again.
  const int installed = InstalledFontCache().Size();
  EXPECT_NE(nullptr, InstalledFontCache().Find("held", 1.0));
  FontCachesHeld caches;
  EXPECT_NE(nullptr, InstallFontFromMemory("held", roboto.data(), static_cast<int>(roboto.size())));
  EXPECT_EQ(installed, InstalledFontCache().Size());
}
