#include "files/file_io.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>
#include <system_error>

namespace qm {

namespace fs = std::filesystem;

namespace {

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Closes explicitly so that a failure to flush the last buffer is seen.
bool CloseChecked(FilePtr& f) {
  std::FILE* raw = f.release();
  return std::fclose(raw) == 0;
}

std::string RandomSuffix() {
  std::random_device rd;
  std::uniform_int_distribution<unsigned> dist(0, 0xFFFFFF);
  char buf[16];
  std::snprintf(buf, sizeof buf, "%06x", dist(rd));
  return buf;
}

// The file the bytes really go to: a symbolic link is followed to its target.
fs::path ResolveTarget(const fs::path& path) {
  std::error_code ec;
  if (!fs::is_symlink(fs::symlink_status(path, ec))) return path;
  fs::path target = fs::read_symlink(path, ec);
  if (ec) return path;
  if (target.is_relative()) target = path.parent_path() / target;
  return target;
}

}  // namespace

FileBytes ReadFileBytes(const std::string& path, size_t maxBytes) {
  FileBytes out;
  std::error_code ec;
  fs::file_status st = fs::status(path, ec);
  if (ec || !fs::exists(st)) {
    out.status = ReadStatus::Missing;
    return out;
  }
  if (!fs::is_regular_file(st)) {
    out.status = ReadStatus::NotRegular;
    return out;
  }
  FilePtr f(std::fopen(path.c_str(), "rb"));
  if (!f) {
    out.status = ReadStatus::Unreadable;
    return out;
  }
  // Grown chunk by chunk: the limit is a ceiling, not the size to expect.
  constexpr size_t kChunk = 64 * 1024;
  size_t got = 0;
  while (got < maxBytes) {
    out.bytes.resize(got + std::min(kChunk, maxBytes - got));
    size_t n = std::fread(out.bytes.data() + got, 1, out.bytes.size() - got, f.get());
    got += n;
    if (got < out.bytes.size()) break;
  }
  if (std::ferror(f.get())) {
    out.bytes.clear();
    out.status = ReadStatus::Unreadable;
    return out;
  }
  out.bytes.resize(got);
  out.status = ReadStatus::Ok;
  return out;
}

bool WriteFileAtomically(const std::string& pathText, std::span<const uint8_t> bytes) {
  if (pathText.empty()) return false;
  const fs::path target = ResolveTarget(fs::path(pathText));
  std::error_code ec;
  fs::file_status st = fs::status(target, ec);
  const bool existed = !ec && fs::exists(st);
  if (existed && !fs::is_regular_file(st)) return false;  // never replace a folder or device
  if (!target.has_filename()) return false;

  fs::path dir = target.parent_path();
  fs::path temp;
  FilePtr f;
  // Hidden and with a random tail: it never shows in a file dialog and never collides.
  const std::string base = target.filename().string();
  for (int attempt = 0; attempt < 8 && !f; ++attempt) {
    // Appended piece by piece: GCC 12 reports a false overlap (-Wrestrict) in the chained
    // operator+ of std::string when optimising.
    std::string name;
    name.reserve(base.size() + 16);
    name.append(1, '.').append(base).append(".tmp-").append(RandomSuffix());
    temp = dir / name;
    f.reset(std::fopen(temp.c_str(), "wbx"));
  }
  if (!f) return false;

  bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f.get()) == bytes.size();
  ok = std::fflush(f.get()) == 0 && ok;
  ok = CloseChecked(f) && ok;
  if (ok && existed) {
    fs::permissions(temp, st.permissions(), fs::perm_options::replace, ec);
    ec.clear();  // a file system without permissions is no reason to fail the save
  }
  if (ok) {
    fs::rename(temp, target, ec);
    ok = !ec;
  }
  if (!ok) fs::remove(temp, ec);
  return ok;
}

}  // namespace qm
