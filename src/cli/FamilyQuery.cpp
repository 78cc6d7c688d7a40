#include "FamilyQuery.h"

#include "CommandRequest.h"
#include "Link.h"
#include "ProgramState.h"
#include "Records.h"
#include "SerialLine.h"

namespace kap::cli {

namespace {

// The start-up window's reply window for the family query.
constexpr float kFamilyTimeoutMs = 2000.0f;

}  // namespace

FamilyAnswer QueryFamily(SerialLine& line, ProgramState& state, double timeScale)
{
    ReplyTimeout timeout(kFamilyTimeoutMs);
    Link link(line, state, timeout, Link::Variant::Startup);
    link.setTimeScale(timeScale);
    QString reason;
    QObject::connect(&link, &Link::portFailed, &link,
                     [&reason](const QString& why) { reason = why; });

    link.ClearCommand();
    link.request.P_Command = cmd::QPRM;
    link.request.setSecond(13);
    link.BuildCommand();
    const Outcome outcome = link.RunTransaction();

    FamilyAnswer result;
    if (outcome.lineFailed) {
        result.status = FamilyAnswer::Status::PortFailed;
        result.reason = reason.isEmpty() ? line.errorString() : reason;
        if (result.reason.isEmpty())
            result.reason = QStringLiteral("the line was lost");
        return result;
    }
    if (outcome.Timeout) {
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

}  // namespace kap::cli
