// The data file (".q83", legacy ".z410"): 17 tagged values, 1,360 bytes, holding the whole
// memory image and the spare block.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "model/image.h"

namespace qm {

inline constexpr size_t kDataFileSize = 1360;

enum class LoadStatus {
  Ok,
  NotFound,      // "文件不存在，请确认！"
  NotDataFile,   // "该文件不是ZR410 的数据文件！"
  NewerVersion,  // "新的数据文件，请升级你的软件版本！"
  Damaged,       // "文件已经毁坏，请确认。"
};

struct LoadedFile {
  LoadStatus status = LoadStatus::Damaged;
  // Valid only when status is Ok: the image and spare block after the load (blocks of the
  // wrong shape keep the contents passed in), function byte 0 already in the current layout.
  Image image;
  SpareBlock spare{};
  int16_t imageVerMajor = 2;  // 2 for "版本 = 2.0", 0 for "版本 = 1.1"
};

// Parses file bytes on top of a copy of `current` and `currentSpare`. All or nothing: any
// fault gives a status other than Ok and the caller keeps its own data untouched.
LoadedFile ParseDataFile(std::span<const uint8_t> bytes, const Image& current,
                         const SpareBlock& currentSpare);

// Reads and parses the file at `path` (UTF-8). A missing path, a directory or a hidden
// file is NotFound; an unreadable file is Damaged.
LoadedFile LoadDataFileFrom(const std::string& path, const Image& current,
                            const SpareBlock& currentSpare);

// Whether a target name selects the legacy format: its last five characters are exactly
// ".z410" (letter case matters).
bool IsLegacyName(const std::string& path);

// The 1,360 file bytes; for the legacy format function byte 0 is converted in a copy.
std::vector<uint8_t> SerializeDataFile(const Image& image, const SpareBlock& spare, bool legacy);

// Writes the file beside its target and renames it into place, so a failed save never
// damages the previous file. Returns false on any error (the old file then stays).
bool WriteFileAtomically(const std::string& path, std::span<const uint8_t> bytes);

}  // namespace qm
