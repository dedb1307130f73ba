// The file verbs of qm830k-cli, run as a technician runs them: new, show, convert, dump. The
// load checks, the defaults and the byte layouts are the document's, model's and data file's
// tests; here each verb reaches them and prints them in its own form.
#include <gtest/gtest.h>

#include <algorithm>
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
  void ExpectAll(const CliRun& r, const std::vector<std::string>& parts) {
    for (const std::string& p : parts) EXPECT_TRUE(Has(r.out, p)) << p << "\n" << r.out;
  }
  test::ScratchDir dir;
  const std::string f = dir.file("new.q83");
};

TEST_F(CliFileVerbs, NewThenShowAndDumpPrintTheStartUpModel) {
  CliRun show = Cli("show " + f + " --json");
  ASSERT_EQ(show.exitCode, 0) << show.out;
  // Code 7 is the start-up model of the shipped maker file, a 440-470 MHz radio; every tune
  // channel off at the lower band edge. The keys are the text form's.
  const std::string in = "\n      ";
  ExpectAll(
      show,
      {"\"code\": 7", "\"band\": \"440-470/440-470MHz\"", "\"messages\": []",
       "\"channel\": 1," + in + "\"rx\": \"440.00000\"," + in + "\"rx_signal\": \"OFF\"," + in +
           "\"tx\": \"440.00000\"," + in + "\"tx_signal\": \"OFF\"," + in + "\"in_use\": true," +
           in + "\"tx_allowed\": true," + in + "\"bandwidth\": \"wide\"," + in +
           "\"busy_lock\": false," + in + "\"scan\": true," + in + "\"power\": \"high\"",
       "\"channel\": 16," + in + "\"rx\": \"440.00000\"," + in + "\"rx_signal\": \"OFF\"," + in +
           "\"tx\": \"440.00000\"," + in + "\"tx_signal\": \"OFF\"," + in + "\"in_use\": false",
       "\"tx_timeout\": 60,", "\"tune_channel\": [", "\"version\": \"2.0\""});
  // Tune channel 11 is off like every default tune channel.
  EXPECT_TRUE(Has(show.out.substr(show.out.find("\"tune_channel\"")),
                  "\"channel\": 11," + in + "\"rx\": \"440.00000\"," + in +
                      "\"rx_signal\": \"OFF\"," + in + "\"tx\": \"440.00000\"," + in +
                      "\"tx_signal\": \"OFF\"," + in + "\"in_use\": false"));
  // The file holds what Save As would have written: the identification row collected.
  LoadedFile loaded = Load(f);
  ASSERT_EQ(loaded.status, LoadStatus::Ok);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&loaded.image.ident()[2]), 6), "\a2174Q");

  CliRun d = Cli("dump " + f);
  ASSERT_EQ(d.exitCode, 0);
  EXPECT_EQ(std::count(d.out.begin(), d.out.end(), '\n'), 64);
  ExpectAll(d, {"000: 00 13 0D 00 00 00 13 0D 00 00 00 00 00 00 01 01\n",
                "2B0: 68 03 00 05 01 00 30 06 FF FF 01 05 28 00 00 00\n"});

  // The fixed-channel model: its preset channels. The defaults put scan mode 3 into byte 0
  // (0x78), which the scan-mode list cannot show; the file holds what the list shows.
  const std::string pmr = dir.file("pmr.q83");
  ASSERT_EQ(Cli("new -o " + pmr + " --model-code 32").exitCode, 0);
  ExpectAll(Cli("show " + pmr),
            {"信道1\t446.00625\tCTC 74.4\t446.00625\tCTC 74.4\t添加\t关闭\t低\t窄带"});
  EXPECT_EQ(Load(pmr).image.functions()[0], 0x68);
}

TEST_F(CliFileVerbs, LoadChecksAndBadFilesGiveTheWindowsMessages) {
  LoadedFile loaded = Load(f);
  loaded.image.functions()[11] = 0x0C;  // squelch above 9
  const std::string odd = dir.file("odd.q83");
  test::WriteBytes(odd, SerializeDataFile(loaded.image, loaded.spare, false));
  CliRun show = Cli("show " + odd);
  EXPECT_EQ(show.exitCode, 0);
  ExpectAll(show, {"[QM830K] 静噪等级错误！", "静噪等级\t5\t(错误)"});  // the last selection, red

  test::WriteBytes(dir.file("cut.q83"), test::ReadBytes(f).substr(0, 700));
  for (const char* verb : {"show ", "dump "}) {
    CliRun r = Cli(verb + dir.file("cut.q83"));
    EXPECT_EQ(r.exitCode, 1) << verb;
    ExpectAll(r, {"文件已经毁坏，请确认。"});
  }
  CliRun missing = Cli("show " + dir.file("nothing.q83"));
  EXPECT_EQ(missing.exitCode, 1);
  ExpectAll(missing, {"文件不存在，请确认！"});
}

// The file's name chooses the layout; the byte layouts and what the legacy one cannot hold
// are the data file's tests.
TEST_F(CliFileVerbs, ConvertWritesTheLayoutTheNameChooses) {
  const std::string legacy = dir.file("mid.z410"), back = dir.file("back.q83");
  ASSERT_EQ(Cli("convert " + f + " " + legacy).exitCode, 0);
  ASSERT_EQ(Cli("convert " + legacy + " " + back).exitCode, 0);
  const LoadedFile src = Load(f);
  const auto want = SerializeDataFile(src.image, src.spare, true);
  EXPECT_EQ(test::ReadBytes(legacy), std::string(want.begin(), want.end()));
  EXPECT_EQ(test::ReadBytes(back), test::ReadBytes(f));
}

}  // namespace
}  // namespace qm
