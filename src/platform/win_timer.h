// Waits of a thread on Windows that end when they should, without spinning.
//
// Windows' default timer ticks every 15.6 ms, and Windows 11 drops a process's request for a
// finer tick (timeBeginPeriod) while its windows are minimised or covered. The C runtime's
// sleep is no help either: it truncates to whole milliseconds and returns at once below one,
// so a wait would end in a busy loop. A high-resolution waitable timer wakes the thread at its
// due time whatever the tick; where the system has none (before Windows 10 1803) the process
// asks for a 1 ms tick instead and waits on a plain timer. Under Wine, whose timers are
// served a millisecond at a time by its server process, the thread sleeps in-process.
#pragma once

#ifdef _WIN32

#include <chrono>

#include "base/no_copy.h"

namespace qm::win {

// Asks once per process that the system keep honouring the process's timer resolution
// requests when its windows are hidden. Failure (an older system, Wine) changes nothing.
void HonourTimerResolution();

// A waitable timer for the waits of one thread at a time.
class WaitTimer : NoCopy {
 public:
  WaitTimer();
  ~WaitTimer();

  // Returns no earlier than `deadline` (steady_clock).
  void sleepUntil(std::chrono::steady_clock::time_point deadline);
  // Whether the timer is the high-resolution kind (false: a plain timer on a 1 ms tick, or
  // Wine's in-process sleep).
  bool highResolution() const { return highResolution_; }

 private:
  void* timer_;  // the HANDLE of the timer, or null when none could be made
  bool highResolution_ = false;
  bool tickHeld_ = false;      // timeBeginPeriod(1) is held for the plain timer
  void (*delay_)() = nullptr;  // Wine's NtDelayExecution, which is used there instead
};

}  // namespace qm::win

#endif
