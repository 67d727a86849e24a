#pragma once

namespace pfw {

// The diagnostic trace hook. It does nothing in the deliverables, and nothing may depend on
// it; the calls document what a tracing build would log.
inline void Trace(const char* /*function*/, int /*line*/, const char* /*format*/, ...)
#if defined(__GNUC__)
  __attribute__((format(printf, 3, 4)))
#endif
  ;

inline void Trace(const char*, int, const char*, ...) {}

} // namespace pfw
