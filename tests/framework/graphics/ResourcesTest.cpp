#include "TestControls.h"

#include "framework/graphics/GraphicsCaches.h"
#include "framework/graphics/HashString.h"
#include "framework/graphics/StaticCache.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>

using namespace pfw::gui;

namespace {
struct Counted
{
  explicit Counted(int& living_)
    : living(living_)
  {
    ++living;
  }
  ~Counted() { --living; }
  int& living;
};

std::string TestDataPath(const char* name)
{
  return std::string(TARNWICK_GRAPHICS_TEST_DATA) + "/" + name;
}

std::string ReadAll(const std::string& path)
{
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
} // namespace

TEST(StaticCacheTest, KeysAreNameAndScale)
{
  EXPECT_STREQ("logo-1.0x", StaticCache<int>::KeyText("logo", 1.0).Get());
  EXPECT_STREQ("knob.png-2.0x", StaticCache<int>::KeyText("knob.png", 2.0).Get());
  // 64-bit FNV-1a of "a".
  EXPECT_EQ(0xaf63dc4c8601ec8cULL, HashString("a"));
  int living = 0;
  {
    StaticCache<Counted> cache;
    auto* one = new Counted(living);
    auto* two = new Counted(living);
    cache.Add(one, "logo", 1.0);
    cache.Add(two, "logo", 2.0);
    EXPECT_EQ(HashString("logo-1.0x"), cache.KeyHashAt(0));
    EXPECT_EQ(one, cache.Find("logo", 1.0));
    EXPECT_EQ(two, cache.Find("logo", 2.0));
    EXPECT_EQ(nullptr, cache.Find("logo", 1.5));
    EXPECT_EQ(nullptr, cache.Find("log", 1.0));
    EXPECT_TRUE(cache.Remove(two));
    EXPECT_EQ(1, living);
    cache.Retain();
    cache.Retain();
    cache.Release();
    EXPECT_EQ(1, cache.Size());
    cache.Release();
    EXPECT_EQ(0, cache.Size());
    EXPECT_EQ(0, living);
  }
}

TEST(ResourceLookup, ScaleSearchOrder)
{
  EXPECT_EQ((std::vector<int>{1, 3, 2}), IGui::ScaleSearchOrder(1));
  EXPECT_EQ((std::vector<int>{2, 3, 1}), IGui::ScaleSearchOrder(2));
  EXPECT_EQ((std::vector<int>{3, 2, 1}), IGui::ScaleSearchOrder(3));
  EXPECT_EQ((std::vector<int>{4, 3, 2, 1}), IGui::ScaleSearchOrder(4));
  EXPECT_EQ((std::vector<int>{5, 3, 2, 1}), IGui::ScaleSearchOrder(5));
  EXPECT_TRUE(IGui::ScaleSearchOrder(0).empty());
}

TEST(ResourceCaches, SharedByTwoInstancesAndEmptiedWithTheLast)
{
  FakeDelegate delegate;
  const int before = IGui::CacheInstances();
  auto first = std::make_unique<RecordingGui>(delegate);
  auto second = std::make_unique<RecordingGui>(delegate);
  EXPECT_EQ(before + 2, IGui::CacheInstances());
  const std::string svg = ReadAll(TestDataPath("logo.svg"));
  ASSERT_FALSE(svg.empty());
  const ISvgRef a = first->LoadSVGFromData("shared.svg", svg.data(), static_cast<int>(svg.size()));
  ASSERT_TRUE(a.IsValid());
  const ISvgRef b = second->LoadSVGFromData("shared.svg", "not svg", 7);
  EXPECT_EQ(a.image, b.image);
  EXPECT_EQ(1, IGui::SvgCacheSize());
  first.reset();
  EXPECT_EQ(1, IGui::SvgCacheSize());
  second.reset();
  EXPECT_EQ(0, IGui::SvgCacheSize());
  EXPECT_EQ(before, IGui::CacheInstances());
  // The next instance fills them again.
  RecordingGui third(delegate);
  EXPECT_TRUE(third.LoadSVGFromData("shared.svg", svg.data(), static_cast<int>(svg.size())).IsValid());
  EXPECT_EQ(1, IGui::SvgCacheSize());
}

TEST(ResourceCaches, BrokenOrSizelessSvgIsALoadFailure)
{
  FakeDelegate delegate;
  RecordingGui gui(delegate);
  EXPECT_FALSE(gui.LoadSVGFromData("broken.svg", "<svg width='10'", 15).IsValid());
  EXPECT_FALSE(gui.LoadSVGFromData("text.svg", "hello", 5).IsValid());
  EXPECT_FALSE(gui.LoadSVGFromData("empty.svg", "<svg xmlns='http://www.w3.org/2000/svg'/>", 40).IsValid());
  EXPECT_EQ(0, IGui::SvgCacheSize());
  EXPECT_FALSE(gui.LoadSVG("missing.svg").IsValid());
}

TEST(ResourceCaches, SvgFileIsReadOnce)
{
  FakeDelegate delegate;
  RecordingGui gui(delegate);
  gui.useRealResources = true;
  const std::string path = TestDataPath("logo.svg");
  const ISvgRef first = gui.LoadSVG(path.c_str());
  ASSERT_TRUE(first.IsValid());
  EXPECT_FLOAT_EQ(40.f, first.W());
  const size_t lookups = gui.located.size();
  const ISvgRef again = gui.LoadSVG(path.c_str());
  EXPECT_EQ(first.image, again.image);
  EXPECT_EQ(lookups, gui.located.size());
}

TEST(ResourceCaches, NonAsciiFileNamesAreFound)
{
  FakeDelegate delegate;
  RecordingGui gui(delegate);
  gui.useRealResources = true;
  // A folder of this run's own: builds of other configurations may run the same test now.
  const std::filesystem::path folder =
    std::filesystem::temp_directory_path() /
    ("tarnwick-graphics-test-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
  std::filesystem::create_directories(folder);
  const std::string name = "Logo \xC3\xA4\xE2\x82\xAC.svg"; // "Logo ä€.svg"
  const std::filesystem::path file = folder / std::filesystem::u8path(name);
  {
    std::ofstream out(file, std::ios::binary);
    out << ReadAll(TestDataPath("logo.svg"));
  }
  const std::string utf8 = (folder / std::filesystem::u8path(name)).u8string();
  pfw::ByteBuffer bytes(4096);
  EXPECT_TRUE(gui.LoadResource(utf8.c_str(), "svg", bytes));
  EXPECT_GT(bytes.Size(), 100);
  EXPECT_TRUE(gui.LoadSVG(utf8.c_str()).IsValid());
  std::filesystem::remove_all(folder);
}

#if defined(_WIN32)
TEST(ResourceCaches, EmbeddedResourceIsFoundByItsFileName)
{
  FakeDelegate delegate;
  RecordingGui gui(delegate);
  gui.useRealResources = true;
  pfw::GrowString location;
  ASSERT_EQ(IGui::kModuleResource, gui.LocateResource("test_logo.svg", "svg", location));
  pfw::ByteBuffer bytes(4096);
  ASSERT_TRUE(gui.LoadResource("test_logo.svg", "svg", bytes));
  const ISvgRef logo = gui.LoadSVG("test_logo.svg");
  ASSERT_TRUE(logo.IsValid());
  EXPECT_EQ(2u, logo.image->shapes.size());
}
#endif

TEST(ResourceBitmaps, LookupGoesByScaleSuffixThenScalesTheFind)
{
  FakeDelegate delegate;
  RecordingGui gui(delegate);
  gui.files["knob.png"] = "img 40 40";
  const IBitmapRef ref = gui.LoadBitmap("knob.png", 1, false, 2);
  EXPECT_EQ((std::vector<std::string>{"knob@2x.png", "knob@3x.png", "knob.png"}), gui.located);
  ASSERT_TRUE(ref.IsValid());
  // Scaled to the target: twice the pixels, the same size in user-interface units.
  EXPECT_EQ(80, ref.bitmap->GetWidth());
  EXPECT_FLOAT_EQ(2.f, ref.bitmap->GetScale());
  EXPECT_EQ(40, ref.width);
  EXPECT_TRUE(gui.Logged("bitmap knob.png 0 0 40 40"));
  EXPECT_EQ(1, gui.decodes);
  // The copy at scale 2 is cached; the decoded original is gone.
  const IBitmapRef again = gui.LoadBitmap("knob.png", 1, false, 2);
  EXPECT_EQ(ref.bitmap, again.bitmap);
  EXPECT_EQ(1, gui.decodes);
  EXPECT_EQ(1, IGui::BitmapCacheSize());
  gui.ReleaseBitmap(ref);
  EXPECT_EQ(0, IGui::BitmapCacheSize());
  // Scaled down from the only, sharper file: fewer pixels, the same size in units.
  gui.files["dial@2x.png"] = "img 80 80";
  const IBitmapRef dial = gui.LoadBitmap("dial.png", 1, false, 1);
  ASSERT_TRUE(dial.IsValid());
  EXPECT_EQ(40, dial.width);
  EXPECT_EQ(40, dial.bitmap->GetWidth());
  EXPECT_TRUE(gui.Logged("createbitmap 40 40"));
}

TEST(ResourceBitmaps, ExactScaleIsRetainedAsDecoded)
{
  FakeDelegate delegate;
  RecordingGui gui(delegate);
  gui.files["fader@2x.png"] = "img 20 60";
  const IBitmapRef ref = gui.LoadBitmap("fader.png", 3, true, 2);
  ASSERT_TRUE(ref.IsValid());
  EXPECT_EQ(10, ref.width);
  EXPECT_EQ(30, ref.height);
  EXPECT_EQ(3, ref.frames);
  EXPECT_TRUE(ref.framesHorizontal);
  EXPECT_FALSE(gui.Logged("createbitmap"));
  EXPECT_EQ(1, IGui::BitmapCacheSize());
}

TEST(ResourceBitmaps, FailuresGiveTheEmptyRefAndCacheNothing)
{
  FakeDelegate delegate;
  RecordingGui gui(delegate);
  gui.files["logo.gif"] = "img 1 1";
  EXPECT_FALSE(gui.LoadBitmap("logo.gif").IsValid());
  EXPECT_FALSE(gui.LoadBitmap("missing.png").IsValid());
  EXPECT_FALSE(gui.LoadBitmapFromData("bad.png", "garbage", 7).IsValid());
  EXPECT_EQ(0, IGui::BitmapCacheSize());
  const IBitmapRef fromData = gui.LoadBitmapFromData("mem.png", "img 8 8", 7, 1, false, 1);
  ASSERT_TRUE(fromData.IsValid());
  EXPECT_EQ(8, fromData.width);
  EXPECT_EQ(1, IGui::BitmapCacheSize());
}

TEST(ResourceBitmaps, CachedCopyAtAnotherScaleIsScaledWhenNoFileExists)
{
  FakeDelegate delegate;
  RecordingGui gui(delegate);
  const IBitmapRef original = gui.LoadBitmapFromData("meter.png", "img 30 10", 9, 1, false, 1);
  ASSERT_TRUE(original.IsValid());
  const IBitmapRef sharp = gui.LoadBitmap("meter.png", 1, false, 2);
  ASSERT_TRUE(sharp.IsValid());
  EXPECT_NE(original.bitmap, sharp.bitmap);
  EXPECT_EQ(60, sharp.bitmap->GetWidth());
  EXPECT_FLOAT_EQ(2.f, sharp.bitmap->GetScale());
  EXPECT_EQ(30, sharp.width);
  EXPECT_EQ(1, gui.decodes);
  // Both scales are kept, each under its own key.
  EXPECT_EQ(2, IGui::BitmapCacheSize());
  EXPECT_EQ(sharp.bitmap, gui.LoadBitmap("meter.png", 1, false, 2).bitmap);
  EXPECT_EQ(original.bitmap, gui.LoadBitmap("meter.png", 1, false, 1).bitmap);
}

TEST(ResourceBitmaps, ScalingDrawsIntoALayerOfTheTargetScaleAndRestoresTheScales)
{
  FakeDelegate delegate;
  RecordingGui gui(delegate, 400, 300, 1.25f);
  gui.SetScreenScale(1.5f);
  FakeBitmap source(90, 30, 3.f, 1.5f); // 30 x 10 units, drawn 20 x 6.67 at draw scale 1.5
  const IBitmapRef ref(&source, "strip.png", 4, true);
  gui.log.clear();
  const IBitmapRef scaled = gui.ScaleBitmap(ref, "strip.png", 2);
  ASSERT_TRUE(scaled.IsValid());
  // The layer covers 20 x 6.67 units at total scale 2 x 1.5: 60 x 21 pixels (the height
  // ceiled to whole units first).
  EXPECT_TRUE(gui.Logged("createbitmap 60 21"));
  EXPECT_TRUE(gui.Logged("bitmap strip.png 0 0 20 6.66667"));
  EXPECT_EQ(60, scaled.bitmap->GetWidth());
  EXPECT_EQ(ref.width, scaled.width);
  EXPECT_FLOAT_EQ(2.f, scaled.bitmap->GetScale());
  EXPECT_FLOAT_EQ(1.5f, scaled.bitmap->GetDrawScale());
  EXPECT_EQ(4, scaled.frames);
  EXPECT_TRUE(scaled.framesHorizontal);
  EXPECT_STREQ("strip.png", scaled.name.Get());
  EXPECT_EQ(1, IGui::BitmapCacheSize());
  EXPECT_FLOAT_EQ(1.5f, gui.GetScreenScale());
  EXPECT_FLOAT_EQ(1.25f, gui.GetDrawScale());
  EXPECT_EQ(0, gui.LayerDepth());
}

TEST(ResourceFonts, LoadingRegistersAndCachesOrFails)
{
  FakeDelegate delegate;
  RecordingGui gui(delegate);
  EXPECT_FALSE(gui.LoadFont("QUILLTONE", "Roboto-Regular.ttf"));
  gui.files["Roboto-Regular.ttf"] = "font";
  EXPECT_TRUE(gui.LoadFont("QUILLTONE", "Roboto-Regular.ttf"));
  EXPECT_EQ((std::vector<std::string>{"QUILLTONE"}), gui.registeredFonts);
  EXPECT_EQ((std::vector<std::string>{"QUILLTONE"}), gui.cachedFonts);
  gui.rejectFonts = true;
  EXPECT_FALSE(gui.LoadFontFromData("Other", "bytes", 5));
  EXPECT_EQ(1u, gui.cachedFonts.size());
  gui.rejectFonts = false;
  EXPECT_FALSE(gui.LoadFontFromData("Other", nullptr, 0));
  EXPECT_TRUE(gui.LoadFontFromData("Other", "bytes", 5));
}

TEST(ResourceCaches, TwoEditorsOnTwoThreadsShareOneEntry)
{
  const std::string svg = ReadAll(TestDataPath("logo.svg"));
  FakeDelegate keeper;
  RecordingGui alive(keeper); // keeps the caches from emptying between the threads' instances
  std::vector<const svg::Image*> seen(2, nullptr);
  std::vector<std::thread> threads;
  for (int t = 0; t < 2; ++t)
    threads.emplace_back([&, t] {
      for (int round = 0; round < 50; ++round)
      {
        FakeDelegate delegate;
        RecordingGui gui(delegate);
        const ISvgRef ref = gui.LoadSVGFromData("threads.svg", svg.data(), static_cast<int>(svg.size()));
        if (!seen[static_cast<size_t>(t)])
          seen[static_cast<size_t>(t)] = ref.image;
        else if (seen[static_cast<size_t>(t)] != ref.image)
          seen[static_cast<size_t>(t)] = nullptr;
      }
    });
  for (std::thread& thread : threads)
    thread.join();
  ASSERT_NE(nullptr, seen[0]);
  EXPECT_EQ(seen[0], seen[1]);
  EXPECT_EQ(1, IGui::SvgCacheSize());
}
