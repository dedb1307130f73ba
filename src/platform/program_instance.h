// What a program does at start-up for the system it runs on: it marks itself as running, and
// it shows a text it has to give before any window (its help, a refused argument).
#pragma once

#include <QString>

#include "base/no_copy.h"

namespace qm {

// The name of the mutex each program holds while it runs. The Windows setup and uninstaller
// look for it and ask the user to close the program before they replace or remove its files
// (a running program's files cannot be replaced, and an upgrade would be half done). The
// global namespace, so that a program another user runs on the same machine counts too.
inline constexpr const wchar_t* kRunningMutexName = L"Global\\QM830K-running";

// Holds the mark from construction to destruction; nothing outside Windows.
class RunningMark : NoCopy {
 public:
  RunningMark();
  ~RunningMark();

 private:
  [[maybe_unused]] void* handle_ = nullptr;  // the mutex, on Windows
};

// Prints a text to standard output (or standard error for a refusal) in the system's 8-bit
// encoding. A Windows window
// program started from Explorer or a shortcut has neither: there the text is shown in a
// message box with the given title, since otherwise nothing would appear at all.
void ShowStartupText(const QString& title, const QString& text, bool error);

}  // namespace qm
