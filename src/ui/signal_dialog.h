// frmSignal ("Signaling"): off, a CTCSS tone or a DCS code for one signalling cell. The
// rules live in model/signal_entry.h; this window renders them and forwards the user.
#pragma once

#include <QDialog>
#include <optional>
#include <string>

#include "model/signal_entry.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QRadioButton;

namespace qm::ui {

class FrmSignal : public QDialog {
  Q_OBJECT
 public:
  FrmSignal(const AppState& app, Prompter& prompter, QWidget* parent = nullptr);

  // Builds the dialog for a cell's text (its loading).
  void setSignalText(const std::string& text);
  const std::string& signalText() const { return entry_.signalText(); }
  // Shows it modally: the result on OK, nullopt on Cancel or when the window was closed.
  std::optional<std::string> run();

  SignalEntry& entry() { return entry_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void render();
  void okClicked();
  // The check that runs when the tone list (or the code list) loses the focus.
  void checkList(bool tone);

  SignalEntry entry_;
  QRadioButton* opt_[3] = {};
  QButtonGroup* group_ = nullptr;
  QComboBox* tone_ = nullptr;
  QComboBox* code_ = nullptr;
  QCheckBox* invert_ = nullptr;
  bool checking_ = false;  // a check's message box is up: its focus change is not a leave
  bool rendering_ = false;
  std::optional<std::string> result_;
};

}  // namespace qm::ui
