// The channel grid gridChan with its three check box columns and the floating frequency
// editor txtChFreq. It renders ChannelTableModel and forwards presses, keys and clicks to
// it; every rule (toggles, colours, guards, validation) lives in the model.
#pragma once

#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "model/channel_table.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QTableWidget;

namespace qm::ui {

// The header as the grid shows it: the words of a two-word header on two lines.
QString HeaderDisplayText(const char* header);

class ChannelGrid : public QWidget {
  Q_OBJECT
 public:
  ChannelGrid(ChannelTableModel& model, const AppState& app, Prompter& prompter,
              QWidget* parent = nullptr);

  // Renders the whole model again (cells, colours, check boxes, editor).
  void refresh();
  // Shows the headers, labels, cell texts and accessible names in the interface language
  // now installed, the columns as wide as that language needs.
  void retranslate();
  // Applies and closes an open frequency editor. Returns whether one was open.
  bool commitPendingEdit();

  // A left-button press on a cell, as the mouse gives it (row 1..16, column 1..8).
  void pressCell(int row, int col) { handle(model_.pressCell(row, col)); }

  // ---- row selection (the row header column): click, Shift+click, Ctrl+click, a drag
  // across the headers, Shift+Up/Down; the other movement keys drop it ----
  // Channels (0..15) of the selected rows, in order; empty when no row is selected.
  std::vector<int> selectedChannels() const;
  void selectAllRows();
  void clearSelection();
  // A press on row header `row` (1..16) with the keyboard modifiers of the click.
  void pressRowHeader(int row, Qt::KeyboardModifiers modifiers);
  // The context menu was asked for at a global position (over a row that is now selected).
  std::function<void(const QPoint&)> onContextMenu;
  // The selected rows changed.
  std::function<void()> onSelectionChanged;

  QTableWidget* table() const { return grid_; }
  QLineEdit* freqEditor() const { return editor_; }

  // Twips to pixels at 15 twips per pixel.
  static int TwipsToPixels(int twips) { return (twips + 7) / 15; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void layoutColumns();
  void handle(const GridPress& press);
  void renderRow(int row);
  void renderEditor();
  void placeChecks();
  void openSignalDialog(const GridPress& press);
  void editorKey(QKeyEvent* key, bool& consumed);

  ChannelTableModel& model_;
  const AppState& app_;
  Prompter& prompter_;
  QTableWidget* grid_ = nullptr;
  QLineEdit* editor_ = nullptr;
  std::array<QCheckBox*, kChannelCount> chkCh_{};
  std::array<QCheckBox*, kChannelCount> chkTx_{};
  std::array<QCheckBox*, kChannelCount> chkTxEqTx_{};
  std::array<QLabel*, 3> checkLabels_{};
  void renderSelection();
  // Rows anchorRow_..row, added to `base`; row becomes the current row.
  void selectRange(int row, uint32_t base);
  // The grid row under a viewport position, held to the first and last row.
  int rowAt(int y) const;

  uint32_t selected_ = 0;   // bit r - 1: grid row r is selected
  int anchorRow_ = 1;       // where a Shift+click, drag or Shift+arrow range starts
  int activeRow_ = 1;       // the range's other end
  bool dragging_ = false;   // the left button went down on a row header
  uint32_t dragBase_ = 0;   // rows a Ctrl+drag adds to
  bool syncing_ = false;    // the widgets are being set from the model
  bool inHandler_ = false;  // an editor key or a commit is running: its focus change is ours
};

}  // namespace qm::ui
