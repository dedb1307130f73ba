// The technician's verbs of qm830k-cli on data files: export-csv, import-csv and diff. The
// import's row checks, the lists, the round trip and the comparison's lines are the CSV's and
// the image diff's tests.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/cli_runner.h"
#include "support/scratch_dir.h"

namespace qm {
namespace {

using test::Cli;
using test::CliRun;
using test::Has;

std::string ListArg(const char* name) {
  return "'" + std::string(QM_TEST_DATA) + "/chirp/" + name + "'";
}

// A scratch folder with a new file of the start-up model (440-470 MHz) in it.
class CliExtrasVerbs : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(Cli("new -o " + base).exitCode, 0); }
  test::ScratchDir dir;
  const std::string base = dir.file("base.q83");
};

TEST_F(CliExtrasVerbs, ImportWithItsOptionsExportAndFailuresWithoutWriting) {
  const std::string out = dir.file("out.q83"), csv = dir.file("out.csv");
  CliRun frs = Cli("import-csv " + base + " " + ListArg("US FRS and GMRS Channels.csv") +
                   " --from-location 45 --clear-rest -o " + out);
  ASSERT_EQ(frs.exitCode, 0) << frs.out;
  EXPECT_TRUE(Has(frs.out, "导入8个信道"));
  CliRun show = Cli("show " + out);
  EXPECT_TRUE(Has(show.out, "信道1\t462.55000\tOFF\t467.55000\tOFF\t添加\t关闭\t高\t宽带\t\n"))
      << show.out;
  EXPECT_TRUE(Has(show.out, "\t关闭\n信道10\t"));  // channel 9 switched off
  CliRun exp = Cli("export-csv " + out + " " + csv);
  ASSERT_EQ(exp.exitCode, 0) << exp.out;
  EXPECT_TRUE(Has(exp.out, "导出8个信道"));
  EXPECT_TRUE(Has(test::ReadBytes(csv), "\r\n2,信道2,462.575000,split,467.575000,"));

  test::WriteBytes(dir.file("bad.csv"), "Location,Frequency\n1,abc\n");
  const std::string none = dir.file("none.q83");
  CliRun bad = Cli("import-csv " + base + " " + dir.file("bad.csv") + " -o " + none);
  EXPECT_EQ(bad.exitCode, 1);
  EXPECT_TRUE(Has(bad.out, "第2行：Frequency列的数值无法识别（abc），已跳过")) << bad.out;
  EXPECT_TRUE(Has(bad.out, "没有可以导入的行"));
  EXPECT_FALSE(std::filesystem::exists(none));
  EXPECT_EQ(Cli("import-csv " + base + " " + dir.file("bad.csv")).exitCode, 2);  // no -o
}

// Equal files and a missing one are the English run's (tests/e2e/english_cli.sh).
TEST_F(CliExtrasVerbs, DiffExitCodes) {
  const std::string b = dir.file("b.q83");
  ASSERT_EQ(Cli("new -o " + b + " --model-code 12").exitCode, 0);
  CliRun d = Cli("diff " + base + " " + b);
  EXPECT_EQ(d.exitCode, 1);
  EXPECT_TRUE(Has(d.out, "识别码 机型代码: 7 -> 12")) << d.out;
  EXPECT_TRUE(Has(d.out, "信道1 接收频率: 440.00000 -> 400.00000")) << d.out;
  EXPECT_EQ(Cli("diff " + base).exitCode, 2);
}

}  // namespace
}  // namespace qm
