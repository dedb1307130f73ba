// The small windows of the shell: the splash frmFlash, the about box frmAbout and the model
// dialog frmRadio.
#pragma once

#include <QDialog>
#include <QWidget>

#include "base/app_state.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace qm::ui {

// Shown by start-up while the main window loads: the series and the software title, inside a
// raised border four pixels wide.
class FrmFlash : public QWidget {
  Q_OBJECT
 public:
  explicit FrmFlash(const AppState& app, QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

class FrmAbout : public QDialog {
  Q_OBJECT
 public:
  explicit FrmAbout(const AppState& app, QWidget* parent = nullptr);
};

// "机型信息": chooses the radio model. The caller reads modelChanged() and newModel() after
// it closed.
class FrmRadio : public QDialog {
  Q_OBJECT
 public:
  explicit FrmRadio(const AppState& app, QWidget* parent = nullptr);

  bool modelChanged() const { return modelChanged_; }
  int newModel() const { return newModel_; }

 private:
  void showBand(int index);
  void saveRadioInfo();

  const AppState& app_;
  QComboBox* cboModel_ = nullptr;
  QLabel* lblFreqBand_ = nullptr;
  bool modelChanged_ = false;
  int newModel_ = 0;
};

}  // namespace qm::ui
