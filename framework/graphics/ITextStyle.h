#pragma once

#include "IArgbColour.h"

#include <cstring>

namespace pfw::gui {

struct ITextStyle
{
  static constexpr int kFontIdLength = 64;
  enum Align { kAlignNear = 0, kAlignCentre = 1, kAlignFar = 2 };

  char fontId[kFontIdLength] = "Roboto-Regular";
  float size = 14.f;
  IArgbColour colour{255, 0, 0, 0};
  IArgbColour entryBackground{255, 255, 255, 255};
  IArgbColour entryText{255, 0, 0, 0};
  float angle = 0.f;
  int hAlign = kAlignCentre;
  int vAlign = kAlignCentre;

  void SetFontId(const char* id)
  {
    std::strncpy(fontId, id ? id : "", kFontIdLength - 1);
    fontId[kFontIdLength - 1] = '\0';
  }
};

} // namespace pfw::gui
