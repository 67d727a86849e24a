#include "deps/svg/XmlDocument.h"

#include <gtest/gtest.h>

#include <string>

using svg::ParseXml;

namespace {

std::unique_ptr<svg::XmlElement> Xml(const std::string& text)
{
  return ParseXml(text.data(), text.size());
}

} // namespace

TEST(XmlDocument, ReadsElementsAttributesAndText)
{
  const auto root = Xml("\xEF\xBB\xBF<?xml version=\"1.0\"?>\n<!-- intro -->\n"
                        "<!DOCTYPE svg [ <!ENTITY ns \"x>y\"> ]>\n"
                        "<svg a='1' b = \"two words\"><g id=\"x\"><rect/></g>text<![CDATA[<raw>]]><?pi ?></svg>\n");
  ASSERT_TRUE(root);
  EXPECT_EQ("svg", root->name);
  ASSERT_EQ(2u, root->attributes.size());
  EXPECT_EQ("1", *root->Find("a"));
  EXPECT_EQ("two words", *root->Find("b"));
  EXPECT_EQ(nullptr, root->Find("c"));
  ASSERT_EQ(1u, root->children.size());
  const svg::XmlElement& g = *root->children[0];
  EXPECT_EQ("g", g.name);
  EXPECT_EQ(root.get(), g.parent);
  ASSERT_EQ(1u, g.children.size());
  EXPECT_EQ("rect", g.children[0]->name);
  EXPECT_EQ("text<raw>", root->text);
}

TEST(XmlDocument, DecodesEntitiesAndKeepsUnknownOnes)
{
  const auto root = Xml("<svg v=\"&lt;&gt;&amp;&quot;&apos;&#65;&#x42;&#xE9;&custom;&#xZZ;\">a&amp;b</svg>");
  ASSERT_TRUE(root);
  EXPECT_EQ("<>&\"'AB\xC3\xA9&custom;&#xZZ;", *root->Find("v"));
  EXPECT_EQ("a&b", root->text);
}

TEST(XmlDocument, StripsTheSvgPrefixOnly)
{
  const auto root = Xml("<svg:svg><svg:rect/><inkscape:thing/></svg:svg>");
  ASSERT_TRUE(root);
  EXPECT_EQ("svg", root->name);
  EXPECT_EQ("rect", root->children[0]->name);
  EXPECT_EQ("inkscape:thing", root->children[1]->name);
}

TEST(XmlDocument, RefusesMalformedText)
{
  const char* bad[] = {
    "",
    "   ",
    "plain text",
    "<svg>",                            // never closed
    "<svg><g></svg>",                   // unbalanced
    "<svg></g>",                        // mismatched close
    "<svg a=1></svg>",                  // unquoted value
    "<svg a=\"1></svg>",                // unterminated value
    "<svg a=\"1\"b=\"2\"></svg>",       // no space between attributes
    "<svg a></svg>",                    // attribute without value
    "<svg></svg><svg></svg>",           // two roots
    "<svg></svg>trailing",              // text after the root
    "<svg><!-- open comment</svg>",
    "<svg><![CDATA[ open</svg>",
    "<svg/",
    "<",
    "<svg></svg",
    "<!DOCTYPE svg [ <svg></svg>",
  };
  for (const char* text : bad)
    EXPECT_FALSE(Xml(text)) << text;
  EXPECT_FALSE(ParseXml(nullptr, 10));
}

TEST(XmlDocument, RefusesNestingBeyondTheLimitAndAcceptsItUpToIt)
{
  auto nested = [](int depth) {
    std::string text;
    for (int i = 0; i < depth; ++i)
      text += "<g>";
    for (int i = 0; i < depth; ++i)
      text += "</g>";
    return text;
  };
  EXPECT_TRUE(Xml(nested(svg::kMaxXmlDepth)));
  EXPECT_FALSE(Xml(nested(svg::kMaxXmlDepth + 1)));
  EXPECT_FALSE(Xml(nested(100000)));
}

TEST(XmlDocument, StopsAtTheGivenLengthNotAtTheTerminator)
{
  const std::string text = "<svg></svg>GARBAGE";
  EXPECT_TRUE(ParseXml(text.data(), 11));
  EXPECT_FALSE(ParseXml(text.data(), 10));
  const std::string withNul("<svg>\0</svg>", 12);
  const auto root = ParseXml(withNul.data(), withNul.size());
  ASSERT_TRUE(root);
  EXPECT_EQ(1u, root->text.size());
}
