#include "ui/report_painter.h"

#include <QFontMetrics>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPen>
#include <QPrinter>
#include <algorithm>

#include "base/tr.h"
#include "platform/translation.h"

namespace qm::ui {
namespace {

// Twips to device pixels at `dpi`, rounded to the nearest pixel.
int ToDevice(int32_t twips, int dpi) {
  const int64_t num = static_cast<int64_t>(twips) * dpi;
  return static_cast<int>(
      (num >= 0 ? num + print::kTwipsPerInch / 2 : num - print::kTwipsPerInch / 2) /
      print::kTwipsPerInch);
}

void PaintPage(QPainter& painter, const print::ReportPage& page, int dpiX, int dpiY) {
  const QFontMetrics metrics(painter.font(), painter.device());
  for (const print::ReportElement& e : page.elements) {
    if (e.kind == print::ElementKind::Rule) {
      const int y = ToDevice(e.y, dpiY);
      painter.drawLine(ToDevice(e.x, dpiX), y, ToDevice(e.x2, dpiX), y);
      continue;
    }
    // The report's own wording first: its headings sit in narrow fixed columns.
    const QString text = TrCore(
        e.text, e.kind == print::ElementKind::Heading ? print::kHeadingContext : "qm::print");
    int x = ToDevice(e.x, dpiX);
    if (e.align == print::Align::Right) x -= metrics.horizontalAdvance(text);
    // Positions give the top of the text; drawText wants the baseline.
    painter.drawText(x, ToDevice(e.y, dpiY) + metrics.ascent(), text);
  }
}

}  // namespace

QFont ReportFont() {
  QFont font(QStringLiteral(QM_NOTR("宋体")));
  font.setFamilies({QStringLiteral(QM_NOTR("宋体")), QStringLiteral("SimSun"),
                    QStringLiteral("NSimSun"), QStringLiteral("WenQuanYi Micro Hei"),
                    QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Droid Sans Fallback")});
  font.setPointSize(8);
  return font;
}

print::PageGeometry PrintableGeometry(const QPrinter& printer) {
  const QRectF inches = printer.pageLayout().paintRect(QPageLayout::Inch);
  print::PageGeometry g;
  g.width = static_cast<int32_t>(inches.width() * print::kTwipsPerInch);
  g.height = static_cast<int32_t>(inches.height() * print::kTwipsPerInch);
  return g;
}

void ConfigurePdfPrinter(QPrinter& printer, const QString& path) {
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(path);
  printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                    QMarginsF(5, 5, 5, 5), QPageLayout::Millimeter));
}

bool PrintReports(const std::vector<print::ReportPage>& pages, QPrinter& printer) {
  if (pages.empty()) return true;
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  painter.setFont(ReportFont());
  const int dpiX = printer.logicalDpiX();
  const int dpiY = printer.logicalDpiY();
  // A hairline would vanish on a 1200 dpi device; half a point is what a ruler pen draws.
  painter.setPen(QPen(Qt::black, std::max(1, dpiY / 144)));
  for (size_t i = 0; i < pages.size(); ++i) {
    if (i > 0 && !printer.newPage()) {
      painter.end();
      return false;
    }
    PaintPage(painter, pages[i], dpiX, dpiY);
  }
  return painter.end();
}

bool PrintReports(
    QPrinter& printer,
    const std::function<std::vector<print::ReportPage>(const print::PageGeometry&)>& layout) {
  return PrintReports(layout(PrintableGeometry(printer)), printer);
}

bool PrintReportsToPdf(const std::vector<print::ReportPage>& pages, const QString& path) {
  QPrinter printer(QPrinter::HighResolution);
  ConfigurePdfPrinter(printer, path);
  return PrintReports(pages, printer);
}

}  // namespace qm::ui
