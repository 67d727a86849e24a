#include "EditorWindowFixture.h"

using namespace pfw::gui;

void CountingControl::Draw(IGui& g)
{
  ++draws;
  g.FillRoundRect(colour, mRECT, cornerRadius);
  if (onDraw)
    onDraw();
}

HostWindow& SharedHost(int index)
{
  // Left for the system to close with the process.
  static HostWindow* hosts[2] = {new HostWindow(true), new HostWindow(true)};
  HostWindow& host = *hosts[index];
  host.Reset();
  return host;
}

HostWindow::HostWindow(bool visible)
{
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = Proc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"EditorHostWindow";
  RegisterClassW(&windowClass);
  mHandle = CreateWindowExW(0, L"EditorHostWindow", L"Host", WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0), 10, 10,
                            400, 300, nullptr, nullptr, windowClass.hInstance, this);
}

void HostWindow::Reset()
{
  SetWindowPos(mHandle, nullptr, 200, 150, 400, 300, SWP_NOZORDER | SWP_NOACTIVATE);
  keys.clear();
  echoKeys = false;
}

HostWindow::~HostWindow()
{
  DestroyWindow(mHandle);
}

LRESULT CALLBACK HostWindow::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
  if (message == WM_NCCREATE)
    SetWindowLongPtrW(window, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
  auto* self = reinterpret_cast<HostWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self && message == WM_KEYDOWN)
  {
    self->keys.push_back(wParam);
    if (self->echoKeys && GetFocus() && GetFocus() != window)
      SendMessageW(GetFocus(), message, wParam, lParam);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

HWND EditorWindowTest::Open()
{
  gui = std::make_unique<IGuiWin>(delegate, 300, 200, 30);
  editor = static_cast<HWND>(gui->OpenWindow(host.Handle()));
  return editor;
}

CountingControl* EditorWindowTest::Add(const IRectF& bounds, int paramIdx)
{
  auto* control = new CountingControl(bounds, paramIdx);
  gui->AttachControl(control);
  return control;
}
