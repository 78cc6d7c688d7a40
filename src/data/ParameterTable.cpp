#include "data/ParameterTable.h"

#include "data/Numbers.h"

#include <cmath>

namespace kap {

namespace {

int typeNumberOf(const QString& type)
{
    // A type that is not a whole number is outside the table: 0 takes the "other types" values.
    const std::optional<double> v = numbers::readNumber(type);
    if (!v || *v != std::floor(*v) || std::fabs(*v) > 1e6)
        return 0;
    return int(*v);
}

// The bounds of a numeric range text "low to high (unit)"; nothing when either is unreadable.
struct Bounds {
    double low;
    double high;
};

std::optional<Bounds> boundsOf(const QString& range, qsizetype toAt)
{
    const QString rest = range.mid(toAt + 4);
    const qsizetype paren = rest.indexOf(QStringLiteral(" ("));
    const auto low = numbers::readNumber(range.left(toAt));
    const auto high = numbers::readNumber(paren >= 0 ? rest.left(paren) : rest);
    if (!low || !high)
        return std::nullopt;
    return Bounds{*low, *high};
}

}  // namespace

ParameterTable::ParameterTable(Family family, Grid& grid, Grid& markGrid, TableHost& host,
                               QObject* parent)
    : QObject(parent), layout_(familyLayout(family)), grid_(grid), markGrid_(markGrid), host_(host)
{
    connect(&grid_, &Grid::cellChanged, this, &ParameterTable::cellChanged);
}

void ParameterTable::setUp()
{
    filling_ = true;
    grid_.setColumns(5);
    grid_.setFixedRows(2);
    grid_.setRows(int(layout_.rows.size()) - 1);
    for (int c = 0; c < 5; ++c) {
        grid_.setText(-2, c, shownHeader(layout_, c));
        grid_.setColumnWidth(c, layout_.widths.at(c));
        grid_.setColumnReadOnly(c, c != kValueColumn);
    }
    for (const ParameterRow& r : layout_.rows) {
        grid_.setText(r.row, kNoColumn, QString::number(r.prm));
        grid_.setText(r.row, kRangeColumn, shownRange(r, 50));
        grid_.setText(r.row, kNoteColumn, shownName(r));
    }
    currentType_ = QStringLiteral("50");
    SelectDefaultRow();
    fillFromDefaultRow();
    setInertiaLabel(inertiaUnitLabel(50));
    if (layout_.hiddenAtStart)
        grid_.setVisible(false);
    filling_ = false;
}

ParameterTable::TypeCheck ParameterTable::SelectDefaultRow()
{
    const std::optional<double> v = numbers::readNumber(currentType_);
    if (!v)
        return TypeCheck::NotANumber;
    const bool whole = *v == std::floor(*v) && std::fabs(*v) < 1e6;
    const QString row = whole ? kap::defaultRow(layout_.family, int(*v)) : QString();
    if (row.isNull()) {
        host_.dialogs().ok(tr("Controller type is different."), tr("Controller type"),
                           MsgIcon::Exclamation);
        host_.endProgram();
        return TypeCheck::Unknown;
    }
    defaultRow_ = row;
    return TypeCheck::Ok;
}

void ParameterTable::fillFromDefaultRow()
{
    const QStringList fields = defaultRowFields(defaultRow_, int(layout_.rows.size()));
    for (int k = 0; k < fields.size(); ++k) {
        const int row = k - 1;
        grid_.setText(row, kInitialColumn, fields.at(k));
        grid_.setText(row, kValueColumn, fields.at(k));
    }
}

void ParameterTable::ApplyTypeRanges(const QString& type)
{
    const int n = typeNumberOf(type);
    for (const ParameterRow& r : layout_.rows) {
        if (r.kind == RowKind::Fixed)
            continue;
        grid_.setText(r.row, kRangeColumn, shownRange(r, n));
        grid_.setText(r.row, kInitialColumn, initialFor(r, n));
    }
    if (layout_.family == Family::PointInput)
        setInertiaLabel(inertiaUnitLabel(n));
}

void ParameterTable::ApplyTypeSettings(const QString& type)
{
    const int n = typeNumberOf(type);
    for (const ParameterRow& r : layout_.rows) {
        if (r.kind != RowKind::Fixed)
            grid_.setText(r.row, kValueColumn, initialFor(r, n));
    }
}

ParameterTable::TypeCheck ParameterTable::ResetParametersToDefaults()
{
    currentType_ = value(-1);
    const TypeCheck check = SelectDefaultRow();
    if (check != TypeCheck::Ok)
        return check;
    fillFromDefaultRow();
    ApplyTypeRanges(currentType_);
    return TypeCheck::Ok;
}

std::optional<int> ParameterTable::rowOfPrm(int prm) const
{
    for (const ParameterRow& r : layout_.rows) {
        if (r.prm == prm)
            return r.row;
    }
    return std::nullopt;
}

QString ParameterTable::valueOfPrm(int prm) const
{
    const std::optional<int> row = rowOfPrm(prm);
    return row ? value(*row) : QString();
}

void ParameterTable::setInertiaLabel(const QString& text)
{
    if (text == inertiaLabel_)
        return;
    inertiaLabel_ = text;
    emit inertiaLabelChanged(text);
}

void ParameterTable::cellChanged(int row, int column)
{
    if (host_.settingUp() || filling_ || column == kNoteColumn || host_.bulkFilling())
        return;
    if (row < -1 || !grid_.contains(row, column))
        return;  // the header row is no parameter

    if (row == layout_.prm6Row) {
        // Its own rules and no angle check; it is still data to save.
        validatePrm6(row);
        setModifiedMark(markGrid_);
        return;
    }
    if (!validateRow(row))
        return;  // the failure path has restored the row and the window
    setModifiedMark(markGrid_);
    if (host_.parameterGridShown())
        host_.refreshQuickBoxes();
    if (layout_.angleRow && !host_.angleCheckHeld() && !angleCorrecting_)
        checkOperatingAngle();
    if (row == -1 && layout_.typeRowLocked)
        grid_.setText(row, kValueColumn, grid_.text(row, kInitialColumn));
}

void ParameterTable::validatePrm6(int row)
{
    const QString initial = grid_.text(row, kInitialColumn);
    const QString v = value(row);
    if (v != QLatin1String("**") && v != QLatin1String("1") && v != QLatin1String("0"))
        grid_.setText(row, kValueColumn, initial);
    if (initial == QLatin1String("**")) {
        grid_.setText(row, kValueColumn, QStringLiteral("**"));
    } else if (numbers::readNumber(initial) == 1.0 && value(row) == QLatin1String("**")) {
        grid_.setText(row, kValueColumn, QStringLiteral("1"));
    }
}

bool ParameterTable::validateRow(int row)
{
    const QString initial = grid_.text(row, kInitialColumn);
    if (layout_.notApplicableRule && initial == QLatin1String("**")) {
        grid_.setText(row, kValueColumn, initial);
        return true;
    }
    const QString range = grid_.text(row, kRangeColumn);
    const qsizetype toAt = range.indexOf(QStringLiteral(" to "));
    if (toAt >= 0) {
        const std::optional<Bounds> bounds = boundsOf(range, toAt);
        if (!bounds) {
            fail(row);
            return false;
        }
        // An accepted value is kept plainly: " 50", "+50" and "50." are saved and sent as "50".
        const std::optional<double> v = numbers::readNumber(value(row));
        if (!v || *v < bounds->low || *v > bounds->high) {
            // Silently, as the controller's manual has it; the status bar says it in passing.
            const QString rest = range.mid(toAt + 4);
            const QString given = value(row);
            grid_.setText(row, kValueColumn, initial);
            if (!given.isEmpty() && given != initial) {
                host_.showPassingMessage(
                    tr("%1: %2 is outside %3 to %4; back to %5")
                        .arg(grid_.text(row, kNoteColumn).trimmed(), given, range.left(toAt),
                             rest.left(rest.indexOf(QStringLiteral(" ("))), initial));
            }
        } else
            grid_.setText(row, kValueColumn, numbers::plainNumber(value(row)));
        return true;
    }
    const QString v = value(row);
    if (v != QLatin1String("0") && v != QLatin1String("1"))
        grid_.setText(row, kValueColumn, initial);
    return true;
}

void ParameterTable::fail(int row)
{
    grid_.setText(row, kValueColumn, grid_.text(row, kInitialColumn));
    host_.restoreIdle();
}

void ParameterTable::checkOperatingAngle()
{
    const QString angle = value(*layout_.angleRow);
    if (angle == QLatin1String("**"))
        return;  // not applicable: nothing to check
    const std::optional<double> v = numbers::readNumber(angle);
    bool ok = false;
    for (int k = 1; v && k <= 90 && !ok; ++k)
        ok = *v == k * 360.0;
    if (ok)
        return;
    host_.dialogs().ok(tr("Please set the value as a multiple of 360."), tr("Setting Error"),
                       MsgIcon::Exclamation);
    // The rewrite is checked by the row's own validation; a second angle check would only
    // find 360 again.
    angleCorrecting_ = true;
    grid_.setText(*layout_.angleRow, kValueColumn, QStringLiteral("360"));
    angleCorrecting_ = false;
}

}  // namespace kap
