// The controller face: 84 parameters and the bypass, units, text conversions, MIDI
// mapping and program names.

#include "TarnwickModule.h"

#include <algorithm>
#include <cmath>
#include <set>

using namespace vst3host;
using namespace tarnwicktest;

namespace {

std::vector<UnitInfo> Units(Session& session)
{
  std::vector<UnitInfo> all;
  IUnitInfoFull* units = ask<IUnitInfoFull>(session.instance.component, iids::UnitInfo);
  EXPECT_NE(units, nullptr);
  for (int32_t i = 0; units && i < units->getUnitCount(); ++i)
  {
    UnitInfo info{};
    EXPECT_EQ(units->getUnitInfo(i, info), kOk);
    all.push_back(info);
  }
  releaseAndClear(units);
  return all;
}

std::vector<Utf16> Wide(const char* text)
{
  std::vector<Utf16> wide;
  for (; *text; ++text)
    wide.push_back(static_cast<Utf16>(*text));
  wide.push_back(0);
  return wide;
}

} // namespace

TEST(TarnwickVst3Controller, EightyFourParametersAndTheBypass)
{
  Session session;
  ASSERT_TRUE(session.ok());
  const std::vector<ParameterInfo> all = Parameters(session);
  ASSERT_EQ(all.size(), 85u);
  std::set<ParamID> ids;
  for (const ParameterInfo& info : all)
    ids.insert(info.id);
  EXPECT_EQ(ids.size(), 85u);
  EXPECT_EQ(*ids.rbegin(), kBypassTag);
  EXPECT_EQ(*std::next(ids.rbegin()), static_cast<ParamID>(kParamCount - 1));

  const auto bypass = std::find_if(all.begin(), all.end(), [](const ParameterInfo& i) { return i.id == kBypassTag; });
  ASSERT_NE(bypass, all.end());
  EXPECT_EQ(narrow(bypass->title), "Bypass");
  EXPECT_EQ(bypass->flags, 0x10009);
  EXPECT_EQ(bypass->stepCount, 1);
  EXPECT_EQ(bypass->unitId, 0);
  EXPECT_EQ(bypass->defaultNormalizedValue, 0.);
  Utf16 text[128];
  ASSERT_EQ(session.instance.controller->getParamStringByValue(kBypassTag, 0., text), kOk);
  EXPECT_EQ(narrow(text), "off");
  ASSERT_EQ(session.instance.controller->getParamStringByValue(kBypassTag, 1., text), kOk);
  EXPECT_EQ(narrow(text), "on");

  int stepped = 0, lists = 0;
  for (const ParameterInfo& info : all)
  {
    if (info.id == kBypassTag)
      continue;
    EXPECT_NE(narrow(info.title), "") << info.id;
    EXPECT_EQ(narrow(info.shortTitle), "") << info.id;
    EXPECT_EQ(info.flags & ~0x9, 0) << info.id;
    EXPECT_GE(info.stepCount, 0);
    stepped += info.stepCount > 0;
    lists += (info.flags & 8) != 0;
    // The default shows the same text as the parameter's own conversion of it.
    ASSERT_EQ(session.instance.controller->getParamStringByValue(info.id, info.defaultNormalizedValue, text), kOk);
    EXPECT_NE(narrow(text), "") << info.id;
  }
  EXPECT_GT(stepped, 0);
  EXPECT_EQ(narrow(all[1].title), "Input"); // index 0 is the bypass, declared first
}

TEST(TarnwickVst3Controller, UnitsFromTheParameterGroups)
{
  Session session;
  ASSERT_TRUE(session.ok());
  const std::vector<UnitInfo> units = Units(session);
  ASSERT_GE(units.size(), 1u); // the product names no parameter groups, so the root may be all
  EXPECT_EQ(units[0].id, 0);
  EXPECT_EQ(units[0].parentUnitId, -1);
  EXPECT_EQ(narrow(units[0].name), "Root");
  std::set<int32_t> ids;
  for (size_t i = 0; i < units.size(); ++i)
  {
    EXPECT_EQ(units[i].id, static_cast<int32_t>(i)); // in order of first use
    EXPECT_EQ(units[i].programListId, -1);
    if (i > 0)
    {
      EXPECT_EQ(units[i].parentUnitId, 0);
      EXPECT_NE(narrow(units[i].name), "");
    }
    ids.insert(units[i].id);
  }
  // Every parameter sits in a declared unit, and the units appear in parameter order.
  int32_t highest = 0;
  for (const ParameterInfo& info : Parameters(session))
  {
    EXPECT_EQ(ids.count(info.unitId), 1u) << info.id;
    if (info.id != kBypassTag && info.unitId > 0)
    {
      EXPECT_LE(info.unitId, highest + 1) << info.id;
      highest = std::max(highest, info.unitId);
    }
  }
  EXPECT_EQ(highest, static_cast<int32_t>(units.size()) - 1);
}

TEST(TarnwickVst3Controller, HostValuesTextsAndUnknownIds)
{
  Session session;
  ASSERT_TRUE(session.ok());
  IEditController* controller = session.instance.controller;
  // Text round trip of a continuous parameter.
  Utf16 text[128];
  ASSERT_EQ(controller->getParamStringByValue(kParamOutput, 0.75, text), kOk);
  ParamValue back = -1.;
  ASSERT_EQ(controller->getParamValueByString(kParamOutput, text, back), kOk) << narrow(text);
  EXPECT_NEAR(back, 0.75, 0.01);
  std::vector<Utf16> junk = Wide("loud");
  EXPECT_EQ(controller->getParamValueByString(kParamOutput, junk.data(), back), kFalse);
  EXPECT_NEAR(controller->normalizedParamToPlain(kParamOutput, controller->plainParamToNormalized(kParamOutput, -3.)),
              -3., 1e-9);

  // The host's value reaches the plug-in: the saved state changes.
  MemoryStream before, after;
  ASSERT_EQ(session.instance.component->getState(&before), kOk);
  EXPECT_EQ(controller->setParamNormalized(kParamOutput, 0.9), kOk);
  EXPECT_EQ(controller->getParamNormalized(kParamOutput), 0.9);
  ASSERT_EQ(session.instance.component->getState(&after), kOk);
  EXPECT_NE(before.bytes, after.bytes);

  // The bypass parameter only records the host's switch; the processing side hears it
  // through the parameter changes of the process call.
  MemoryStream bypassed;
  EXPECT_EQ(controller->setParamNormalized(kBypassTag, 1.), kOk);
  EXPECT_EQ(controller->getParamNormalized(kBypassTag), 1.);
  ASSERT_EQ(session.instance.component->getState(&bypassed), kOk);
  EXPECT_EQ(bypassed.bytes, after.bytes);

  EXPECT_EQ(controller->setParamNormalized(65537, 0.5), kFalse); // no program-change parameter
  EXPECT_EQ(controller->setParamNormalized(12345, 0.5), kFalse);
  EXPECT_EQ(controller->setParamNormalized(kParamOutput, NAN), kFalse);
  EXPECT_EQ(controller->getParamNormalized(12345), 0.);
}

TEST(TarnwickVst3Controller, MidiMappingOffersOnlyExistingParameters)
{
  Session session;
  ASSERT_TRUE(session.ok());
  IMidiMapping* mapping = ask<IMidiMapping>(session.instance.component, kMidiMappingIid);
  ASSERT_NE(mapping, nullptr);
  ParamID tag = 0xFFFFFFFFu;
  // The product takes no MIDI, so no controller parameter exists to map to.
  EXPECT_EQ(mapping->getMidiControllerAssignment(0, 0, 7, tag), kFalse);
  EXPECT_EQ(mapping->getMidiControllerAssignment(0, 1, 7, tag), kFalse);
  EXPECT_EQ(mapping->getMidiControllerAssignment(1, 0, 7, tag), kFalse);
  EXPECT_EQ(mapping->getMidiControllerAssignment(0, 0, -1, tag), kFalse);
  EXPECT_EQ(tag, 0xFFFFFFFFu);
  mapping->release();
  FUnknown* listener = ask<FUnknown>(session.instance.component, iids::InfoListener);
  EXPECT_NE(listener, nullptr);
  releaseAndClear(listener);
}

TEST(TarnwickVst3Controller, ProgramNamesAreTheFactoryRecipes)
{
  Session session;
  ASSERT_TRUE(session.ok());
  IUnitInfoFull* units = ask<IUnitInfoFull>(session.instance.component, iids::UnitInfo);
  ASSERT_NE(units, nullptr);
  EXPECT_EQ(units->getProgramListCount(), 0);
  Utf16 name[128];
  ASSERT_EQ(units->getProgramName(65537, 3, name), kOk);
  const std::string fourth = narrow(name);
  EXPECT_NE(fourth, "");
  ASSERT_EQ(units->getProgramName(65537, 4, name), kOk);
  EXPECT_NE(narrow(name), fourth);
  EXPECT_EQ(units->getProgramName(0, 3, name), kFalse);
  ASSERT_EQ(units->getProgramName(65537, 40, name), kOk);
  EXPECT_EQ(narrow(name), "");
  units->release();
}
