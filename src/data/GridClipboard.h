// Cells between a grid and a spreadsheet: text with a tab between cells and a line end
// between rows, as spreadsheets put on the clipboard and take from it.
#pragma once

#include <QString>

namespace kap {

class Grid;

namespace clipboard {

// The cells from (top, left) to (bottom, right).
QString copy(const Grid& grid, int top, int left, int bottom, int right);

// Pastes text from (row, column) on, each cell as if typed: every character must pass the
// grid's key filter, then the entry check and the change handling run as for a typed entry.
// A cell with a character the filter refuses keeps its text; cells beyond the grid or not
// editable are left. Returns how many cells were refused.
int paste(Grid& grid, int row, int column, const QString& text);

}  // namespace clipboard
}  // namespace kap
