#include "base/file_dialogs.h"

#include "base/tr.h"

namespace qm {

namespace {
// The data file as text (files/text_form.h), a type of its own in both dialogs.
constexpr const char* kTextFormFilter = QM_TR("文本形式的数据文件 (*.toml)");
}  // namespace

std::string FilterText(const FileDialogRequest& request) {
  std::string out;
  for (const FileFilter& f : request.filters) {
    if (!out.empty()) out += '|';
    out += f.description + "|" + f.pattern;
  }
  return out;
}

FileDialogRequest OpenDialogRequest(const std::string& initialDir) {
  FileDialogRequest r;
  r.title = QM_TR("打开");
  r.initialDir = initialDir;
  r.filters = {{"Data Files (*.q83)", "*.q83"},
               {"Old Files (*.z410)", "*.z410"},
               {kTextFormFilter, "*.toml"}};
  r.selectedFilter = 0;
  r.defaultExt = "q83";
  r.fileMustExist = true;
  return r;
}

FileDialogRequest SaveAsDialogRequest(const std::string& initialDir,
                                      const std::string& initialName) {
  FileDialogRequest r;
  r.title = QM_TR("另存为");
  r.initialDir = initialDir;
  r.initialName = initialName;
  r.filters = {{"Data Files (*.q83)", "*.q83"}, {kTextFormFilter, "*.toml"}};
  r.selectedFilter = 0;
  r.defaultExt = "q83";
  r.overwritePrompt = true;
  r.pathMustExist = true;
  return r;
}

}  // namespace qm
