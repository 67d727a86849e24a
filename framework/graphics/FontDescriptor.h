#pragma once

#include "framework/core/GrowString.h"

#include <cstdint>

namespace pfw::gui {

// A parsed view of one font inside the bytes of a font file (a single TrueType/OpenType
// font or a collection); it does not own the bytes. Every offset is checked against the
// size, so a truncated or hostile file gives an unusable descriptor, never a read past
// its end.
class FontDescriptor
{
public:
  FontDescriptor() = default;
  FontDescriptor(const void* data, int size, int faceIndex);

  // The font's offset table inside the data; null when the face is not a usable font.
  const unsigned char* OffsetTable() const { return mOffsetTable; }
  // Usable: an offset table with "head", "name" and "hhea".
  bool IsUsable() const { return mOffsetTable && mHead && mName && mHhea; }

  // The byte offset of a whole table inside the file; 0 when absent or out of bounds.
  uint32_t FindTable(const char* tag) const;
  // Name record text as UTF-8: the Windows (Unicode, US English) or Macintosh (Roman,
  // English) record of a name id; empty when there is none.
  GrowString NameText(int nameId, bool windows) const;

  uint32_t HeadOffset() const { return mHead; }
  uint32_t NameOffset() const { return mName; }
  uint32_t HheaOffset() const { return mHhea; }
  uint32_t FdscOffset() const { return mFdsc; }
  const char* FamilyName() const { return mFamily.Get(); }
  const char* StyleName() const { return mStyle.Get(); }
  uint16_t MacStyle() const { return mMacStyle; }
  uint16_t UnitsPerEm() const { return mUnitsPerEm; }
  int16_t Ascender() const { return mAscender; }
  int16_t Descender() const { return mDescender; }
  int16_t LineGap() const { return mLineGap; }

private:
  bool Read16(uint64_t at, uint16_t& value) const;
  bool Read32(uint64_t at, uint32_t& value) const;
  bool Fits(uint64_t at, uint64_t length) const { return at <= mSize && length <= mSize - at; }
  uint32_t FindTable(const char* tag, uint32_t minimumLength) const;

  const unsigned char* mData = nullptr;
  uint64_t mSize = 0;
  const unsigned char* mOffsetTable = nullptr;
  uint32_t mHead = 0;
  uint32_t mName = 0;
  uint32_t mHhea = 0;
  uint32_t mFdsc = 0;
  GrowString mFamily;
  GrowString mStyle;
  uint16_t mMacStyle = 0;
  uint16_t mUnitsPerEm = 0;
  int16_t mAscender = 0;
  int16_t mDescender = 0;
  int16_t mLineGap = 0;
};

} // namespace pfw::gui
