#pragma once

// tanh(x[i]) - offset for eight values at once, bit for bit what Tanh gives for each. Where
// the processor has AVX2 four values share a register, otherwise (or when forced) two, as
// TanhPair. The same operations run per value either way; AVX2 is taken without fused
// multiply-adds, which would round differently.
void TanhMinusBatch8(const double x[8], double offset, double out[8]);

// Which form TanhMinusBatch8 uses; for tests.
enum class TanhBatchPath
{
  Pairs,
  Quads,
};
bool TanhBatchQuadsAvailable();
// Runs one form directly (Quads only where available).
void TanhMinusBatch8With(TanhBatchPath path, const double x[8], double offset, double out[8]);
