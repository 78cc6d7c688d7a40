#include "ExchangeSteps.h"

#include "LinkReactions.h"
#include "Module1.h"
#include "WindowSide.h"

#include <QCoreApplication>

namespace kap::exchange {

QString tr(const char* text)
{
    return QCoreApplication::translate("Exchange", text);
}

Outcome exchangeLine(ExchangeHost& host, qint16 code, float timeoutMs, const QString& argument)
{
    Link& link = host.link();
    link.ClearCommand();
    link.request.P_Command = code;
    link.request.P_second = argument;
    link.timeout().set(timeoutMs);
    link.BuildCommand();
    return link.RunTransaction();
}

Outcome exchangeRecord(ExchangeHost& host, qint16 code, const QString& record, float timeoutMs)
{
    Link& link = host.link();
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

void restore(ExchangeHost& host)
{
    RestoreWindow(host.side());
}

void linkError(ExchangeHost& host)
{
    ReportLinkError(host.side());
    // ReportLinkError stays quiet while settei is set and then leaves the window alone; an
    // operation that fails must never leave it disabled.
    restore(host);
}

void refusal(ExchangeHost& host)
{
    ReportRefusal(host.side(), host.link());
    restore(host);
}

bool takeCancel(ExchangeHost& host)
{
    if (host.progress().cancelTag() != QLatin1String("1"))
        return false;
    host.progress().setCancelTag(QStringLiteral("0"));
    return true;
}

void showProgress(ExchangeHost& host, int minimum, int maximum, int value)
{
    Progress& p = host.progress();
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

bool usable(ExchangeHost& host, const Outcome& out, bool needOk)
{
    switch (judge(out)) {
    case Verdict::LinkError:
        linkError(host);
        return false;
    case Verdict::Refused:
        refusal(host);
        return false;
    case Verdict::Usable:
        break;
    }
    if (needOk && !out.reply.contains(QLatin1String("OK"))) {
        linkError(host);
        return false;
    }
    return true;
}

}  // namespace kap::exchange
