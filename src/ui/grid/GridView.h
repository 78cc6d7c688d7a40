// The widget that shows a Grid. It holds no data of its own: the grid's topmost fixed row
// becomes the column titles, further fixed rows (the actuator type row) are the first
// visual rows, drawn in the titles' colour and kept in view while the scrolling rows
// follow. Every key typed
// into a cell passes the grid's key filter before an editor sees it, and an edit reaches
// the grid as one write when the editor closes, so the tables see one change per entry.
#pragma once

#include "data/Grid.h"

#include <QPersistentModelIndex>
#include <QPointer>
#include <QTableView>

namespace kap {

class GridModel;

class GridView : public QTableView {
    Q_OBJECT
public:
    explicit GridView(QWidget* parent = nullptr);
    explicit GridView(Grid* grid, QWidget* parent = nullptr);
    ~GridView() override;

    void setGrid(Grid* grid);
    Grid* grid() const { return grid_; }

    // Names the view for tests and assistive tools (objectName and accessibleName).
    void setGridName(const QString& name);

    // The model index that shows the grid's cell, or an invalid index for the title row and
    // cells outside the grid.
    QModelIndex indexOf(int row, int column) const;
    // The grid row a model row shows.
    int gridRow(int modelRow) const;

    // Pixels for a width in grid units in the view's present font. The units were set for a
    // font with characters about six pixels wide; a larger font widens the columns alike.
    int pixelsForUnits(int units) const;

    bool isEditing() const { return state() == EditingState; }

    // Keeps a row that is asked to be shown out from under the fixed rows.
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void changeEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // Typing into a grid edits the cell; it never jumps to a row starting with the key.
    void keyboardSearch(const QString&) override {}

private:
    friend class GridDelegate;
    void editorCreated(QWidget* editor, const QModelIndex& index);
    bool keysPass(const QModelIndex& index, const QString& keys) const;
    void applyColumnWidths();
    void syncCurrentFromGrid();
    void leaveEditing();
    int fixedDataRows() const;
    int fixedRowsHeight() const;
    void placeFixedRows();

    QPointer<Grid> grid_;
    GridModel* model_ = nullptr;
    QList<QMetaObject::Connection> connections_;
    QPointer<QWidget> editor_;
    QPersistentModelIndex editorIndex_;
    const QEvent* filteredKey_ = nullptr;  // already passed the filter on its way to an editor
    // The fixed data rows drawn again over the top of the viewport once the rows have
    // scrolled, so the type row stays in view. It shares the model and the selection.
    QTableView* fixedRows_ = nullptr;
};

}  // namespace kap
