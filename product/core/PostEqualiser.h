#pragma once

#include "product/core/Biquad.h"

// The five-band equaliser after the cabinet, one per channel: high-pass, low shelf, mid
// peak, high shelf and low-pass in that order.
using PostEqualiser = BiquadBank5;

// Sets the coefficients from the engine's smoothed parameters; the states are kept.
void DesignEqualiser(PostEqualiser& eq, const float* params, double rate);
