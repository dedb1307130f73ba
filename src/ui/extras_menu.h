// The technician's extras in the window, each off until chosen: CSV import and export of the
// channel list (File menu, after "另存为(&A)"), and under "编程(&O)" the write options kept in
// the program's configuration file (verify after write, backup before write), the serial
// trace with its viewer, the fleet write, and the history of reads (on by default) with its folder.
#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "base/app_state.h"
#include "base/file_dialogs.h"
#include "base/prompter.h"
#include "document/document.h"
#include "document/read_history.h"
#include "files/profile.h"
#include "radio/clock.h"
#include "radio/serial_port.h"
#include "radio/serial_trace.h"
#include "radio/write_checks.h"
#include "ui/qt_text.h"

class QAction;
class QMenu;
class QWidget;

namespace qm::ui {

// Keys of section [Extras] of the program's configuration file.
inline constexpr const char* kExtrasSection = "Extras";
inline constexpr const char* kVerifyKey = "VerifyAfterWrite";
inline constexpr const char* kBackupKey = "BackupBeforeWrite";
inline constexpr const char* kBackupDirKey = "BackupDir";
inline constexpr const char* kTraceKey = "SerialTrace";

struct ExtrasHooks {
  std::function<void()> commitPendingEdit;  // before an import or export
  std::function<void()> refresh;            // after an import
  std::function<bool()> busy;               // a radio command is running
  std::function<void()> fleetWrite;         // "批量写频...": the fleet dialog
};

class TechnicianExtras : public QObject {
  Q_OBJECT
 public:
  TechnicianExtras(QWidget* window, Document& doc, AppState& app, Prompter& prompter,
                   FileDialogs& dialogs, const ProfileFile& ini, ExtrasHooks hooks);
  ~TechnicianExtras() override;

  // "导入CSV(&I)..." and "导出CSV(&E)..." go after `saveAs` in `file`; the options at the end
  // of `operate`.
  void install(QMenu* file, QAction* saveAs, QMenu* operate);
  // The entries' texts in the interface language now installed.
  void retranslate();

  // The options the next write runs with (as the menu and the configuration file hold them).
  WriteChecks writeChecks() const;
  // The port for the next radio operation: `port` itself, or the trace around it (a new
  // trace for every operation, so the viewer shows the last one).
  SerialPort& linkPort(SerialPort& port, const Clock& clock);

  void importCsv();
  void exportCsv();
  void showTrace();
  const SerialTrace* trace() const { return trace_ ? &*trace_ : nullptr; }
  // The folder of backups: BackupDir, else "backups" beside the configuration file.
  std::string backupDir() const;
  // After an accepted read: the read kept in the history folder ("保存读频记录").
  void keepRead(const Image& image);
  void openReadHistory();

 private:
  void setOption(const char* key, bool on);
  bool option(const char* key) const;

  QWidget* window_;
  Document& doc_;
  AppState& app_;
  Prompter& prompter_;
  FileDialogs& dialogs_;
  const ProfileFile& ini_;
  LanguageTexts texts_;
  ExtrasHooks hooks_;
  QAction* verify_ = nullptr;
  QAction* backup_ = nullptr;
  QAction* traceOn_ = nullptr;
  QAction* history_ = nullptr;
  ReadHistory readHistory_;
  std::optional<SerialTrace> trace_;
  std::optional<TracingSerialPort> tracing_;
};

}  // namespace qm::ui
