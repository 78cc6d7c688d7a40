#include "data/Grid.h"

#include "data/Numbers.h"

namespace kap {

Grid::Grid(QObject* parent) : QObject(parent) {}

QStringList Grid::emptyRow() const
{
    QStringList row;
    row.resize(columns_);
    return row;
}

void Grid::setColumns(int count)
{
    count = qMax(0, count);
    if (count == columns_)
        return;
    columns_ = count;
    for (QStringList& row : rows_)
        row.resize(count);
    for (QStringList& row : fixed_)
        row.resize(count);
    widths_.resize(count);
    formats_.resize(count);
    columnReadOnly_.resize(count);
    currentColumn_ = qBound(0, currentColumn_, qMax(0, count - 1));
    emit shapeChanged();
}

void Grid::setRows(int count)
{
    count = qMax(0, count);
    if (count == rows())
        return;
    const QStringList blank = emptyRow();
    while (rows_.size() > count)
        rows_.removeLast();
    while (rows_.size() < count)
        rows_.append(blank);
    currentRow_ = qMin(currentRow_, qMax(0, count - 1));
    emit shapeChanged();
}

void Grid::setFixedRows(int count)
{
    count = qMax(0, count);
    if (count == fixedRows())
        return;
    const QStringList blank = emptyRow();
    while (fixed_.size() > count)
        fixed_.removeLast();
    while (fixed_.size() < count)
        fixed_.append(blank);
    // The header row cannot be current; a removed fixed row cannot either.
    currentRow_ = qMax(currentRow_, qMin(0, -(count - 1)));
    emit shapeChanged();
}

bool Grid::contains(int row, int column) const
{
    return column >= 0 && column < columns_ && row >= -fixedRows() && row < rows();
}

QStringList* Grid::rowAt(int row)
{
    if (row >= 0)
        return row < rows_.size() ? &rows_[row] : nullptr;
    const qsizetype k = -row - 1;
    return k < fixed_.size() ? &fixed_[k] : nullptr;
}

const QStringList* Grid::rowAt(int row) const
{
    return const_cast<Grid*>(this)->rowAt(row);
}

QString Grid::text(int row, int column) const
{
    if (!contains(row, column))
        return {};
    return rowAt(row)->at(column);
}

bool Grid::setText(int row, int column, const QString& text)
{
    if (!contains(row, column))
        return false;
    QString& cell = (*rowAt(row))[column];
    if (cell == text)
        return true;
    cell = text;
    // The cell holds the new text before anyone hears of it, so a handler that reads it, or
    // writes it again from inside the signal, sees the final state.
    emit cellChanged(row, column);
    return true;
}

QList<QStringList> Grid::cells() const
{
    QList<QStringList> all;
    for (int r = -fixedRows(); r < rows(); ++r)
        all << *rowAt(r);
    return all;
}

void Grid::setCells(const QList<QStringList>& cells)
{
    int r = -fixedRows();
    for (const QStringList& row : cells) {
        for (int c = 0; c < row.size(); ++c)
            setText(r, c, row.at(c));
        ++r;
    }
}

std::optional<double> Grid::number(int row, int column) const
{
    return numbers::readNumber(text(row, column));
}

void Grid::setCurrentCell(int row, int column)
{
    const int firstRow = fixedRows() > 0 ? -(fixedRows() - 1) : 0;
    if (row < firstRow || row >= rows() || column < 0 || column >= columns_)
        return;
    if (row == currentRow_ && column == currentColumn_)
        return;
    currentRow_ = row;
    currentColumn_ = column;
    emit currentCellChanged(row, column);
}

void Grid::setReadOnly(bool readOnly)
{
    if (readOnly == readOnly_)
        return;
    readOnly_ = readOnly;
    emit readOnlyChanged(readOnly);
}

bool Grid::isColumnReadOnly(int column) const
{
    return column >= 0 && column < columns_ && columnReadOnly_.at(column);
}

void Grid::setColumnReadOnly(int column, bool readOnly)
{
    if (column < 0 || column >= columns_ || columnReadOnly_.at(column) == readOnly)
        return;
    columnReadOnly_[column] = readOnly;
    emit columnsChanged();
}

bool Grid::isEditable(int row, int column) const
{
    // The topmost fixed row holds the column titles.
    return contains(row, column) && row > -fixedRows() && !readOnly_ && !columnReadOnly_.at(column);
}

void Grid::setVisible(bool visible)
{
    if (visible == visible_)
        return;
    visible_ = visible;
    emit visibleChanged(visible);
}

void Grid::setTag(const QString& tag)
{
    if (tag == tag_)
        return;
    tag_ = tag;
    emit tagChanged(tag);
}

int Grid::columnWidth(int column) const
{
    return column >= 0 && column < columns_ ? widths_.at(column) : 0;
}

void Grid::setColumnWidth(int column, int width)
{
    if (column < 0 || column >= columns_ || widths_.at(column) == width)
        return;
    widths_[column] = qMax(0, width);
    emit columnsChanged();
}

QString Grid::columnFormat(int column) const
{
    return column >= 0 && column < columns_ ? formats_.at(column) : QString();
}

void Grid::setColumnFormat(int column, const QString& format)
{
    if (column < 0 || column >= columns_ || formats_.at(column) == format)
        return;
    formats_[column] = format;
    emit columnsChanged();
}

bool Grid::isNumericColumn(int column) const
{
    const QString format = columnFormat(column);
    return format.contains(u'0') || format.contains(u'#');
}

bool Grid::keyPress(int row, int column, QChar ch) const
{
    return !keyFilter_ || keyFilter_(row, column, ch);
}

bool Grid::typeText(int row, int column, const QString& keys)
{
    if (!isEditable(row, column))
        return false;
    bool editing = false;
    QString typed;
    for (const QChar ch : keys) {
        if (!keyPress(row, column, ch))
            continue;
        // The first key that gets through opens the editor over the cell's text.
        editing = true;
        if (ch == QChar(8))
            typed.chop(1);
        else if (ch.isPrint())
            typed.append(ch);
    }
    if (editing)
        enter(row, column, typed);
    return true;
}

bool Grid::enter(int row, int column, const QString& text)
{
    if (!contains(row, column) || (entryCheck_ && !entryCheck_(row, column, text)))
        return false;
    return setText(row, column, text);
}

void Grid::doubleClick(int row, int column)
{
    if (contains(row, column))
        emit doubleClicked(row, column);
}

void Grid::endEditing()
{
    emit editingEndRequested();
}

}  // namespace kap
