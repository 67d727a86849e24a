#pragma once

// The cabinet microphone in the rig picture: where it is drawn for a position and a
// distance, and the drag that moves it. 152 units of horizontal travel span the whole
// position range and 95 units of vertical travel the whole distance range, so at full
// speed the drawn microphone stays under the pointer.
struct MicrophonePlace
{
  float x = 0.f;
  float y = 0.f;
};

// Position in percent (0 centre ... 100 edge), distance in centimetres (up is farther).
MicrophonePlace PlaceMicrophone(double position, double distance);

class MicrophoneDrag
{
public:
  static constexpr float kPositionTravel = 152.f;
  static constexpr float kDistanceTravel = 95.f;
  static constexpr double kFineFactor = 0.1;

  // Starts at the pointer (x, y) with the microphone's present values.
  void Begin(float x, float y, double position, double distance, bool fine);
  // The position and distance for the pointer at (x, y), limited to their ranges. A
  // change of the fine modifier continues from where the microphone is, so pressing or
  // releasing it never makes the microphone (and the tone) jump.
  void Move(float x, float y, bool fine, double& position, double& distance);
  void End() { mActive = false; }
  bool Active() const { return mActive; }

private:
  void Anchor(float x, float y, double position, double distance, bool fine);

  bool mActive = false;
  bool mFine = false;
  float mAnchorX = 0.f;
  float mAnchorY = 0.f;
  double mAnchorPosition = 0.0;
  double mAnchorDistance = 0.0;
  float mLastX = 0.f;
  float mLastY = 0.f;
  double mLastPosition = 0.0;
  double mLastDistance = 0.0;
};
