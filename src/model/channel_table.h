// The channel grid's working copy: 16 channels x 8 columns of cell texts with their colour
// roles, the three check boxes per row, the current cell and the floating frequency editor.
// The grid widget only renders this and forwards the user's presses, keys and clicks.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "base/app_state.h"
#include "base/grid_util.h"
#include "base/prompter.h"
#include "base/tr.h"
#include "model/cell_colors.h"
#include "model/edit_flags.h"
#include "model/edit_observer.h"
#include "model/image.h"
#include "model/layout.h"

namespace qm {

// Text colour roles of a cell.
enum class CellColor {
  Black,       // an editable frequency or signalling cell
  Active,      // "添加", "打开", "高", "宽带": RGB(0, 120, 100)
  Inactive,    // "删除", "关闭", "低", "窄带": RGB(120, 0, 40)
  ButtonFace,  // a cell that cannot be edited (channel off, transmit inhibited): greyed
  GreyText,    // the bandwidth column while the radio-wide bandwidth is narrow
};

inline constexpr int kGridRows = 17;  // row 0 is the header row
inline constexpr int kGridCols = 9;   // column 0 is the row header column

// Grid columns, counted from the first one after the row header.
namespace col {
enum Column { kRxFreq = 1, kRxSignal, kTxFreq, kTxSignal, kScan, kBusyLock, kPower, kBandwidth };
}  // namespace col

struct GridColumn {
  const char* header;
  int widthTwips;
};
inline constexpr std::array<GridColumn, kGridCols> kChannelGridColumns = {{
    {QM_TR("信道."), 936},
    {QM_TR("接收频率(MHz)"), 1404},
    {QM_TR("接收CTC/DCS"), 1248},
    {QM_TR("发射频率(MHz)"), 1404},
    {QM_TR("发射CTC/DCS"), 1248},
    {QM_TR("扫描 删除 /添加"), 1170},
    {QM_TR("   繁忙     锁定"), 780},
    {QM_TR("   发射     功率"), 780},
    {QM_TR("带宽"), 1014},
}};
// Labels above the three check box columns.
inline constexpr std::array<const char*, 3> kChannelCheckLabels = {QM_TR("关闭"), QM_TR("禁发"),
                                                                   "Tx<-Rx"};

// "信道" followed by the row number (1..16).
std::string ChannelRowHeader(int row);

struct ChannelCell {
  std::string text;
  CellColor color = CellColor::Black;
  bool highlighted = false;  // yellow background: the signal dialog is open for this cell
  bool operator==(const ChannelCell&) const = default;
};

// What an operation changed, for the widget to repaint.
struct GridChange {
  uint32_t rows = 0;     // bit r: grid row r (cells and check boxes)
  bool editor = false;   // the frequency editor opened, closed or changed
  bool current = false;  // the current cell moved
  void addRow(int row) { rows |= 1u << row; }
  void merge(const GridChange& o) {
    rows |= o.rows;
    editor = editor || o.editor;
    current = current || o.current;
  }
  bool any() const { return rows != 0 || editor || current; }
};

// The texts of the four toggle columns (scan, busy lock, power, bandwidth).
namespace cell_text {
inline constexpr const char* kScanAdd = QM_TR("添加");
inline constexpr const char* kScanDelete = QM_TR("删除");
inline constexpr const char* kLockOff = QM_TR("关闭");
inline constexpr const char* kLockOn = QM_TR("打开");
inline constexpr const char* kPowerHigh = QM_TR("高");
inline constexpr const char* kPowerLow = QM_TR("低");
inline constexpr const char* kWide = QM_TR("宽带");
inline constexpr const char* kNarrow = QM_TR("窄带");
}  // namespace cell_text

// The texts of grid columns 1-8 for a channel, as the grid shows them.
std::array<std::string, kGridCols - 1> ChannelTexts(const Channel& ch, char sep);

namespace cell_note {
inline constexpr const char* kChannelOff = QM_TR("此信道已关闭");
inline constexpr const char* kTxInhibited = QM_TR("此信道禁止发射");
inline constexpr const char* kRadioNarrow = QM_TR("整机为窄带，此列不起作用");
}  // namespace cell_note

// The answer to a press or key: what the widget must do next.
struct GridPress : CellPress {
  GridChange change;
};

// The floating frequency editor txtChFreq.
struct FreqEditorState {
  bool visible = false;
  int row = 0;
  int col = 0;
  std::string text;
  std::string tag;   // the cell text when the editor opened, for undo
  int selStart = 0;  // selection (characters) the editor shows after opening
  int selLength = 0;
};

class ChannelTableModel {
 public:
  // The working copy an undo step keeps: cells with their colours and the check boxes.
  struct State {
    CellTable<ChannelCell, kGridRows, kGridCols> cells{};
    std::array<bool, kChannelCount> chOff{};
    std::array<bool, kChannelCount> txOff{};
    std::array<bool, kChannelCount> txEnabled{};
    std::array<bool, kChannelCount> txEqRx{};
    bool operator==(const State&) const = default;
    // Same texts and check boxes (colours and highlights follow from them).
    bool sameContent(const State& o) const;
  };

  ChannelTableModel(const AppState& app, EditFlags& flags, Prompter& prompter);

  void setEditObserver(EditObserver* observer) { observer_ = observer; }
  // Commands made of several edits name their step through it.
  EditObserver* editObserver() const { return observer_; }
  State state() const;
  // Puts a kept state back; an open editor or signalling dialog is dropped.
  void restore(const State& s);
  // An in-place edit is open: the frequency editor or the signalling dialog.
  bool editing() const { return editor_.visible || signalCell_.has_value(); }

  // The text of the radio-wide bandwidth list ("宽带" or "窄带"); wide until wired.
  void setRadioBandwidthSource(std::function<std::string()> source);
  // The radio-wide bandwidth text the grid currently follows.
  std::string radioBandwidth() const { return radioBandwidth_(); }
  // Image byte 0x2D2, which decides the raster of a typed frequency; 0 until wired.
  void setIdentModelByteSource(std::function<uint8_t()> source);

  // ---- contents, as the grid shows them ----
  // row 1..16, col 1..8; anything else gives an empty cell.
  const ChannelCell& cell(int row, int col) const;
  bool channelOff(int i) const;      // chkCH(i) ticked, i = 0..15
  bool txInhibited(int i) const;     // chkTx(i) ticked
  bool txCheckEnabled(int i) const;  // chkTx(i) enabled
  // chkTxEqTx(i), "Tx<-Rx": the transmit side linked to the receive side. Shown ticked where
  // the row's transmit frequency and signalling equal its receive ones; while it is ticked an
  // edit of the receive side goes to the transmit side too, and a transmit side edited to
  // differ unticks it. Nothing of it is stored: a reload derives it again.
  bool txEqRx(int i) const;
  int currentRow() const { return curRow_; }
  int currentCol() const { return curCol_; }
  GridChange setCurrentCell(int row, int col);
  const FreqEditorState& freqEditor() const { return editor_; }
  // What a screen reader says of a cell besides its text: its row switched off, its
  // transmit side inhibited, the bandwidth column while the radio is narrow band; or
  // nothing (empty).
  std::string cellNote(int row, int col) const;
  // The cell whose signal dialog is open, if any.
  std::optional<std::pair<int, int>> signalDialogCell() const { return signalCell_; }

  // ---- whole table ----
  void DisplayChannels(const Image& image);  // keeps dataChanged as it found it
  void SaveChannels(Image& image) const;
  void UpdateChannelRow(int i);
  void UpdateTxCells(int i);
  void ApplyRadioBandwidth(std::string_view text);
  static int16_t getChGridIndex(int iRow, int iCol) {
    return static_cast<int16_t>(iRow * kGridCols + iCol);
  }

  // ---- user actions ----
  // A left-button press on a cell (it becomes the current cell).
  GridPress pressCell(int row, int col);
  // A key typed on the grid: Enter (13), space (32) or a digit.
  GridPress keyPress(int key);
  GridChange clickChannelOff(int i);  // chkCH(i)
  GridChange clickTxInhibit(int i);   // chkTx(i)
  GridChange clickTxEqRx(int i);      // chkTxEqTx(i): ticking copies receive to transmit
  // The signal dialog closed: its SignalText on OK, nullopt on Cancel.
  GridChange finishSignalDialog(const std::optional<std::string>& result);
  // Sets a cell's text as an edit (dataChanged when it differs) and recolours its row; a
  // frequency or signalling set so leaves "Tx<-Rx" as a reload of the data would show it.
  GridChange setCellText(int row, int col, std::string text);
  // Channel i as the record shows it (as DisplayChannels shows a row), as one edit.
  GridChange setChannelRecord(int i, ConstRow record);

  // ---- the frequency editor ----
  GridChange editorTextChanged(std::string text);
  // The character the editor inserts for a typed character, or nullopt to discard it.
  std::optional<char> filterEditorKey(char32_t key) const {
    return FreqEditorKey(key, app_.decimalSep);
  }
  GridChange editorEnter();   // validate, then the current cell moves one column right
  GridChange editorEscape();  // restore the tag text and close
  GridChange editorLostFocus() { return validateEditor(); }
  // getValidFreq on the editor's text; on failure the tag text comes back. Hides it.
  GridChange validateEditor();
  // Closes an open editor as the window does before commands. Returns whether one was open.
  bool CommitPendingEdit();

 private:
  ChannelCell& at(int row, int col);
  bool rowActive(int i) const;
  GridPress openFreqEditor(int row, int col, std::optional<char> digit);
  void setEditorText(std::string text, GridChange& change);
  void closeEditor(GridChange& change);
  void markChanged();
  GridChange clickBox(std::array<bool, kChannelCount>& boxes, int i, bool enabled,
                      void (ChannelTableModel::*follow)(int));

  void showRecord(int i, ConstRow r);
  bool txSideEqualsRx(int i) const;
  // After the cell (row, col) changed: the linked transmit side follows a receive edit, a
  // transmit edit that makes the sides differ ends the link.
  void followTxLink(int row, int col);

  const AppState& app_;
  EditFlags& flags_;
  Prompter& prompter_;
  EditObserver* observer_ = nullptr;
  std::function<std::string()> radioBandwidth_;
  std::function<uint8_t()> identModelByte_;

  CellTable<ChannelCell, kGridRows, kGridCols> cells_{};
  std::array<bool, kChannelCount> chOff_{};
  std::array<bool, kChannelCount> txOff_{};
  std::array<bool, kChannelCount> txEnabled_{};
  std::array<bool, kChannelCount> txEqRx_{};
  int curRow_ = 1;
  int curCol_ = 1;
  FreqEditorState editor_;
  bool validating_ = false;  // the band message is up: focus changes must not validate again
  std::optional<std::pair<int, int>> signalCell_;
};

// The text and background a cell of `color` is drawn in on `theme`; `highlighted` is the
// cell whose signal dialog is open.
CellLook LookOf(CellColor color, bool highlighted, const ThemeColors& theme);

// Colour of a toggle column's cell text when its row is active.
CellColor ToggleTextColor(int col, std::string_view text);

}  // namespace qm
