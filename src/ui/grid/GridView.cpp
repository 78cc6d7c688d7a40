#include "ui/grid/GridView.h"

#include "ui/grid/GridAccessible.h"

#include "data/GridClipboard.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include <climits>
#include <optional>

namespace kap {

// Model rows: fixed data rows first (grid rows -(fixed-1) .. -1), then the scrolling rows.
// The topmost fixed row is the horizontal header.
class GridModel : public QAbstractTableModel {
public:
    GridModel(Grid* grid, QWidget* view) : QAbstractTableModel(view), grid_(grid), view_(view) {}

    int fixedDataRows() const { return qMax(0, grid_->fixedRows() - 1); }
    int gridRow(int modelRow) const { return modelRow - fixedDataRows(); }
    int modelRow(int gridRow) const { return gridRow + fixedDataRows(); }

    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : fixedDataRows() + grid_->rows();
    }
    int columnCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : grid_->columns();
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid())
            return {};
        const int row = gridRow(index.row());
        switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            return grid_->text(row, index.column());
        case Qt::AccessibleTextRole:
            // Read without the blanks that pad the text on screen.
            return grid_->text(row, index.column()).trimmed();
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(alignment(index.column()));
        case Qt::BackgroundRole:
            if (row < 0)
                return view_->palette().button();
            return {};
        default:
            return {};
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
            return {};
        if (orientation == Qt::Vertical)
            return gridRow(section);
        const QString text = grid_->fixedRows() > 0 ? grid_->text(-grid_->fixedRows(), section)
                                                    : QString();
        return role == Qt::AccessibleTextRole ? text.trimmed() : text;
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        if (!index.isValid())
            return Qt::NoItemFlags;
        Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (grid_->isEditable(gridRow(index.row()), index.column()))
            f |= Qt::ItemIsEditable;
        return f;
    }

    bool setData(const QModelIndex& index, const QVariant& value, int role) override
    {
        if (!index.isValid() || role != Qt::EditRole)
            return false;
        // The grid announces the change; the model repaints from that signal. An entry the
        // grid's check refuses leaves the cell as it was.
        return grid_->enter(gridRow(index.row()), index.column(), value.toString());
    }

    Qt::Alignment alignment(int column) const
    {
        return (grid_->isNumericColumn(column) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
    }

    void cellChanged(int row, int column)
    {
        if (row == -grid_->fixedRows()) {
            emit headerDataChanged(Qt::Horizontal, column, column);
            return;
        }
        const QModelIndex i = index(modelRow(row), column);
        emit dataChanged(i, i);
    }

    // The grid has already changed when it tells us, so nothing is read in between.
    void reshape()
    {
        beginResetModel();
        endResetModel();
    }

    void restyle()
    {
        if (rowCount() > 0 && columnCount() > 0)
            emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
        if (columnCount() > 0)
            emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
    }

private:
    Grid* grid_;
    QWidget* view_;
};

class GridDelegate : public QStyledItemDelegate {
public:
    explicit GridDelegate(GridView* view) : QStyledItemDelegate(view), view_(view) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override
    {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor))
            line->setAlignment(Qt::Alignment(index.data(Qt::TextAlignmentRole).toInt()));
        view_->editorCreated(editor, index);
        return editor;
    }

private:
    GridView* view_;
};

namespace {

// The characters a key press types into a cell, or nothing for keys that only move, end or
// control editing (arrows, Enter, Escape, Tab, Delete, shortcuts).
std::optional<QString> typedKeys(const QKeyEvent* event)
{
    if (event->key() == Qt::Key_Backspace)
        return QString(QChar(8));
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return std::nullopt;
    const QString text = event->text();
    if (text.isEmpty())
        return std::nullopt;
    for (const QChar ch : text) {
        if (!ch.isPrint())
            return std::nullopt;
    }
    return text;
}

// The old control measured columns for a font whose average character was six pixels.
constexpr double kUnitCharWidth = 6.0;

}  // namespace

GridView::GridView(QWidget* parent) : GridView(nullptr, parent) {}

GridView::GridView(Grid* grid, QWidget* parent) : QTableView(parent)
{
    installGridAccessibility();
    setItemDelegate(new GridDelegate(this));
    // A block of cells can be chosen for the clipboard (Shift with the arrows or a click).
    setSelectionMode(ContiguousSelection);
    setSelectionBehavior(SelectItems);
    // Double-click belongs to the window (entry dialogs); typing or F2 edits.
    setEditTriggers(AnyKeyPressed | EditKeyPressed);
    // The arrow keys move between cells; Tab leaves the grid for the next control.
    setTabKeyNavigation(false);
    verticalHeader()->hide();
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(true);
    setWordWrap(false);
    connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        if (grid_ && index.isValid())
            grid_->doubleClick(gridRow(index.row()), index.column());
    });

    // Only shows; a click on it makes its cell current, which brings the table back to its
    // top, where the real row is edited as any other.
    fixedRows_ = new QTableView(this);
    fixedRows_->setObjectName(QStringLiteral("fixedRows"));
    fixedRows_->setFocusPolicy(Qt::NoFocus);
    fixedRows_->setEditTriggers(NoEditTriggers);
    fixedRows_->setFrameShape(QFrame::NoFrame);
    fixedRows_->verticalHeader()->hide();
    fixedRows_->horizontalHeader()->hide();
    fixedRows_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    fixedRows_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    fixedRows_->setWordWrap(false);
    fixedRows_->setAutoScroll(false);  // it follows the shared current cell nowhere
    fixedRows_->horizontalHeader()->setStretchLastSection(true);
    fixedRows_->hide();
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, fixedRows_->horizontalScrollBar(),
            &QScrollBar::setValue);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &GridView::placeFixedRows);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int column, int, int width) { fixedRows_->setColumnWidth(column, width); });
    connect(verticalHeader(), &QHeaderView::sectionResized, this, &GridView::placeFixedRows);
    setGrid(grid);
}

GridView::~GridView() = default;

void GridView::setGrid(Grid* grid)
{
    for (const QMetaObject::Connection& c : std::as_const(connections_))
        disconnect(c);
    connections_.clear();
    grid_ = nullptr;  // nothing below may read the old grid: it may be going away
    fixedRows_->setModel(nullptr);
    // setModel leaves the old selection model to its owner.
    QItemSelectionModel* oldSelection = selectionModel();
    setModel(nullptr);
    delete oldSelection;
    delete model_;
    model_ = nullptr;
    grid_ = grid;
    if (!grid)
        return;

    model_ = new GridModel(grid, this);
    oldSelection = selectionModel();
    setModel(model_);
    delete oldSelection;
    QItemSelectionModel* ownSelection = fixedRows_->selectionModel();
    fixedRows_->setModel(model_);
    delete ownSelection;
    ownSelection = fixedRows_->selectionModel();
    fixedRows_->setSelectionModel(selectionModel());
    delete ownSelection;
    horizontalHeader()->setVisible(grid->fixedRows() > 0);
    connections_ << connect(grid, &Grid::cellChanged, model_, &GridModel::cellChanged)
                 << connect(grid, &Grid::shapeChanged, this,
                            [this] {
                                model_->reshape();
                                horizontalHeader()->setVisible(grid_->fixedRows() > 0);
                                applyColumnWidths();
                                syncCurrentFromGrid();
                                placeFixedRows();
                            })
                 << connect(grid, &Grid::columnsChanged, this,
                            [this] {
                                model_->restyle();
                                applyColumnWidths();
                            })
                 << connect(grid, &Grid::readOnlyChanged, this,
                            [this](bool readOnly) {
                                if (readOnly)
                                    leaveEditing();
                                model_->restyle();
                            })
                 << connect(grid, &Grid::visibleChanged, this, &QWidget::setVisible)
                 << connect(grid, &Grid::currentCellChanged, this, &GridView::syncCurrentFromGrid)
                 << connect(grid, &Grid::editingEndRequested, this, &GridView::leaveEditing)
                 << connect(grid, &QObject::destroyed, this, [this] { setGrid(nullptr); });
    applyColumnWidths();
    syncCurrentFromGrid();
    placeFixedRows();
    if (!grid->isVisible())
        hide();
}

int GridView::fixedDataRows() const
{
    // The grid may be on its way out (the model still points at it while it is replaced).
    return model_ && grid_ ? model_->fixedDataRows() : 0;
}

int GridView::fixedRowsHeight() const
{
    int height = 0;
    for (int r = 0; r < fixedDataRows(); ++r)
        height += rowHeight(r);
    return height;
}

void GridView::placeFixedRows()
{
    // At the top the rows are in their own place; the copy is needed only once they scroll.
    const bool needed = fixedDataRows() > 0 && verticalScrollBar()->value() > 0;
    fixedRows_->setVisible(needed);
    if (!needed)
        return;
    for (int r = 0; r < fixedDataRows(); ++r)
        fixedRows_->setRowHeight(r, rowHeight(r));
    const QRect area = viewport()->geometry();
    fixedRows_->setGeometry(area.x(), area.y(), area.width(), fixedRowsHeight());
    fixedRows_->verticalScrollBar()->setValue(0);
    fixedRows_->horizontalScrollBar()->setValue(horizontalScrollBar()->value());
    fixedRows_->raise();
}

void GridView::scrollTo(const QModelIndex& index, ScrollHint hint)
{
    const int fixed = fixedDataRows();
    if (index.isValid() && fixed > 0) {
        if (index.row() < fixed) {
            verticalScrollBar()->setValue(0);
        } else if (verticalScrollBar()->value() > 0
                   && rowViewportPosition(index.row()) < fixedRowsHeight()) {
            // The row would lie under the fixed rows: scroll until it sits right below them.
            if (verticalScrollMode() == ScrollPerItem)
                verticalScrollBar()->setValue(qMax(0, index.row() - fixed));
            else
                verticalScrollBar()->setValue(qMax(0, rowViewportPosition(index.row())
                                                          + verticalOffset() - fixedRowsHeight()));
        }
    }
    QTableView::scrollTo(index, hint);
}

void GridView::resizeEvent(QResizeEvent* event)
{
    QTableView::resizeEvent(event);
    placeFixedRows();
}

void GridView::setGridName(const QString& name)
{
    setObjectName(name);
    setAccessibleName(name);
}

QModelIndex GridView::indexOf(int row, int column) const
{
    if (!grid_ || !grid_->contains(row, column) || row == -grid_->fixedRows())
        return {};
    return model_->index(model_->modelRow(row), column);
}

int GridView::gridRow(int modelRow) const
{
    return model_ ? model_->gridRow(modelRow) : modelRow;
}

int GridView::pixelsForUnits(int units) const
{
    // A CJK font gives the average of its full-width glyphs, twice a Latin letter, which would
    // double every column; the Latin letters' own average caps it.
    static const QString latin =
        QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ");
    const QFontMetrics metrics = fontMetrics();
    const double latinAverage = metrics.horizontalAdvance(latin) / double(latin.size());
    const double average = qMin(double(metrics.averageCharWidth()), latinAverage);
    const double scale = qMax(1.0, average / kUnitCharWidth);
    return qRound(units * scale);
}

void GridView::applyColumnWidths()
{
    if (!grid_)
        return;
    const int margin = 2 * style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, this) + 4;
    const QFontMetrics headerMetrics(horizontalHeader()->font());
    for (int c = 0; c < grid_->columns(); ++c) {
        const int units = grid_->columnWidth(c);
        if (units <= 0)
            continue;
        // Never narrower than the title, so no font makes a title unreadable.
        const QString title = grid_->fixedRows() > 0 ? grid_->text(-grid_->fixedRows(), c)
                                                     : QString();
        const int titleWidth = title.trimmed().isEmpty()
                                   ? 0
                                   : headerMetrics.horizontalAdvance(title.trimmed()) + margin;
        setColumnWidth(c, qMax(pixelsForUnits(units), titleWidth));
    }
    for (int c = 0; c < grid_->columns(); ++c)
        fixedRows_->setColumnWidth(c, columnWidth(c));
}

void GridView::syncCurrentFromGrid()
{
    if (!grid_)
        return;
    const QModelIndex index = indexOf(grid_->currentRow(), grid_->currentColumn());
    if (index.isValid() && index != currentIndex())
        setCurrentIndex(index);
}

void GridView::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous);
    if (grid_ && current.isValid())
        grid_->setCurrentCell(gridRow(current.row()), current.column());
}

void GridView::hideEvent(QHideEvent* event)
{
    // An entry left open in a grid that goes out of sight is dropped, not kept for keys
    // typed later.
    if (editor_ && state() == EditingState)
        closeEditor(editor_, QAbstractItemDelegate::RevertModelCache);
    QTableView::hideEvent(event);
}

void GridView::changeEvent(QEvent* event)
{
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        applyColumnWidths();
}

bool GridView::keysPass(const QModelIndex& index, const QString& keys) const
{
    const int row = gridRow(index.row());
    for (const QChar ch : keys) {
        if (!grid_->keyPress(row, index.column(), ch))
            return false;
    }
    return true;
}

void GridView::keyPressEvent(QKeyEvent* event)
{
    // A grid out of sight takes no keys: they would change data nobody sees.
    if (!isVisible()) {
        event->ignore();
        return;
    }
    if (event->key() == Qt::Key_Tab && event->modifiers() == Qt::ControlModifier) {
        focusNextPrevChild(true);
        return;
    }
    const QModelIndex index = currentIndex();
    // Cells to and from a spreadsheet, tab-separated. A paste goes through the same checks
    // as typing, cell by cell; a cell the key filter refuses keeps its text, with a beep.
    if (grid_ && state() != EditingState && event->matches(QKeySequence::Copy)) {
        QModelIndexList chosen = selectedIndexes();
        if (chosen.isEmpty() && index.isValid())
            chosen << index;
        if (!chosen.isEmpty()) {
            int top = INT_MAX, left = INT_MAX, bottom = INT_MIN, right = INT_MIN;
            for (const QModelIndex& i : chosen) {
                top = qMin(top, i.row());
                bottom = qMax(bottom, i.row());
                left = qMin(left, i.column());
                right = qMax(right, i.column());
            }
            QGuiApplication::clipboard()->setText(
                clipboard::copy(*grid_, gridRow(top), left, gridRow(bottom), right));
        }
        event->accept();
        return;
    }
    if (grid_ && state() != EditingState && index.isValid()
        && event->matches(QKeySequence::Paste)) {
        if ((index.flags() & Qt::ItemIsEditable)
            && clipboard::paste(*grid_, gridRow(index.row()), index.column(),
                                QGuiApplication::clipboard()->text())
                   > 0)
            QApplication::beep();
        event->accept();
        return;
    }
    if (grid_ && state() != EditingState && index.isValid()
        && (index.flags() & Qt::ItemIsEditable)) {
        if (const std::optional<QString> keys = typedKeys(event)) {
            if (!keysPass(index, *keys)) {
                // Discarded: no editor opens, the cell keeps its text.
                event->accept();
                return;
            }
            // The key opens an editor and is handed on to it; do not ask the filter twice.
            filteredKey_ = event;
            QTableView::keyPressEvent(event);
            filteredKey_ = nullptr;
            return;
        }
    }
    QTableView::keyPressEvent(event);
}

void GridView::editorCreated(QWidget* editor, const QModelIndex& index)
{
    editor_ = editor;
    editorIndex_ = index;
    editor->installEventFilter(this);
    // Some editors take their keys through an inner line edit.
    for (QLineEdit* inner : editor->findChildren<QLineEdit*>())
        inner->installEventFilter(this);
}

bool GridView::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && event != filteredKey_ && grid_ && editor_
        && (watched == editor_ || editor_->isAncestorOf(qobject_cast<QWidget*>(watched)))) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)
            && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            // Tab ends the entry as Return does, then leaves the grid.
            QWidget* editor = editor_;
            commitData(editor);
            closeEditor(editor, QAbstractItemDelegate::NoHint);
            focusNextPrevChild(key->key() == Qt::Key_Tab
                               && !(key->modifiers() & Qt::ShiftModifier));
            return true;
        }
        const std::optional<QString> keys = typedKeys(key);
        if (keys && editorIndex_.isValid() && !keysPass(editorIndex_, *keys))
            return true;
    }
    return QTableView::eventFilter(watched, event);
}

void GridView::leaveEditing()
{
    if (editor_ && state() == EditingState)
        closeEditor(editor_, QAbstractItemDelegate::NoHint);
}

}  // namespace kap
