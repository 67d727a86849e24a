#include "IColourSet.h"

namespace pfw::gui {

namespace {
const IArgbColour kDefaults[IColourSet::kCount] = {
  {0, 0, 0, 0},     {255, 200, 200, 200}, {255, 240, 240, 240}, {255, 70, 70, 70}, {10, 0, 0, 0},
  {60, 0, 0, 0},    {255, 0, 0, 0},       {255, 0, 255, 0},     {255, 0, 0, 255},
};
} // namespace

const IArgbColour& IColourSet::Default(int index)
{
  return kDefaults[index];
}

IColourSet::IColourSet()
  : IColourSet(nullptr, 0)
{
}

IColourSet::IColourSet(std::initializer_list<IArgbColour> list)
  : IColourSet(list.begin(), static_cast<int>(list.size()))
{
}

IColourSet::IColourSet(const IArgbColour* list, int count)
{
  for (int i = 0; i < kCount; ++i)
    colours[i] = i < count ? list[i] : kDefaults[i];
}

} // namespace pfw::gui
