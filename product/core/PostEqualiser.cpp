#include "product/core/PostEqualiser.h"

#include "product/core/ParamIds.h"

void DesignEqualiser(PostEqualiser& eq, const float* params, double rate)
{
  constexpr double kShelfQ = 0.7;
  constexpr double kButterworthQ = 0.707;
  DesignBiquad(eq.sections[0], BiquadType::HighPass, params[kParamEqHp], kButterworthQ, 0.0, rate);
  DesignBiquad(eq.sections[1], BiquadType::LowShelf, 150.0, kShelfQ, params[kParamEqLow], rate);
  DesignBiquad(eq.sections[2], BiquadType::Peak, params[kParamEqMidFrequency], params[kParamEqMidQ], params[kParamEqMid],
               rate);
  DesignBiquad(eq.sections[3], BiquadType::HighShelf, 4000.0, kShelfQ, params[kParamEqHigh], rate);
  DesignBiquad(eq.sections[4], BiquadType::LowPass, params[kParamEqLp], kButterworthQ, 0.0, rate);
}
