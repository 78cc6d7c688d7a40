#include "GridView.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStyledItemDelegate>

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
        if (role != Qt::DisplayRole)
            return {};
        if (orientation == Qt::Vertical)
            return gridRow(section);
        return grid_->fixedRows() > 0 ? grid_->text(-grid_->fixedRows(), section) : QString();
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
        // The grid announces the change; the model repaints from that signal.
        return grid_->setText(gridRow(index.row()), index.column(), value.toString());
    }

    Qt::Alignment alignment(int column) const
    {
        return (grid_->isNumericColumn(column) ? Qt::AlignRight : Qt::AlignLeft)
               | Qt::AlignVCenter;
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
    setItemDelegate(new GridDelegate(this));
    setSelectionMode(SingleSelection);
    setSelectionBehavior(SelectItems);
    // Double-click belongs to the window (entry dialogs); typing or F2 edits.
    setEditTriggers(AnyKeyPressed | EditKeyPressed);
    verticalHeader()->hide();
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(true);
    setWordWrap(false);
    connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        if (grid_ && index.isValid())
            grid_->doubleClick(gridRow(index.row()), index.column());
    });
    setGrid(grid);
}

GridView::~GridView() = default;

void GridView::setGrid(Grid* grid)
{
    for (const QMetaObject::Connection& c : std::as_const(connections_))
        disconnect(c);
    connections_.clear();
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
    horizontalHeader()->setVisible(grid->fixedRows() > 0);
    connections_ << connect(grid, &Grid::cellChanged, model_, &GridModel::cellChanged)
                 << connect(grid, &Grid::shapeChanged, this, [this] {
                        model_->reshape();
                        horizontalHeader()->setVisible(grid_->fixedRows() > 0);
                        applyColumnWidths();
                        syncCurrentFromGrid();
                    })
                 << connect(grid, &Grid::columnsChanged, this, [this] {
                        model_->restyle();
                        applyColumnWidths();
                    })
                 << connect(grid, &Grid::readOnlyChanged, this, [this](bool readOnly) {
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
    if (!grid->isVisible())
        hide();
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
    const double scale = qMax(1.0, fontMetrics().averageCharWidth() / kUnitCharWidth);
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
        const QString title = grid_->fixedRows() > 0 ? grid_->text(-grid_->fixedRows(), c) : QString();
        const int titleWidth = title.trimmed().isEmpty()
                                   ? 0
                                   : headerMetrics.horizontalAdvance(title.trimmed()) + margin;
        setColumnWidth(c, qMax(pixelsForUnits(units), titleWidth));
    }
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
    const QModelIndex index = currentIndex();
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
