#include "TestGuiVG.h"

#include "framework/graphics/renderer/GLFramebuffer.h"
#include "framework/graphics/renderer/GLFunctions.h"

#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>

#include <cstring>

using namespace pfw::gui;
using namespace pfw::gl;

PixelImage::Pixel PixelImage::At(int x, int y) const
{
  if (x < 0 || y < 0 || x >= width || y >= height)
    return Pixel{-1, -1, -1, -1};
  const unsigned char* p = &rgba[(static_cast<size_t>(y) * width + x) * 4];
  return Pixel{p[0], p[1], p[2], p[3]};
}

std::string PixelImage::WritePng(const std::string& name) const
{
  const std::string path = std::string(TARNWICK_TEST_OUTPUT_DIR) + "/" + name + ".png";
  stbi_write_png(path.c_str(), width, height, 4, rgba.data(), width * 4);
  return path;
}

std::vector<unsigned char> PixelImage::EncodePng() const
{
  std::vector<unsigned char> bytes;
  stbi_write_png_to_func(
    [](void* context, void* data, int size) {
      auto* out = static_cast<std::vector<unsigned char>*>(context);
      out->insert(out->end(), static_cast<unsigned char*>(data), static_cast<unsigned char*>(data) + size);
    },
    &bytes, width, height, 4, rgba.data(), width * 4);
  return bytes;
}

MemoryFont::MemoryFont(const void* data, int size)
  : mData(data), mSize(size)
{
}

std::unique_ptr<FontData> MemoryFont::GetFontData() const
{
  auto data = std::make_unique<FontData>();
  if (data->Assign(mData, mSize))
    data->SelectFace("");
  return data;
}

namespace {
// A control that draws whatever the test asks, over the whole window.
class DrawingControl : public IControl
{
public:
  DrawingControl(const IRectF& bounds, const TestGuiVG::DrawFunc& draw)
    : IControl(bounds), mDraw(draw)
  {
  }
  void Draw(IGui& g) override { mDraw(g); }

private:
  TestGuiVG::DrawFunc mDraw;
};
} // namespace

bool TestGuiVG::Open(float screenScale)
{
  int w = static_cast<int>(static_cast<int>(Width() * GetDrawScale()) * screenScale);
  int h = static_cast<int>(static_cast<int>(Height() * GetDrawScale()) * screenScale);
  if (!mWindow.Open(w, h))
  {
    mError = mWindow.Error();
    return false;
  }
  mOpen = true;
  OnViewInitialized(nullptr);
  if (!GetDrawContext())
  {
    mError = "no vector context";
    return false;
  }
  SetScreenScale(screenScale);
  if (!MainFramebuffer())
  {
    mError = "no main framebuffer";
    return false;
  }
  return true;
}

void TestGuiVG::CloseWindow()
{
  if (!mOpen)
    return;
  mWindow.MakeCurrent();
  OnViewDestroyed();
  mWindow.Close();
  mOpen = false;
}

int TestGuiVG::PixelWidth() const
{
  return static_cast<int>(static_cast<int>(Width() * GetDrawScale()) * GetScreenScale());
}

int TestGuiVG::PixelHeight() const
{
  return static_cast<int>(static_cast<int>(Height() * GetDrawScale()) * GetScreenScale());
}

void TestGuiVG::DrawFrame(const DrawFunc& draw)
{
  ActivateGLContext();
  if (MainFramebuffer())
  {
    glBindFramebuffer(GL_FRAMEBUFFER, MainFramebuffer()->framebuffer);
    glClearColor(0.f, 0.f, 0.f, 0.f);
    glClear(GL_COLOR_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    glBindFramebuffer(GL_FRAMEBUFFER, DefaultFramebuffer());
  }
  DrawArea(GetBounds(), draw);
}

void TestGuiVG::DrawArea(const IRectF& area, const DrawFunc& draw)
{
  RemoveAllControls();
  AttachControl(new DrawingControl(GetBounds(), draw));
  ActivateGLContext();
  IRectFList rects;
  rects.Add(area);
  Draw(rects);
}

void TestGuiVG::PaintWindow(int r, int g, int b)
{
  ActivateGLContext();
  glBindFramebuffer(GL_FRAMEBUFFER, DefaultFramebuffer());
  glClearColor(r / 255.f, g / 255.f, b / 255.f, 1.f);
  glClear(GL_COLOR_BUFFER_BIT);
}

PixelImage TestGuiVG::ReadMain()
{
  return MainFramebuffer() ? Read(MainFramebuffer()->framebuffer) : PixelImage();
}

PixelImage TestGuiVG::ReadWindow()
{
  return Read(DefaultFramebuffer());
}

PixelImage TestGuiVG::Read(unsigned framebuffer)
{
  PixelImage image;
  image.width = PixelWidth();
  image.height = PixelHeight();
  image.rgba.assign(static_cast<size_t>(image.width) * image.height * 4, 0);
  GLint previous = 0;
  glGetIntegerv(GL_FRAMEBUFFER_BINDING, &previous);
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  std::vector<unsigned char> bottomUp(image.rgba.size());
  glReadPixels(0, 0, image.width, image.height, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
  glBindFramebuffer(GL_FRAMEBUFFER, static_cast<GLuint>(previous));
  const size_t row = static_cast<size_t>(image.width) * 4;
  for (int y = 0; y < image.height; ++y)
    std::memcpy(&image.rgba[y * row], &bottomUp[(image.height - 1 - y) * row], row);
  return image;
}

GLObjectCount GLObjectCount::Take()
{
  using IsObject = GLboolean(TARNWICK_GLAPI*)(GLuint);
  HMODULE library = GetModuleHandleW(L"opengl32.dll");
  const auto isTexture = reinterpret_cast<IsObject>(reinterpret_cast<void*>(GetProcAddress(library, "glIsTexture")));
  const auto isFramebuffer = reinterpret_cast<IsObject>(reinterpret_cast<void*>(wglGetProcAddress("glIsFramebuffer")));
  const auto isRenderbuffer =
    reinterpret_cast<IsObject>(reinterpret_cast<void*>(wglGetProcAddress("glIsRenderbuffer")));
  GLObjectCount count;
  for (GLuint name = 1; name < 512; ++name)
  {
    count.textures += isTexture && isTexture(name) ? 1 : 0;
    count.framebuffers += isFramebuffer && isFramebuffer(name) ? 1 : 0;
    count.renderbuffers += isRenderbuffer && isRenderbuffer(name) ? 1 : 0;
  }
  return count;
}
