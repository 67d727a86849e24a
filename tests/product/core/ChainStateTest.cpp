#include "product/core/ChainState.h"
#include "product/core/ParamSpecTable.h"
#include "tests/support/LittleEndianBytes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace {

// Two distinct valid banks: the defaults, and each parameter at its maximum.
void FillBanks(float current[kNumParams], float other[kNumParams])
{
  for (int i = 0; i < kNumParams; ++i)
  {
    current[i] = ParamSpecTable::kDefaults[i];
    other[i] = ParamSpecTable::kMaximums[i];
  }
  current[kParamAmpGain] = 12.5f;
  current[kParamPedalType] = 15.0f;
}

} // namespace

TEST(ChainState, WritesEveryFieldAtItsOffset)
{
  float current[kNumParams];
  float other[kNumParams];
  FillBanks(current, other);

  pfw::IDataChunk chunk;
  chunk.PutBytes("xyz", 3); // written after what the chunk already holds
  ASSERT_TRUE(WriteChainState(chunk, current, other, 37, true));
  ASSERT_EQ(chunk.Size(), 3 + 692);

  const uint8_t* bytes = chunk.GetData() + 3;
  EXPECT_EQ(std::memcmp(bytes, "QTTW", 4), 0);
  EXPECT_EQ(Int32At(bytes, 4), 1);
  EXPECT_EQ(Int32At(bytes, 8), 84);
  for (int i = 0; i < kNumParams; ++i)
  {
    EXPECT_EQ(FloatAt(bytes, 12 + 4 * i), current[i]) << i;
    EXPECT_EQ(FloatAt(bytes, 348 + 4 * i), other[i]) << i;
  }
  EXPECT_EQ(FloatAt(bytes, 12 + 4 * kParamAmpGain), 12.5f);
  EXPECT_EQ(FloatAt(bytes, 348 + 4 * kParamEqLp), 20000.0f);
  EXPECT_EQ(Int32At(bytes, 684), 37);
  EXPECT_EQ(Int32At(bytes, 688), 1);

  pfw::IDataChunk bankA;
  ASSERT_TRUE(WriteChainState(bankA, current, other, 0, false));
  EXPECT_EQ(Int32At(bankA.GetData(), 684), 0);
  EXPECT_EQ(Int32At(bankA.GetData(), 688), 0);
}

TEST(ChainState, ReadsBackWhatWasWritten)
{
  float current[kNumParams];
  float other[kNumParams];
  FillBanks(current, other);
  pfw::IDataChunk chunk;
  chunk.PutBytes("prefix", 6);
  ASSERT_TRUE(WriteChainState(chunk, current, other, 39, true));

  ChainState record{};
  EXPECT_EQ(ReadChainState(chunk, 6, record), 6 + 692);
  EXPECT_EQ(record.recipeIndex, 39);
  EXPECT_TRUE(record.bankB);
  for (int i = 0; i < kNumParams; ++i)
  {
    EXPECT_EQ(record.current[i], current[i]) << i;
    EXPECT_EQ(record.other[i], other[i]) << i;
  }
}

TEST(ChainState, WriterRefusesWhatTheReaderWouldRefuse)
{
  float current[kNumParams];
  float other[kNumParams];
  FillBanks(current, other);
  pfw::IDataChunk chunk;
  chunk.PutBytes("ab", 2);

  EXPECT_FALSE(WriteChainState(chunk, current, other, 40, false));
  EXPECT_FALSE(WriteChainState(chunk, current, other, -1, false));
  other[kParamMonitor] = 2.5f;
  EXPECT_FALSE(WriteChainState(chunk, current, other, 0, false));
  other[kParamMonitor] = 0.0f;
  current[kParamMix] = std::numeric_limits<float>::quiet_NaN();
  EXPECT_FALSE(WriteChainState(chunk, current, other, 0, false));
  EXPECT_EQ(chunk.Size(), 2);
}

TEST(ChainState, ValidatesRangesWholeNumbersAndFiniteness)
{
  float values[kNumParams];
  for (int i = 0; i < kNumParams; ++i)
    values[i] = ParamSpecTable::kMinimums[i];
  EXPECT_TRUE(ValidateChainValues(values));
  for (int i = 0; i < kNumParams; ++i)
    values[i] = ParamSpecTable::kMaximums[i];
  EXPECT_TRUE(ValidateChainValues(values));

  struct Case
  {
    int index;
    float value;
  };
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  const Case refused[] = {
    {kParamPedalType, 3.5f},      {kParamGateThreshold, -91.0f}, {kParamMix, nan},
    {kParamOutput, inf},          {kParamOutputPan, -inf},       {kParamEqLp, 20000.5f},
    {kParamGateAttack, 0.0999f},  {kParamMonitor, 7.0f},         {kParamBypass, 0.5f},
    {kParamAmpType, -1.0f},
  };
  for (const Case& c : refused)
  {
    for (int i = 0; i < kNumParams; ++i)
      values[i] = ParamSpecTable::kDefaults[i];
    values[c.index] = c.value;
    EXPECT_FALSE(ValidateChainValues(values)) << c.index << " " << c.value;
  }
}
