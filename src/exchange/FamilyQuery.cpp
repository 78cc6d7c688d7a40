#include "exchange/FamilyQuery.h"

#include "exchange/Records.h"
#include "link/Link.h"
#include "link/ProgramState.h"
#include "platform/SerialLine.h"

namespace kap::exchange {

FamilyAnswer queryFamily(Link& link)
{
    QString reason;
    const QMetaObject::Connection failed = QObject::connect(
        &link, &Link::portFailed, &link, [&reason](const QString& why) { reason = why; });
    const Outcome outcome = link.exchange(cmd::QPRM, QStringLiteral("13"), kFamilyQueryTimeoutMs);
    QObject::disconnect(failed);

    FamilyAnswer result;
    if (outcome.lineFailed) {
        result.status = FamilyAnswer::Status::PortFailed;
        result.reason = reason.isEmpty() ? link.line().errorString() : reason;
        if (result.reason.isEmpty())
            result.reason = QStringLiteral("the line was lost");
        return result;
    }
    if (outcome.timedOut) {
        result.status = FamilyAnswer::Status::Silent;
        return result;
    }
    result.answer = records::replyValue(outcome.reply);
    const std::optional<Family> family = records::familyOfReply(outcome.reply);
    result.status = family ? FamilyAnswer::Status::Known : FamilyAnswer::Status::Unknown;
    if (family)
        result.family = *family;
    return result;
}

FamilyAnswer queryFamily(SerialLine& line, ProgramState& state, double timeScale)
{
    ReplyTimeout timeout(kFamilyQueryTimeoutMs);
    Link link(line, state, timeout, Link::Variant::Startup);
    link.setTimeScale(timeScale);
    return queryFamily(link);
}

}  // namespace kap::exchange
