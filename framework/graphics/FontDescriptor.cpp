#include "FontDescriptor.h"

#include "TextConversion.h"

#include <string>

namespace pfw::gui {

namespace {
constexpr uint32_t Tag(const char* tag)
{
  return (static_cast<uint32_t>(static_cast<unsigned char>(tag[0])) << 24) |
         (static_cast<uint32_t>(static_cast<unsigned char>(tag[1])) << 16) |
         (static_cast<uint32_t>(static_cast<unsigned char>(tag[2])) << 8) |
         static_cast<uint32_t>(static_cast<unsigned char>(tag[3]));
}

// The shortest tables that hold every field read from them.
constexpr uint32_t kHeadLength = 54;
constexpr uint32_t kHheaLength = 36;
constexpr uint32_t kNameHeaderLength = 6;
constexpr uint32_t kNameRecordLength = 12;
constexpr uint32_t kTableRecordLength = 16;
} // namespace

FontDescriptor::FontDescriptor(const void* data, int size, int faceIndex)
  : mData(static_cast<const unsigned char*>(data))
  , mSize(data && size > 0 ? static_cast<uint64_t>(size) : 0)
{
  uint32_t version = 0;
  if (faceIndex < 0 || !Read32(0, version))
    return;
  uint32_t offsetTable = 0;
  if (version == 0x00010000 || version == Tag("1\0\0\0") || version == Tag("OTTO") || version == Tag("typ1"))
  {
    if (faceIndex != 0)
      return;
  }
  else if (version == Tag("ttcf"))
  {
    uint32_t collectionVersion = 0;
    uint32_t numFonts = 0;
    if (!Read32(4, collectionVersion) || (collectionVersion != 0x00010000 && collectionVersion != 0x00020000) ||
        !Read32(8, numFonts) || static_cast<uint32_t>(faceIndex) >= numFonts ||
        !Read32(12 + 4 * static_cast<uint64_t>(faceIndex), offsetTable))
      return;
  }
  else
  {
    return;
  }
  if (!Fits(offsetTable, 12))
    return;
  mOffsetTable = mData + offsetTable;
  mHead = FindTable("head", kHeadLength);
  mName = FindTable("name", kNameHeaderLength);
  mHhea = FindTable("hhea", kHheaLength);
  mFdsc = FindTable("fdsc", 0);
  if (!IsUsable())
    return;

  uint16_t ascender = 0, descender = 0, lineGap = 0;
  Read16(mHead + 18, mUnitsPerEm);
  Read16(mHead + 44, mMacStyle);
  Read16(mHhea + 4, ascender);
  Read16(mHhea + 6, descender);
  Read16(mHhea + 8, lineGap);
  mAscender = static_cast<int16_t>(ascender);
  mDescender = static_cast<int16_t>(descender);
  mLineGap = static_cast<int16_t>(lineGap);
  mFamily = NameText(1, true);
  if (mFamily.GetLength() == 0)
    mFamily = NameText(1, false);
  mStyle = NameText(2, true);
  if (mStyle.GetLength() == 0)
    mStyle = NameText(2, false);
}

bool FontDescriptor::Read16(uint64_t at, uint16_t& value) const
{
  if (!Fits(at, 2))
    return false;
  value = static_cast<uint16_t>((mData[at] << 8) | mData[at + 1]);
  return true;
}

bool FontDescriptor::Read32(uint64_t at, uint32_t& value) const
{
  if (!Fits(at, 4))
    return false;
  value = (static_cast<uint32_t>(mData[at]) << 24) | (static_cast<uint32_t>(mData[at + 1]) << 16) |
          (static_cast<uint32_t>(mData[at + 2]) << 8) | static_cast<uint32_t>(mData[at + 3]);
  return true;
}

uint32_t FontDescriptor::FindTable(const char* tag) const
{
  return FindTable(tag, 0);
}

uint32_t FontDescriptor::FindTable(const char* tag, uint32_t minimumLength) const
{
  if (!mOffsetTable || !tag)
    return 0;
  const uint64_t start = static_cast<uint64_t>(mOffsetTable - mData);
  uint16_t numTables = 0;
  Read16(start + 4, numTables);
  const uint32_t wanted = Tag(tag);
  for (uint32_t i = 0; i < numTables; ++i)
  {
    const uint64_t record = start + 12 + kTableRecordLength * i;
    uint32_t recordTag = 0, offset = 0, length = 0;
    if (!Read32(record, recordTag) || !Read32(record + 8, offset) || !Read32(record + 12, length))
      return 0;
    if (recordTag == wanted)
      return offset != 0 && length >= minimumLength && Fits(offset, length) ? offset : 0;
  }
  return 0;
}

GrowString FontDescriptor::NameText(int nameId, bool windows) const
{
  GrowString text("");
  uint16_t count = 0, stringOffset = 0;
  if (!mName || !Read16(mName + 2, count) || !Read16(mName + 4, stringOffset))
    return text;
  const uint16_t platform = windows ? 3 : 1;
  const uint16_t encoding = windows ? 1 : 0;
  const uint16_t language = windows ? 1033 : 0;
  for (uint32_t i = 0; i < count; ++i)
  {
    const uint64_t record = mName + kNameHeaderLength + kNameRecordLength * i;
    uint16_t fields[6] = {};
    for (int f = 0; f < 6; ++f)
      if (!Read16(record + 2 * f, fields[f]))
        return text;
    if (fields[0] != platform || fields[1] != encoding || fields[2] != language || fields[3] != nameId)
      continue;
    const uint64_t at = static_cast<uint64_t>(mName) + stringOffset + fields[5];
    const uint16_t length = fields[4];
    if (!Fits(at, length))
      return text;
    std::string utf8;
    if (windows)
    {
      std::u16string units;
      for (uint16_t b = 0; b + 1 < length; b += 2)
        units.push_back(static_cast<char16_t>((mData[at + b] << 8) | mData[at + b + 1]));
      utf8 = Utf16ToUtf8(units);
    }
    else
    {
      // Macintosh Roman beyond ASCII would not be UTF-8; such bytes become U+FFFD.
      for (uint16_t b = 0; b < length; ++b)
        AppendUtf8(utf8, mData[at + b] < 0x80 ? char32_t(mData[at + b]) : char32_t(0xFFFD));
    }
    text.Set(utf8.c_str());
    return text;
  }
  return text;
}

} // namespace pfw::gui
