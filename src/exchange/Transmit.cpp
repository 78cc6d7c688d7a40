#include "exchange/Transmit.h"

#include "data/Grid.h"
#include "data/Numbers.h"
#include "data/ParameterTable.h"
#include "data/PointTable.h"
#include "data/ZoneTable.h"
#include "exchange/Records.h"

#include <QList>

#include <optional>

namespace kap::exchange {
namespace {

QString untransmittedTitle()
{
    return ExchangeText::tr("Data un-transmitting.");
}

void refuseTable(Session& session, const QString& text, const QString& title)
{
    session.dialogs().ok(text, title);
    restore(session);
    session.silence().settingMode = true;
}

Result finishTransmit(Session& session, const QString& title)
{
    restore(session);
    session.refreshQuickBoxes();
    session.silence().settingMode = true;
    session.dialogs().ok(ExchangeText::tr("Transmitting has finished."), title);
    return Result::Done;
}

// The controller's table is erased first ("@INIT PNT " / "@INIT ZON "): Done, or the Result
// of a failure after its box.
Result eraseControllerTable(Session& session, qint16 code, float timeoutMs)
{
    const Outcome out = exchangeLine(session, code, timeoutMs);
    return usable(session, out, false) ? Result::Done : resultOfFailure(out);
}

// The block into the table just erased: a block that does not complete leaves the
// controller's table short of records, and its box says so.
Result writeErasedTable(Session& session, qint16 writeCode, qint16 recordCode,
                        const QList<Turn>& turns, bool* leftIncomplete)
{
    const Result written = writeBlock(session, writeCode, recordCode, turns,
                                      erasedTableText(session.family()));
    if (leftIncomplete)
        *leftIncomplete = written != Result::Done;
    return written;
}

std::optional<float> single(const QString& text)
{
    const std::optional<double> v = numbers::readNumber(text);
    if (!v)
        return std::nullopt;
    return float(*v);
}

// Completeness and range of the point rows against the controller's stroke; the first
// failing row gives its box. True when every row passes.
bool checkPoints(Session& session, float stroke)
{
    const Grid& grid = session.tableGrid();
    const QString title = untransmittedTitle();
    for (int row = 0; row < PointTable::kPoints; ++row) {
        const QString mode = grid.text(row, PointTable::ModeColumn);
        const bool hasPosition = !grid.text(row, PointTable::PositionColumn).isEmpty();
        const bool hasSpeed = !grid.text(row, PointTable::SpeedColumn).isEmpty();
        bool complete = true;
        if (mode == u"A" || mode == u"I")
            complete = hasPosition && hasSpeed;
        else if (mode == u"B")
            complete = hasPosition;
        else if (mode.isEmpty())
            complete = !hasPosition && !hasSpeed;
        if (!complete) {
            refuseTable(session, ExchangeText::tr("Data is not completed. Please check data."),
                        title);
            return false;
        }
    }
    for (int row = 0; row < PointTable::kPoints; ++row) {
        const QString mode = grid.text(row, PointTable::ModeColumn);
        if (mode != u"A" && mode != u"I")
            continue;
        const float limit = (mode == u"I" ? 2.0f * stroke : stroke) + 0.001f;
        const auto position = single(grid.text(row, PointTable::PositionColumn));
        const auto speed = single(grid.text(row, PointTable::SpeedColumn));
        const QString number = QString::number(row);
        // A cell that is no number cannot be within the stroke either.
        if (!position || !speed || *position > limit || *position < -limit || *speed > 100.001f) {
            refuseTable(session,
                        ExchangeText::tr("Values more than stroke are input. Please confirm "
                                         "position data entry value of point No.%1.")
                            .arg(number),
                        title);
            return false;
        }
        if (*speed < -0.001f) {
            refuseTable(session,
                        ExchangeText::tr("No.%1data has become less than the speed of data input "
                                         "range. Please check data.")
                            .arg(number),
                        title);
            return false;
        }
    }
    return true;
}

Result transmitPoints(Session& session, bool* leftIncomplete)
{
    session.silence().settingMode = false;
    session.operations().title = ExchangeText::tr("Transmit Point");
    session.showError(QString());
    if (!session.dialogs().yes(ExchangeText::tr("Do you transmit point data?"),
                               session.operations().title)) {
        session.setToolbarEnabled(true);
        return Result::Declined;
    }
    lockWindow(session);
    const Outcome out = exchangeLine(session, cmd::QPRM, 3000.0f, QStringLiteral("21"));
    switch (out.verdict()) {
    case Verdict::NoAnswer:
        reportNoAnswer(session);
        return Result::LinkError;
    case Verdict::Refused:
        reportRefusal(session, out);
        return Result::Refused;
    case Verdict::Usable:
        break;
    }
    const auto stroke = single(records::queryValue(out.reply));
    if (!out.has("OK") || !stroke) {
        reportNoAnswer(session);
        session.silence().settingMode = true;
        return Result::LinkError;
    }
    session.progress().setValue(0);
    if (!checkPoints(session, *stroke))
        return Result::Refused;

    showProgress(session, 0, PointTable::kPoints + 1, 0);
    if (const Result erased = eraseControllerTable(session, cmd::INIT_PNT, 10000.0f);
        erased != Result::Done)
        return erased;
    QList<Turn> turns;
    const Grid& grid = session.tableGrid();
    for (int row = 0; row < PointTable::kPoints; ++row) {
        turns.append({records::pointRecord(
            grid.text(row, PointTable::NoColumn), grid.text(row, PointTable::ModeColumn),
            grid.text(row, PointTable::PositionColumn), grid.text(row, PointTable::SpeedColumn))});
    }
    const Result written = writeErasedTable(session, cmd::WRITE_PNT, cmd::RecordP, turns,
                                            leftIncomplete);
    if (written != Result::Done)
        return written;
    return finishTransmit(session, ExchangeText::tr("Transmit Point"));
}

Result transmitZones(Session& session, bool* leftIncomplete)
{
    session.silence().settingMode = false;
    session.operations().title = ExchangeText::tr("Transmit Zone");
    session.showError(QString());
    session.progress().setValue(0);
    if (!session.dialogs().yes(ExchangeText::tr("Do you transmit zone data?"),
                               session.operations().title)) {
        session.setToolbarEnabled(true);
        return Result::Declined;
    }
    lockWindow(session);
    const Grid& grid = session.tableGrid();
    const QString title = ExchangeText::tr("Data un-transmitting");
    for (int row = 0; row < ZoneTable::kZones; ++row) {
        const QString a = grid.text(row, ZoneTable::AngleAColumn);
        const QString b = grid.text(row, ZoneTable::AngleBColumn);
        if (a.isEmpty() != b.isEmpty()) {
            refuseTable(session, ExchangeText::tr("Data is not completed. Please check data."),
                        title);
            return Result::Refused;
        }
        if (a.isEmpty())
            continue;
        const auto va = single(a);
        const auto vb = single(b);
        if (!va || !vb || *va > *vb || *va < 0.0f || *va == *vb) {
            refuseTable(session,
                        ExchangeText::tr("Please confirm position data entry value of point No.%1.")
                            .arg(row),
                        title);
            return Result::Refused;
        }
    }

    showProgress(session, 0, ZoneTable::kZones + 1, 0);
    if (const Result erased = eraseControllerTable(session, cmd::INIT_ZON, 5000.0f);
        erased != Result::Done)
        return erased;
    QList<Turn> turns;
    for (int row = 0; row < ZoneTable::kZones; ++row) {
        turns.append({records::zoneRecord(grid.text(row, ZoneTable::NoColumn),
                                          grid.text(row, ZoneTable::AngleAColumn),
                                          grid.text(row, ZoneTable::AngleBColumn))});
    }
    const Result written = writeErasedTable(session, cmd::WRITE_ZON, cmd::RecordZ, turns,
                                            leftIncomplete);
    if (written != Result::Done)
        return written;
    return finishTransmit(session, ExchangeText::tr("Transmit Zone"));
}

// The points the controller holds must stay within the operating angle about to be written.
enum class StoredPoints { Within, Outside, Malformed };

StoredPoints checkStoredPoints(Session& session, const QString& reply)
{
    const auto read = records::readRecords(reply);
    if (!read)
        return StoredPoints::Malformed;
    ParameterTable& table = session.parameters();
    const float stroke = single(table.valueOfPrm(21)).value_or(0.0f);
    for (int k = 0; k < PointTable::kPoints; ++k) {
        const records::RecordFields record = records::findPointRecord(*read, k);
        if (record.state == records::RecordState::Malformed)
            return StoredPoints::Malformed;
        if (record.state == records::RecordState::Absent)
            continue;
        const QString mode = record.fields.at(0).left(1);
        const float limit = (mode == u"I" ? 2.0f * stroke : stroke) + 0.001f;
        for (int f = 1; f < record.fields.size(); ++f) {
            const QString& text = record.fields.at(f);
            if (text.isEmpty())
                continue;
            const auto v = single(text);
            if (!v || *v > limit || *v < -limit)
                return StoredPoints::Outside;
        }
    }
    return StoredPoints::Within;
}

}  // namespace

Result TransmitTable(Session& session, bool* leftIncomplete)
{
    if (leftIncomplete)
        *leftIncomplete = false;
    return session.family() == Family::PointInput ? transmitPoints(session, leftIncomplete)
                                                  : transmitZones(session, leftIncomplete);
}

QString erasedTableText(Family family)
{
    return family == Family::PointInput
               ? ExchangeText::tr("The controller's point data was erased and is now incomplete. "
                                  "Transmit again.")
               : ExchangeText::tr("The controller's zone data was erased and is now incomplete. "
                                  "Transmit again.");
}

Result TransmitParameters(Session& session)
{
    const bool points = session.family() == Family::PointInput;
    ParameterTable& table = session.parameters();
    session.silence().settingMode = false;
    session.operations().title = ExchangeText::tr("Parameter reception");
    if (!session.dialogs().yes(ExchangeText::tr("Do you transmit parameter data?"),
                               session.operations().title)) {
        session.setToolbarEnabled(true);
        return Result::Declined;
    }
    lockWindow(session);
    const int rows = int(table.layout().rows.size()) - 1;
    if (points) {
        // Every value goes through the change handling again, as if just edited, so what is
        // sent lies inside its range.
        for (int row = 0; row < rows; ++row)
            table.cellChanged(row, kValueColumn);
        session.showError(QString());
        const Outcome out = exchangeLine(session, cmd::READ_PNT, 5000.0f);
        const Verdict verdict = out.verdict();
        if (verdict == Verdict::Refused) {
            reportRefusal(session, out);
            return Result::Refused;
        }
        const StoredPoints stored = verdict == Verdict::NoAnswer || !out.has("OK")
                                        ? StoredPoints::Malformed
                                        : checkStoredPoints(session, out.reply);
        if (stored == StoredPoints::Malformed) {
            reportNoAnswer(session);
            session.silence().settingMode = true;
            return Result::LinkError;
        }
        if (stored == StoredPoints::Outside) {
            session.dialogs().ok(
                ExchangeText::tr("Cannot transmit data because some of point data in controller is "
                                 "out of the range of PRM21"),
                ExchangeText::tr("Parameter reception"));
            restore(session);
            session.refreshQuickBoxes();
            session.silence().settingMode = true;
            return Result::Refused;
        }
    }

    session.progress().setValue(0);
    showProgress(session, 0, rows + 1, 0);
    QList<Turn> turns;
    const Grid& grid = table.grid();
    for (int row = 0; row < rows; ++row)
        turns.append({records::parameterRecord(grid.text(row, kNoColumn), table.value(row))});
    const Result written = writeBlock(session, cmd::WRITE_PRM, cmd::RecordPRM, turns);
    if (written != Result::Done)
        return written;
    return finishTransmit(session, ExchangeText::tr("Transmit Parameter"));
}

}  // namespace kap::exchange
