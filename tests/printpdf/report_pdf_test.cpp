#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cmath>
#include <string>
#include <vector>

#include "print/report_layout.h"
#include "ui/report_painter.h"

namespace qm {
namespace {

using print::ChannelReportInput;
using print::FunctionReportInput;
using print::TuneReportInput;

const print::PageHeaderInput kHeader{"NRV", "QM830K编程软件"};

ChannelReportInput SampleChannels() {
  ChannelReportInput in;
  in.model = {"机型:", "QM830K", "频率范围:", "136-174MHz"};
  for (int i = 0; i < print::kReportChannels; ++i) {
    auto& r = in.rows[static_cast<size_t>(i)];
    char rx[16];
    std::snprintf(rx, sizeof rx, "%03d.%05d", 136 + i, 12500);
    r.cells = {rx, "CTC 67.0", rx, "DCS 023", i % 2 ? "删除" : "添加", "关闭", "高", "宽带"};
  }
  for (int n : {3, 4, 5, 16}) in.rows[static_cast<size_t>(n - 1)].switchedOff = true;
  in.rows[6].txInhibited = true;
  return in;
}

FunctionReportInput SampleFunctions() {
  FunctionReportInput in;
  in.model = {"机型:", "QM830K", "频率范围:", "136-174MHz"};
  const std::array<const char*, print::kFunctionPairs> texts = {
      "60秒", "打开",     "5秒",  "5",     "关闭",  "关闭",           "关闭",  "打开",
      "宽带", "优先信道", "载波", "2.5秒", "信道3", "稳态无条件监听", "1.0秒", "长按[MONI]键"};
  for (size_t i = 0; i < in.pairs.size(); ++i) {
    in.pairs[i] = {print::kFunctionReportLabels[i], texts[i]};
  }
  return in;
}

class ReportPdf : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
  QString path(const char* name) const { return dir_.filePath(QString::fromUtf8(name)); }
  QTemporaryDir dir_;
};

struct Word {
  double x = 0, y = 0, x2 = 0;  // points
  QString text;
};

// The words of each page with their boxes, as pdftotext -bbox gives them.
std::vector<std::vector<Word>> ReadWords(const QString& pdf) {
  std::vector<std::vector<Word>> pages;
  QProcess p;
  p.start(QStringLiteral(QM_PDFTOTEXT), {"-bbox", "-enc", "UTF-8", pdf, "-"});
  if (!p.waitForFinished(30000) || p.exitCode() != 0) return pages;
  const QString html = QString::fromUtf8(p.readAllStandardOutput());
  static const QRegularExpression kWord(
      R"re(<page |<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="[\d.]+">([^<]*)</word>)re");
  for (auto it = kWord.globalMatch(html); it.hasNext();) {
    const auto m = it.next();
    if (m.captured(0).startsWith(QStringLiteral("<page"))) {
      pages.emplace_back();
      continue;
    }
    if (pages.empty()) continue;
    pages.back().push_back({m.captured(1).toDouble(), m.captured(2).toDouble(),
                            m.captured(3).toDouble(), m.captured(4)});
  }
  return pages;
}

const Word* FindWord(const std::vector<Word>& words, const QString& text, int nth = 0) {
  for (const Word& w : words) {
    if (w.text == text && nth-- == 0) return &w;
  }
  return nullptr;
}

// The page's left or top margin (5 mm) and a twips position, both in points.
constexpr double kMarginPt = 5.0 / 25.4 * 72.0;
double Pt(int32_t twips) { return kMarginPt + twips / 20.0; }

TEST_F(ReportPdf, TextsLandAtTheirTwipsPositions) {
  auto pages = print::LayoutChannelAndFunctionReports(kHeader, SampleChannels(), SampleFunctions());
  ASSERT_TRUE(ui::PrintReportsToPdf(pages, path("pos.pdf")));
  const auto words = ReadWords(path("pos.pdf"));
  ASSERT_EQ(words.size(), 2u);
  const double tol = 0.6;  // points; the glyph box's top differs a little from the line's top
  const Word* nrv = FindWord(words[0], "NRV");
  ASSERT_TRUE(nrv);
  EXPECT_NEAR(nrv->x, Pt(240), tol);
  EXPECT_NEAR(nrv->y, Pt(140), tol);
  const Word* title = FindWord(words[0], "QM830K编程软件");
  ASSERT_TRUE(title);
  EXPECT_NEAR(title->x2, Pt(print::PageGeometry{}.width - 240), tol);
  EXPECT_NEAR(title->y, nrv->y, 0.01);

  // Row 信道1 and the row of 信道6, the fourth body line, after the note of 3 to 5.
  const std::vector<std::pair<QString, int32_t>> row1 = {
      {"信道1", 960}, {"136.12500", 1940}, {"CTC", 3400}, {"DCS", 6060},
      {"添加", 7300}, {"关闭", 8210},      {"高", 9220},  {"宽带", 10200}};
  const Word* first = FindWord(words[0], "信道1");
  ASSERT_TRUE(first);
  EXPECT_NEAR(first->y, Pt(1995), tol);
  for (const auto& [text, x] : row1) {
    const Word* w = nullptr;
    for (const Word& c : words[0]) {
      if (c.text == text && std::abs(c.y - first->y) < 0.01) {
        w = &c;  // the leftmost: receive and transmit frequency are the same text here
        break;
      }
    }
    ASSERT_TRUE(w) << text.toStdString();
    EXPECT_NEAR(w->x, Pt(x), tol) << text.toStdString();
  }
  const Word* six = FindWord(words[0], "信道6");
  ASSERT_TRUE(six);
  EXPECT_NEAR(six->y, Pt(1995 + 3 * 380), tol);
  const Word* note = FindWord(words[0], "信道3");
  ASSERT_TRUE(note);
  EXPECT_NEAR(note->y, Pt(1995 + 2 * 380), tol);

  // Each heading starts at its column's left edge.
  const std::vector<std::pair<QString, int32_t>> headings = {
      {"接收频率", 1940}, {"发射频率", 4500}, {"扫描", 7300}, {"繁忙", 8210}, {"带宽", 10200}};
  for (const auto& [text, x] : headings) {
    const Word* w = FindWord(words[0], text);
    ASSERT_TRUE(w) << text.toStdString();
    EXPECT_NEAR(w->x, Pt(x), tol) << text.toStdString();
    EXPECT_LT(w->y, first->y);
  }

  const Word* beep = FindWord(words[1], "提示音");
  ASSERT_TRUE(beep);
  EXPECT_NEAR(beep->x, Pt(5600), tol);
  EXPECT_NEAR(beep->y, Pt(1820), tol);
  const Word* caption = FindWord(words[1], "整机功能", 1);
  ASSERT_TRUE(caption);
  EXPECT_NEAR(caption->x, Pt(800), tol);
  EXPECT_NEAR(caption->y, Pt(1460), tol);
}

TEST_F(ReportPdf, LayoutFollowsThePrintersPrintableArea) {
  // US Letter with 0.5 inch margins: 7.5 inches (10800 twips) of printable width.
  QPrinter printer(QPrinter::HighResolution);
  ui::ConfigurePdfPrinter(printer, path("letter.pdf"));
  printer.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                                    QMarginsF(0.5, 0.5, 0.5, 0.5), QPageLayout::Inch));
  const print::PageGeometry g = ui::PrintableGeometry(printer);
  EXPECT_NEAR(g.width, 10800, 2);
  EXPECT_NEAR(g.height, 14400, 2);
  ASSERT_TRUE(ui::PrintReports(printer, [](const print::PageGeometry& geometry) {
    return print::LayoutTuneReport(kHeader, TuneReportInput{}, geometry);
  }));
  const auto words = ReadWords(path("letter.pdf"));
  ASSERT_EQ(words.size(), 1u);
  const Word* title = FindWord(words[0], "QM830K编程软件");
  ASSERT_TRUE(title);
  EXPECT_NEAR(title->x2, 36.0 + (10800 - 240) / 20.0, 0.6);  // half-inch margin, in points
  const Word* tune = FindWord(words[0], "Tune");
  ASSERT_TRUE(tune);
  EXPECT_NEAR(tune->x, 36.0 + (10800 - 13 * 150) / 2 / 20.0, 0.6);
}

TEST_F(ReportPdf, UnwritableTargetIsReportedAsFailure) {
  auto pages = print::LayoutTuneReport(kHeader, TuneReportInput{});
  EXPECT_FALSE(ui::PrintReportsToPdf(pages, path("no/such/dir/out.pdf")));
  EXPECT_FALSE(QFile::exists(path("no/such/dir/out.pdf")));
}

}  // namespace
}  // namespace qm
