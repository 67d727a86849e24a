#pragma once

// Scales the side signal: 100 % leaves the pair unchanged, 0 % makes both channels the
// mid, 200 % doubles the side.
inline void ApplyStereoWidth(double& left, double& right, double widthPercent)
{
  // Unity width is the identity; the mid/side round trip would round the last bit.
  if (widthPercent == 100.0)
    return;
  const double mid = (left + right) * 0.5;
  const double side = (left - right) * 0.5 * widthPercent * 0.01;
  left = mid + side;
  right = mid - side;
}
