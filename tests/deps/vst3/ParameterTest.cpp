#include "deps/vst3/helpers/ParameterContainer.h"
#include "deps/vst3/helpers/StringListParameter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

std::u16string shown(const Parameter& parameter, ParamValue value)
{
  String128 text;
  parameter.toString(value, text);
  return text;
}

StringListParameter* threeChoices()
{
  StringListParameter* list = new StringListParameter(u"Mode", 3);
  list->appendString(u"Clean");
  list->appendString(u"Crunch");
  list->appendString(u"Lead");
  return list;
}

} // namespace

TEST(Parameter, ContinuousValuesClampAndRefuseNaN)
{
  Parameter* parameter = new Parameter(u"Drive", 7, u"%", 0.25);
  const ParameterInfo& info = parameter->getInfo();
  EXPECT_EQ(info.id, 7u);
  EXPECT_EQ(std::u16string(info.units), u"%");
  EXPECT_EQ(info.defaultNormalizedValue, 0.25);
  EXPECT_EQ(info.flags, ParameterInfo::kCanAutomate);
  EXPECT_EQ(info.unitId, kRootUnitId);
  EXPECT_EQ(parameter->getNormalized(), 0.25);
  EXPECT_TRUE(parameter->setNormalized(2.));
  EXPECT_EQ(parameter->getNormalized(), 1.);
  EXPECT_FALSE(parameter->setNormalized(1.)); // unchanged
  EXPECT_FALSE(parameter->setNormalized(std::nan("")));
  EXPECT_EQ(parameter->getNormalized(), 1.);
  EXPECT_TRUE(parameter->setNormalized(-0.5));
  EXPECT_EQ(parameter->getNormalized(), 0.);
  parameter->release();
}

TEST(Parameter, ADefaultOutsideTheRangeBecomesAValidOne)
{
  ParameterInfo info{};
  info.id = 4;
  info.defaultNormalizedValue = std::nan("");
  Parameter* fromInfo = new Parameter(info);
  EXPECT_EQ(fromInfo->getNormalized(), 0.);
  EXPECT_EQ(fromInfo->getInfo().defaultNormalizedValue, 0.);
  Parameter* tooHigh = new Parameter(u"High", 5, nullptr, 3.);
  EXPECT_EQ(tooHigh->getNormalized(), 1.);
  EXPECT_EQ(tooHigh->getInfo().defaultNormalizedValue, 1.);
  fromInfo->release();
  tooHigh->release();
}

TEST(Parameter, ContinuousTextRoundTripsAndRefusesJunk)
{
  Parameter* parameter = new Parameter(u"Level", 1);
  parameter->setPrecision(2);
  EXPECT_EQ(shown(*parameter, 0.256), u"0.26");
  ParamValue value = -1.;
  EXPECT_TRUE(parameter->fromString(u" 0.75 ", value));
  EXPECT_EQ(value, 0.75);
  EXPECT_TRUE(parameter->fromString(u"4", value));
  EXPECT_EQ(value, 1.);
  value = 0.5;
  for (const char16_t* junk : {u"", u"abc", u"0.5x", u"nan", u"\u00E9", u"  "})
  {
    EXPECT_FALSE(parameter->fromString(junk, value)) << std::string(junk, junk + std::char_traits<char16_t>::length(junk));
    EXPECT_EQ(value, 0.5);
  }
  EXPECT_FALSE(parameter->fromString(nullptr, value));
  parameter->release();
}

TEST(Parameter, SteppedValuesMapToEvenStates)
{
  Parameter* parameter = new Parameter(u"Voicing", 2, nullptr, 0., 4); // five states 0 ... 4
  EXPECT_EQ(parameter->toPlain(0.), 0.);
  EXPECT_EQ(parameter->toPlain(0.19), 0.);
  EXPECT_EQ(parameter->toPlain(0.2), 1.);
  EXPECT_EQ(parameter->toPlain(0.99), 4.);
  EXPECT_EQ(parameter->toPlain(1.), 4.);
  EXPECT_EQ(parameter->toNormalized(3.), 0.75);
  EXPECT_EQ(parameter->toNormalized(9.), 1.);
  EXPECT_EQ(shown(*parameter, 0.5), u"2");
  ParamValue value = 0.;
  EXPECT_TRUE(parameter->fromString(u"1", value));
  EXPECT_EQ(value, 0.25);
  for (int32 state = 0; state <= 4; ++state)
    EXPECT_EQ(parameter->toPlain(parameter->toNormalized(state)), state);
  parameter->release();
}

TEST(StringListParameter, MapsNormalisedValuesToItsTexts)
{
  StringListParameter* list = threeChoices();
  const ParameterInfo& info = list->getInfo();
  EXPECT_EQ(info.stepCount, 2);
  EXPECT_TRUE(info.flags & ParameterInfo::kIsList);
  EXPECT_EQ(list->getStringCount(), 3);
  // index = min(n - 1, floor(v * n)); index i is i / (n - 1)
  EXPECT_EQ(list->toPlain(0.), 0.);
  EXPECT_EQ(list->toPlain(0.33), 0.);
  EXPECT_EQ(list->toPlain(0.34), 1.);
  EXPECT_EQ(list->toPlain(0.66), 1.);
  EXPECT_EQ(list->toPlain(0.67), 2.);
  EXPECT_EQ(list->toPlain(1.), 2.);
  EXPECT_EQ(list->toPlain(7.), 2.);
  EXPECT_EQ(list->toPlain(-1.), 0.);
  EXPECT_EQ(list->toPlain(std::nan("")), 0.);
  EXPECT_EQ(list->toNormalized(0.), 0.);
  EXPECT_EQ(list->toNormalized(1.), 0.5);
  EXPECT_EQ(list->toNormalized(2.), 1.);
  EXPECT_EQ(list->toNormalized(5.), 1.);
  for (int32 index = 0; index < 3; ++index)
    EXPECT_EQ(list->toPlain(list->toNormalized(index)), index);
  EXPECT_EQ(shown(*list, 0.5), u"Crunch");
  EXPECT_EQ(shown(*list, 1.), u"Lead");

  ParamValue value = -1.;
  EXPECT_TRUE(list->fromString(u"Lead", value));
  EXPECT_EQ(value, 1.);
  value = 0.25;
  EXPECT_FALSE(list->fromString(u"Lea", value));
  EXPECT_FALSE(list->fromString(u"Leads", value));
  EXPECT_FALSE(list->fromString(u"1", value));
  EXPECT_EQ(value, 0.25);

  EXPECT_TRUE(list->replaceString(1, u"Edge"));
  EXPECT_EQ(shown(*list, 0.5), u"Edge");
  EXPECT_FALSE(list->replaceString(3, u"None"));
  list->release();
}

TEST(StringListParameter, DegenerateListsStayDefined)
{
  StringListParameter* list = new StringListParameter(u"Empty", 9);
  EXPECT_EQ(list->getInfo().stepCount, 0);
  EXPECT_EQ(shown(*list, 0.7), u"");
  EXPECT_EQ(list->toNormalized(3.), 0.);
  list->appendString(u"Only");
  EXPECT_EQ(list->getInfo().stepCount, 0);
  EXPECT_EQ(shown(*list, 1.), u"Only");
  EXPECT_EQ(list->toPlain(1.), 0.);
  list->release();
}

TEST(StringListParameter, NamesItsClassChain)
{
  StringListParameter* list = threeChoices();
  EXPECT_STREQ(list->isA(), "StringListParameter");
  EXPECT_TRUE(list->isTypeOf("Parameter"));
  EXPECT_TRUE(list->isTypeOf("FObject"));
  EXPECT_FALSE(list->isTypeOf("Parameter", false));
  list->release();
}

TEST(ParameterContainer, KeepsDeclarationOrderAndFindsById)
{
  ParameterContainer container;
  for (ParamID tag : {65536u, 3u, 70000u, 0u, 12u})
    ASSERT_NE(container.addParameter(u"P", nullptr, 0, 0., 0, tag), nullptr) << tag;
  ASSERT_EQ(container.getParameterCount(), 5);
  const ParamID order[] = {65536u, 3u, 70000u, 0u, 12u};
  for (int32 i = 0; i < 5; ++i)
  {
    EXPECT_EQ(container.getParameterByIndex(i)->getInfo().id, order[i]);
    EXPECT_EQ(container.getParameter(order[i]), container.getParameterByIndex(i));
  }
  EXPECT_EQ(container.getParameter(4), nullptr);
  EXPECT_EQ(container.getParameter(0xFFFFFFFFu), nullptr);
  EXPECT_EQ(container.getParameterByIndex(5), nullptr);
  EXPECT_EQ(container.getParameterByIndex(-1), nullptr);
}

TEST(ParameterContainer, RefusesATakenIdAndReleasesWhatItDrops)
{
  ParameterContainer container;
  Parameter* first = new Parameter(u"First", 5);
  first->addRef(); // the test's own reference, to watch the count
  ASSERT_EQ(container.addParameter(first), first);
  EXPECT_EQ(first->getRefCount(), 2u);

  Parameter* clash = new Parameter(u"Clash", 5);
  clash->addRef();
  EXPECT_EQ(container.addParameter(clash), nullptr);
  EXPECT_EQ(clash->getRefCount(), 1u); // the container dropped its reference
  EXPECT_EQ(container.getParameter(5), first);
  EXPECT_EQ(container.getParameterCount(), 1);
  clash->release();

  container.removeAll();
  EXPECT_EQ(first->getRefCount(), 1u);
  EXPECT_EQ(container.getParameterCount(), 0);
  EXPECT_EQ(container.getParameter(5), nullptr);
  first->release();
  EXPECT_EQ(container.addParameter(nullptr), nullptr);
}
