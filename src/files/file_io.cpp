#include "files/file_io.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>
#include <system_error>

#include "files/utf8_path.h"

#ifdef _WIN32
#include "base/windows_api.h"
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

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

// The new file takes the old one's permission bits, and its owner and group as far as the
// system allows (the group when the user belongs to it; the owner only for an administrator).
// A file system without them is no reason to fail the save.
void KeepOwnership([[maybe_unused]] const fs::path& old, const fs::path& fresh, fs::perms perms) {
  std::error_code ec;
#ifndef _WIN32
  struct stat info {};
  if (::stat(old.c_str(), &info) == 0 && ::chown(fresh.c_str(), info.st_uid, info.st_gid) != 0) {
    [[maybe_unused]] const int ignored =
        ::chown(fresh.c_str(), static_cast<uid_t>(-1), info.st_gid);
  }
#endif
  fs::permissions(fresh, perms, fs::perm_options::replace, ec);
}

// Renames `from` over `to`, replacing it on every system.
bool RenameOver(const fs::path& from, const fs::path& to) {
#ifdef _WIN32
  return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
#else
  std::error_code ec;
  fs::rename(from, to, ec);
  return !ec;
#endif
}

}  // namespace

FileBytes ReadFileBytes(const std::string& path, size_t maxBytes) {
  FileBytes out;
  const fs::path file = PathFromUtf8(path);
  std::error_code ec;
  fs::file_status st = fs::status(file, ec);
  if (ec || !fs::exists(st)) {
    out.status = ReadStatus::Missing;
    return out;
  }
  if (!fs::is_regular_file(st)) {
    out.status = ReadStatus::NotRegular;
    return out;
  }
  FilePtr f(OpenFile(file, "rb"));
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
  const fs::path target = ResolveTarget(PathFromUtf8(pathText));
  if (!target.has_filename()) return false;
  std::error_code ec;
  const fs::file_status st = fs::status(target, ec);
  const bool existed = !ec && fs::exists(st);
  if (existed && !fs::is_regular_file(st)) return false;  // never replace a folder or device
  // The rename would replace a file the user may not write to (a read-only file in a
  // writable folder). A file marked read-only for everyone is kept even from an
  // administrator, as a read-only file is on Windows; otherwise the system is asked the way
  // a write in place would ask it, without touching the file.
  if (existed) {
    constexpr fs::perms kAnyWrite =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    if ((st.permissions() & kAnyWrite) == fs::perms::none) return false;
    if (!FilePtr(OpenFile(target, "r+b"))) return false;
  }

  // Hidden and with a random tail: it never shows in a file dialog and never collides.
  // A folder that cannot take this file is refused, even when the old file itself could
  // be written in place: the file is then either the old one or the new one, never a mix.
  FilePtr f;
  fs::path temp;
  for (int attempt = 0; attempt < 8 && !f; ++attempt) {
    fs::path name(".");
    name += target.filename();
    name += ".tmp-" + RandomSuffix();
    temp = target.parent_path() / name;
    f.reset(OpenFile(temp, "wbx"));
  }
  if (!f) return false;

  bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f.get()) == bytes.size();
  ok = std::fflush(f.get()) == 0 && ok;
  ok = CloseChecked(f) && ok;
  if (ok && existed) KeepOwnership(target, temp, st.permissions());
  ok = ok && RenameOver(temp, target);
  if (!ok) fs::remove(temp, ec);
  return ok;
}

}  // namespace qm
