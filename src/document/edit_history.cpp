#include "document/edit_history.h"

#include <array>

namespace qm {

namespace {

// What a step names, column by column.
constexpr std::array<const char*, kGridCols> kChannelColumnNames = {
    "",     "接收频率", "接收CTC/DCS", "发射频率", "发射CTC/DCS",
    "扫描", "繁忙锁定", "发射功率",    "带宽"};
constexpr std::array<const char*, kTuneGridCols> kTuneColumnNames = {
    "", "接收频率", "接收步进", "接收CTC/DCS", "发射频率", "发射步进", "发射CTC/DCS"};

// The settings a step changed, each with the unit (a channel) it belongs to.
struct Changed {
  std::vector<std::string> names;
  std::vector<std::string> units;
  void add(std::string unit, std::string name) {
    units.push_back(unit);
    names.push_back(std::move(name));
  }
};

void CompareChannels(const ChannelTableModel::State& a, const ChannelTableModel::State& b,
                     Changed& out) {
  for (int i = 0; i < kChannelCount; ++i) {
    const auto s = static_cast<size_t>(i);
    const std::string unit = "信道" + std::to_string(i + 1);
    if (a.chOff[s] != b.chOff[s]) out.add(unit, (b.chOff[s] ? "关闭" : "打开") + unit);
    if (a.txOff[s] != b.txOff[s]) out.add(unit, "修改" + unit + "禁发");
    if (a.txEqRx[s] != b.txEqRx[s]) out.add(unit, "修改" + unit + "Tx<-Rx");
    for (int c = 1; c < kGridCols; ++c) {
      if (a.cells[s + 1][static_cast<size_t>(c)].text !=
          b.cells[s + 1][static_cast<size_t>(c)].text)
        out.add(unit, "修改" + unit + kChannelColumnNames[static_cast<size_t>(c)]);
    }
  }
}

void CompareTune(const TuneTableModel::State& a, const TuneTableModel::State& b, Changed& out) {
  for (int i = 0; i < kTuneChannelCount; ++i) {
    const auto s = static_cast<size_t>(i);
    const std::string unit = "调测信道" + std::to_string(i + 1);
    if (a.chOff[s] != b.chOff[s]) out.add(unit, (b.chOff[s] ? "关闭" : "打开") + unit);
    if (a.txOff[s] != b.txOff[s]) out.add(unit, "修改" + unit + "禁发");
    for (int c = 1; c < kTuneGridCols; ++c) {
      if (a.cells[s + 1][static_cast<size_t>(c)] != b.cells[s + 1][static_cast<size_t>(c)])
        out.add(unit, "修改" + unit + kTuneColumnNames[static_cast<size_t>(c)]);
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
  CompareChannels(before.channels, after.channels, changed);
  for (int f = 0; f < kFunctionListCount; ++f) {
    const auto s = static_cast<size_t>(f);
    if (before.functions[s].combo != after.functions[s].combo)
      changed.add("整机功能", std::string("修改") + kFunctionLists[s].label);
  }
  if (before.tune && after.tune) CompareTune(*before.tune, *after.tune, changed);
  if (changed.names.size() == 1) return changed.names.front();
  bool oneUnit = !changed.units.empty();
  for (const std::string& u : changed.units) oneUnit = oneUnit && u == changed.units.front();
  if (oneUnit) return "修改" + changed.units.front();
  return "修改数据";
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

bool EditHistory::undo() {
  if (depth_ > 0) return false;
  closeStep();
  if (undo_.empty()) return false;
  Step step = std::move(undo_.back());
  undo_.pop_back();
  restore(step.before, step.after);
  redo_.push_back(std::move(step));
  notify();
  return true;
}

bool EditHistory::redo() {
  if (depth_ > 0) return false;
  closeStep();
  if (redo_.empty()) return false;
  Step step = std::move(redo_.back());
  redo_.pop_back();
  restore(step.after, step.before);
  undo_.push_back(std::move(step));
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

}  // namespace qm
