#include "GLFramebuffer.h"

#include "GLBackend.h"

#include <new>

namespace pfw::gui {

using namespace gl;

namespace {
bool AttachStencil(GLuint renderbuffer, GLuint texture, GLenum format, int width, int height)
{
  glRenderbufferStorage(GL_RENDERBUFFER, format, width, height);
  glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
  glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_STENCIL_ATTACHMENT, GL_RENDERBUFFER, renderbuffer);
  return glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
}
} // namespace

VectorFramebuffer* CreateFramebuffer(GLBackend& backend, int width, int height, int imageFlags)
{
  GLint previousFramebuffer = 0;
  GLint previousRenderbuffer = 0;
  glGetIntegerv(GL_FRAMEBUFFER_BINDING, &previousFramebuffer);
  glGetIntegerv(GL_RENDERBUFFER_BINDING, &previousRenderbuffer);

  VectorFramebuffer* fb = new (std::nothrow) VectorFramebuffer;
  if (!fb)
    return nullptr;
  fb->backend = &backend;
  fb->image = backend.CreateTexture(kTextureRGBA, width, height, imageFlags | kImageFlipY | kImagePremultiplied,
                                    nullptr);
  fb->texture = backend.TextureName(fb->image);
  bool complete = false;
  if (fb->texture)
  {
    glGenFramebuffers(1, &fb->framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, fb->framebuffer);
    glGenRenderbuffers(1, &fb->renderbuffer);
    glBindRenderbuffer(GL_RENDERBUFFER, fb->renderbuffer);
    // Some drivers take stencil only packed with depth.
    complete = AttachStencil(fb->renderbuffer, fb->texture, GL_STENCIL_INDEX8, width, height) ||
               AttachStencil(fb->renderbuffer, fb->texture, GL_DEPTH24_STENCIL8, width, height);
  }
  glBindFramebuffer(GL_FRAMEBUFFER, static_cast<GLuint>(previousFramebuffer));
  glBindRenderbuffer(GL_RENDERBUFFER, static_cast<GLuint>(previousRenderbuffer));
  if (!complete)
  {
    DeleteFramebuffer(fb);
    return nullptr;
  }
  return fb;
}

void DeleteFramebuffer(VectorFramebuffer* fb)
{
  if (!fb)
    return;
  if (fb->framebuffer)
    glDeleteFramebuffers(1, &fb->framebuffer);
  if (fb->renderbuffer)
    glDeleteRenderbuffers(1, &fb->renderbuffer);
  if (fb->image > 0 && fb->backend)
    fb->backend->DeleteTexture(fb->image);
  delete fb;
}

} // namespace pfw::gui
