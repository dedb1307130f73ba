// The command line's clock (and the window's link thread's): its waits never end early, end
// close to their deadline, and sleep instead of spinning towards it.
#include "platform/sleep_clock.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include "base/windows_api.h"
#else
#include <time.h>
#endif

namespace qm {
namespace {

// CPU time of the calling thread, in milliseconds.
double ThreadCpuMs() {
#ifdef _WIN32
  FILETIME created, exited, kernel, user;
  GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
  const auto ticks = [](const FILETIME& t) {
    return (static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
  };
  return static_cast<double>(ticks(kernel) + ticks(user)) / 10'000.0;
#else
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1000.0 + static_cast<double>(t.tv_nsec) / 1e6;
#endif
}

TEST(SleepClock, WaitsEndOnTimeAndAsleep) {
  // The link's kinds of wait: the drain check's 1 ms, a poll's 5 ms, and deadlines that fall
  // between two milliseconds, where a sleep of whole milliseconds has a remainder left.
  struct Case {
    const char* name;
    int count;
    int stepUs;
    bool until;
  };
  const Case cases[] = {
      {"delayMs(1)", 100, 1000, false},
      {"delayMs(5)", 20, 5000, false},
      {"delayUntil 1.5 ms apart", 100, 1500, true},
  };
  SleepClock clock;
  double wallMs = 0;
  double cpuMs = 0;
  for (const Case& c : cases) {
    const double cpuBefore = ThreadCpuMs();
    const Micros start = clock.now();
    Micros deadline = start;
    Micros late{0};
    for (int i = 0; i < c.count; ++i) {
      if (c.until) {
        deadline += Micros{c.stepUs};
        clock.delayUntil(deadline);
      } else {
        deadline = clock.now() + Micros{c.stepUs};
        clock.delayMs(c.stepUs / 1000);
      }
      const Micros now = clock.now();
      ASSERT_GE(now, deadline) << c.name << " returned early";
      late += now - deadline;
    }
    // A clock on the system's default tick of 15.6 ms is late by several milliseconds.
    EXPECT_LT(late.count() / c.count, 4000) << c.name << ": mean lateness in us";
    wallMs += static_cast<double>((clock.now() - start).count()) / 1000.0;
    cpuMs += ThreadCpuMs() - cpuBefore;
  }
  // A clock that spins out the last fraction of a millisecond burns a third of the time.
  EXPECT_LT(cpuMs, 0.15 * wallMs) << "CPU " << cpuMs << " ms in " << wallMs << " ms";
}

}  // namespace
}  // namespace qm
