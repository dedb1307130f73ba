// The time base of every serial exchange: fixed waits of whole milliseconds on a monotonic
// clock. The window's clock keeps painting while it waits, the command line's sleeps, and the
// tests' virtual clock jumps ahead at once; none of them burns a core.
#pragma once

#include <chrono>
#include <cstdint>

namespace qm {

using Micros = std::chrono::microseconds;

class Clock {
 public:
  virtual ~Clock() = default;
  // Returns no earlier than `ms` milliseconds after the call (0 or less returns at once).
  virtual void delayMs(int ms) = 0;
  // Monotonic time since an arbitrary start.
  virtual Micros now() const = 0;
  // Returns no earlier than `deadline` (on the time base of now()). An exchange lays out
  // its waits as deadlines from its start, so a wait that ends a little late (a busy
  // machine, a sleeping clock) does not push every later wait of the exchange back.
  virtual void delayUntil(Micros deadline) {
    const int64_t left = (deadline - now()).count();
    if (left > 0) delayMs(static_cast<int>((left + 999) / 1000));
  }
};

}  // namespace qm
