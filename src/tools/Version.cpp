#include "tools/Version.h"

#include "link/CommandRequest.h"
#include "link/Link.h"
#include "link/ProgramState.h"
#include "session/Reactions.h"
#include "session/Session.h"

#include <QCoreApplication>

namespace kap {

namespace {

constexpr float kVersionTimeoutMs = 500.0f;
constexpr int kVersionLength = 4;

struct Text {
    Q_DECLARE_TR_FUNCTIONS(Version)
};

}  // namespace

ProgramVersion programVersion()
{
    return {KAP_VERSION_MAJOR, KAP_VERSION_MINOR, KAP_VERSION_PATCH};
}

QString programVersionText()
{
    const ProgramVersion v = programVersion();
    return Text::tr("Ver %1.%2.%3").arg(v.major).arg(v.minor).arg(v.revision);
}

QString shownControllerVersion(const QString& version)
{
    return version.left(kVersionLength);
}

QString QueryControllerVersion(Session& session)
{
    Link& link = session.link();
    QString version;
    session.silence().settingMode = false;
    const Outcome out = link.exchange(cmd::QVER, {}, kVersionTimeoutMs);
    if (out.lineFailed)
        RestoreWindow(session);
    else if (!out.timedOut)
        version = ControllerFacts::versionFromReply(out.reply);
    session.controller().version = version;
    return version;
}

}  // namespace kap
