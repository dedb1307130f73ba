#include "document/config.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "base/model_table.h"
#include "support/gbk_codec.h"
#include "support/scratch_dir.h"

namespace qm {
namespace {

using test::ReadBytes;
using test::ScratchDir;
using test::WriteBytes;

class ConfigTest : public ::testing::Test {
 protected:
  // Loads a maker file with this content (nullptr: no file at all).
  AppState Load(const char* makerContent) {
    std::string maker = dir_.file("nrvPC.ini");
    if (makerContent) WriteBytes(maker, std::string(makerContent));
    AppState app;
    app.modelCount = -99;  // start-up must set everything it owns
    app.softwareTitle = "stale";
    app.radioVersion = {0, 9};
    app.showWarning = {false, false};
    LoadStartupConfig(dir_.path().string(), maker, app, codec_);
    return app;
  }
  std::string programDir() const { return dir_.path().string(); }
  ScratchDir dir_;
  test::GbkCodec codec_;
};

// No maker file, or one whose values are all empty, gives every default (except the series,
// which may be empty); values are trimmed.
TEST_F(ConfigTest, MakerFileValuesOrTheDefaults) {
  const std::string dir = programDir();
  using Texts = std::tuple<std::string, std::string, std::string, std::string>;
  const std::pair<const char*, Texts> cases[] = {
      {nullptr, {"ZR410 Radio Series", "QM830K编程软件", dir + "/QM830K.ini", dir + "/QM830K.hlp"}},
      {"[Const String]\nRadio Series=\nSoftware Title=   \nSoftware ini File=\n"
       "Software help File=\n[Radio List]\nSum of Radios=\n",
       {"", "QM830K编程软件", dir + "/QM830K.ini", dir + "/QM830K.hlp"}},
      {"[Const String]\nRadio Series=  My Series  \nSoftware Title=  Title  \n"
       "Software ini File= my.ini \nSoftware help File= guide.html\n",
       {"My Series", "Title", dir + "/my.ini", dir + "/guide.html"}}};
  for (const auto& [content, texts] : cases) {
    SCOPED_TRACE(content ? content : "(no file)");
    AppState app = Load(content);
    EXPECT_EQ(Texts(app.radioSeries, app.softwareTitle, app.iniFile, app.helpFile), texts);
    ASSERT_EQ(std::tuple(app.modelCount, app.models.size()), std::tuple(2, 2u));
    EXPECT_EQ(std::tuple(app.models[0].name, app.models[0].code, app.models[1].name,
                         app.models[1].code, app.programDir),
              std::tuple("ZR-410(0)", 0, "ZR-410(1)", 1, dir));
    EXPECT_DOUBLE_EQ(app.models[1].rangeLow, 1e-5);
    EXPECT_DOUBLE_EQ(app.models[1].extendHigh, 1e-5);
    EXPECT_EQ(std::tuple(app.showWarning, app.radioVersion.text(), app.curModel),
              std::tuple(std::array<bool, 2>{true, true}, "2.0", 0));
  }
}

TEST_F(ConfigTest, SumOfRadiosAndGbkNames) {
  // The line (nullptr: missing), the count.
  const std::pair<const char*, int16_t> cases[] = {{nullptr, 2},
                                                   {"Sum of Radios=3", 3},
                                                   {"Sum of Radios=abc", 0},
                                                   {"Sum of Radios=5 models", 5},
                                                   {"Sum of Radios=-3", 0},
                                                   {"Sum of Radios=\"1\"", 1},
                                                   {"Sum of Radios=99999999", 32767}};
  for (const auto& [line, count] : cases) {
    AppState app = Load(("[Radio List]\n" + std::string(line ? line : "") + "\n").c_str());
    EXPECT_EQ(app.modelCount, count) << (line ? line : "(missing)");
    EXPECT_EQ(app.models.size(), static_cast<size_t>(count));
  }

  // A maker file in GBK is decoded: "QM830K编程软件" and "机型".
  AppState app = Load(
      "[Const String]\nSoftware Title=QM830K\xb1\xe0\xb3\xcc\xc8\xed\xbc\xfe\n"
      "[Radio List]\nSum of Radios=1\nRadioName1=\xbb\xfa\xd0\xcd\n");
  ASSERT_EQ(app.models.size(), 1u);
  EXPECT_EQ(std::tuple(app.softwareTitle, app.models[0].name),
            std::tuple("QM830K编程软件", "机型"));
}

TEST_F(ConfigTest, ProgramIniGoesToTheUserFolderWhenTheProgramFolderIsReadOnly) {
  const std::string user = dir_.file("user/qm830k");
  EXPECT_EQ(ResolveProgramIniPath(programDir(), "QM830K.ini", user), programDir() + "/QM830K.ini");
  EXPECT_TRUE(std::filesystem::is_empty(dir_.path())) << "the probe file is removed";
  // Nobody can create files in /proc, whoever runs the test.
  EXPECT_EQ(ResolveProgramIniPath("/proc", "QM830K.ini", user), user + "/QM830K.ini");
  EXPECT_TRUE(std::filesystem::is_directory(user));
  EXPECT_EQ(ResolveProgramIniPath(dir_.file("no-such-folder"), "a.ini", user), user + "/a.ini");
  AppState app;  // a file named on the command line is taken as it is
  LoadStartupConfig(programDir(), dir_.file("none.ini"), app, codec_, "/elsewhere/own.ini");
  EXPECT_EQ(app.iniFile, "/elsewhere/own.ini");
}

TEST(ProgramFiles, BesideTheProgramFirstThenTheInstalledDataFolder) {
  // Where the maker file, the help page and the program's own file are found, for each way
  // the program may be laid out: a copied folder (files beside the program), the system's
  // layout (bin/ and share/qm830k/), both, neither, and a copy the Windows setup installed
  // (its uninstaller beside the program: a folder that is not one user's, though writable).
  struct Case {
    const char* name;
    bool beside, shared, uninstaller;
    const char* makerIn;  // "bin", "share": the folder the maker file is taken from
    const char* iniIn;    // "bin", "user": where the program's own file goes
  };
  const Case cases[] = {{"copied folder", true, false, false, "bin", "bin"},
                        {"installed", false, true, false, "share", "user"},
                        {"both", true, true, false, "bin", "bin"},
                        {"neither", false, false, false, "bin", "bin"},
                        {"set up on Windows", true, false, true, "bin", "user"}};
  for (const Case& c : cases) {
    ScratchDir root;
    const std::string bin = root.file("bin"), share = root.file("share/qm830k");
    const std::string user = root.file("user");
    std::filesystem::create_directories(test::PathOf(bin));
    std::filesystem::create_directories(test::PathOf(share));
    const std::string makerText = "[Const String]\nSoftware help File=guide.html\n";
    for (const auto& [present, dir] : {std::pair{c.beside, bin}, std::pair{c.shared, share}}) {
      if (!present) continue;
      WriteBytes(dir + "/nrvPC.ini", makerText);
      WriteBytes(dir + "/guide.html", std::string("<html/>"));
    }
    if (c.uninstaller) WriteBytes(bin + "/Uninstall.exe", std::string("MZ"));
    const std::string from = std::string(c.makerIn) == "bin" ? bin : share;
    EXPECT_TRUE(test::SamePath(DefaultMakerIniPath(bin), from + "/nrvPC.ini")) << c.name;
    EXPECT_TRUE(test::SamePath(InstalledDataDir(bin + "/"), share)) << c.name;
    EXPECT_TRUE(test::SamePath(ResolveProgramIniPath(bin, "QM830K.ini", user),
                               (std::string(c.iniIn) == "bin" ? bin : user) + "/QM830K.ini"))
        << c.name;
    if (c.beside || c.shared) {
      AppState app;
      test::GbkCodec codec;
      LoadStartupConfig(bin, DefaultMakerIniPath(bin), app, codec);
      EXPECT_TRUE(test::SamePath(app.helpFile, from + "/guide.html")) << c.name;
    }
  }
}

// Sets an environment variable for one test.
class EnvVar {
 public:
  EnvVar(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    Set(name, value);
  }
  ~EnvVar() { Set(name_, old_ ? old_->c_str() : nullptr); }

 private:
  static void Set(const char* name, const char* value) {
#ifdef _WIN32
    _putenv_s(name, value ? value : "");  // an empty value removes the variable there
#else
    if (value)
      setenv(name, value, 1);
    else
      unsetenv(name);
#endif
  }
  const char* name_;
  std::optional<std::string> old_;
};

TEST(UserConfigDir, XdgConfigHomeThenHome) {
#ifdef _WIN32
  // Windows: %APPDATA% first, read in full Unicode (a user name outside the code page).
  const wchar_t* was = _wgetenv(L"APPDATA");
  const std::wstring oldAppData = was ? was : L"";
  _wputenv_s(L"APPDATA", L"C:\\Users\\\u5f20\u4e09\\AppData\\Roaming");
  EXPECT_EQ(UserConfigDir(), "C:\\Users\\张三\\AppData\\Roaming/qm830k");
  _wputenv_s(L"APPDATA", L"");
  struct Restore {
    std::wstring value;
    ~Restore() { _wputenv_s(L"APPDATA", value.c_str()); }
  } restore{oldAppData};
#endif
  const std::tuple<const char*, const char*, const char*> cases[] = {
      {"/x/cfg", "/home/u", "/x/cfg/qm830k"},  // XDG_CONFIG_HOME, HOME, the folder
      {"", "/home/u", "/home/u/.config/qm830k"},
      {nullptr, nullptr, ""}};
  for (const auto& [xdg, home, want] : cases) {
    EnvVar x("XDG_CONFIG_HOME", xdg), h("HOME", home);
    EXPECT_EQ(UserConfigDir(), want);
  }
}

TEST_F(ConfigTest, PortNumberReadAndWrittenBack) {
  // The line (nullptr: missing), the port.
  const std::pair<const char*, int> cases[] = {{nullptr, 1},
                                               {"Common Port=No Comm", 1},
                                               {"Common Port=0", 1},
                                               {"Common Port=25", 25},
                                               {"Common Port=257", 256},
                                               {"Common Port=3", 3},
                                               {"Common Port=abc", 1},
                                               {"Common Port=-4", 1},
                                               {"Common Port=7x", 7},
                                               {"Common Port= 12 ", 12},
                                               {"Common Port=99999999999999999999", 256}};
  for (const auto& [line, port] : cases) {
    WriteBytes(dir_.file("QM830K.ini"), "[Comm Port]\n" + std::string(line ? line : "") + "\n");
    ProfileFile ini(dir_.file("QM830K.ini"), codec_);
    EXPECT_EQ(ReadPortNumber(ini), port) << (line ? line : "(missing)");
  }
  ProfileFile none(dir_.file("none.ini"), codec_);
  EXPECT_EQ(ReadPortNumber(none), 1);

  // Written back as decimal text.
  WriteBytes(dir_.file("QM830K.ini"), std::string("[Recent Files]\nRecentFile1=/a.q83\n"));
  ProfileFile ini(dir_.file("QM830K.ini"), codec_);
  ASSERT_TRUE(WritePortNumber(ini, 12));
  EXPECT_EQ(ReadPortNumber(ini), 12);
  EXPECT_EQ(ReadBytes(ini.path()),
            "[Recent Files]\nRecentFile1=/a.q83\n\n[Comm Port]\nCommon Port=12\n");
}

}  // namespace
}  // namespace qm
