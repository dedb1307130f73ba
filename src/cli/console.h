// What the command line needs of the console, on POSIX systems and on Windows: whether a
// stream is a terminal, whether a typed line is waiting, and Ctrl+C as a flag.
#pragma once

#include "base/no_copy.h"

namespace qm::cli {

bool StdinIsTerminal();
bool StderrIsTerminal();

// Whether standard input has something to read now (a typed line, piped text or its end),
// without waiting.
bool InputWaiting();

// The texts the program prints are UTF-8. A Windows console shows them so only with its
// output code page set to UTF-8: set for as long as this lives, the previous one put back
// afterwards, so the console window is as it was for the next program. Nothing elsewhere.
class Utf8Console : NoCopy {
 public:
  Utf8Console();
  ~Utf8Console();

 private:
  [[maybe_unused]] unsigned previous_ = 0;
};

// Turns Ctrl+C into a flag for as long as it lives, and puts the previous handling back.
// A wait for Enter ends at once on Ctrl+C, so that the flag is seen.
class InterruptFlag : NoCopy {
 public:
  InterruptFlag();
  ~InterruptFlag();
  bool raised() const;
};

}  // namespace qm::cli
