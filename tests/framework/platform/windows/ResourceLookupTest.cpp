// Named resources of the test program against files on disk.

#include "framework/graphics/ResourceFiles.h"
#include "deps/unicode/WideUtf8.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

using namespace pfw;
using namespace pfw::gui;

TEST(ResourceLookupTest, ModuleResourcesByFileName)
{
  HMODULE module = GetModuleHandleW(nullptr);
  GrowString location;
  // The name as the resource compiler stored it (this one drops the script's quotes).
  EXPECT_EQ(2, LocateResourceDefault("Roboto-Regular.ttf", "ttf", location, module));
  EXPECT_STREQ("ROBOTO-REGULAR.TTF", location.Get());
  int size = 0;
  EXPECT_NE(nullptr, LockModuleResource(location.Get(), "ttf", size, module));
  EXPECT_GT(size, 100000);

  // Seven bytes are too few for any resource the editor uses; eight are taken.
  ASSERT_EQ(2, LocateResourceDefault("tiny.ttf", "TTF", location, module));
  EXPECT_EQ(nullptr, LockModuleResource(location.Get(), "ttf", size, module));
  EXPECT_EQ(0, size);
  ASSERT_EQ(2, LocateResourceDefault("eight.ttf", "ttf", location, module));
  EXPECT_NE(nullptr, LockModuleResource(location.Get(), "ttf", size, module));
  EXPECT_EQ(8, size);
  EXPECT_EQ(0, LocateResourceDefault("roboto-regular.ttf", "svg", location, module));
}

TEST(ResourceLookupTest, AnyExistingPathIsOnDiskButOnlyAFileIsRead)
{
  wchar_t program[MAX_PATH] = {};
  wchar_t folder[MAX_PATH] = {};
  ASSERT_NE(0u, GetModuleFileNameW(nullptr, program, MAX_PATH));
  ASSERT_NE(0u, GetTempPathW(MAX_PATH, folder));
  const struct
  {
    std::string path;
    int kind;
    bool read;
  } cases[] = {{unicode::WideToUtf8(program), 1, true},
               {unicode::WideToUtf8(folder), 1, false},
               {unicode::WideToUtf8(folder) + "no such file.png", 0, false}};
  for (const auto& c : cases)
  {
    GrowString location("before");
    EXPECT_EQ(c.kind, LocateResourceDefault(c.path.c_str(), "png", location, nullptr)) << c.path;
    EXPECT_STREQ(c.kind ? c.path.c_str() : "before", location.Get()) << c.path;
    ByteBuffer data(4);
    EXPECT_EQ(c.read, ReadFileBytes(c.path.c_str(), data)) << c.path;
    EXPECT_EQ(c.read, data.Size() > 1000) << c.path;
  }
}
