#include "print/report_layout.h"

#include <string_view>

#include "base/text_util.h"
#include "base/tr.h"

namespace qm::print {
namespace {

struct Heading {
  int32_t x;
  int32_t y;
  const char* text;
};

}  // namespace

// The column headings have a wording of their own (kHeadingContext): they stand in narrow
// columns, some in pieces over several lines, and a piece may read like a cell text ("删除")
// that the rows below must show in the grid's wording.
namespace heading {

// Column headings of the channel report. Each sits at the left edge of its column, so a
// heading starts where the column's texts start; one-line headings sit level with the middle
// line of the three-line scan heading.
constexpr std::array<Heading, 17> kChannelHeadings = {{
    {pos::kChannelNameX, pos::kHeadingMidY, QM_TR("信道")},
    {pos::kChannelCellX[0], pos::kHeading1Y, QM_TR("接收频率")},
    {pos::kChannelCellX[0], pos::kHeading2Y, "(MHz)"},
    {pos::kChannelCellX[1], pos::kHeading1Y, QM_TR("接收")},
    {pos::kChannelCellX[1], pos::kHeading2Y, QM_TR("CTC/DCS")},
    {pos::kChannelCellX[2], pos::kHeading1Y, QM_TR("发射频率")},
    {pos::kChannelCellX[2], pos::kHeading2Y, "(MHz)"},
    {pos::kChannelCellX[3], pos::kHeading1Y, QM_TR("发射")},
    {pos::kChannelCellX[3], pos::kHeading2Y, QM_TR("CTC/DCS")},
    {pos::kChannelCellX[4], pos::kScanHeadingY[0], QM_TR("扫描")},
    {pos::kChannelCellX[4], pos::kScanHeadingY[1], QM_TR("删除")},
    {pos::kChannelCellX[4], pos::kScanHeadingY[2], QM_TR("/添加")},
    {pos::kChannelCellX[5], pos::kHeading1Y, QM_TR("繁忙")},
    {pos::kChannelCellX[5], pos::kHeading2Y, QM_TR("锁定")},
    {pos::kChannelCellX[6], pos::kHeading1Y, QM_TR("发射 ")},
    {pos::kChannelCellX[6], pos::kHeading2Y, QM_TR("功率 ")},
    {pos::kChannelCellX[7], pos::kHeadingMidY, QM_TR("带宽 ")},
}};

}  // namespace heading

namespace {

using heading::kChannelHeadings;

constexpr std::array<Heading, 11> kTuneHeadings = {{
    {pos::kChannelNameX, pos::kHeadingMidY, "CH No."},
    {pos::kTuneCellX[0], pos::kHeading1Y, "Rx Freq"},
    {pos::kTuneCellX[0], pos::kHeading2Y, "(MHz)"},
    {pos::kTuneCellX[1], pos::kHeadingMidY, "Rx Step"},
    {pos::kTuneCellX[2], pos::kHeading1Y, "Rx "},
    {pos::kTuneCellX[2], pos::kHeading2Y, "CTC/DCS "},
    {pos::kTuneCellX[3], pos::kHeading1Y, "Tx Freq"},
    {pos::kTuneCellX[3], pos::kHeading2Y, "(MHz)"},
    {pos::kTuneCellX[4], pos::kHeadingMidY, "Tx Step"},
    {pos::kTuneCellX[5], pos::kHeading1Y, "Tx"},
    {pos::kTuneCellX[5], pos::kHeading2Y, "CTC/DCS"},
}};

// The tune item lines, two items a line. Each label is paired with the value of the item it
// names (the item codes order CTC before DCS, the report lists DCS first).
struct TuneItemLabel {
  const char* label;
  int itemIndex;
};
constexpr std::array<TuneItemLabel, kTuneItems> kTuneItemLabels = {{
    {"Battery Level: ", 0},
    {"Squelch Level 9: ", 1},
    {"Squelch Level 3: ", 2},
    {"DCS Deviation(Wide): ", 4},
    {"CTC Deviation(Wide): ", 3},
    {"DCS Deviation(Narrow): ", 6},
    {"CTC Deviation(Narrow): ", 5},
}};

void AddText(ReportPage& page, int32_t x, int32_t y, std::string text, Align align = Align::Left) {
  page.elements.push_back(ReportElement{ElementKind::Text, x, y, std::move(text), align, 0});
}

template <size_t N>
void AddHeadings(ReportPage& page, const std::array<Heading, N>& headings) {
  for (const Heading& h : headings)
    page.elements.push_back(ReportElement{ElementKind::Heading, h.x, h.y, h.text, Align::Left, 0});
}

void AddTitle(ReportPage& page, const std::string& title, int32_t estimatedWidth,
              const PageGeometry& geometry) {
  AddText(page, CentredX(estimatedWidth, geometry), pos::kTitleY, title);
}

void AddModelLine(ReportPage& page, const ModelLineInput& m) {
  AddText(page, pos::kModelLineX[0], pos::kModelLineY, m.modelCaption);
  AddText(page, pos::kModelLineX[1], pos::kModelLineY, m.modelValue);
  AddText(page, pos::kModelLineX[2], pos::kModelLineY, m.bandCaption);
  AddText(page, pos::kModelLineX[3], pos::kModelLineY, m.bandValue);
}

// Gathers runs of switched-off channels: calls `row` for each channel in use and `note` for
// each run, before the channel that ends it or at the end of the table.
template <typename Row, typename OffFn, typename RowFn, typename NoteFn>
void WalkRuns(const Row& rows, OffFn isOff, RowFn row, NoteFn note) {
  const int count = static_cast<int>(rows.size());
  int runStart = 0;  // 1-based first channel of the current run, 0 when none
  for (int n = 1; n <= count; ++n) {
    if (isOff(rows[static_cast<size_t>(n - 1)])) {
      if (runStart == 0) runStart = n;
      continue;
    }
    if (runStart != 0) note(runStart, n - 1, false);
    runStart = 0;
    row(n);
  }
  if (runStart != 0) note(runStart, count, true);
}

// The body of a channel table: a line per channel in use (its name, then its cells at cellX;
// a transmit-inhibited row's transmit cells as the dashes dashOf(cell) gives), a note per run
// of switched-off channels.
template <class Rows, class Xs, class NameFn, class DashFn, class NoteFn>
std::vector<BodyLine> RowLines(const Rows& rows, const Xs& cellX, NameFn name, DashFn dashOf,
                               NoteFn note) {
  using Row = typename Rows::value_type;
  std::vector<BodyLine> lines;
  WalkRuns(
      rows, [](const Row& r) { return r.switchedOff; },
      [&](int n) {
        const Row& r = rows[static_cast<size_t>(n - 1)];
        BodyLine line;
        line.push_back({pos::kChannelNameX, name(n)});
        for (size_t c = 0; c < r.cells.size(); ++c) {
          const char* dashes = r.txInhibited ? dashOf(c) : nullptr;
          line.push_back({cellX[c], dashes ? std::string(dashes) : r.cells[c]});
        }
        lines.push_back(std::move(line));
      },
      [&](int first, int last, bool reachesEnd) {
        lines.push_back({{pos::kNoteX, note(first, last, reachesEnd)}});
      });
  return lines;
}

}  // namespace

int32_t EstimatedTitleWidth(const std::string& utf8Text) {
  return static_cast<int32_t>(Utf8Length(utf8Text)) * pos::kCharWidthEstimate;
}

int32_t CentredX(int32_t estimatedWidth, const PageGeometry& geometry) {
  const int32_t x = (geometry.width - estimatedWidth) / 2;
  return x < 0 ? 0 : x;
}

void AddPageHeader(ReportPage& page, const PageHeaderInput& header, const PageGeometry& geometry) {
  AddText(page, pos::kHeaderX, pos::kHeaderY, header.maker);
  // The title ends as far from the right edge as the maker's name starts from the left one.
  AddText(page, geometry.width - pos::kHeaderX, pos::kHeaderY, header.softwareTitle, Align::Right);
  page.elements.push_back(ReportElement{ElementKind::Rule,
                                        pos::kHeaderX,
                                        pos::kHeaderRuleY,
                                        {},
                                        Align::Left,
                                        geometry.width - pos::kHeaderX});
}

void PlaceBodyLines(std::vector<ReportPage>& pages, const std::vector<BodyLine>& lines,
                    const std::function<void(ReportPage&)>& startPage, int linesPerPage) {
  if (linesPerPage < 1) linesPerPage = 1;
  if (pages.empty() && !lines.empty()) {
    pages.emplace_back();
    startPage(pages.back());
  }
  int line = 0;
  for (const BodyLine& body : lines) {
    if (line == linesPerPage) {
      pages.emplace_back();
      startPage(pages.back());
      line = 0;
    }
    const int32_t y = pos::kBodyY + pos::kBodyPitch * line;
    for (const BodyCell& cell : body) AddText(pages.back(), cell.x, y, cell.text);
    ++line;
  }
}

std::string EmptyChannelsNote(int first, int last, bool reachesEnd) {
  const std::string a = std::to_string(first);
  if (first == last)
    return reachesEnd ? Fill(QM_TR("信道%1为空。"), {a}) : Fill(QM_TR(" 信道%1  为空。"), {a});
  const std::string range = Fill(QM_TR("信道%1 ～ CH%2 都为空。"), {a, std::to_string(last)});
  return reachesEnd ? range : " " + range;
}

std::string EmptyTuneChannelsNote(int first, int last) {
  if (first == last) return Fill(QM_TR("CH%1 is empty."), {std::to_string(first)});
  return Fill(QM_TR("CH%1 ～ CH%2 are empty."), {std::to_string(first), std::to_string(last)});
}

namespace {

// A table report: the first page with the header, the title, the model line and the column
// headings, then the body lines, each further page beginning with the header and headings.
template <size_t N>
std::vector<ReportPage> TableReport(const PageHeaderInput& header, const std::string& title,
                                    const ModelLineInput& model,
                                    const std::array<Heading, N>& headings,
                                    const std::vector<BodyLine>& lines,
                                    const PageGeometry& geometry, int linesPerPage) {
  std::vector<ReportPage> pages(1);
  ReportPage& first = pages.front();
  AddPageHeader(first, header, geometry);
  AddTitle(first, title, EstimatedTitleWidth(title), geometry);
  AddModelLine(first, model);
  AddHeadings(first, headings);
  PlaceBodyLines(
      pages, lines,
      [&](ReportPage& page) {
        AddPageHeader(page, header, geometry);
        AddHeadings(page, headings);
      },
      linesPerPage);
  return pages;
}

}  // namespace

std::vector<BodyLine> ChannelBodyLines(const ChannelReportInput& input) {
  return RowLines(
      input.rows, pos::kChannelCellX,
      [](int n) { return Fill(QM_TR("信道%1"), {std::to_string(n)}); },
      [](size_t c) -> const char* {
        if (c == 2) return kTxFreqDashes;
        return c == 3 || c == 5 || c == 6 ? kTxCellDashes : nullptr;
      },
      EmptyChannelsNote);
}

std::vector<ReportPage> LayoutChannelReport(const PageHeaderInput& header,
                                            const ChannelReportInput& input,
                                            const PageGeometry& geometry, int linesPerPage) {
  return TableReport(header, input.title, input.model, kChannelHeadings, ChannelBodyLines(input),
                     geometry, linesPerPage);
}

std::vector<ReportPage> LayoutFunctionReport(const PageHeaderInput& header,
                                             const FunctionReportInput& input,
                                             const PageGeometry& geometry) {
  std::vector<ReportPage> pages(1);
  ReportPage& page = pages.front();
  AddPageHeader(page, header, geometry);
  AddTitle(page, input.title, pos::kFunctionTitleWidth, geometry);
  AddModelLine(page, input.model);
  AddText(page, pos::kFunctionCaptionX, pos::kFunctionCaptionY, input.title);
  for (int line = 0; line < kFunctionPairs / 2; ++line) {
    // The first pair line keeps the pitch of the lines below it from the caption above it.
    const int32_t y = pos::kFunctionFirstLineY + pos::kFunctionPitch * line;
    const FunctionPair& left = input.pairs[static_cast<size_t>(2 * line)];
    const FunctionPair& right = input.pairs[static_cast<size_t>(2 * line + 1)];
    AddText(page, pos::kFunctionX[0], y, left.label);
    AddText(page, pos::kFunctionX[1], y, left.text);
    AddText(page, pos::kFunctionX[2], y, right.label);
    AddText(page, pos::kFunctionX[3], y, right.text);
  }
  return pages;
}

std::vector<ReportPage> LayoutTuneReport(const PageHeaderInput& header,
                                         const TuneReportInput& input,
                                         const PageGeometry& geometry) {
  std::vector<BodyLine> lines = RowLines(
      input.rows, pos::kTuneCellX, [](int n) { return "CH" + std::to_string(n); },
      [](size_t c) -> const char* {
        if (c == 3) return kTuneTxFreqDashes;
        return c > 3 ? kTxCellDashes : nullptr;
      },
      [](int first, int last, bool) { return EmptyTuneChannelsNote(first, last); });
  if (input.currentChannel >= 1 && input.currentChannel <= kReportTuneChannels) {
    lines.push_back({{pos::kNoteX, "CH " + std::to_string(input.currentChannel) +
                                       " is the current channel of tuning."}});
  }
  lines.push_back({});
  lines.push_back({{pos::kNoteX, "Tune Items"}});
  for (size_t i = 0; i < kTuneItemLabels.size(); i += 2) {
    BodyLine line;
    for (size_t j = i; j < i + 2 && j < kTuneItemLabels.size(); ++j) {
      const TuneItemLabel& item = kTuneItemLabels[j];
      const int value = input.itemValues[static_cast<size_t>(item.itemIndex)];
      line.push_back({j == i ? pos::kChannelNameX : pos::kTuneItemSecondX,
                      item.label + std::to_string(value)});
    }
    lines.push_back(std::move(line));
  }

  // The tune view's document begins with this report's own page; nothing blank comes first.
  return TableReport(header, input.title, input.model, kTuneHeadings, lines, geometry,
                     pos::kLinesPerPage);
}

std::vector<ReportPage> LayoutChannelAndFunctionReports(const PageHeaderInput& header,
                                                        const ChannelReportInput& channels,
                                                        const FunctionReportInput& functions,
                                                        const PageGeometry& geometry) {
  std::vector<ReportPage> pages = LayoutChannelReport(header, channels, geometry);
  for (ReportPage& page : LayoutFunctionReport(header, functions, geometry)) {
    pages.push_back(std::move(page));
  }
  return pages;
}

}  // namespace qm::print
