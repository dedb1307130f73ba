// What the channel grid and the tune table share: a grid whose row 0 and column 0 are fixed
// headings, its current cell, the boxes at the end of each row, what a press on a cell asks
// of the widget, and the keys the floating frequency editor lets through.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>

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

// What the widget must do after a press or key on a cell.
enum class GridAction { None, OpenFreqEditor, OpenSignalDialog };
struct CellPress {
  GridAction action = GridAction::None;
  int row = 0;
  int col = 0;
  std::string signalText;  // OpenSignalDialog: the text handed to the dialog
};

// The character the frequency editor inserts for a typed character (either decimal mark
// becomes the interface's), or nullopt to discard it: digits, Backspace and control keys pass.
constexpr std::optional<char> FreqEditorKey(char32_t key, char decimalSep) {
  if ((key >= '0' && key <= '9') || key == 8) return static_cast<char>(key);
  if (key == ',' || key == '.') return decimalSep;
  if (key < 32) return static_cast<char>(key);
  return std::nullopt;
}

// A grid's cells, headings included; the data cells are rows 1..Rows-1 and columns 1..Cols-1.
template <class Cell, size_t Rows, size_t Cols>
using CellTable = std::array<std::array<Cell, Cols>, Rows>;

template <class Cell, size_t Rows, size_t Cols>
constexpr bool IsDataCell(const CellTable<Cell, Rows, Cols>&, int row, int col) {
  return row >= 1 && static_cast<size_t>(row) < Rows && col >= 1 && static_cast<size_t>(col) < Cols;
}
// A data cell; anything else reads as an empty cell.
template <class Cell, size_t Rows, size_t Cols>
const Cell& CellOf(const CellTable<Cell, Rows, Cols>& cells, int row, int col) {
  static const Cell kNone{};
  return IsDataCell(cells, row, col) ? cells[static_cast<size_t>(row)][static_cast<size_t>(col)]
                                     : kNone;
}
template <class Cell, size_t Rows, size_t Cols>
Cell& CellAt(CellTable<Cell, Rows, Cols>& cells, int row, int col) {
  return cells[static_cast<size_t>(row)][static_cast<size_t>(col)];
}

// One box per row (switched off, transmit inhibited): row i's tick, false outside the rows.
template <size_t N>
constexpr bool Ticked(const std::array<bool, N>& boxes, int i) {
  return i >= 0 && static_cast<size_t>(i) < N && boxes[static_cast<size_t>(i)];
}
template <size_t N>
void Flip(std::array<bool, N>& boxes, int i) {
  boxes[static_cast<size_t>(i)] = !boxes[static_cast<size_t>(i)];
}

}  // namespace qm
