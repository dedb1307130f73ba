// The tune channel table's working copy, as the panel fraTuneSet shows it: 11 rows x 6
// columns of cell texts with their colours, the boxes "关闭" (chkTuneCH) and "禁发"
// (chkTuneTx) and the option buttons optTestCh with their enable states, and the floating
// frequency editor txtTuneFreq. The widgets render it and forward presses, keys and clicks.
//
// The table moves between this model and the image's TuneChannelTable (0x100-0x1AF) with
// DisplayTuneGrid and PackTuneGrid.
#pragma once

#include <array>
#include <cstdint>
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

inline constexpr int kTuneGridRows = 12;  // row 0 is the header row
inline constexpr int kTuneGridCols = 7;   // column 0 is the row header column

// Tune grid columns, counted from the first one after the row header.
namespace tunecol {
enum Column { kRxFreq = 1, kRxStep, kRxSignal, kTxFreq, kTxStep, kTxSignal };
}  // namespace tunecol

enum class TuneCellColor {
  Black,       // colour value 0
  ButtonFace,  // the system button-face colour: a channel off, a transmit side inhibited
  Red,         // colour value 255: the channel the items are adjusted on
};

inline constexpr const char* kTuneStep625 = "6.25";

// The headings of the panel's columns: the six data columns, then the option button and the
// two boxes each row has beside them.
inline constexpr int kTuneBoxColumns = 3;
inline constexpr std::array<const char*, kTuneGridCols - 1 + kTuneBoxColumns> kTuneGridHeaders = {
    QM_TR("接收频率"), QM_TR("步进(kHz)"), QM_TR("接收CTC/DCS"),
    QM_TR("发射频率"), QM_TR("步进(kHz)"), QM_TR("发射CTC/DCS"),
    QM_TR("调测"),     QM_TR("关闭"),      QM_TR("禁发")};

// The text and background of a tune cell of `color` on `theme`.
CellLook TuneLookOf(TuneCellColor color, const ThemeColors& theme);

// What a screen reader says of a tune cell besides its text.
namespace tune_note {
inline constexpr const char* kTuneChannel = QM_TR("调测用信道");
inline constexpr const char* kChannelOff = QM_TR("此信道已关闭");
inline constexpr const char* kTxInhibited = QM_TR("此信道禁止发射");
inline constexpr const char* kTuneChannelAnd = QM_TR("调测用信道，%1");
}  // namespace tune_note

struct TuneFreqEditor {
  bool visible = false;
  int row = 0;
  int col = 0;
  std::string text;
  std::string previous;  // restored when the text is not a frequency
};

// The model whose extended band limits the tune frequencies: the main window's model byte.
class TuneTableModel {
 public:
  TuneTableModel(const AppState& app, EditFlags& flags, Prompter& prompter,
                 const uint8_t& modelByte, int16_t& curTuneChannel);

  // The working copy an undo step keeps: the cell texts and the two boxes per channel. The
  // channel the items are adjusted on is not data and stays, unless it is switched off.
  struct State {
    CellTable<std::string, kTuneGridRows, kTuneGridCols> cells{};
    std::array<bool, kTuneChannelCount> chOff{};
    std::array<bool, kTuneChannelCount> txOff{};
    bool operator==(const State&) const = default;
  };
  State state() const { return State{cells_, chOff_, txOff_}; }
  void restore(const State& s);
  bool editing() const { return editor_.visible; }
  void setEditObserver(EditObserver* observer) { observer_ = observer; }

  // ---- contents ----
  // row 1..11, col 1..6; anything else gives an empty text.
  const std::string& text(int row, int col) const;
  TuneCellColor color(int row, int col) const;
  // The cell's note for a screen reader (tune_note), or empty.
  std::string cellNote(int row, int col) const;
  bool channelOff(int i) const;   // chkTuneCH(i), i = 0..10
  bool txInhibited(int i) const;  // chkTuneTx(i)
  bool channelOffEnabled(int i) const;
  bool txInhibitEnabled(int i) const;
  bool optionEnabled(int i) const;                   // optTestCh(i)
  int selectedChannel() const { return selected_; }  // index of the selected optTestCh, or -1
  const TuneFreqEditor& freqEditor() const { return editor_; }
  int currentRow() const { return curRow_; }
  int currentCol() const { return curCol_; }
  void setCurrentCell(int row, int col);
  // lblRadio and lblFreqRange.
  std::string radioLabel() const;
  std::string rangeLabel() const;

  // ---- whole table ----
  // Defaults of the selected model into the image (every channel off, transmit inhibited, at
  // the model's lower band edge with the 6.25 kHz step), then DisplayTuneGrid.
  void SetDefaultTuneChannels(Image& image);
  // Image to grid and boxes; keeps tuneDataChanged as it found it. The tune state is not
  // touched: a redisplay during tune mode must not make leaving forget the leave frames.
  void DisplayTuneGrid(const Image& image);
  // Grid and boxes to the image; bytes 10-15 of every record stay.
  void PackTuneGrid(Image& image) const;
  // PackTuneGrid, only when the table differs from what the image holds as displayed.
  void PackChanges(Image& image) const;
  // The working copy DisplayTuneGrid would make of the image.
  State StateOf(const Image& image) const;

  // ---- user actions ----
  CellPress pressCell(int row, int col);  // left button on a data cell
  CellPress keyPress(int key);            // Enter (13) or Space (32) on the grid
  // The signalling dialog closed: its text on OK, nullopt on Cancel.
  void finishSignalDialog(int row, int col, const std::optional<std::string>& result);
  void clickChannelOff(int i);   // chkTuneCH(i) toggled by the user
  void clickTxInhibit(int i);    // chkTuneTx(i) toggled by the user
  void clickTestChannel(int i);  // optTestCh(i)

  // ---- the frequency editor ----
  void editorTextChanged(std::string text);
  std::optional<char> filterEditorKey(char32_t key) const {
    return FreqEditorKey(key, app_.decimalSep);
  }
  void editorEnter();  // validate, the grid moves to the next column
  void editorUp();
  void editorDown();
  void validateEditor();
  void editorLostFocus();
  // Validates and closes an open editor (the panel click and CommitPendingEdit).
  bool CommitPendingEdit();

  // Frequency bytes 0-2 (or 5-7) of `f` MHz at step `stepMhz`: the count rounded to the
  // nearest step; bits 2-7 of b2 stay.
  static void EncodeTuneFreq(double f, double stepMhz, uint8_t& b0, uint8_t& b1, uint8_t& b2);
  // The frequency f on the table's step (stepMhz picks the count's unit), with the
  // step-unit bit given.
  static Frequency TuneFreq(double f, double stepMhz, bool step625);

 private:
  std::string& at(int row, int col);
  void markChanged() { flags_.tuneDataChanged = true; }
  double stepOfColumn(int row, int stepCol) const;
  const ModelEntry& model() const;
  void editorStep(int direction);
  void setEditorText(std::string text);

  const AppState& app_;
  EditFlags& flags_;
  Prompter& prompter_;
  EditObserver* observer_ = nullptr;
  const uint8_t& modelByte_;
  int16_t& curTuneChannel_;

  CellTable<std::string, kTuneGridRows, kTuneGridCols> cells_{};
  std::array<bool, kTuneChannelCount> chOff_{};
  std::array<bool, kTuneChannelCount> txOff_{};
  int selected_ = -1;
  int curRow_ = 1;
  int curCol_ = 1;
  TuneFreqEditor editor_;
};

}  // namespace qm
