// The four most recently used data files, kept in section "Recent Files" of the program's
// configuration file. Every operation reads and writes the file itself.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "files/profile.h"

namespace qm {

inline constexpr int kRecentFileCount = 4;

// Entry n (1..4), or nullopt when it is empty (missing, "No File" or an empty value).
std::optional<std::string> ReadRecentEntry(const ProfileFile& ini, int n);

// Makes `path` entry 1, moving the others down (the fourth falls off).
void AddRecentFile(const ProfileFile& ini, const std::string& path);

// Deletes the entry that matches `path` and closes the gap.
void RemoveRecentFile(const ProfileFile& ini, const std::string& path);

// The captions of the four menu entries (" 1 " + path), nullopt for hidden entries.
std::array<std::optional<std::string>, kRecentFileCount> RecentMenuCaptions(const ProfileFile& ini);

// The path of a menu entry caption: the caption from its fourth character on.
std::string PathFromRecentCaption(const std::string& caption);

}  // namespace qm
