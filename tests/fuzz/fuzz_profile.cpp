// Feeds arbitrary bytes to the profile reader and writer as the content of a
// configuration file. A write of an ASCII key must always succeed and read back, and it
// must change no other value.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "files/profile.h"
#include "platform/system_text_codec.h"

namespace {

constexpr const char* kSections[] = {"S", "T", "常量", "Recent Files"};
constexpr const char* kKeys[] = {"A", "K", "B", "RecentFile1"};

std::string ScratchPath() {
  return "/tmp/qm830k-fuzz-profile-" + std::to_string(static_cast<long>(getpid())) + ".ini";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const qm::SystemTextCodec codec;
  static const std::string path = ScratchPath();
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) std::abort();
  if (size > 0 && std::fwrite(data, 1, size, f) != size) std::abort();
  std::fclose(f);

  const qm::ProfileFile ini(path, codec);
  std::string before[4][4];
  for (int s = 0; s < 4; ++s)
    for (int k = 0; k < 4; ++k) before[s][k] = ini.read(kSections[s], kKeys[k], "<none>");

  if (!ini.write("S", "K", "v1")) std::abort();
  if (ini.read("s", "k", "<none>") != "v1") std::abort();
  // Also when the file goes over from GBK to UTF-8.
  for (int s = 0; s < 4; ++s)
    for (int k = 0; k < 4; ++k) {
      if (s == 0 && k == 1) continue;
      if (ini.read(kSections[s], kKeys[k], "<none>") != before[s][k]) std::abort();
    }
  return 0;
}
