#pragma once

#include "IArgbColour.h"

#include <initializer_list>

namespace pfw::gui {

// The nine colours a control style draws with; indices the caller does not give take
// the framework's default of that index.
struct IColourSet
{
  static constexpr int kCount = 9;
  enum Index { kTransparent = 0, kBackground, kForeground, kPressed, kFrame, kHighlight, kShadow, kExtra1, kExtra2 };

  IArgbColour colours[kCount];

  IColourSet();
  IColourSet(std::initializer_list<IArgbColour> list);
  IColourSet(const IArgbColour* list, int count);

  const IArgbColour& Get(int index) const { return colours[index]; }
  static const IArgbColour& Default(int index);
};

} // namespace pfw::gui
