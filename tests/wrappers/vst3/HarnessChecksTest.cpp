// The deliverable through the host harness's checks: what every host relies on.

#include "TarnwickModule.h"

using namespace vst3host;
using tarnwicktest::Tarnwick;

TEST(TarnwickVst3Harness, BundleNameWithSpaceAndExactlyThreeExports)
{
  EXPECT_NE(std::wstring(TARNWICK_MODULE_PATH).find(L"TARN WICK.vst3\\Contents\\x86_64-win\\TARN WICK.vst3"),
            std::wstring::npos);
  checkModuleImage(Tarnwick());
}

TEST(TarnwickVst3Harness, ScanAndReload)
{
  checkScanAndReload(Tarnwick());
}

TEST(TarnwickVst3Harness, Interfaces)
{
  checkInterfaces(Tarnwick());
}

TEST(TarnwickVst3Harness, BusesAndArrangements)
{
  checkBusesAndArrangements(Tarnwick());
}

TEST(TarnwickVst3Harness, ProcessingSweepOfRatesSampleSizesAndBlocks)
{
  checkProcessingSweep(Tarnwick());
}

TEST(TarnwickVst3Harness, AwkwardButLegalBlocks)
{
  checkAwkwardButLegalBlocks(Tarnwick());
}

TEST(TarnwickVst3Harness, LifecycleOrders)
{
  checkLifecycleOrders(Tarnwick());
}

TEST(TarnwickVst3Harness, StateRoundTripAndRefusals)
{
  checkStateRoundTripAndRefusals(Tarnwick());
}

TEST(TarnwickVst3Harness, ControllerParameters)
{
  checkControllerParameters(Tarnwick());
}

TEST(TarnwickVst3Harness, InstancesAreIndependent)
{
  checkInstancesAreIndependent(Tarnwick());
}
