#include "tune/tune_table.h"

#include <cmath>

#include "base/model_table.h"
#include "base/text_util.h"
#include "base/tr.h"
#include "model/codecs.h"
#include "model/layout.h"

namespace qm {

namespace {

constexpr int64_t kStep625Hz = 6250;
constexpr int64_t kStep5Hz = 5000;
constexpr double kEditorStepMhz = 0.00625;

bool ValidChannel(int i) { return i >= 0 && i < kTuneChannelCount; }
bool IsTxColumn(int col) { return col >= tunecol::kTxFreq && col <= tunecol::kTxSignal; }
bool IsFreqColumn(int col) { return col == tunecol::kRxFreq || col == tunecol::kTxFreq; }
bool IsStepColumn(int col) { return col == tunecol::kRxStep || col == tunecol::kTxStep; }
bool IsSignalColumn(int col) { return col == tunecol::kRxSignal || col == tunecol::kTxSignal; }

// f snapped to the nearest multiple of the step (ties to even), in Hz.
int64_t SnapHz(double f, int64_t stepHz) { return StepCount(MhzToFine(f), stepHz) * stepHz; }

std::string StepText(bool step625, char sep) {
  return step625 ? std::string(kTuneStep625) : FormatFixed(5.0, 1, 2, sep);
}

}  // namespace

TuneTableModel::TuneTableModel(const AppState& app, EditFlags& flags, Prompter& prompter,
                               const uint8_t& modelByte, int16_t& curTuneChannel)
    : app_(app),
      flags_(flags),
      prompter_(prompter),
      modelByte_(modelByte),
      curTuneChannel_(curTuneChannel) {}

const std::string& TuneTableModel::text(int row, int col) const { return CellOf(cells_, row, col); }

std::string& TuneTableModel::at(int row, int col) { return CellAt(cells_, row, col); }

TuneCellColor TuneTableModel::color(int row, int col) const {
  if (!IsDataCell(cells_, row, col)) return TuneCellColor::Black;
  const int i = row - 1;
  const bool tx = IsTxColumn(col);
  const bool txOff = txOff_[static_cast<size_t>(i)];
  if (i == selected_) return tx && txOff ? TuneCellColor::ButtonFace : TuneCellColor::Red;
  if (chOff_[static_cast<size_t>(i)]) return TuneCellColor::ButtonFace;
  if (tx && txOff) return TuneCellColor::ButtonFace;
  return TuneCellColor::Black;
}

std::string TuneTableModel::cellNote(int row, int col) const {
  if (!IsDataCell(cells_, row, col)) return {};
  const auto s = static_cast<size_t>(row - 1);
  const char* state = chOff_[s]                      ? tune_note::kChannelOff
                      : txOff_[s] && IsTxColumn(col) ? tune_note::kTxInhibited
                                                     : nullptr;
  if (row - 1 != selected_) return state ? state : "";
  return state ? Fill(tune_note::kTuneChannelAnd, {state}) : tune_note::kTuneChannel;
}

CellLook TuneLookOf(TuneCellColor color, const ThemeColors& theme) {
  switch (color) {
    case TuneCellColor::Black:
      break;
    case TuneCellColor::ButtonFace:
      return {ReadableOn(theme.disabledText, theme.button), theme.button};
    case TuneCellColor::Red:
      return {ReadableOn(kMarkRed, theme.base), theme.base};
  }
  return {ReadableOn(theme.text, theme.base), theme.base};
}

bool TuneTableModel::channelOff(int i) const { return Ticked(chOff_, i); }
bool TuneTableModel::txInhibited(int i) const { return Ticked(txOff_, i); }
// The selected channel can be neither switched off nor inhibited; a switched-off channel's
// transmit box and option button wait until it is on again.
bool TuneTableModel::channelOffEnabled(int i) const { return ValidChannel(i) && i != selected_; }
bool TuneTableModel::txInhibitEnabled(int i) const {
  return channelOffEnabled(i) && !chOff_[static_cast<size_t>(i)];
}
bool TuneTableModel::optionEnabled(int i) const {
  return ValidChannel(i) && !chOff_[static_cast<size_t>(i)];
}

void TuneTableModel::setCurrentCell(int row, int col) {
  if (!IsDataCell(cells_, row, col)) return;
  curRow_ = row;
  curCol_ = col;
}

const ModelEntry& TuneTableModel::model() const { return app_.model(modelByte_); }

std::string TuneTableModel::radioLabel() const { return model().name; }
std::string TuneTableModel::rangeLabel() const { return BuildRangeLabelText(app_, modelByte_); }

void TuneTableModel::EncodeTuneFreq(double f, double stepMhz, uint8_t& b0, uint8_t& b1,
                                    uint8_t& b2) {
  RecordBytes rec{b0, b1, b2};
  Channel ch = DecodeChannel(rec);
  ch.rx = TuneFreq(f, stepMhz, ch.rx.step625);
  EncodeChannel(ch, rec);
  b0 = rec[0];
  b1 = rec[1];
  b2 = rec[2];
}

Frequency TuneTableModel::TuneFreq(double f, double stepMhz, bool step625) {
  const int64_t stepHz = stepMhz > 0.0055 ? kStep625Hz : kStep5Hz;
  // The table's count wraps at the field's 18 bits; the step-unit bit is the column's own.
  return Frequency::FromCount(StepCount(MhzToFine(f), stepHz), step625);
}

void TuneTableModel::SetDefaultTuneChannels(Image& image) {
  Channel ch;
  ch.rx = TuneFreq(app_.currentModel().rangeLow, 0.00625, true);
  ch.tx = ch.rx;
  ch.presetChannel = 1;
  for (int r = 0; r < kTuneChannelCount; ++r) EncodeChannel(ch, image.tuneChannel(r).bytes());
  DisplayTuneGrid(image);
}

TuneTableModel::State TuneTableModel::StateOf(const Image& image) const {
  State out = state();
  const char sep = app_.decimalSep;
  for (int r = 0; r < kTuneChannelCount; ++r) {
    const ConstRow rec = image.row(addr::kTuneChannels + 16 * static_cast<size_t>(r));
    auto& cells = out.cells[static_cast<size_t>(r + 1)];
    const Channel ch = DecodeChannel(rec);
    out.chOff[static_cast<size_t>(r)] = !ch.inUse;
    cells[static_cast<size_t>(tunecol::kRxFreq)] = ch.rx.text(sep);
    cells[static_cast<size_t>(tunecol::kRxStep)] = StepText(ch.rx.step625, sep);
    cells[static_cast<size_t>(tunecol::kRxSignal)] = ch.rxSignal.text(sep);
    out.txOff[static_cast<size_t>(r)] = !ch.txAllowed;
    cells[static_cast<size_t>(tunecol::kTxFreq)] = ch.tx.text(sep);
    cells[static_cast<size_t>(tunecol::kTxStep)] = StepText(ch.tx.step625, sep);
    cells[static_cast<size_t>(tunecol::kTxSignal)] = ch.txSignal.text(sep);
  }
  return out;
}

void TuneTableModel::DisplayTuneGrid(const Image& image) {
  const bool changed = flags_.tuneDataChanged;
  const State shown = StateOf(image);
  cells_ = shown.cells;
  chOff_ = shown.chOff;
  txOff_ = shown.txOff;
  selected_ = -1;
  if (curTuneChannel_ >= 1 && curTuneChannel_ <= kTuneChannelCount) {
    clickTestChannel(curTuneChannel_ - 1);
  }
  editor_.visible = false;
  flags_.tuneDataChanged = changed;
}

double TuneTableModel::stepOfColumn(int row, int stepCol) const {
  return IsStep625(text(row, stepCol)) ? 0.00625 : 0.005;
}

void TuneTableModel::PackTuneGrid(Image& image) const {
  const char sep = app_.decimalSep;
  for (int r = 0; r < kTuneChannelCount; ++r) {
    Channel ch = DecodeChannel(image.tuneChannel(r).bytes());
    const int row = r + 1;
    struct Side {
      Frequency& freq;
      Signal& signal;
      bool& on;
      int freqCol;
      bool off;
    };
    const Side sides[2] = {
        {ch.rx, ch.rxSignal, ch.inUse, tunecol::kRxFreq, chOff_[static_cast<size_t>(r)]},
        {ch.tx, ch.txSignal, ch.txAllowed, tunecol::kTxFreq, txOff_[static_cast<size_t>(r)]}};
    for (const Side& s : sides) {
      s.on = !s.off;
      const double step = stepOfColumn(row, s.freqCol + 1);
      const bool step625 = step > 0.0055;
      // A cell that does not hold a number keeps the count the record had.
      if (auto f = ParseNumber(text(row, s.freqCol), sep))
        s.freq = TuneFreq(*f, step, step625);
      else
        s.freq = Frequency::FromCount(s.freq.count(), step625);
      s.signal = Signal::FromText(text(row, s.freqCol + 2), sep);
    }
    EncodeChannel(ch, image.tuneChannel(r).bytes());
  }
}

void TuneTableModel::PackChanges(Image& image) const {
  // A table that shows what the image holds is left alone: packing rebuilds every record
  // from its texts, which would change odd bytes of a file that nobody edited.
  if (StateOf(image) != state()) PackTuneGrid(image);
}

CellPress TuneTableModel::pressCell(int row, int col) {
  EditScope scope(observer_);
  CellPress out;
  if (!IsDataCell(cells_, row, col)) return out;
  setCurrentCell(row, col);
  const int i = row - 1;
  const size_t u = static_cast<size_t>(i);
  // A switched-off channel, or the transmit side of an inhibited one, is not edited: the
  // press does what a click on its box does, without changing the box.
  if (chOff_[u]) {
    markChanged();
    return out;
  }
  if (txOff_[u] && IsTxColumn(col)) {
    markChanged();
    return out;
  }
  out.row = row;
  out.col = col;
  if (IsFreqColumn(col)) {
    // Another cell's editor closes first: its edit is a step of its own.
    if (editor_.visible) EditBoundary(observer_);
    editor_ = TuneFreqEditor{true, row, col, text(row, col), text(row, col)};
    out.action = GridAction::OpenFreqEditor;
  } else if (IsStepColumn(col)) {
    const bool to625 = !IsStep625(text(row, col));
    at(row, col) = StepText(to625, app_.decimalSep);
    if (auto f = ParseNumber(text(row, col - 1), app_.decimalSep)) {
      const double snapped = static_cast<double>(SnapHz(*f, to625 ? kStep625Hz : kStep5Hz)) / 1e6;
      at(row, col - 1) = FormatFreq(CheckFreqRange(snapped, model(), prompter_), app_.decimalSep);
    }
    markChanged();
  } else if (IsSignalColumn(col)) {
    out.action = GridAction::OpenSignalDialog;
    out.signalText = text(row, col);
  }
  return out;
}

CellPress TuneTableModel::keyPress(int key) {
  EditScope scope(observer_);
  if (key == 13) {
    const GridCell next = GridNextCell({curRow_, curCol_}, kTuneGridRows, kTuneGridCols);
    setCurrentCell(next.row, next.col);
    return {};
  }
  if (key == 32) return pressCell(curRow_, curCol_);
  return {};
}

void TuneTableModel::finishSignalDialog(int row, int col,
                                        const std::optional<std::string>& result) {
  EditScope scope(observer_);
  if (!IsDataCell(cells_, row, col) || !IsSignalColumn(col) || !result) return;
  if (*result == text(row, col)) return;
  at(row, col) = *result;
  markChanged();
}

void TuneTableModel::clickChannelOff(int i) {
  EditScope scope(observer_);
  if (!channelOffEnabled(i)) return;
  Flip(chOff_, i);
  markChanged();
}

void TuneTableModel::clickTxInhibit(int i) {
  EditScope scope(observer_);
  if (!txInhibitEnabled(i)) return;
  Flip(txOff_, i);
  markChanged();
}

void TuneTableModel::clickTestChannel(int i) {
  if (!ValidChannel(i)) return;
  selected_ = i;
  curTuneChannel_ = static_cast<int16_t>(i + 1);
}

// The editor's text goes into its cell at once; only a real change marks the table edited.
void TuneTableModel::setEditorText(std::string text) {
  if (!IsDataCell(cells_, editor_.row, editor_.col)) return;
  const bool differs = text != editor_.text || text != at(editor_.row, editor_.col);
  editor_.text = std::move(text);
  at(editor_.row, editor_.col) = editor_.text;
  if (differs) markChanged();
}

void TuneTableModel::editorTextChanged(std::string text) {
  EditScope scope(observer_);
  if (!editor_.visible) return;
  setEditorText(std::move(text));
}

void TuneTableModel::editorStep(int direction) {
  if (!editor_.visible) return;
  auto f = ParseNumber(editor_.text, app_.decimalSep);
  if (!f) return;
  setEditorText(FormatFreq(*f + direction * kEditorStepMhz, app_.decimalSep));
}

void TuneTableModel::validateEditor() {
  EditScope scope(observer_);
  if (!editor_.visible) return;
  const std::string_view t = TrimSpaces(editor_.text);
  auto f = ParseNumber(t, app_.decimalSep);
  if (t.empty()) {
    // An emptied editor would leave the cell without a frequency: the previous one stays.
    setEditorText(editor_.previous);
    return;
  }
  if (!f) {
    Notify(prompter_, QM_TR("频率错误"), QM_TR("调测频率错误！"), Icon::Exclamation);
    setEditorText(editor_.previous);
    return;
  }
  const bool step625 = IsStep625(text(editor_.row, editor_.col + 1));
  const double snapped = static_cast<double>(SnapHz(*f, step625 ? kStep625Hz : kStep5Hz)) / 1e6;
  setEditorText(FormatFreq(CheckFreqRange(snapped, model(), prompter_), app_.decimalSep));
  editor_.previous = editor_.text;
}

void TuneTableModel::editorEnter() {
  EditScope scope(observer_);
  if (!editor_.visible) return;
  const int row = editor_.row;
  const int col = editor_.col;
  validateEditor();
  editor_.visible = false;  // the focus goes back to the grid
  EditBoundary(observer_);
  setCurrentCell(row, col + 1);
}

void TuneTableModel::editorLostFocus() {
  if (!editor_.visible) return;
  EditScope scope(observer_);
  editor_.visible = false;
  EditBoundary(observer_);
}

void TuneTableModel::editorUp() {
  EditScope scope(observer_);
  editorStep(+1);
}

void TuneTableModel::editorDown() {
  EditScope scope(observer_);
  editorStep(-1);
}

void TuneTableModel::restore(const State& s) {
  cells_ = s.cells;
  chOff_ = s.chOff;
  txOff_ = s.txOff;
  editor_.visible = false;
  if (selected_ >= 0 && chOff_[static_cast<size_t>(selected_)]) {
    selected_ = -1;
    curTuneChannel_ = 0;
  }
}

bool TuneTableModel::CommitPendingEdit() {
  EditScope scope(observer_);
  if (!editor_.visible) return false;
  validateEditor();
  editor_.visible = false;
  EditBoundary(observer_);
  return true;
}

}  // namespace qm
