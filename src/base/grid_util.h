// Moving the current cell of a grid whose row 0 and column 0 are fixed headings.
#pragma once

namespace qm {

struct GridCell {
  int row = 1;
  int col = 1;
  bool operator==(const GridCell&) const = default;
};

// One column to the right; from the last column to column 1 of the next row; the last cell
// of the last row stays where it is. rows and cols count the heading row and column.
constexpr GridCell GridNextCell(GridCell cur, int rows, int cols) {
  if (cur.col < cols - 1) return {cur.row, cur.col + 1};
  if (cur.row < rows - 1) return {cur.row + 1, 1};
  return cur;
}

}  // namespace qm
