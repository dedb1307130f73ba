#include "document/config.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <system_error>

#include "base/text_util.h"
#include "base/tr.h"
#include "files/utf8_path.h"
#include "radio/serial_port.h"

namespace qm {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kConstString = "Const String";
constexpr std::string_view kRadioList = "Radio List";

// A value where an empty text means the default as well as a missing key.
std::string ReadOrDefault(const ProfileSnapshot& maker, std::string_view key,
                          std::string_view def) {
  std::string v(TrimSpaces(maker.read(kConstString, key, def)));
  return v.empty() ? std::string(def) : v;
}

// A model code: the text's leading number, rounded as a 16-bit integer. Codes beyond that
// range cannot come from a radio; they are held at its ends instead of wrapping round.
int16_t CodeValue(const std::string& text) {
  double v = LeadingNumber(text);
  if (v < -32768.0) v = -32768.0;
  if (v > 32767.0) v = 32767.0;
  return static_cast<int16_t>(RoundHalfEven(v));
}

// A frequency written in units of 10 Hz, in MHz.
double FreqValue(const std::string& text) { return LeadingNumber(text) / 100000.0; }

// Whether files can be created in `dir`: tried, since permission bits alone do not tell
// (another owner, a read-only mount, an administrator account).
bool CanCreateFilesIn(const std::string& dir) {
  std::error_code ec;
  if (dir.empty() || !fs::is_directory(PathFromUtf8(dir), ec)) return false;
  std::random_device rd;
  char name[48];
  std::snprintf(name, sizeof name, ".qm830k-probe-%08x", static_cast<unsigned>(rd()));
  const fs::path probe = PathFromUtf8(dir) / name;
  std::FILE* f = OpenFile(probe, "wbx");
  if (!f) return false;
  std::fclose(f);
  fs::remove(probe, ec);
  return true;
}

std::string JoinPath(const std::string& dir, const std::string& name) {
  if (dir.empty()) return name;
  if (dir.back() == '/') return dir + name;
  return dir + "/" + name;
}

bool IsFile(const std::string& path) {
  std::error_code ec;
  return fs::is_regular_file(PathFromUtf8(path), ec);
}

// Installed: in the system's layout (the maker file in the data folder and none beside it),
// or by the Windows setup, whose copy carries its uninstaller beside the program and lives in
// a folder (Program Files) that is not one user's to write, even when the user may.
bool IsInstalledLayout(const std::string& programDir) {
  if (IsFile(JoinPath(programDir, kUninstallerName))) return true;
  return !IsFile(JoinPath(programDir, kMakerIniName)) &&
         IsFile(JoinPath(InstalledDataDir(programDir), kMakerIniName));
}

}  // namespace

std::string InstalledDataDir(const std::string& programDir) {
  const fs::path bin = PathFromUtf8(programDir.empty() ? std::string(".") : programDir);
  return PathToUtf8((bin / ".." / "share" / "qm830k").lexically_normal());
}

std::string FindProgramFile(const std::string& programDir, const std::string& name) {
  const std::string beside = JoinPath(programDir, name);
  if (IsFile(beside)) return beside;
  const std::string installed = JoinPath(InstalledDataDir(programDir), name);
  return IsFile(installed) ? installed : beside;
}

std::string DefaultMakerIniPath(const std::string& programDir) {
  return FindProgramFile(programDir, kMakerIniName);
}

std::string UserConfigDir() {
#ifdef _WIN32
  // The wide form: a user name outside the ANSI code page must survive.
  if (const wchar_t* appData = _wgetenv(L"APPDATA"); appData && *appData)
    return JoinPath(PathToUtf8(fs::path(appData)), "qm830k");
#endif
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg && *xdg) return JoinPath(xdg, "qm830k");
  const char* home = std::getenv("HOME");
  if (home && *home) return JoinPath(JoinPath(home, ".config"), "qm830k");
  return {};
}

std::string ResolveProgramIniPath(const std::string& programDir, const std::string& fileName,
                                  const std::string& userConfigDir) {
  if (userConfigDir.empty() || (!IsInstalledLayout(programDir) && CanCreateFilesIn(programDir)))
    return JoinPath(programDir, fileName);
  std::error_code ec;
  fs::create_directories(PathFromUtf8(userConfigDir), ec);
  return JoinPath(userConfigDir, fileName);
}

void LoadModelTable(AppState& app, const ProfileSnapshot& maker) {
  app.models.clear();
  // The name and code keys count from 1, the range keys from 0.
  for (int i = 0; i < app.modelCount; ++i) {
    const std::string n1 = std::to_string(i + 1);
    const std::string n0 = std::to_string(i);
    ModelEntry e;
    e.name =
        std::string(TrimSpaces(maker.read(kRadioList, "RadioName" + n1, "ZR-410(" + n0 + ")")));
    e.code = CodeValue(maker.read(kRadioList, "RadioValue" + n1, n0));
    e.rangeLow = FreqValue(maker.read(kRadioList, "StdFreqRange" + n0, n0));
    e.rangeHigh = FreqValue(maker.read(kRadioList, "EndFreqRange" + n0, n0));
    e.extendLow = FreqValue(maker.read(kRadioList, "StdFreqExtend" + n0, n0));
    e.extendHigh = FreqValue(maker.read(kRadioList, "EndFreqExtend" + n0, n0));
    app.models.push_back(std::move(e));
  }
}

void LoadStartupConfig(const std::string& programDir, const std::string& makerIniPath,
                       AppState& app, const TextCodec& codec,
                       const std::string& programIniOverride) {
  const ProfileFile makerFile(makerIniPath, codec);
  const ProfileSnapshot maker = makerFile.snapshot();
  app.programDir = programDir;

  // An empty series stays empty (the splash then shows no series); an empty title would
  // leave every caption and message box blank, so it falls back like a missing one.
  app.radioSeries =
      std::string(TrimSpaces(maker.read(kConstString, "Radio Series", "ZR410 Radio Series")));
  app.softwareTitle = ReadOrDefault(maker, "Software Title", QM_TR("QM830K编程软件"));

  std::string iniName = ReadOrDefault(maker, "Software ini File", "QM830K.ini");
  std::string helpName = ReadOrDefault(maker, "Software help File", "QM830K.hlp");
  app.iniFile = programIniOverride.empty()
                    ? ResolveProgramIniPath(programDir, iniName, UserConfigDir())
                    : programIniOverride;
  app.helpFile = FindProgramFile(programDir, helpName);

  std::string sum(TrimSpaces(maker.read(kRadioList, "Sum of Radios", "")));
  int16_t count = sum.empty() ? int16_t{2} : LeadingInt16(sum);
  // A negative count cannot size a table; it means no models, like letters do.
  app.modelCount = count < 0 ? int16_t{0} : count;

  app.curModel = 0;
  app.showWarning = {true, true};
  app.radioVersion = {};
  app.font = FontChoice{};

  LoadModelTable(app, maker);
}

int ReadPortNumber(const ProfileFile& ini) {
  int port = 1;
  std::string v = ini.read("Comm Port", "Common Port", "No Comm");
  if (v.substr(0, 7) != "No Comm") {
    double n = LeadingNumber(v);
    if (n < 1) n = 1;
    if (n > kMaxListedPort) n = kMaxListedPort;
    port = static_cast<int>(RoundHalfEven(n));
  }
  return port < kMinPortNumber ? kMinPortNumber : (port > kMaxListedPort ? kMaxListedPort : port);
}

bool WritePortNumber(const ProfileFile& ini, int port) {
  return ini.write("Comm Port", "Common Port", std::to_string(port));
}

}  // namespace qm
