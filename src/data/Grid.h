// A table of text cells as the windows' tables use it: every cell is text, rows above the
// scrolling rows are addressed with negative numbers (-1 just above row 0), and a change of
// any cell's text, typed or written by the program, is announced with cellChanged. The
// table logic (parameters, points, zones) runs on this model; a view only shows it.
#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace kap {

class Grid : public QObject {
    Q_OBJECT
public:
    // Decides whether a key typed into cell (row, column) reaches it: true keeps the key,
    // false discards it. ch is the typed character; Backspace arrives as QChar(8).
    using KeyFilter = std::function<bool(int row, int column, QChar ch)>;
    // Decides whether a whole entry reaches cell (row, column) once the user has finished it:
    // false refuses it, the cell keeps its text, and the check has said why.
    using EntryCheck = std::function<bool(int row, int column, const QString& text)>;

    explicit Grid(QObject* parent = nullptr);

    // Shape. Resizing keeps the text of the cells that remain and announces no cell change.
    // The topmost fixed row (-fixedRows()) is the header row a view shows as column titles.
    void setColumns(int count);
    void setRows(int count);
    void setFixedRows(int count);
    int columns() const { return columns_; }
    int rows() const { return int(rows_.size()); }
    int fixedRows() const { return int(fixed_.size()); }
    // row runs from -fixedRows() to rows() - 1, column from 0 to columns() - 1.
    bool contains(int row, int column) const;

    // The cell's text; empty text outside the grid.
    QString text(int row, int column) const;
    // Stores text and, when it differs from the cell's text, emits cellChanged once the cell
    // already holds it. Writes outside the grid are ignored and return false.
    bool setText(int row, int column, const QString& text);
    // Every cell, row by row from the topmost fixed row on, to put the grid back later.
    QList<QStringList> cells() const;
    // Writes cells taken with cells() back, each through setText.
    void setCells(const QList<QStringList>& cells);
    // The cell read as a number (see numbers::readNumber); nothing when it is not one.
    std::optional<double> number(int row, int column) const;

    // The current cell. Rows may be negative for fixed data rows.
    int currentRow() const { return currentRow_; }
    int currentColumn() const { return currentColumn_; }
    void setCurrentCell(int row, int column);
    void setCurrentRow(int row) { setCurrentCell(row, currentColumn_); }
    void setCurrentColumn(int column) { setCurrentCell(currentRow_, column); }

    // Read-only switch for the whole grid (program writes still go through).
    bool isReadOnly() const { return readOnly_; }
    void setReadOnly(bool readOnly);
    // Columns the user never edits (numbers, ranges, names); program writes still go through.
    bool isColumnReadOnly(int column) const;
    void setColumnReadOnly(int column, bool readOnly);
    // Whether the user may type into the cell now.
    bool isEditable(int row, int column) const;

    bool isVisible() const { return visible_; }
    void setVisible(bool visible);

    // Free text the window keeps with the grid (the modified mark "Change").
    QString tag() const { return tag_; }
    void setTag(const QString& tag);

    // Column widths in grid units (about a pixel of a 96 dpi screen) and display formats
    // such as "#0.00" or "#0". A view uses the format for alignment only: the cell's text is
    // what the tables wrote, and is shown as it is.
    int columnWidth(int column) const;
    void setColumnWidth(int column, int width);
    QString columnFormat(int column) const;
    void setColumnFormat(int column, const QString& format);
    // True for a numeric format (digits placeholders such as "#0.00").
    bool isNumericColumn(int column) const;

    // Key handling. keyPress runs the installed filter (none keeps every key).
    void setKeyFilter(KeyFilter filter) { keyFilter_ = std::move(filter); }
    bool keyPress(int row, int column, QChar ch) const;
    // What a view does when the user types keys over a cell: the editor starts empty, each
    // key passes the key filter, Backspace removes the last character, and the result is
    // entered (enter) when typing ends. Returns false, writing nothing, when the cell is not
    // editable.
    bool typeText(int row, int column, const QString& keys);

    // A user's finished entry, typed or pasted: the installed entry check (none takes every
    // entry), then setText. False when the check refused it or the cell is outside the grid.
    void setEntryCheck(EntryCheck check) { entryCheck_ = std::move(check); }
    bool enter(int row, int column, const QString& text);

    // Reports a double-click on a cell (a view calls this; tests may too).
    void doubleClick(int row, int column);
    // Asks the views to leave the editing state, dropping what the user has typed so far.
    void endEditing();

signals:
    void cellChanged(int row, int column);
    void doubleClicked(int row, int column);
    void currentCellChanged(int row, int column);
    // Rows, columns or fixed rows changed.
    void shapeChanged();
    // Widths, formats or per-column read-only switches changed.
    void columnsChanged();
    void readOnlyChanged(bool readOnly);
    void visibleChanged(bool visible);
    void tagChanged(const QString& tag);
    void editingEndRequested();

private:
    QStringList* rowAt(int row);
    const QStringList* rowAt(int row) const;
    QStringList emptyRow() const;

    int columns_ = 0;
    QList<QStringList> rows_;
    QList<QStringList> fixed_;  // fixed_[k] is row -(k + 1)
    QList<int> widths_;
    QStringList formats_;
    QList<bool> columnReadOnly_;
    int currentRow_ = 0;
    int currentColumn_ = 0;
    bool readOnly_ = false;
    bool visible_ = true;
    QString tag_;
    KeyFilter keyFilter_;
    EntryCheck entryCheck_;
};

}  // namespace kap
