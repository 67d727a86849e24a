#include "product/core/TanhCurve.h"

namespace tanh_curve_detail {
std::atomic<TanhCurve> selected{TanhCurve::Rational};
}

void SelectTanhCurve(TanhCurve curve)
{
  tanh_curve_detail::selected.store(curve, std::memory_order_relaxed);
}

TanhCurve SelectedTanhCurve()
{
  return tanh_curve_detail::selected.load(std::memory_order_relaxed);
}
