#pragma once

// tanh(x[i]) - offset for `count` values (a multiple of 4), bit for bit what Tanh gives for
// each under the selected curve. For the rational curve, where the processor has AVX2, four
// values share a register, otherwise (or when forced, and always for the series) two, as
// TanhPair. The same operations run per value either way; AVX2 is taken without fused
// multiply-adds, which would round differently.
void TanhMinusBatch(const double* x, int count, double offset, double* out);

// The same for the arguments ((lift s) s / (s s + 1) + s) + shift of a drive stage, formed
// in the same registers: bit for bit TanhMinusBatch of the arguments the single-value form
// computes.
void LiftedTanhMinusBatch(const double* s, int count, double lift, double shift, double offset, double* out);

// Which form the batches use; for tests.
enum class TanhBatchPath
{
  Pairs,
  Quads,
};
bool TanhBatchQuadsAvailable();
// Runs one form directly (Quads only where available, and for the rational curve).
void TanhMinusBatchWith(TanhBatchPath path, const double* x, int count, double offset, double* out);
void LiftedTanhMinusBatchWith(TanhBatchPath path, const double* s, int count, double lift, double shift, double offset,
                              double* out);
