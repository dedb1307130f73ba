#include "document/edit_history.h"

#include <algorithm>
#include <array>

#include "base/tr.h"

namespace qm {

namespace {

// What a step names, column by column.
constexpr std::array<const char*, kGridCols> kChannelColumnNames = {"",
                                                                    QM_TR("接收频率"),
                                                                    QM_TR("接收CTC/DCS"),
                                                                    QM_TR("发射频率"),
                                                                    QM_TR("发射CTC/DCS"),
                                                                    QM_TR("扫描"),
                                                                    QM_TR("繁忙锁定"),
                                                                    QM_TR("发射功率"),
                                                                    QM_TR("带宽")};
constexpr std::array<const char*, kTuneGridCols> kTuneColumnNames = {"",
                                                                     QM_TR("接收频率"),
                                                                     QM_TR("接收步进"),
                                                                     QM_TR("接收CTC/DCS"),
                                                                     QM_TR("发射频率"),
                                                                     QM_TR("发射步进"),
                                                                     QM_TR("发射CTC/DCS")};
// The unit of the function lists: a change of two lists has no one name.
constexpr const char* kFunctionsUnit = "functions";

// The settings a step changed, each with the unit (a channel) it belongs to.
struct Changed {
  std::vector<std::string> names;
  std::vector<std::string> units;
  void add(std::string unit, std::string name) {
    units.push_back(std::move(unit));
    names.push_back(std::move(name));
  }
};

const std::string& CellText(const ChannelTableModel::State& st, size_t row, size_t col) {
  return st.cells[row][col].text;
}
const std::string& CellText(const TuneTableModel::State& st, size_t row, size_t col) {
  return st.cells[row][col];
}

template <class State, size_t Cols>
void CompareRows(const State& a, const State& b, const char* unitTemplate,
                 const std::array<const char*, Cols>& columns, Changed& out) {
  for (size_t s = 0; s < a.chOff.size(); ++s) {
    const std::string unit = Fill(unitTemplate, {std::to_string(s + 1)});
    if (a.chOff[s] != b.chOff[s])
      out.add(unit, Fill(b.chOff[s] ? QM_TR("关闭%1") : QM_TR("打开%1"), {unit}));
    if (a.txOff[s] != b.txOff[s]) out.add(unit, Fill(QM_TR("修改%1禁发"), {unit}));
    for (size_t c = 1; c < Cols; ++c) {
      if (CellText(a, s + 1, c) != CellText(b, s + 1, c))
        out.add(unit, Fill(QM_TR("修改%1%2"), {unit, columns[c]}));
    }
  }
}

}  // namespace

bool EditSnapshot::sameContent(const EditSnapshot& o) const {
  return image == o.image && channels.sameContent(o.channels) && functions == o.functions &&
         tune == o.tune;
}

std::string DescribeEdit(const EditSnapshot& before, const EditSnapshot& after) {
  Changed changed;
  // A transmit side linked by "Tx<-Rx" follows the receive side: the step is named by what
  // the user changed, not by what followed it (the copy when ticking, the untick when the
  // transmit side was given values of its own).
  ChannelTableModel::State shown = after.channels;
  for (size_t i = 0; i < kChannelCount; ++i) {
    if (!after.channels.txEqRx[i]) continue;
    for (int c : {col::kTxFreq, col::kTxSignal})
      shown.cells[i + 1][static_cast<size_t>(c)].text =
          before.channels.cells[i + 1][static_cast<size_t>(c)].text;
  }
  const size_t named = changed.names.size();
  CompareRows(before.channels, shown, QM_TR("信道%1"), kChannelColumnNames, changed);
  for (size_t i = 0; i < kChannelCount; ++i) {
    if (before.channels.txEqRx[i] == after.channels.txEqRx[i]) continue;
    const std::string unit = Fill(QM_TR("信道%1"), {std::to_string(i + 1)});
    const bool cellsNamed = std::find(changed.units.begin() + static_cast<std::ptrdiff_t>(named),
                                      changed.units.end(), unit) != changed.units.end();
    if (after.channels.txEqRx[i] || !cellsNamed)
      changed.add(unit, Fill(QM_TR("修改%1Tx<-Rx"), {unit}));
  }
  for (size_t f = 0; f < kFunctionListCount; ++f) {
    if (before.functions[f].combo != after.functions[f].combo)
      changed.add(kFunctionsUnit, Fill(QM_TR("修改%1"), {kFunctionLists[f].label}));
  }
  if (before.tune && after.tune)
    CompareRows(*before.tune, *after.tune, QM_TR("调测信道%1"), kTuneColumnNames, changed);
  if (changed.names.size() == 1) return changed.names.front();
  bool oneUnit = !changed.units.empty() && changed.units.front() != kFunctionsUnit;
  for (const std::string& u : changed.units) oneUnit = oneUnit && u == changed.units.front();
  if (oneUnit) return Fill(QM_TR("修改%1"), {changed.units.front()});
  return QM_TR("修改数据");
}

EditHistory::EditHistory(Image& image, EditFlags& flags, RadioEditors& editors)
    : image_(image), flags_(flags), editors_(editors) {
  editors_.channels().setEditObserver(this);
  editors_.functions().setEditObserver(this);
}

void EditHistory::attachTune(TuneTableModel& table) {
  tune_ = &table;
  table.setEditObserver(this);
}

EditSnapshot EditHistory::capture() const {
  EditSnapshot s{image_, flags_, editors_.channels().state(), editors_.functions().state(), {}};
  if (tune_) s.tune = tune_->state();
  return s;
}

bool EditHistory::editing() const {
  return editors_.channels().editing() || (tune_ && tune_->editing());
}

void EditHistory::notify() {
  if (changed) changed();
}

void EditHistory::openStep(const std::string& label) {
  open_ = capture();
  openLabel_ = label;
}

void EditHistory::closeStep() {
  if (!open_) return;
  EditSnapshot after = capture();
  const bool differs = !after.sameContent(*open_);
  if (differs) {
    std::string label = openLabel_.empty() ? DescribeEdit(*open_, after) : openLabel_;
    undo_.push_back(Step{std::move(label), std::move(*open_), std::move(after)});
    if (undo_.size() > kMaxSteps) undo_.erase(undo_.begin());
    redo_.clear();
  }
  open_.reset();
  openLabel_.clear();
  if (differs) notify();
}

void EditHistory::beginEdit(const std::string& label) {
  // A named command starts a step of its own, even after an in-place edit left open.
  if (depth_ == 0 && open_ && !label.empty()) closeStep();
  if (!open_) {
    openStep(label);
  } else if (openLabel_.empty() && depth_ > 0) {
    openLabel_ = label;
  }
  ++depth_;
}

void EditHistory::endEdit() {
  if (depth_ > 0) --depth_;
  // An open frequency editor or signalling dialog keeps the step open until it closes.
  if (depth_ == 0 && open_ && !editing()) closeStep();
}

void EditHistory::editBoundary() {
  if (!open_) return;
  const std::string label = openLabel_;
  closeStep();
  // The rest of the action that is running is a step of its own.
  if (depth_ > 0) openStep(depth_ > 1 ? label : std::string());
}

bool EditHistory::canUndo() const { return !undo_.empty(); }

std::string EditHistory::undoLabel() const { return undo_.empty() ? "" : undo_.back().label; }
std::string EditHistory::redoLabel() const { return redo_.empty() ? "" : redo_.back().label; }

void EditHistory::restore(const EditSnapshot& to, const EditSnapshot& from) {
  for (size_t k = 0; k < kImageSize; ++k)
    if (from.image[k] != to.image[k]) image_[k] = to.image[k];
  flags_ = to.flags;
  editors_.channels().restore(to.channels);
  editors_.functions().restore(to.functions);
  if (tune_ && to.tune) tune_->restore(*to.tune);
}

bool EditHistory::undo() { return replay(undo_, redo_, true); }

bool EditHistory::redo() { return replay(redo_, undo_, false); }

bool EditHistory::replay(std::vector<Step>& from, std::vector<Step>& to, bool back) {
  if (depth_ > 0) return false;
  closeStep();
  if (from.empty()) return false;
  Step step = std::move(from.back());
  from.pop_back();
  if (back)
    restore(step.before, step.after);
  else
    restore(step.after, step.before);
  to.push_back(std::move(step));
  notify();
  return true;
}

void EditHistory::clear() {
  const bool had = !undo_.empty() || !redo_.empty();
  undo_.clear();
  redo_.clear();
  open_.reset();
  openLabel_.clear();
  depth_ = 0;
  if (had) notify();
}

void EditHistory::markSaved() {
  for (std::vector<Step>* steps : {&undo_, &redo_}) {
    for (Step& s : *steps) {
      for (EditSnapshot* snap : {&s.before, &s.after}) {
        snap->flags.dataChanged = true;
        snap->flags.functionsChanged = true;
      }
    }
  }
}

void EditHistory::markTuneWritten() {
  for (std::vector<Step>* steps : {&undo_, &redo_}) {
    for (Step& s : *steps) {
      s.before.flags.tuneDataChanged = true;
      s.after.flags.tuneDataChanged = true;
    }
  }
  if (open_) open_->flags.tuneDataChanged = true;
}

}  // namespace qm
