// The command line's clock: a wait sleeps until its deadline on the monotonic clock.
#pragma once

#include <chrono>
#include <thread>

#ifdef __linux__
#include <sys/prctl.h>
#endif
#ifdef _WIN32
#include "platform/win_timer.h"
#endif

#include "radio/clock.h"

namespace qm {

// Waits from one thread at a time (on Windows each clock has a timer of its own).
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
    sleepUntil(std::chrono::steady_clock::now() + std::chrono::milliseconds(ms));
  }
  void delayUntil(Micros deadline) override {
    sleepUntil(std::chrono::steady_clock::time_point(
        std::chrono::duration_cast<std::chrono::steady_clock::duration>(deadline)));
  }
  Micros now() const override {
    return std::chrono::duration_cast<Micros>(std::chrono::steady_clock::now().time_since_epoch());
  }

 private:
  void sleepUntil(std::chrono::steady_clock::time_point at) {
#ifdef _WIN32
    // The C runtime's sleep would end every wait in a busy loop (platform/win_timer.h).
    timer_.sleepUntil(at);
#else
    // sleep_until returns early only on a signal; go back to sleep until the deadline.
    while (std::chrono::steady_clock::now() < at) std::this_thread::sleep_until(at);
#endif
  }

#ifdef _WIN32
  win::WaitTimer timer_;
#endif
};

}  // namespace qm
