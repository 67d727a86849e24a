#pragma once

#include "GLFunctions.h"
#include "GLShader.h"
#include "VectorBackendParams.h"

#include <vector>

namespace pfw::gui {

// The fragment stage's uniform block, uploaded as "frag" (11 vec4). Matrices are the
// inverse transforms as three columns of vec3, each padded to a vec4.
struct GLFragUniforms
{
  float scissorMatrix[12];
  float paintMatrix[12];
  VectorColour innerColour; // premultiplied
  VectorColour outerColour; // premultiplied
  float scissorExtent[2];
  float scissorScale[2];
  float extent[2];
  float radius;
  float feather;
  float strokeMultiplier;
  float strokeThreshold;
  float textureType; // 0 premultiplied RGBA, 1 RGBA to premultiply, 2 alpha as grey
  float shaderType;  // 0 gradient, 1 image, 2 stencil fill, 3 textured triangles
};
static_assert(sizeof(GLFragUniforms) == 11 * 4 * sizeof(float), "the shader reads 11 vec4");

// The OpenGL 2 back end of the vector context: textures for images, and the frame's
// draw calls queued with their vertices and uniforms, replayed at flush with one vertex
// upload, one program per kind of paint. Concave fills go through the stencil buffer; convex fills,
// strokes and text are drawn directly. Everything runs on the thread whose GL context
// is current.
class GLBackend
{
public:
  enum Flags
  {
    kAntiAlias = 1,      // edge anti-aliasing in the shader and fringe drawing
    kStencilStrokes = 2, // overlapping stroke parts drawn once
    kDebug = 4,          // glGetError after each step, printed
  };

  explicit GLBackend(int flags);
  ~GLBackend();
  GLBackend(const GLBackend&) = delete;
  GLBackend& operator=(const GLBackend&) = delete;

  // The callback block over a new back end with these flags; the vector context takes
  // ownership (its delete callback deletes the back end).
  static VectorBackendParams MakeParams(int flags);

  bool Create();
  int CreateTexture(int type, int width, int height, int imageFlags, const unsigned char* pixels);
  bool DeleteTexture(int image);
  bool UpdateTexture(int image, int x, int y, int width, int height, const unsigned char* pixels);
  bool TextureSize(int image, int& width, int& height) const;
  void Viewport(float width, float height, float devicePixelRatio);
  void Cancel();
  void Flush();
  void RenderFill(const VectorPaint& paint, VectorCompositeOperation composite, const VectorScissor& scissor,
                  float fringe, const float* bounds, const VectorPath* paths, int pathCount);
  void RenderStroke(const VectorPaint& paint, VectorCompositeOperation composite, const VectorScissor& scissor,
                    float fringe, float strokeWidth, const VectorPath* paths, int pathCount);
  void RenderTriangles(const VectorPaint& paint, VectorCompositeOperation composite, const VectorScissor& scissor,
                       const VectorVertex* vertices, int vertexCount, float fringe);

  // The GL texture behind an image (0 when unknown); framebuffers attach it.
  gl::GLuint TextureName(int image) const;
  // Textures the back end holds (the dummy texture included).
  int TextureCount() const;

  static gl::GLenum ConvertBlendFactor(int factor);

private:
  enum CallType { kFill = 1, kConvexFill = 2, kStroke = 3, kTriangles = 4 };

  struct Call
  {
    int type = 0;
    int image = 0;
    int pathOffset = 0;
    int pathCount = 0;
    int triangleOffset = 0;
    int triangleCount = 0;
    int uniformOffset = 0; // index of the first uniform block
    // The clip: a box for the GL scissor test (window pixels: x, y from the bottom, w,
    // h; w < 0 for none) when it lies on whole pixels, else computed by the shader.
    int scissorBox[4] = {0, 0, -1, -1};
    bool clipMask = false;
    // A convex fill of one opaque colour or gradient over source-over whose inside
    // needs no blending: the fan is drawn as plain colour, the fringe blended.
    bool opaqueInterior = false;
    gl::GLenum srcRGB = gl::GL_ONE;
    gl::GLenum dstRGB = gl::GL_ONE_MINUS_SRC_ALPHA;
    gl::GLenum srcAlpha = gl::GL_ONE;
    gl::GLenum dstAlpha = gl::GL_ONE_MINUS_SRC_ALPHA;
  };

  struct PathRange
  {
    int fillOffset = 0;
    int fillCount = 0;
    int strokeOffset = 0;
    int strokeCount = 0;
  };

  struct Texture
  {
    int id = 0; // 0: a free slot
    gl::GLuint name = 0;
    int width = 0;
    int height = 0;
    int type = 0;
    int flags = 0;
  };

  // The GL state the back end changes, remembered so that unchanged values are not set
  // again within a flush.
  struct StateCache
  {
    gl::GLuint texture = 0;
    gl::GLuint stencilMask = 0;
    gl::GLenum stencilFunc = 0;
    gl::GLint stencilRef = 0;
    gl::GLuint stencilFuncMask = 0;
    gl::GLenum blend[4] = {};
    bool blendEnabled = true;
    bool scissorEnabled = false;
    int scissorBox[4] = {0, 0, 0, 0};
  };

  // The caller's blend state, put back after the back end drew.
  struct SavedBlend
  {
    bool enabled = false;
    gl::GLint factors[4] = {};
  };

  const Texture* FindTexture(int image) const;
  Texture* FindTexture(int image);
  Texture* AllocTexture();
  // The per-frame counts before a call, to take the call back when it cannot be made.
  struct Mark
  {
    int calls, paths, vertices, uniforms;
  };

  Call* AllocCall();
  int AllocPaths(int count);
  int AllocVertices(int count);
  int AllocUniforms(int count);
  // A new call with room for its paths, vertices and uniform blocks; null (nothing
  // queued) when memory runs out.
  Call* BeginCall(int type, const VectorPaint& paint, VectorCompositeOperation composite,
                  const VectorScissor& scissor, int pathCount, int vertexCount, int uniformCount);
  // Sets the call's scissor box, or its clip mask when the clip is not on whole pixels.
  void ClassifyScissor(Call& call, const VectorScissor& scissor) const;
  void Rollback(const Mark& mark);
  // Copies the paths' fill (when asked) and stroke vertices from the call's first vertex
  // on, noting their ranges; returns the index after the last.
  int CopyPaths(const Call& call, const VectorPath* paths, bool fills);
  void SetBlend(Call& call, VectorCompositeOperation composite) const;
  // Fills a uniform block from a paint (the clip only for a call with a clip mask);
  // false when the paint names an unknown image.
  bool ConvertPaint(GLFragUniforms& uniforms, const VectorPaint& paint, const Call& call, const VectorScissor& scissor,
                    float width, float fringe, float strokeThreshold) const;

  // Makes a program current, with the frame-wide uniforms set; returns its index.
  int UseProgram(int variant, bool clipMask);
  // The program of the block's kind of paint and the call's clip, its uniforms and the
  // texture.
  void SetUniforms(const Call& call, int uniformOffset, int image);
  void Scissor(const Call& call);
  void EnableBlend(bool enabled);
  void BindTexture(gl::GLuint texture);
  void StencilMask(gl::GLuint mask);
  void StencilFunc(gl::GLenum func, gl::GLint ref, gl::GLuint mask);
  void BlendFuncSeparate(const Call& call);
  void DrawFill(const Call& call);
  void DrawConvexFill(const Call& call);
  void DrawStroke(const Call& call);
  void DrawTriangles(const Call& call);
  void CheckError(const char* step) const;
  void SaveBlend();
  void RestoreBlend() const;

  int mFlags;
  GLShader mShader;
  float mViewSize[2] = {0.f, 0.f};
  float mDevicePixelRatio = 1.f;
  std::vector<Texture> mTextures;
  int mLastTextureId = 0;
  gl::GLuint mVertexBuffer = 0;
  int mDummyTexture = 0;
  StateCache mCache;
  int mCurrentProgram = -1;
  int mProgramsReady = 0; // programs whose frame-wide uniforms are set in this flush
  // The block each program was given last in this flush, not sent again when unchanged.
  GLFragUniforms mProgramUniforms[GLShader::kVariantCount * GLShader::kMaskForms];
  int mProgramUniformsValid = 0;
  SavedBlend mSavedBlend;

  std::vector<Call> mCalls;
  std::vector<PathRange> mPaths;
  std::vector<VectorVertex> mVertices;
  std::vector<GLFragUniforms> mUniforms;
  int mCallCount = 0;
  int mPathCount = 0;
  int mVertexCount = 0;
  int mUniformCount = 0;
};

} // namespace pfw::gui
