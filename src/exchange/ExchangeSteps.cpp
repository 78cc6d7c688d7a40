#include "ExchangeSteps.h"

#include "Grid.h"
#include "ProgramState.h"
#include "ParameterTable.h"
#include "Reactions.h"
#include "Records.h"

#include <QCoreApplication>

namespace kap::exchange {

Outcome exchangeLine(Session& session, qint16 code, float timeoutMs, const QString& argument)
{
    Link& link = session.link();
    link.ClearCommand();
    link.request.P_Command = code;
    link.request.P_second = argument;
    link.timeout().set(timeoutMs);
    link.BuildCommand();
    return link.RunTransaction();
}

Outcome exchangeRecord(Session& session, qint16 code, const QString& record, float timeoutMs)
{
    Link& link = session.link();
    link.ClearCommand();
    link.request.P_Command = code;
    // The builder puts the record's prefix ("P", "PRM", "Z") in front itself.
    if (code != cmd::EndOfData)
        link.request.P_second = record.mid(CommandWord(code).size());
    link.timeout().set(timeoutMs);
    link.BuildCommand();
    return link.RunTransaction();
}

Verdict judge(const Outcome& outcome)
{
    if (outcome.Timeout || outcome.lineFailed)
        return Verdict::LinkError;
    if (outcome.reply.contains(QLatin1String("NG")))
        return Verdict::Refused;
    return Verdict::Usable;
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

void linkError(Session& session, const QString& more)
{
    ReportLinkError(session, more);
    // ReportLinkError stays quiet while settei is set and then leaves the window alone; an
    // operation that fails must never leave it disabled.
    restore(session);
}

void refusal(Session& session, const Outcome& outcome, const QString& more)
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
    switch (judge(out)) {
    case Verdict::LinkError:
        linkError(session);
        return false;
    case Verdict::Refused:
        refusal(session, out);
        return false;
    case Verdict::Usable:
        break;
    }
    if (needOk && !out.reply.contains(QLatin1String("OK"))) {
        linkError(session);
        return false;
    }
    return true;
}

Result resultOfFailure(const Outcome& outcome)
{
    return judge(outcome) == Verdict::Refused ? Result::Refused : Result::LinkError;
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
    if (out.reply.contains(QLatin1String("OK")))
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
    const int row = table.rowOfPrm(6);
    if (row < -1)
        return;
    if (session.controller().previous)
        setRow(table.grid(), row, QStringLiteral("1"), value, range);
    else
        setNotApplicable(table.grid(), row);
}

void showPrm28(Session& session, const QString& value, const QString& range)
{
    ParameterTable& table = session.parameters();
    const int row = table.rowOfPrm(28);
    if (row < -1)
        return;
    const ControllerFacts& facts = session.controller();
    if (facts.previous || records::versionLacksNoLimitMode(facts.version))
        setNotApplicable(table.grid(), row);
    else
        setRow(table.grid(), row, QStringLiteral("0"), value, range);
}

void showOriginShift(Session& session)
{
    ParameterTable& table = session.parameters();
    session.showOriginShift(table.value(table.rowOfPrm(35)));
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
    const Verdict opened = judge(out);
    if (opened == Verdict::Refused) {
        refusal(session, out, failureNote);
        return Result::Refused;
    }
    if (opened == Verdict::LinkError || !out.reply.contains(QLatin1String("READY"))) {
        linkError(session, failureNote);
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
        const bool partialEnd = endOfData && !out.reply.isEmpty() && !HasReplyWord(out.reply);
        if (out.lineFailed || partialEnd) {
            linkError(session, failureNote);
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
        } else if (out.reply.contains(QLatin1String("NG"))) {
            refusal(session, out, failureNote);
            return Result::Refused;
        }
    }
    return Result::Done;
}

}  // namespace kap::exchange
