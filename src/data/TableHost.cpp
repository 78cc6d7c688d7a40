#include "data/TableHost.h"

#include <QCoreApplication>

namespace kap {

bool noteEntryFits(TableHost& host, const QString& text)
{
    if (text.size() <= kMaxNoteLength)
        return true;
    host.showStatusMessage(
        QCoreApplication::translate("TableHost",
                                    "A note holds at most %1 characters; this one has %2 and "
                                    "was not taken.")
            .arg(kMaxNoteLength)
            .arg(text.size()));
    return false;
}

void enterThroughDialog(Grid& grid, int row, int column, const std::function<QString()>& ask)
{
    const QString setAside = grid.text(row, column);
    grid.setText(row, column, ask());
    if (grid.text(row, column).isEmpty())
        grid.setText(row, column, setAside);
}

void setUpNumberedGrid(Grid& grid, int rows, const QList<GridColumn>& columns)
{
    grid.setColumns(int(columns.size()));
    grid.setFixedRows(1);
    grid.setRows(rows);
    for (int c = 0; c < columns.size(); ++c) {
        grid.setText(-1, c, columns[c].header);
        grid.setColumnWidth(c, columns[c].width);
        if (!columns[c].format.isEmpty())
            grid.setColumnFormat(c, columns[c].format);
    }
    grid.setColumnReadOnly(0, true);
    for (int r = 0; r < rows; ++r)
        grid.setText(r, 0, QString::number(r));
}

}  // namespace kap
