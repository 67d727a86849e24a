#pragma once

#include <cstdint>
#include <functional>

namespace pfw {

// A periodic callback on the thread that created it (the user-interface thread, which must
// run a message loop). A timer whose system timer could not be made never fires.
class Timer
{
public:
  using Callback = std::function<void(Timer& timer)>;

  static Timer* Create(Callback callback, uint32_t periodMs);

  // Stops the timer. A timer may be stopped or deleted from inside its own callback.
  virtual ~Timer() = default;
  virtual void Stop() = 0;
};

} // namespace pfw
