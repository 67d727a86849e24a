// Named resources of the test program against files on disk.

#include "framework/graphics/ResourceFiles.h"

#include <gtest/gtest.h>

#include <windows.h>


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
