#include "ui/grid/GridAccessible.h"

#include "ui/grid/GridView.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHash>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QTableView>

namespace kap {
namespace {

// One cell of a grid as assistive tools see it: its text without the padding blanks, where it
// is, whether it is selected or current. Unlike Qt's own table cell it offers no "Toggle"
// action: choosing a cell is moving to it, and a cell has nothing to switch.
class GridTableAccessible;

class GridCellAccessible : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
    GridCellAccessible(QTableView* view, const QModelIndex& index) : view_(view), index_(index) {}
    // A column title.
    GridCellAccessible(QTableView* view, int column)
        : view_(view), index_(view->model()->index(0, column)), header_(true)
    {
    }

    bool isValid() const override { return view_ && index_.isValid(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return view_ ? view_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override
    {
        return QAccessible::queryAccessibleInterface(view_.data());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override
    {
        if (!isValid() || (t != QAccessible::Name && t != QAccessible::Value))
            return {};
        if (header_)
            return index_.model()
                ->headerData(index_.column(), Qt::Horizontal, Qt::AccessibleTextRole)
                .toString();
        return index_.data(Qt::AccessibleTextRole).toString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override
    {
        if (!isValid())
            return {};
        if (header_) {
            const QHeaderView* h = view_->horizontalHeader();
            const QRect r(h->sectionViewportPosition(index_.column()), 0,
                          h->sectionSize(index_.column()), h->height());
            return QRect(h->viewport()->mapToGlobal(r.topLeft()), r.size());
        }
        const QRect r = view_->visualRect(index_);
        return QRect(view_->viewport()->mapToGlobal(r.topLeft()), r.size());
    }
    QAccessible::Role role() const override
    {
        return header_ ? QAccessible::ColumnHeader : QAccessible::Cell;
    }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        if (!isValid())
            return s;
        s.selectable = true;
        s.focusable = true;
        s.selected = isSelected();
        s.focused = view_->hasFocus() && view_->currentIndex() == index_;
        s.invisible = !view_->isVisible()
                      || !view_->viewport()->rect().intersects(view_->visualRect(index_));
        s.editable = (index_.flags() & Qt::ItemIsEditable) != 0;
        s.readOnly = !s.editable;
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::TableCellInterface
                   ? static_cast<QAccessibleTableCellInterface*>(this)
                   : nullptr;
    }

    bool isSelected() const override
    {
        return isValid() && view_->selectionModel() && view_->selectionModel()->isSelected(index_);
    }
    QList<QAccessibleInterface*> columnHeaderCells() const override;
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return index_.column(); }
    int rowIndex() const override { return index_.row(); }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

private:
    QPointer<QTableView> view_;
    QPersistentModelIndex index_;
    bool header_ = false;
};

// A grid as one accessible table of cells; column descriptions are the titles without their
// padding.
class GridTableAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit GridTableAccessible(QTableView* view) : QAccessibleWidget(view, QAccessible::Table) {}
    ~GridTableAccessible() override { forgetCells(); }

    QTableView* view() const { return static_cast<QTableView*>(object()); }
    QAbstractItemModel* model() const { return view()->model(); }

    int childCount() const override { return model() ? rowCount() * columnCount() : 0; }
    QAccessibleInterface* child(int i) const override
    {
        const int columns = columnCount();
        return columns > 0 && i >= 0 ? cellAt(i / columns, i % columns) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        auto* cell = const_cast<QAccessibleInterface*>(child)->tableCellInterface();
        return cell ? cell->rowIndex() * columnCount() + cell->columnIndex() : -1;
    }
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TableInterface)
            return static_cast<QAccessibleTableInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override
    {
        if (!model() || row < 0 || column < 0 || row >= rowCount() || column >= columnCount())
            return nullptr;
        const QModelIndex index = model()->index(row, column);
        const quint64 key = (quint64(quint32(row)) << 32) | quint32(column);
        if (const auto found = cells_.constFind(key); found != cells_.cend()) {
            QAccessibleInterface* cached = QAccessible::accessibleInterface(found.value());
            if (cached && cached->isValid())
                return cached;
            if (cached)
                QAccessible::deleteAccessibleInterface(found.value());
            cells_.remove(key);
        }
        auto* cell = new GridCellAccessible(view(), index);
        cells_.insert(key, QAccessible::registerAccessibleInterface(cell));
        return cell;
    }
    int selectedCellCount() const override { return int(selectedIndexes().size()); }
    QList<QAccessibleInterface*> selectedCells() const override
    {
        QList<QAccessibleInterface*> out;
        for (const QModelIndex& i : selectedIndexes())
            out << cellAt(i.row(), i.column());
        return out;
    }
    QAccessibleInterface* headerCell(int column) const
    {
        if (!model() || column < 0 || column >= columnCount() || rowCount() == 0)
            return nullptr;
        if (const auto found = headers_.constFind(column); found != headers_.cend()) {
            if (QAccessibleInterface* cached = QAccessible::accessibleInterface(found.value());
                cached && cached->isValid())
                return cached;
        }
        auto* cell = new GridCellAccessible(view(), column);
        headers_.insert(column, QAccessible::registerAccessibleInterface(cell));
        return cell;
    }
    QString columnDescription(int column) const override
    {
        return model()
                   ? model()->headerData(column, Qt::Horizontal, Qt::AccessibleTextRole).toString()
                   : QString();
    }
    QString rowDescription(int row) const override
    {
        return model() ? model()->headerData(row, Qt::Vertical, Qt::DisplayRole).toString()
                       : QString();
    }
    int columnCount() const override { return model() ? model()->columnCount() : 0; }
    int rowCount() const override { return model() ? model()->rowCount() : 0; }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    // The grids select one cell at a time: whole rows and columns are never selected.
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override { forgetCells(); }

private:
    QModelIndexList selectedIndexes() const
    {
        return view()->selectionModel() ? view()->selectionModel()->selectedIndexes()
                                        : QModelIndexList();
    }
    void forgetCells() const
    {
        for (const auto* ids : {&cells_, &headers_}) {
            for (const QAccessible::Id id : *ids)
                if (QAccessible::accessibleInterface(id))
                    QAccessible::deleteAccessibleInterface(id);
        }
        cells_.clear();
        headers_.clear();
    }

    mutable QHash<quint64, QAccessible::Id> cells_;
    mutable QHash<quint64, QAccessible::Id> headers_;
};

QList<QAccessibleInterface*> GridCellAccessible::columnHeaderCells() const
{
    if (header_ || !isValid())
        return {};
    auto* table = dynamic_cast<GridTableAccessible*>(parent());
    QAccessibleInterface* title = table ? table->headerCell(index_.column()) : nullptr;
    return title ? QList<QAccessibleInterface*>{title} : QList<QAccessibleInterface*>{};
}

QAccessibleInterface* gridFactory(const QString&, QObject* object)
{
    // The grid view and the view of its fixed rows inside it.
    auto* table = qobject_cast<QTableView*>(object);
    if (!table || !(qobject_cast<GridView*>(table) || qobject_cast<GridView*>(table->parent())))
        return nullptr;
    return new GridTableAccessible(table);
}

}  // namespace

void installGridAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(gridFactory);
        return true;
    }();
    Q_UNUSED(installed);
}

}  // namespace kap
