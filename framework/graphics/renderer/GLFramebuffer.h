#pragma once

#include "GLFunctions.h"

namespace pfw::gui {

class GLBackend;

// An off-screen RGBA drawing target with its own stencil: a framebuffer object whose
// colour is an image of the back end (flipped and premultiplied, so it can be drawn as
// a paint), used for the main framebuffer and for layers.
struct VectorFramebuffer
{
  GLBackend* backend = nullptr;
  gl::GLuint framebuffer = 0;
  gl::GLuint renderbuffer = 0;
  gl::GLuint texture = 0;
  int image = -1;
};

// Leaves the framebuffer and renderbuffer bindings as they were. Null when the image or
// a complete framebuffer cannot be made (nothing is left behind then).
VectorFramebuffer* CreateFramebuffer(GLBackend& backend, int width, int height, int imageFlags);
// Frees the GL objects, the image and the record; null does nothing.
void DeleteFramebuffer(VectorFramebuffer* framebuffer);

} // namespace pfw::gui
