#include "base/combo.h"

namespace qm {

namespace {
const std::string kEmpty;
}

ComboModel::ComboModel(std::vector<std::string> items, int selected) : items_(std::move(items)) {
  select(selected);
}

const std::string& ComboModel::item(int pos) const {
  if (pos < 0 || pos >= count()) return kEmpty;
  return items_[static_cast<size_t>(pos)];
}

bool ComboModel::select(int pos) {
  if (pos < -1 || pos >= count()) return false;
  selected_ = pos;
  return true;
}

void ComboModel::clear() {
  items_.clear();
  selected_ = -1;
}

void ComboModel::add(std::string text) { items_.push_back(std::move(text)); }

void ComboModel::insert(int pos, std::string text) {
  if (pos < 0 || pos >= count()) {
    items_.push_back(std::move(text));
    return;
  }
  items_.insert(items_.begin() + pos, std::move(text));
  if (selected_ >= pos) ++selected_;
}

bool ComboModel::removeAt(int pos) {
  if (pos < 0 || pos >= count()) return false;
  items_.erase(items_.begin() + pos);
  if (selected_ == pos)
    selected_ = -1;
  else if (selected_ > pos)
    --selected_;
  return true;
}

int ComboModel::find(std::string_view text) const {
  for (int i = 0; i < count(); ++i)
    if (items_[static_cast<size_t>(i)] == text) return i;
  return -1;
}

void SelectComboItem(ComboModel& combo, std::string_view text) {
  int pos = combo.find(text);
  if (pos < 0) pos = combo.count() > 0 ? 0 : -1;
  combo.select(pos);
}

void InsertComboItem(ComboModel& combo, std::string_view text, int index) {
  std::string shown = combo.text();
  if (combo.find(text) < 0) combo.insert(index, std::string(text));
  SelectComboItem(combo, shown);
}

void RemoveComboItem(ComboModel& combo, std::string_view text) {
  std::string shown = combo.text();
  int pos = combo.find(text);
  if (pos >= 0) combo.removeAt(pos);
  if (shown == text) {
    combo.select(combo.count() > 0 ? 0 : -1);
  } else if (!shown.empty()) {
    SelectComboItem(combo, shown);
  }
}

}  // namespace qm
