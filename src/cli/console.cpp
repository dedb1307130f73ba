#include "cli/console.h"

#include <csignal>

#ifdef _WIN32
#include <conio.h>
#include <io.h>

#include <cstdio>

#include "base/windows_api.h"
#else
#include <poll.h>
#include <signal.h>
#include <unistd.h>
#endif

namespace qm::cli {

namespace {
// A signal handler can only reach a flag like this one.
volatile std::sig_atomic_t gInterrupted = 0;
void OnInterrupt(int) { gInterrupted = 1; }
}  // namespace

#ifdef _WIN32

bool StdinIsTerminal() { return _isatty(_fileno(stdin)) != 0; }
bool StderrIsTerminal() { return _isatty(_fileno(stderr)) != 0; }

bool InputWaiting() {
  const HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
  switch (GetFileType(in)) {
    case FILE_TYPE_CHAR:
      return _kbhit() != 0;
    case FILE_TYPE_PIPE: {
      DWORD available = 0;
      // A pipe whose writer has gone reads as its end: that is something to read too.
      if (!PeekNamedPipe(in, nullptr, 0, nullptr, &available, nullptr)) return true;
      return available > 0;
    }
    default:
      return true;  // a file: reading never waits
  }
}

namespace {
using Handler = void (*)(int);
Handler gPrevious = SIG_DFL;
}  // namespace

InterruptFlag::InterruptFlag() {
  gInterrupted = 0;
  gPrevious = std::signal(SIGINT, OnInterrupt);
}
InterruptFlag::~InterruptFlag() { std::signal(SIGINT, gPrevious); }

Utf8Console::Utf8Console() : previous_(GetConsoleOutputCP()) {
  if (previous_ != 0 && previous_ != CP_UTF8) SetConsoleOutputCP(CP_UTF8);
}
Utf8Console::~Utf8Console() {
  if (previous_ != 0 && previous_ != CP_UTF8) SetConsoleOutputCP(previous_);
}

#else

Utf8Console::Utf8Console() = default;
Utf8Console::~Utf8Console() = default;

bool StdinIsTerminal() { return isatty(STDIN_FILENO) != 0; }
bool StderrIsTerminal() { return isatty(STDERR_FILENO) != 0; }

bool InputWaiting() {
  pollfd p{STDIN_FILENO, POLLIN, 0};
  return poll(&p, 1, 0) > 0 && (p.revents & POLLIN) != 0;
}

namespace {
struct sigaction gPrevious {};
}  // namespace

InterruptFlag::InterruptFlag() {
  gInterrupted = 0;
  // Without SA_RESTART, so that a read waiting for Enter returns on Ctrl+C.
  struct sigaction sa {};
  sa.sa_handler = OnInterrupt;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = 0;
  sigaction(SIGINT, &sa, &gPrevious);
}
InterruptFlag::~InterruptFlag() { sigaction(SIGINT, &gPrevious, nullptr); }

#endif

bool InterruptFlag::raised() const { return gInterrupted != 0; }

}  // namespace qm::cli
