// Start-up configuration: the maker file's texts, file names and model count, the
// program's own configuration file and the serial port number kept in it.
#pragma once

#include <string>

#include "app/app_state.h"
#include "files/profile.h"
#include "files/text_codec.h"

namespace qm {

inline constexpr const char* kMakerIniName = "nrvPC.ini";

// The maker file of an installation: the program folder's "nrvPC.ini".
std::string DefaultMakerIniPath(const std::string& programDir);

// The folder for per-user settings: $XDG_CONFIG_HOME, else ~/.config, followed by
// "/qm830k" (empty when neither variable is set).
std::string UserConfigDir();

// Where the program's own configuration file lives: beside the program when that folder
// can be written to, otherwise in `userConfigDir` (created when needed).
std::string ResolveProgramIniPath(const std::string& programDir, const std::string& fileName,
                                  const std::string& userConfigDir);

// Reads the maker file at `makerIniPath` into `app` the way start-up does: series and
// title, the configuration and help file paths, the model count, the start values of the
// radio version state, and the model table. A missing file gives every default. When
// `programIniOverride` is not empty it is taken as the program's configuration file.
void LoadStartupConfig(const std::string& programDir, const std::string& makerIniPath,
                       AppState& app, const TextCodec& codec,
                       const std::string& programIniOverride = {});

// The serial port number (1..16) kept in the program's configuration file; 1 until a
// port has been chosen.
int ReadPortNumber(const ProfileFile& ini);
bool WritePortNumber(const ProfileFile& ini, int port);

}  // namespace qm
