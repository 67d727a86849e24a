#include "GLShader.h"

#include <cstdio>

namespace pfw::gui {

using namespace gl;

namespace {

const char* const kHeader = "#define VECTOR_GL2 1\n"
                            "#define UNIFORMARRAY_SIZE 11\n"
                            "\n";

const char* const kEdgeAntiAlias = "#define EDGE_AA 1\n";

// Positions arrive in frame units (y down) and leave in clip coordinates.
const char* const kVertexStage = R"(
uniform vec2 viewSize;
attribute vec2 vertex;
attribute vec2 tcoord;
varying vec2 ftcoord;
varying vec2 fpos;
void main(void)
{
  ftcoord = tcoord;
  fpos = vertex;
  gl_Position = vec4(2.0 * vertex.x / viewSize.x - 1.0, 1.0 - 2.0 * vertex.y / viewSize.y, 0.0, 1.0);
}
)";

// The uniform block is the 11 vec4 of GLFragUniforms, in its order. SHADER_TYPE picks
// the kind of paint at compile time: 0 gradient, 1 image, 2 stencil, 3 glyphs, 4 solid,
// 5 a gradient along one axis (a linear one: only the distance across the box counts).
const char* const kFragmentStage = R"(
uniform vec4 frag[UNIFORMARRAY_SIZE];
uniform sampler2D tex;
varying vec2 ftcoord;
varying vec2 fpos;
#define scissorMatrix mat3(frag[0].xyz, frag[1].xyz, frag[2].xyz)
#define paintMatrix mat3(frag[3].xyz, frag[4].xyz, frag[5].xyz)
#define innerColour frag[6]
#define outerColour frag[7]
#define scissorExtent frag[8].xy
#define scissorScale frag[8].zw
#define extent frag[9].xy
#define radius frag[9].z
#define feather frag[9].w
#define strokeMultiplier frag[10].x
#define strokeThreshold frag[10].y
#define textureType frag[10].z

// Signed distance to a rectangle of half size e with corners rounded by r.
float roundedRectDistance(vec2 q, vec2 e, float r)
{
  vec2 d = abs(q) - (e - vec2(r, r));
  return min(max(d.x, d.y), 0.0) + length(max(d, 0.0)) - r;
}

// 1 inside the clip rectangle, fading over one fringe at its edges.
float scissorMask(vec2 p)
{
#ifdef CLIP_MASK
  vec2 s = abs((scissorMatrix * vec3(p, 1.0)).xy) - scissorExtent;
  s = vec2(0.5, 0.5) - s * scissorScale;
  return clamp(s.x, 0.0, 1.0) * clamp(s.y, 0.0, 1.0);
#else
  return 1.0;
#endif
}

// Coverage across a stroke or fringe (u) and along its anti-aliased ends (v).
float strokeMask()
{
#ifdef EDGE_AA
  return min(1.0, (1.0 - abs(ftcoord.x * 2.0 - 1.0)) * strokeMultiplier) * min(1.0, ftcoord.y);
#else
  return 1.0;
#endif
}

// Texture type 1 is RGBA to premultiply, 2 a single channel spread over all four.
vec4 toPremultiplied(vec4 texel)
{
  vec4 premultiplied = vec4(texel.rgb * texel.a, texel.a);
  texel = mix(texel, premultiplied, float(textureType == 1.0));
  return mix(texel, vec4(texel.x), float(textureType == 2.0));
}

void main(void)
{
#if SHADER_TYPE == 2
  gl_FragColor = vec4(1.0, 1.0, 1.0, 1.0);
#elif SHADER_TYPE == 3
  gl_FragColor = toPremultiplied(texture2D(tex, ftcoord)) * scissorMask(fpos) * innerColour;
#else
  float stroke = strokeMask();
#ifdef STENCIL_STROKES
  if (stroke < strokeThreshold)
    discard;
#endif
  float coverage = stroke * scissorMask(fpos);
#if SHADER_TYPE == 0
  vec2 q = (paintMatrix * vec3(fpos, 1.0)).xy;
  float d = clamp((roundedRectDistance(q, extent, radius) + feather * 0.5) / feather, 0.0, 1.0);
  gl_FragColor = mix(innerColour, outerColour, d) * coverage;
#elif SHADER_TYPE == 5
  float y = dot(vec3(frag[3].y, frag[4].y, frag[5].y), vec3(fpos, 1.0));
  float d = clamp((abs(y) - extent.y + feather * 0.5) / feather, 0.0, 1.0);
  gl_FragColor = mix(innerColour, outerColour, d) * coverage;
#elif SHADER_TYPE == 1
  vec2 q = (paintMatrix * vec3(fpos, 1.0)).xy / extent;
  gl_FragColor = toPremultiplied(texture2D(tex, q)) * innerColour * coverage;
#else
  gl_FragColor = innerColour * coverage;
#endif
#endif
}
)";

void PrintLog(bool program, GLuint object, const char* format, const char* name, const char* stage)
{
  GLchar log[512 + 1] = {};
  GLsizei length = 0;
  if (program)
    glGetProgramInfoLog(object, 512, &length, log);
  else
    glGetShaderInfoLog(object, 512, &length, log);
  log[length < 0 ? 0 : (length > 512 ? 512 : length)] = 0;
  if (stage)
    std::fprintf(stderr, format, name, stage, log);
  else
    std::fprintf(stderr, format, name, log);
}

bool Compile(GLuint shader, const char* options, const char* stageText, const char* name, const char* stage)
{
  const GLchar* pieces[3] = {kHeader, options, stageText};
  glShaderSource(shader, 3, pieces, nullptr);
  glCompileShader(shader);
  GLint status = 0;
  glGetShaderiv(shader, GL_COMPILE_STATUS, &status);
  if (status)
    return true;
  PrintLog(false, shader, "Shader %s/%s error:\n%s\n", name, stage);
  return false;
}

bool CreateProgram(GLShader::Program& p, const char* name, const char* options)
{
  p.program = glCreateProgram();
  p.vertexShader = glCreateShader(GL_VERTEX_SHADER);
  p.fragmentShader = glCreateShader(GL_FRAGMENT_SHADER);
  if (!p.program || !p.vertexShader || !p.fragmentShader ||
      !Compile(p.vertexShader, options, kVertexStage, name, "vert") ||
      !Compile(p.fragmentShader, options, kFragmentStage, name, "frag"))
    return false;
  glAttachShader(p.program, p.vertexShader);
  glAttachShader(p.program, p.fragmentShader);
  glBindAttribLocation(p.program, 0, "vertex");
  glBindAttribLocation(p.program, 1, "tcoord");
  glLinkProgram(p.program);
  GLint status = 0;
  glGetProgramiv(p.program, GL_LINK_STATUS, &status);
  if (!status)
  {
    PrintLog(true, p.program, "Program %s error:\n%s\n", name, nullptr);
    return false;
  }
  p.viewSizeLocation = glGetUniformLocation(p.program, "viewSize");
  p.textureLocation = glGetUniformLocation(p.program, "tex");
  p.uniformsLocation = glGetUniformLocation(p.program, "frag");
  return true;
}

} // namespace

bool GLShader::Create(const char* name, bool edgeAntiAlias, bool stencilStrokes)
{
  for (int variant = 0; variant < kVariantCount; ++variant)
    for (int clipMask = 0; clipMask < (variant == kStencil ? 1 : kMaskForms); ++clipMask)
    {
      char options[128];
      std::snprintf(options, sizeof(options), "%s%s%s#define SHADER_TYPE %d\n", edgeAntiAlias ? kEdgeAntiAlias : "",
                    edgeAntiAlias && stencilStrokes ? "#define STENCIL_STROKES 1\n" : "",
                    clipMask ? "#define CLIP_MASK 1\n" : "", variant);
      if (!CreateProgram(programs[variant][clipMask], name, options))
      {
        Delete();
        return false;
      }
    }
  return true;
}

void GLShader::Delete()
{
  for (Program(&forms)[kMaskForms] : programs)
    for (Program& p : forms)
    {
      if (p.program)
        glDeleteProgram(p.program);
      if (p.vertexShader)
        glDeleteShader(p.vertexShader);
      if (p.fragmentShader)
        glDeleteShader(p.fragmentShader);
      p = Program();
    }
}

} // namespace pfw::gui
