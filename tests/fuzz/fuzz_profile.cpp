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

bool StartsWithBom(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  unsigned char b[3] = {0, 0, 0};
  size_t n = std::fread(b, 1, 3, f);
  std::fclose(f);
  return n == 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF;
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
  const bool hadBom = StartsWithBom(path);

  if (!ini.write("S", "K", "v1")) std::abort();
  if (ini.read("s", "k", "<none>") != "v1") std::abort();
  // Going over to UTF-8 may make lines readable that were not GBK; otherwise nothing moves.
  const bool transcoded = !hadBom && StartsWithBom(path);
  for (int s = 0; s < 4; ++s)
    for (int k = 0; k < 4; ++k) {
      if (s == 0 && k == 1) continue;
      if (!transcoded && ini.read(kSections[s], kKeys[k], "<none>") != before[s][k]) std::abort();
    }
  return 0;
}
