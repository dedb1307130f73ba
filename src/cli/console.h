// What the command line needs of the console, on POSIX systems and on Windows: whether a
// stream is a terminal, whether a typed line is waiting, and Ctrl+C as a flag.
#pragma once

namespace qm::cli {

bool StdinIsTerminal();
bool StderrIsTerminal();

// Whether standard input has something to read now (a typed line, piped text or its end),
// without waiting.
bool InputWaiting();

// Turns Ctrl+C into a flag for as long as it lives, and puts the previous handling back.
// A wait for Enter ends at once on Ctrl+C, so that the flag is seen.
class InterruptFlag {
 public:
  InterruptFlag();
  ~InterruptFlag();
  InterruptFlag(const InterruptFlag&) = delete;
  InterruptFlag& operator=(const InterruptFlag&) = delete;
  bool raised() const;
};

}  // namespace qm::cli
