#ifdef _WIN32

#include "platform/win_timer.h"

#include <cstdint>

#include "base/windows_api.h"
// After windows.h, which it needs.
#include <timeapi.h>

// Windows 10 1803 and later; older SDK headers (MinGW-w64's among them) lack the name.
#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

namespace qm::win {

namespace {

using SetProcessInformationFn = BOOL(WINAPI*)(HANDLE, PROCESS_INFORMATION_CLASS, LPVOID, DWORD);
using NtDelayExecutionFn = LONG(NTAPI*)(BOOLEAN, PLARGE_INTEGER);

HANDLE Handle(void* h) { return static_cast<HANDLE>(h); }

}  // namespace

void HonourTimerResolution() {
  static const bool asked = [] {
    // Looked up rather than imported: Windows 7 has no such function and would refuse to
    // start the program.
    const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    const FARPROC proc =
        kernel != nullptr ? GetProcAddress(kernel, "SetProcessInformation") : nullptr;
    if (proc == nullptr) return false;
    const auto set = reinterpret_cast<SetProcessInformationFn>(reinterpret_cast<void (*)()>(proc));
    PROCESS_POWER_THROTTLING_STATE state{};
    state.Version = PROCESS_POWER_THROTTLING_CURRENT_VERSION;
    // Take charge of the policy (control mask) and turn it off (state mask clear): the
    // process's requests for a finer tick hold even while nothing of it is on the screen.
    state.ControlMask = PROCESS_POWER_THROTTLING_IGNORE_TIMER_RESOLUTION;
    state.StateMask = 0;
    return set(GetCurrentProcess(), ProcessPowerThrottling, &state, sizeof state) != 0;
  }();
  (void)asked;
}

WaitTimer::WaitTimer() : timer_(nullptr) {
  HonourTimerResolution();
  // Under Wine a waitable timer is kept by Wine's server process, which wakes a waiting thread
  // on whole milliseconds only (a third of a millisecond late on average, more on a busy
  // machine) after two round trips to it; Wine's NtDelayExecution sleeps in the calling
  // process, to the microsecond. Windows itself gets the timer.
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  if (ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr) {
    delay_ = reinterpret_cast<void (*)()>(GetProcAddress(ntdll, "NtDelayExecution"));
    if (delay_ != nullptr) return;
  }
  const DWORD access = TIMER_MODIFY_STATE | SYNCHRONIZE;
  HANDLE t =
      CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, access);
  highResolution_ = t != nullptr;
  if (t == nullptr) {
    // The system refuses the flag: a plain timer, on a tick of 1 ms for as long as it lives.
    timeBeginPeriod(1);
    tickHeld_ = true;
    t = CreateWaitableTimerExW(nullptr, nullptr, 0, access);
  }
  timer_ = t;
}

WaitTimer::~WaitTimer() {
  if (timer_ != nullptr) CloseHandle(Handle(timer_));
  if (tickHeld_) timeEndPeriod(1);
}

void WaitTimer::sleepUntil(std::chrono::steady_clock::time_point deadline) {
  using std::chrono::steady_clock;
  for (;;) {
    const auto left = deadline - steady_clock::now();
    if (left <= steady_clock::duration::zero()) return;
    // The timer counts in units of 100 ns; rounded up, so that it does not fire early.
    const int64_t ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
    const int64_t units = (ns + 99) / 100;
    LARGE_INTEGER due;
    due.QuadPart = -units;  // negative: relative to now
    if (delay_ != nullptr) {
      reinterpret_cast<NtDelayExecutionFn>(delay_)(FALSE, &due);
      continue;
    }
    if (timer_ != nullptr && SetWaitableTimer(Handle(timer_), &due, 0, nullptr, nullptr, FALSE) &&
        WaitForSingleObject(Handle(timer_), INFINITE) == WAIT_OBJECT_0) {
      continue;
    }
    // No timer to wait on: whole milliseconds, rounded up, and never 0 (which only yields).
    Sleep(static_cast<DWORD>((units + 9'999) / 10'000));
  }
}

}  // namespace qm::win

#endif
