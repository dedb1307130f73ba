// The print verb: the reports the window prints, painted into a PDF file.
#include <QCoreApplication>
#include <QGuiApplication>
#include <QPrinter>
#include <iostream>

#include "base/model_table.h"
#include "cli/args.h"
#include "cli/console_prompter.h"
#include "cli/context.h"
#include "cli/verbs.h"
#include "document/document.h"
#include "files/data_file.h"
#include "print/report_inputs.h"
#include "print/report_layout.h"
#include "tune/tune_table.h"
#include "ui/report_painter.h"

namespace qm::cli {
namespace {

constexpr const char* kUsage = "print FILE --pdf OUT [--tune] [--tune-channel N]";

int Print(const Invocation& inv) {
  Args a(inv.args, {"--pdf", "--tune-channel"}, {"--tune"});
  const auto out = a.value("--pdf");
  const auto tuneChannel = a.intValue("--tune-channel", 1, kTuneChannelCount);
  if (!a.ok() || a.positional().size() != 1 || !out || out->empty()) {
    if (!a.ok()) std::cerr << "qm830k-cli: " << a.error() << "\n";
    return Usage(kUsage);
  }
  // Fonts exist only in a GUI application; the command line never opens a window.
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) {
    std::cerr << "qm830k-cli: printing is not available in this build\n";
    return 1;
  }

  CliApp cli;
  LoadCliApp(inv, cli);
  AppState& app = cli.app;
  // Load-check messages go to stderr, as they would pop up in the window.
  ConsolePrompter prompter(false);
  Document doc(app, prompter, *cli.programIni);
  doc.Start();

  if (!OpenDocumentFile(doc, a.positional()[0])) return 1;

  // The tune view's grid, filled as the window fills it; --tune-channel picks the channel the
  // tune items would be adjusted on.
  if (tuneChannel) doc.curTuneChannel = static_cast<int16_t>(*tuneChannel);
  TuneTableModel tune(app, doc.flags, prompter, doc.modelByte, doc.curTuneChannel);
  tune.DisplayTuneGrid(doc.image);

  QPrinter printer(QPrinter::HighResolution);
  ui::ConfigurePdfPrinter(printer, QString::fromStdString(*out));
  const print::PageGeometry geometry = ui::PrintableGeometry(printer);
  doc.viewMode = a.flag("--tune") ? ViewMode::Tune : ViewMode::Channels;
  print::PrepareForPrint(doc);
  const std::vector<print::ReportPage> pages = print::LayoutDocumentReports(doc, tune, geometry);
  if (!ui::PrintReports(pages, printer)) {
    std::cerr << "qm830k-cli: cannot write " << *out << "\n";
    return 1;
  }
  return 0;
}

const VerbRegistrar kPrint{{"print", kUsage,
                            "the channel and function reports (or with --tune the tune report) "
                            "as a PDF file",
                            Print}};

}  // namespace
}  // namespace qm::cli
