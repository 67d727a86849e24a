#include "product/editor/MicrophoneDrag.h"

#include "product/core/ParamSpecTable.h"

#include <algorithm>

namespace {
constexpr float kCentreX = 512.f; // position 0
constexpr float kNearY = 319.f;   // distance 0

double Limit(double value, int paramIdx)
{
  return std::clamp(value, static_cast<double>(ParamSpecTable::kMinimums[paramIdx]),
                    static_cast<double>(ParamSpecTable::kMaximums[paramIdx]));
}
} // namespace

MicrophonePlace PlaceMicrophone(double position, double distance)
{
  MicrophonePlace place;
  place.x = static_cast<float>(position * 0.01 * MicrophoneDrag::kPositionTravel + kCentreX);
  place.y = static_cast<float>(kNearY - distance * 0.01 * MicrophoneDrag::kDistanceTravel);
  return place;
}

void MicrophoneDrag::Begin(float x, float y, double position, double distance, bool fine)
{
  mActive = true;
  Anchor(x, y, position, distance, fine);
}

void MicrophoneDrag::Anchor(float x, float y, double position, double distance, bool fine)
{
  mFine = fine;
  mAnchorX = mLastX = x;
  mAnchorY = mLastY = y;
  mAnchorPosition = mLastPosition = position;
  mAnchorDistance = mLastDistance = distance;
}

void MicrophoneDrag::Move(float x, float y, bool fine, double& position, double& distance)
{
  if (fine != mFine)
    Anchor(mLastX, mLastY, mLastPosition, mLastDistance, fine);
  const double factor = mFine ? kFineFactor : 1.0;
  // Kept unlimited against the anchor: a pointer that went past an end must come back
  // to where the end lies before the microphone moves again.
  position = Limit(mAnchorPosition + (x - mAnchorX) * 100.0 / kPositionTravel * factor, kParamMicPosition);
  distance = Limit(mAnchorDistance + (mAnchorY - y) * 100.0 / kDistanceTravel * factor, kParamMicDistance);
  mLastX = x;
  mLastY = y;
  mLastPosition = position;
  mLastDistance = distance;
}
