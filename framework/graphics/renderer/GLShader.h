#pragma once

#include "GLFunctions.h"

namespace pfw::gui {

// The renderer's GLSL programs: one text for fills, strokes, gradients, images and
// glyphs, compiled once per kind of paint. Each program holds only its kind's code, so a
// software renderer (which runs both sides of every branch) pays for no other kind. The
// vertex attributes are bound to "vertex" (0) and "tcoord" (1); all take the same
// uniform block.
struct GLShader
{
  enum Variant
  {
    kGradient = 0, // shader type 0
    kImage = 1,    // shader type 1
    kStencil = 2,  // shader type 2
    kGlyphs = 3,   // shader type 3: textured triangles
    kSolid = 4,    // shader type 0 with one colour
    kVariantCount = 5,
  };

  struct Program
  {
    gl::GLuint program = 0;
    gl::GLuint vertexShader = 0;
    gl::GLuint fragmentShader = 0;
    gl::GLint viewSizeLocation = -1;
    gl::GLint textureLocation = -1;
    gl::GLint uniformsLocation = -1;
  };

  Program programs[kVariantCount];

  // Compiles and links every variant from the common header, the options (edge
  // anti-aliasing on or off, the variant) and each stage's text; prints the compiler's
  // log under name and returns false when a stage or a link fails (what was made is
  // deleted).
  bool Create(const char* name, bool edgeAntiAlias);
  void Delete();
};

} // namespace pfw::gui
