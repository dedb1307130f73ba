// The seam to the system's open and save file dialogs.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace qm {

struct FileFilter {
  std::string description;  // "Data Files (*.q83)"
  std::string pattern;      // "*.q83"
};

struct FileDialogRequest {
  std::string title;
  std::string initialDir;
  std::string initialName;
  std::vector<FileFilter> filters;
  int selectedFilter = 0;
  std::string defaultExt;        // without the dot
  bool fileMustExist = false;    // open: the chosen file must exist
  bool pathMustExist = false;    // save: the chosen folder must exist
  bool overwritePrompt = false;  // save: ask before replacing an existing file
  bool hideReadOnly = true;      // no read-only check box
  bool refuseReadOnly = true;    // read-only files are not accepted
};

// The filter in the dialog's one-text form: "desc|pattern|desc|pattern".
std::string FilterText(const FileDialogRequest& request);

// The Open dialog: "打开", data and old files, default extension "q83".
FileDialogRequest OpenDialogRequest(const std::string& initialDir);
// The Save As dialog: "另存为", data files, default extension "q83", overwrite prompt.
FileDialogRequest SaveAsDialogRequest(const std::string& initialDir,
                                      const std::string& initialName);

class FileDialogs {
 public:
  virtual ~FileDialogs() = default;
  // The chosen path (UTF-8), or nullopt when the user cancelled.
  virtual std::optional<std::string> openFile(const FileDialogRequest& request) = 0;
  virtual std::optional<std::string> saveFile(const FileDialogRequest& request) = 0;
};

}  // namespace qm
