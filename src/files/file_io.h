// Whole-file reading and atomic replacement, shared by the data file and the profile files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace qm {

enum class ReadStatus {
  Ok,
  Missing,     // nothing of that name
  NotRegular,  // a directory, a device, a pipe ...
  Unreadable,  // exists but cannot be opened or read
};

struct FileBytes {
  ReadStatus status = ReadStatus::Missing;
  std::vector<uint8_t> bytes;
};

// Reads at most `maxBytes` bytes from the start of an ordinary file. Anything that is not
// an ordinary file is never opened, so a pipe or a device cannot block or flood the caller.
FileBytes ReadFileBytes(const std::string& path, size_t maxBytes);

// Writes `bytes` to a fresh file beside `path` and renames it over `path`: the target is
// either the old file or exactly the new bytes, never a mix. An existing file the user may
// not write to is refused, as is a folder where the fresh file cannot be made. The old
// file's permission bits are kept, and its group (and owner) as far as the system allows;
// a symbolic link is followed so the link itself survives. Returns false on any error, and
// then removes the temporary file. `path` is UTF-8 on every system.
bool WriteFileAtomically(const std::string& path, std::span<const uint8_t> bytes);

}  // namespace qm
