#include "Receive.h"

#include "Grid.h"
#include "Numbers.h"
#include "ParameterTable.h"
#include "PointTable.h"
#include "Records.h"
#include "TableHost.h"
#include "WindowSide.h"
#include "ZoneTable.h"

#include <QList>

namespace kap::exchange {
namespace {

enum class FillEnd { Completed, Cancelled, Malformed, TypeRejected };

// Texts that differ between the menu commands and the start-up reading.
struct ReadTexts {
    QString cancelTitle;
    QString prm6Range;
    QString prm28Range;
};

ReadTexts menuTexts()
{
    return {tr("Data un-transmitting."), tr("0: Invalid 1: Valid"), tr("0: ON  1: OFF")};
}

ReadTexts startupTexts()
{
    return {tr("Data not received."), tr("0:Valid function  1:Invalid function"),
            tr("0:ON  1:OFF")};
}

bool isPoints(const ExchangeHost& host)
{
    return host.family() == Family::PointInput;
}

void cancelBox(ExchangeHost& host, const ReadTexts& texts)
{
    host.side().setMainWindowEnabled(true);
    host.progress().hide();
    host.side().dialogs().message(tr("Stop"), texts.cancelTitle, MsgIcon::Exclamation,
                                  MsgButtons::Ok);
}

// The point or zone records into Grid1. Every record is split before the grid is touched,
// so a malformed reply leaves the table as it was.
FillEnd fillTable(ExchangeHost& host, const QString& reply, const ReadTexts& texts)
{
    const bool points = isPoints(host);
    const int count = points ? PointTable::kPoints : ZoneTable::kZones;
    QList<records::RecordFields> found;
    for (int k = 0; k < count; ++k) {
        found.append(points ? records::findPointRecord(reply, k) : records::findZoneRecord(reply, k));
        if (found.last().state == records::RecordState::Malformed)
            return FillEnd::Malformed;
    }

    Grid& grid = host.table();
    const QList<int> columns =
        points ? QList<int>{PointTable::ModeColumn, PointTable::PositionColumn,
                            PointTable::SpeedColumn, PointTable::NoteColumn}
               : QList<int>{ZoneTable::AngleAColumn, ZoneTable::AngleBColumn, ZoneTable::NoteColumn};
    // Rows are emptied first: a record the controller does not send leaves its row empty.
    for (int row = 0; row < count; ++row) {
        for (const int column : columns)
            grid.setText(row, column, QString());
    }
    const int fieldColumns = points ? 3 : 2;
    for (int k = 0; k < count; ++k) {
        letEventsRun();
        host.progress().setValue(k);
        if (takeCancel(host)) {
            cancelBox(host, texts);
            return FillEnd::Cancelled;
        }
        const records::RecordFields& record = found.at(k);
        if (record.state != records::RecordState::Found)
            continue;
        for (int f = 0; f < record.fields.size() && f < fieldColumns; ++f)
            grid.setText(k, 1 + f, record.fields.at(f));
    }
    return FillEnd::Completed;
}

// Parameter 0: the type row, the new current type, the Initial Value column from its default
// row (except the rows whose values depend on the type) and the type's ranges.
bool applyReceivedType(ExchangeHost& host, const QString& type)
{
    ParameterTable& table = host.parameters();
    Grid& grid = table.grid();
    grid.setText(-1, kInitialColumn, type);
    grid.setText(-1, kValueColumn, type);
    table.setCurrentType(type);
    if (table.SelectDefaultRow() != ParameterTable::TypeCheck::Ok)
        return false;
    const int rows = int(table.layout().rows.size());
    const QStringList fields = defaultRowFields(table.defaultRow(), rows);
    const QList<int> typeDependent = isPoints(host) ? QList<int>{3, 7, 10, 16} : QList<int>{3, 6};
    for (int position = 0; position < fields.size(); ++position) {
        if (!typeDependent.contains(position))
            grid.setText(position - 1, kInitialColumn, fields.at(position));
    }
    table.ApplyTypeRanges(table.currentType());
    return true;
}

void setRow(Grid& grid, int row, const QString& initial, const QString& value, const QString& range)
{
    grid.setText(row, kInitialColumn, initial);
    grid.setText(row, kValueColumn, value);
    grid.setText(row, kRangeColumn, range);
}

// The parameter values, by position, into the parameter grid. The caller raises nothing:
// the bulk-fill flag and the angle check hold are raised here and left raised for the
// caller's closing steps.
FillEnd fillParameters(ExchangeHost& host, const QString& reply, const ReadTexts& texts,
                       bool withProgress)
{
    const QStringList values = records::parameterValues(reply);
    // Without a readable type nothing else can be placed: the reply is unusable.
    if (values.isEmpty() || !numbers::isNumber(values.at(0)))
        return FillEnd::Malformed;

    ParameterTable& table = host.parameters();
    Grid& grid = table.grid();
    const bool points = isPoints(host);
    const ControllerFacts& facts = host.controller;
    host.setBulkFill(true);
    host.setAngleCheckHold(true);
    for (int k = 0; k < values.size(); ++k) {
        letEventsRun();
        if (withProgress) {
            host.progress().setValue(k);
            if (takeCancel(host)) {
                cancelBox(host, texts);
                return FillEnd::Cancelled;
            }
        }
        const QString& value = values.at(k);
        if (k == 0) {
            if (!applyReceivedType(host, value))
                return FillEnd::TypeRejected;
            continue;
        }
        const int row = table.rowOfPrm(k);
        if (row < 0)
            continue;  // not a parameter of this family's grid
        grid.setText(row, kValueColumn, value);
        if (!points)
            continue;
        if (k == 6) {
            if (facts.previous)
                setRow(grid, row, QStringLiteral("1"), value, texts.prm6Range);
            else
                setRow(grid, row, QStringLiteral("**"), QStringLiteral("**"), QString());
        } else if (k == 28) {
            if (facts.previous || records::versionLacksNoLimitMode(facts.version))
                setRow(grid, row, QStringLiteral("**"), QStringLiteral("**"), QString());
            else
                setRow(grid, row, QStringLiteral("0"), value, texts.prm28Range);
        }
    }
    return FillEnd::Completed;
}

void lowerFillFlags(ExchangeHost& host)
{
    host.setBulkFill(false);
    host.setAngleCheckHold(false);
}

void showOriginShift(ExchangeHost& host)
{
    ParameterTable& table = host.parameters();
    host.showOriginShift(table.value(table.rowOfPrm(35)));
}


Result resultOfFailure(const Outcome& out)
{
    return judge(out) == Verdict::Refused ? Result::Refused : Result::LinkError;
}

// "@?VER " and "@READ DIO ": the version and the controller generation.
Result readControllerFacts(ExchangeHost& host)
{
    Outcome out = exchangeLine(host, cmd::QVER, 2000.0f);
    if (!usable(host, out, true))
        return resultOfFailure(out);
    host.controller.version = records::versionNumber(out.reply).value_or(QString());

    out = exchangeLine(host, cmd::READ_DIO, 3000.0f);
    if (!usable(host, out, false))
        return resultOfFailure(out);
    if (out.reply.contains(QLatin1String("OK")))
        host.controller.previous = records::isPreviousController(out.reply);
    return Result::Done;
}

}  // namespace

Result ReceiveTable(ExchangeHost& host)
{
    const bool points = isPoints(host);
    WindowSide& side = host.side();
    side.flags.settei = false;
    side.flags.operationTitle = points ? tr("Point reception") : tr("Zone reception");
    if (!side.dialogs().yes(points ? tr("Do you receive point data?") : tr("Do you receive zone data?"),
                            side.flags.operationTitle)) {
        side.setToolbarEnabled(true);
        return Result::Declined;
    }
    side.showError(QString());
    side.setMainWindowEnabled(false);
    showProgress(host, 0, points ? 63 : 3, 0);
    const Outcome out = exchangeLine(host, points ? cmd::READ_PNT : cmd::READ_ZON,
                                     points ? 5000.0f : 3000.0f);
    // Only the point reply must hold "OK".
    if (!usable(host, out, points))
        return resultOfFailure(out);

    const FillEnd end = fillTable(host, out.reply, menuTexts());
    if (end == FillEnd::Malformed) {
        linkError(host);
        return Result::LinkError;
    }
    restore(host);
    side.showError(QString());
    setModifiedMark(host.table());
    if (end == FillEnd::Completed)
        side.dialogs().ok(tr("Receiving has finished."),
                          points ? tr("Receive Point") : tr("Receive Zone"));
    side.flags.settei = true;
    return end == FillEnd::Completed ? Result::Done : Result::Cancelled;
}

Result ReceiveParameters(ExchangeHost& host)
{
    const bool points = isPoints(host);
    WindowSide& side = host.side();
    side.flags.settei = false;
    side.flags.operationTitle = tr("Parameter reception");
    if (!side.dialogs().yes(tr("Do you receive parameter data?"), side.flags.operationTitle)) {
        side.setToolbarEnabled(true);
        return Result::Declined;
    }
    if (points) {
        const Result facts = readControllerFacts(host);
        if (facts != Result::Done)
            return facts;
    }
    side.showError(QString());
    side.setMainWindowEnabled(false);
    showProgress(host, 0, 63, points ? 1 : 0);
    const Outcome out = exchangeLine(host, cmd::READ_PRM, points ? 5000.0f : 3000.0f);
    if (!usable(host, out, false))
        return resultOfFailure(out);

    const FillEnd end = fillParameters(host, out.reply, menuTexts(), true);
    if (end == FillEnd::Malformed || end == FillEnd::TypeRejected) {
        lowerFillFlags(host);
        if (end == FillEnd::Malformed)
            linkError(host);
        else
            restore(host);  // the type box has been shown; the program is ending
        return end == FillEnd::Malformed ? Result::LinkError : Result::Refused;
    }
    setModifiedMark(host.table());
    side.setToolbarEnabled(true);
    side.setMainWindowEnabled(true);
    side.showError(QString());
    host.progress().hide();
    host.refreshQuickBoxes();
    showOriginShift(host);
    lowerFillFlags(host);
    side.flags.settei = true;
    if (end == FillEnd::Completed)
        side.dialogs().ok(tr("Receiving has finished."), tr("Receive Parameter"));
    return end == FillEnd::Completed ? Result::Done : Result::Cancelled;
}

Result StartupReading(ExchangeHost& host)
{
    const bool points = isPoints(host);
    const ReadTexts texts = startupTexts();
    WindowSide& side = host.side();
    side.flags.operationTitle = points ? tr("Receive Point") : tr("Receive Zone");

    // Every failure ends the reading silently.
    const auto failed = [&host](const Outcome& out, bool needOk) {
        const bool bad = judge(out) != Verdict::Usable
                         || (needOk && !out.reply.contains(QLatin1String("OK")));
        if (bad)
            restore(host);
        return bad;
    };

    if (points) {
        Outcome out = exchangeLine(host, cmd::QVER, 2000.0f);
        if (failed(out, true))
            return resultOfFailure(out);
        host.controller.version = records::versionNumber(out.reply).value_or(QString());
        out = exchangeLine(host, cmd::READ_DIO, 3000.0f);
        if (failed(out, false))
            return resultOfFailure(out);
        if (out.reply.contains(QLatin1String("OK")))
            host.controller.previous = records::isPreviousController(out.reply);
    }

    // From here on the window ends with the type read (or kept) and its ranges.
    const auto finish = [&host](Result result) {
        ParameterTable& table = host.parameters();
        lowerFillFlags(host);
        table.setCurrentType(table.value(-1));
        if (table.SelectDefaultRow() == ParameterTable::TypeCheck::Ok)
            table.ApplyTypeRanges(table.currentType());
        showOriginShift(host);
        restore(host);
        return result;
    };

    showProgress(host, 0, points ? 63 : 3, 0);
    Outcome out = exchangeLine(host, points ? cmd::READ_PNT : cmd::READ_ZON,
                               points ? 5000.0f : 3000.0f);
    if (failed(out, points))
        return finish(resultOfFailure(out));
    const FillEnd tableEnd = fillTable(host, out.reply, texts);
    if (tableEnd == FillEnd::Malformed) {
        restore(host);
        return finish(Result::LinkError);
    }
    setModifiedMark(host.table());
    host.progress().hide();

    out = exchangeLine(host, cmd::READ_PRM, points ? 5000.0f : 3000.0f);
    if (failed(out, false))
        return finish(resultOfFailure(out));
    const FillEnd paramEnd = fillParameters(host, out.reply, texts, false);
    if (paramEnd == FillEnd::TypeRejected) {
        // The type has had its message already; applying it again would repeat it.
        lowerFillFlags(host);
        restore(host);
        return Result::Refused;
    }
    if (paramEnd != FillEnd::Completed)
        return finish(Result::LinkError);
    host.refreshQuickBoxes();
    return finish(tableEnd == FillEnd::Cancelled ? Result::Cancelled : Result::Done);
}

}  // namespace kap::exchange
