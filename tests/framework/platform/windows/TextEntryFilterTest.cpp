// What the native text box lets through for each kind of parameter.

#include "framework/platform/windows/TextEntryFilter.h"

#include "framework/core/IParam.h"

#include <gtest/gtest.h>

using namespace pfw;

TEST(TextEntryFilterTest, NumbersForNumericParametersAndShortcutsAlways)
{
  IParam integer;
  integer.InitInt("Voicing", 0, 0, 11);
  IParam real;
  real.InitDouble("Gain", 0.0, -24.0, 24.0, 0.1);
  const struct
  {
    const IParam* param;
    wchar_t c;
    bool accepted;
  } cases[] = {{&integer, L'7', true},  {&integer, L'-', true},  {&integer, L'+', true},
               {&integer, L'a', false}, {&integer, L'.', false}, {&real, L'.', true},
               {&real, L'e', false},    {&real, L'\b', true},    {&integer, 0x03, true} /* Ctrl+C */,
               {&integer, 0x16, true} /* Ctrl+V */, {nullptr, L'a', true}, {nullptr, L'\x00E4', true}};
  for (const auto& c : cases)
    EXPECT_EQ(c.accepted, TextEntryAcceptsChar(c.param, c.c)) << static_cast<int>(c.c);
}
