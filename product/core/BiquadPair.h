#pragma once

#include "product/core/Biquad.h"
#include "product/core/DspHelpers.h"

#include <type_traits>

#if defined(__SSE2__)
// A section of the left and of the right channel's filter side by side, the left in the low
// lane and the right in the high: per lane the operations of Biquad::Process in the same
// order, so the results are bit for bit those of the two sections. Coefficients and states
// are taken when it is made and the states given back by Store.
//
// Checking every value for a blow-up is optional: runs almost never meet one, so a run can
// first go without looking. A non-finite value leaves its section's state non-finite to the
// end of the run, as nothing turns it finite again; StatesFinite tells, and then the run is
// done again from the stored states, looking at every value.
struct BiquadPair
{
  Biquad* sections[2];
  __m128d b0, b1, b2, a1, a2, s1, s2;

  BiquadPair(Biquad& left, Biquad& right)
    : sections{&left, &right}
    , b0(_mm_set_pd(right.b0, left.b0))
    , b1(_mm_set_pd(right.b1, left.b1))
    , b2(_mm_set_pd(right.b2, left.b2))
    , a1(_mm_set_pd(right.a1, left.a1))
    , a2(_mm_set_pd(right.a2, left.a2))
    , s1(_mm_set_pd(right.s1, left.s1))
    , s2(_mm_set_pd(right.s2, left.s2))
  {
  }

  template <bool Checked>
  __m128d Process(__m128d x)
  {
    const __m128d signBit = _mm_set1_pd(-0.0);
    const __m128d tiny = _mm_set1_pd(1e-25);
    const __m128d y = _mm_add_pd(_mm_mul_pd(b0, x), s1);
    const __m128d n1 = _mm_add_pd(_mm_sub_pd(_mm_mul_pd(b1, x), _mm_mul_pd(a1, y)), s2);
    const __m128d n2 = _mm_sub_pd(_mm_mul_pd(b2, x), _mm_mul_pd(a2, y));
    s1 = _mm_andnot_pd(_mm_cmplt_pd(_mm_andnot_pd(signBit, n1), tiny), n1);
    s2 = _mm_andnot_pd(_mm_cmplt_pd(_mm_andnot_pd(signBit, n2), tiny), n2);
    if constexpr (!Checked)
      return y;
    const __m128d finite = _mm_and_pd(_mm_and_pd(FiniteLanes(y), FiniteLanes(n1)), FiniteLanes(n2));
    s1 = _mm_and_pd(finite, s1);
    s2 = _mm_and_pd(finite, s2);
    return _mm_and_pd(finite, y);
  }

  // Whether every state of the `count` pairs is finite.
  static bool StatesFinite(const BiquadPair* pairs, int count)
  {
    __m128d finite = _mm_cmpeq_pd(_mm_setzero_pd(), _mm_setzero_pd());
    for (int k = 0; k < count; ++k)
      finite = _mm_and_pd(finite, _mm_and_pd(FiniteLanes(pairs[k].s1), FiniteLanes(pairs[k].s2)));
    return _mm_movemask_pd(finite) == 3;
  }

  void Store() const
  {
    _mm_storel_pd(&sections[0]->s1, s1);
    _mm_storeh_pd(&sections[1]->s1, s1);
    _mm_storel_pd(&sections[0]->s2, s2);
    _mm_storeh_pd(&sections[1]->s2, s2);
  }
};
#endif

// Both channels' five sections in series over `count` samples, as BiquadBank5::Process per
// channel bit for bit.
inline void ProcessBankPairs(BiquadBank5& left, BiquadBank5& right, const double (*x)[2], int count, double (*out)[2])
{
#if defined(__SSE2__)
  const auto run = [&](auto checked) {
    BiquadPair sections[] = {
      {left.sections[0], right.sections[0]}, {left.sections[1], right.sections[1]},
      {left.sections[2], right.sections[2]}, {left.sections[3], right.sections[3]},
      {left.sections[4], right.sections[4]},
    };
    for (int i = 0; i < count; ++i)
    {
      __m128d v = _mm_loadu_pd(x[i]);
      for (BiquadPair& section : sections)
        v = section.template Process<decltype(checked)::value>(v);
      _mm_storeu_pd(out[i], v);
    }
    if (!decltype(checked)::value && !BiquadPair::StatesFinite(sections, BiquadBank5::kSections))
      return false;
    for (const BiquadPair& section : sections)
      section.Store();
    return true;
  };
  if (!run(std::false_type{}))
    run(std::true_type{});
#else
  for (int i = 0; i < count; ++i)
  {
    out[i][0] = left.Process(x[i][0]);
    out[i][1] = right.Process(x[i][1]);
  }
#endif
}
