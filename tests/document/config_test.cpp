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
  // The model table of a maker file with this content, for `count` entries.
  AppState Table(const std::string& content, int16_t count) {
    WriteBytes(dir_.file("nrvPC.ini"), content);
    AppState app;
    app.modelCount = count;
    LoadModelTable(app, ProfileFile(dir_.file("nrvPC.ini"), codec_).snapshot());
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
  // The value (nullptr: no line), the count.
  const std::pair<const char*, int16_t> cases[] = {{nullptr, 2},       {"3", 3},  {"abc", 0},
                                                   {"5 models", 5},    {"-3", 0}, {"\"1\"", 1},
                                                   {"99999999", 32767}};
  for (const auto& [value, count] : cases) {
    const std::string line = value ? std::string("Sum of Radios=") + value : "";
    AppState app = Load(("[Radio List]\n" + line + "\n").c_str());
    EXPECT_EQ(std::tuple(app.modelCount, app.models.size()),
              std::tuple(count, static_cast<size_t>(count)))
        << line;
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
  const auto port = [&](const char* value) {  // nullptr: no line
    const std::string line = value ? std::string("Common Port=") + value : "";
    WriteBytes(dir_.file("QM830K.ini"), "[Comm Port]\n" + line + "\n");
    return ReadPortNumber(ProfileFile(dir_.file("QM830K.ini"), codec_));
  };
  const std::pair<const char*, int> cases[] = {{nullptr, 1}, {"No Comm", 1}, {"0", 1},   {"25", 25},
                                               {"257", 256}, {"3", 3},       {"abc", 1}, {"-4", 1},
                                               {"7x", 7},    {" 12 ", 12}};
  for (const auto& [value, want] : cases) EXPECT_EQ(port(value), want) << (value ? value : "");
  EXPECT_EQ(port("99999999999999999999"), 256);
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

TEST(InstallationMakerFile, SixModelsWithTheirCodes) {
  test::GbkCodec codec;
  AppState app;
  LoadStartupConfig(QM_BINARY_DIR, DefaultMakerIniPath(QM_BINARY_DIR), app, codec);
  EXPECT_EQ(std::tuple(app.softwareTitle, app.radioSeries, app.helpFile),
            std::tuple("QM830K编程软件", "ZR410 Radio Series",
                       std::string(QM_BINARY_DIR) + "/USER-GUIDE.html"));
  ASSERT_EQ(std::tuple(app.modelCount, app.models.size()), std::tuple(6, 6u));
  EXPECT_EQ(std::tuple(FindModelByCode(app, 7) >= 0, FindModelByCode(app, 32), app.models[0].name,
                       app.models[0].rangeLow, app.models[0].rangeHigh, app.models[5].extendHigh),
            std::tuple(true, 5, "QM830K-V1", 136.0, 154.0, 446.2));
  for (const ModelEntry& m : app.models) {
    EXPECT_TRUE(m.extendLow <= m.rangeLow && m.rangeLow < m.rangeHigh &&
                m.rangeHigh <= m.extendHigh)
        << m.name;
  }
}

TEST_F(ConfigTest, EveryModelEntryGetsItsOwnKeysBandTextsAndCode) {
  AppState app = Table(
      "[Radio List]\n"
      "RadioName1= First \nRadioValue1=10\nStdFreqRange0=13600000\nEndFreqRange0=15400000\n"
      "StdFreqExtend0=13000000\nEndFreqExtend0=16000000\n"
      "RadioName2=Second\nRadioValue2=32\nStdFreqRange1=44600000\nEndFreqRange1=44620000\n"
      "RadioName3=Third\nRadioValue3=7\nStdFreqRange2=13650000\n",
      3);
  ASSERT_EQ(app.models.size(), 3u);
  const ModelEntry& m = app.models[0];  // the values are exact in binary
  EXPECT_EQ(std::tuple(m.name, m.code, m.rangeLow, m.rangeHigh, m.extendLow, m.extendHigh),
            std::tuple("First", 10, 136.0, 154.0, 130.0, 160.0));
  EXPECT_EQ(app.models[1].code, 32);
  EXPECT_DOUBLE_EQ(app.models[1].rangeHigh, 446.2);
  EXPECT_DOUBLE_EQ(app.models[1].extendLow, 1e-5);  // missing: the index as the value
  EXPECT_EQ(app.models[2].name, "Third");
  EXPECT_DOUBLE_EQ(app.models[2].rangeLow, 136.5);
  EXPECT_DOUBLE_EQ(app.models[2].rangeHigh, 2e-5);

  // The band texts of the entries.
  AppState bands = Table(
      "[Radio List]\nStdFreqRange0=13600000\nEndFreqRange0=15400000\n"
      "StdFreqRange1=14600000\nEndFreqRange1=17400000\nStdFreqRange2=40000000\n"
      "EndFreqRange2=43050000\nStdFreqRange4=42000000\nEndFreqRange4=45000000\n",
      6);
  EXPECT_EQ(
      std::tuple(BuildBandText(bands, 1), BuildRangeLabelText(bands, 1), BuildBandText(bands, 2),
                 BuildRangeLabelText(bands, 2), BuildBandText(bands, 4),
                 StatusBandPanel(BuildBandText(bands, 0))),
      std::tuple("146-174/146-174MHz", "146-174/146-174MHz", "400-430.5 MHz", "400 - 430.5 MHz",
                 "420-450/420-440/420-450MHz", "ZR410[136-154/136-154MHz]"));

  // The code texts.
  const std::pair<const char*, int16_t> cases[] = {{"7", 7},         {" 12 ", 12}, {"abc", 0},
                                                   {"9x", 9},        {"7.5", 8},   {"6.5", 6},
                                                   {"99999", 32767}, {"-5", -5}};
  for (const auto& [value, code] : cases) {
    const AppState one = Table(std::string("[Radio List]\nRadioValue1=") + value + "\n", 1);
    ASSERT_EQ(one.models.size(), 1u);
    EXPECT_EQ(one.models[0].code, code) << value;
  }

  // Of duplicate codes the first is selected.
  app = Table("[Radio List]\nRadioValue1=5\nRadioValue2=9\nRadioValue3=9\n", 3);
  app.curModel = 0;
  EXPECT_TRUE(ConvertModel(app, 9));
  EXPECT_EQ(app.curModel, 1);
  EXPECT_FALSE(ConvertModel(app, 77));  // unknown: the selection stays
  EXPECT_EQ(app.curModel, 1);
}

}  // namespace
}  // namespace qm
