#include "FaultOption.h"

#include "Text.h"

#include <QStringList>

namespace sim {

std::optional<FaultOption> parseFaultOption(const QString& text, QString* error)
{
    const auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return std::nullopt;
    };
    QList<QByteArray> parts = text.toLatin1().split(':');
    if (parts.size() < 2 || parts[0].isEmpty())
        return fail(QStringLiteral("expected WORD:KIND[:ARG][:once]"));

    FaultOption result;
    QByteArray word = unescape(parts.takeFirst());
    if (word.compare("BREAK", Qt::CaseInsensitive) == 0)
        word = "\x03";
    else if (word.compare("EOD", Qt::CaseInsensitive) == 0)
        word = "\x1a";
    else if (word.startsWith('@') && !word.endsWith(' '))
        word += ' ';
    result.word = word;

    const QByteArray kind = parts.takeFirst().toLower();
    if (!parts.isEmpty() && parts.last().toLower() == "once") {
        result.fault.once = true;
        parts.removeLast();
    }
    const bool hasArg = !parts.isEmpty();
    const QByteArray arg = unescape(parts.join(':'));
    bool numeric = false;
    const int count = arg.toInt(&numeric);

    if (kind == "noreply") {
        result.fault.kind = Fault::NoReply;
    } else if (kind == "refuse") {
        result.fault.kind = Fault::Refuse;
        result.fault.data = arg;
    } else if (kind == "garbage") {
        if (arg.isEmpty())
            return fail(QStringLiteral("garbage needs the bytes to send"));
        result.fault.kind = Fault::Garbage;
        result.fault.data = arg;
    } else if (kind == "cut" || kind == "hangup") {
        if ((kind == "cut" || hasArg) && (!numeric || count < 0))
            return fail(QStringLiteral("%1 needs a byte count").arg(QString::fromLatin1(kind)));
        result.fault.kind = kind == "cut" ? Fault::CutReply : Fault::HangupMidReply;
        result.fault.count = hasArg ? count : 0;
    } else {
        return fail(QStringLiteral("unknown fault kind \"%1\"").arg(QString::fromLatin1(kind)));
    }
    return result;
}

const char* faultKindName(Fault::Kind kind)
{
    switch (kind) {
    case Fault::NoReply:
        return "noreply";
    case Fault::Refuse:
        return "refuse";
    case Fault::Garbage:
        return "garbage";
    case Fault::CutReply:
        return "cut";
    case Fault::HangupMidReply:
        return "hangup";
    }
    return "?";
}

QString chaosSummary(const Controller& controller)
{
    QStringList parts;
    for (int kind = 0; kind < kFaultKindCount; ++kind)
        parts << QStringLiteral("%1 %2")
                     .arg(QLatin1String(faultKindName(Fault::Kind(kind))))
                     .arg(controller.chaosCounts()[kind]);
    return parts.join(QStringLiteral(", "));
}

}  // namespace sim
