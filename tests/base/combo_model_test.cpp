#include <gtest/gtest.h>

#include <vector>

#include "base/combo.h"
#include "base/grid_util.h"

namespace qm {
namespace {

using Items = std::vector<std::string>;

TEST(ComboModel, SelectInsertRemove) {
  ComboModel c(Items{"a", "b", "c"}, 1);
  EXPECT_EQ(c.text(), "b");
  EXPECT_FALSE(c.select(3));
  EXPECT_FALSE(c.select(-2));
  EXPECT_EQ(c.selected(), 1);
  EXPECT_TRUE(c.select(-1));
  EXPECT_EQ(c.text(), "");

  SelectComboItem(c, "c");
  EXPECT_EQ(c.selected(), 2);
  SelectComboItem(c, "zz");  // no match: the first entry
  EXPECT_EQ(c.selected(), 0);
  ComboModel empty;
  SelectComboItem(empty, "a");
  EXPECT_EQ(empty.selected(), -1);
}

TEST(ComboModel, InsertKeepsTheShownEntry) {
  struct Case {
    Items items;
    int selected;
    const char* text;
    int index;
    Items after;
    const char* shown;
  };
  const std::vector<Case> cases = {
      {{"a", "c"}, 1, "b", 1, {"a", "b", "c"}, "c"},
      {{"a", "c"}, 0, "d", -1, {"a", "c", "d"}, "a"},
      {{"a", "c"}, 0, "d", 5, {"a", "c", "d"}, "a"},
      {{"a", "c"}, 1, "a", 0, {"a", "c"}, "c"},        // already there: nothing inserted
      {{"a", "c"}, -1, "b", 1, {"a", "b", "c"}, "a"},  // nothing shown: the first entry
  };
  for (const Case& k : cases) {
    ComboModel c(k.items, k.selected);
    InsertComboItem(c, k.text, k.index);
    EXPECT_EQ(c.items(), k.after) << k.text;
    EXPECT_EQ(c.text(), k.shown) << k.text;
  }
}

TEST(ComboModel, RemoveSelectsTheFirstWhenTheShownEntryGoes) {
  struct Case {
    Items items;
    int selected;
    const char* text;
    Items after;
    int selectedAfter;
  };
  const std::vector<Case> cases = {
      {{"a", "b", "c"}, 1, "b", {"a", "c"}, 0},
      {{"a", "b", "c"}, 2, "b", {"a", "c"}, 1},  // the shown entry stays shown
      {{"a", "b", "c"}, 0, "c", {"a", "b"}, 0},
      {{"a", "b", "c"}, -1, "a", {"b", "c"}, -1},
      {{"a", "b", "c"}, 1, "x", {"a", "b", "c"}, 1},
  };
  for (const Case& k : cases) {
    ComboModel c(k.items, k.selected);
    RemoveComboItem(c, k.text);
    EXPECT_EQ(c.items(), k.after) << k.text;
    EXPECT_EQ(c.selected(), k.selectedAfter) << k.text;
  }
}

TEST(GridNextCell, WalksRowsAndStopsAtTheLastCell) {
  struct Case {
    GridCell from, to;
  };
  const std::vector<Case> cases = {
      {{1, 1}, {1, 2}}, {{3, 7}, {3, 8}}, {{3, 8}, {4, 1}}, {{16, 8}, {16, 8}}, {{16, 7}, {16, 8}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(GridNextCell(c.from, 17, 9), c.to) << c.from.row << "," << c.from.col;
  EXPECT_EQ(GridNextCell({11, 3}, 12, 4), (GridCell{11, 3}));  // a smaller grid
}

}  // namespace
}  // namespace qm
