#include "data/PointTable.h"

#include "data/Numbers.h"

namespace kap {

namespace {

constexpr QChar kBackspace(8);

bool isDigit(QChar ch)
{
    return ch >= u'0' && ch <= u'9';
}

}  // namespace

PointTable::PointTable(Grid& grid, TableHost& host, QObject* parent)
    : QObject(parent), grid_(grid), host_(host)
{
    connect(&grid_, &Grid::cellChanged, this, &PointTable::cellChanged);
    connect(&grid_, &Grid::doubleClicked, this, &PointTable::doubleClicked);
}

void PointTable::setUp()
{
    filling_ = true;
    setUpNumberedGrid(grid_, kPoints,
                      {{tr("No  "), 25, {}},
                       {tr(" Mode"), 80, {}},
                       {tr("Position (deg)  "), 100, QStringLiteral("#0.00")},
                       {tr(" Speed (%)      "), 100, QStringLiteral("#0")},
                       {tr("                 Note"), 260, {}}});
    grid_.setKeyFilter([](int, int column, QChar ch) { return acceptsKey(column, ch); });
    grid_.setEntryCheck([this](int, int column, const QString& text) {
        return column != NoteColumn || noteEntryFits(host_, text);
    });
    clearModifiedMark(grid_);
    filling_ = false;
}

bool PointTable::acceptsKey(int column, QChar ch)
{
    switch (column) {
    case ModeColumn:
        return ch == kBackspace || QStringLiteral("ABIabi").contains(ch);
    case PositionColumn:
        return ch == kBackspace || isDigit(ch) || ch == u'-' || ch == u'.';
    case SpeedColumn:
        return ch == kBackspace || isDigit(ch);
    default:
        return true;
    }
}

void PointTable::doubleClicked(int row, int column)
{
    if (!entry_ || !host_.setButtonEnabled() || row < 0 || row >= grid_.rows())
        return;
    if (column == ModeColumn)
        enterThroughDialog(grid_, row, column, [this] { return entry_->operationMode(); });
    else if (column == PositionColumn || column == SpeedColumn)
        enterThroughDialog(grid_, row, column, [this] { return entry_->numericValue(); });
}

void PointTable::refuse(const QString& text, int row, int column)
{
    host_.dialogs().ok(text, tr("error"), MsgIcon::Exclamation);
    grid_.endEditing();
    grid_.setText(row, column, QString());
}

// Each step reads the cells afresh: a rewrite runs this handling again (nested) for the same
// row, and what it leaves is what the next step must see.
void PointTable::cellChanged(int row, int /*column*/)
{
    if (host_.settingUp() || filling_ || row < 0 || row >= grid_.rows())
        return;

    const QString mode = grid_.text(row, ModeColumn);
    if (mode == u"a" || mode == u"i" || mode == u"b")
        grid_.setText(row, ModeColumn, mode.toUpper());

    const QString upper = grid_.text(row, ModeColumn);
    if (upper == u"B") {
        const QString position = grid_.text(row, PositionColumn);
        const std::optional<double> p = numbers::readNumber(position);
        if (!position.isEmpty() && !(p == 0.0 || p == 1.0))
            grid_.setText(row, PositionColumn, QString());
        grid_.setText(row, SpeedColumn, QString());
    } else if (!upper.isEmpty() && upper != u"A" && upper != u"I") {
        refuse(tr("There is an error in operating mode."), row, ModeColumn);
    }

    const QString position = grid_.text(row, PositionColumn);
    if (!position.isEmpty())
        grid_.setText(row, PositionColumn, numbers::format2(position));  // null when no number

    const QString speed = grid_.text(row, SpeedColumn);
    if (!speed.isEmpty()) {
        const std::optional<double> s = numbers::readNumber(speed);
        if (!s)
            grid_.setText(row, SpeedColumn, QString());
        else if (*s == 0 || *s > 100)
            refuse(tr("Please set a value within 1 to 100."), row, SpeedColumn);
        else
            grid_.setText(row, SpeedColumn, numbers::roundHalfEven(speed));
    }

    setModifiedMark(grid_);
}

}  // namespace kap
