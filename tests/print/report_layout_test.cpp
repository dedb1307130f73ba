#include "print/report_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "print/report_samples.h"

namespace qm::print {
namespace {

// "L1", "L2", ...: appended rather than "L" + text, past GCC 12's false -Wrestrict at -O3.
std::string LineLabel(int n) { return std::string("L").append(std::to_string(n)); }

using test::AllChannelsInUse;
using test::kHeader;
using test::SampleFunctions;

std::vector<const ReportElement*> TextsAt(const ReportPage& page, int32_t y) {
  std::vector<const ReportElement*> out;
  for (const ReportElement& e : page.elements) {
    if (e.kind != ElementKind::Rule && e.y == y) out.push_back(&e);
  }
  std::sort(out.begin(), out.end(), [](auto* a, auto* b) { return a->x < b->x; });
  return out;
}

std::optional<ReportElement> Find(const ReportPage& page, const std::string& text) {
  for (const ReportElement& e : page.elements) {
    if (e.kind != ElementKind::Rule && e.text == text) return e;
  }
  return std::nullopt;
}

using Lines = std::vector<std::string>;

// "信道a" to "信道b", one line each.
Lines Chs(int a, int b) {
  Lines out;
  for (int n = a; n <= b; ++n) out.push_back("信道" + std::to_string(n));
  return out;
}
Lines operator+(Lines a, const Lines& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// The x and text of each text on a line, left to right.
std::vector<std::pair<int32_t, std::string>> Line(const ReportPage& page, int32_t y) {
  std::vector<std::pair<int32_t, std::string>> out;
  for (const ReportElement* e : TextsAt(page, y)) out.emplace_back(e->x, e->text);
  return out;
}

// The x or the text of each text on a line, left to right.
std::vector<int32_t> Xs(const ReportPage& page, int32_t y) {
  std::vector<int32_t> out;
  for (const ReportElement* e : TextsAt(page, y)) out.push_back(e->x);
  return out;
}
Lines Texts(const ReportPage& page, int32_t y) {
  Lines out;
  for (const ReportElement* e : TextsAt(page, y)) out.push_back(e->text);
  return out;
}

const std::vector<int32_t> kChannelColumns = {960, 1940, 3400, 4500, 6060, 7300, 8210, 9220, 10200};

// The first text of each body line, top to bottom.
std::vector<std::string> BodyLineStarts(const ReportPage& page) {
  std::vector<std::string> out;
  for (int line = 0; line < pos::kLinesPerPage; ++line) {
    auto texts = TextsAt(page, pos::kBodyY + pos::kBodyPitch * line);
    if (!texts.empty()) out.push_back(texts.front()->text);
  }
  return out;
}

// The page header first, its title ending at the right margin (its width is the painter's
// business); the report's title centred by a character estimate; the model line.
TEST(ReportLayout, PageHeaderTitleAndModelLine) {
  const PageGeometry g{12000, 16000};
  auto pages = LayoutChannelReport(kHeader, AllChannelsInUse(), g);
  EXPECT_EQ(std::vector<ReportElement>(pages[0].elements.begin(), pages[0].elements.begin() + 3),
            (std::vector<ReportElement>{
                {ElementKind::Text, 240, 140, "NRV", Align::Left, 0},
                {ElementKind::Text, 12000 - 240, 140, "QM830K编程软件", Align::Right, 0},
                {ElementKind::Rule, 240, 380, "", Align::Left, 12000 - 240}}));
  auto title = Find(pages[0], "信道设置");
  ASSERT_TRUE(title);
  EXPECT_EQ(title->y, 540);
  EXPECT_EQ(title->x, (12000 - 4 * 150) / 2);  // four characters, not twelve UTF-8 bytes
  EXPECT_EQ(Line(pages[0], 900),
            (std::vector<std::pair<int32_t, std::string>>{
                {2200, "机型:"}, {3000, "QM830K"}, {5200, "频率范围:"}, {7000, "136-174MHz"}}));
}

// The heading lines, each text over the column of the rows below it.
TEST(ReportLayout, ChannelHeadingsSitOverTheirColumns) {
  const ReportPage page = LayoutChannelReport(kHeader, AllChannelsInUse())[0];
  using YXT = std::tuple<int32_t, int32_t, std::string>;
  const std::vector<YXT> headings = {
      {1350, 7300, "扫描"},     {1440, 1940, "接收频率"}, {1440, 3400, "接收"},
      {1440, 4500, "发射频率"}, {1440, 6060, "发射"},     {1440, 8210, "繁忙"},
      {1440, 9220, "发射 "},    {1530, 960, "信道"},      {1530, 7300, "删除"},
      {1530, 10200, "带宽 "},   {1620, 1940, "(MHz)"},    {1620, 3400, "CTC/DCS"},
      {1620, 4500, "(MHz)"},    {1620, 6060, "CTC/DCS"},  {1620, 8210, "锁定"},
      {1620, 9220, "功率 "},    {1710, 7300, "/添加"}};
  std::vector<YXT> got;
  for (int32_t y : {1350, 1440, 1530, 1620, 1710})
    for (const auto& [x, text] : Line(page, y)) got.emplace_back(y, x, text);
  EXPECT_EQ(got, headings);
  EXPECT_EQ(Xs(page, pos::kBodyY), kChannelColumns);
}

TEST(ReportLayout, RunsOfSwitchedOffChannelsGetOneNoteEach) {
  struct Case {
    const char* name;
    std::vector<int> off;  // 1-based
    std::vector<std::string> lines;
  };
  const std::vector<Case> cases = {
      {"3 to 5 before 6", {3, 4, 5}, Chs(1, 2) + Lines{" 信道3 ～ CH5 都为空。"} + Chs(6, 16)},
      {"first channel", {1}, Lines{" 信道1  为空。"} + Chs(2, 16)},
      {"run reaching 16", {14, 15, 16}, Chs(1, 13) + Lines{"信道14 ～ CH16 都为空。"}},
      {"channel 16 alone", {16}, Chs(1, 15) + Lines{"信道16为空。"}},
      {"all off",
       {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16},
       {"信道1 ～ CH16 都为空。"}},
      {"two runs",
       {2, 3, 9, 10, 11, 12, 13, 14, 15, 16},
       Chs(1, 1) + Lines{" 信道2 ～ CH3 都为空。"} + Chs(4, 8) + Lines{"信道9 ～ CH16 都为空。"}},
  };
  for (const Case& c : cases) {
    ChannelReportInput in = AllChannelsInUse();
    for (int n : c.off) in.rows[static_cast<size_t>(n - 1)].switchedOff = true;
    auto pages = LayoutChannelReport(kHeader, in);
    ASSERT_EQ(pages.size(), 1u) << c.name;
    EXPECT_EQ(BodyLineStarts(pages[0]), c.lines) << c.name;
  }
}

// A note stands alone at the note column; an inhibited transmit is printed as dashes, and the
// neighbours keep their texts.
TEST(ReportLayout, NoteLinesAndInhibitedTransmit) {
  ChannelReportInput in = AllChannelsInUse();
  for (int n : {3, 4, 5}) in.rows[static_cast<size_t>(n - 1)].switchedOff = true;
  in.rows[1].txInhibited = true;
  in.rows[1].cells[4] = "删除";
  in.rows[1].cells[7] = "窄带";
  const ReportPage page = LayoutChannelReport(kHeader, in)[0];
  const int32_t y = pos::kBodyY;
  EXPECT_EQ(Texts(page, y + pos::kBodyPitch),
            (Lines{"信道2", "136.20000", "CTC 67.0", "-------------", "------", "删除", "------",
                   "------", "窄带"}));
  EXPECT_EQ(Xs(page, y + pos::kBodyPitch), kChannelColumns);
  EXPECT_EQ(Line(page, y + 2 * pos::kBodyPitch),
            (std::vector<std::pair<int32_t, std::string>>{{950, " 信道3 ～ CH5 都为空。"}}));
  EXPECT_EQ(Texts(page, y)[3], "137.10000");
  EXPECT_EQ(Texts(page, y + 3 * pos::kBodyPitch),
            (Lines{"信道6", "136.60000", "CTC 67.0", "137.60000", "DCS 023", "添加", "关闭", "高",
                   "宽带"}));
}

// Sixteen channels give at most sixteen lines (every note stands for at least one channel), so
// no on/off pattern can reach the page break: check every pattern.
TEST(ReportLayout, EveryPatternOfSwitchedOffChannelsFitsOnePage) {
  ChannelReportInput in = AllChannelsInUse();
  size_t maxLines = 0;
  for (unsigned mask = 0; mask < (1u << kReportChannels); ++mask) {
    for (int i = 0; i < kReportChannels; ++i) {
      in.rows[static_cast<size_t>(i)].switchedOff = (mask >> i) & 1u;
    }
    const auto lines = ChannelBodyLines(in);
    maxLines = std::max(maxLines, lines.size());
    size_t rows = 0;
    for (const BodyLine& l : lines) rows += l.size() > 1 ? 1 : 0;
    ASSERT_EQ(rows, static_cast<size_t>(kReportChannels - std::popcount(mask))) << mask;
  }
  EXPECT_EQ(maxLines, 16u);  // alternating on and off
}

TEST(ReportLayout, BodyLinesBreakAfterThirtySixLines) {
  struct Case {
    int lines;
    size_t pages;
  };
  for (const Case c :
       {Case{1, 1}, Case{36, 1}, Case{37, 2}, Case{40, 2}, Case{72, 2}, Case{73, 3}}) {
    std::vector<BodyLine> lines;
    for (int i = 0; i < c.lines; ++i) lines.push_back({{960, LineLabel(i + 1)}});
    std::vector<ReportPage> pages(1);
    int started = 0;
    PlaceBodyLines(pages, lines, [&](ReportPage& p) {
      ++started;
      p.elements.push_back({ElementKind::Text, 0, 0, "HEAD", Align::Left, 0});
    });
    ASSERT_EQ(pages.size(), c.pages) << c.lines;
    EXPECT_EQ(started, static_cast<int>(c.pages) - 1) << c.lines;
    for (size_t p = 0; p < pages.size(); ++p) {
      const int firstLine = static_cast<int>(p) * 36 + 1;
      const int count = std::min(36, c.lines - static_cast<int>(p) * 36);
      const auto starts = BodyLineStarts(pages[p]);
      ASSERT_EQ(starts.size(), static_cast<size_t>(count)) << c.lines << " page " << p;
      EXPECT_EQ(starts.front(), LineLabel(firstLine));
      EXPECT_EQ(starts.back(), LineLabel(firstLine + count - 1));
      if (p > 0) {
        EXPECT_EQ(pages[p].elements.front().text, "HEAD");  // begun before its lines
      }
    }
  }
}

TEST(ReportLayout, ContinuationPagesRepeatHeaderAndHeadingsOnly) {
  // With a shorter page the channel report's own continuation pages show.
  ChannelReportInput in = AllChannelsInUse();
  in.rows[5].switchedOff = true;
  auto pages = LayoutChannelReport(kHeader, in, {}, 6);
  ASSERT_EQ(pages.size(), 3u);  // 15 rows and a note: 6, 6, 4
  auto firstPage = LayoutChannelReport(kHeader, in);
  for (size_t p = 1; p < pages.size(); ++p) {
    // The page header, but no title and no model line.
    EXPECT_EQ(
        std::tuple(Find(pages[p], "NRV").has_value(), Find(pages[p], "QM830K编程软件").has_value(),
                   Find(pages[p], "信道设置").has_value(), TextsAt(pages[p], 900).size()),
        std::tuple(true, true, false, 0u));
    for (int32_t y : {1350, 1440, 1530, 1620, 1710}) {
      EXPECT_EQ(TextsAt(pages[p], y).size(), TextsAt(firstPage[0], y).size()) << y;
    }
  }
  EXPECT_EQ(BodyLineStarts(pages[0]).back(), " 信道6  为空。");
  EXPECT_EQ(BodyLineStarts(pages[1]).front(), "信道7");
  EXPECT_EQ(BodyLineStarts(pages[2]),
            (std::vector<std::string>{"信道13", "信道14", "信道15", "信道16"}));
}

TEST(ReportLayout, FunctionReportPairsTwoPerLine) {
  const PageGeometry g{12000, 16000};
  const FunctionReportInput in = SampleFunctions();
  auto pages = LayoutFunctionReport(kHeader, in, g);
  ASSERT_EQ(pages.size(), 1u);
  using XT = std::vector<std::pair<int32_t, std::string>>;
  EXPECT_EQ(Line(pages[0], 540), (XT{{(12000 - 3200) / 2, "整机功能"}}));
  EXPECT_EQ(TextsAt(pages[0], 900).size(), 4u);
  EXPECT_EQ(Line(pages[0], 1460), (XT{{800, "整机功能"}}));
  for (size_t line = 0; line < 8; ++line) {
    const FunctionPair &a = in.pairs[2 * line], &b = in.pairs[2 * line + 1];
    EXPECT_EQ(Line(pages[0], 1820 + 360 * static_cast<int32_t>(line)),
              (XT{{800, a.label}, {3000, a.text}, {5600, b.label}, {8000, b.text}}))
        << line;
  }
}

TuneReportInput SampleTune() {
  TuneReportInput in;
  in.model = {"机型:", "QM830K", "频率范围:", "136-174MHz"};
  for (int i = 0; i < kReportTuneChannels; ++i) {
    in.rows[static_cast<size_t>(i)].cells = {"150.00000", "6.25", "OFF",
                                             "151.00000", "5.00", "CTC 88.5"};
  }
  in.currentChannel = 2;
  in.itemValues = {11, 22, 33, 44, 55, 66, 77};
  return in;
}

TEST(ReportLayout, TuneReportRowsNotesAndItems) {
  TuneReportInput in = SampleTune();
  in.rows[2].switchedOff = true;
  in.rows[3].switchedOff = true;
  in.rows[5].switchedOff = true;
  in.rows[10].switchedOff = true;
  in.rows[1].txInhibited = true;
  auto pages = LayoutTuneReport(kHeader, in);
  ASSERT_EQ(pages.size(), 1u);
  EXPECT_TRUE(Find(pages[0], "NRV"));  // the first page is the report's, not a blank one
  EXPECT_EQ(Find(pages[0], "Tune Settings")->x, (PageGeometry{}.width - 13 * 150) / 2);
  EXPECT_EQ(BodyLineStarts(pages[0]),
            (std::vector<std::string>{"CH1", "CH2", "CH3 ～ CH4 are empty.", "CH5", "CH6 is empty.",
                                      "CH7", "CH8", "CH9", "CH10", "CH11 is empty.",
                                      "CH 2 is the current channel of tuning.", "Tune Items",
                                      "Battery Level: 11", "Squelch Level 3: 33",
                                      "CTC Deviation(Wide): 44", "CTC Deviation(Narrow): 66"}));
  const int32_t ch2 = pos::kBodyY + pos::kBodyPitch;
  EXPECT_EQ(Texts(pages[0], ch2),
            (Lines{"CH2", "150.00000", "6.25", "OFF", "----------", "------", "------"}));
  EXPECT_EQ(Xs(pages[0], ch2), (std::vector<int32_t>{960, 1800, 3060, 3920, 5080, 6440, 7260}));
  // Each label carries the value of the item it names.
  const std::vector<std::string> items = {"Squelch Level 9: 22", "DCS Deviation(Wide): 55",
                                          "DCS Deviation(Narrow): 77"};
  for (const std::string& t : items) {
    auto e = Find(pages[0], t);
    ASSERT_TRUE(e) << t;
    EXPECT_EQ(e->x, 5080);
  }
}

TEST(ReportLayout, TuneReportWithoutCurrentChannelLeavesTheLineOut) {
  TuneReportInput in = SampleTune();
  for (int c : {0, 12, -1}) {
    in.currentChannel = c;
    auto pages = LayoutTuneReport(kHeader, in);
    for (const ReportElement& e : pages[0].elements) {
      EXPECT_EQ(e.text.find("current channel"), std::string::npos) << c;
    }
  }
  TuneReportInput off = SampleTune();
  for (auto& r : off.rows) r.switchedOff = true;
  auto pages = LayoutTuneReport(kHeader, off);
  EXPECT_EQ(BodyLineStarts(pages[0]).front(), "CH1 ～ CH11 are empty.");
}

}  // namespace
}  // namespace qm::print
