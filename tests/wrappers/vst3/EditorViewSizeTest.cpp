// The editor view in the windows of hosts that answer its resize handshake in the ways real
// hosts do, through the real module, over many openings in one process: the user sizes the
// host's window, the host changes the content scale, the user drags the editor's own
// corner. Once each step's messages are handled, a host that follows the handshake has a
// window of the editor's size, which the view reports; any other holds the editor fitted
// inside its window. The view asks for at most two sizes a step, each once, only while it
// is shown and never from inside one of the host's calls.

#include "TarnwickModule.h"
#include "harness/HostEditor.h"

#include <chrono>
#include <optional>
#include <string>
#include <vector>

using namespace vst3host;
using namespace tarnwicktest;

namespace {

struct Extent
{
  int width = 0, height = 0;
  bool operator==(const Extent& other) const { return width == other.width && height == other.height; }
  bool operator!=(const Extent& other) const { return !(*this == other); }
};

std::string Text(const Extent& extent)
{
  return std::to_string(extent.width) + "x" + std::to_string(extent.height);
}

Extent Of(const ViewRect& rect)
{
  return Extent{rect.right - rect.left, rect.bottom - rect.top};
}

Extent ClientOf(HWND window)
{
  RECT client{};
  GetClientRect(window, &client);
  return Extent{client.right, client.bottom};
}

// How a host answers the view's resizeView and resizes for its user.
enum class Answer
{
  // The SDK's sample editor host: it refuses while a resize of its own runs, does nothing
  // when the view already reports the size, and otherwise resizes its window, whose resize
  // handler gives onSize of a client size the view does not report, then gives the size
  // asked for if the view still reports another. It asks checkSizeConstraint while its user
  // drags, but keeps its own size when the answer is kResultTrue.
  kSampleHost,
  // Resizes its window and gives onSize inside resizeView.
  kInsideRequest,
  // Accepts, then resizes and gives onSize on its next message, a number of pixels off.
  kLater,
  // Refuses and keeps its window.
  kRefuses,
  // Like kInsideRequest, and gives its user's drags the size checkSizeConstraint answers.
  kConstrainsDrags,
};

class TestHost : public IPlugFrame
{
public:
  TestHost(Session& session, Answer answer, int pixelsOff)
    : mSession(session)
    , mAnswer(answer)
    , mPixelsOff(pixelsOff)
  {
    mWindow.onResized = [this](int width, int height) {
      if (mAnswer == Answer::kSampleHost && mView && Extent{width, height} != reported())
        giveSize(Extent{width, height});
    };
  }
  tresult HOST_CALL queryInterface(const char*, void** obj) override
  {
    *obj = nullptr;
    return kNoInterface;
  }
  uint32_t HOST_CALL addRef() override { return 2; }
  uint32_t HOST_CALL release() override { return 1; }

  tresult HOST_CALL resizeView(IPlugView*, ViewRect* size) override
  {
    const Extent wanted = Of(*size);
    requests.push_back(wanted);
    if (!mView)
    {
      faults.push_back("asked for " + Text(wanted) + " while not shown");
      return kFalse;
    }
    if (mCallDepth > 0)
      faults.push_back("asked for " + Text(wanted) + " from inside the host's call");
    const bool resizes = mAnswer == Answer::kInsideRequest || mAnswer == Answer::kConstrainsDrags ||
                         (mAnswer == Answer::kSampleHost && !mResizing && reported() != wanted);
    if (resizes)
      resizeWindow(wanted);
    if (resizes && reported() != wanted)
      giveSize(wanted);
    if (mAnswer == Answer::kLater)
      mLater = Extent{wanted.width + mPixelsOff, wanted.height + mPixelsOff};
    return mAnswer == Answer::kRefuses || (mAnswer == Answer::kSampleHost && mResizing) ? kFalse : kOk;
  }

  // A view of the session's instance in a window of the size it reports, shown, with the
  // content scale the host then sets, if any.
  void open(float contentScale)
  {
    IPlugView* view = mSession.instance.controller->createView("editor");
    ASSERT_NE(view, nullptr);
    ViewRect size{};
    view->getSize(&size);
    mWindow.resize(size.right, size.bottom);
    view->setFrame(this);
    ASSERT_EQ(hostCall([&] { return view->attached(mWindow.handle(), "HWND"); }), kOk);
    mView = view;
    EXPECT_EQ(Text(editor()), Text(Of(size))) << "the editor opens at the size reported";
    if (contentScale > 0.f)
      scale(contentScale);
  }
  void close()
  {
    IPlugView* view = mView;
    mView = nullptr;
    view->removed();
    view->setFrame(nullptr);
    view->release();
  }

  void userResize(const Extent& size)
  {
    ViewRect asked{0, 0, size.width, size.height};
    if (mAnswer == Answer::kSampleHost || mAnswer == Answer::kConstrainsDrags)
      hostCall([&] { return mView->checkSizeConstraint(&asked); });
    const Extent taken = mAnswer == Answer::kConstrainsDrags ? Of(asked) : size;
    resizeWindow(taken);
    if (mAnswer != Answer::kSampleHost)
      giveSize(taken);
  }
  void scale(float factor)
  {
    auto* scaling = ask<IPlugViewContentScaleSupport>(mView, iids::PlugViewContentScaleSupport);
    ASSERT_NE(scaling, nullptr);
    EXPECT_EQ(hostCall([&] { return scaling->setContentScaleFactor(factor); }), kOk);
    releaseAndClear(scaling);
  }
  // The user's mouse on the editor's corner resizer, moved by (dx, dy) from where it was;
  // a press starts in the corner.
  void corner(UINT message, int dx = 0, int dy = 0)
  {
    if (message == WM_LBUTTONDOWN)
      mCorner = POINT{editor().width - 4, editor().height - 4};
    mCorner = POINT{mCorner.x + dx, mCorner.y + dy};
    SendMessageW(mWindow.editor(), message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON,
                 MAKELPARAM(mCorner.x, mCorner.y));
  }

  // Handles messages, and gives a later answer, until the plug-in's idle timer has ticked
  // three times since the last request.
  void settle()
  {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    size_t requestsSeen = requests.size();
    for (int quietTicks = 0; quietTicks < 3 && std::chrono::steady_clock::now() < end;)
    {
      MSG message;
      for (int i = 0; i < 16 && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE); ++i)
      {
        // The plug-in's idle timer is the thread's timer without a window.
        quietTicks += message.message == WM_TIMER && !message.hwnd;
        DispatchMessageW(&message);
      }
      if (mLater)
      {
        resizeWindow(*mLater);
        giveSize(*mLater);
        mLater.reset();
      }
      if (requests.size() != requestsSeen)
      {
        requestsSeen = requests.size();
        quietTicks = 0;
      }
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
  }

  Extent window() const { return ClientOf(mWindow.handle()); }
  Extent editor() const { return ClientOf(mWindow.editor()); }
  Extent reported() const
  {
    ViewRect size{};
    mView->getSize(&size);
    return Of(size);
  }
  // The editor's smallest size at the current content scale.
  Extent smallest()
  {
    ViewRect size{0, 0, 1, 1};
    hostCall([&] { return mView->checkSizeConstraint(&size); });
    return Of(size);
  }

  std::vector<Extent> requests;
  std::vector<std::string> faults;

private:
  template <class Call>
  tresult hostCall(Call call)
  {
    ++mCallDepth;
    const tresult result = call();
    --mCallDepth;
    return result;
  }
  void giveSize(const Extent& size)
  {
    ViewRect rect{0, 0, size.width, size.height};
    hostCall([&] { return mView->onSize(&rect); });
  }
  // The host's own resize of its window, during which the sample host refuses requests.
  void resizeWindow(const Extent& size)
  {
    mResizing = true;
    mWindow.resize(size.width, size.height);
    mResizing = false;
  }

  Session& mSession;
  const Answer mAnswer;
  const int mPixelsOff;
  HostWindow mWindow{1, 1, false};
  IPlugView* mView = nullptr; // while shown
  int mCallDepth = 0;
  bool mResizing = false;
  std::optional<Extent> mLater;
  POINT mCorner{};
};

struct HostCase
{
  const char* name;
  Answer answer;
  int pixelsOff;
  float contentScaleOnOpening; // 0: none
};

class EditorViewInHost : public testing::TestWithParam<HostCase>
{
};

// After a step: a host that follows the handshake has a window of the editor's size, which
// the view reports; any other holds the editor inside its window, or at its smallest.
void ExpectSettled(TestHost& host, const HostCase& c, const std::string& step, size_t requestsBefore)
{
  SCOPED_TRACE(step);
  host.settle();
  const Extent editor = host.editor(), window = host.window();
  if (c.answer == Answer::kLater || c.answer == Answer::kRefuses)
    EXPECT_TRUE((editor.width <= window.width && editor.height <= window.height) || editor == host.smallest())
      << "editor " << Text(editor) << " in " << Text(window);
  else
  {
    EXPECT_EQ(Text(window), Text(editor)) << "the host's window";
    EXPECT_EQ(Text(host.reported()), Text(editor)) << "the view's size";
  }
  std::string asked;
  for (size_t i = requestsBefore; i < host.requests.size(); ++i)
    asked += Text(host.requests[i]) + " ";
  for (size_t i = requestsBefore; i < host.requests.size(); ++i)
    EXPECT_EQ(asked.find(Text(host.requests[i]) + " "), asked.rfind(Text(host.requests[i]) + " ")) << asked;
  EXPECT_LE(host.requests.size() - requestsBefore, 2u) << asked;
  for (const std::string& fault : host.faults)
    ADD_FAILURE() << fault;
  host.faults.clear();
}

TEST_P(EditorViewInHost, EndsEachStepWithTheEditorInTheHostsWindow)
{
  const HostCase& c = GetParam();
  Session session;
  ASSERT_TRUE(session.ok());
  TestHost host(session, c.answer, c.pixelsOff);
  for (int opening = 1; opening <= 20 && !HasFailure(); ++opening)
  {
    SCOPED_TRACE("opening " + std::to_string(opening));
    size_t before = host.requests.size();
    host.open(c.contentScaleOnOpening);
    ExpectSettled(host, c, "opened", before);
    if (opening == 1 && c.contentScaleOnOpening > 0.f)
    {
      EXPECT_EQ(Text(host.editor()), "1770x1200");
    }
    for (const Extent size : {Extent{1300, 700}, Extent{1500, 1000}, Extent{1400, 800}, Extent{1180, 1000},
                              Extent{2000, 1400}, Extent{900, 600}})
    {
      before = host.requests.size();
      host.userResize(size);
      ExpectSettled(host, c, "user resize to " + Text(size), before);
    }
    for (const float factor : {1.5f, 2.5f, 1.0f})
    {
      before = host.requests.size();
      host.scale(factor);
      ExpectSettled(host, c, "content scale " + std::to_string(factor), before);
    }
    host.corner(WM_LBUTTONDOWN);
    for (int step = 1; step <= 3; ++step)
    {
      before = host.requests.size();
      host.corner(WM_MOUSEMOVE, 40, 27);
      ExpectSettled(host, c, "corner resizer, step " + std::to_string(step), before);
    }
    host.corner(WM_LBUTTONUP);
    host.close();
  }
}

INSTANTIATE_TEST_SUITE_P(
  Hosts, EditorViewInHost,
  testing::Values(HostCase{"SampleHost", Answer::kSampleHost, 0, 0.f},
                  HostCase{"SampleHostAt150Percent", Answer::kSampleHost, 0, 1.5f},
                  HostCase{"AnswersInsideTheRequest", Answer::kInsideRequest, 0, 0.f},
                  HostCase{"AnswersLater", Answer::kLater, 0, 0.f},
                  HostCase{"AnswersLaterAPixelLarger", Answer::kLater, 1, 0.f},
                  HostCase{"AnswersLaterAPixelSmaller", Answer::kLater, -1, 0.f},
                  HostCase{"Refuses", Answer::kRefuses, 0, 0.f},
                  HostCase{"ConstrainsDrags", Answer::kConstrainsDrags, 0, 0.f}),
  [](const testing::TestParamInfo<HostCase>& info) { return std::string(info.param.name); });

} // namespace

// A host asks while its user drags one edge of its window, from the editor's own 1180 x 800:
// the side dragged drives the editor's size and the other follows its proportions; a drag
// of both takes the largest size that fits, and below the smallest size the smallest, the
// left and top edges kept.
TEST(EditorViewSize, ASizeConstraintFollowsTheEdgeTheUserDrags)
{
  const struct
  {
    ViewRect dragged;
    const char* answer;
  } cases[] = {
    {{0, 0, 1400, 800}, "0,0,1400x949"},   // wider only
    {{0, 0, 1180, 1000}, "0,0,1475x1000"}, // taller only
    {{0, 0, 5000, 800}, "0,0,1770x1200"},  // wider than the largest
    {{0, 0, 1300, 700}, "0,0,1033x700"},   // both
    {{10, 20, 110, 120}, "10,20,1003x680"},
  };
  Session session;
  ASSERT_TRUE(session.ok());
  IPlugView* view = session.instance.controller->createView("editor");
  ASSERT_NE(view, nullptr);
  ViewRect size{};
  ASSERT_EQ(view->getSize(&size), kOk);
  ASSERT_EQ(Text(Of(size)), "1180x800");
  for (const auto& c : cases)
  {
    ViewRect rect = c.dragged;
    EXPECT_EQ(view->checkSizeConstraint(&rect), kOk);
    EXPECT_EQ(std::to_string(rect.left) + "," + std::to_string(rect.top) + "," + Text(Of(rect)), c.answer);
  }
  view->release();
}

// Before a view is shown the host may give it a window, a content scale, both in either
// order, with its frame set or not: the view reports the size the editor opens at, the
// editor draws its whole page in that window, and the host is asked nothing before the
// view is shown, nor after it is removed.
TEST(EditorViewSize, AViewNotYetShownOpensAtTheSizeItReports)
{
  // Sizes within the screen: a window keeps no pixels beyond it here.
  const struct
  {
    bool windowFirst, frameFirst;
    float contentScale;
    const char* opensAt;
  } cases[] = {
    {true, false, 1.0f, "1033x700"}, // the fit in the window
    {true, true, 1.25f, "1291x875"}, // the fit in the window at scale 1, then the content scale
    {false, false, 1.25f, "1253x850"}, // the smallest size at the content scale
    {false, true, 1.25f, "1253x850"},
  };
  for (const auto& c : cases)
  {
    SCOPED_TRACE(std::string(c.windowFirst ? "window first" : "scale first") + (c.frameFirst ? ", frame first" : ""));
    // The editor's own size and scale as a fresh instance has them.
    Session session;
    ASSERT_TRUE(session.ok());
    IPlugView* view = session.instance.controller->createView("editor");
    ASSERT_NE(view, nullptr);
    HostWindow window(1, 1);
    PlugFrame frame(window);
    auto* scaling = ask<IPlugViewContentScaleSupport>(view, iids::PlugViewContentScaleSupport);
    ASSERT_NE(scaling, nullptr);
    if (c.frameFirst)
      view->setFrame(&frame);
    ViewRect given{0, 0, 1100, 700};
    for (int call = 0; call < 2; ++call)
    {
      if ((call == 0) == c.windowFirst)
        EXPECT_EQ(view->onSize(&given), kOk);
      else
        EXPECT_EQ(scaling->setContentScaleFactor(c.contentScale), kOk);
    }
    ViewRect size{};
    view->getSize(&size);
    EXPECT_EQ(Text(Of(size)), c.opensAt);
    window.resize(size.right, size.bottom);
    view->setFrame(&frame);
    ASSERT_EQ(view->attached(window.handle(), "HWND"), kOk);
    EXPECT_EQ(Text(ClientOf(window.editor())), c.opensAt);
    // The page reaches the window's right and bottom edges once drawn: no black band.
    const auto lit = [&](int x, int y) {
      int rgb[3];
      readWindowPicture(window.editor()).at(x, y, rgb);
      return rgb[0] + rgb[1] + rgb[2] > 15;
    };
    const Extent opened = ClientOf(window.editor());
    EXPECT_TRUE(pumpUntil([&] { return lit(opened.width - 3, opened.height / 3) && lit(opened.width / 3, opened.height - 3); }, 60.0));
    view->removed();
    EXPECT_EQ(scaling->setContentScaleFactor(2.0f), kOk);
    pumpUntil([] { return false; }, 0.1);
    EXPECT_TRUE(frame.requests.empty()) << Text(Of(frame.requests.front()));
    releaseAndClear(scaling);
    view->setFrame(nullptr);
    view->release();
  }
}
