// The fleet loop the command line and the window share: its roster, refused as a whole before
// any radio when a row is wrong, and radio after radio on the simulated line.
#include "radio/fleet.h"

#include <gtest/gtest.h>

#include <cstring>

#include "base/text_util.h"
#include "model/embed_areas.h"
#include "radio_fixture.h"
#include "support/scratch_dir.h"

namespace qm::test {
namespace {

TEST(FleetRoster, RowsAndRefusals) {
  std::string wide, tooWide;
  for (int i = 0; i < 96; ++i) wide += "信";  // 96 UTF-16 units: the area's size
  tooWide = wide + "x";
  struct Case {
    std::string csv;
    std::string error;  // empty: accepted
    size_t rows;
  } cases[] = {
      {"标签,用户信息\r\nA-1,车队一号\r\n\"B,2\",\"x, y\"\r\n", "", 2},
      {"label,text\n# a comment\n\nA," + wide + "\n", "", 1},
      {"标签,用户信息\nA,one\nB\nC,three\n", "名单第3行：缺少用户信息", 0},
      {"标签,用户信息\nA," + tooWide + "\n", "名单第2行：用户信息超过96个字符", 0},
      {"标签,用户信息\n", "名单中没有对讲机", 0},
  };
  for (const Case& c : cases) {
    const Roster r = ParseRoster(c.csv);
    EXPECT_EQ(r.error, c.error) << c.csv;
    EXPECT_EQ(r.rows.size(), c.rows) << c.csv;
  }
  const Roster r = ParseRoster(cases[0].csv);
  ASSERT_EQ(r.rows.size(), 2u);
  EXPECT_EQ(std::tuple(r.rows[1].label, r.rows[1].text, r.rows[1].line),
            std::tuple("B,2", u"x, y", 3));
  EXPECT_FALSE(LoadRoster("/nonexistent/roster.csv").ok());
}

// Every radio on the line at once; records what the loop hands the front end.
struct ScriptedSeam : FleetSeam {
  bool stopRequested() override { return false; }
  bool nextRadio(int) override { return true; }
  void detecting(int) override {}
  void radioDone(const FleetRecord& r, const RosterRow* row) override {
    results.push_back(r.result);
    labels.push_back(row ? row->label : "-");
  }
  void logNotWritten(const std::string&) override { ADD_FAILURE() << "log not written"; }
  std::vector<std::string> results, labels;
};

struct FleetBench : RadioBench {
  FleetBench() {
    std::memcpy(line.radio.memory().data() + 0x3E0, "FLEET-9\0\0\0\0\0\0\0\0\0", 16);
    FillPattern(image.bytes(), 0x21);
    image[0x2D2] = 1;
  }
};

TEST(FleetRun, RosterTextGoesIntoEachRadioAndItsLabelIntoTheLog) {
  FleetBench b;
  ScratchDir dir;
  const Roster roster = ParseRoster("标签,用户信息\nA-1,first\nA-2,第二台\n");
  FleetOptions options;
  options.logPath = dir.file("log.csv");
  ScriptedSeam seam;
  const FleetSummary s = RunFleet(b.ctx, b.image, b.verMajor, options, &roster, seam);
  // The run ends with the roster's last row.
  EXPECT_EQ(std::tuple(s.count, s.succeeded), std::tuple(2, 2));
  EXPECT_EQ(seam.labels, (std::vector<std::string>{"A-1", "A-2"}));
  // The second row's text is what the radio holds now, zeros after it.
  Image held;
  std::copy(b.line.radio.memory().begin(), b.line.radio.memory().end(), held.bytes().begin());
  EXPECT_EQ(Utf16ToUtf8(EmbedTextFromArea(held)), "第二台");
  const std::string log = ReadBytes(options.logPath);
  EXPECT_EQ(log.substr(0, 3), "\xEF\xBB\xBF");
  EXPECT_NE(log.find("用时(秒),标签\r\n1,FLEET-9,1,2.0,成功,"), std::string::npos) << log;
  EXPECT_NE(log.find(",A-2\r\n"), std::string::npos) << log;
}

TEST(FleetRun, ARadioOfAnotherModelIsLoggedAndNotWritten) {
  FleetBench b;
  b.radio().modelCode = 2;  // the template is model 1's
  const std::vector<uint8_t> before(b.line.radio.memory().begin(), b.line.radio.memory().end());
  FleetOptions options;
  options.maxRadios = 1;
  ScriptedSeam seam;
  const FleetSummary s = RunFleet(b.ctx, b.image, b.verMajor, options, nullptr, seam);
  EXPECT_EQ(seam.results, (std::vector<std::string>{"机型错误"}));
  EXPECT_EQ(s.failed, (std::vector<int>{1}));
  EXPECT_TRUE(b.prompter.messages.empty());  // no question stops the line
  EXPECT_TRUE(std::equal(before.begin(), before.end(), b.line.radio.memory().begin()));
}

}  // namespace
}  // namespace qm::test
