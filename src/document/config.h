// Start-up configuration: the maker file's texts, file names and model count, the
// program's own configuration file and the serial port number kept in it.
#pragma once

#include <string>

#include "base/app_state.h"
#include "files/profile.h"
#include "files/text_codec.h"

namespace qm {

inline constexpr const char* kMakerIniName = "nrvPC.ini";
// The uninstaller the Windows setup puts beside the programs it installs.
inline constexpr const char* kUninstallerName = "Uninstall.exe";

// The data folder of an installed program: <prefix>/share/qm830k for <prefix>/bin.
std::string InstalledDataDir(const std::string& programDir);

// A file the program brings along (the maker file, the help page): beside the program
// first, so that a copied folder or a Windows installation behaves as it always has, then
// in the installed data folder. The path beside the program when neither holds it.
std::string FindProgramFile(const std::string& programDir, const std::string& name);

// The maker file of an installation: "nrvPC.ini", found as FindProgramFile finds it.
std::string DefaultMakerIniPath(const std::string& programDir);

// The folder for per-user settings followed by "/qm830k": $XDG_CONFIG_HOME, else ~/.config
// (on Windows %APPDATA%); empty when none of them is set.
std::string UserConfigDir();

// Where the program's own configuration file lives: beside the program when that folder
// can be written to, otherwise in `userConfigDir` (created when needed). A program
// installed in the system's layout (its maker file in the data folder, none beside it) or by
// the Windows setup (its uninstaller beside it) always keeps it in `userConfigDir`: the system's
// program folder is not the place for one user's settings, even when an administrator runs it.
std::string ResolveProgramIniPath(const std::string& programDir, const std::string& fileName,
                                  const std::string& userConfigDir);

// Fills app.models (app.modelCount entries) from section "Radio List" of the maker file,
// read once (six keys per model would otherwise mean six readings of the file per model).
void LoadModelTable(AppState& app, const ProfileSnapshot& maker);

// Reads the maker file at `makerIniPath` into `app` the way start-up does: series and
// title, the configuration and help file paths, the model count, the start values of the
// radio version state, and the model table. A missing file gives every default. When
// `programIniOverride` is not empty it is taken as the program's configuration file.
void LoadStartupConfig(const std::string& programDir, const std::string& makerIniPath,
                       AppState& app, const TextCodec& codec,
                       const std::string& programIniOverride = {});

// The serial port number (1..256) kept in the program's configuration file; 1 until a
// port has been chosen.
int ReadPortNumber(const ProfileFile& ini);
bool WritePortNumber(const ProfileFile& ini, int port);

}  // namespace qm
