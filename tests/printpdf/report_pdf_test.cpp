#include <gtest/gtest.h>

#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "print/report_layout.h"
#include "print/report_samples.h"
#include "ui/report_painter.h"

namespace qm {
namespace {

using print::ChannelReportInput;
using print::TuneReportInput;

using test::kHeader;
using test::SampleFunctions;

// Channels 3 to 5 and 16 switched off, channel 7 transmit-inhibited.
ChannelReportInput SampleChannels() {
  ChannelReportInput in = test::AllChannelsInUse();
  for (int n : {3, 4, 5, 16}) in.rows[static_cast<size_t>(n - 1)].switchedOff = true;
  in.rows[6].txInhibited = true;
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
  struct Case {
    size_t page;
    const char* text;
    int nth;       // the first occurrence in reading order, or a later one
    int32_t x, y;  // x < 0: the note starts with a space, its x is not the column's
  };
  // The page header; row 信道1 across the page, the note of 3 to 5 and the row of 信道6 (the
  // fourth body line); headings on three lines; a function pair and the function caption. Every
  // column's place is the layout tests'; here the painter keeps the twips, left to right.
  const Case cases[] = {
      {0, "NRV", 0, 240, 140},
      {0, "信道1", 0, 960, 1995},
      {0, "136.10000", 0, 1940, 1995},
      {0, "DCS", 0, 6060, 1995},
      {0, "宽带", 0, 10200, 1995},
      {0, "信道3", 0, -1, 1995 + 2 * 380},
      {0, "信道6", 0, 960, 1995 + 3 * 380},
      {0, "扫描", 0, 7300, 1350},
      {0, "接收频率", 0, 1940, 1440},
      {0, "带宽", 0, 10200, 1530},
      {1, "提示音", 0, 5600, 1820},
      {1, "整机功能", 1, 800, 1460},
  };
  const double tol = 0.6;  // points; the glyph box's top differs a little from the line's top
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const Word* w = FindWord(words[c.page], QString::fromUtf8(c.text), c.nth);
    ASSERT_TRUE(w);
    if (c.x >= 0) {
      EXPECT_NEAR(w->x, Pt(c.x), tol);
    }
    EXPECT_NEAR(w->y, Pt(c.y), tol);
  }
  // The title ends at the right margin, on the maker's line.
  const Word* title = FindWord(words[0], "QM830K编程软件");
  ASSERT_TRUE(title);
  EXPECT_NEAR(title->x2, Pt(print::PageGeometry{}.width - 240), tol);
  EXPECT_NEAR(title->y, FindWord(words[0], "NRV")->y, 0.01);
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

}  // namespace
}  // namespace qm
