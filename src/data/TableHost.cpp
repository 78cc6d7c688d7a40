#include "TableHost.h"

namespace kap {

void enterThroughDialog(Grid& grid, int row, int column, const std::function<QString()>& ask)
{
    const QString setAside = grid.text(row, column);
    grid.setText(row, column, ask());
    if (grid.text(row, column).isEmpty())
        grid.setText(row, column, setAside);
}

}  // namespace kap
