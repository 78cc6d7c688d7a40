#include "exchange/Compare.h"

#include "data/Grid.h"
#include "data/Numbers.h"
#include "data/ParameterTable.h"
#include "data/PointTable.h"
#include "data/ZoneTable.h"
#include "exchange/Records.h"

#include <QEventLoop>
#include <QList>
#include <QRegularExpression>
#include <QTimer>

#include <algorithm>
#include <cmath>

namespace kap::exchange {

namespace compare {

double leadingNumber(const QString& text)
{
    static const QRegularExpression leading(QStringLiteral(R"(^[ \t]*([+-]?(\d+\.?\d*|\.\d+)))"));
    const QRegularExpressionMatch m = leading.match(text);
    return m.hasMatch() ? numbers::readNumber(m.captured(1)).value_or(0.0) : 0.0;
}

bool pointDiffers(const QStringList& cells, const std::optional<QString>& body)
{
    // Mode, Position, Speed. The controller keeps no Note, so a Note never counts: against
    // it every noted point would differ, and a restored controller would never compare equal.
    constexpr int kColumns = 3;
    const auto cell = [&cells](int c) { return c < cells.size() ? cells.at(c) : QString(); };
    if (!body) {
        // No record: the row must be empty.
        for (int c = 0; c < kColumns; ++c) {
            if (!cell(c).isEmpty())
                return true;
        }
        return false;
    }
    const QStringList fields = body->split(QLatin1Char(','));
    const auto field = [&fields](int c) { return c < fields.size() ? fields.at(c) : QString(); };
    for (int c = 0; c < kColumns; ++c) {
        if (c == 1 && cell(0) == QLatin1String("B")) {
            // A brake point's position is a small number: the controller's first character
            // against the cell ("2.00" counts by its first character too).
            const QString position = cell(1);
            const double mine = leadingNumber(position.size() == 4 ? position.left(1) : position);
            const double theirs = leadingNumber(field(1).left(1));
            return mine != theirs;  // equal: the rest of the row is not compared
        }
        if (cell(c) != field(c))
            return true;
    }
    return false;
}

bool zoneDiffers(const QStringList& cells, const std::optional<QStringList>& fields)
{
    constexpr int kColumns = 2;  // angle A, angle B
    const auto cell = [&cells](int c) { return c < cells.size() ? cells.at(c) : QString(); };
    for (int c = 0; c < kColumns; ++c) {
        if (!fields) {
            if (!cell(c).isEmpty())
                return true;
            continue;
        }
        const std::optional<double> mine = numbers::readNumber(cell(c));
        const std::optional<double> theirs = numbers::readNumber(c < fields->size() ? fields->at(c)
                                                                                    : QString());
        // A cell (or field) that is no number, an empty cell among them, cannot equal an
        // angle the controller reports.
        if (!mine || !theirs || float(*mine) != float(*theirs))
            return true;
    }
    return false;
}

bool parameterDiffers(const QString& cell, const QString& received)
{
    return leadingNumber(cell) != leadingNumber(received);
}

}  // namespace compare

namespace {

constexpr float kReadTimeoutMs = 3000.0f;
constexpr int kZonePauseMs = 10;
constexpr int kParameters = 64;

QString title()
{
    return ExchangeText::tr("Compare");
}

enum class Pass { Equal, Differs, Cancelled };

struct PassEnd {
    Pass pass = Pass::Equal;
    int number = -1;
};

// The per-record Cancel check: a "1" in the tag ends the compare with "Stop".
bool cancelled(Session& session)
{
    if (!takeCancel(session))
        return false;
    restore(session);
    session.dialogs().message(ExchangeText::tr("Stop"), title(), MsgIcon::Exclamation,
                              MsgButtons::Ok);
    return true;
}

// One turn of a pass: events, the bar, Cancel.
bool turn(Session& session, int k)
{
    letEventsRun();
    session.progress().setValue(k);
    return !cancelled(session);
}

// Lets window events run for ms (scaled as the session's protocol waits are).
void pause(Session& session, int ms)
{
    QEventLoop wait;
    const int scaled = std::max(0, int(std::lround(ms * session.timeScale())));
    QTimer::singleShot(scaled, &wait, &QEventLoop::quit);
    wait.exec();
}

QStringList cellsOf(const Grid& grid, int row, const QList<int>& columns)
{
    QStringList cells;
    for (const int column : columns)
        cells.append(grid.text(row, column));
    return cells;
}

// A record whose body has no "," cannot be split: the reply is unusable.
bool hasMalformedRecord(const QList<records::Record>& table, bool points)
{
    const int count = points ? PointTable::kPoints : ZoneTable::kZones;
    for (int k = 0; k < count; ++k) {
        const records::RecordFields r = points ? records::findPointRecord(table, k)
                                               : records::findZoneRecord(table, k);
        if (r.state == records::RecordState::Malformed)
            return true;
    }
    return false;
}

// The body of the first point record k, nothing when absent (an empty body counts as absent,
// and would compare as an absent record does).
std::optional<QString> pointBody(const QList<records::Record>& table, int k)
{
    if (records::findPointRecord(table, k).state != records::RecordState::Found)
        return std::nullopt;
    const QString key = QLatin1Char('P') + QString::number(k);
    const auto it = std::find_if(table.cbegin(), table.cend(),
                                 [&key](const records::Record& r) { return r.key == key; });
    return it->body;
}

// A difference found: the first ends the pass, unless every difference is wanted; then it is
// listed and the pass goes on (the pass still reports the first).
bool noteDifference(PassEnd& end, QList<CompareFinding>* every, CompareFinding found)
{
    if (end.pass != Pass::Differs)
        end = {Pass::Differs, found.number};
    if (!every)
        return true;
    every->append(std::move(found));
    return false;
}

const QString kNoRecord = QStringLiteral("(no record)");

// A grid row in the form of the controller's record body, so a difference list shows both
// sides alike: "A,90.00,50"; a brake point as its record has it, "B,1.00"; an empty row as
// an absent record shows.
QString rowAsBody(const QStringList& cells)
{
    if (cells.join(QString()).isEmpty())
        return kNoRecord;
    return (cells.value(0) == QLatin1String("B") ? cells.mid(0, 2) : cells).join(QLatin1Char(','));
}

PassEnd comparePoints(Session& session, const QList<records::Record>& table,
                      QList<CompareFinding>* every)
{
    const Grid& grid = session.tableGrid();
    const QList<int> columns{PointTable::ModeColumn, PointTable::PositionColumn,
                             PointTable::SpeedColumn};
    PassEnd end;
    for (int k = 0; k < PointTable::kPoints; ++k) {
        if (!turn(session, k))
            return {Pass::Cancelled};
        const QStringList cells = cellsOf(grid, k, columns);
        const std::optional<QString> body = pointBody(table, k);
        if (compare::pointDiffers(cells, body)
            && noteDifference(
                end, every,
                {CompareFinding::Kind::Row, k, rowAsBody(cells), body.value_or(kNoRecord)}))
            break;
    }
    return end;
}

PassEnd compareZones(Session& session, const QList<records::Record>& table,
                     QList<CompareFinding>* every)
{
    const Grid& grid = session.tableGrid();
    const QList<int> columns{ZoneTable::AngleAColumn, ZoneTable::AngleBColumn};
    PassEnd end;
    for (int k = 0; k < ZoneTable::kZones; ++k) {
        if (!turn(session, k))
            return {Pass::Cancelled};
        const records::RecordFields r = records::findZoneRecord(table, k);
        std::optional<QStringList> fields;
        if (r.state == records::RecordState::Found)
            fields = r.fields.mid(0, 2);
        const QStringList cells = cellsOf(grid, k, columns);
        if (compare::zoneDiffers(cells, fields)
            && noteDifference(end, every,
                              {CompareFinding::Kind::Row, k, cells.join(QLatin1Char(',')),
                               fields ? fields->join(QLatin1Char(',')) : kNoRecord}))
            break;
        pause(session, kZonePauseMs);
    }
    return end;
}

// Parameters 0 to 63 by name; only the grid's own numbers count, each against its row (the
// type row for parameter 0).
PassEnd compareParameters(Session& session, const QString& reply, QList<CompareFinding>* every)
{
    PassEnd end;
    const ParameterTable& table = session.parameters();
    const auto& rows = table.layout().rows;
    for (int k = 0; k < kParameters; ++k) {
        if (!turn(session, k))
            return {Pass::Cancelled};
        const auto row = std::find_if(rows.begin(), rows.end(),
                                      [k](const ParameterRow& r) { return r.prm == k; });
        if (row == rows.end())
            continue;
        const std::optional<QString> value = records::parameterByName(reply, k);
        if (!value)
            continue;
        if (compare::parameterDiffers(table.value(row->row), *value)
            && noteDifference(end, every,
                              {CompareFinding::Kind::Parameter, k, table.value(row->row), *value}))
            break;
    }
    return end;
}

QString resultText(const CompareFinding& found, bool points)
{
    switch (found.kind) {
    case CompareFinding::Kind::Equal:
        break;
    case CompareFinding::Kind::Row:
        return (points ? ExchangeText::tr("Point_No%1 NG") : ExchangeText::tr("Zone_No%1 NG"))
            .arg(found.number);
    case CompareFinding::Kind::Parameter:
        return ExchangeText::tr("Parameter_No%1 NG").arg(found.number);
    }
    return ExchangeText::tr("Comparison of data has finished successfully.");
}

}  // namespace

Result Compare(Session& session, CompareFinding* finding, QList<CompareFinding>* every)
{
    const bool points = session.isPointInput();
    // The setting-mode silence stays off after a compare.
    session.silence().settingMode = false;
    session.operations().title = title();
    if (!session.dialogs().yes(ExchangeText::tr("Do you compare data?"), title())) {
        session.setToolbarEnabled(true);
        return Result::Declined;
    }
    lockWindow(session);
    showProgress(session, 0, points ? PointTable::kPoints - 1 : ZoneTable::kZones - 1, 0);

    // The table: time-out, "NG" and a reply without "OK" as the point receive has them.
    Outcome out = exchangeLine(session, points ? cmd::READ_PNT : cmd::READ_ZON, kReadTimeoutMs);
    if (!usable(session, out, true))
        return resultOfFailure(out);
    // A damaged reply (a stray byte, lines run together, a record that cannot be split) is a
    // communication error, as in the receive: comparing around the damage would report
    // differences the controller does not hold, or hide some it does.
    const auto table = records::readRecords(out.reply);
    if (!table || hasMalformedRecord(*table, points)) {
        reportNoAnswer(session);
        return Result::LinkError;
    }
    CompareFinding found;
    PassEnd end = points ? comparePoints(session, *table, every)
                         : compareZones(session, *table, every);
    if (end.pass == Pass::Cancelled)
        return Result::Cancelled;
    if (end.pass == Pass::Differs)
        found = {CompareFinding::Kind::Row, end.number, {}, {}};
    // The window stops at a table difference; a list of every difference goes on.
    if (end.pass != Pass::Differs || every) {
        // The parameters: a reply without "OK", whatever else it holds ("NG" among it), is a
        // communication error; so is one the record reader cannot take apart.
        session.progress().setRange(0, kParameters - 1);
        session.progress().setValue(0);
        out = exchangeLine(session, cmd::READ_PRM, kReadTimeoutMs);
        if (out.verdict() == Verdict::NoAnswer || !out.has("OK")
            || !records::readRecords(out.reply)) {
            reportNoAnswer(session);
            return Result::LinkError;
        }
        end = compareParameters(session, out.reply, every);
        if (end.pass == Pass::Cancelled)
            return Result::Cancelled;
        if (end.pass == Pass::Differs && found.kind == CompareFinding::Kind::Equal)
            found = {CompareFinding::Kind::Parameter, end.number, {}, {}};
    }

    restore(session);
    session.dialogs().ok(resultText(found, points), title());
    if (finding)
        *finding = found;
    return Result::Done;
}

}  // namespace kap::exchange
