#pragma once

namespace pfw {

// Composes "%Y%m%d %H:%M " of the local time and the offset from UTC ("+0100") into the
// process-wide stamp that trace output begins with.
void UpdateTraceTimeStamp();
const char* GetTraceTimeStamp();

} // namespace pfw
