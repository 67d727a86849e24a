#include "RendererTestSupport.h"

#include "framework/graphics/renderer/FontAtlas.h"
#include "framework/graphics/renderer/VectorContextData.h"

#include <gtest/gtest.h>

#include <string>

namespace pfw::gui::test {

namespace {
struct TextTest : ::testing::Test
{
  void SetUp() override
  {
    font = ReadRoboto();
    ASSERT_FALSE(font.empty());
    context = VG::CreateContext(backend.Params());
    ASSERT_NE(context, nullptr);
    ASSERT_EQ(VG::Fonts(context).AddFontMem("Roboto", font.data(), int(font.size()), 0, false), 0);
    VG::BeginFrame(context, 400.f, 300.f, 1.f);
    VG::FontFaceId(context, 0);
    VG::FontSize(context, 20.f);
  }
  void TearDown() override { VG::DeleteContext(context); }

  std::vector<std::string> Break(const char* text, float width, int maxRows = 16)
  {
    VectorTextRow rows[16];
    const int count = VG::TextBreakLines(context, text, nullptr, width, rows, maxRows);
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i)
      lines.emplace_back(rows[i].start, rows[i].end);
    return lines;
  }
  float Width(const char* text) { return VG::TextBounds(context, 0.f, 0.f, text, nullptr, nullptr); }

  std::vector<unsigned char> font;
  RecordingBackend backend;
  VectorContext* context = nullptr;
};

// Height of the first glyph's quad in frame units and on the glyph sheet, in pixels.
void GlyphHeights(const RecordingBackend::Call& call, float* frame, float* sheet)
{
  ASSERT_GE(call.triangles.size(), 6u);
  const VectorVertex& top = call.triangles[0];
  const VectorVertex& bottom = call.triangles[1];
  *frame = bottom.y - top.y;
  *sheet = (bottom.v - top.v) * 512.f;
}
} // namespace

TEST_F(TextTest, DrawsTexturedTrianglesPerGlyphAndReturnsTheAdvance)
{
  const float end = VG::Text(context, 10.f, 50.f, "Tone", nullptr);
  ASSERT_EQ(backend.calls.size(), 1u);
  const RecordingBackend::Call& call = backend.calls[0];
  EXPECT_EQ(call.kind, RecordingBackend::Call::kTriangles);
  EXPECT_EQ(call.triangles.size(), 4u * 6u);
  EXPECT_EQ(call.paint.image, context->fontImages[0]);
  EXPECT_NEAR(end - 10.f, Width("Tone"), 1e-3f);
  // The sheet's changes reached the font image.
  const RecordingBackend::Texture& image = backend.textures[context->fontImages[0]];
  EXPECT_EQ(image.pixels, std::vector<unsigned char>(VG::Fonts(context).SheetPixels(),
                                                     VG::Fonts(context).SheetPixels() + 512 * 512));

  float bounds[4] = {1.f, 2.f, 3.f, 4.f};
  VG::FontFaceId(context, -1);
  EXPECT_EQ(VG::Text(context, 10.f, 50.f, "Tone", nullptr), 10.f);
  EXPECT_EQ(VG::TextBounds(context, 0.f, 0.f, "Tone", nullptr, bounds), 0.f);
  EXPECT_EQ(bounds[0] + bounds[3], 5.f);
  EXPECT_EQ(VG::TextLineHeight(context), 0.f);
  EXPECT_EQ(VG::TextBreakLines(context, "Tone", nullptr, 100.f, nullptr, 3), 0);
  EXPECT_EQ(backend.calls.size(), 1u);
  VG::FontFaceId(context, 0);
  EXPECT_NEAR(VG::TextLineHeight(context), VG::Fonts(context).FontLineHeight(0) * 20.f, 1e-4f);
  // Line spacing is part of the state: saved, restored and reset.
  VG::Save(context);
  VG::TextLineSpacing(context, 1.5f);
  EXPECT_NEAR(VG::TextLineHeight(context), VG::Fonts(context).FontLineHeight(0) * 30.f, 1e-4f);
  VG::Restore(context);
  EXPECT_NEAR(VG::TextLineHeight(context), VG::Fonts(context).FontLineHeight(0) * 20.f, 1e-4f);
}

TEST_F(TextTest, ScaledTextIsRasterisedAtTheScaledSize)
{
  float frame1, sheet1, frame2, sheet2;
  VG::Text(context, 10.f, 50.f, "H", nullptr);
  GlyphHeights(backend.calls.back(), &frame1, &sheet1);
  VG::Scale(context, 2.f, 2.f);
  VG::Text(context, 10.f, 50.f, "H", nullptr);
  GlyphHeights(backend.calls.back(), &frame2, &sheet2);
  // Quads are the glyph box plus a pixel of the padding on either side.
  EXPECT_NEAR(sheet2 - 2.f, 2.f * (sheet1 - 2.f), 1.5f);
  EXPECT_NEAR(frame1, sheet1, 0.01f);
  EXPECT_NEAR(frame2, sheet2, 0.01f); // drawn at half the raster's scale, then doubled
}

TEST_F(TextTest, BreaksLinesAtSpacesNewlinesAndInsideTooLongWords)
{
  const float a = Width("Amp"), whole = Width("Amp Cab");
  struct Case
  {
    const char* text;
    float width;
    std::vector<std::string> rows;
  } cases[] = {
    {"Amp Cab", (a + whole) / 2.f, {"Amp", "Cab"}},
    {"Amp Cab", whole + 1.f, {"Amp Cab"}},
    {"Amplifier", a, {"Amp", "lifier"}},
    {"MMMMMM", Width("MM") + 1.f, {"MM", "MM", "MM"}},
    {"Amp\r\nCab", 1000.f, {"Amp", "Cab"}},
    {"Amp\n\nCab", 1000.f, {"Amp", "", "Cab"}},
    {"  Amp   Cab  ", (a + whole) / 2.f, {"Amp", "Cab"}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Break(c.text, c.width), c.rows) << c.text;
  EXPECT_EQ(Break("a b c d e", 1.f, 3).size(), 3u);
  // Row widths fit the break width, and the next row starts where the words resume.
  VectorTextRow rows[2];
  ASSERT_EQ(VG::TextBreakLines(context, "Amp Cab", nullptr, (a + whole) / 2.f, rows, 2), 2);
  EXPECT_NEAR(rows[0].width, a, 1e-3f);
  EXPECT_STREQ(rows[0].next, "Cab");
  EXPECT_LE(rows[1].maxX, rows[1].width + 2.f);
}

TEST_F(TextTest, AFullSheetMovesTextToALargerFontImageThatTheFrameEndKeeps)
{
  VG::FontSize(context, 200.f);
  const char* text = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  VG::Text(context, 0.f, 100.f, text, nullptr);
  ASSERT_GE(context->fontImageIndex, 1);
  const int current = context->fontImages[context->fontImageIndex];
  EXPECT_GT(backend.textures[current].width * backend.textures[current].height, 512 * 512);
  size_t glyphVertices = 0;
  for (const auto& call : backend.calls)
    glyphVertices += call.triangles.size();
  EXPECT_EQ(glyphVertices, 62u * 6u); // every glyph drawn, before or after the move
  EXPECT_EQ(backend.calls.back().paint.image, current);
  VG::EndFrame(context);
  EXPECT_EQ(context->fontImageIndex, 0);
  EXPECT_EQ(context->fontImages[0], current);
  EXPECT_EQ(backend.textures.size(), 1u); // the smaller image went
}

} // namespace pfw::gui::test
