// The time base of every serial exchange: fixed waits of whole milliseconds on a monotonic
// clock. The window's clock keeps painting while it waits, the command line's sleeps, and the
// tests' virtual clock jumps ahead at once; none of them burns a core.
#pragma once

#include <chrono>

namespace qm {

using Micros = std::chrono::microseconds;

class Clock {
 public:
  virtual ~Clock() = default;
  // Returns no earlier than `ms` milliseconds after the call (0 or less returns at once).
  virtual void delayMs(int ms) = 0;
  // Monotonic time since an arbitrary start.
  virtual Micros now() const = 0;
};

}  // namespace qm
