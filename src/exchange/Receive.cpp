#include "exchange/Receive.h"

#include "data/Grid.h"
#include "data/Numbers.h"
#include "data/ParameterTable.h"
#include "data/PointTable.h"
#include "data/TableHost.h"
#include "data/ZoneTable.h"
#include "exchange/Records.h"

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
    return {ExchangeText::tr("Data un-transmitting."), ExchangeText::tr("0: Invalid 1: Valid"),
            ExchangeText::tr("0: ON  1: OFF")};
}

ReadTexts startupTexts()
{
    return {ExchangeText::tr("Data not received."),
            ExchangeText::tr("0:Valid function  1:Invalid function"),
            ExchangeText::tr("0:ON  1:OFF")};
}

bool isPoints(const Session& session)
{
    return session.family() == Family::PointInput;
}

void cancelBox(Session& session, const ReadTexts& texts)
{
    session.setMainWindowEnabled(true);
    session.progress().hide();
    session.dialogs().message(ExchangeText::tr("Stop"), texts.cancelTitle, MsgIcon::Exclamation,
                              MsgButtons::Ok);
}

// The point or zone records into Grid1. Every record is split, and Cancel polled once per
// record, before the grid is touched: a damaged reply or a cancelled read leaves the table
// as it was.
FillEnd fillTable(Session& session, const QString& reply, const ReadTexts& texts)
{
    const auto read = records::readRecords(reply);
    if (!read)
        return FillEnd::Malformed;
    const bool points = isPoints(session);
    const int count = points ? PointTable::kPoints : ZoneTable::kZones;
    QList<records::RecordFields> found;
    for (int k = 0; k < count; ++k) {
        found.append(points ? records::findPointRecord(*read, k)
                            : records::findZoneRecord(*read, k));
        if (found.last().state == records::RecordState::Malformed)
            return FillEnd::Malformed;
    }
    for (int k = 0; k < count; ++k) {
        letEventsRun();
        session.progress().setValue(k);
        if (takeCancel(session)) {
            cancelBox(session, texts);
            return FillEnd::Cancelled;
        }
    }

    Grid& grid = session.tableGrid();
    const QList<int> columns = points
                                   ? QList<int>{PointTable::ModeColumn, PointTable::PositionColumn,
                                                PointTable::SpeedColumn, PointTable::NoteColumn}
                                   : QList<int>{ZoneTable::AngleAColumn, ZoneTable::AngleBColumn,
                                                ZoneTable::NoteColumn};
    const int fieldColumns = points ? 3 : 2;
    for (int k = 0; k < count; ++k) {
        // A record the controller does not send leaves its row empty.
        for (const int column : columns)
            grid.setText(k, column, QString());
        const records::RecordFields& record = found.at(k);
        for (int f = 0; f < record.fields.size() && f < fieldColumns; ++f)
            grid.setText(k, 1 + f, record.fields.at(f));
    }
    return FillEnd::Completed;
}

// Parameter 0: the type row, the new current type, the Initial Value column from its default
// row (except the rows whose values depend on the type) and the type's ranges.
bool applyReceivedType(Session& session, const QString& type)
{
    ParameterTable& table = session.parameters();
    Grid& grid = table.grid();
    grid.setText(-1, kInitialColumn, type);
    grid.setText(-1, kValueColumn, type);
    table.setCurrentType(type);
    if (table.SelectDefaultRow() != ParameterTable::TypeCheck::Ok)
        return false;
    const int rows = int(table.layout().rows.size());
    const QStringList fields = defaultRowFields(table.defaultRow(), rows);
    const QList<int> typeDependent = isPoints(session) ? QList<int>{3, 7, 10, 16}
                                                       : QList<int>{3, 6};
    for (int position = 0; position < fields.size(); ++position) {
        if (!typeDependent.contains(position))
            grid.setText(position - 1, kInitialColumn, fields.at(position));
    }
    table.ApplyTypeRanges(table.currentType());
    return true;
}

// The parameter values, by position, into the parameter grid. The caller raises nothing:
// the bulk-fill flag and the angle check hold are raised here and left raised for the
// caller's closing steps.
FillEnd fillParameters(Session& session, const QString& reply, const ReadTexts& texts,
                       bool withProgress)
{
    const auto read = records::readRecords(reply);
    if (!read)
        return FillEnd::Malformed;
    const QStringList values = records::parameterValues(*read);
    // Without a readable type nothing else can be placed: the reply is unusable.
    if (values.isEmpty() || !numbers::isNumber(values.at(0)))
        return FillEnd::Malformed;

    ParameterTable& table = session.parameters();
    Grid& grid = table.grid();
    const bool points = isPoints(session);
    session.guards().bulkFill = true;
    session.guards().angleCheckHold = true;
    for (int k = 0; k < values.size(); ++k) {
        letEventsRun();
        if (withProgress) {
            session.progress().setValue(k);
            if (takeCancel(session)) {
                cancelBox(session, texts);
                return FillEnd::Cancelled;
            }
        }
        const QString& value = values.at(k);
        if (k == 0) {
            if (!applyReceivedType(session, value))
                return FillEnd::TypeRejected;
            continue;
        }
        const std::optional<int> row = table.rowOfPrm(k);
        if (!row || *row < 0 || value.isEmpty())
            continue;  // not a parameter of this family's grid, or not sent
        grid.setText(*row, kValueColumn, value);
        if (!points)
            continue;
        if (k == 6)
            showPrm6(session, value, texts.prm6Range);
        else if (k == 28)
            showPrm28(session, value, texts.prm28Range);
    }
    return FillEnd::Completed;
}

}  // namespace

Result ReceiveTable(Session& session)
{
    const bool points = isPoints(session);
    session.silence().settingMode = false;
    session.operations().title = points ? ExchangeText::tr("Point reception")
                                        : ExchangeText::tr("Zone reception");
    if (!session.dialogs().yes(points ? ExchangeText::tr("Do you receive point data?")
                                      : ExchangeText::tr("Do you receive zone data?"),
                               session.operations().title)) {
        session.setToolbarEnabled(true);
        return Result::Declined;
    }
    lockWindow(session);
    session.showError(QString());
    showProgress(session, 0, points ? 63 : 3, 0);
    const Outcome out = exchangeLine(session, points ? cmd::READ_PNT : cmd::READ_ZON,
                                     points ? 5000.0f : 3000.0f);
    // Only the point reply must hold "OK".
    if (!usable(session, out, points))
        return resultOfFailure(out);

    const FillEnd end = fillTable(session, out.reply, menuTexts());
    if (end == FillEnd::Malformed) {
        reportNoAnswer(session);
        return Result::LinkError;
    }
    restore(session);
    session.showError(QString());
    setModifiedMark(session.tableGrid());
    if (end == FillEnd::Completed)
        session.dialogs().ok(ExchangeText::tr("Receiving has finished."),
                             points ? ExchangeText::tr("Receive Point")
                                    : ExchangeText::tr("Receive Zone"));
    session.silence().settingMode = true;
    return end == FillEnd::Completed ? Result::Done : Result::Cancelled;
}

Result ReceiveParameters(Session& session)
{
    const bool points = isPoints(session);
    session.silence().settingMode = false;
    session.operations().title = ExchangeText::tr("Parameter reception");
    if (!session.dialogs().yes(ExchangeText::tr("Do you receive parameter data?"),
                               session.operations().title)) {
        session.setToolbarEnabled(true);
        return Result::Declined;
    }
    lockWindow(session);
    if (const Result facts = readControllerFacts(session); facts != Result::Done)
        return facts;
    session.showError(QString());
    showProgress(session, 0, 63, points ? 1 : 0);
    const Outcome out = exchangeLine(session, cmd::READ_PRM, points ? 5000.0f : 3000.0f);
    if (!usable(session, out, false))
        return resultOfFailure(out);

    const FillEnd end = fillParameters(session, out.reply, menuTexts(), true);
    if (end == FillEnd::Malformed || end == FillEnd::TypeRejected) {
        lowerFillFlags(session);
        if (end == FillEnd::Malformed)
            reportNoAnswer(session);
        else
            restore(session);  // the type box has been shown; the program is ending
        return end == FillEnd::Malformed ? Result::LinkError : Result::Refused;
    }
    setModifiedMark(session.tableGrid());
    restore(session);
    session.showError(QString());
    session.refreshQuickBoxes();
    showOriginShift(session);
    lowerFillFlags(session);
    session.silence().settingMode = true;
    if (end == FillEnd::Completed)
        session.dialogs().ok(ExchangeText::tr("Receiving has finished."),
                             ExchangeText::tr("Receive Parameter"));
    return end == FillEnd::Completed ? Result::Done : Result::Cancelled;
}

Result StartupReading(Session& session)
{
    const bool points = isPoints(session);
    const ReadTexts texts = startupTexts();
    session.operations().title = points ? ExchangeText::tr("Receive Point")
                                        : ExchangeText::tr("Receive Zone");

    // A failed step ends the reading silently.
    const auto failed = [&session](const Outcome& out, bool needOk) {
        const bool bad = out.verdict() != Verdict::Usable || (needOk && !out.has("OK"));
        if (bad)
            restore(session);
        return bad;
    };

    if (points) {
        // Only a time-out (or a lost line) ends the reading at the version query; a
        // controller that refuses it is read all the same, its version left unknown.
        Outcome out = exchangeLine(session, cmd::QVER, 2000.0f);
        const Verdict version = out.verdict();
        if (version == Verdict::NoAnswer) {
            restore(session);
            return Result::LinkError;
        }
        if (version == Verdict::Usable && out.has("OK"))
            session.controller().version = ControllerFacts::versionFromReply(out.reply);
        // A refused I/O query ends the reading, as a silent one does.
        out = exchangeLine(session, cmd::READ_DIO, 3000.0f);
        if (failed(out, false))
            return resultOfFailure(out);
        if (out.has("OK"))
            session.controller().previous = records::isPreviousController(out.reply);
    }

    // From here on the window ends with the type read (or kept) and its ranges.
    const auto finish = [&session](Result result) {
        ParameterTable& table = session.parameters();
        lowerFillFlags(session);
        table.setCurrentType(table.value(-1));
        if (table.SelectDefaultRow() == ParameterTable::TypeCheck::Ok)
            table.ApplyTypeRanges(table.currentType());
        showOriginShift(session);
        restore(session);
        return result;
    };

    showProgress(session, 0, points ? 63 : 3, 0);
    Outcome out = exchangeLine(session, points ? cmd::READ_PNT : cmd::READ_ZON,
                               points ? 5000.0f : 3000.0f);
    if (failed(out, points))
        return finish(resultOfFailure(out));
    const FillEnd tableEnd = fillTable(session, out.reply, texts);
    if (tableEnd == FillEnd::Malformed) {
        restore(session);
        return finish(Result::LinkError);
    }
    setModifiedMark(session.tableGrid());
    session.progress().hide();

    out = exchangeLine(session, cmd::READ_PRM, points ? 5000.0f : 3000.0f);
    if (failed(out, false))
        return finish(resultOfFailure(out));
    const FillEnd paramEnd = fillParameters(session, out.reply, texts, false);
    if (paramEnd == FillEnd::TypeRejected) {
        // The type has had its message already; applying it again would repeat it.
        lowerFillFlags(session);
        restore(session);
        return Result::Refused;
    }
    if (paramEnd != FillEnd::Completed)
        return finish(Result::LinkError);
    session.refreshQuickBoxes();
    return finish(tableEnd == FillEnd::Cancelled ? Result::Cancelled : Result::Done);
}

}  // namespace kap::exchange
