#pragma once

#include "product/core/DisplaySnapshot.h"

#include <cstdint>
#include <memory>

class SnapshotExchange;
class TarnwickProduct;

namespace editor {

// Where the editor's displays read the engine's published measurements.
class MeasurementFeed
{
public:
  virtual ~MeasurementFeed() = default;
  // False when no consistent copy could be taken; `out` is then left as it was.
  virtual bool TryReadDisplay(DisplaySnapshot& out) const = 0;
  virtual bool TryReadLevels(LevelSnapshot& out) const = 0;
  // Changes with every publication.
  virtual uint64_t PublicationCount() const = 0;
};

// The engine's snapshot exchange as a feed; the exchange outlives the editor.
class ExchangeFeed : public MeasurementFeed
{
public:
  explicit ExchangeFeed(const SnapshotExchange& exchange)
    : mExchange(exchange)
  {
  }
  bool TryReadDisplay(DisplaySnapshot& out) const override;
  bool TryReadLevels(LevelSnapshot& out) const override;
  uint64_t PublicationCount() const override;

private:
  const SnapshotExchange& mExchange;
};

// The feed of the product's engine, which lives as long as the plug-in object.
std::shared_ptr<const MeasurementFeed> MakeEngineFeed(const TarnwickProduct& product);

// A display's copy of the measurements, renewed once per frame. A read that kept finding
// the writer busy leaves the last good copy in place, so no frame shows the defaults as
// if they were a reading. When nothing has been published for kStaleMs (the host stopped
// processing), the copy returns to the defaults: no signal, silent meters.
class LatestMeasurements
{
public:
  static constexpr double kStaleMs = 1000.0;

  explicit LatestMeasurements(std::shared_ptr<const MeasurementFeed> feed);

  // `nowMs` is the editor's clock; the level record is read only when asked for.
  void Renew(double nowMs, bool withLevels);
  const DisplaySnapshot& Display() const { return mDisplay; }
  const LevelSnapshot& Levels() const { return mLevels; }

private:
  std::shared_ptr<const MeasurementFeed> mFeed;
  DisplaySnapshot mDisplay;
  LevelSnapshot mLevels;
  bool mWatching = false;
  uint64_t mLastCount = 0;
  double mLastChangeMs = 0.0;
};

} // namespace editor
