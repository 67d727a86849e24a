#pragma once

#include <windows.h>

#include <string>

// A visible top-level window with a double-buffered WGL context (8-bit stencil), made
// current on the calling thread with the renderer's GL functions loaded: what the
// platform layer gives the renderer, for tests that draw real pixels.
class GLTestWindow
{
public:
  GLTestWindow() = default;
  ~GLTestWindow() { Close(); }
  GLTestWindow(const GLTestWindow&) = delete;
  GLTestWindow& operator=(const GLTestWindow&) = delete;

  // False with error set when any step fails.
  bool Open(int width, int height);
  void Close();
  void MakeCurrent() const;
  const std::string& Error() const { return mError; }

private:
  bool Fail(const char* step);

  HWND mWindow = nullptr;
  HDC mDC = nullptr;
  HGLRC mContext = nullptr;
  std::string mError;
};
