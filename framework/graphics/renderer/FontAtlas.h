#pragma once

#include "ScratchArena.h"
#include "SkylinePacker.h"

#include "framework/core/GrowArray.h"

namespace pfw::gui {

struct AtlasFont;
struct AtlasGlyph;

// Creation parameters of a font atlas: the glyph sheet's size and orientation, and the
// callbacks of a renderer that draws with the atlas alone (the vector context sets none).
// Each callback may be null.
struct FontAtlasParams
{
  enum Flags { kZeroTopLeft = 1 }; // y grows downwards
  int width = 512;
  int height = 512;
  unsigned char flags = kZeroTopLeft;
  void* user = nullptr;
  // A texture of the sheet's size is made; 0 refuses the atlas.
  int (*create)(void* user, int width, int height) = nullptr;
  // The sheet gets a new size; 0 refuses it.
  int (*resize)(void* user, int width, int height) = nullptr;
  // rect (min x, min y, max x, max y) of the sheet changed; pixels is the whole sheet.
  void (*update)(void* user, const int* rect, const unsigned char* pixels) = nullptr;
  // count queued vertices: x, y pairs, s, t pairs and RGBA colours, two triangles a glyph.
  void (*draw)(void* user, const float* positions, const float* texCoords, const unsigned* colours, int count) = nullptr;
  void (*destroy)(void* user) = nullptr;
};

// What the error callback is told.
enum FontAtlasError
{
  kAtlasSheetFull = 1,      // a glyph did not fit; the value is 0
  kAtlasScratchFull = 2,    // rasterising needed more working memory; the value is the size
  kAtlasStatesOverflow = 3, // PushState with every state in use
  kAtlasStatesUnderflow = 4, // PopState of the last state
};

// Whether a glyph lookup must place the glyph on the sheet.
enum GlyphBitmapOption
{
  kGlyphBitmapOptional = 1, // positions only
  kGlyphBitmapRequired = 2, // rasterised onto the sheet
};

// What the next text operation uses; callers set it before each call.
struct FontAtlasState
{
  int font = 0;
  int align = 65; // left + baseline (VectorAlign flags)
  float size = 12.f;
  unsigned colour = 0xffffffff; // RGBA, red in the low byte, of DrawText's vertices
  float blur = 0.f;
  float spacing = 0.f;
};

// One glyph's rectangle on the screen and on the sheet (texture coordinates 0..1).
struct FontAtlasQuad
{
  float x0 = 0.f, y0 = 0.f, s0 = 0.f, t0 = 0.f;
  float x1 = 0.f, y1 = 0.f, s1 = 0.f, t1 = 0.f;
};

// Walks a UTF-8 string glyph by glyph; copy it to step back.
struct FontAtlasTextIter
{
  float x = 0.f, y = 0.f, nextX = 0.f, nextY = 0.f;
  float spacing = 0.f;
  unsigned codepoint = 0;
  short isize = 0, iblur = 0;
  AtlasFont* font = nullptr;
  int prevGlyphIndex = -1; // -1 after a glyph that could not be had
  const AtlasFont* prevGlyphFont = nullptr; // whose outline the previous glyph is
  const char* string = nullptr;
  const char* next = nullptr;
  const char* end = nullptr;
  int bitmapOption = kGlyphBitmapOptional;
};

// The fonts of one vector context and their glyph cache: glyphs are rasterised on demand
// into one 8-bit coverage sheet, packed by a skyline packer and cached by code point, size
// and blur; strings are laid out glyph by glyph with kerning and alignment.
class FontAtlas
{
public:
  // Null when memory fails.
  static FontAtlas* Create(const FontAtlasParams& params);
  static void Delete(FontAtlas* atlas);
  ~FontAtlas();
  FontAtlas(const FontAtlas&) = delete;
  FontAtlas& operator=(const FontAtlas&) = delete;

  // Registers a TrueType font (or one face of a collection) whose bytes stay valid while
  // the atlas lives; with ownsData the atlas frees them (they must come from malloc).
  // Returns the font's index, or -1 when the bytes are not a usable font.
  int AddFontMem(const char* name, unsigned char* data, int size, int faceIndex, bool ownsData);
  // The index of the font of that name, or -1.
  int FontByName(const char* name) const;
  // Characters the base font lacks are taken from its fallbacks, in the order added (at
  // most 20). False for an invalid index, a font as its own fallback or a full list.
  bool AddFallbackFont(int base, int fallback);
  int FontCount() const { return mFonts.GetSize(); }
  // Line height of a font as a fraction of its size; 0 for an invalid index.
  float FontLineHeight(int font) const;

  // The current state: the top of a stack of 20.
  FontAtlasState& State() { return mStates[mStateCount - 1]; }
  // A copy of the current state on top of it; error 3 and no change when all are in use.
  void PushState();
  // Back to the state below; error 4 and no change for the last one.
  void PopState();
  // The current state back to the defaults.
  void ClearState();
  // Called with a FontAtlasError and its value; null for none.
  void SetErrorCallback(void (*callback)(void* user, int error, int value), void* user);

  // Empties the sheet and every glyph cache and gives the sheet a new size; 0 when the
  // resize callback refuses or memory fails.
  int ResetSheet(int width, int height);
  const unsigned char* SheetPixels() const { return mSheet.Get(); }
  int SheetWidth() const { return mParams.width; }
  int SheetHeight() const { return mParams.height; }
  // The rectangle (min x, min y, max x, max y) changed since the last call; false when
  // nothing changed.
  bool TakeDirtyRect(int rect[4]);

  // Measures with the current state; bounds (min x, min y, max x, max y) may be null.
  float TextBounds(float x, float y, const char* string, const char* end, float* bounds);
  // The vertical extent of a line of the current font at baseline y.
  void LineBounds(float y, float* minY, float* maxY);
  // False when the current font is invalid; end null means up to the terminating NUL.
  bool TextIterInit(FontAtlasTextIter& iter, float x, float y, const char* string, const char* end,
                    int bitmapOption);
  // False at the end of the string.
  bool TextIterNext(FontAtlasTextIter& iter, FontAtlasQuad* quad);

  // Queues the glyphs of the string in the current state's colour, handing the queue to
  // the draw callback whenever it is full; returns x after the last glyph.
  float DrawText(float x, float y, const char* string, const char* end);
  // Hands the changed part of the sheet to the update callback and the queued vertices to
  // the draw callback.
  void Flush();

private:
  explicit FontAtlas(const FontAtlasParams& params);
  bool SetSheetSize(int width, int height);
  AtlasFont* CurrentFont();
  void ReportError(int error, int value);
  int FindGlyph(const AtlasFont& font, unsigned codepoint, short isize, short blur) const;
  AtlasGlyph* GetGlyph(AtlasFont& font, unsigned codepoint, short isize, short iblur, int bitmapOption);
  // Kerning applies between glyphs of one font file only.
  void GetQuad(int prevGlyphIndex, const AtlasFont* prevGlyphFont, const AtlasGlyph& glyph, float spacing, float* x, float y,
               FontAtlasQuad* quad) const;
  void QueueGlyph(const FontAtlasQuad& quad, unsigned colour);
  float VertAlign(const AtlasFont& font, int align, short isize) const;
  void ExtendDirty(int x0, int y0, int x1, int y1);
  bool AddWhiteBlock();

  FontAtlasParams mParams;
  float mInvWidth = 0.f;
  float mInvHeight = 0.f;
  GrowArray<unsigned char> mSheet{4096};
  int mDirty[4] = {0, 0, 0, 0};
  SkylinePacker mPacker;
  ScratchArena mScratch;
  GrowArray<AtlasFont*> mFonts{32};
  static constexpr int kMaxStates = 20;
  FontAtlasState mStates[kMaxStates];
  int mStateCount = 1;
  void (*mErrorCallback)(void* user, int error, int value) = nullptr;
  void* mErrorUser = nullptr;

  // The vertex queue of DrawText.
  static constexpr int kQueueSize = 1024;
  float mQueuePositions[kQueueSize * 2];
  float mQueueTexCoords[kQueueSize * 2];
  unsigned mQueueColours[kQueueSize];
  int mQueueCount = 0;
};

} // namespace pfw::gui
