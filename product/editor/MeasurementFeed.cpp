#include "product/editor/MeasurementFeed.h"

#include "product/core/AmpEngine.h"
#include "product/core/SnapshotExchange.h"
#include "product/core/TarnwickProduct.h"

namespace editor {

bool ExchangeFeed::TryReadDisplay(DisplaySnapshot& out) const
{
  return mExchange.TryReadDisplay(out);
}

bool ExchangeFeed::TryReadLevels(LevelSnapshot& out) const
{
  return mExchange.TryReadLevel(out);
}

uint64_t ExchangeFeed::PublicationCount() const
{
  return mExchange.Sequence();
}

std::shared_ptr<const MeasurementFeed> MakeEngineFeed(const TarnwickProduct& product)
{
  return std::make_shared<ExchangeFeed>(product.GetEngine().Snapshots());
}

LatestMeasurements::LatestMeasurements(std::shared_ptr<const MeasurementFeed> feed)
  : mFeed(std::move(feed))
{
}

void LatestMeasurements::Renew(double nowMs, bool withLevels)
{
  if (!mFeed)
    return;
  const uint64_t count = mFeed->PublicationCount();
  if (!mWatching || count != mLastCount)
  {
    mWatching = true;
    mLastCount = count;
    mLastChangeMs = nowMs;
  }
  else if (nowMs - mLastChangeMs >= kStaleMs)
  {
    mDisplay = DisplaySnapshot();
    mLevels = LevelSnapshot();
    return;
  }
  mFeed->TryReadDisplay(mDisplay);
  if (withLevels)
    mFeed->TryReadLevels(mLevels);
}

} // namespace editor
