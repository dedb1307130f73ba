// qm830k-cli set: the window's bulk edit for scripts. What the bulk edit does with each field
// (the fill, the inhibit order, the refusals) is the channel edits' tests; here the verb
// reaches it and its own arguments are checked.
#include <gtest/gtest.h>

#include <string>

#include "files/data_file.h"
#include "support/cli_runner.h"
#include "support/scratch_dir.h"

namespace qm {
namespace {

using test::Cli;
using test::CliRun;
using test::Has;

TEST(CliSetVerb, ChangesTheChosenChannelsThroughTheGridChecks) {
  test::ScratchDir dir;
  const std::string in = dir.file("in.q83"), out = dir.file("out.q83");
  ASSERT_EQ(Cli("new -o " + in).exitCode, 0);  // model code 7, 440-470 MHz
  CliRun r =
      Cli("set " + in + " --channels 1-4,16 --power 低 --bandwidth narrow --rx-signal 'CTC 88.5'" +
          " --fill-from 469.9875 --step 12.5 -o " + out);
  ASSERT_EQ(r.exitCode, 0) << r.out;
  for (const char* says : {"信道3：频率超过范围！", "信道16已关闭，没有修改", "修改了4个信道"})
    EXPECT_TRUE(Has(r.out, says)) << r.out;
  const LoadedFile f = LoadDataFileFrom(out, Image{}, SpareBlock{});
  ASSERT_EQ(f.status, LoadStatus::Ok);
  auto rec = [&](int ch, size_t b) { return f.image[0x10 * static_cast<size_t>(ch) + b]; };
  auto count = [&](int ch) { return rec(ch, 0) | rec(ch, 1) << 8 | (rec(ch, 2) & 3) << 16; };
  // Low power, narrow, CTC on channels 1-4 only; 469.9875 MHz = 75198 x 6.25 kHz, channel 2
  // one step up, channel 3 keeps 440 MHz.
  for (int ch : {0, 1, 2, 3})
    EXPECT_EQ(std::tuple(rec(ch, 10) & 0x21, rec(ch, 2) >> 4), std::tuple(0x21, 3)) << ch;
  EXPECT_EQ(std::tuple(rec(4, 10) & 0x21, rec(15, 10) & 0x21, count(0), count(1), count(2)),
            std::tuple(0, 0, 75198, 75200, 70400));

  struct Bad {
    std::string args;
    int code;
    const char* says;
  };
  // An unknown value and nothing to change are the English run's (tests/e2e/english_cli.sh),
  // which also finds any message changed from the one translated.
  for (const Bad& b : std::vector<Bad>{
           {"--channels 1 --power 低 --power 高", 2, "--power: 这个选项只能给一次"},
           {"--channels 1 --step 5 --power 低", 2, "--step: 只有和--fill-from一起才起作用"},
           {"--channels 1 --tx-signal 'DCS 018'", 1, "没有修改"}}) {
    CliRun bad = Cli("set " + in + " " + b.args + " -o " + dir.file("bad.q83"));
    EXPECT_EQ(bad.exitCode, b.code) << b.args << "\n" << bad.out;
    EXPECT_TRUE(Has(bad.out, b.says)) << b.args << "\n" << bad.out;
  }
  EXPECT_FALSE(std::filesystem::exists(dir.file("bad.q83")));
}

}  // namespace
}  // namespace qm
