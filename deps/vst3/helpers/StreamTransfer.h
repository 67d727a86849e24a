#pragma once

#include "deps/vst3/interfaces/IBStream.h"

// Whole records through a host stream, which may move fewer bytes per call than asked.

namespace Steinberg {

// Writes every byte; false when the stream refuses a write or reports a count out of range,
// since a record cut short would be a corrupt saved state.
bool writeAll(IBStream* stream, const void* bytes, int32 size);

// Reads exactly size bytes and then finds the stream at its end; false for a shorter or a
// longer record.
bool readWhole(IBStream* stream, void* bytes, int32 size);

} // namespace Steinberg
