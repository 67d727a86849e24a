#pragma once

#include "GLFunctions.h"

namespace pfw::gui {

// The renderer's GLSL programs: one text for fills, strokes, gradients, images and
// glyphs, compiled once per kind of paint, with and without the clip mask. Each program
// holds only the code its draws need, so a software renderer (which runs both sides of
// every branch, for every pixel) pays for nothing else: clips on whole pixels are left to
// the GL scissor test. The vertex attributes are bound to "vertex" (0) and "tcoord" (1);
// all take the same uniform block.
struct GLShader
{
  enum Variant
  {
    kGradient = 0, // shader type 0
    kImage = 1,    // shader type 1
    kStencil = 2,  // shader type 2
    kGlyphs = 3,   // shader type 3: textured triangles
    kSolid = 4,    // shader type 0 with one colour
    kLinear = 5,   // shader type 0 whose box is too wide for its sides to be seen
    kVariantCount = 6,
  };
  // Programs without and with the clip mask computed per pixel.
  static constexpr int kMaskForms = 2;

  struct Program
  {
    gl::GLuint program = 0;
    gl::GLuint vertexShader = 0;
    gl::GLuint fragmentShader = 0;
    gl::GLint viewSizeLocation = -1;
    gl::GLint textureLocation = -1;
    gl::GLint uniformsLocation = -1;
  };

  Program programs[kVariantCount][kMaskForms];

  // The program of a kind of paint; the stencil pass has no mask form.
  Program& Get(int variant, bool clipMask) { return programs[variant][variant == kStencil ? 0 : clipMask]; }
  static int Index(int variant, bool clipMask) { return variant * kMaskForms + (variant == kStencil ? 0 : clipMask); }

  // Compiles and links every program from the common header, the options (edge
  // anti-aliasing, strokes drawn through the stencil, the variant, the clip mask) and each
  // stage's text; prints the compiler's log under name and returns false when a stage or
  // a link fails (what was made is deleted).
  bool Create(const char* name, bool edgeAntiAlias, bool stencilStrokes);
  void Delete();
};

} // namespace pfw::gui
