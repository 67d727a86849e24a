#pragma once

// The OpenGL types, constants and entry points the renderer uses, declared here (the
// system's GL header stops at version 1.1) and resolved by name at run time.

#include <cstddef>

#if defined(_WIN32)
#define TARNWICK_GLAPI __stdcall
#else
#define TARNWICK_GLAPI
#endif

namespace pfw::gl {

using GLenum = unsigned int;
using GLboolean = unsigned char;
using GLbitfield = unsigned int;
using GLint = int;
using GLuint = unsigned int;
using GLsizei = int;
using GLfloat = float;
using GLchar = char;
using GLubyte = unsigned char;
using GLsizeiptr = std::ptrdiff_t;

// Entry points that opengl32.dll exports itself (OpenGL 1.1); wglGetProcAddress does not
// return these.
#define TARNWICK_GL11_FUNCTIONS(X)                                                                                   \
  X(void, glBindTexture, (GLenum target, GLuint texture))                                                            \
  X(void, glClear, (GLbitfield mask))                                                                                \
  X(void, glClearColor, (GLfloat r, GLfloat g, GLfloat b, GLfloat a))                                                \
  X(void, glColorMask, (GLboolean r, GLboolean g, GLboolean b, GLboolean a))                                         \
  X(void, glCullFace, (GLenum mode))                                                                                 \
  X(void, glDeleteTextures, (GLsizei n, const GLuint* textures))                                                     \
  X(void, glDisable, (GLenum cap))                                                                                   \
  X(void, glDrawArrays, (GLenum mode, GLint first, GLsizei count))                                                   \
  X(void, glEnable, (GLenum cap))                                                                                    \
  X(void, glFinish, ())                                                                                              \
  X(void, glFrontFace, (GLenum mode))                                                                                \
  X(void, glGenTextures, (GLsizei n, GLuint * textures))                                                             \
  X(GLenum, glGetError, ())                                                                                          \
  X(void, glGetIntegerv, (GLenum name, GLint * values))                                                              \
  X(GLboolean, glIsEnabled, (GLenum cap))                                                                            \
  X(void, glPixelStorei, (GLenum name, GLint value))                                                                 \
  X(void, glScissor, (GLint x, GLint y, GLsizei w, GLsizei h))                                                      \
  X(void, glReadPixels, (GLint x, GLint y, GLsizei w, GLsizei h, GLenum format, GLenum type, void* pixels))          \
  X(void, glStencilFunc, (GLenum func, GLint ref, GLuint mask))                                                      \
  X(void, glStencilMask, (GLuint mask))                                                                              \
  X(void, glStencilOp, (GLenum fail, GLenum zfail, GLenum zpass))                                                    \
  X(void, glTexImage2D,                                                                                              \
    (GLenum target, GLint level, GLint internalFormat, GLsizei w, GLsizei h, GLint border, GLenum format,            \
     GLenum type, const void* pixels))                                                                               \
  X(void, glTexParameteri, (GLenum target, GLenum name, GLint value))                                                \
  X(void, glTexSubImage2D,                                                                                           \
    (GLenum target, GLint level, GLint x, GLint y, GLsizei w, GLsizei h, GLenum format, GLenum type,                 \
     const void* pixels))                                                                                            \
  X(void, glViewport, (GLint x, GLint y, GLsizei w, GLsizei h))

// Later entry points (OpenGL 2.0 and framebuffer objects), through wglGetProcAddress.
#define TARNWICK_GL2_FUNCTIONS(X)                                                                                    \
  X(void, glActiveTexture, (GLenum texture))                                                                         \
  X(void, glAttachShader, (GLuint program, GLuint shader))                                                           \
  X(void, glBindAttribLocation, (GLuint program, GLuint index, const GLchar* name))                                  \
  X(void, glBindBuffer, (GLenum target, GLuint buffer))                                                              \
  X(void, glBindFramebuffer, (GLenum target, GLuint framebuffer))                                                    \
  X(void, glBindRenderbuffer, (GLenum target, GLuint renderbuffer))                                                  \
  X(void, glBlendFuncSeparate, (GLenum srcRgb, GLenum dstRgb, GLenum srcAlpha, GLenum dstAlpha))                     \
  X(void, glBlitFramebuffer,                                                                                         \
    (GLint srcX0, GLint srcY0, GLint srcX1, GLint srcY1, GLint dstX0, GLint dstY0, GLint dstX1, GLint dstY1,         \
     GLbitfield mask, GLenum filter))                                                                                \
  X(void, glBufferData, (GLenum target, GLsizeiptr size, const void* data, GLenum usage))                            \
  X(GLenum, glCheckFramebufferStatus, (GLenum target))                                                               \
  X(void, glCompileShader, (GLuint shader))                                                                          \
  X(GLuint, glCreateProgram, ())                                                                                     \
  X(GLuint, glCreateShader, (GLenum type))                                                                           \
  X(void, glDeleteBuffers, (GLsizei n, const GLuint* buffers))                                                       \
  X(void, glDeleteFramebuffers, (GLsizei n, const GLuint* framebuffers))                                             \
  X(void, glDeleteProgram, (GLuint program))                                                                         \
  X(void, glDeleteRenderbuffers, (GLsizei n, const GLuint* renderbuffers))                                           \
  X(void, glDeleteShader, (GLuint shader))                                                                           \
  X(void, glDisableVertexAttribArray, (GLuint index))                                                                \
  X(void, glEnableVertexAttribArray, (GLuint index))                                                                 \
  X(void, glFramebufferRenderbuffer, (GLenum target, GLenum attachment, GLenum rbTarget, GLuint renderbuffer))       \
  X(void, glFramebufferTexture2D, (GLenum target, GLenum attachment, GLenum texTarget, GLuint texture, GLint level))  \
  X(void, glGenBuffers, (GLsizei n, GLuint * buffers))                                                               \
  X(void, glGenFramebuffers, (GLsizei n, GLuint * framebuffers))                                                     \
  X(void, glGenRenderbuffers, (GLsizei n, GLuint * renderbuffers))                                                   \
  X(void, glGetProgramInfoLog, (GLuint program, GLsizei size, GLsizei * length, GLchar * log))                       \
  X(void, glGetProgramiv, (GLuint program, GLenum name, GLint * value))                                              \
  X(void, glGetShaderInfoLog, (GLuint shader, GLsizei size, GLsizei * length, GLchar * log))                         \
  X(void, glGetShaderiv, (GLuint shader, GLenum name, GLint * value))                                                \
  X(GLint, glGetUniformLocation, (GLuint program, const GLchar* name))                                               \
  X(void, glLinkProgram, (GLuint program))                                                                           \
  X(void, glRenderbufferStorage, (GLenum target, GLenum format, GLsizei w, GLsizei h))                               \
  X(void, glShaderSource, (GLuint shader, GLsizei count, const GLchar* const* strings, const GLint* lengths))         \
  X(void, glStencilOpSeparate, (GLenum face, GLenum fail, GLenum zfail, GLenum zpass))                               \
  X(void, glUniform1i, (GLint location, GLint value))                                                                \
  X(void, glUniform2fv, (GLint location, GLsizei count, const GLfloat* values))                                      \
  X(void, glUniform4fv, (GLint location, GLsizei count, const GLfloat* values))                                      \
  X(void, glUseProgram, (GLuint program))                                                                            \
  X(void, glVertexAttribPointer,                                                                                     \
    (GLuint index, GLint size, GLenum type, GLboolean normalized, GLsizei stride, const void* offset))

#define TARNWICK_GL_DECLARE(ret, name, args)                                                                         \
  using PFN_##name = ret(TARNWICK_GLAPI*) args;                                                                      \
  extern PFN_##name name;
TARNWICK_GL11_FUNCTIONS(TARNWICK_GL_DECLARE)
TARNWICK_GL2_FUNCTIONS(TARNWICK_GL_DECLARE)
#undef TARNWICK_GL_DECLARE

// Resolves every entry point above. Needs a GL context current on the calling thread
// (wglGetProcAddress answers only then). False when any entry point is missing; then
// firstMissing (when given) names it, the renderer must not be created for that context,
// and the entry points found before stay in place.
bool LoadFunctions(const char** firstMissing = nullptr);
// True once a LoadFunctions found everything.
bool FunctionsLoaded();

constexpr GLenum GL_NO_ERROR = 0;
constexpr GLenum GL_INVALID_ENUM = 0x0500;

constexpr GLenum GL_TRIANGLES = 0x0004;
constexpr GLenum GL_TRIANGLE_STRIP = 0x0005;
constexpr GLenum GL_TRIANGLE_FAN = 0x0006;

constexpr GLenum GL_ZERO = 0;
constexpr GLenum GL_ONE = 1;
constexpr GLenum GL_SRC_COLOR = 0x0300;
constexpr GLenum GL_ONE_MINUS_SRC_COLOR = 0x0301;
constexpr GLenum GL_SRC_ALPHA = 0x0302;
constexpr GLenum GL_ONE_MINUS_SRC_ALPHA = 0x0303;
constexpr GLenum GL_DST_ALPHA = 0x0304;
constexpr GLenum GL_ONE_MINUS_DST_ALPHA = 0x0305;
constexpr GLenum GL_DST_COLOR = 0x0306;
constexpr GLenum GL_ONE_MINUS_DST_COLOR = 0x0307;
constexpr GLenum GL_SRC_ALPHA_SATURATE = 0x0308;
constexpr GLenum GL_BLEND_DST_RGB = 0x80C8;
constexpr GLenum GL_BLEND_SRC_RGB = 0x80C9;
constexpr GLenum GL_BLEND_DST_ALPHA = 0x80CA;
constexpr GLenum GL_BLEND_SRC_ALPHA = 0x80CB;

constexpr GLenum GL_FRONT = 0x0404;
constexpr GLenum GL_BACK = 0x0405;
constexpr GLenum GL_CCW = 0x0901;
constexpr GLenum GL_CULL_FACE = 0x0B44;
constexpr GLenum GL_DEPTH_TEST = 0x0B71;
constexpr GLenum GL_STENCIL_TEST = 0x0B90;
constexpr GLenum GL_BLEND = 0x0BE2;
constexpr GLenum GL_SCISSOR_TEST = 0x0C11;
constexpr GLenum GL_VIEWPORT = 0x0BA2;

constexpr GLenum GL_EQUAL = 0x0202;
constexpr GLenum GL_NOTEQUAL = 0x0205;
constexpr GLenum GL_ALWAYS = 0x0207;
constexpr GLenum GL_KEEP = 0x1E00;
constexpr GLenum GL_INCR = 0x1E02;
constexpr GLenum GL_INCR_WRAP = 0x8507;
constexpr GLenum GL_DECR_WRAP = 0x8508;

constexpr GLbitfield GL_DEPTH_BUFFER_BIT = 0x0100;
constexpr GLbitfield GL_STENCIL_BUFFER_BIT = 0x0400;
constexpr GLbitfield GL_COLOR_BUFFER_BIT = 0x4000;

constexpr GLenum GL_UNSIGNED_BYTE = 0x1401;
constexpr GLenum GL_FLOAT = 0x1406;
constexpr GLenum GL_RGBA = 0x1908;
constexpr GLenum GL_LUMINANCE = 0x1909;

constexpr GLenum GL_TEXTURE_2D = 0x0DE1;
constexpr GLenum GL_TEXTURE0 = 0x84C0;
constexpr GLenum GL_UNPACK_ROW_LENGTH = 0x0CF2;
constexpr GLenum GL_UNPACK_SKIP_ROWS = 0x0CF3;
constexpr GLenum GL_UNPACK_SKIP_PIXELS = 0x0CF4;
constexpr GLenum GL_UNPACK_ALIGNMENT = 0x0CF5;
constexpr GLenum GL_PACK_ALIGNMENT = 0x0D05;
constexpr GLenum GL_GENERATE_MIPMAP = 0x8191;
constexpr GLenum GL_TEXTURE_MAG_FILTER = 0x2800;
constexpr GLenum GL_TEXTURE_MIN_FILTER = 0x2801;
constexpr GLenum GL_TEXTURE_WRAP_S = 0x2802;
constexpr GLenum GL_TEXTURE_WRAP_T = 0x2803;
constexpr GLint GL_NEAREST = 0x2600;
constexpr GLint GL_LINEAR = 0x2601;
constexpr GLint GL_NEAREST_MIPMAP_NEAREST = 0x2700;
constexpr GLint GL_LINEAR_MIPMAP_LINEAR = 0x2703;
constexpr GLint GL_REPEAT = 0x2901;
constexpr GLint GL_CLAMP_TO_EDGE = 0x812F;

constexpr GLenum GL_ARRAY_BUFFER = 0x8892;
constexpr GLenum GL_STREAM_DRAW = 0x88E0;

constexpr GLenum GL_FRAGMENT_SHADER = 0x8B30;
constexpr GLenum GL_VERTEX_SHADER = 0x8B31;
constexpr GLenum GL_COMPILE_STATUS = 0x8B81;
constexpr GLenum GL_LINK_STATUS = 0x8B82;

constexpr GLenum GL_FRAMEBUFFER = 0x8D40;
constexpr GLenum GL_READ_FRAMEBUFFER = 0x8CA8;
constexpr GLenum GL_DRAW_FRAMEBUFFER = 0x8CA9;
constexpr GLenum GL_RENDERBUFFER = 0x8D41;
constexpr GLenum GL_FRAMEBUFFER_BINDING = 0x8CA6;
constexpr GLenum GL_RENDERBUFFER_BINDING = 0x8CA7;
constexpr GLenum GL_FRAMEBUFFER_COMPLETE = 0x8CD5;
constexpr GLenum GL_COLOR_ATTACHMENT0 = 0x8CE0;
constexpr GLenum GL_STENCIL_ATTACHMENT = 0x8D20;
constexpr GLenum GL_STENCIL_INDEX8 = 0x8D48;
constexpr GLenum GL_DEPTH24_STENCIL8 = 0x88F0;

} // namespace pfw::gl
