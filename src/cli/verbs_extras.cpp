// Verbs for technicians beyond the window's own commands: channel lists as CSV (export-csv,
// import-csv) and the comparison of two data files (diff).
#include <iostream>
#include <string>
#include <vector>

#include "base/model_table.h"
#include "base/tr.h"
#include "cli/args.h"
#include "cli/cli_document.h"
#include "cli/context.h"
#include "cli/verbs.h"
#include "document/document.h"
#include "files/chirp_csv.h"
#include "files/data_file.h"
#include "model/image_diff.h"
#include "platform/translation.h"

namespace qm::cli {

namespace {

constexpr const char* kExportUsage = "export-csv FILE OUT.csv";
constexpr const char* kImportUsage =
    "import-csv FILE IN.csv [--from-location N] [--clear-rest] -o OUT";
constexpr const char* kDiffUsage = "diff A B";

int ExportCsv(const Invocation& inv) {
  Args a(inv.args, {}, {});
  if (!a.ok() || a.positional().size() != 2) return Usage(kExportUsage);
  CliDocument d(inv);
  if (!d.open(a.positional()[0])) return 1;
  d.prompter.printTo(std::cerr);
  // The channels as the grid holds them, without touching the document's change flags.
  Image shown = d.doc.image;
  d.doc.editors().channels().SaveChannels(shown);
  ChirpExport e = ExportChirpCsv(shown, TrCoreUtf8(kChirpChannelName));
  for (const std::string& n : e.notes) std::cerr << TrCoreUtf8(n) << "\n";
  const std::string& out = a.positional()[1];
  const auto* csv = reinterpret_cast<const uint8_t*>(e.csv.data());
  if (!WriteOrReport(out, std::span<const uint8_t>(csv, e.csv.size()))) return 1;
  std::cerr << TrCoreUtf8(FillCount(QM_TR_N("导出%n个信道 (%1)"), e.rows, {out})) << "\n";
  return 0;
}

int ImportCsv(const Invocation& inv) {
  Args a(inv.args, {"-o", "--from-location"}, {"--clear-rest"});
  const auto out = a.value("-o");
  if (!a.ok() || a.positional().size() != 2 || !out) return Usage(kImportUsage);
  ChirpImportOptions opt;
  opt.clearRest = a.flag("--clear-rest");
  opt.fromLocation = a.intValue("--from-location", -1000000, 1000000);
  if (!a.ok()) {
    std::cerr << "qm830k-cli: " << a.error() << "\n";
    return 2;
  }
  CliDocument d(inv);
  if (!d.open(a.positional()[0])) return 1;
  d.prompter.printTo(std::cerr);

  const std::string& csvPath = a.positional()[1];
  const CsvFile csv = ReadCsvFile(csvPath);
  if (csv.status != CsvFileStatus::Ok) {
    std::cerr << "[" << TrCoreUtf8(QM_TR("文件错误")) << "] "
              << TrCoreUtf8(csv.status == CsvFileStatus::TooLarge ? QM_TR("文件太大，不是信道表")
                                                                  : QM_TR("无法读取文件"))
              << " (" << csvPath << ")\n";
    return 1;
  }
  ChirpImportResult r =
      ImportChirpCsv(csv.text, d.doc.editors().channels(), d.cli.app, d.doc.image.modelCode(), opt);
  for (const ChirpNote& n : r.notes) std::cerr << TrCoreUtf8(FormatChirpNote(n)) << "\n";
  if (!r.ok) {
    std::cerr << "[" << kAppTitle << "] " << TrCoreUtf8(r.error) << " (" << csvPath << ")\n";
    return 1;
  }
  // Save As collects the editors into the image before writing; so does this.
  d.doc.CollectRadioData();
  if (!SaveOrReport(*out, d.doc.image, d.doc.spare)) return 1;
  std::cerr << TrCoreUtf8(FillCount(QM_TR_N("导入%n个信道 (%1)"), r.imported, {*out})) << "\n";
  return 0;
}

int Diff(const Invocation& inv) {
  Args a(inv.args, {}, {});
  if (!a.ok() || a.positional().size() != 2) return Usage(kDiffUsage);
  CliApp cli(inv);
  LoadedFile f[2];
  for (int k = 0; k < 2; ++k) {
    const std::string& path = a.positional()[static_cast<size_t>(k)];
    if (!LoadOrReport(cli.app, path, f[k])) return 2;
  }
  ImageDiff d = DiffImages(f[0].image, f[0].spare, f[1].image, f[1].spare, cli.app);
  std::cout << FormatDiff(d, TrCoreUtf8);
  return d.equal() ? 0 : 1;
}

const VerbRegistrar kExportCsv{{"export-csv", kExportUsage,
                                "the channels in use as a CSV channel list (CHIRP columns)",
                                ExportCsv}};
const VerbRegistrar kImportCsv{
    {"import-csv", kImportUsage,
     "fill the channels from a CSV channel list through the grid's checks; save to OUT",
     ImportCsv}};
const VerbRegistrar kDiff{{"diff", kDiffUsage,
                           "list what differs between two data files, field by field; exit 1 "
                           "when they differ",
                           Diff}};

}  // namespace
}  // namespace qm::cli
