#include "SvgTestSupport.h"

#include <cmath>

namespace {

std::unique_ptr<svg::Image> Doc(const std::string& rootAttributes, const std::string& body = "",
                                const char* units = "px", float dpi = 96.f)
{
  return ParseText("<svg xmlns='http://www.w3.org/2000/svg' " + rootAttributes + ">" + body + "</svg>", units, dpi);
}

svg::Point FirstPoint(const svg::Image& image)
{
  return image.shapes.at(0).paths.at(0).points.at(0);
}

} // namespace

TEST(Document, SizeInPixelsAndPhysicalUnits)
{
  auto image = Doc("width='100' height='50px'");
  ASSERT_TRUE(image);
  EXPECT_EQ(100.f, image->width);
  EXPECT_EQ(50.f, image->height);
  EXPECT_TRUE(image->shapes.empty());

  image = Doc("width='10mm' height='1in'");
  ASSERT_TRUE(image);
  EXPECT_FLOAT_EQ(10.f * 96.f / 25.4f, image->width);
  EXPECT_FLOAT_EQ(96.f, image->height);

  image = Doc("width='1in' height='72pt'", "", "px", 72.f);
  ASSERT_TRUE(image);
  EXPECT_FLOAT_EQ(72.f, image->width);
  EXPECT_FLOAT_EQ(72.f, image->height);
}

TEST(Document, OutputUnitsScaleSizeAndCoordinates)
{
  auto image = Doc("width='10mm' height='1in'", "<rect x='5mm' width='1mm' height='1mm'/>", "mm");
  ASSERT_TRUE(image);
  EXPECT_FLOAT_EQ(10.f, image->width);
  EXPECT_FLOAT_EQ(25.4f, image->height);
  EXPECT_NEAR(5.f, FirstPoint(*image).x, 1e-4f);

  image = Doc("width='144' height='72'", "<line x2='10' stroke='red' stroke-width='2'/>", "in", 72.f);
  ASSERT_TRUE(image);
  EXPECT_FLOAT_EQ(2.f, image->width);
  EXPECT_FLOAT_EQ(1.f, image->height);
  EXPECT_FLOAT_EQ(2.f / 72.f, image->shapes[0].strokeWidth);

  // An unknown unit, or none, means pixels; a bad dpi means 96.
  image = Doc("width='1in' height='1in'", "", "furlongs", -3.f);
  ASSERT_TRUE(image);
  EXPECT_FLOAT_EQ(96.f, image->width);
  image = Doc("width='1in' height='1in'", "", nullptr, std::nanf(""));
  ASSERT_TRUE(image);
  EXPECT_FLOAT_EQ(96.f, image->width);
}

TEST(Document, ViewBoxMapsOntoTheSize)
{
  auto image = Doc("width='100' height='50' viewBox='0 0 10 5'", "<rect x='1' y='1' width='2' height='2'/>");
  ASSERT_TRUE(image);
  EXPECT_EQ(100.f, image->width);
  ExpectPoints(image->shapes[0].paths[0].points, Polyline({{10, 10}, {30, 10}, {30, 30}, {10, 30}, {10, 10}}));

  // Without a size, the view box gives it.
  image = Doc("viewBox='-5 -5 10 20'", "<rect width='1' height='1'/>");
  ASSERT_TRUE(image);
  EXPECT_EQ(10.f, image->width);
  EXPECT_EQ(20.f, image->height);
  EXPECT_EQ((svg::Point{5, 5}).x, FirstPoint(*image).x);
  EXPECT_EQ(5.f, FirstPoint(*image).y);

  image = Doc("width='50%' height='100%' viewBox='0 0 10 10'");
  ASSERT_TRUE(image);
  EXPECT_EQ(5.f, image->width);
  EXPECT_EQ(10.f, image->height);

  // A view box that is not four numbers with a positive size is ignored.
  image = Doc("width='20' height='20' viewBox='0 0 0 10'", "<rect x='1' width='1' height='1'/>");
  ASSERT_TRUE(image);
  EXPECT_EQ(1.f, FirstPoint(*image).x);
  image = Doc("width='20' height='20' viewBox='0 0 10'", "<rect x='1' width='1' height='1'/>");
  EXPECT_EQ(1.f, FirstPoint(*image).x);
}

TEST(Document, PreserveAspectRatioAlignsAndScales)
{
  struct Case
  {
    const char* value;
    svg::Point origin;   // where the view box's (0, 0) lands
    svg::Point farEdge;  // where its (10, 10) lands
  };
  const Case cases[] = {
    {"", {50, 0}, {150, 100}},
    {"xMidYMid meet", {50, 0}, {150, 100}},
    {"xMinYMin", {0, 0}, {100, 100}},
    {"xMaxYMax meet", {100, 0}, {200, 100}},
    {"xMidYMid slice", {0, -50}, {200, 150}},
    {"xMinYMax slice", {0, -100}, {200, 100}},
    {"none", {0, 0}, {200, 100}},
    {"defer xMinYMin", {0, 0}, {100, 100}},
  };
  for (const Case& c : cases)
  {
    const std::string attribute = *c.value ? std::string(" preserveAspectRatio='") + c.value + "'" : std::string();
    const auto image = Doc("width='200' height='100' viewBox='0 0 10 10'" + attribute, "<rect width='10' height='10'/>");
    ASSERT_TRUE(image) << c.value;
    const auto& points = image->shapes[0].paths[0].points;
    ExpectPoints({points[0], points[6]}, {c.origin, c.farEdge});
  }
}

TEST(Document, WithoutSizeTheDrawingMeasuredFromTheOriginGivesIt)
{
  auto image = Doc("", "<rect x='10' y='10' width='20' height='30'/>");
  ASSERT_TRUE(image);
  EXPECT_EQ(30.f, image->width);
  EXPECT_EQ(40.f, image->height);
  image = Doc("width='0' height='25'", "<circle cx='10' cy='10' r='5'/>");
  ASSERT_TRUE(image);
  EXPECT_NEAR(15.f, image->width, 1e-4f);
  EXPECT_EQ(25.f, image->height);
  image = Doc("width='50%' height='50%'", "<rect width='3' height='4'/>");
  ASSERT_TRUE(image);
  EXPECT_EQ(3.f, image->width);
}

TEST(Document, NoSizeAtAllIsALoadFailure)
{
  EXPECT_FALSE(Doc(""));
  EXPECT_FALSE(Doc("width='0' height='0'"));
  EXPECT_FALSE(Doc("width='-10' height='10'"));
  EXPECT_FALSE(Doc("width='10'"));
  EXPECT_FALSE(Doc("", "<rect x='-20' y='-20' width='10' height='10'/>")); // all above and left of the origin
  EXPECT_FALSE(Doc("", "<g/>"));
}

TEST(Document, AHiddenRootIsAnEmptyImageOfItsSize)
{
  const auto image = Doc("width='10' height='20' display='none'", "<rect width='5' height='5'/>");
  ASSERT_TRUE(image);
  EXPECT_EQ(10.f, image->width);
  EXPECT_TRUE(image->shapes.empty());
}

TEST(Document, RootMustBeSvg)
{
  EXPECT_FALSE(ParseText("<html width='10' height='10'/>"));
  EXPECT_FALSE(ParseText("<g><svg width='10' height='10'/></g>"));
  EXPECT_TRUE(ParseText("<svg:svg width='10' height='10'/>"));
  EXPECT_FALSE(svg::ParseImage(nullptr, 0));
}

TEST(Document, RootPropertiesAreInheritedAndNestedSvgIsAGroup)
{
  const auto image = Doc("width='100' height='100' fill='red' opacity='0.5'",
                         "<svg x='10' y='20'><rect width='1' height='1'/></svg>");
  ASSERT_TRUE(image);
  ASSERT_EQ(1u, image->shapes.size());
  EXPECT_EQ((svg::Colour{255, 0, 0, 255}), image->shapes[0].fill.colour);
  EXPECT_EQ(0.5f, image->shapes[0].opacity);
  ExpectPoints({FirstPoint(*image)}, {{10, 20}});
}

TEST(Document, ReadsTheExportStyleOfCommonDrawingPrograms)
{
  // Declared entities, a class style sheet, pixel-suffixed root position, editor attributes.
  const auto image = ParseText(
    "<?xml version='1.0' encoding='utf-8'?>\n"
    "<!DOCTYPE svg PUBLIC '-//W3C//DTD SVG 1.1//EN' 'http://www.w3.org/Graphics/SVG/1.1/DTD/svg11.dtd' [\n"
    "  <!ENTITY ns_svg 'http://www.w3.org/2000/svg'>\n]>\n"
    "<svg version='1.1' id='Layer_1' xmlns='&ns_svg;' xmlns:sodipodi='s' x='0px' y='0px' viewBox='0 0 500 100'"
    " style='enable-background:new 0 0 500 100;' xml:space='preserve' sodipodi:docname='logo.svg'>\n"
    "<style type='text/css'>\n\t.st0{fill:#FFFFFF;}\n\t.st1{fill:none;stroke:#E0A030;stroke-width:2;stroke-miterlimit:10;}\n</style>\n"
    "<sodipodi:namedview pagecolor='#ffffff'/>\n"
    "<g inkscape:label='Layer 1' inkscape:groupmode='layer'>\n"
    "  <path class='st0' d='M10,10h80v80H10V10z'/>\n"
    "  <circle class='st1' cx='250' cy='50' r='40'/>\n"
    "</g>\n</svg>\n");
  ASSERT_TRUE(image);
  EXPECT_EQ(500.f, image->width);
  EXPECT_EQ(100.f, image->height);
  ASSERT_EQ(2u, image->shapes.size());
  EXPECT_EQ((svg::Colour{255, 255, 255, 255}), image->shapes[0].fill.colour);
  EXPECT_TRUE(image->shapes[0].paths[0].closed);
  EXPECT_EQ(svg::PaintKind::None, image->shapes[1].fill.kind);
  EXPECT_EQ((svg::Colour{0xE0, 0xA0, 0x30, 255}), image->shapes[1].stroke.colour);
  EXPECT_EQ(2.f, image->shapes[1].strokeWidth);
  EXPECT_EQ(10.f, image->shapes[1].miterLimit);
}
