// The file verbs of qm830k-cli, run as a technician runs them: new, show, convert, dump.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "files/data_file.h"
#include "support/cli_runner.h"
#include "support/scratch_dir.h"

namespace qm {
namespace {

using test::Cli;
using test::CliRun;
using test::Has;

LoadedFile Load(const std::string& path) { return LoadDataFileFrom(path, Image{}, SpareBlock{}); }

// A scratch folder with a new file of the start-up model in it.
class CliFileVerbs : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(Cli("new -o " + f).exitCode, 0); }
  test::ScratchDir dir;
  const std::string f = dir.file("new.q83");
};

TEST_F(CliFileVerbs, NewThenShowPrintsTheStartUpModelAsTheWindowShowsIt) {
  CliRun show = Cli("show " + f + " --json");
  ASSERT_EQ(show.exitCode, 0) << show.out;
  // Code 7 is the start-up model of the shipped maker file, a 440-470 MHz radio.
  EXPECT_TRUE(Has(show.out, "\"code\": 7")) << show.out;
  EXPECT_TRUE(Has(show.out, "\"band\": \"440-470/440-470MHz\""));
  EXPECT_TRUE(Has(show.out,
                  "{\"channel\": 1, \"off\": false, \"txInhibited\": false, \"cells\": "
                  "[\"440.00000\", \"OFF\", \"440.00000\", \"OFF\", \"添加\", \"关闭\", \"高\", "
                  "\"宽带\"]}"));
  EXPECT_TRUE(Has(show.out, "{\"channel\": 16, \"off\": true, \"txInhibited\": true"));
  EXPECT_TRUE(Has(show.out, "\"label\": \"发射限时\", \"text\": \"60秒\""));
  EXPECT_TRUE(Has(show.out, "\"label\": \"监听\", \"text\": \"暂态有条件监听\""));
  EXPECT_TRUE(Has(show.out, "\"messages\": []"));
  // The tune channel defaults: every tune channel off at the lower band edge, step 6.25.
  EXPECT_TRUE(Has(show.out,
                  "{\"channel\": 11, \"off\": true, \"txInhibited\": true, \"cells\": "
                  "[\"440.00000\", \"6.25\", \"OFF\", \"440.00000\", \"6.25\", \"OFF\"]}"))
      << show.out;

  // The file holds what Save As would have written: the identification row collected.
  LoadedFile loaded = Load(f);
  ASSERT_EQ(loaded.status, LoadStatus::Ok);
  EXPECT_EQ(loaded.image.ident()[2], 7);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&loaded.image.ident()[3]), 5), "2174Q");
}

// The preset channels themselves are the defaults' tests.
TEST_F(CliFileVerbs, NewForTheFixedChannelModelHasThePresetChannels) {
  const std::string pmr = dir.file("pmr.q83");
  ASSERT_EQ(Cli("new -o " + pmr + " --model-code 32").exitCode, 0);
  CliRun show = Cli("show " + pmr);
  ASSERT_EQ(show.exitCode, 0);
  EXPECT_TRUE(
      Has(show.out, "信道1\t446.00625\tCTC 74.4\t446.00625\tCTC 74.4\t添加\t关闭\t低\t窄带"))
      << show.out;
  // The defaults put scan mode 3 into byte 0 (0x78), which the scan-mode list cannot show;
  // the saved file holds what the list shows, as the window's Save As writes it.
  EXPECT_EQ(Load(pmr).image.functions()[0], 0x68);
}

TEST_F(CliFileVerbs, ShowReportsEveryLoadCheckTheWindowWouldShow) {
  LoadedFile loaded = Load(f);
  loaded.image.functions()[7] = 0x31;   // transmit time-out out of range
  loaded.image.functions()[11] = 0x0C;  // squelch above 9
  const std::string bad = dir.file("bad.q83");
  test::WriteBytes(bad, SerializeDataFile(loaded.image, loaded.spare, false));
  CliRun show = Cli("show " + bad);
  ASSERT_EQ(show.exitCode, 0);
  EXPECT_TRUE(Has(show.out, "[QM830K] 发射限时错误！")) << show.out;
  EXPECT_TRUE(Has(show.out, "[QM830K] 静噪等级错误！"));
  EXPECT_TRUE(Has(show.out, "静噪等级\t5\t(错误)"));  // the previous selection stays, red
}

TEST_F(CliFileVerbs, BadFilesGiveTheirMessageAndAFailingExitCode) {
  const std::string bytes = test::ReadBytes(f);
  struct Case {
    const char* name;
    std::string content;
    const char* message;
  };
  const std::vector<Case> cases = {
      {"cut.q83", bytes.substr(0, 700), "文件已经毁坏，请确认。"},
      {"empty.q83", "", "文件已经毁坏，请确认。"},
      {"text.q83", "hello", "该文件不是ZR410 的数据文件！"},
  };
  for (const Case& c : cases) {
    test::WriteBytes(dir.file(c.name), c.content);
    for (const char* verb : {"show ", "dump "}) {
      CliRun r = Cli(verb + dir.file(c.name));
      EXPECT_EQ(r.exitCode, 1) << c.name;
      EXPECT_TRUE(Has(r.out, c.message)) << c.name << ": " << r.out;
    }
  }
  CliRun missing = Cli("show " + dir.file("nothing.q83"));
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_TRUE(Has(missing.out, "文件不存在，请确认！"));
}

// The file's name chooses the layout; the byte layouts themselves are the data file's tests.
TEST_F(CliFileVerbs, ConvertToLegacyAndBackLosesOnlyWhatTheLegacyLayoutCannotHold) {
  const std::string legacy = dir.file("mid.z410"), back = dir.file("back.q83");
  LoadedFile src = Load(f);
  src.image.functions()[0] = 0xFF;  // bit 7 has no place in the legacy byte
  test::WriteBytes(f, SerializeDataFile(src.image, src.spare, false));
  ASSERT_EQ(Cli("convert " + f + " " + legacy).exitCode, 0);
  ASSERT_EQ(Cli("convert " + legacy + " " + back).exitCode, 0);
  const auto want = SerializeDataFile(src.image, src.spare, true);
  EXPECT_EQ(test::ReadBytes(legacy), std::string(want.begin(), want.end()));
  LoadedFile r = Load(back);
  ASSERT_EQ(r.status, LoadStatus::Ok);
  EXPECT_EQ(r.imageVerMajor, 2);
  EXPECT_EQ(r.image.functions()[0], 0x7F);
  r.image.functions()[0] = 0xFF;
  EXPECT_EQ(r.image, src.image);
  EXPECT_EQ(r.spare, src.spare);
}

TEST_F(CliFileVerbs, DumpPrintsSixtyFourRowsWithAddresses) {
  CliRun d = Cli("dump " + f);
  ASSERT_EQ(d.exitCode, 0);
  size_t lines = 0;
  for (char c : d.out) lines += c == '\n';
  EXPECT_EQ(lines, 64u);
  EXPECT_TRUE(Has(d.out, "000: 00 13 0D 00 00 00 13 0D 00 00 00 00 00 00 01 01\n")) << d.out;
  EXPECT_TRUE(Has(d.out, "2B0: 68 03 00 05 01 00 30 06 FF FF 01 05 28 00 00 00\n"));
}

}  // namespace
}  // namespace qm
