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

// The uniform block is the 11 vec4 of GLFragUniforms, in its order.
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
#define textureType int(frag[10].z)
#define shaderType int(frag[10].w)

// Signed distance to a rectangle of half size e with corners rounded by r.
float roundedRectDistance(vec2 q, vec2 e, float r)
{
  vec2 d = abs(q) - (e - vec2(r, r));
  return min(max(d.x, d.y), 0.0) + length(max(d, 0.0)) - r;
}

// 1 inside the clip rectangle, fading over one fringe at its edges.
float scissorMask(vec2 p)
{
  vec2 s = abs((scissorMatrix * vec3(p, 1.0)).xy) - scissorExtent;
  s = vec2(0.5, 0.5) - s * scissorScale;
  return clamp(s.x, 0.0, 1.0) * clamp(s.y, 0.0, 1.0);
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

vec4 toPremultiplied(vec4 texel)
{
  if (textureType == 1)
    return vec4(texel.rgb * texel.a, texel.a);
  if (textureType == 2)
    return vec4(texel.x);
  return texel;
}

void main(void)
{
  vec4 result;
  float scissor = scissorMask(fpos);
  float stroke = strokeMask();
#ifdef EDGE_AA
  if (stroke < strokeThreshold)
    discard;
#endif
  if (shaderType == 0)
  {
    vec2 q = (paintMatrix * vec3(fpos, 1.0)).xy;
    float d = clamp((roundedRectDistance(q, extent, radius) + feather * 0.5) / feather, 0.0, 1.0);
    result = mix(innerColour, outerColour, d) * (stroke * scissor);
  }
  else if (shaderType == 1)
  {
    vec2 q = (paintMatrix * vec3(fpos, 1.0)).xy / extent;
    result = toPremultiplied(texture2D(tex, q)) * innerColour * (stroke * scissor);
  }
  else if (shaderType == 2)
  {
    result = vec4(1.0, 1.0, 1.0, 1.0);
  }
  else
  {
    result = toPremultiplied(texture2D(tex, ftcoord)) * scissor * innerColour;
  }
  gl_FragColor = result;
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

} // namespace

bool GLShader::Create(const char* name, bool edgeAntiAlias)
{
  const char* options = edgeAntiAlias ? kEdgeAntiAlias : "";
  program = glCreateProgram();
  vertexShader = glCreateShader(GL_VERTEX_SHADER);
  fragmentShader = glCreateShader(GL_FRAGMENT_SHADER);
  if (!program || !vertexShader || !fragmentShader || !Compile(vertexShader, options, kVertexStage, name, "vert") ||
      !Compile(fragmentShader, options, kFragmentStage, name, "frag"))
  {
    Delete();
    return false;
  }
  glAttachShader(program, vertexShader);
  glAttachShader(program, fragmentShader);
  glBindAttribLocation(program, 0, "vertex");
  glBindAttribLocation(program, 1, "tcoord");
  glLinkProgram(program);
  GLint status = 0;
  glGetProgramiv(program, GL_LINK_STATUS, &status);
  if (!status)
  {
    PrintLog(true, program, "Program %s error:\n%s\n", name, nullptr);
    Delete();
    return false;
  }
  viewSizeLocation = glGetUniformLocation(program, "viewSize");
  textureLocation = glGetUniformLocation(program, "tex");
  uniformsLocation = glGetUniformLocation(program, "frag");
  return true;
}

void GLShader::Delete()
{
  if (program)
    glDeleteProgram(program);
  if (vertexShader)
    glDeleteShader(vertexShader);
  if (fragmentShader)
    glDeleteShader(fragmentShader);
  *this = GLShader();
}

} // namespace pfw::gui
