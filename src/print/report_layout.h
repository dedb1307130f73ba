// The printed reports as pages of positioned texts and rules, in twips (1/1440 inch) from the
// top left corner of the printable area. The layout takes the texts the editors show (grid
// cells, list texts, label captions), so paper always matches the screen; painting the pages
// on a printer is someone else's job (ui/report_painter.h).
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/tr.h"

namespace qm::print {

inline constexpr int32_t kTwipsPerInch = 1440;

// A heading is a text in the report's own wording (kHeadingContext), a text any other.
enum class ElementKind { Text, Heading, Rule };

// The translation context of the column headings' wording.
inline constexpr const char* kHeadingContext = "qm::print::heading";

// How a text hangs on its x: by its left edge, or by its right edge (for texts that end at the
// right margin, whose width only the painter's font knows).
enum class Align { Left, Right };

struct ReportElement {
  ElementKind kind = ElementKind::Text;
  int32_t x = 0;     // Text: left (or right) edge; Rule: left end
  int32_t y = 0;     // Text: top; Rule: height of the line
  std::string text;  // UTF-8; empty for a rule
  Align align = Align::Left;
  int32_t x2 = 0;  // Rule: right end

  bool operator==(const ReportElement&) const = default;
};

struct ReportPage {
  std::vector<ReportElement> elements;
};

// The printable area of one page.
struct PageGeometry {
  int32_t width = 11338;   // A4 less 5 mm on each side
  int32_t height = 16271;  // A4 less 5 mm above and below
};

// Fixed positions of the reports.
namespace pos {
inline constexpr int32_t kHeaderX = 240;
inline constexpr int32_t kHeaderY = 140;
inline constexpr int32_t kHeaderRuleY = 380;
inline constexpr int32_t kTitleY = 540;
inline constexpr int32_t kModelLineY = 900;
inline constexpr std::array<int32_t, 4> kModelLineX = {2200, 3000, 5200, 7000};
inline constexpr int32_t kHeading1Y = 1440;
inline constexpr int32_t kHeading2Y = 1620;
inline constexpr int32_t kHeadingMidY =
    1530;  // one-line headings, level with the scan column's middle line
inline constexpr std::array<int32_t, 3> kScanHeadingY = {1350, 1530, 1710};
inline constexpr int32_t kBodyY = 1995;
inline constexpr int32_t kBodyPitch = 380;
inline constexpr int kLinesPerPage = 36;
inline constexpr int32_t kNoteX = 950;
inline constexpr int32_t kChannelNameX = 960;
// Receive frequency, receive signalling, transmit frequency, transmit signalling, scan,
// busy lock, transmit power, bandwidth.
inline constexpr std::array<int32_t, 8> kChannelCellX = {1940, 3400, 4500, 6060,
                                                         7300, 8210, 9220, 10200};
inline constexpr int32_t kCharWidthEstimate = 150;  // per character, for centring titles
inline constexpr int32_t kFunctionTitleWidth = 3200;
inline constexpr int32_t kFunctionCaptionX = 800;
inline constexpr int32_t kFunctionCaptionY = 1460;
inline constexpr int32_t kFunctionFirstLineY = 1820;
inline constexpr int32_t kFunctionPitch = 360;
inline constexpr std::array<int32_t, 4> kFunctionX = {800, 3000, 5600, 8000};
// Receive frequency, receive step, receive signalling, transmit frequency, transmit step,
// transmit signalling.
inline constexpr std::array<int32_t, 6> kTuneCellX = {1800, 3060, 3920, 5080, 6440, 7260};
inline constexpr int32_t kTuneItemSecondX = 5080;
}  // namespace pos

inline constexpr const char* kTxFreqDashes = "-------------";
inline constexpr const char* kTxCellDashes = "------";
inline constexpr const char* kTuneTxFreqDashes = "----------";

struct PageHeaderInput {
  std::string maker = "NRV";
  std::string softwareTitle;  // printed at the right end of the header line
};

// The model line under a report's title: two captions, each followed by its value.
struct ModelLineInput {
  std::string modelCaption = QM_TR("机型:");
  std::string modelValue;
  std::string bandCaption = QM_TR("频率范围:");
  std::string bandValue;
};

inline constexpr int kReportChannels = 16;
inline constexpr int kReportTuneChannels = 11;
inline constexpr int kFunctionPairs = 16;
inline constexpr int kTuneItems = 7;

struct ChannelReportRow {
  bool switchedOff = false;  // the row's "关闭" box is ticked
  bool txInhibited = false;  // the row's "禁发" box is ticked
  // The grid's cells 1-8: receive frequency, receive signalling, transmit frequency,
  // transmit signalling, scan, busy lock, transmit power, bandwidth.
  std::array<std::string, 8> cells;
};

struct ChannelReportInput {
  std::string title = QM_TR("信道设置");  // the caption of the channel panel
  ModelLineInput model;
  std::array<ChannelReportRow, kReportChannels> rows;
};

struct FunctionPair {
  std::string label;  // the caption of the setting's label
  std::string text;   // what the setting's list shows
};

// The report's order: line by line, the left pair and then the right pair.
inline constexpr std::array<const char*, kFunctionPairs> kFunctionReportLabels = {
    QM_TR("发射限时"),      QM_TR("提示音"),   QM_TR("预告警时间"),  QM_TR("静噪等级"),
    QM_TR("TOT再按键时间"), QM_TR("手动模式"), QM_TR("TOT复位时间"), QM_TR("省电功能"),
    QM_TR("带宽"),          QM_TR("恢复信道"), QM_TR("扫描模式"),    QM_TR("扫描停留时间"),
    QM_TR("优先信道"),      QM_TR("监听"),     QM_TR("回扫周期"),    QM_TR("功率选择")};

struct FunctionReportInput {
  std::string title = QM_TR("整机功能");  // the caption of the function panel
  ModelLineInput model;
  std::array<FunctionPair, kFunctionPairs> pairs;
};

struct TuneReportRow {
  bool switchedOff = false;
  bool txInhibited = false;
  // The tune grid's cells 1-6: receive frequency, receive step, receive signalling,
  // transmit frequency, transmit step, transmit signalling.
  std::array<std::string, 6> cells;
};

struct TuneReportInput {
  std::string title = "Tune Settings";
  ModelLineInput model;
  std::array<TuneReportRow, kReportTuneChannels> rows;
  int currentChannel = 0;  // 1-11; anything else prints no current-channel line
  // The seven tune item values by item code - 1: battery level, squelch 9, squelch 3,
  // CTC wide, DCS wide, CTC narrow, DCS narrow.
  std::array<int, kTuneItems> itemValues{};
};

// One line of a report's body: texts at their x, at the line's height.
struct BodyCell {
  int32_t x = 0;
  std::string text;
};
using BodyLine = std::vector<BodyCell>;

// Page header: maker at the left, software title at the right end, rule under both.
void AddPageHeader(ReportPage& page, const PageHeaderInput& header, const PageGeometry& geometry);

// The left edge of a title centred on the page for an estimated width.
int32_t CentredX(int32_t estimatedWidth, const PageGeometry& geometry);
// The estimated width of a title: 150 twips per character.
int32_t EstimatedTitleWidth(const std::string& utf8Text);

// Places body lines one pitch apart from the body's first height, starting a new page after
// every `linesPerPage` lines. The last page of `pages` receives the first line; each new page
// is begun by `startPage` (page header, headings) before its lines. A page is only started
// when a line is left to print, so no empty trailing page appears.
void PlaceBodyLines(std::vector<ReportPage>& pages, const std::vector<BodyLine>& lines,
                    const std::function<void(ReportPage&)>& startPage,
                    int linesPerPage = pos::kLinesPerPage);

// The body lines of the channel report: a row per channel in use and a note for each run of
// switched-off channels.
std::vector<BodyLine> ChannelBodyLines(const ChannelReportInput& input);
// The note of a run of switched-off channels `first`..`last` (1-based).
std::string EmptyChannelsNote(int first, int last, bool reachesEnd);
std::string EmptyTuneChannelsNote(int first, int last);

// `linesPerPage` is the page-break rule; sixteen channels never reach it (tests shorten it).
std::vector<ReportPage> LayoutChannelReport(const PageHeaderInput& header,
                                            const ChannelReportInput& input,
                                            const PageGeometry& geometry = {},
                                            int linesPerPage = pos::kLinesPerPage);
std::vector<ReportPage> LayoutFunctionReport(const PageHeaderInput& header,
                                             const FunctionReportInput& input,
                                             const PageGeometry& geometry = {});
std::vector<ReportPage> LayoutTuneReport(const PageHeaderInput& header,
                                         const TuneReportInput& input,
                                         const PageGeometry& geometry = {});

// What the channel and function views print: the channel report, then the function report on
// a page of its own.
std::vector<ReportPage> LayoutChannelAndFunctionReports(const PageHeaderInput& header,
                                                        const ChannelReportInput& channels,
                                                        const FunctionReportInput& functions,
                                                        const PageGeometry& geometry = {});

}  // namespace qm::print
