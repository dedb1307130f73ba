// A clock for tests: waits take no real time, they only move the clock ahead, so a
// worst-case exchange of minutes runs in microseconds and its timing can be checked exactly.
#pragma once

#include <cstdint>

#include "radio/clock.h"

namespace qm::sim {

class VirtualClock : public Clock {
 public:
  explicit VirtualClock(Micros start = Micros{0}) : now_(start) {}

  void delayMs(int ms) override {
    if (ms > 0) now_ += Micros{int64_t{ms} * 1000};
    ++delayCount_;
  }
  Micros now() const override { return now_; }
  void delayUntil(Micros deadline) override {
    if (deadline > now_) now_ = deadline;
    ++delayCount_;
  }

  void advance(Micros d) {
    if (d.count() > 0) now_ += d;
  }
  // How many delays have been asked for (a loop that never waits shows up as zero).
  int64_t delayCount() const { return delayCount_; }

 private:
  Micros now_;
  int64_t delayCount_ = 0;
};

}  // namespace qm::sim
