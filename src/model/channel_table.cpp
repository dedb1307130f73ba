#include "model/channel_table.h"

#include <algorithm>

#include "base/grid_util.h"
#include "base/text_util.h"
#include "base/tr.h"
#include "model/codecs.h"
#include "model/layout.h"

namespace qm {

namespace {

using namespace cell_text;

bool ValidChannel(int i) { return i >= 0 && i < kChannelCount; }
bool IsTxColumn(int col) {
  return col == col::kTxFreq || col == col::kTxSignal || col == col::kBusyLock ||
         col == col::kPower;
}
bool IsFreqColumn(int col) { return col == col::kRxFreq || col == col::kTxFreq; }

}  // namespace

std::string ChannelRowHeader(int row) { return Fill(QM_TR("信道%1"), {std::to_string(row)}); }

CellLook LookOf(CellColor color, bool highlighted, const ThemeColors& theme) {
  Rgb wanted = theme.text;
  Rgb background = theme.base;
  switch (color) {
    case CellColor::Black:
      break;
    case CellColor::Active:
      wanted = kActiveRgb;
      break;
    case CellColor::Inactive:
      wanted = kInactiveRgb;
      break;
    case CellColor::ButtonFace:
      // Greyed as a control that is switched off: the faint text on the button face, still
      // readable (the text says what the channel will hold once switched on again).
      wanted = theme.disabledText;
      background = theme.button;
      break;
    case CellColor::GreyText:
      wanted = theme.disabledText;
      break;
  }
  if (highlighted) background = kSignalCellBackground;
  return {ReadableOn(wanted, background), background};
}

CellColor ToggleTextColor(int col, std::string_view text) {
  switch (col) {
    case col::kScan:
      return text == kScanAdd ? CellColor::Active : CellColor::Inactive;
    case col::kBusyLock:
      return text == kLockOn ? CellColor::Active : CellColor::Inactive;
    case col::kPower:
      return text == kPowerHigh ? CellColor::Active : CellColor::Inactive;
    case col::kBandwidth:
      return text == kWide ? CellColor::Active : CellColor::Inactive;
    default:
      return CellColor::Black;
  }
}

ChannelTableModel::ChannelTableModel(const AppState& app, EditFlags& flags, Prompter& prompter)
    : app_(app),
      flags_(flags),
      prompter_(prompter),
      radioBandwidth_([] { return std::string(kWide); }),
      identModelByte_([] { return uint8_t{0}; }) {
  txEnabled_.fill(true);
}

void ChannelTableModel::setRadioBandwidthSource(std::function<std::string()> source) {
  if (source) radioBandwidth_ = std::move(source);
}

void ChannelTableModel::setIdentModelByteSource(std::function<uint8_t()> source) {
  if (source) identModelByte_ = std::move(source);
}

const ChannelCell& ChannelTableModel::cell(int row, int col) const {
  return CellOf(cells_, row, col);
}

ChannelCell& ChannelTableModel::at(int row, int col) { return CellAt(cells_, row, col); }

bool ChannelTableModel::channelOff(int i) const { return Ticked(chOff_, i); }
bool ChannelTableModel::txInhibited(int i) const { return Ticked(txOff_, i); }
bool ChannelTableModel::txCheckEnabled(int i) const { return Ticked(txEnabled_, i); }
bool ChannelTableModel::txEqRx(int i) const { return Ticked(txEqRx_, i); }

GridChange ChannelTableModel::setCurrentCell(int row, int col) {
  GridChange change;
  if (!IsDataCell(cells_, row, col) || (row == curRow_ && col == curCol_)) return change;
  curRow_ = row;
  curCol_ = col;
  change.current = true;
  return change;
}

void ChannelTableModel::markChanged() { flags_.dataChanged = true; }

// ---- whole table ----

void ChannelTableModel::DisplayChannels(const Image& image) {
  bool remembered = flags_.dataChanged;
  editor_.visible = false;
  signalCell_.reset();
  for (int i = 0; i < kChannelCount; ++i)
    showRecord(i, image.row(addr::kChannels + 16 * static_cast<size_t>(i)));
  flags_.dataChanged = remembered;
}

std::array<std::string, kGridCols - 1> ChannelTexts(const Channel& ch, char sep) {
  return {ch.rx.text(sep),
          ch.rxSignal.text(sep),
          ch.tx.text(sep),
          ch.txSignal.text(sep),
          ch.scan == ScanList::Deleted ? kScanDelete : kScanAdd,
          ch.busyLock ? kLockOn : kLockOff,
          ch.power == Power::Low ? kPowerLow : kPowerHigh,
          ch.bandwidth == Bandwidth::Narrow ? kNarrow : kWide};
}

void ChannelTableModel::showRecord(int i, ConstRow r) {
  const char sep = app_.decimalSep;
  const int row = i + 1;
  const auto s = static_cast<size_t>(i);
  const Channel ch = DecodeChannel(r);
  chOff_[s] = !ch.inUse;
  txOff_[s] = !ch.txAllowed;
  const auto texts = ChannelTexts(ch, sep);
  for (int c = 1; c < kGridCols; ++c) {
    at(row, c).text = texts[static_cast<size_t>(c - 1)];
    at(row, c).highlighted = false;
  }
  txEqRx_[s] = txSideEqualsRx(i);
  UpdateChannelRow(i);
}

bool ChannelTableModel::txSideEqualsRx(int i) const {
  const int row = i + 1;
  return cell(row, col::kTxFreq).text == cell(row, col::kRxFreq).text &&
         cell(row, col::kTxSignal).text == cell(row, col::kRxSignal).text;
}

void ChannelTableModel::followTxLink(int row, int col) {
  const int i = row - 1;
  if (!txEqRx(i)) return;
  if (col == col::kRxFreq || col == col::kRxSignal) {
    // The transmit side follows the receive side for as long as the box stays ticked.
    ChannelCell& tx = at(row, col == col::kRxFreq ? col::kTxFreq : col::kTxSignal);
    if (tx.text != at(row, col).text) {
      tx.text = at(row, col).text;
      markChanged();
    }
  } else if ((col == col::kTxFreq || col == col::kTxSignal) && !txSideEqualsRx(i)) {
    // A transmit side of its own: the box no longer says what the row holds.
    txEqRx_[static_cast<size_t>(i)] = false;
  }
}

GridChange ChannelTableModel::setChannelRecord(int i, ConstRow record) {
  GridChange change;
  if (!ValidChannel(i) || signalCell_) return change;
  EditScope scope(observer_);
  if (editor_.visible) change.merge(validateEditor());
  const State before = state();
  showRecord(i, record);
  if (!state().sameContent(before)) markChanged();
  change.addRow(i + 1);
  return change;
}

bool ChannelTableModel::State::sameContent(const State& o) const {
  if (chOff != o.chOff || txOff != o.txOff || txEqRx != o.txEqRx) return false;
  for (int r = 1; r < kGridRows; ++r)
    for (int c = 1; c < kGridCols; ++c)
      if (cells[static_cast<size_t>(r)][static_cast<size_t>(c)].text !=
          o.cells[static_cast<size_t>(r)][static_cast<size_t>(c)].text)
        return false;
  return true;
}

ChannelTableModel::State ChannelTableModel::state() const {
  return State{cells_, chOff_, txOff_, txEnabled_, txEqRx_};
}

void ChannelTableModel::restore(const State& s) {
  cells_ = s.cells;
  chOff_ = s.chOff;
  txOff_ = s.txOff;
  txEnabled_ = s.txEnabled;
  txEqRx_ = s.txEqRx;
  editor_.visible = false;
  signalCell_.reset();
}

void ChannelTableModel::SaveChannels(Image& image) const {
  const char sep = app_.decimalSep;
  for (int i = 0; i < kChannelCount; ++i) {
    Row r = image.row(addr::kChannels + 16 * static_cast<size_t>(i));
    Channel ch = DecodeChannel(r);
    const int row = i + 1;
    const auto s = static_cast<size_t>(i);
    ch.inUse = !chOff_[s];
    ch.rx = FreqFromText(cell(row, col::kRxFreq).text, ch.rx, sep);
    ch.rxSignal = Signal::FromText(cell(row, col::kRxSignal).text, sep);
    ch.txAllowed = !txOff_[s];
    ch.tx = FreqFromText(cell(row, col::kTxFreq).text, ch.tx, sep);
    ch.txSignal = Signal::FromText(cell(row, col::kTxSignal).text, sep);
    ch.power = cell(row, col::kPower).text == kPowerLow ? Power::Low : Power::High;
    ch.scan = cell(row, col::kScan).text == kScanDelete ? ScanList::Deleted : ScanList::Added;
    ch.busyLock = cell(row, col::kBusyLock).text == kLockOn;
    ch.bandwidth = cell(row, col::kBandwidth).text == kNarrow ? Bandwidth::Narrow : Bandwidth::Wide;
    EncodeChannel(ch, r);
  }
}

void ChannelTableModel::UpdateChannelRow(int i) {
  if (!ValidChannel(i)) return;
  const int row = i + 1;
  const auto s = static_cast<size_t>(i);
  if (!chOff_[s]) {
    txEnabled_[s] = true;
    at(row, col::kRxFreq).color = CellColor::Black;
    at(row, col::kRxSignal).color = CellColor::Black;
    at(row, col::kScan).color = ToggleTextColor(col::kScan, at(row, col::kScan).text);
    ChannelCell& bw = at(row, col::kBandwidth);
    bw.color = radioBandwidth_() == kNarrow ? CellColor::GreyText
                                            : ToggleTextColor(col::kBandwidth, bw.text);
  } else {
    txEnabled_[s] = false;
    for (int c = 1; c < kGridCols; ++c) at(row, c).color = CellColor::ButtonFace;
  }
  UpdateTxCells(i);
}

void ChannelTableModel::UpdateTxCells(int i) {
  if (!ValidChannel(i)) return;
  const int row = i + 1;
  const auto s = static_cast<size_t>(i);
  if (!chOff_[s] && !txOff_[s]) {
    at(row, col::kTxFreq).color = CellColor::Black;
    at(row, col::kTxSignal).color = CellColor::Black;
    for (int c : {col::kBusyLock, col::kPower})
      at(row, c).color = ToggleTextColor(c, at(row, c).text);
  } else {
    for (int c : {col::kTxFreq, col::kTxSignal, col::kBusyLock, col::kPower})
      at(row, c).color = CellColor::ButtonFace;
  }
}

void ChannelTableModel::ApplyRadioBandwidth(std::string_view text) {
  for (int i = 0; i < kChannelCount; ++i) {
    if (chOff_[static_cast<size_t>(i)]) continue;
    ChannelCell& bw = at(i + 1, col::kBandwidth);
    bw.color = text == kNarrow ? CellColor::GreyText : ToggleTextColor(col::kBandwidth, bw.text);
  }
}

// ---- user actions ----

std::string ChannelTableModel::cellNote(int row, int col) const {
  if (row < 1 || row >= kGridRows || col < 1 || col >= kGridCols) return {};
  const auto s = static_cast<size_t>(row - 1);
  if (chOff_[s]) return cell_note::kChannelOff;
  const bool txCell =
      col == col::kTxFreq || col == col::kTxSignal || col == col::kBusyLock || col == col::kPower;
  if (txOff_[s] && txCell) return cell_note::kTxInhibited;
  if (col == col::kBandwidth && cell(row, col).color == CellColor::GreyText)
    return cell_note::kRadioNarrow;
  return {};
}

bool ChannelTableModel::rowActive(int i) const { return !chOff_[static_cast<size_t>(i)]; }

GridPress ChannelTableModel::pressCell(int row, int col) {
  EditScope scope(observer_);
  GridPress out;
  if (!IsDataCell(cells_, row, col) || signalCell_) return out;
  // A press elsewhere takes the focus from an open frequency editor first.
  if (editor_.visible) out.change.merge(validateEditor());
  out.change.merge(setCurrentCell(row, col));
  out.row = row;
  out.col = col;

  const int i = row - 1;
  if (!rowActive(i)) return out;
  if (txOff_[static_cast<size_t>(i)] && IsTxColumn(col)) return out;

  ChannelCell& c = at(row, col);
  switch (col) {
    case col::kRxFreq:
    case col::kTxFreq: {
      GridPress p = openFreqEditor(row, col, std::nullopt);
      p.change.merge(out.change);
      return p;
    }
    case col::kRxSignal:
    case col::kTxSignal:
      c.highlighted = true;
      signalCell_ = std::make_pair(row, col);
      out.action = GridAction::OpenSignalDialog;
      out.signalText = c.text;
      out.change.addRow(row);
      return out;
    case col::kScan:
      c.text = c.text == kScanAdd ? kScanDelete : kScanAdd;
      c.color = ToggleTextColor(col, c.text);
      break;
    case col::kBusyLock:
      c.text = c.text == kLockOff ? kLockOn : kLockOff;
      c.color = ToggleTextColor(col, c.text);
      break;
    case col::kPower:
      c.text = c.text == kPowerHigh ? kPowerLow : kPowerHigh;
      c.color = ToggleTextColor(col, c.text);
      break;
    case col::kBandwidth:
      if (radioBandwidth_() == kWide) {
        c.text = c.text == kWide ? kNarrow : kWide;
        c.color = ToggleTextColor(col, c.text);
      } else {
        c.text = kNarrow;
        c.color = CellColor::GreyText;
      }
      break;
    default:
      return out;
  }
  markChanged();
  out.change.addRow(row);
  return out;
}

GridPress ChannelTableModel::keyPress(int key) {
  EditScope scope(observer_);
  GridPress out;
  if (signalCell_) return out;
  if (key == 13) {
    GridCell next = GridNextCell({curRow_, curCol_}, kGridRows, kGridCols);
    out.change = setCurrentCell(next.row, next.col);
    out.row = curRow_;
    out.col = curCol_;
    return out;
  }
  if (key == 32) return pressCell(curRow_, curCol_);
  if (key >= '0' && key <= '9' && IsFreqColumn(curCol_)) {
    const int i = curRow_ - 1;
    // The same guards as a press: a switched-off channel or an inhibited transmit side
    // cannot be edited by typing either.
    if (!rowActive(i) || (txOff_[static_cast<size_t>(i)] && IsTxColumn(curCol_))) return out;
    return openFreqEditor(curRow_, curCol_, static_cast<char>(key));
  }
  return out;
}

GridPress ChannelTableModel::openFreqEditor(int row, int col, std::optional<char> digit) {
  GridPress out;
  if (editor_.visible) out.change.merge(validateEditor());
  out.action = GridAction::OpenFreqEditor;
  out.row = row;
  out.col = col;
  const std::string& text = at(row, col).text;
  editor_.visible = true;
  editor_.row = row;
  editor_.col = col;
  editor_.text = text;
  editor_.tag = text;
  editor_.selStart = 0;
  editor_.selLength = static_cast<int>(std::min<size_t>(9, Utf8Length(text)));
  out.change.editor = true;
  if (digit) {
    setEditorText(std::string(1, *digit), out.change);
    editor_.selStart = 1;
    editor_.selLength = 0;
  }
  return out;
}

// A click on a row's box: the box flips when it may, the row's cells follow.
GridChange ChannelTableModel::clickBox(std::array<bool, kChannelCount>& boxes, int i, bool enabled,
                                       void (ChannelTableModel::*follow)(int)) {
  EditScope scope(observer_);
  GridChange change;
  if (!ValidChannel(i) || !enabled) return change;
  Flip(boxes, i);
  (this->*follow)(i);
  markChanged();
  change.addRow(i + 1);
  return change;
}

GridChange ChannelTableModel::clickChannelOff(int i) {
  return clickBox(chOff_, i, true, &ChannelTableModel::UpdateChannelRow);
}

GridChange ChannelTableModel::clickTxInhibit(int i) {
  return clickBox(txOff_, i, txCheckEnabled(i), &ChannelTableModel::UpdateTxCells);
}

GridChange ChannelTableModel::clickTxEqRx(int i) {
  EditScope scope(observer_);
  GridChange change;
  if (!ValidChannel(i)) return change;
  auto s = static_cast<size_t>(i);
  if (editor_.visible && editor_.row == i + 1) change.merge(validateEditor());
  txEqRx_[s] = !txEqRx_[s];
  // Ticked, the transmit side takes the receive side's frequency and signalling; unticked,
  // both stay as they are.
  if (txEqRx_[s]) {
    followTxLink(i + 1, col::kRxFreq);
    followTxLink(i + 1, col::kRxSignal);
  }
  change.addRow(i + 1);
  return change;
}

GridChange ChannelTableModel::finishSignalDialog(const std::optional<std::string>& result) {
  EditScope scope(observer_);
  GridChange change;
  if (!signalCell_) return change;
  auto [row, col] = *signalCell_;
  signalCell_.reset();
  ChannelCell& c = at(row, col);
  c.highlighted = false;
  if (result && *result != c.text) {
    c.text = *result;
    markChanged();
    followTxLink(row, col);
  }
  change.addRow(row);
  return change;
}

GridChange ChannelTableModel::setCellText(int row, int col, std::string text) {
  EditScope scope(observer_);
  GridChange change;
  if (!IsDataCell(cells_, row, col)) return change;
  ChannelCell& c = at(row, col);
  if (c.text == text) return change;
  c.text = std::move(text);
  markChanged();
  followTxLink(row, col);
  // A value set whole (a paste, an import, a bulk edit) leaves the box as a reload of the
  // data would show it.
  if (col >= col::kRxFreq && col <= col::kTxSignal)
    txEqRx_[static_cast<size_t>(row - 1)] = txSideEqualsRx(row - 1);
  UpdateChannelRow(row - 1);
  change.addRow(row);
  return change;
}

// ---- the frequency editor ----

void ChannelTableModel::setEditorText(std::string text, GridChange& change) {
  editor_.text = std::move(text);
  change.editor = true;
  ChannelCell& c = at(editor_.row, editor_.col);
  if (c.text != editor_.text) {
    c.text = editor_.text;
    markChanged();
    followTxLink(editor_.row, editor_.col);
    change.addRow(editor_.row);
  }
}

// The editor's edit ends as a step of its own.
void ChannelTableModel::closeEditor(GridChange& change) {
  editor_.visible = false;
  change.editor = true;
  EditBoundary(observer_);
}

GridChange ChannelTableModel::editorTextChanged(std::string text) {
  EditScope scope(observer_);
  GridChange change;
  if (!editor_.visible) return change;
  setEditorText(std::move(text), change);
  return change;
}

GridChange ChannelTableModel::validateEditor() {
  EditScope scope(observer_);
  GridChange change;
  if (!editor_.visible || validating_) return change;
  // The band check may show a message box, which takes the focus from the editor; the
  // widget then reports a lost focus while this validation is still running.
  validating_ = true;
  ValidFreq v = getValidFreq(editor_.text, app_, identModelByte_(), prompter_);
  validating_ = false;
  if (v.flag == 1) {
    setEditorText(FormatFreq(v.mhz, app_.decimalSep), change);
    editor_.tag = editor_.text;
  } else {
    setEditorText(editor_.tag, change);
  }
  closeEditor(change);
  return change;
}

GridChange ChannelTableModel::editorEnter() {
  EditScope scope(observer_);
  GridChange change;
  if (!editor_.visible) return change;
  const int row = editor_.row;
  const int col = editor_.col;
  change.merge(validateEditor());
  change.merge(setCurrentCell(row, col + 1));
  return change;
}

GridChange ChannelTableModel::editorEscape() {
  EditScope scope(observer_);
  GridChange change;
  if (!editor_.visible) return change;
  setEditorText(editor_.tag, change);
  closeEditor(change);
  return change;
}

bool ChannelTableModel::CommitPendingEdit() {
  EditScope scope(observer_);
  if (!editor_.visible) return false;
  validateEditor();
  return true;
}

}  // namespace qm
