#include "product/core/ChainState.h"

#include "product/core/FactoryRecipes.h"
#include "product/core/ParamSpecTable.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

const uint8_t kMagic[4] = {'Q', 'T', 'T', 'W'};

constexpr int kCurrentOffset = 12;
constexpr int kOtherOffset = kCurrentOffset + 4 * kNumParams;
constexpr int kRecipeOffset = kOtherOffset + 4 * kNumParams;
constexpr int kBankOffset = kRecipeOffset + 4;
static_assert(kBankOffset + 4 == kChainStateSize, "the record has no padding");

void PutUint32(uint8_t* at, uint32_t value)
{
  at[0] = static_cast<uint8_t>(value);
  at[1] = static_cast<uint8_t>(value >> 8);
  at[2] = static_cast<uint8_t>(value >> 16);
  at[3] = static_cast<uint8_t>(value >> 24);
}

uint32_t GetUint32(const uint8_t* at)
{
  return static_cast<uint32_t>(at[0]) | (static_cast<uint32_t>(at[1]) << 8) |
         (static_cast<uint32_t>(at[2]) << 16) | (static_cast<uint32_t>(at[3]) << 24);
}

void PutInt32(uint8_t* at, int32_t value) { PutUint32(at, static_cast<uint32_t>(value)); }
int32_t GetInt32(const uint8_t* at) { return static_cast<int32_t>(GetUint32(at)); }

void PutFloats(uint8_t* at, const float values[kNumParams])
{
  for (int i = 0; i < kNumParams; ++i)
  {
    uint32_t bits;
    std::memcpy(&bits, &values[i], 4);
    PutUint32(at + 4 * i, bits);
  }
}

void GetFloats(const uint8_t* at, float values[kNumParams])
{
  for (int i = 0; i < kNumParams; ++i)
  {
    const uint32_t bits = GetUint32(at + 4 * i);
    std::memcpy(&values[i], &bits, 4);
  }
}

bool IsValidRecipeIndex(int index)
{
  return index >= 0 && index < kNumFactoryRecipes;
}

} // namespace

bool ValidateChainValues(const float values[kNumParams])
{
  for (int i = 0; i < kNumParams; ++i)
  {
    const float value = values[i];
    if (!std::isfinite(value))
      return false;
    if (value < ParamSpecTable::kMinimums[i] || value > ParamSpecTable::kMaximums[i])
      return false;
    if (IsDiscreteParam(i) && value != std::floor(value))
      return false;
  }
  return true;
}

bool WriteChainState(pfw::IDataChunk& chunk, const float current[kNumParams],
                     const float other[kNumParams], int recipeIndex, bool bankB)
{
  if (!IsValidRecipeIndex(recipeIndex) || !ValidateChainValues(current) || !ValidateChainValues(other))
    return false;

  // Built whole and appended in one step, so a failed append leaves no partial record.
  uint8_t bytes[kChainStateSize];
  std::memcpy(bytes, kMagic, 4);
  PutInt32(bytes + 4, kChainStateVersion);
  PutInt32(bytes + 8, kNumParams);
  PutFloats(bytes + kCurrentOffset, current);
  PutFloats(bytes + kOtherOffset, other);
  PutInt32(bytes + kRecipeOffset, recipeIndex);
  PutInt32(bytes + kBankOffset, bankB ? 1 : 0);

  const int oldSize = chunk.Size();
  return chunk.PutBytes(bytes, kChainStateSize) - oldSize == kChainStateSize;
}

int ReadChainState(const pfw::IDataChunk& chunk, int startPosition, ChainState& record)
{
  if (startPosition < 0 || startPosition > chunk.Size())
    return -1;
  if (chunk.Size() - startPosition != kChainStateSize)
    return -1;

  uint8_t bytes[kChainStateSize];
  if (chunk.GetBytes(bytes, kChainStateSize, startPosition) < 0)
    return -1;
  if (std::memcmp(bytes, kMagic, 4) != 0 || GetInt32(bytes + 4) != kChainStateVersion ||
      GetInt32(bytes + 8) != kNumParams)
    return -1;

  ChainState decoded;
  GetFloats(bytes + kCurrentOffset, decoded.current);
  GetFloats(bytes + kOtherOffset, decoded.other);
  decoded.recipeIndex = GetInt32(bytes + kRecipeOffset);
  const int32_t bank = GetInt32(bytes + kBankOffset);
  if (!IsValidRecipeIndex(decoded.recipeIndex) || (bank != 0 && bank != 1))
    return -1;
  if (!ValidateChainValues(decoded.current) || !ValidateChainValues(decoded.other))
    return -1;
  decoded.bankB = bank == 1;

  record = decoded;
  return startPosition + kChainStateSize;
}
