#include "files/profile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "support/gbk_codec.h"
#include "support/scratch_dir.h"

namespace qm {
namespace {

using namespace std::string_literals;
using test::ReadBytes;
using test::ScratchDir;
using test::WriteBytes;

class ProfileTest : public ::testing::Test {
 protected:
  ProfileFile file(const std::string& content, const char* name = "test.ini") {
    std::string path = dir_.file(name);
    WriteBytes(path, content);
    return ProfileFile(path, codec_);
  }
  ScratchDir dir_;
  test::GbkCodec codec_;
};

// "编程" in GBK and in UTF-8.
const std::string kBianChengGbk = "\xb1\xe0\xb3\xcc";
const std::string kBianChengUtf8 = "编程";

TEST_F(ProfileTest, ReadsValuesAsThePlatformDoes) {
  const std::string content =
      "; comment=1\n"
      "[Const String]\n"
      "Radio Series=ZR410 Radio Series\n"
      "  software TITLE  =   QM830K编程软件   \n"
      "Quoted=\"  inside  \"\n"
      "Single='x'\n"
      "HalfQuote=\"abc\n"
      "Empty=\n"
      "Dup=first\n"
      "Dup=second\n"
      ";Hidden=1\n"
      "NoEquals\n"
      "Nul=ab\0cd\n"
      "[Other]\n"
      "Only Here=1\n"
      "[ const string ]\n"
      "Late=1\n"s;
  ProfileFile ini = file(content);
  struct Case {
    const char* section;
    const char* key;
    const char* expected;
  } cases[] = {
      {"Const String", "Radio Series", "ZR410 Radio Series"},
      {"CONST STRING", "radio series", "ZR410 Radio Series"},
      {"Const String", "Software Title", "QM830K编程软件"},
      {"Const String", "Quoted", "  inside  "},
      {"Const String", "Single", "x"},
      {"Const String", "HalfQuote", "\"abc"},
      {"Const String", "Empty", ""},
      {"Const String", "Dup", "first"},
      {"Const String", "Hidden", "<def>"},
      {";Hidden", "", "<def>"},
      {"Const String", "NoEquals", "<def>"},
      {"Const String", "Nul", "ab"},
      {"Const String", "Only Here", "<def>"},
      {"Other", "Only Here", "1"},
      {"Const String", "Late", "<def>"},  // only the first section of a name counts
      {"Missing", "Radio Series", "<def>"},
      {"Const String", "Missing", "<def>"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ini.read(c.section, c.key, "<def>"), c.expected) << c.section << "/" << c.key;
}

TEST_F(ProfileTest, MissingFileOrFolderGivesTheDefault) {
  ProfileFile missing(dir_.file("none.ini"), codec_);
  EXPECT_EQ(missing.read("A", "B", "def"), "def");
  std::filesystem::create_directory(dir_.file("folder.ini"));
  ProfileFile folder(dir_.file("folder.ini"), codec_);
  EXPECT_EQ(folder.read("A", "B", "def"), "def");
  EXPECT_FALSE(folder.write("A", "B", "v"));
  EXPECT_TRUE(std::filesystem::is_directory(dir_.file("folder.ini")));
}

TEST_F(ProfileTest, LongValuesAreCutTo254Characters) {
  std::string ascii(300, 'a');
  std::string chinese;
  for (int i = 0; i < 300; ++i) chinese += "编";
  ProfileFile ini = file("[S]\nA=" + ascii + "\nC=" + chinese +
                         "\nHuge=" + std::string(200000, 'z') + "\nAfter=ok\n");
  std::string cut;
  for (int i = 0; i < 254; ++i) cut += "编";
  EXPECT_EQ(std::tuple(ini.read("S", "A", ""), ini.read("S", "C", ""),
                       ini.read("S", "Huge", "").size(), ini.read("S", "After", "")),
            std::tuple(std::string(254, 'a'), cut, 254u, "ok"));
}

TEST_F(ProfileTest, BinaryJunkDoesNotHideGoodLines) {
  std::string junk;
  for (int i = 0; i < 4096; ++i) junk.push_back(static_cast<char>((i * 37) & 0xFF));
  ProfileFile ini = file("[S]\nA=1\n" + junk + "\n[T]\nB=2\n");
  EXPECT_EQ(std::tuple(ini.read("S", "A", ""), ini.read("T", "B", "")), std::tuple("1", "2"));
  EXPECT_TRUE(ini.write("T", "B", "3"));
  EXPECT_EQ(ini.read("T", "B", ""), "3");
  EXPECT_NE(ReadBytes(ini.path()).find(junk), std::string::npos) << "the junk stays as it was";
}

TEST_F(ProfileTest, WriteCreatesFileSectionAndKey) {
  ProfileFile ini(dir_.file("new.ini"), codec_);
  ASSERT_TRUE(ini.write("Comm Port", "Common Port", "3"));
  EXPECT_EQ(ReadBytes(ini.path()), "[Comm Port]\nCommon Port=3\n");
  ASSERT_TRUE(ini.write("Recent Files", "RecentFile1", "/d/a.q83"));
  ASSERT_TRUE(ini.write("comm port", "Other", ""));
  EXPECT_EQ(ReadBytes(ini.path()),
            "[Comm Port]\nCommon Port=3\nOther=\n\n[Recent Files]\nRecentFile1=/d/a.q83\n");
  EXPECT_EQ(ini.read("Comm Port", "Other", "def"), "");
}

TEST_F(ProfileTest, WriteKeepsEveryOtherLine) {
  const std::string before =
      "; written by hand\r\n"
      "[Comm Port]\r\n"
      "  common port = 2  \r\n"
      "; keep me\r\n"
      "\r\n"
      "[Recent Files]\r\n"
      "RecentFile1=a\r\n"
      "\r\n"
      "[Last]\r\n"
      "X=1";
  ProfileFile ini = file(before);
  ASSERT_TRUE(ini.write("COMM PORT", "Common Port", "5"));
  ASSERT_TRUE(ini.write("Recent Files", "RecentFile2", "b"));
  ASSERT_TRUE(ini.write("Last", "Y", "2"));
  // Only the changed value, the new key after the last key of its section, and a line end
  // for the last line.
  std::string after = before;
  after.replace(after.find("= 2  "), 5, "=5");
  after.insert(after.find("\r\n\r\n[Last]"), "\r\nRecentFile2=b");
  EXPECT_EQ(ReadBytes(ini.path()), after + "\r\nY=2\r\n");
}

TEST_F(ProfileTest, StrayCarriageReturnsDoNotCount) {
  // The last line ends in carriage returns but no line feed; a write adds a line end.
  ProfileFile ini = file("[T]\r\nB=x \r\r\r");
  EXPECT_EQ(ini.read("T", "B", ""), "x");
  ASSERT_TRUE(ini.write("S", "K", "v"));
  EXPECT_EQ(std::tuple(ini.read("T", "B", ""), ini.read("S", "K", "")), std::tuple("x", "v"));
}

TEST_F(ProfileTest, WrittenValueStaysOnItsLine) {
  ProfileFile ini = file("[S]\nA=1\n");
  ASSERT_TRUE(ini.write("S", "A", "x\nB=injected"));
  EXPECT_EQ(std::tuple(ini.read("S", "A", ""), ini.read("S", "B", "none")),
            std::tuple("x", "none"));
  for (const auto& [section, key] :
       {std::pair{"S", "K=V"}, {"", "K"}, {"S", "[T]"}, {"S", ";K"}, {"S]x", "K"}})
    EXPECT_FALSE(ini.write(section, key, "1")) << section << " " << key;
  EXPECT_EQ(ReadBytes(ini.path()), "[S]\nA=x\n");
}

TEST_F(ProfileTest, Utf8FileStaysUtf8) {
  ProfileFile ini = file("\xEF\xBB\xBF[S]\nTitle=" + kBianChengUtf8 + "\n");
  EXPECT_EQ(ini.read("S", "Title", ""), kBianChengUtf8);
  ASSERT_TRUE(ini.write("S", "Path", "/数据/" + kBianChengUtf8 + ".q83"));
  EXPECT_EQ(ReadBytes(ini.path()), "\xEF\xBB\xBF[S]\nTitle=" + kBianChengUtf8 + "\nPath=/数据/" +
                                       kBianChengUtf8 + ".q83\n");
  EXPECT_FALSE(ini.write("S", "Bad", "\xb1\xe0")) << "not UTF-8: refused";
}

TEST_F(ProfileTest, GbkFileIsReadAndWrittenBackAsGbk) {
  // "[常量]" and a title in GBK, as a Chinese Windows system writes them.
  const std::string section = "\xb3\xa3\xc1\xbf";  // 常量
  const std::string before =
      "[" + section + "]\r\nTitle=QM830K" + kBianChengGbk + "\r\n" + "; " + kBianChengGbk + "\r\n";
  ProfileFile ini = file(before);
  EXPECT_EQ(ini.read("常量", "Title", ""), "QM830K" + kBianChengUtf8);
  ASSERT_TRUE(ini.write("常量", "Path", "D:\\" + kBianChengUtf8 + ".q83"));
  ASSERT_TRUE(ini.write("新", "K", kBianChengUtf8));
  const std::string after = ReadBytes(ini.path());
  EXPECT_EQ(after, before + "Path=D:\\" + kBianChengGbk +
                       ".q83\r\n\r\n[\xd0\xc2]\r\nK=" + kBianChengGbk + "\r\n");
  EXPECT_EQ(ini.read("常量", "Path", ""), "D:\\" + kBianChengUtf8 + ".q83");
  // A character GBK cannot hold: nothing is written.
  EXPECT_FALSE(ini.write("常量", "Path", "\xF0\x9F\x98\x80"));
  EXPECT_EQ(ReadBytes(ini.path()), after);
}

TEST_F(ProfileTest, GbkFileThatWouldReadAsUtf8AfterAnEditBecomesUtf8) {
  // "猫" is c3 a8 in GBK, which is also the UTF-8 for "è"; only K's value marks the file GBK.
  ProfileFile ini = file("[S]\nA=\xc3\xa8\nK=" + kBianChengGbk + "\n");
  EXPECT_EQ(ini.read("S", "A", ""), "猫");
  ASSERT_TRUE(ini.write("S", "K", "v"));
  EXPECT_EQ(std::tuple(ini.read("S", "A", ""), ini.read("S", "K", "")), std::tuple("猫", "v"));
  EXPECT_EQ(ReadBytes(ini.path()), "\xEF\xBB\xBF[S]\nA=猫\nK=v\n");

  // A line that is no GBK (the UTF-8 "量0") matched nothing; in UTF-8 it would now come
  // first for K, so it stays as a comment.
  ini = file("[S]\nK=\xe9\x87\x8f\x30\nK=" + kBianChengGbk + "\n");
  EXPECT_EQ(ini.read("S", "K", ""), kBianChengUtf8);
  ASSERT_TRUE(ini.write("S", "K", "v"));
  EXPECT_EQ(ini.read("S", "K", ""), "v");
  EXPECT_EQ(ReadBytes(ini.path()), "\xEF\xBB\xBF[S]\n;K=量0\nK=v\n");
}

}  // namespace
}  // namespace qm
