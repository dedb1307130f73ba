// The windows of the radio commands: the progress window frmProgress, the version warning
// dlgWarn, the port dialog frmPort and the embedded-information dialog frmEmbed. They show
// what the link code and the document hold and hand the user's choices back; the exchanges
// themselves run in the main window's handlers.
#pragma once

#include <QDialog>
#include <QPointer>
#include <array>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "base/app_state.h"
#include "base/prompter.h"
#include "model/image.h"
#include "platform/port_list.h"
#include "radio/link.h"
#include "radio/progress.h"

class QButtonGroup;
class QCheckBox;
class QGridLayout;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace qm::ui {

// frmProgress: a caption and a bar. It has no close button and ignores every attempt to
// close it except its owner's.
class FrmProgress : public QDialog {
  Q_OBJECT
 public:
  explicit FrmProgress(QWidget* parent = nullptr);
  // `cancel`, when given, is what the Cancel button does; without it the window has none.
  void setup(const QString& caption, const QString& title, int maximum,
             std::function<void()> cancel = {});
  void setPosition(int position);
  // The only way it goes away.
  void finish();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void reject() override {}

 private:
  QLabel* lblProgress_ = nullptr;
  QProgressBar* prbRdOrWt_ = nullptr;
  QPushButton* cmdCancel_ = nullptr;
  std::function<void()> cancel_;
  bool finishing_ = false;
};

// The link code's progress sink on frmProgress.
class GuiProgress : public Progress {
 public:
  explicit GuiProgress(QWidget* owner) : owner_(owner) {}
  ~GuiProgress() override;
  FrmProgress* window() const { return window_; }

 protected:
  void onOpen() override;
  void onChange(int position) override;
  void onClose() override;

 private:
  QPointer<QWidget> owner_;
  QPointer<FrmProgress> window_;
};

// dlgWarn: the text of the version warning, "下次不再提示" and OK / Cancel. Closing the
// window counts as Cancel; the tick counts either way.
class DlgWarn : public QDialog {
  Q_OBJECT
 public:
  DlgWarn(int selIndex, const QString& text, QWidget* parent = nullptr);
  WarningAnswer answer() const;

 private:
  int selIndex_;
  bool confirmed_ = false;
  QCheckBox* chkWarning_ = nullptr;
};

// frmPort: COM1..COM16, each beside the device it stands for; only the ports that could be
// opened are enabled.
class FrmPort : public QDialog {
  Q_OBJECT
 public:
  // devices[n] is the device of port n (1..16); `listed` are the ports the system has, by
  // name, those above COM16 (and the devices no COMn maps to) among them.
  FrmPort(const PortScan& scan, const std::array<std::string, kMaxPortNumber + 1>& devices,
          const std::vector<SystemPort>& listed, QWidget* parent = nullptr);
  // COMi: a value without a button of its own is clamped to 1..16.
  void setComi(int n);
  int comi() const { return comi_; }
  // The listed port of the chosen number, if the system listed it.
  const SystemPort* chosenListed() const;
  const std::vector<SystemPort>& listed() const { return listed_; }

  // The cable check on a port: its one line (Chinese; the dialog translates it).
  std::function<std::string(int)> checkPort;

 private:
  void addPort(QGridLayout* grid, QWidget* frame, int n, int row, int col, bool usable,
               const std::string& device);
  std::map<int, QRadioButton*> opt_;
  QButtonGroup* group_ = nullptr;
  std::vector<SystemPort> listed_;
  PortScan scan_;
  QLabel* lblCheck_ = nullptr;
  int comi_ = 1;
};

// frmEmbed: the user text (at most 96 characters), the radio ID and the last write date.
// Read and Write run the exchanges the window hands in and show the image again.
class FrmEmbed : public QDialog {
  Q_OBJECT
 public:
  FrmEmbed(AppState& app, Prompter& prompter, Image& image, QWidget* parent = nullptr);

  // m_EmbedData: the 96 code units of the area, zero units included, until the user edits.
  void setEmbedData(std::u16string data);
  const std::u16string& embedData() const { return embedData_; }
  bool cancelPressed() const { return cancelPressed_; }

  std::function<void()> readInfo;   // ReadEmbedInfo into the image
  std::function<void()> writeInfo;  // WriteEmbedInfo of the image's text area

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void displayEmbedInfo();
  void textChanged();
  void chooseFont();
  void applyFont();

  AppState& app_;
  Prompter& prompter_;
  Image& image_;
  std::u16string embedData_;
  bool cancelPressed_ = true;
  bool displaying_ = false;
  QPlainTextEdit* rtxtbEmbed_ = nullptr;
  QLabel* lblRadioID_ = nullptr;
  QLabel* lblLastTime_ = nullptr;
};

}  // namespace qm::ui
