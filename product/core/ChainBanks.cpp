#include "product/core/ChainBanks.h"

#include "framework/core/ScopedCriticalSection.h"
#include "product/core/ChainState.h"
#include "product/core/FactoryRecipes.h"
#include "product/core/ParamSpecTable.h"

ChainBanks::ChainBanks(ChainParamAccess& params)
  : mParams(params)
{
  for (std::atomic<float>& value : mOtherBank)
    value.store(0.0f);
  InitializeCriticalSection(&mEditLock);
}

ChainBanks::~ChainBanks()
{
  DeleteCriticalSection(&mEditLock);
}

void ChainBanks::GetCurrentValues(float values[kNumParams]) const
{
  for (int i = 0; i < kNumParams; ++i)
    values[i] = ParamValueToFloat(mParams.GetCurrentParamValue(i));
}

float ChainBanks::GetOtherBankValue(int index) const
{
  if (index < 0 || index >= kNumParams)
    return 0.0f;
  return mOtherBank[index].load();
}

bool ChainBanks::SerializeState(pfw::IDataChunk& chunk) const
{
  pfw::ScopedCriticalSection lock(&mEditLock);
  float current[kNumParams];
  float other[kNumParams];
  GetCurrentValues(current);
  for (int i = 0; i < kNumParams; ++i)
    other[i] = mOtherBank[i].load();
  SanitizeParamValues(current, current);
  SanitizeParamValues(other, other);
  return WriteChainState(chunk, current, other, mRecipeIndex.load(), mBankB.load());
}

int ChainBanks::UnserializeState(const pfw::IDataChunk& chunk, int startPosition)
{
  pfw::ScopedCriticalSection lock(&mEditLock);
  ChainState record;
  const int next = ReadChainState(chunk, startPosition, record);
  if (next < 0)
    return -1;
  mParams.SetAllParamValues(record.current, false);
  for (int i = 0; i < kNumParams; ++i)
    mOtherBank[i].exchange(record.other[i]);
  mRecipeIndex.exchange(record.recipeIndex);
  mBankB.exchange(record.bankB);
  return next;
}

void ChainBanks::ApplyRecipe(int index)
{
  if (index < 0 || index >= kNumFactoryRecipes)
    return;
  pfw::ScopedCriticalSection lock(&mEditLock);
  mParams.SetAllParamValues(FactoryRecipes()[index].values, true);
  mRecipeIndex.exchange(index);
}

void ChainBanks::CopyToOtherBank()
{
  pfw::ScopedCriticalSection lock(&mEditLock);
  for (int i = 0; i < kNumParams; ++i)
    mOtherBank[i].exchange(ParamValueToFloat(mParams.GetCurrentParamValue(i)));
}

void ChainBanks::SwitchBank()
{
  pfw::ScopedCriticalSection lock(&mEditLock);
  float current[kNumParams];
  float previousOther[kNumParams];
  GetCurrentValues(current);
  for (int i = 0; i < kNumParams; ++i)
    previousOther[i] = mOtherBank[i].exchange(current[i]);
  mParams.SetAllParamValues(previousOther, true);
  mBankB.exchange(!mBankB.load());
}

int ChainBanks::FindMatchingRecipe() const
{
  float current[kNumParams];
  GetCurrentValues(current);
  return ::FindMatchingRecipe(current);
}
