#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "base/combo.h"
#include "base/grid_util.h"

namespace qm {
namespace {

using Items = std::vector<std::string>;

TEST(ComboModel, SelectInsertRemove) {
  ComboModel c(Items{"a", "b", "c"}, 1);
  EXPECT_EQ(c.text(), "b");
  EXPECT_FALSE(c.select(3) || c.select(-2));
  EXPECT_EQ(c.selected(), 1);
  EXPECT_TRUE(c.select(-1));
  EXPECT_EQ(c.text(), "");

  SelectComboItem(c, "c");
  EXPECT_EQ(c.selected(), 2);
  SelectComboItem(c, "zz");  // no match: the first entry
  ComboModel empty;
  SelectComboItem(empty, "a");
  EXPECT_EQ(std::tuple(c.selected(), empty.selected()), std::tuple(0, -1));
}

TEST(ComboModel, InsertAndRemoveKeepTheShownEntryWhereTheyCan) {
  // The items and the selection, the text inserted at the index, the items and the text shown.
  const std::tuple<Items, int, const char*, int, Items, const char*> cases[] = {
      {{"a", "c"}, 1, "b", 1, {"a", "b", "c"}, "c"},
      {{"a", "c"}, 0, "d", -1, {"a", "c", "d"}, "a"},
      {{"a", "c"}, 0, "d", 5, {"a", "c", "d"}, "a"},
      {{"a", "c"}, 1, "a", 0, {"a", "c"}, "c"},        // already there: nothing inserted
      {{"a", "c"}, -1, "b", 1, {"a", "b", "c"}, "a"},  // nothing shown: the first entry
  };
  for (const auto& [items, selected, text, index, after, shown] : cases) {
    ComboModel c(items, selected);
    InsertComboItem(c, text, index);
    EXPECT_EQ(std::tuple(c.items(), c.text()), std::tuple(after, shown)) << text;
  }

  // Removing the shown entry selects the first.
  // The items and the selection, the text removed, the items and the selection after.
  const std::tuple<Items, int, const char*, Items, int> removals[] = {
      {{"a", "b", "c"}, 1, "b", {"a", "c"}, 0},
      {{"a", "b", "c"}, 2, "b", {"a", "c"}, 1},  // the shown entry stays shown
      {{"a", "b", "c"}, 0, "c", {"a", "b"}, 0},
      {{"a", "b", "c"}, -1, "a", {"b", "c"}, -1},
      {{"a", "b", "c"}, 1, "x", {"a", "b", "c"}, 1}};
  for (const auto& [items, selected, text, after, selectedAfter] : removals) {
    ComboModel c(items, selected);
    RemoveComboItem(c, text);
    EXPECT_EQ(std::tuple(c.items(), c.selected()), std::tuple(after, selectedAfter)) << text;
  }
}

TEST(GridNextCell, WalksRowsAndStopsAtTheLastCell) {
  const std::pair<GridCell, GridCell> cases[] = {
      {{1, 1}, {1, 2}}, {{3, 7}, {3, 8}}, {{3, 8}, {4, 1}}, {{16, 8}, {16, 8}}, {{16, 7}, {16, 8}}};
  for (const auto& [from, to] : cases)
    EXPECT_EQ(GridNextCell(from, 17, 9), to) << from.row << "," << from.col;
  EXPECT_EQ(GridNextCell({11, 3}, 12, 4), (GridCell{11, 3}));  // a smaller grid
}

}  // namespace
}  // namespace qm
