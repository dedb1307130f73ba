#include "platform/command_line.h"

#ifdef _WIN32
#include "base/windows_api.h"
// After windows.h, which it needs.
#include <shellapi.h>

#include "files/utf8_path.h"
#endif

namespace qm {

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
#ifdef _WIN32
  int n = 0;
  if (wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &n)) {
    std::vector<std::string> out;
    for (int i = 0; i < n; ++i) out.push_back(PathToUtf8(std::filesystem::path(wide[i])));
    LocalFree(wide);
    return out;
  }
#endif
  return std::vector<std::string>(argv, argv + argc);
}

}  // namespace qm
