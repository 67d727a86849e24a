#include "deps/svg/StyleSheet.h"
#include "deps/svg/XmlDocument.h"

#include "SvgTestSupport.h"

using svg::Colour;
using svg::PaintKind;

TEST(Style, GroupsPassPaintAndStrokePropertiesToTheirContent)
{
  const auto image = ParseBody("<g fill='#00ff00' stroke='blue' stroke-width='3' stroke-linecap='round'"
                               "   stroke-linejoin='bevel' stroke-miterlimit='7' fill-rule='evenodd' fill-opacity='0.5'>"
                               "  <rect width='1' height='1'/>"
                               "  <g fill='red' stroke-linejoin='round'><circle r='1'/></g>"
                               "</g>"
                               "<rect width='1' height='1'/>");
  ASSERT_TRUE(image);
  ASSERT_EQ(3u, image->shapes.size());
  const svg::Shape& inner = image->shapes[0];
  EXPECT_EQ((Colour{0, 255, 0, 128}), inner.fill.colour);
  EXPECT_EQ(PaintKind::Colour, inner.stroke.kind);
  EXPECT_EQ((Colour{0, 0, 255, 255}), inner.stroke.colour);
  EXPECT_EQ(3.f, inner.strokeWidth);
  EXPECT_EQ(svg::LineCap::Round, inner.lineCap);
  EXPECT_EQ(svg::LineJoin::Bevel, inner.lineJoin);
  EXPECT_EQ(7.f, inner.miterLimit);
  EXPECT_EQ(svg::FillRule::EvenOdd, inner.fillRule);
  const svg::Shape& nested = image->shapes[1];
  EXPECT_EQ((Colour{255, 0, 0, 128}), nested.fill.colour); // fill-opacity still inherited
  EXPECT_EQ(svg::LineJoin::Round, nested.lineJoin);
  EXPECT_EQ(3.f, nested.strokeWidth);
  const svg::Shape& outside = image->shapes[2];
  EXPECT_EQ((Colour{0, 0, 0, 255}), outside.fill.colour);
  EXPECT_EQ(PaintKind::None, outside.stroke.kind);
}

TEST(Style, StyleAttributeBeatsPresentationAttributes)
{
  const svg::Shape shape = OnlyShape("<rect width='1' height='1' fill='red' style='fill: #0000FF ; stroke:lime;"
                                     " stroke-width : 2px; bogus; : x; fill-opacity: 25%' stroke='red'/>");
  EXPECT_EQ((Colour{0, 0, 255, 64}), shape.fill.colour);
  EXPECT_EQ((Colour{0, 255, 0, 255}), shape.stroke.colour);
  EXPECT_EQ(2.f, shape.strokeWidth);
}

TEST(Style, InvalidValuesLeaveTheInheritedValue)
{
  const auto image = ParseBody("<g fill='red' stroke='blue' stroke-width='4' stroke-linecap='square'>"
                               "<rect width='1' height='1' fill='nonsense' stroke='#12' stroke-width='-1'"
                               " stroke-linecap='pointy' stroke-miterlimit='0.5' fill-rule='sometimes' opacity='x'/>"
                               "<rect width='1' height='1' fill='inherit' stroke-width='inherit'/>"
                               "</g>");
  ASSERT_EQ(2u, image->shapes.size());
  for (const svg::Shape& shape : image->shapes)
  {
    EXPECT_EQ((Colour{255, 0, 0, 255}), shape.fill.colour);
    EXPECT_EQ((Colour{0, 0, 255, 255}), shape.stroke.colour);
    EXPECT_EQ(4.f, shape.strokeWidth);
    EXPECT_EQ(svg::LineCap::Square, shape.lineCap);
    EXPECT_EQ(4.f, shape.miterLimit);
    EXPECT_EQ(svg::FillRule::NonZero, shape.fillRule);
    EXPECT_EQ(1.f, shape.opacity);
  }
}

TEST(Style, OpacityMultipliesThroughGroupsAndPaintOpacityGoesIntoTheColour)
{
  const auto image = ParseBody("<g opacity='0.5'><g opacity='50%'>"
                               "<rect width='1' height='1' opacity='0.8' fill-opacity='0.5' stroke='red' stroke-opacity='2'/>"
                               "</g><rect width='1' height='1' fill='rgba(0,0,0,0.5)' fill-opacity='0.5'/></g>");
  ASSERT_EQ(2u, image->shapes.size());
  EXPECT_FLOAT_EQ(0.2f, image->shapes[0].opacity);
  EXPECT_EQ(128, image->shapes[0].fill.colour.a);
  EXPECT_EQ(255, image->shapes[0].stroke.colour.a); // clamped to 1
  EXPECT_FLOAT_EQ(0.5f, image->shapes[1].opacity);
  EXPECT_EQ(64, image->shapes[1].fill.colour.a); // the colour's own alpha times fill-opacity
}

TEST(Style, HiddenShapesStayButDisplayNoneIsLeftOut)
{
  const auto image = ParseBody("<g visibility='hidden'><rect id='a' width='1' height='1'/>"
                               "<rect id='b' width='1' height='1' visibility='visible'/></g>"
                               "<g display='none'><rect id='c' width='1' height='1'/></g>"
                               "<rect id='d' width='1' height='1' style='display:none'/>"
                               "<rect id='e' width='1' height='1' display='inline'/>");
  ASSERT_EQ(3u, image->shapes.size());
  EXPECT_EQ("a", image->shapes[0].id);
  EXPECT_FALSE(image->shapes[0].visible);
  EXPECT_EQ("b", image->shapes[1].id);
  EXPECT_TRUE(image->shapes[1].visible);
  EXPECT_EQ("e", image->shapes[2].id);
}

TEST(Style, NoneAndCurrentColourPaints)
{
  const auto image = ParseBody("<g color='#102030'><rect width='1' height='1' fill='currentColor' stroke='none'/>"
                               "<rect width='1' height='1' fill='none' stroke='currentColor' color='lime'/></g>");
  ASSERT_EQ(2u, image->shapes.size());
  EXPECT_EQ((Colour{0x10, 0x20, 0x30, 255}), image->shapes[0].fill.colour);
  EXPECT_EQ(PaintKind::None, image->shapes[0].stroke.kind);
  EXPECT_EQ(PaintKind::None, image->shapes[1].fill.kind);
  EXPECT_EQ((Colour{0, 255, 0, 255}), image->shapes[1].stroke.colour);
}

TEST(Style, DashArrays)
{
  auto dashes = [](const std::string& value) {
    return OnlyShape("<line x2='1' stroke='red' stroke-dasharray='" + value + "'/>").dashes;
  };
  EXPECT_EQ((std::vector<float>{5, 3}), dashes("5 3"));
  EXPECT_EQ((std::vector<float>{5, 3, 2, 5, 3, 2}), dashes("5,3,2")); // an odd list repeats
  EXPECT_EQ((std::vector<float>{1, 2}), dashes(" 1 , 2 "));
  EXPECT_EQ((std::vector<float>{10, 5}), dashes("10% 5"));
  EXPECT_TRUE(dashes("none").empty());
  EXPECT_TRUE(dashes("0 0").empty()); // no dash length at all: solid
  EXPECT_TRUE(dashes("5 -1").empty()); // invalid: not applied
  EXPECT_TRUE(dashes("5 x").empty());
  const svg::Shape inherited = OnlyShape("<g stroke-dasharray='4' stroke-dashoffset='2'><line x2='1' stroke='red'/></g>");
  EXPECT_EQ((std::vector<float>{4, 4}), inherited.dashes);
  EXPECT_EQ(2.f, inherited.dashOffset);
}

TEST(Style, StyleSheetRulesApplyBySpecificityBetweenAttributesAndStyle)
{
  const auto image = ParseBody("<style>/* comment */ rect { fill: red; stroke: lime }"
                               " .blue, .other { fill: blue } #special { fill: #123456 }"
                               " rect.thick { stroke-width: 5 } * { stroke-linecap: round }"
                               " g rect { fill: pink } a:hover { fill: pink } .x:first-child { fill: pink }"
                               " @media print { rect { fill: pink } } </style>"
                               "<rect id='plain' width='1' height='1' fill='green'/>"
                               "<rect class='blue' width='1' height='1'/>"
                               "<rect id='special' class='blue thick' width='1' height='1'/>"
                               "<rect class='blue' width='1' height='1' style='fill:white'/>"
                               "<circle class='thick' r='1'/>");
  ASSERT_EQ(5u, image->shapes.size());
  EXPECT_EQ((Colour{255, 0, 0, 255}), image->shapes[0].fill.colour); // rule beats attribute
  EXPECT_EQ((Colour{0, 0, 255, 255}), image->shapes[1].fill.colour);
  EXPECT_EQ((Colour{0x12, 0x34, 0x56, 255}), image->shapes[2].fill.colour);
  EXPECT_EQ(5.f, image->shapes[2].strokeWidth);
  EXPECT_EQ((Colour{255, 255, 255, 255}), image->shapes[3].fill.colour); // style attribute wins
  EXPECT_EQ((Colour{0, 0, 0, 255}), image->shapes[4].fill.colour);       // rect.thick is not a circle
  EXPECT_EQ(1.f, image->shapes[4].strokeWidth);
  for (const svg::Shape& shape : image->shapes)
    EXPECT_EQ(svg::LineCap::Round, shape.lineCap);
}

TEST(Style, DeclarationsDropImportantAndEmptyParts)
{
  const svg::Declarations d = svg::ParseDeclarations(" fill : red !important;;stroke:; :blue; opacity:0.5 ");
  ASSERT_EQ(2u, d.size());
  EXPECT_EQ("fill", d[0].first);
  EXPECT_EQ("red", d[0].second);
  EXPECT_EQ("opacity", d[1].first);
  EXPECT_EQ("0.5", d[1].second);
}

TEST(Style, UseDrawsItsTargetMovedAndWithTheUseElementsStyle)
{
  const auto image = ParseBody("<defs><rect id='box' width='2' height='2'/>"
                               "<symbol id='sym'><circle r='1'/><rect width='1' height='1'/></symbol></defs>"
                               "<g fill='red'><use xlink:href='#box' x='10' y='20'/></g>"
                               "<use href='#box' transform='scale(2)' x='1'/>"
                               "<use href='#sym' fill='blue'/>"
                               "<use href='#missing'/><use/>");
  ASSERT_TRUE(image);
  ASSERT_EQ(4u, image->shapes.size());
  ExpectPoints({image->shapes[0].paths[0].points[0]}, {{10, 20}});
  EXPECT_EQ((Colour{255, 0, 0, 255}), image->shapes[0].fill.colour);
  ExpectPoints({image->shapes[1].paths[0].points[0], image->shapes[1].paths[0].points[6]}, {{2, 0}, {6, 4}});
  EXPECT_EQ((Colour{0, 0, 255, 255}), image->shapes[2].fill.colour);
  EXPECT_EQ((Colour{0, 0, 255, 255}), image->shapes[3].fill.colour);
}

TEST(Style, UseCyclesEndAndNestingIsBounded)
{
  const auto image = ParseBody("<g id='a'><use href='#b'/><rect width='1' height='1'/></g>"
                               "<g id='b'><use href='#a'/></g>"
                               "<use id='self' href='#self'/>");
  ASSERT_TRUE(image);
  EXPECT_LE(image->shapes.size(), 10u);
  EXPECT_GE(image->shapes.size(), 1u);
}
