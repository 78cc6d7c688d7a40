#include "exchange/ExchangeSteps.h"

#include "data/Grid.h"
#include "data/ParameterTable.h"
#include "exchange/Records.h"
#include "link/ProgramState.h"
#include "session/Reactions.h"

#include <QCoreApplication>

namespace kap::exchange {

Outcome exchangeLine(Session& session, qint16 code, float timeoutMs, const QString& argument)
{
    return session.link().exchange(code, argument, timeoutMs);
}

Outcome exchangeRecord(Session& session, qint16 code, const QString& record, float timeoutMs)
{
    // The builder puts the record's prefix ("P", "PRM", "Z") in front itself.
    const QString text = code == cmd::EndOfData ? QString() : record.mid(commandWord(code).size());
    return session.link().exchange(code, text, timeoutMs);
}

void lockWindow(Session& session)
{
    LockCommands(session);
    session.setMainWindowEnabled(false);
}

void restore(Session& session)
{
    RestoreWindow(session);
    UnlockCommands(session);
}

void reportNoAnswer(Session& session, const QString& more)
{
    ReportLinkError(session, more);
    // ReportLinkError stays quiet while the setting-mode silence is on and then leaves the window
    // alone; an operation that fails must never leave it disabled.
    restore(session);
}

void reportRefusal(Session& session, const Outcome& outcome, const QString& more)
{
    ReportRefusal(session, outcome, more);
    restore(session);
}

bool takeCancel(Session& session)
{
    if (session.progress().cancelTag() != QLatin1String("1"))
        return false;
    session.progress().setCancelTag(QStringLiteral("0"));
    return true;
}

void showProgress(Session& session, int minimum, int maximum, int value)
{
    Progress& p = session.progress();
    p.setCancelTag(QStringLiteral("0"));
    p.setCancelEnabled(true);
    p.setRange(minimum, maximum);
    p.setValue(value);
    p.show();
}

void letEventsRun()
{
    QCoreApplication::processEvents();
}

bool usable(Session& session, const Outcome& out, bool needOk)
{
    switch (out.verdict()) {
    case Verdict::NoAnswer:
        reportNoAnswer(session);
        return false;
    case Verdict::Refused:
        reportRefusal(session, out);
        return false;
    case Verdict::Usable:
        break;
    }
    if (needOk && !out.has("OK")) {
        reportNoAnswer(session);
        return false;
    }
    return true;
}

Result resultOfFailure(const Outcome& outcome)
{
    return outcome.verdict() == Verdict::Refused ? Result::Refused : Result::LinkError;
}

Result readControllerFacts(Session& session)
{
    if (!session.isPointInput())
        return Result::Done;
    Outcome out = exchangeLine(session, cmd::QVER, 2000.0f);
    if (!usable(session, out, true))
        return resultOfFailure(out);
    session.controller().version = ControllerFacts::versionFromReply(out.reply);

    out = exchangeLine(session, cmd::READ_DIO, 3000.0f);
    if (!usable(session, out, false))
        return resultOfFailure(out);
    if (out.has("OK"))
        session.controller().previous = records::isPreviousController(out.reply);
    return Result::Done;
}

namespace {

void setRow(Grid& grid, int row, const QString& initial, const QString& value, const QString& range)
{
    grid.setText(row, kInitialColumn, initial);
    grid.setText(row, kValueColumn, value);
    grid.setText(row, kRangeColumn, range);
}

void setNotApplicable(Grid& grid, int row)
{
    setRow(grid, row, QStringLiteral("**"), QStringLiteral("**"), QString());
}

}  // namespace

void showPrm6(Session& session, const QString& value, const QString& range)
{
    ParameterTable& table = session.parameters();
    const std::optional<int> row = table.rowOfPrm(6);
    if (!row)
        return;
    if (session.controller().previous)
        setRow(table.grid(), *row, QStringLiteral("1"), value, range);
    else
        setNotApplicable(table.grid(), *row);
}

void showPrm28(Session& session, const QString& value, const QString& range)
{
    ParameterTable& table = session.parameters();
    const std::optional<int> row = table.rowOfPrm(28);
    if (!row)
        return;
    const ControllerFacts& facts = session.controller();
    if (facts.previous || records::versionLacksNoLimitMode(facts.version))
        setNotApplicable(table.grid(), *row);
    else
        setRow(table.grid(), *row, QStringLiteral("0"), value, range);
}

void showOriginShift(Session& session)
{
    ParameterTable& table = session.parameters();
    session.showOriginShift(table.valueOfPrm(35));
}

void lowerFillFlags(Session& session)
{
    session.guards().bulkFill = false;
    session.guards().angleCheckHold = false;
}

Result writeBlock(Session& session, qint16 writeCode, qint16 recordCode, const QList<Turn>& turns,
                  const QString& failureNote)
{
    const int last = int(turns.size()) + 1;
    session.progress().setRange(0, last);
    session.progress().setValue(0);
    Outcome out = exchangeLine(session, writeCode, 3000.0f);
    const Verdict opened = out.verdict();
    if (opened == Verdict::Refused) {
        reportRefusal(session, out, failureNote);
        return Result::Refused;
    }
    if (opened == Verdict::NoAnswer || !out.has("READY")) {
        reportNoAnswer(session, failureNote);
        return Result::LinkError;
    }

    for (int k = 1; k <= last; ++k) {
        session.progress().setValue(k);
        letEventsRun();
        const bool endOfData = k == last;
        if (endOfData) {
            out = exchangeRecord(session, cmd::EndOfData, QString(), 3000.0f);
        } else {
            const Turn& turn = turns.at(k - 1);
            if (!turn.record)
                continue;
            out = exchangeRecord(session, recordCode, *turn.record, 100.0f);
        }
        // Some controllers never answer the end-of-data byte, but one that starts an answer
        // and gives no reply word has not confirmed the block.
        const bool partialEnd = endOfData && !out.reply.isEmpty() && !hasReplyWord(out.reply);
        if (out.lineFailed || partialEnd) {
            reportNoAnswer(session, failureNote);
            return Result::LinkError;
        }
        if (out.reply.isEmpty()) {
            if (takeCancel(session)) {
                restore(session);
                const QString stop = ExchangeText::tr("Stop");
                session.dialogs().message(
                    failureNote.isEmpty() ? stop : stop + QStringLiteral("\n\n") + failureNote,
                    ExchangeText::tr("Data un-transmitting."), MsgIcon::Exclamation,
                    MsgButtons::Ok);
                session.silence().settingMode = true;
                return Result::Cancelled;
            }
        } else if (out.has("NG")) {
            reportRefusal(session, out, failureNote);
            return Result::Refused;
        }
    }
    return Result::Done;
}

}  // namespace kap::exchange
