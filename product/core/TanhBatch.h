#pragma once

// tanh(x[i]) - offset for `count` values (a multiple of 4), bit for bit what Tanh gives for
// each. Where the processor has AVX2 four values share a register, otherwise (or when forced)
// two, as TanhPair. The same operations run per value either way; AVX2 is taken without fused
// multiply-adds, which would round differently.
void TanhMinusBatch(const double* x, int count, double offset, double* out);

// Which form TanhMinusBatch uses; for tests.
enum class TanhBatchPath
{
  Pairs,
  Quads,
};
bool TanhBatchQuadsAvailable();
// Runs one form directly (Quads only where available).
void TanhMinusBatchWith(TanhBatchPath path, const double* x, int count, double offset, double* out);
