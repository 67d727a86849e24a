#pragma once

#include "GLTestWindow.h"

#include "framework/graphics/renderer/IGuiVG.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

// Pixels read back from a framebuffer, rows top-down, RGBA.
struct PixelImage
{
  int width = 0;
  int height = 0;
  std::vector<unsigned char> rgba;

  struct Pixel
  {
    int r = 0, g = 0, b = 0, a = 0;
  };
  Pixel At(int x, int y) const;
  // Writes the image as a PNG under the test's output folder; returns the path.
  std::string WritePng(const std::string& name) const;
  // The image as the bytes of a PNG file.
  std::vector<unsigned char> EncodePng() const;
};

// A platform font over font-file bytes, as the platform layer hands it to the renderer.
class MemoryFont : public pfw::gui::PlatformFont
{
public:
  MemoryFont(const void* data, int size);
  std::unique_ptr<pfw::gui::FontData> GetFontData() const override;

private:
  const void* mData;
  int mSize;
};

// An IGuiVG in a real window with a real GL context and no other platform: what is
// drawn lands in the main framebuffer, where the tests read it.
class TestGuiVG : public pfw::gui::IGuiVG
{
public:
  using DrawFunc = std::function<void(pfw::gui::IGui&)>;

  TestGuiVG(pfw::IGuiEditorDelegate& delegate, int width, int height, float drawScale = 1.f)
    : pfw::gui::IGuiVG(delegate, width, height, 60, drawScale)
  {
  }
  ~TestGuiVG() override { CloseWindow(); }

  // Opens the window at the given screen scale with the vector context and the main
  // framebuffer made; false with the reason in Error().
  bool Open(float screenScale);
  const std::string& Error() const { return mError; }
  // One frame over the whole window that clears it and runs draw.
  void DrawFrame(const DrawFunc& draw);
  // One frame that redraws only area, the rest of the main framebuffer kept.
  void DrawArea(const pfw::gui::IRectF& area, const DrawFunc& draw);
  // Paints the window's back buffer one opaque colour, as an earlier frame may have left it.
  void PaintWindow(int r, int g, int b);
  // The main framebuffer as it stands.
  PixelImage ReadMain();
  // The window's back buffer, where the end of the frame copied the main framebuffer.
  PixelImage ReadWindow();
  int PixelWidth() const;
  int PixelHeight() const;

  // ---- platform (nothing of it is used by the drawing) ----
  void* OpenWindow(void*) override { return Open(1.f) ? this : nullptr; }
  void CloseWindow() override;
  void* GetWindow() override { return mOpen ? this : nullptr; }
  void ActivateGLContext() override { mWindow.MakeCurrent(); }
  void GetMouseLocation(float& x, float& y) const override { x = y = 0.f; }
  void HideMouseCursor(bool, bool) override {}
  void MoveMouseCursor(float, float) override {}
  void ForceEndUserEdit() override {}
  bool GetTextFromClipboard(pfw::GrowString&) override { return false; }
  bool SetTextInClipboard(const char*) override { return false; }
  int ShowMessageBox(const char*, const char*, int, MessageBoxCompletion) override { return 0; }
  bool PromptForFile(pfw::GrowString&, pfw::GrowString&, bool, const char*, FileCompletion) override { return false; }
  bool PromptForDirectory(pfw::GrowString&, FileCompletion) override { return false; }
  bool PromptForColor(pfw::gui::IArgbColour&, const char*, ColourCompletion) override { return false; }
  bool OpenURL(const char*) override { return false; }
  std::unique_ptr<pfw::gui::PlatformFont> LoadPlatformFontByName(const char*, const char*, int) override
  {
    return nullptr;
  }
  std::unique_ptr<pfw::gui::PlatformFont> LoadPlatformFontFromMemory(const char*, const void* data,
                                                                     int size) override
  {
    return std::make_unique<MemoryFont>(data, size);
  }
  std::unique_ptr<pfw::gui::PlatformFont> LoadPlatformFontFromFileOrResource(const char*, const char*) override
  {
    return nullptr;
  }
  void CachePlatformFont(const char*, const pfw::gui::PlatformFont&) override {}
  void CreatePlatformTextEntry(int, const pfw::gui::ITextStyle&, const pfw::gui::IRectF&, int, const char*) override
  {
  }
  pfw::gui::IPopupMenu* CreatePlatformPopupMenu(pfw::gui::IPopupMenu&, const pfw::gui::IRectF&, bool&) override
  {
    return nullptr;
  }

private:
  PixelImage Read(unsigned framebuffer);

  GLTestWindow mWindow;
  bool mOpen = false;
  std::string mError;
  std::unique_ptr<DrawFunc> mDraw;
};

// Counts the GL textures, framebuffers and renderbuffers alive among the first names,
// straight from GL.
struct GLObjectCount
{
  int textures = 0;
  int framebuffers = 0;
  int renderbuffers = 0;
  static GLObjectCount Take();
  bool operator==(const GLObjectCount& o) const
  {
    return textures == o.textures && framebuffers == o.framebuffers && renderbuffers == o.renderbuffers;
  }
};
