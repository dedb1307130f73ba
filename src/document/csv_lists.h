// The File menu's CSV channel lists, as the window and the page run them: the import of a
// list into the grid through its checks, and the export of the channels as the grid holds
// them. The callers pick the file and ask the import's choices in their own dialogs; the
// reading, the import, the writing and every message are here.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/app_state.h"
#include "base/file_dialogs.h"
#include "base/prompter.h"
#include "document/document.h"
#include "files/chirp_csv.h"

namespace qm {

// The file dialog of a CSV channel list ("导入CSV", "导出CSV"), in the document's folder; the
// export's suggests the document's name with ".csv".
FileDialogRequest CsvImportRequest(const Document& doc);
FileDialogRequest CsvExportRequest(const Document& doc);

// The import dialog's two choices: where to start in the file, and what happens to the
// channels after the imported ones.
struct CsvImportChoice {
  std::optional<int> fromLocation;
  bool clearRest = false;
};
// The choice the dialog's start field gives: empty (spaces only) starts at the first row, a
// whole number at that Location; nullopt for anything else, which the dialog does not take.
std::optional<CsvImportChoice> ReadCsvImportChoice(std::string_view fromLocation, bool clearRest);

// Reads the file at `path` (refused when too large or unreadable) and imports it into the
// grid; `shown` runs once the grid changed and before the report. The user sees what was
// imported, the notes, or why nothing was.
void ImportCsvFile(Document& doc, const AppState& app, const std::string& path,
                   const CsvImportChoice& choice, Prompter& prompter,
                   const std::function<void()>& shown = {});

// The channels as the grid holds them as a list; the document and its change flags stay as
// they are. `nameTemplate` names the rows in the interface language.
ChirpExport ExportDocumentCsv(const Document& doc, std::string_view nameTemplate);
// Writes that list to `path` (whole or not at all), then `deliver` hands the file on where
// the caller keeps files elsewhere (false: it could not). The user sees how many channels
// were written, or that the file could not be saved.
bool ExportCsvFile(const Document& doc, const std::string& path, std::string_view nameTemplate,
                   Prompter& prompter, const std::function<bool(const std::string&)>& deliver = {});

}  // namespace qm
