// The tune view: the item tree TreeView2 on the left, and on the right either the tune
// channel panel fraTuneSet (gridTune with its option buttons and boxes, txtTuneFreq and
// cmdSaveTnFq) or the item panel fraTune (the channel's data, hsbTune, OK and Cancel).
// It renders the TuneController's view and table model and forwards every click; the
// rules live there.
#pragma once

#include <QWidget>
#include <array>
#include <functional>

#include "tune/tune_controller.h"
#include "ui/qt_text.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QTableWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace qm::ui {

class TunePanel : public QWidget {
  Q_OBJECT
 public:
  TunePanel(TuneController& tune, const AppState& app, Prompter& prompter,
            QWidget* parent = nullptr);

  // Runs a command that talks to the radio; the window wraps it in its busy state and
  // renders everything afterwards. `quick` marks a trial value of the scroll bar, which
  // must not cut a drag short. Without it the command runs directly.
  std::function<void(const std::function<void()>&, bool quick)> runCommand;
  // Applies the main window's pending edits (a click on the tree).
  std::function<void()> commitPendingEdit;

  // Renders the controller's view and the table again.
  void render();
  // Shows every text in the interface language now installed.
  void retranslate();

  QTreeWidget* tree() const { return tree_; }
  QTableWidget* grid() const { return grid_; }
  // The tree node with this key.
  QTreeWidgetItem* node(const char* key) const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void buildTree();
  QWidget* buildItemPanel();
  QWidget* buildTablePanel();
  void renderTable();
  void renderEditor();
  void run(const std::function<void()>& command, bool quick = false);
  void handlePress(const CellPress& press);
  void openSignalDialog(const CellPress& press);
  void layoutColumns();

  TuneController& tune_;
  const AppState& app_;
  Prompter& prompter_;
  QTreeWidget* tree_ = nullptr;
  QGroupBox* fraTune_ = nullptr;
  QGroupBox* fraTuneCH_ = nullptr;
  QLabel* lblRxfreq_ = nullptr;
  QLabel* lblRxCTC_ = nullptr;
  QLabel* lblTxFreq_ = nullptr;
  QLabel* lblTxCTC_ = nullptr;
  QScrollBar* hsbTune_ = nullptr;
  QLabel* lblTuneVal_ = nullptr;
  QGroupBox* fraTuneSet_ = nullptr;
  QTableWidget* grid_ = nullptr;
  QLineEdit* editor_ = nullptr;
  std::array<QRadioButton*, kTuneChannelCount> optTestCh_{};
  std::array<QCheckBox*, kTuneChannelCount> chkTuneCH_{};
  std::array<QCheckBox*, kTuneChannelCount> chkTuneTx_{};
  LanguageTexts texts_;
  bool syncing_ = false;
  bool inHandler_ = false;
};

}  // namespace qm::ui
