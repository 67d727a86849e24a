#include "framework/graphics/FontData.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace pfw::gui;

namespace {
using Bytes = std::vector<unsigned char>;

void Put16(Bytes& b, size_t at, unsigned v)
{
  b[at] = static_cast<unsigned char>(v >> 8);
  b[at + 1] = static_cast<unsigned char>(v);
}

void Put32(Bytes& b, size_t at, uint32_t v)
{
  Put16(b, at, v >> 16);
  Put16(b, at + 2, v & 0xFFFF);
}

struct NameRecord
{
  unsigned platform, encoding, language, id;
  Bytes text;
};

Bytes Utf16Be(const std::u16string& text)
{
  Bytes out;
  for (char16_t c : text)
  {
    out.push_back(static_cast<unsigned char>(c >> 8));
    out.push_back(static_cast<unsigned char>(c));
  }
  return out;
}

NameRecord WindowsName(unsigned id, const std::u16string& text) { return {3, 1, 1033, id, Utf16Be(text)}; }
NameRecord MacName(unsigned id, const std::string& text) { return {1, 0, 0, id, Bytes(text.begin(), text.end())}; }

Bytes NameTable(const std::vector<NameRecord>& records)
{
  Bytes table(6 + 12 * records.size(), 0);
  Put16(table, 2, static_cast<unsigned>(records.size()));
  Put16(table, 4, static_cast<unsigned>(table.size()));
  Bytes strings;
  for (size_t i = 0; i < records.size(); ++i)
  {
    const NameRecord& r = records[i];
    const size_t at = 6 + 12 * i;
    Put16(table, at, r.platform);
    Put16(table, at + 2, r.encoding);
    Put16(table, at + 4, r.language);
    Put16(table, at + 6, r.id);
    Put16(table, at + 8, static_cast<unsigned>(r.text.size()));
    Put16(table, at + 10, static_cast<unsigned>(strings.size()));
    strings.insert(strings.end(), r.text.begin(), r.text.end());
  }
  table.insert(table.end(), strings.begin(), strings.end());
  return table;
}

Bytes HeadTable(unsigned unitsPerEm, unsigned macStyle)
{
  Bytes head(54, 0);
  Put16(head, 18, unitsPerEm);
  Put16(head, 44, macStyle);
  return head;
}

Bytes HheaTable(int ascender, int descender, int lineGap)
{
  Bytes hhea(36, 0);
  Put16(hhea, 4, static_cast<unsigned>(ascender) & 0xFFFF);
  Put16(hhea, 6, static_cast<unsigned>(descender) & 0xFFFF);
  Put16(hhea, 8, static_cast<unsigned>(lineGap) & 0xFFFF);
  return hhea;
}

struct Table
{
  const char* tag;
  Bytes bytes;
};

std::vector<Table> Face(const char* family, const char* style, unsigned macStyle = 0)
{
  std::u16string f(family, family + std::char_traits<char>::length(family));
  std::u16string s(style, style + std::char_traits<char>::length(style));
  return {{"head", HeadTable(2048, macStyle)},
          {"hhea", HheaTable(1900, -500, 0)},
          {"name", NameTable({WindowsName(1, f), WindowsName(2, s)})}};
}

// Appends one font (offset table, records, tables) with offsets from the file's start.
void AppendFont(Bytes& file, const std::vector<Table>& tables, uint32_t version = 0x00010000)
{
  const size_t start = file.size();
  file.resize(start + 12 + 16 * tables.size(), 0);
  Put32(file, start, version);
  Put16(file, start + 4, static_cast<unsigned>(tables.size()));
  for (size_t i = 0; i < tables.size(); ++i)
  {
    const size_t record = start + 12 + 16 * i;
    for (int c = 0; c < 4; ++c)
      file[record + c] = static_cast<unsigned char>(tables[i].tag[c]);
    Put32(file, record + 8, static_cast<uint32_t>(file.size()));
    Put32(file, record + 12, static_cast<uint32_t>(tables[i].bytes.size()));
    file.insert(file.end(), tables[i].bytes.begin(), tables[i].bytes.end());
  }
}

Bytes SingleFont(const std::vector<Table>& tables, uint32_t version = 0x00010000)
{
  Bytes file;
  AppendFont(file, tables, version);
  return file;
}

Bytes Collection(const std::vector<std::vector<Table>>& faces, uint32_t version = 0x00020000)
{
  Bytes file(12 + 4 * faces.size(), 0);
  file[0] = 't', file[1] = 't', file[2] = 'c', file[3] = 'f';
  Put32(file, 4, version);
  Put32(file, 8, static_cast<uint32_t>(faces.size()));
  for (size_t i = 0; i < faces.size(); ++i)
  {
    Put32(file, 12 + 4 * i, static_cast<uint32_t>(file.size()));
    AppendFont(file, faces[i]);
  }
  return file;
}

FontDescriptor Parse(const Bytes& file, int face)
{
  return FontDescriptor(file.data(), static_cast<int>(file.size()), face);
}
} // namespace

TEST(FontDescriptorTest, ReadsMetricsAndNamesOfASingleFont)
{
  const Bytes file = SingleFont(Face("Roboto", "Regular", 3));
  const FontDescriptor font = Parse(file, 0);
  ASSERT_TRUE(font.IsUsable());
  EXPECT_EQ(file.data(), font.OffsetTable());
  EXPECT_STREQ("Roboto", font.FamilyName());
  EXPECT_STREQ("Regular", font.StyleName());
  EXPECT_EQ(2048, font.UnitsPerEm());
  EXPECT_EQ(3, font.MacStyle());
  EXPECT_EQ(1900, font.Ascender());
  EXPECT_EQ(-500, font.Descender());
  EXPECT_EQ(0u, font.FdscOffset());
  EXPECT_EQ(font.HheaOffset(), font.FindTable("hhea"));
  EXPECT_FALSE(Parse(file, 1).IsUsable()) << "a single font has only face 0";
}

TEST(FontDescriptorTest, SingleFontSignatures)
{
  const struct
  {
    uint32_t version;
    bool usable;
  } cases[] = {{0x00010000, true}, {0x31000000, true}, {0x4F54544F /* OTTO */, true},
               {0x74797031 /* typ1 */, true}, {0x00020000, false}, {0x774F4646 /* wOFF */, false}};
  for (const auto& c : cases)
    EXPECT_EQ(c.usable, Parse(SingleFont(Face("F", "Regular"), c.version), 0).IsUsable()) << std::hex << c.version;
}

TEST(FontDescriptorTest, CollectionFacesAndVersions)
{
  const Bytes file = Collection({Face("A", "Regular"), Face("B", "Bold"), Face("C", "Italic")});
  EXPECT_STREQ("B", Parse(file, 1).FamilyName());
  EXPECT_STREQ("C", Parse(file, 2).FamilyName());
  EXPECT_FALSE(Parse(file, 3).IsUsable());
  EXPECT_FALSE(Parse(file, -1).IsUsable());
  EXPECT_STREQ("A", Parse(Collection({Face("A", "Regular")}, 0x00010000), 0).FamilyName());
  EXPECT_FALSE(Parse(Collection({Face("A", "Regular")}, 0x00030000), 0).IsUsable());
}

TEST(FontDescriptorTest, NameRecordChoice)
{
  // Macintosh names when Windows ones are missing; high Macintosh bytes are no UTF-8.
  Bytes file = SingleFont({{"head", HeadTable(1000, 0)},
                           {"hhea", HheaTable(0, 0, 0)},
                           {"name", NameTable({MacName(1, "Mac\xA5Sans"), MacName(2, "Book")})}});
  FontDescriptor font = Parse(file, 0);
  EXPECT_STREQ("Mac\xEF\xBF\xBDSans", font.FamilyName());
  EXPECT_STREQ("Book", font.StyleName());

  // Windows wins over Macintosh; a record of another language is ignored; surrogate
  // pairs combine and a lone surrogate becomes U+FFFD.
  file = SingleFont({{"head", HeadTable(1000, 0)},
                     {"hhea", HheaTable(0, 0, 0)},
                     {"name", NameTable({MacName(1, "Mac"), {3, 1, 1031, 1, Utf16Be(u"Deutsch")},
                                         WindowsName(1, u"Win\U0001D11E"), WindowsName(2, u"x\xD800y")})}});
  font = Parse(file, 0);
  EXPECT_STREQ("Win\xF0\x9D\x84\x9E", font.FamilyName());
  EXPECT_STREQ("x\xEF\xBF\xBDy", font.StyleName());
}

TEST(FontDescriptorTest, MissingOrBrokenTablesMakeItUnusable)
{
  std::vector<Table> noHhea = Face("F", "Regular");
  noHhea.erase(noHhea.begin() + 1);
  const FontDescriptor font = Parse(SingleFont(noHhea), 0);
  EXPECT_FALSE(font.IsUsable());
  EXPECT_NE(nullptr, font.OffsetTable());
  EXPECT_STREQ("", font.FamilyName());

  Bytes shortHead = SingleFont({{"head", Bytes(40, 0)}, {"hhea", HheaTable(0, 0, 0)}, {"name", NameTable({})}});
  EXPECT_FALSE(Parse(shortHead, 0).IsUsable());

  // A name string that points past the end leaves the name empty.
  Bytes file = SingleFont(Face("Family", "Regular"));
  const FontDescriptor whole = Parse(file, 0);
  Put16(file, whole.NameOffset() + 6 + 10, 0xFFF0);
  EXPECT_STREQ("", Parse(file, 0).FamilyName());
}

TEST(FontDescriptorTest, EveryTruncationIsSafe)
{
  const Bytes file = Collection({Face("A", "Regular"), Face("B", "Bold")});
  // The second face's tables end the file: any cut loses part of them.
  for (size_t size = 0; size < file.size(); ++size)
  {
    const Bytes cut(file.begin(), file.begin() + static_cast<long>(size));
    Parse(cut, 0);
    EXPECT_FALSE(Parse(cut, 1).IsUsable()) << size;
  }
  EXPECT_TRUE(Parse(file, 1).IsUsable());
  EXPECT_FALSE(FontDescriptor(nullptr, 100, 0).IsUsable());
}

TEST(FontDataTest, FaceChoiceByStyleName)
{
  const Bytes file = Collection({Face("A", "Regular"), Face("A", "Bold"), Face("A", "Italic")});
  const struct
  {
    const char* style;
    int face;
  } cases[] = {{"", 0}, {nullptr, 0}, {"Bold", 1}, {"Italic", 2}, {"Black", 0}};
  for (const auto& c : cases)
  {
    FontData data;
    ASSERT_TRUE(data.Assign(file.data(), static_cast<int>(file.size())));
    EXPECT_TRUE(data.SelectFace(c.style));
    EXPECT_EQ(c.face, data.FaceIndex()) << (c.style ? c.style : "null");
    EXPECT_TRUE(data.IsComplete());
    const unsigned char* start = static_cast<const unsigned char*>(data.Data());
    EXPECT_TRUE(data.Descriptor().OffsetTable() >= start && data.Descriptor().OffsetTable() < start + data.Size())
      << "the descriptor reads the record's own copy";
  }
}

TEST(FontDataTest, NoUsableFaceLeavesTheRecordIncomplete)
{
  FontData data;
  EXPECT_FALSE(data.Assign(nullptr, 4));
  EXPECT_FALSE(data.IsComplete());
  const Bytes junk(64, 0x5A);
  ASSERT_TRUE(data.Assign(junk.data(), static_cast<int>(junk.size())));
  EXPECT_FALSE(data.SelectFace(""));
  EXPECT_EQ(-1, data.FaceIndex());
  EXPECT_FALSE(data.IsComplete());
  // A face without a style name is still taken rather than showing no text at all.
  const Bytes unnamed = SingleFont({{"head", HeadTable(1000, 0)}, {"hhea", HheaTable(0, 0, 0)}, {"name", NameTable({})}});
  ASSERT_TRUE(data.Assign(unnamed.data(), static_cast<int>(unnamed.size())));
  EXPECT_TRUE(data.SelectFace("Bold"));
  EXPECT_EQ(0, data.FaceIndex());
}
