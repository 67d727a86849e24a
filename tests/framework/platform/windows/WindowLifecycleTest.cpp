#include "EditorWindowFixture.h"

#include <cstdio>

using namespace pfw::gui;

namespace {

bool WindowClassRegistered()
{
  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  return GetClassInfoExW(GetModuleHandleW(nullptr), L"PluginWndClass", &windowClass) != FALSE;
}

int ThreadWindowCount()
{
  int count = 0;
  EnumThreadWindows(
    GetCurrentThreadId(), [](HWND, LPARAM counter) { return ++*reinterpret_cast<int*>(counter), TRUE; },
    reinterpret_cast<LPARAM>(&count));
  return count;
}

struct HandleCounts
{
  DWORD gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  DWORD user = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
  int windows = ThreadWindowCount();
};

SIZE WindowSize(HWND window)
{
  RECT r;
  GetWindowRect(window, &r);
  return {r.right - r.left, r.bottom - r.top};
}

UINT gDpi = 96;

} // namespace

TEST_F(EditorWindowTest, OneDirtyControlRepaintsAloneAndNothingDirtyPaintsNothing)
{
  ASSERT_TRUE(Open());
  CountingControl* a = Add(IRectF(10, 10, 60, 60));
  CountingControl* b = Add(IRectF(100, 10, 150, 60));
  CountingControl* c = Add(IRectF(200, 10, 250, 60));
  const auto draws = [&] { return std::vector<int>{a->draws, b->draws, c->draws}; };
  ASSERT_TRUE(PumpUntil([&] { return a->draws && b->draws && c->draws; }));
  Tick();
  const std::vector<int> before = draws();

  PumpUntil([] { return false; }, 0.2);
  EXPECT_EQ(draws(), before) << "frames with nothing to draw";
  b->SetDirty(false);
  ASSERT_TRUE(PumpUntil([&] { return b->draws == before[1] + 1; }));
  PumpUntil([] { return false; }, 0.2);
  EXPECT_EQ(draws(), (std::vector<int>{before[0], before[1] + 1, before[2]}));
}

TEST_F(EditorWindowTest, AMonitorAtOneAndAHalfTakesEffectOnTheFirstTickWithoutCapture)
{
  Machine().getDpiForWindow = [](HWND) { return gDpi; };
  gDpi = 144;
  ASSERT_TRUE(Open());
  EXPECT_EQ(gui->GetScreenScale(), 1.f);
  EXPECT_EQ(WindowSize(editor).cx, 300);

  SetCapture(editor);
  Tick();
  EXPECT_EQ(gui->GetScreenScale(), 1.f) << "not while a drag holds the mouse";
  ReleaseCapture();
  Tick();
  EXPECT_EQ(gui->GetScreenScale(), 1.5f);
  EXPECT_EQ(WindowSize(editor).cx, 450);
  EXPECT_EQ(WindowSize(editor).cy, 300);
  ASSERT_FALSE(delegate.resizes.empty());
  EXPECT_EQ(delegate.resizes.back(), std::make_pair(450, 300));
}

TEST_F(EditorWindowTest, AResizeTheHostHasNotMadeGrowsTheParentToo)
{
  ASSERT_TRUE(Open());
  const SIZE hostBefore = WindowSize(host.Handle());
  gui->Resize(400, 250, 1.f, false);
  EXPECT_EQ(WindowSize(editor).cx, 400);
  EXPECT_EQ(WindowSize(editor).cy, 250);
  EXPECT_EQ(WindowSize(host.Handle()).cx, hostBefore.cx + 100);
  EXPECT_EQ(WindowSize(host.Handle()).cy, hostBefore.cy + 50);
}

TEST(EditorLifecycle, OpenAndCloseCyclesLeaveNoWindowClassOrHandleBehind)
{
  MachineOverride machine;
  Machine().getDpiForWindow = [](HWND) { return gDpi; };
  HostWindow& first = SharedHost(0);
  HostWindow& second = SharedHost(1);
  FakeDelegate delegates[2];
  for (FakeDelegate& delegate : delegates)
    delegate.SetMakeGraphicsFunc([&delegate] { return new IGuiWin(delegate, 300, 200, 30); });
  ASSERT_FALSE(WindowClassRegistered());
  const HandleCounts baseline;

  for (int cycle = 0; cycle < 20; ++cycle)
  {
    // Alternately the timer and the vertical-blank thread, and a monitor at 144 DPI.
    Machine().isWindows8OrLater = cycle % 2 ? +[] { return true; } : +[] { return false; };
    gDpi = cycle % 4 == 3 ? 144 : 96;
    ASSERT_TRUE(delegates[0].OpenWindow(first.Handle()));
    auto* gui = static_cast<IGuiWin*>(delegates[0].GetGraphics());
    gui->EnableTooltips(true);
    gui->OpenWindow(first.Handle()); // opened again, in the same place
    gui->AttachControl(new CountingControl(IRectF(0, 0, 50, 50)));
    EXPECT_TRUE(PumpUntil([&] { return gui->GetScreenScale() == gDpi / 96.f; }));
    delegates[0].CloseWindow();
    delegates[0].CloseWindow();
  }
  EXPECT_FALSE(WindowClassRegistered());

  ASSERT_TRUE(delegates[0].OpenWindow(first.Handle()));
  ASSERT_TRUE(delegates[1].OpenWindow(second.Handle()));
  EXPECT_EQ(IGuiWin::OpenWindowCount(), 2);
  delegates[0].CloseWindow();
  EXPECT_TRUE(WindowClassRegistered()) << "the other editor still uses it";
  delegates[1].CloseWindow();
  EXPECT_FALSE(WindowClassRegistered());
  EXPECT_EQ(IGuiWin::OpenWindowCount(), 0);

  PumpQueued();
  const HandleCounts after;
  std::printf("GDI objects %lu -> %lu, USER objects %lu -> %lu, thread windows %d -> %d\n", baseline.gdi, after.gdi,
              baseline.user, after.user, baseline.windows, after.windows);
  EXPECT_EQ(after.gdi, baseline.gdi);
  EXPECT_EQ(after.user, baseline.user);
  EXPECT_EQ(after.windows, baseline.windows);
  EXPECT_FALSE(first.HasChildren());
  EXPECT_FALSE(second.HasChildren());
}

TEST_F(EditorWindowTest, TheHostsGLContextIsCurrentAgainAfterOpeningAndAfterNestedUse)
{
  // A host that draws with GL itself, its context current when the editor opens.
  HostWindow glHost;
  HDC hostDC = GetDC(glHost.Handle());
  PIXELFORMATDESCRIPTOR format = {};
  format.nSize = sizeof(format);
  format.nVersion = 1;
  format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
  format.cColorBits = 32;
  SetPixelFormat(hostDC, ChoosePixelFormat(hostDC, &format), &format);
  HGLRC hostContext = wglCreateContext(hostDC);
  ASSERT_TRUE(wglMakeCurrent(hostDC, hostContext));

  gui = std::make_unique<IGuiWin>(delegate, 300, 200, 30);
  ASSERT_TRUE(gui->OpenWindow(glHost.Handle()));
  EXPECT_EQ(wglGetCurrentContext(), hostContext);
  gui->ActivateGLContext();
  HGLRC editorContext = wglGetCurrentContext();
  EXPECT_NE(editorContext, hostContext);
  gui->ActivateGLContext();
  gui->DeactivateGLContext();
  EXPECT_EQ(wglGetCurrentContext(), editorContext);
  gui->DeactivateGLContext();
  EXPECT_EQ(wglGetCurrentContext(), hostContext);

  gui.reset();
  EXPECT_EQ(wglGetCurrentContext(), hostContext);
  wglMakeCurrent(nullptr, nullptr);
  wglDeleteContext(hostContext);
  ReleaseDC(glHost.Handle(), hostDC);
}
