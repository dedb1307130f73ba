#include "document/csv_lists.h"

#include <charconv>
#include <cstdint>
#include <span>

#include "base/text_util.h"
#include "base/tr.h"
#include "files/csv.h"
#include "files/file_io.h"
#include "files/utf8_path.h"

namespace qm {

namespace {

FileDialogRequest CsvRequest(const char* title, const std::string& folder) {
  FileDialogRequest req;
  req.title = title;
  req.initialDir = folder;
  req.filters = {{"CSV Files (*.csv)", "*.csv"}, {"All Files (*.*)", "*.*"}};
  req.defaultExt = "csv";
  return req;
}

}  // namespace

FileDialogRequest CsvImportRequest(const Document& doc) {
  FileDialogRequest req = CsvRequest(QM_TR("导入CSV"), doc.fileDialogDir);
  req.fileMustExist = true;
  return req;
}

FileDialogRequest CsvExportRequest(const Document& doc) {
  FileDialogRequest req = CsvRequest(QM_TR("导出CSV"), doc.fileDialogDir);
  if (!doc.curFileName.empty())
    req.initialName = PathToUtf8(PathFromUtf8(doc.curFileName).stem()) + ".csv";
  req.pathMustExist = true;
  req.overwritePrompt = true;
  return req;
}

std::optional<CsvImportChoice> ReadCsvImportChoice(std::string_view fromLocation, bool clearRest) {
  CsvImportChoice c;
  c.clearRest = clearRest;
  std::string_view text = TrimSpaces(fromLocation);
  if (text.empty()) return c;
  // A whole number with an optional sign, nothing before or after it.
  const bool plus = text.front() == '+';
  if (plus) text.remove_prefix(1);
  if (text.empty() || text.front() == '+' || (plus && text.front() == '-')) return std::nullopt;
  int n = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  c.fromLocation = n;
  return c;
}

void ImportCsvFile(Document& doc, const AppState& app, const std::string& path,
                   const CsvImportChoice& choice, Prompter& prompter,
                   const std::function<void()>& shown) {
  const CsvFile csv = ReadCsvFile(path);
  if (csv.status != CsvFileStatus::Ok) {
    Notify(prompter, QM_TR("文件错误"),
           csv.status == CsvFileStatus::TooLarge ? QM_TR("文件太大，不是信道表。")
                                                 : QM_TR("无法读取文件！"),
           Icon::Exclamation);
    return;
  }
  ChirpImportOptions opt;
  opt.fromLocation = choice.fromLocation;
  opt.clearRest = choice.clearRest;
  const ChirpImportResult r =
      ImportChirpCsv(csv.text, doc.editors().channels(), app, doc.image.modelCode(), opt);
  std::vector<std::string> notes;
  for (const ChirpNote& n : r.notes) notes.push_back(FormatChirpNote(n));
  if (shown) shown();
  if (!r.ok) {
    Notify(prompter, QM_TR("导入CSV"), r.error + JoinNotes(notes), Icon::Exclamation);
    return;
  }
  Notify(prompter, QM_TR("导入CSV"),
         FillCount(QM_TR_N("导入%n个信道。"), r.imported) + JoinNotes(notes),
         notes.empty() ? Icon::None : Icon::Exclamation);
}

ChirpExport ExportDocumentCsv(const Document& doc, std::string_view nameTemplate) {
  Image shown = doc.image;
  doc.editors().channels().SaveChannels(shown);
  return ExportChirpCsv(shown, nameTemplate);
}

bool ExportCsvFile(const Document& doc, const std::string& path, std::string_view nameTemplate,
                   Prompter& prompter, const std::function<bool(const std::string&)>& deliver) {
  const ChirpExport e = ExportDocumentCsv(doc, nameTemplate);
  const auto* p = reinterpret_cast<const uint8_t*>(e.csv.data());
  if (!WriteFileAtomically(path, std::span<const uint8_t>(p, e.csv.size())) ||
      (deliver && !deliver(path))) {
    Notify(prompter, kAppTitle, QM_TR("保存文件错误！"), Icon::Exclamation);
    return false;
  }
  Notify(prompter, QM_TR("导出CSV"),
         FillCount(QM_TR_N("导出%n个信道。"), e.rows) + JoinNotes(e.notes), Icon::None);
  return true;
}

}  // namespace qm
