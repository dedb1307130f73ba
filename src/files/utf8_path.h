// Paths between the program's UTF-8 texts and std::filesystem. A path built from a plain
// char string is read in the system's ANSI code page on Windows, which mangles a Chinese
// file name; going through char8_t keeps it UTF-8 on every system.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace qm {

std::filesystem::path PathFromUtf8(std::string_view utf8);
std::string PathToUtf8(const std::filesystem::path& path);

// std::fopen for a path that may hold any character (the wide-character open on Windows).
// "x" in the mode (create, fail when the file exists) is honoured on every system.
std::FILE* OpenFile(const std::filesystem::path& path, const char* mode);

}  // namespace qm
