// The editor view in-process, over a plug-in whose editor only records what it is asked:
// which platform it opens on, its size and its negotiation, keys, scale and the plug-in's
// own resize requests through the host's frame.

#include "wrappers/vst3/IPluginVST3.h"
#include "wrappers/vst3/IPluginVST3View.h"

#include "framework/graphics/IInputEvents.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using namespace Steinberg;

namespace {

pfw::IPluginConfig EditorConfig(bool hasUI)
{
  pfw::IPluginConfig config;
  config.nParams = 1;
  config.channelIOStr = "2-2";
  config.plugHasUI = hasUI;
  config.plugWidth = 600;
  config.plugHeight = 400;
  config.plugMinWidth = 300;
  config.plugMaxWidth = 1200;
  config.plugMinHeight = 200;
  config.plugMaxHeight = 800;
  config.plugHostResize = true;
  return config;
}

class RecordingEditorPlugin : public pfw::IPluginVST3
{
public:
  explicit RecordingEditorPlugin(bool hasUI = true)
    : IPluginVST3(InstanceInfo{}, EditorConfig(hasUI))
  {
  }
  void* OpenWindow(void* parent) override
  {
    calls.push_back("open");
    return parent;
  }
  void CloseWindow() override { calls.push_back("close"); }
  // The editor never opens here, so it fits as a closed one: it takes the window's size
  // within the limits.
  void OnParentWindowResize(int width, int height) override
  {
    calls.push_back("fit " + std::to_string(width) + "x" + std::to_string(height));
    IPluginVST3::OnParentWindowResize(width, height);
  }
  void SetScreenScale(float scale) override { calls.push_back("scale " + std::to_string(scale)); }
  bool OnKeyDown(const pfw::gui::IKeyEvent& key) override
  {
    keys.push_back(key);
    return key.vk != 0;
  }

  std::vector<std::string> calls;
  std::vector<pfw::gui::IKeyEvent> keys;
};

class RecordingFrame : public IPlugFrame
{
public:
  tresult VST3_CALL queryInterface(const TUID, void** obj) override
  {
    *obj = nullptr;
    return kNoInterface;
  }
  uint32 VST3_CALL addRef() override { return ++references; }
  uint32 VST3_CALL release() override { return --references; }
  tresult VST3_CALL resizeView(IPlugView* view, ViewRect* size) override
  {
    views.push_back(view);
    sizes.push_back(std::to_string(size->left) + "," + std::to_string(size->top) + "," +
                    std::to_string(size->right) + "," + std::to_string(size->bottom));
    if (answer.right > 0)
      view->onSize(&answer);
    return kResultOk;
  }
  ViewRect answer{}; // a window size of the host's own, given back through onSize
  uint32 references = 1;
  std::vector<IPlugView*> views;
  std::vector<std::string> sizes;
};

struct ViewOf
{
  RecordingEditorPlugin* plugin = new RecordingEditorPlugin;
  IPlugView* view = plugin->createView("editor");
  ~ViewOf()
  {
    if (view)
      view->release();
    plugin->release();
  }
};

int dummyWindow = 0;

} // namespace

TEST(Vst3EditorView, IsMadeOnlyForTheEditorOfAPluginThatHasOne)
{
  ViewOf made;
  ASSERT_NE(made.view, nullptr);
  EXPECT_EQ(made.plugin->createView("other"), nullptr);
  EXPECT_EQ(made.plugin->createView(nullptr), nullptr);
  RecordingEditorPlugin* noEditor = new RecordingEditorPlugin(false);
  EXPECT_EQ(noEditor->createView("editor"), nullptr);
  noEditor->release();

  void* face = nullptr;
  ASSERT_EQ(made.view->queryInterface(IPlugViewContentScaleSupport::iid, &face), kResultOk);
  static_cast<IPlugViewContentScaleSupport*>(face)->setContentScaleFactor(1.5f);
  static_cast<IPlugViewContentScaleSupport*>(face)->release();
  EXPECT_EQ(static_cast<IPlugViewContentScaleSupport*>(face)->setContentScaleFactor(NAN), kResultFalse);
  EXPECT_EQ(made.plugin->calls, (std::vector<std::string>{"scale 1.500000"}));
}

TEST(Vst3EditorView, OpensTheEditorOnlyInAWindowOfItsPlatform)
{
  ViewOf made;
  EXPECT_EQ(made.view->isPlatformTypeSupported("HWND"), kResultOk);
  EXPECT_EQ(made.view->isPlatformTypeSupported("NSView"), kResultFalse);
  EXPECT_EQ(made.view->attached(&dummyWindow, "NSView"), kResultFalse);
  EXPECT_EQ(made.view->attached(nullptr, "HWND"), kResultFalse);
  EXPECT_TRUE(made.plugin->calls.empty());
  EXPECT_EQ(made.view->attached(&dummyWindow, "HWND"), kResultOk);
  EXPECT_EQ(made.view->removed(), kResultOk);
  EXPECT_EQ(made.plugin->calls, (std::vector<std::string>{"open", "close"}));
}

TEST(Vst3EditorView, NegotiatesItsSizeWithTheHost)
{
  ViewOf made;
  ViewRect size{};
  ASSERT_EQ(made.view->getSize(&size), kResultOk);
  EXPECT_EQ(size.right, 600);
  EXPECT_EQ(size.bottom, 400);
  EXPECT_EQ(made.view->canResize(), kResultOk);

  // Below the minimum: enlarged, the left and top edges stay; inside the limits: as asked.
  ViewRect small{10, 20, 110, 70};
  EXPECT_EQ(made.view->checkSizeConstraint(&small), kResultOk);
  EXPECT_EQ(small.left, 10);
  EXPECT_EQ(small.top, 20);
  EXPECT_EQ(small.right, 310);
  EXPECT_EQ(small.bottom, 220);
  ViewRect fine{0, 0, 700, 500};
  made.view->checkSizeConstraint(&fine);
  EXPECT_EQ(fine.right, 700);
  EXPECT_EQ(fine.bottom, 500);

  EXPECT_EQ(made.view->onSize(nullptr), kResultFalse);
  ViewRect empty{0, 0, 0, 500};
  EXPECT_EQ(made.view->onSize(&empty), kResultFalse);
  ASSERT_EQ(made.view->onSize(&fine), kResultOk);
  EXPECT_EQ(made.plugin->calls, (std::vector<std::string>{"fit 700x500"}));
  made.view->getSize(&size);
  EXPECT_EQ(size.right, 700) << "the size the editor opens at in the host's window";
  EXPECT_EQ(size.bottom, 500);
}

// The editor's own sizes reach the host's frame on an idle tick, only while the view is
// shown and the host's window has another size; the view reports the host's window until
// the host gives the new one through onSize.
TEST(Vst3EditorView, AsksTheHostsFrameOnlyWhileShownAndForAnotherSize)
{
  ViewOf made;
  RecordingFrame frame;
  auto* view = static_cast<pfw::IPluginVST3View*>(made.view);
  const auto reported = [&] {
    ViewRect size{};
    made.view->getSize(&size);
    return std::to_string(size.right) + "x" + std::to_string(size.bottom);
  };
  made.view->setFrame(&frame);
  EXPECT_EQ(frame.references, 2u);
  made.plugin->ResizeHostView(640, 480);
  view->AskHostForEditorSize();
  EXPECT_TRUE(frame.sizes.empty()) << "not shown yet";
  EXPECT_EQ(reported(), "640x480") << "the size the editor opens at";
  ASSERT_EQ(made.view->attached(&dummyWindow, "HWND"), kResultOk);
  view->AskHostForEditorSize();
  EXPECT_TRUE(frame.sizes.empty()) << "the host's window has the editor's size";

  made.plugin->ResizeHostView(900, 450);
  EXPECT_TRUE(frame.sizes.empty()) << "asked from inside the editor's resize";
  view->AskHostForEditorSize();
  view->AskHostForEditorSize();
  EXPECT_EQ(frame.sizes, (std::vector<std::string>{"0,0,900,450"}));
  EXPECT_EQ(frame.views, (std::vector<IPlugView*>{made.view}));
  EXPECT_EQ(reported(), "640x480") << "until the host answers";
  ViewRect answer{0, 0, 900, 450};
  made.view->onSize(&answer);
  EXPECT_EQ(reported(), "900x450");

  made.view->removed();
  made.plugin->ResizeHostView(800, 400);
  view->AskHostForEditorSize();
  EXPECT_EQ(frame.sizes.size(), 1u) << "not shown any more";
  made.view->release(); // the host lets the view go; the plug-in keeps no frame
  made.view = nullptr;
  EXPECT_EQ(frame.references, 1u);
  EXPECT_EQ(made.plugin->GetEditorWidth(), 800);
}

TEST(Vst3EditorView, TheHostIsAskedForSizesWithinTheLimitsAndItsAnswerStands)
{
  const struct
  {
    int width, height;
    ViewRect answer;
    const char* asked;
    const char* fits;
    const char* reported;
  } cases[] = {
    // The host's own size: the editor fits in it, and the host is not asked again.
    {1000, 500, {0, 0, 800, 400}, "0,0,1000,500", "fit 800x400", "800x400"},
    // Beyond the largest size: the editor fits itself to that first.
    {2000, 1000, {}, "0,0,1200,800", "fit 1200x800", "600x400"},
    {2000, 1000, {0, 0, 1200, 800}, "0,0,1200,800", "fit 1200x800", "1200x800"},
    // A window of the host's own beyond the largest size: the editor fits in it as it can.
    {1000, 500, {0, 0, 2000, 1000}, "0,0,1000,500", "fit 2000x1000", "2000x1000"},
  };
  for (const auto& c : cases)
  {
    ViewOf made;
    RecordingFrame frame;
    frame.answer = c.answer;
    made.view->setFrame(&frame);
    ASSERT_EQ(made.view->attached(&dummyWindow, "HWND"), kResultOk);
    made.plugin->calls.clear();
    made.plugin->ResizeHostView(c.width, c.height);
    auto* view = static_cast<pfw::IPluginVST3View*>(made.view);
    for (int tick = 0; tick < 3; ++tick)
      view->AskHostForEditorSize();
    EXPECT_EQ(frame.sizes, (std::vector<std::string>{c.asked})) << c.width;
    EXPECT_EQ(made.plugin->calls, (std::vector<std::string>{c.fits})) << c.width;
    ViewRect size{};
    made.view->getSize(&size);
    EXPECT_EQ(std::to_string(size.right) + "x" + std::to_string(size.bottom), c.reported) << c.width;
    made.view->removed();
  }
}

TEST(Vst3EditorView, PassesKeysAsTheEditorsKeyEvents)
{
  struct KeyCase
  {
    const char* host;
    char16 character;
    int16 code;
    int16 modifiers;
    tresult result;
    int vk;
    const char* text;
    bool shift, alt, control;
  };
  const KeyCase cases[] = {
    {"Test Host", 0, 128 + 17, 0, kResultOk, 65, "A", false, false, false},
    {"Test Host", 'a', 0, kShiftKey | kCommandKey, kResultOk, 'A', "a", true, false, true},
    {"Test Host", 0, KEY_SPACE, kAlternateKey, kResultOk, 32, " ", false, true, false},
    {"Test Host", 0, KEY_PAGEUP, 0, kResultOk, 33, "", false, false, false},
    {"Test Host", 0, KEY_PAGEDOWN, 0, kResultOk, 34, "", false, false, false},
    {"Test Host", 0, KEY_DIVIDE, 0, kResultOk, 111, "", false, false, false},
    {"Test Host", 0, KEY_F12, 0, kResultOk, 123, "", false, false, false},
    {"Test Host", 0, KEY_DELETE, 0, kResultOk, 46, "", false, false, false},
    {"Test Host", u'\u00e9', 0, 0, kResultFalse, 0, "", false, false, false}, // not ASCII: no key
    {"Test Host", 0, KEY_MEDIA_PLAY, 0, kResultFalse, 0, "", false, false, false},
    {"REAPER", 0, KEY_SPACE, kShiftKey, kResultOk, 32, " ", true, false, false},
    {"REAPER", 'a', 0, 0, kResultFalse, -1, nullptr, false, false, false}, // never reaches the editor
  };
  for (const KeyCase& c : cases)
  {
    ViewOf made;
    made.plugin->SetHost(c.host, 0);
    EXPECT_EQ(made.view->onKeyDown(c.character, c.code, c.modifiers), c.result) << c.host << " " << c.code;
    if (c.vk < 0)
    {
      EXPECT_TRUE(made.plugin->keys.empty());
      continue;
    }
    ASSERT_EQ(made.plugin->keys.size(), 1u) << c.code;
    const pfw::gui::IKeyEvent& key = made.plugin->keys[0];
    EXPECT_EQ(key.vk, c.vk) << c.code;
    EXPECT_STREQ(key.utf8, c.text) << c.code;
    EXPECT_EQ(key.shift, c.shift);
    EXPECT_EQ(key.alt, c.alt);
    EXPECT_EQ(key.control, c.control);
  }
}
