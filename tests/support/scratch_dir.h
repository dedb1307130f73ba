// A fresh folder for one test, removed with everything in it when the test ends.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "files/utf8_path.h"

namespace qm::test {

class ScratchDir {
 public:
  ScratchDir() {
    std::random_device rd;
    path_ = std::filesystem::temp_directory_path() /
            ("qm830k-test-" + std::to_string(rd()) + "-" + std::to_string(rd()));
    std::filesystem::create_directories(path_);
  }
  ~ScratchDir() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // `name` and the result are UTF-8, as the program's own paths are.
  std::string file(std::string_view name) const { return PathToUtf8(path_ / PathFromUtf8(name)); }

 private:
  std::filesystem::path path_;
};

// A UTF-8 path for the std::filesystem calls of a test.
inline std::filesystem::path PathOf(const std::string& utf8) { return PathFromUtf8(utf8); }

// Whether two UTF-8 paths name the same place ("/" and "\\" are both separators on Windows).
inline bool SamePath(const std::string& a, const std::string& b) {
  return PathOf(a).lexically_normal() == PathOf(b).lexically_normal();
}

inline void WriteBytes(const std::string& path, std::string_view bytes) {
  std::ofstream out(PathFromUtf8(path), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  WriteBytes(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(PathFromUtf8(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace qm::test
