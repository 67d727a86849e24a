#pragma once

#include "framework/graphics/IGui.h"

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

// A back-end bitmap whose pixels live in memory (RGBA, rows top-down).
class FakeBitmap : public pfw::gui::APIBitmap
{
public:
  FakeBitmap(int width, int height, float scale, float drawScale)
    : pfw::gui::APIBitmap(++sNextId, width, height, scale, drawScale)
    , pixels(static_cast<size_t>(width) * static_cast<size_t>(height) * 4, 0)
  {
    ++sLiving;
  }
  ~FakeBitmap() override { --sLiving; }
  std::vector<unsigned char> pixels;
  static int sNextId;
  static int sLiving;
};

class FakeFont : public pfw::gui::PlatformFont
{
public:
  explicit FakeFont(std::string id_)
    : id(std::move(id_))
  {
  }
  std::string id;
};

// One recorded path command with its points already through the current transform.
struct PathCommand
{
  enum Kind { kMove, kLine, kCubic, kClose, kWinding } kind;
  double pts[6] = {};
  bool hole = false;
};

// One fill or stroke with the path it consumed.
struct PaintCall
{
  bool fill = true;
  std::vector<PathCommand> path;
  pfw::gui::IColourSource source;
  int rule = 0;
  float thickness = 1.f;
  pfw::gui::IRectF clip;
  float blendWeight = 1.f;
  int dashes = 0;
  pfw::gui::ITransform2D matrix; // the drawing transform in force
};

// An IGui that records every drawing operation as text, measures text with a fixed
// model (7 units per character at size 14, one unit less for each "AV" pair), keeps
// layers as memory bitmaps and fakes the platform: clipboard, cursors, scripted popup
// answers, resources and a settable clock.
class RecordingGui : public pfw::gui::IGui
{
public:
  RecordingGui(pfw::IGuiEditorDelegate& delegate, int width = 1180, int height = 800, float scale = 1.f)
    : pfw::gui::IGui(delegate, width, height, 30, scale)
  {
  }
  ~RecordingGui() override = default;

  // ---- what was recorded ----
  std::vector<std::string> log;
  std::vector<PaintCall> paints;
  std::vector<std::string> Take()
  {
    std::vector<std::string> out;
    out.swap(log);
    return out;
  }
  bool Logged(const std::string& prefix) const;
  int CountPrefix(const std::string& prefix) const;

  // ---- fake platform state ----
  double clockMs = 0.0;
  std::string clipboard;
  bool hasClipboard = false;
  // Each popup takes the next answer: an item index to choose, or -1 to dismiss.
  std::deque<int> popupAnswers;
  // Popups report that they complete later (FinishPopupMenu) instead of answering.
  bool popupsAsync = false;
  std::vector<std::string> popupsShown;
  std::vector<std::string> platformTextEntries;
  int forceEndCalls = 0;
  std::map<std::string, std::string> files; // resource name -> contents
  std::vector<std::string> located;         // every name asked of LocateResource
  int decodes = 0;

  // ---- drawing back end ----
  void BeginFrame() override { log.push_back("beginframe"); }
  void EndFrame() override { log.push_back("endframe"); }
  void DrawBitmap(const pfw::gui::IBitmapRef& bitmap, const pfw::gui::IRectF& dest, int srcX, int srcY,
                  const pfw::gui::IBlendMode* blend) override;
  pfw::gui::IArgbColour GetDefaultColor() const override { return pfw::gui::IArgbColour(255, 0, 0, 0); }
  void* GetDrawContext() override { return nullptr; }
  const char* GetDrawingAPIStr() override { return "recording"; }
  bool BitmapExtSupported(const char* extension) override;
  void DrawFastDropShadow(const pfw::gui::IRectF&, const pfw::gui::IRectF&, float, float, float,
                          const pfw::gui::IBlendMode*) override
  {
    log.push_back("fastshadow");
  }
  void GetLayerBitmapData(pfw::gui::ILayer& layer, pfw::ByteBuffer& data) override;
  void ApplyShadowMask(pfw::gui::ILayer& layer, pfw::ByteBuffer& mask, const pfw::gui::IShadow& shadow) override;
  std::vector<unsigned char> lastMask;
  void UpdateLayer() override { log.push_back("updatelayer " + std::to_string(LayerDepth())); }
  void PathClear() override;
  void PathClose() override;
  void PathArc(float cx, float cy, float r, float a1, float a2, int winding) override;
  void PathMoveTo(float x, float y) override;
  void PathLineTo(float x, float y) override;
  void PathSetWinding(bool clockwise) override;
  void PathCubicTo(float c1x, float c1y, float c2x, float c2y, float x, float y) override;
  void PathQuadTo(float cx, float cy, float x, float y) override;
  void PathStroke(const pfw::gui::IColourSource& source, float thickness, const pfw::gui::IStrokeStyle& style,
                  const pfw::gui::IBlendMode* blend) override;
  void PathFill(const pfw::gui::IColourSource& source, const pfw::gui::IFillRule& rule,
                const pfw::gui::IBlendMode* blend) override;
  void PathTransformSetMatrix(const pfw::gui::ITransform2D& transform) override;
  void SetClipRegion(const pfw::gui::IRectF& clip) override;
  std::unique_ptr<pfw::gui::APIBitmap> LoadAPIBitmapFromData(const char* name, const void* data, int size,
                                                             int scale) override;
  std::unique_ptr<pfw::gui::APIBitmap> LoadAPIBitmap(const char* location, int scale, int locationKind,
                                                     const char* extension) override;
  std::unique_ptr<pfw::gui::APIBitmap> CreateAPIBitmap(int width, int height, float scale, float drawScale,
                                                       bool cacheable) override;
  bool LoadAPIFont(const char* fontId, const pfw::gui::PlatformFont& font) override;
  int AlphaChannelIndex() const override { return 3; }
  bool IsLayerDataFlipped() const override { return flipped; }
  bool flipped = false;
  float DoMeasureText(const pfw::gui::ITextStyle& style, const char* text, pfw::gui::IRectF& bounds) const override;
  void DoDrawText(const pfw::gui::ITextStyle& style, const char* text, const pfw::gui::IRectF& bounds,
                  const pfw::gui::IBlendMode* blend) override;

  // ---- platform ----
  void GetMouseLocation(float& x, float& y) const override
  {
    x = mouseX;
    y = mouseY;
  }
  float mouseX = 0.f, mouseY = 0.f;
  void HideMouseCursor(bool hide, bool lock) override;
  void MoveMouseCursor(float, float) override {}
  void ForceEndUserEdit() override { ++forceEndCalls; }
  void* OpenWindow(void*) override { return window = this; }
  void CloseWindow() override { window = nullptr; }
  void* GetWindow() override { return window; }
  void* window = nullptr;
  bool GetTextFromClipboard(pfw::GrowString& text) override;
  bool SetTextInClipboard(const char* text) override;
  int ShowMessageBox(const char*, const char*, int, MessageBoxCompletion) override { return 0; }
  bool PromptForFile(pfw::GrowString&, pfw::GrowString&, bool, const char*, FileCompletion) override { return false; }
  bool PromptForDirectory(pfw::GrowString&, FileCompletion) override { return false; }
  bool PromptForColor(pfw::gui::IArgbColour&, const char*, ColourCompletion) override { return false; }
  bool OpenURL(const char*) override { return false; }
  std::unique_ptr<pfw::gui::PlatformFont> LoadPlatformFontByName(const char* fontId, const char*, int) override
  {
    return std::make_unique<FakeFont>(fontId);
  }
  std::unique_ptr<pfw::gui::PlatformFont> LoadPlatformFontFromMemory(const char* fontId, const void* data,
                                                                     int size) override;
  std::unique_ptr<pfw::gui::PlatformFont> LoadPlatformFontFromFileOrResource(const char* fontId,
                                                                             const char* name) override;
  void CachePlatformFont(const char* fontId, const pfw::gui::PlatformFont&) override
  {
    cachedFonts.push_back(fontId);
  }
  std::vector<std::string> cachedFonts;
  std::vector<std::string> registeredFonts;
  bool rejectFonts = false;
  void CreatePlatformTextEntry(int paramIdx, const pfw::gui::ITextStyle& style, const pfw::gui::IRectF& bounds,
                               int length, const char* text) override;
  pfw::gui::IPopupMenu* CreatePlatformPopupMenu(pfw::gui::IPopupMenu& menu, const pfw::gui::IRectF& bounds,
                                                bool& isAsync) override;
  float GetPlatformWindowScale() const override { return platformScale; }
  float platformScale = 1.f;
  void PlatformResize(bool parentHasResized) override
  {
    log.push_back(std::string("platformresize ") + (parentHasResized ? "1" : "0"));
  }
  void OnResizeOrRescale() override { log.push_back("resizeorrescale"); }
  void OnResizeFinished() override { log.push_back("resizefinished"); }
  int LocateResource(const char* name, const char* type, pfw::GrowString& location) override;
  bool LoadModuleResource(const char* name, const char* type, pfw::ByteBuffer& data) override;
  double GetClockMs() const override { return clockMs; }
  bool useRealResources = false;

private:
  void Record(PathCommand::Kind kind, std::initializer_list<double> points);
  std::vector<PathCommand> mPath;
  pfw::gui::ITransform2D mMatrix;
  pfw::gui::IRectF mClip;
  float mLastX = 0.f, mLastY = 0.f;
};
