// Printing from the main window: the printer, a preview and a PDF file of the reports that
// the current view prints (channels and functions, or the tune channels in the tune view).
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <filesystem>

#include "base/file_dialogs.h"
#include "files/utf8_path.h"
#include "print/report_inputs.h"
#include "tune/tune_controller.h"
#include "ui/main_window.h"
#include "ui/qt_text.h"
#include "ui/report_painter.h"

namespace qm::ui {

namespace {

// The PDF export's save dialog: beside the data file, named after it.
FileDialogRequest ExportPdfRequest(const Document& doc) {
  FileDialogRequest r;
  r.title = QM_TR("导出PDF");
  r.initialDir = doc.fileDialogDir;
  if (!doc.curFileName.empty())
    r.initialName = PathToUtf8(PathFromUtf8(doc.curFileName).replace_extension(".pdf"));
  r.filters = {{"PDF Files (*.pdf)", "*.pdf"}};
  r.defaultExt = "pdf";
  r.pathMustExist = true;
  r.overwritePrompt = true;
  return r;
}

bool ShowPrinterDialog(QPrinter& printer, QWidget* parent) {
  QPrintDialog dialog(&printer, parent);
  dialog.setWindowTitle("Printer");
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace

void FrmMain::filePrint() {
  if (busy_) return;
  // The printer is chosen first: cancelling it prints nothing and changes nothing.
  QPrinter printer(QPrinter::HighResolution);
  const bool chosen = choosePrinter ? choosePrinter(printer) : ShowPrinterDialog(printer, this);
  if (!chosen) return;
  print::PrepareForPrint(doc_);
  refreshAll();
  HourGlass busy(this);
  // A printer error ends printing without a message, as the printer itself reports it.
  PrintReports(printer, [this](const print::PageGeometry& g) {
    return print::LayoutDocumentReports(doc_, tune_->table(), g);
  });
}

void FrmMain::filePrintPreview() {
  if (busy_) return;
  print::PrepareForPrint(doc_);
  refreshAll();
  QPrinter printer(QPrinter::HighResolution);
  QPrintPreviewDialog preview(&printer, this);
  preview.setObjectName("dlgPrintPreview");
  preview.setWindowTitle(tr("打印预览"));
  connect(&preview, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* p) {
    PrintReports(*p, [this](const print::PageGeometry& g) {
      return print::LayoutDocumentReports(doc_, tune_->table(), g);
    });
  });
  preview.exec();
}

void FrmMain::fileExportPdf() {
  if (busy_) return;
  commitPendingEdit();
  const std::optional<std::string> path = dialogs_.saveFile(ExportPdfRequest(doc_));
  if (!path) return;
  print::PrepareForPrint(doc_);
  refreshAll();
  bool ok = false;
  {
    HourGlass busy(this);
    QPrinter printer(QPrinter::HighResolution);
    ConfigurePdfPrinter(printer, Q(*path));
    ok = PrintReports(printer, [this](const print::PageGeometry& g) {
      return print::LayoutDocumentReports(doc_, tune_->table(), g);
    });
  }
  // Unlike a printer, a file that could not be written would otherwise go unnoticed.
  if (!ok)
    Notify(prompter_, kAppTitle, Fill(QM_TR("PDF文件无法写入：%1"), {*path}), Icon::Exclamation);
}

}  // namespace qm::ui
