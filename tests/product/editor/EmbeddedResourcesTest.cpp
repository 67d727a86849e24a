#include "EditorTestSupport.h"

#include "product/editor/EditorText.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

// The program carries the editor's font and logo; the editor finds them by the names it
// asks for, whatever their case.
TEST(EmbeddedResourcesTest, TheFontAndTheLogoAreFoundInTheProgram)
{
  editor_test::PluginWithGui editor;
  editor.gui.useRealResources = true;

  pfw::ByteBuffer font(4096);
  ASSERT_TRUE(editor.gui.LoadResource(editor::kEditorFontResource, "ttf", font));
  ASSERT_GT(font.Size(), 100000);
  const unsigned char* bytes = static_cast<const unsigned char*>(font.Data());
  EXPECT_EQ(bytes[0], 0x00); // a TrueType font's version 1.0
  EXPECT_EQ(bytes[1], 0x01);
  EXPECT_EQ(bytes[2], 0x00);
  EXPECT_EQ(bytes[3], 0x00);

  const pfw::gui::ISvgRef logo = editor.gui.LoadSVG("quilltone_logo.svg", "px", 72.f);
  ASSERT_TRUE(logo.IsValid());
  EXPECT_FLOAT_EQ(logo.W() / logo.H(), 5.f);
  EXPECT_GE(logo.image->shapes.size(), 10u);
}

} // namespace
