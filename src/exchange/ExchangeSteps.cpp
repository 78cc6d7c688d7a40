#include "ExchangeSteps.h"

#include "Module1.h"
#include "Reactions.h"

#include <QCoreApplication>

namespace kap::exchange {

QString tr(const char* text)
{
    return QCoreApplication::translate("Exchange", text);
}

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

void linkError(Session& session)
{
    ReportLinkError(session);
    // ReportLinkError stays quiet while settei is set and then leaves the window alone; an
    // operation that fails must never leave it disabled.
    restore(session);
}

void refusal(Session& session, const Outcome& outcome)
{
    ReportRefusal(session, outcome);
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

}  // namespace kap::exchange
