#include "EditorWindow.h"

#include "product/core/FactoryRecipes.h"
#include "product/editor/ViewState.h"

#include "framework/platform/windows/IGuiWin.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

struct Probe
{
  float x, y;
  int r, g, b;
  const char* what;
};

constexpr int kLit[3] = {36, 65, 65}; // a lit button's fill
constexpr int kInk[3] = {27, 35, 40};

Probe LitAt(float x, float y, const char* what)
{
  return {x, y, kLit[0], kLit[1], kLit[2], what};
}

Probe InkAt(float x, float y, const char* what)
{
  return {x, y, kInk[0], kInk[1], kInk[2], what};
}

void ExpectProbes(const EditorWindow::Image& image, float scale, const std::vector<Probe>& probes,
                  const std::string& picture)
{
  for (const Probe& probe : probes)
  {
    int rgb[3];
    image.At(probe.x, probe.y, scale, rgb);
    EXPECT_TRUE(std::abs(rgb[0] - probe.r) <= 3 && std::abs(rgb[1] - probe.g) <= 3 && std::abs(rgb[2] - probe.b) <= 3)
      << picture << ": " << probe.what << " at (" << probe.x << ", " << probe.y << ") is (" << rgb[0] << ", "
      << rgb[1] << ", " << rgb[2] << ")";
  }
}

// Inside each tab, below its text: lit for the current tab only.
std::vector<Probe> TabProbes(int litTab)
{
  std::vector<Probe> probes;
  for (int tab = 0; tab < 6; ++tab)
  {
    const float x = 36.f + 187.f * static_cast<float>(tab) + 12.f;
    probes.push_back(tab == litTab ? LitAt(x, 488.f, "lit tab") : InkAt(x, 488.f, "unlit tab"));
  }
  return probes;
}

// Where each view is reached: its tab, then its sub-tab (none: the tab alone).
struct ViewClick
{
  int view;
  float tabX, subTabX;
};
const ViewClick kViews[] = {{0, 120, 0},   {1, 310, 0},   {2, 310, 290}, {3, 500, 0},   {4, 500, 290}, {5, 680, 0},
                            {6, 870, 0},   {7, 870, 290}, {8, 1060, 0},  {9, 1060, 290}, {10, 1060, 460}};

TEST(EditorPicturesTest, EveryViewAndSomeRecipesAsPictures)
{
  EditorWindow window;
  ASSERT_TRUE(window.Open()) << window.Error();
  window.Frame();
  EditorWindow::Image image = window.Capture();
  image.WritePng("editor-fresh");
  std::vector<Probe> fresh = TabProbes(1);
  fresh.push_back(LitAt(100.f, 437.f, "GATE switch, on"));
  fresh.push_back(InkAt(240.f, 437.f, "PEDAL switch, off"));
  fresh.push_back(LitAt(60.f, 529.f, "TONE sub-tab"));
  fresh.push_back(InkAt(230.f, 529.f, "PREAMP / POWER sub-tab"));
  fresh.push_back(InkAt(56.f, 701.f, "GAIN value box"));
  fresh.push_back(InkAt(50.f, 790.f, "BYPASS, off"));
  ExpectProbes(image, 1.f, fresh, "editor-fresh");

  for (const ViewClick& view : kViews)
  {
    window.Click(view.tabX, 470.f);
    if (view.subTabX > 0.f)
      window.Click(view.subTabX, 519.f);
    window.Frame();
    const std::string name = "editor-view-" + std::to_string(view.view);
    image = window.Capture();
    image.WritePng(name);
    ExpectProbes(image, 1.f, TabProbes(view.view == 0 ? 0 : view.view <= 2 ? 1 : view.view <= 4 ? 2 : view.view == 5 ? 3 : view.view <= 7 ? 4 : 5), name);
  }

  // The typed-value entry over the GAIN knob's value box.
  window.Click(310.f, 470.f);
  window.Click(110.f, 692.f);
  window.Frame();
  window.Capture().WritePng("editor-value-entry");
  // A click elsewhere closes the entry, as a player's next click would.
  window.Click(600.f, 520.f);

  for (int recipe : {0, 12, 33, 39})
  {
    window.Plugin().Product().ApplyRecipe(recipe);
    window.Frame();
    const std::string name = "editor-recipe-" + std::to_string(recipe);
    image = window.Capture();
    image.WritePng(name);
    ExpectProbes(image, 1.f, {InkAt(56.f, 701.f, "GAIN value box, entry closed")}, name);
  }
}

TEST(EditorPicturesTest, TheEditorAtScaleOneAndAHalf)
{
  EditorWindow window;
  ASSERT_TRUE(window.Open()) << window.Error();
  window.Gui().Resize(1180, 800, 1.5f, true);
  window.Frame();
  const EditorWindow::Image image = window.Capture();
  image.WritePng("editor-scale-1.5");
  EXPECT_EQ(image.width, 1770);
  EXPECT_EQ(image.height, 1200);
  std::vector<Probe> probes = TabProbes(1);
  probes.push_back(LitAt(100.f, 437.f, "GATE switch, on"));
  ExpectProbes(image, 1.5f, probes, "editor-scale-1.5");
}

} // namespace
