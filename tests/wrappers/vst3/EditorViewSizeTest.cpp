// The editor view's size as hosts see it over many openings in one process: after every
// host call the view reports the size of the editor's window, and a size the host did
// not give reaches it once through the plug frame, after the call that caused it.

#include "TarnwickModule.h"
#include "harness/HostEditor.h"

#include <chrono>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

using namespace vst3host;
using namespace tarnwicktest;

namespace {

struct Size
{
  int width = 0, height = 0;
  bool operator==(const Size& other) const { return width == other.width && height == other.height; }
  bool operator!=(const Size& other) const { return !(*this == other); }
};

std::string Text(const Size& size)
{
  return std::to_string(size.width) + "x" + std::to_string(size.height);
}

Size SizeOf(const ViewRect& rect)
{
  return Size{rect.right - rect.left, rect.bottom - rect.top};
}

Size ClientSize(HWND window)
{
  RECT client{};
  GetClientRect(window, &client);
  return Size{client.right, client.bottom};
}

// A host window with the view in it; the plug frame resizes the window as asked and
// answers with onSize, as hosts do.
class HostedView
{
public:
  explicit HostedView(Session& session)
    : mView(session.instance.controller->createView("editor"))
  {
  }
  ~HostedView()
  {
    if (!mView)
      return;
    mView->removed();
    mView->setFrame(nullptr);
    mView->release();
  }
  IPlugView* view() const { return mView; }
  Size reported() const
  {
    ViewRect rect{};
    mView->getSize(&rect);
    return SizeOf(rect);
  }
  Size editor() const { return ClientSize(mWindow.editor()); }
  Size window() const { return ClientSize(mWindow.handle()); }
  void resizeWindow(const Size& size) { mWindow.resize(size.width, size.height); }
  void scale(float factor)
  {
    IPlugViewContentScaleSupport* scaling = ask<IPlugViewContentScaleSupport>(mView, iids::PlugViewContentScaleSupport);
    ASSERT_NE(scaling, nullptr);
    EXPECT_EQ(scaling->setContentScaleFactor(factor), kOk);
    releaseAndClear(scaling);
  }
  // The host's window takes the size, then the view is told.
  void give(const Size& size)
  {
    resizeWindow(size);
    ViewRect rect{0, 0, size.width, size.height};
    EXPECT_EQ(mView->onSize(&rect), kOk);
  }

  // Hidden: sizes are the point here, and drawing windows of several thousand pixels in
  // software would take most of the time.
  HostWindow mWindow{1, 1, false};
  PlugFrame frame{mWindow};

private:
  IPlugView* mView = nullptr;
};

// Dispatches messages until done() holds or the seconds pass, looking after each wait.
void PumpFor(const std::function<bool()>& done, double seconds)
{
  const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
  while (!done() && std::chrono::steady_clock::now() < end)
  {
    pumpQueued();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
}

// One host call that leaves the host's window at `hostWindow` (the size it gave through
// onSize, else the window's size before the call), then the plug-in's own requests until
// they settle. The view must report the editor's size after the call and after the
// requests; when the editor ended at a size other than the host's window, it asked once
// for its own size, and never from inside onSize; the host's window ends at the editor's
// size.
void ExpectHostCall(HostedView& hosted, const std::string& name, const std::function<void()>& call,
                    const Size* givenThroughOnSize = nullptr)
{
  SCOPED_TRACE(name);
  const Size hostWindow = givenThroughOnSize ? *givenThroughOnSize : hosted.window();
  hosted.frame.requests.clear();
  call();
  EXPECT_EQ(Text(hosted.reported()), Text(hosted.editor())) << "right after the call";
  if (givenThroughOnSize)
  {
    EXPECT_TRUE(hosted.frame.requests.empty()) << "asked from inside onSize";
  }
  // The held-back request comes on an idle tick; then nothing more may follow.
  PumpFor([&] { return hosted.window() == hosted.editor(); }, 10.0);
  PumpFor([] { return false; }, 0.1);
  const Size editor = hosted.editor();
  EXPECT_EQ(Text(hosted.reported()), Text(editor));
  EXPECT_EQ(Text(hosted.window()), Text(editor)) << "the host's window is not the editor's";
  std::ostringstream asked;
  for (const ViewRect& request : hosted.frame.requests)
    asked << Text(SizeOf(request)) << " ";
  const std::string expected = hostWindow == editor ? "" : Text(editor) + " ";
  EXPECT_EQ(asked.str(), expected) << "the host's window was " << Text(hostWindow);
}

} // namespace

TEST(TarnwickVst3EditorSize, TheViewIsTheEditorsSizeThroughManyOpenings)
{
  Session session;
  ASSERT_TRUE(session.ok());
  for (int opening = 1; opening <= 20; ++opening)
  {
    SCOPED_TRACE("opening " + std::to_string(opening));
    HostedView hosted(session);
    ASSERT_NE(hosted.view(), nullptr);
    // The host makes its window the size the view reports; the editor opens at it.
    const Size first = hosted.reported();
    hosted.resizeWindow(first);
    hosted.view()->setFrame(&hosted.frame);
    ExpectHostCall(hosted, "attached", [&] { EXPECT_EQ(hosted.view()->attached(hosted.mWindow.handle(), "HWND"), kOk); });
    EXPECT_EQ(Text(hosted.editor()), Text(first));
    ExpectHostCall(hosted, "content scale 1.5", [&] { hosted.scale(1.5f); });
    ViewRect wanted{0, 0, first.width * 3 / 2, first.height * 3 / 2};
    EXPECT_EQ(hosted.view()->checkSizeConstraint(&wanted), kOk);
    const Size answered = SizeOf(wanted);
    ExpectHostCall(
      hosted, "constrained size " + Text(answered),
      [&] {
        hosted.give(answered);
        EXPECT_EQ(Text(hosted.editor()), Text(answered)) << "the editor takes the size it answered";
      },
      &answered);
    ExpectHostCall(hosted, "content scale 2.5", [&] { hosted.scale(2.5f); });
    const Size unconstrained{5000, 3400};
    ExpectHostCall(hosted, "unconstrained size", [&] { hosted.give(unconstrained); }, &unconstrained);
    ExpectHostCall(hosted, "content scale 1.5 again", [&] { hosted.scale(1.5f); });
    if (HasFatalFailure() || HasFailure())
      break;
  }
}

// A host that passes its window's size to onSize without asking for a constraint first:
// the editor fits itself and the window is brought to the editor's size once.
TEST(TarnwickVst3EditorSize, AWindowOfAnotherShapeIsBroughtToTheEditorsSize)
{
  const struct
  {
    Size given, fitted;
  } cases[] = {
    {{1300, 700}, {1032, 700}},
    {{1500, 1000}, {1475, 1000}},
  };
  Session session;
  ASSERT_TRUE(session.ok());
  for (const auto& c : cases)
  {
    HostedView hosted(session);
    hosted.resizeWindow(hosted.reported());
    hosted.view()->setFrame(&hosted.frame);
    ASSERT_EQ(hosted.view()->attached(hosted.mWindow.handle(), "HWND"), kOk);
    ExpectHostCall(hosted, "window " + Text(c.given), [&] { hosted.give(c.given); }, &c.given);
    EXPECT_EQ(Text(hosted.editor()), Text(c.fitted));
  }
}
