// Private-profile (Windows initialisation) files: sections in brackets, key=value lines.
// Every call reads or writes the file itself, as the platform's profile functions do, so
// several readers of one file always agree.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

#include "files/text_codec.h"

namespace qm {

// The longest value a read returns, as the platform's read with a 255-character buffer.
inline constexpr size_t kProfileValueMax = 254;

// One reading of a whole profile file, for callers that look up many keys at once (the
// model table reads six keys per model). Lookups behave exactly as ProfileFile::read.
class ProfileSnapshot {
 public:
  std::string read(std::string_view section, std::string_view key, std::string_view def) const;

 private:
  friend class ProfileFile;
  // Lower-case section -> lower-case key -> finished value. Only the first section of a
  // name and the first key of a name in it count, as with the platform's functions.
  std::unordered_map<std::string, std::unordered_map<std::string, std::string>> sections_;
};

class ProfileFile {
 public:
  ProfileFile(std::string path, const TextCodec& codec) : path_(std::move(path)), codec_(&codec) {}

  const std::string& path() const { return path_; }

  // The value of `key` in `section` (both matched without regard to letter case), or
  // `def` when the file, the section or the key is missing. Like the platform's read with
  // a 255-character buffer, the value is cut to 254 characters; surrounding spaces and a
  // pair of enclosing quotes are removed.
  std::string read(std::string_view section, std::string_view key, std::string_view def) const;

  // Reads the file once; a missing or unreadable file gives an empty snapshot.
  ProfileSnapshot snapshot() const;

  // Writes `key`=`value` into `section`, creating the file, section or key as needed and
  // keeping every other line. The file keeps the encoding it had (UTF-8 or GBK); a new
  // file is UTF-8. Returns false when the file cannot be written (the old file then stays
  // as it was), also when the value cannot be written in the file's encoding.
  bool write(std::string_view section, std::string_view key, std::string_view value) const;

 private:
  std::string path_;
  const TextCodec* codec_;
};

}  // namespace qm
