#pragma once

#include "framework/core/IDataChunk.h"
#include "product/core/ParamIds.h"

// The product's whole saved state as one fixed-size little-endian record:
//   0 "QTTW" | 4 int32 version 1 | 8 int32 count 84 | 12 float32[84] current bank |
//   348 float32[84] other bank | 684 int32 recipe index 0..39 | 688 int32 active bank 0 (A) or 1 (B)
constexpr int kChainStateSize = 692;
constexpr int kChainStateVersion = 1;

struct ChainState
{
  float current[kNumParams];
  float other[kNumParams];
  int recipeIndex;
  bool bankB;
};

// True when every value is finite, inside its parameter's range and, for a switch or choice,
// a whole number.
bool ValidateChainValues(const float values[kNumParams]);

// Appends the record to the chunk. True only when the chunk grew by exactly kChainStateSize
// bytes; on failure the chunk is unchanged. A record the reader would refuse is not written.
bool WriteChainState(pfw::IDataChunk& chunk, const float current[kNumParams],
                     const float other[kNumParams], int recipeIndex, bool bankB);

// Reads a record that must fill the chunk exactly from the start position. Returns the
// position after it, or -1 for anything malformed; `record` is written only on success.
int ReadChainState(const pfw::IDataChunk& chunk, int startPosition, ChainState& record);
