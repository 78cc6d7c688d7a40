#include "data/ZoneTable.h"

#include "data/Numbers.h"

namespace kap {

ZoneTable::ZoneTable(Grid& grid, TableHost& host, QObject* parent)
    : QObject(parent), grid_(grid), host_(host)
{
    connect(&grid_, &Grid::cellChanged, this, &ZoneTable::cellChanged);
    connect(&grid_, &Grid::doubleClicked, this, &ZoneTable::doubleClicked);
}

QString ZoneTable::frameCaption()
{
    return tr("Zone output range setting  (Set as A<B.)");
}

void ZoneTable::setUp()
{
    filling_ = true;
    setUpNumberedGrid(grid_, kZones,
                      {{tr("No  "), 25, {}},
                       {tr("Zone angle A (deg)     "), 140, QStringLiteral("#0.00")},
                       {tr("Zone angle B (deg)     "), 140, QStringLiteral("#0.00")},
                       {tr("                 Note"), 285, {}}});
    grid_.setKeyFilter([](int, int column, QChar ch) { return acceptsKey(column, ch); });
    grid_.setEntryCheck([this](int, int column, const QString& text) {
        return column != NoteColumn || noteEntryFits(host_, text);
    });
    clearModifiedMark(grid_);
    filling_ = false;
}

bool ZoneTable::acceptsKey(int column, QChar ch)
{
    if (column != AngleAColumn && column != AngleBColumn)
        return true;
    return ch == QChar(8) || (ch >= u'0' && ch <= u'9') || ch == u'-' || ch == u'.';
}

void ZoneTable::doubleClicked(int row, int column)
{
    if (!entry_ || !host_.setButtonEnabled() || row < 0 || row >= grid_.rows())
        return;
    if (column == AngleAColumn || column == AngleBColumn)
        enterThroughDialog(grid_, row, column, [this] { return entry_->numericValue(); });
}

void ZoneTable::cellChanged(int row, int /*column*/)
{
    if (host_.settingUp() || host_.teaching() || filling_ || row < 0 || row >= grid_.rows())
        return;

    for (const int column : {int(AngleAColumn), int(AngleBColumn)}) {
        const QString angle = grid_.text(row, column);
        if (angle.isEmpty())
            continue;
        const std::optional<double> v = numbers::readNumber(angle);
        if (!v) {
            // Only the unreadable angle is dropped, not the cell that happened to change
            // (a note typed next to it stays).
            grid_.setText(row, column, QString());
            host_.restoreIdle();
            return;
        }
        if (*v < 0 || *v > 359.99) {
            host_.dialogs().ok(tr("Please set a value as 0 to 359.99 (deg)."), tr("error"),
                               MsgIcon::Exclamation);
            grid_.endEditing();
            grid_.setText(row, column, QString());
        } else {
            grid_.setText(row, column, numbers::format2(angle));
        }
    }
    setModifiedMark(grid_);
}

}  // namespace kap
