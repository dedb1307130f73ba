// The fleet write in the window (dlgFleet): the open document written into radio after
// radio, each with its line in the table, a log and a summary. The loop is the core's
// (radio/fleet.h), the same as the command line's; it runs on the link thread, and this
// dialog is its seam: the "next radio" click and the stop are flags the loop polls between
// its clock's waits, and each finished radio crosses to the window thread for its row.
#pragma once

#include <QDialog>
#include <atomic>
#include <functional>
#include <string>

#include "base/app_state.h"
#include "base/file_dialogs.h"
#include "base/prompter.h"
#include "model/image.h"
#include "radio/fleet.h"
#include "radio/link.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace qm::ui {

class LinkThread;

struct FleetDialogEnv {
  AppState& app;
  Prompter& prompter;  // the window's, for what is said on the window thread
  FileDialogs& dialogs;
  LinkThread& link;
  WriteChecks checks;  // the menu's write options, the dialog's defaults
  std::string backupDir;
  std::string logPath;  // the log the dialog offers (a run always leaves its record)
  // Runs `job` as a radio command with the window's link context, on the link thread.
  std::function<void(const std::function<void(LinkContext&)>&)> runOnLink;
};

class FleetDialog : public QDialog {
  Q_OBJECT
 public:
  FleetDialog(QWidget* parent, const Image& image, int16_t imageVerMajor, FleetDialogEnv env);

 private:
  friend class DialogSeam;
  void start();
  void browseLog();
  void browseRoster();
  void setRunning(bool running);
  void waitingFor(int n);
  void detecting(int n);
  void addRow(const FleetRecord& r, const RosterRow* row);
  void showSummary(const FleetSummary& s, bool logFailed);

  Image image_;
  int16_t imageVerMajor_;
  FleetDialogEnv env_;
  std::atomic<bool> next_{false};
  std::atomic<bool> stop_{false};
  QCheckBox* chkVerify_ = nullptr;
  QCheckBox* chkBackup_ = nullptr;
  QRadioButton* optClick_ = nullptr;
  QRadioButton* optDetect_ = nullptr;
  QLineEdit* txtLog_ = nullptr;
  QLineEdit* txtRoster_ = nullptr;
  QPushButton* cmdLog_ = nullptr;
  QPushButton* cmdRoster_ = nullptr;
  QTableWidget* grid_ = nullptr;
  QLabel* status_ = nullptr;
  QPushButton* cmdStart_ = nullptr;
  QPushButton* cmdNext_ = nullptr;
  QPushButton* cmdStop_ = nullptr;
  QPushButton* cmdClose_ = nullptr;
};

}  // namespace qm::ui
