// The command line's clock: a wait sleeps until its deadline on the monotonic clock.
#pragma once

#include <chrono>
#include <thread>

#ifdef __linux__
#include <sys/prctl.h>
#endif

#include "radio/clock.h"

namespace qm {

class SleepClock : public Clock {
 public:
  SleepClock() {
#ifdef __linux__
    // The default timer slack lets each sleep end up to 50 us late; an exchange has
    // hundreds of sleeps, and the waits are meant to be what they say.
    prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
#endif
  }
  void delayMs(int ms) override {
    if (ms <= 0) return;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    // sleep_until returns early only on a signal; go back to sleep until the deadline.
    while (std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_until(deadline);
  }
  void delayUntil(Micros deadline) override {
    const std::chrono::steady_clock::time_point at(
        std::chrono::duration_cast<std::chrono::steady_clock::duration>(deadline));
    while (std::chrono::steady_clock::now() < at) std::this_thread::sleep_until(at);
  }
  Micros now() const override {
    return std::chrono::duration_cast<Micros>(std::chrono::steady_clock::now().time_since_epoch());
  }
};

}  // namespace qm
