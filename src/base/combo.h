// A drop-down list as data: its entries and the selected position. The widgets render it;
// the combo utilities below work on it exactly as they do on the window's lists.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qm {

class ComboModel {
 public:
  ComboModel() = default;
  explicit ComboModel(std::vector<std::string> items, int selected = -1);

  const std::vector<std::string>& items() const { return items_; }
  int count() const { return static_cast<int>(items_.size()); }
  // -1 when nothing is selected.
  int selected() const { return selected_; }
  // The entry at pos, or an empty text outside the list.
  const std::string& item(int pos) const;
  // The shown text: the selected entry, or empty when nothing is selected.
  const std::string& text() const { return item(selected_); }

  // Selects pos; -1 clears the selection. Any other position outside the list leaves the
  // selection as it was and returns false.
  bool select(int pos);
  void clear();
  void add(std::string text);
  // Inserts before pos (appends when pos is negative or not below the count). The
  // selected entry stays selected.
  void insert(int pos, std::string text);
  // Removes the entry at pos; when it was the selected one nothing is selected afterwards.
  bool removeAt(int pos);
  // The first entry equal to text, or -1.
  int find(std::string_view text) const;

  bool operator==(const ComboModel&) const = default;

 private:
  std::vector<std::string> items_;
  int selected_ = -1;
};

// Selects the first entry equal to text; when none matches, entry 0 (nothing in an empty
// list).
void SelectComboItem(ComboModel& combo, std::string_view text);

// When no entry equals text, inserts it at index (appends when index is negative or not
// below the count); either way the entry shown before is selected again by its text.
void InsertComboItem(ComboModel& combo, std::string_view text, int index);

// Removes the entry equal to text. When it was the shown one, entry 0 is selected; else
// the entry shown before is selected again by its text (with nothing shown, the selection
// stays as the removal leaves it).
void RemoveComboItem(ComboModel& combo, std::string_view text);

}  // namespace qm
