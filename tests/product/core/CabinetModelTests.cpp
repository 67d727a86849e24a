#include "product/core/CabinetModel.h"

#include "tests/product/core/SignalProbe.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

using signal_probe::DefaultParams;
using signal_probe::SineGainDb;

namespace
{
constexpr double kRate = 48000.0;
const double kProbeHz[] = {70.0, 120.0, 400.0, 1000.0, 2000.0, 3500.0, 5000.0, 8000.0};

struct Cabinet
{
  explicit Cabinet(const std::array<float, kNumParams>& params, int family = -1, double rate = kRate)
  {
    state = std::make_unique<CabStageState>();
    state->PrepareRoom(rate);
    DesignCab(*state, params.data(), rate, family < 0 ? static_cast<int>(params[kParamCabType]) : family);
  }

  double GainDb(double hz, int channel = 0)
  {
    state->ClearStates();
    return SineGainDb([&](double x) { return CabStage(*state, x, channel); }, hz, kRate);
  }

  std::vector<double> ImpulseResponse(int length, int channel)
  {
    state->ClearStates();
    std::vector<double> out(static_cast<size_t>(length));
    for (int i = 0; i < length; ++i)
      out[static_cast<size_t>(i)] = CabStage(*state, i == 0 ? 1.0 : 0.0, channel);
    return out;
  }

  std::unique_ptr<CabStageState> state;
};

std::vector<double> Response(const std::array<float, kNumParams>& params, int family)
{
  Cabinet cab(params, family);
  std::vector<double> gains;
  for (double hz : kProbeHz)
    gains.push_back(cab.GainDb(hz));
  return gains;
}

double LargestDifferenceDb(const std::vector<double>& a, const std::vector<double>& b)
{
  double largest = 0.0;
  for (size_t i = 0; i < a.size(); ++i)
    largest = std::max(largest, std::fabs(a[i] - b[i]));
  return largest;
}
} // namespace

TEST(CabinetModel, EveryFamilySoundsDifferent)
{
  const auto params = DefaultParams();
  std::vector<std::vector<double>> responses;
  for (int family = 0; family < kCabFamilyCount; ++family)
    responses.push_back(Response(params, family));
  for (int a = 0; a < kCabFamilyCount; ++a)
    for (int b = a + 1; b < kCabFamilyCount; ++b)
      EXPECT_GT(LargestDifferenceDb(responses[a], responses[b]), 0.5)
        << CabFamilyTable[a].name << " vs " << CabFamilyTable[b].name;
  // The speaker low-pass dominates the top: the dark cabinet loses far more at 8 kHz than
  // the full-range one.
  EXPECT_LT(responses[7].back(), responses[9].back() - 10.0);
}

TEST(CabinetModel, EveryMicrophoneSoundsDifferent)
{
  auto params = DefaultParams();
  std::vector<std::vector<double>> responses;
  for (int model = 0; model < kMicModelCount; ++model)
  {
    params[kParamMicType] = static_cast<float>(model);
    responses.push_back(Response(params, 2));
  }
  for (int a = 0; a < kMicModelCount; ++a)
    for (int b = a + 1; b < kMicModelCount; ++b)
      EXPECT_GT(LargestDifferenceDb(responses[a], responses[b]), 0.5)
        << MicModelTable[a].name << " vs " << MicModelTable[b].name;
}

TEST(CabinetModel, PositionDistanceAndAngleColourTheMicrophone)
{
  const auto base = Response(DefaultParams(), 2);
  auto edge = DefaultParams();
  edge[kParamMicPosition] = 100.0f;
  auto far = DefaultParams();
  far[kParamMicDistance] = 100.0f;
  auto angled = DefaultParams();
  angled[kParamMicAngle] = 90.0f;
  // Towards the cone's edge and off axis the top falls; further away the lows fall.
  const auto edgeResponse = Response(edge, 2);
  const auto angledResponse = Response(angled, 2);
  const auto farResponse = Response(far, 2);
  EXPECT_LT(edgeResponse[6], base[6] - 3.0);
  EXPECT_LT(angledResponse[6], base[6] - 1.5);
  EXPECT_LT(farResponse[0], base[0] - 2.0);
}

TEST(CabinetModel, DirectFullRangeSkipsTheSpeakerFilters)
{
  auto params = DefaultParams();
  auto resonant = params;
  resonant[kParamCabResonance] = 100.0f;
  // The resonance knob acts on a speaker filter: it moves every other family's lows...
  EXPECT_GT(std::fabs(Cabinet(resonant, 2).GainDb(85.0) - Cabinet(params, 2).GainDb(85.0)), 2.0);
  // ...but not the direct family's, whose microphones and cuts still shape the sound.
  EXPECT_NEAR(Cabinet(resonant, kCabDirectFamily).GainDb(100.0), Cabinet(params, kCabDirectFamily).GainDb(100.0),
              1e-9);
  EXPECT_LT(Cabinet(params, kCabDirectFamily).GainDb(30.0), -3.0); // low cut at 65 Hz
}

TEST(CabinetModel, MicBlendChoosesThePaths)
{
  auto firstOnly = DefaultParams();
  firstOnly[kParamMicBlend] = 0.0f;
  auto otherSecond = firstOnly;
  otherSecond[kParamSecondMicType] = 3.0f;
  EXPECT_LT(LargestDifferenceDb(Response(firstOnly, 2), Response(otherSecond, 2)), 1e-9);

  auto secondOnly = DefaultParams();
  secondOnly[kParamMicBlend] = 100.0f;
  auto otherFirst = secondOnly;
  otherFirst[kParamMicType] = 3.0f;
  EXPECT_LT(LargestDifferenceDb(Response(secondOnly, 2), Response(otherFirst, 2)), 1e-9);
  EXPECT_GT(LargestDifferenceDb(Response(firstOnly, 2), Response(secondOnly, 2)), 1.0);
}

TEST(CabinetModel, RibbonCloseUpGetsItsProximityBoost)
{
  auto params = DefaultParams();
  params[kParamMicDistance] = 1.0f;
  params[kParamSecondMicType] = 2.0f; // "Ribbon"
  Cabinet cab(params, 2);
  // A steady level settles to the low shelf's full boost: 99 x 0.035 x 1.4 dB.
  Biquad& proximity = cab.state->mics[1].proximity;
  double y = 0.0;
  for (int i = 0; i < 48000; ++i)
    y = proximity.Process(1.0);
  EXPECT_NEAR(20.0 * std::log10(y), 4.851, 1e-6);
}

TEST(CabinetModel, RoomReturnsLieAtTheirDistanceDelays)
{
  auto dry = DefaultParams();
  dry[kParamMicDistance] = 100.0f;
  auto roomy = dry;
  roomy[kParamCabRoom] = 100.0f;
  const int length = 4200;
  for (int channel = 0; channel < 2; ++channel)
  {
    Cabinet withoutRoom(dry, 2);
    Cabinet withRoom(roomy, 2);
    const auto c = withoutRoom.ImpulseResponse(length, channel);
    const auto out = withRoom.ImpulseResponse(length, channel);
    // The first return: 48 ms on the left, 48 x 1.07 = 51.36 ms on the right (2465.28
    // samples, so it starts at sample 2465); the second at 82.08 ms on both (3939.84).
    const int firstTap = channel == 0 ? 2304 : 2465;
    for (int i = 0; i < firstTap; ++i)
      ASSERT_EQ(out[static_cast<size_t>(i)], c[static_cast<size_t>(i)]) << "channel " << channel << " sample " << i;
    EXPECT_NE(out[static_cast<size_t>(firstTap)], c[static_cast<size_t>(firstTap)]);
    // Room gain 0.25, first tap 0.65: the impulse's first sample returns scaled.
    const double firstReturn = out[static_cast<size_t>(firstTap)] - c[static_cast<size_t>(firstTap)];
    const double expected = channel == 0 ? 0.25 * 0.65 * c[0] : 0.25 * 0.65 * 0.72 * c[0];
    EXPECT_NEAR(firstReturn, expected, 1e-12);
    const double secondReturn = out[3939] - c[3939];
    const double firstTapPart = channel == 0 ? 0.65 * c[3939 - 2304] : 0.65 * (0.72 * c[3939 - 2465] + 0.28 * c[3939 - 2466]);
    EXPECT_NEAR(secondReturn, 0.25 * (firstTapPart + 0.35 * 0.16 * c[0]), 1e-12);
  }
}

TEST(CabinetModel, HandOverMovesTheWholeStateIntoTheRetiringSlot)
{
  auto params = DefaultParams();
  params[kParamCabRoom] = 60.0f;
  auto active = std::make_unique<CabStageState>();
  auto retiring = std::make_unique<CabStageState>();
  auto reference = std::make_unique<CabStageState>();
  for (CabStageState* s : {active.get(), retiring.get(), reference.get()})
    s->PrepareRoom(kRate);
  DesignCab(*active, params.data(), kRate, 2);
  DesignCab(*reference, params.data(), kRate, 2);
  DesignCab(*retiring, params.data(), kRate, 7);
  for (int i = 0; i < 3000; ++i)
  {
    const double x = std::sin(0.01 * i);
    CabStage(*active, x, 0);
    CabStage(*reference, x, 0);
  }
  HandOverCabSlots(*active, *retiring);
  // The retiring slot carries on exactly where the old active one was, room included.
  for (int i = 0; i < 3000; ++i)
  {
    const double x = std::sin(0.013 * i);
    ASSERT_EQ(CabStage(*retiring, x, 0), CabStage(*reference, x, 0));
  }
  // The active slot keeps the other slot's design but starts from silence.
  EXPECT_EQ(active->family, 7);
  EXPECT_EQ(active->room.FillCount(), 0);
  for (int i = 0; i < 100; ++i)
    ASSERT_EQ(CabStage(*active, 0.0, 0), 0.0);
}

TEST(CabinetModel, NonFiniteInputRecoversToSilence)
{
  Cabinet cab(DefaultParams(), 5);
  CabStage(*cab.state, std::nan(""), 0);
  CabStage(*cab.state, INFINITY, 1);
  double y = 1.0;
  for (int i = 0; i < 20000; ++i)
  {
    y = CabStage(*cab.state, 0.0, 0);
    ASSERT_TRUE(std::isfinite(y));
  }
  EXPECT_EQ(y, 0.0);
}

TEST(CabinetModel, EverySectionSitsAtItsTableValues)
{
  // Each speaker and microphone section measured alone with a sine at the frequency the
  // tables give it: a peak reaches its gain there, a low-pass (q 0.707) is 3 dB down and
  // a shelf is half way.
  auto params = DefaultParams();
  params[kParamCabResonance] = 50.0f;
  params[kParamMicPosition] = 20.0f;
  params[kParamMicAngle] = 30.0f;
  params[kParamMicDistance] = 10.0f;
  auto gainDb = [](Biquad filter, double hz) {
    filter.ClearState();
    return SineGainDb([&](double x) { return filter.Process(x); }, hz, kRate);
  };
  // Gain alone barely moves when a centre frequency is slightly off, so the designs are
  // also compared with sections made from the table's numbers.
  auto expectDesign = [](const Biquad& actual, BiquadType type, double hz, double q, double db) {
    Biquad expected;
    DesignBiquad(expected, type, hz, q, db, kRate);
    EXPECT_NEAR(actual.b0, expected.b0, 1e-12) << hz;
    EXPECT_NEAR(actual.b1, expected.b1, 1e-12) << hz;
    EXPECT_NEAR(actual.b2, expected.b2, 1e-12) << hz;
    EXPECT_NEAR(actual.a1, expected.a1, 1e-12) << hz;
    EXPECT_NEAR(actual.a2, expected.a2, 1e-12) << hz;
  };
  const double lowPassDb = 20.0 * std::log10(0.707);
  const CabFamily families[kCabFamilyCount] = {
    {"Open 1x10", 115.0, 4800.0},   {"Open 1x12", 92.0, 5500.0},     {"Open 2x12", 85.0, 6100.0},
    {"Closed 1x12", 105.0, 5200.0}, {"Closed 2x12", 82.0, 5700.0},   {"Vintage 4x12", 75.0, 5600.0},
    {"Modern 4x12", 68.0, 6500.0},  {"Dark 4x12", 80.0, 3900.0},     {"Bass 4x10", 65.0, 4800.0},
    {"Direct Full Range", 100.0, 20000.0},
  };
  const MicModel mics[kMicModelCount] = {
    {"Dynamic Bright", 3.5, 11000.0, 1.0},
    {"Dynamic Smooth", 1.0, 8500.0, 1.0},
    {"Ribbon", -3.0, 6500.0, 1.4},
    {"Condenser", 2.0, 16000.0, 1.0},
  };
  for (int family = 0; family < kCabFamilyCount; ++family)
  {
    Cabinet cab(params, family);
    const CabFamily& row = families[family];
    EXPECT_STREQ(CabFamilyTable[family].name, row.name);
    const double coneHz = family == 8 ? 720.0 : 110.0 * family + 1550.0;
    const double coneDb = family == 7 ? -4.0 : family == kCabDirectFamily ? 0.0 : -2.8;
    const double breakupDb = family == kCabDirectFamily ? 0.0 : 2.0;
    EXPECT_NEAR(gainDb(cab.state->speaker[0], row.resonanceHz), 50.0 * 0.06 + 2.0, 0.02) << row.name;
    EXPECT_NEAR(gainDb(cab.state->speaker[1], coneHz), coneDb, 0.02) << row.name;
    EXPECT_NEAR(gainDb(cab.state->speaker[2], 90.0 * family + 2700.0), breakupDb, 0.02) << row.name;
    EXPECT_NEAR(gainDb(cab.state->speaker[3], row.lowPassHz), lowPassDb, 0.02) << row.name;
    expectDesign(cab.state->speaker[0], BiquadType::Peak, row.resonanceHz, 1.1, 50.0 * 0.06 + 2.0);
    expectDesign(cab.state->speaker[1], BiquadType::Peak, coneHz, 1.4, coneDb);
    expectDesign(cab.state->speaker[2], BiquadType::Peak, 90.0 * family + 2700.0, 1.8, breakupDb);
    expectDesign(cab.state->speaker[3], BiquadType::LowPass, row.lowPassHz, 0.707, 0.0);
  }
  for (int model = 0; model < kMicModelCount; ++model)
  {
    params[kParamMicType] = static_cast<float>(model);
    params[kParamSecondMicType] = static_cast<float>((model + 1) % kMicModelCount);
    Cabinet cab(params, 2);
    for (int path = 0; path < 2; ++path)
    {
      const MicModel& mic = mics[(model + path) % kMicModelCount];
      EXPECT_STREQ(MicModelTable[(model + path) % kMicModelCount].name, mic.name);
      const MicPath& filters = cab.state->mics[path];
      const double proximityDb = 90.0 * 0.035 * mic.proximityFactor;
      const double presenceDb = mic.presenceShelfDb - 0.075 * 20.0 - 0.045 * 30.0;
      const double lowPassHz = (1.0 - 0.004 * 20.0) * mic.lowPassHz * (1.0 - 0.0025 * 30.0);
      EXPECT_NEAR(gainDb(filters.proximity, 170.0), 0.5 * proximityDb, 0.02) << mic.name;
      EXPECT_NEAR(gainDb(filters.proximity, 5.0), proximityDb, 0.05) << mic.name;
      EXPECT_NEAR(gainDb(filters.presence, 2800.0), 0.5 * presenceDb, 0.02) << mic.name;
      EXPECT_NEAR(gainDb(filters.lowPass, lowPassHz), lowPassDb, 0.02) << mic.name;
      expectDesign(filters.proximity, BiquadType::LowShelf, 170.0, 0.7, proximityDb);
      expectDesign(filters.presence, BiquadType::HighShelf, 2800.0, 0.7, presenceDb);
      expectDesign(filters.lowPass, BiquadType::LowPass, lowPassHz, 0.707, 0.0);
    }
  }
  // The cuts and the room scalars.
  params[kParamCabLowCut] = 120.0f;
  params[kParamCabHighCut] = 6000.0f;
  params[kParamMicBlend] = 35.0f;
  params[kParamCabRoom] = 40.0f;
  Cabinet cab(params, 4);
  EXPECT_NEAR(gainDb(cab.state->lowCut, 120.0), lowPassDb, 0.02);
  EXPECT_NEAR(gainDb(cab.state->highCut, 6000.0), lowPassDb, 0.02);
  expectDesign(cab.state->lowCut, BiquadType::HighPass, 120.0, 0.707, 0.0);
  EXPECT_DOUBLE_EQ(cab.state->micBlend, 0.35);
  EXPECT_DOUBLE_EQ(cab.state->roomGain, 0.1);
  EXPECT_NEAR(cab.state->roomDelay, kRate * (0.0004 * 10.0 + 0.008), 1e-9);
}

// The filters of both channels over a run, then the room, give bit for bit what CabStage
// gives sample by sample, for a family with speaker filters and the direct one, through a
// NaN and an infinity that blow up sections in one channel mid-run.
TEST(CabinetModel, RunsOfBothChannelsMatchSampleBySample)
{
  std::array<float, kNumParams> params = DefaultParams();
  params[kParamMicBlend] = 35.0f;
  params[kParamCabRoom] = 60.0f;
  for (int family : {5, kCabDirectFamily})
  {
    Cabinet single[2] = {Cabinet(params, family), Cabinet(params, family)};
    Cabinet run[2] = {Cabinet(params, family), Cabinet(params, family)};
    CabStageState* const states[2] = {run[0].state.get(), run[1].state.get()};
    const int runLengths[] = {16, 1, 7, 16, 3};
    for (int n = 0, r = 0; n < 3000; n += runLengths[r++ % 5])
    {
      const int count = runLengths[r % 5];
      double x[16][2], filtered[16][2];
      for (int i = 0; i < count; ++i)
      {
        x[i][0] = std::sin(0.01 * (n + i)) * (n + i == 1001 ? std::nan("") : 0.5);
        x[i][1] = n + i == 2002 ? INFINITY : std::cos(0.023 * (n + i));
      }
      CabFilterRun(states, x, count, filtered);
      for (int i = 0; i < count; ++i)
        for (int ch = 0; ch < 2; ++ch)
        {
          const double expected = CabStage(*single[ch].state, x[i][ch], ch);
          ASSERT_EQ(CabRoom(*run[ch].state, filtered[i][ch], ch), expected)
            << "family " << family << " channel " << ch << " at " << n + i;
        }
    }
  }
}
