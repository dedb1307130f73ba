#include "platform/program_instance.h"

#include <cstdio>
#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

namespace qm {

#ifdef _WIN32

namespace {

// A standard handle the text can go to: a console, a file or a pipe the caller redirected.
bool HasStream(DWORD which) {
  const HANDLE h = GetStdHandle(which);
  return h != nullptr && h != INVALID_HANDLE_VALUE && GetFileType(h) != FILE_TYPE_UNKNOWN;
}

}  // namespace

// A failure to make the mark (another user's program made it with rights this one lacks)
// leaves the mark there all the same, which is all the setup looks for.
RunningMark::RunningMark() : handle_(CreateMutexW(nullptr, FALSE, kRunningMutexName)) {}

RunningMark::~RunningMark() {
  if (handle_ != nullptr) CloseHandle(static_cast<HANDLE>(handle_));
}

void ShowStartupText(const QString& title, const QString& text, bool error) {
  if (HasStream(error ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE)) {
    // A console is given the text itself, whatever its code page; a file or a pipe the bytes.
    const HANDLE h = GetStdHandle(error ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    if (GetConsoleMode(h, &mode)) {
      const std::wstring wide = (text + '\n').toStdWString();
      DWORD written = 0;
      WriteConsoleW(h, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    } else {
      std::fprintf(error ? stderr : stdout, "%s\n", text.toLocal8Bit().constData());
      std::fflush(error ? stderr : stdout);
    }
    return;
  }
  MessageBoxW(nullptr, reinterpret_cast<const wchar_t*>(text.utf16()),
              reinterpret_cast<const wchar_t*>(title.utf16()),
              MB_OK | (error ? MB_ICONERROR : MB_ICONINFORMATION));
}

#else

RunningMark::RunningMark() = default;
RunningMark::~RunningMark() = default;

void ShowStartupText(const QString&, const QString& text, bool error) {
  std::fprintf(error ? stderr : stdout, "%s\n", text.toLocal8Bit().constData());
}

#endif

}  // namespace qm
