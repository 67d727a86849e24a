// Every interface identifier against its 16 bytes as they lie in memory on Windows,
// typed here as text independently of the four-word form the declarations use.

#include "deps/vst3/interfaces/IAudioProcessor.h"
#include "deps/vst3/interfaces/IChannelContext.h"
#include "deps/vst3/interfaces/IComponent.h"
#include "deps/vst3/interfaces/IContextMenu.h"
#include "deps/vst3/interfaces/IEditController.h"
#include "deps/vst3/interfaces/IHostApplication.h"
#include "deps/vst3/interfaces/IMidiMapping.h"
#include "deps/vst3/interfaces/IPlugView.h"
#include "deps/vst3/interfaces/IPluginFactory.h"
#include "deps/vst3/interfaces/IUnitInfo.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

std::string hexBytes(const char* bytes)
{
  std::string text;
  char part[3];
  for (int i = 0; i < 16; ++i)
  {
    std::snprintf(part, sizeof(part), "%02X", static_cast<unsigned char>(bytes[i]));
    text += part;
  }
  return text;
}

struct KnownId
{
  const char* name;
  const char* declared;
  const char* memoryBytes;
};

const KnownId kKnownIds[] = {
  {"FUnknown", FUnknown::iid, "0000000000000000C000000000000046"}, // typed from the sheet's last column
  {"IPluginBase", IPluginBase::iid, "DB8D88226E15AE458358B34808190625"},
  {"IPluginFactory", IPluginFactory::iid, "1C814D7A11521F4AAED9D2EE0B43BF9F"},
  {"IPluginFactory2", IPluginFactory2::iid, "50B607004BF20B4CA464EDB9F00B2ABB"},
  {"IPluginFactory3", IPluginFactory3::iid, "ABA2554523C1574E9B12291036878931"},
  {"IComponent", IComponent::iid, "31FF31E8D5F20143928EBBEE25697802"},
  {"IAudioProcessor", IAudioProcessor::iid, "993F0442DAB73C45A569E79D9AAEC33D"},
  {"IProcessContextRequirements", IProcessContextRequirements::iid, "0343652A76EF3D4E95B5FE83730EF6D0"},
  {"IEditController", IEditController::iid, "E3BBD7DC42778D44A874AACC979C759E"},
  {"IEditController2", IEditController2::iid, "59FE4E7F20F36749AC27A3AEAFB63038"},
  {"IComponentHandler", IComponentHandler::iid, "A3BEA093D00BDB458E890B0CC1E46AC6"},
  {"IComponentHandler2", IComponentHandler2::iid, "B3B440F060A3EC45ABCDC045B4D5A2CC"},
  {"IComponentHandler3", IComponentHandler3::iid, "1716F1696BD20D40A4B6B9647B6EBBAB"},
  {"IContextMenu", IContextMenu::iid, "63C8932E9C0C884597DBECF5AD17817D"},
  {"IContextMenuTarget", IContextMenuTarget::iid, "752EDF3CD3854441BF86D36BD7C4894D"},
  {"IUnitInfo", IUnitInfo::iid, "B5D64B3D3A91D24FA886E768A5EB92C1"},
  {"IConnectionPoint", IConnectionPoint::iid, "6F15A4706E6E2640989148BFAA60D8D1"},
  {"IMessage", IMessage::iid, "3B036F93C0C6DB47BB0882F813C1E613"},
  {"IAttributeList", IAttributeList::iid, "EB0A5F1E7FCC3345A254401138AD5EE4"},
  {"IStreamAttributes", IStreamAttributes::iid, "FC2FCED6AFEF8C4B9E74F1BB12DA44B4"},
  {"IMidiMapping", IMidiMapping::iid, "F7F90FDFB7496946B63AB7327ADBF5E5"},
  {"IInfoListener", ChannelContext::IInfoListener::iid, "8147190F988DDA4ABBA0C1EFC011D8D0"},
  {"IPlugView", IPlugView::iid, "0725C35B60D0EA49A6151B522B755B29"},
  {"IPlugFrame", IPlugFrame::iid, "01AF7F36A9AF93468D4DA2A0ED0882A3"},
  {"IPlugViewContentScaleSupport", IPlugViewContentScaleSupport::iid, "9096ED65C48A25458AADEF7A72EA703F"},
  {"IHostApplication", IHostApplication::iid, "CC95E5582DDB69498B6AAF8C36A664E5"},
  {"IBStream", IBStream::iid, "A26EBFC3993052479B6BF9901EE33E9B"},
  {"ISizeableStream", ISizeableStream::iid, "9E54F9042FE06E4E87E86A8747F4E17F"},
  {"IParameterChanges", IParameterChanges::iid, "639677A4B60B564AB44384A8466FEB9D"},
  {"IParamValueQueue", IParamValueQueue::iid, "183A260107ED6F4F98C9D3564686F9BA"},
  {"IEventList", IEventList::iid, "14422C3A6334FE49B2C4F397B9695A44"},
  {"IDependent", IDependent::iid, "AE7A2BF572DE6D418AF18ACE9DD7BD5E"},
};

} // namespace

TEST(InterfaceIds, EveryIdentifierHasItsWindowsMemoryBytes)
{
  for (const KnownId& known : kKnownIds)
    EXPECT_EQ(hexBytes(known.declared), known.memoryBytes) << known.name;
}

TEST(InterfaceIds, NoTwoInterfacesShareAnIdentifier)
{
  for (const KnownId& a : kKnownIds)
    for (const KnownId& b : kKnownIds)
    {
      if (&a == &b)
        continue;
      EXPECT_FALSE(uidEqual(a.declared, b.declared)) << a.name << " and " << b.name;
    }
}

TEST(InterfaceIds, WordsBecomeGuidOrderedBytes)
{
  // The class identifier of the product is built the same way at run time.
  TUID built;
  writeUid(built, 0x22888DDB, 0x156E45AE, 0x8358B348, 0x08190625);
  EXPECT_EQ(hexBytes(built), "DB8D88226E15AE458358B34808190625");
  writeUid(built, 0x5155494C, 0x4C544F4E, 0x516C746E, 0x5461726E); // "QUIL" "LTON" "Qltn" "Tarn"
  EXPECT_EQ(hexBytes(built), "4C495551544C4E4F516C746E5461726E");
}

TEST(InterfaceIds, ComparisonUsesAllSixteenBytesAndRefusesNull)
{
  TUID a;
  writeUid(a, 1, 2, 3, 4);
  TUID b;
  writeUid(b, 1, 2, 3, 5);
  EXPECT_TRUE(uidEqual(a, a));
  EXPECT_FALSE(uidEqual(a, b));
  EXPECT_FALSE(uidEqual(a, nullptr));
  EXPECT_FALSE(uidEqual(nullptr, a));
}

TEST(ResultCodes, HaveTheirWindowsValues)
{
  EXPECT_EQ(kResultOk, 0);
  EXPECT_EQ(kResultTrue, 0);
  EXPECT_EQ(kResultFalse, 1);
  EXPECT_EQ(kNoInterface, -2147467262);
  EXPECT_EQ(kNotImplemented, -2147467263);
  EXPECT_EQ(kInternalError, -2147467259);
  EXPECT_EQ(kInvalidArgument, -2147024809);
  EXPECT_EQ(kNotInitialized, -2147418113);
  EXPECT_EQ(kOutOfMemory, -2147024882);
}
