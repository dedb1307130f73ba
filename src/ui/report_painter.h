// Paints laid-out report pages (print/report_layout.h) on a printer: twips mapped to the
// printer's resolution, every text in the report font.
#pragma once

#include <QFont>
#include <QString>
#include <functional>
#include <vector>

#include "print/report_layout.h"

class QPrinter;

namespace qm::ui {

// "宋体" 8 pt, falling back to the system's CJK faces where that face is missing.
QFont ReportFont();

// The printable area of the printer's current page, in twips.
print::PageGeometry PrintableGeometry(const QPrinter& printer);

// A4 portrait with 5 mm margins (the default PageGeometry), PDF output to `path`.
void ConfigurePdfPrinter(QPrinter& printer, const QString& path);

// Paints the pages on the printer as one document. Returns false when the printer cannot be
// painted on or a page cannot be started; nothing is reported to the user.
bool PrintReports(const std::vector<print::ReportPage>& pages, QPrinter& printer);

// Lays the pages out for the printer's printable area and paints them: what the print command
// runs once the printer dialog has been accepted.
bool PrintReports(
    QPrinter& printer,
    const std::function<std::vector<print::ReportPage>(const print::PageGeometry&)>& layout);

// Paints the pages into a PDF file at `path` (configured by ConfigurePdfPrinter).
bool PrintReportsToPdf(const std::vector<print::ReportPage>& pages, const QString& path);

}  // namespace qm::ui
