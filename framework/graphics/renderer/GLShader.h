#pragma once

#include "GLFunctions.h"

namespace pfw::gui {

// The renderer's one GLSL program: fills, strokes, gradients, images and glyphs. The
// vertex attributes are bound to "vertex" (0) and "tcoord" (1).
struct GLShader
{
  gl::GLuint program = 0;
  gl::GLuint vertexShader = 0;
  gl::GLuint fragmentShader = 0;
  gl::GLint viewSizeLocation = -1;
  gl::GLint textureLocation = -1;
  gl::GLint uniformsLocation = -1;

  // Compiles and links both stages from the common header, the options (edge
  // anti-aliasing on or off) and each stage's text; prints the compiler's log under
  // name and returns false when a stage or the link fails (what was made is deleted).
  bool Create(const char* name, bool edgeAntiAlias);
  void Delete();
};

} // namespace pfw::gui
