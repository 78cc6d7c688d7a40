#include "Version.h"

#include "CommandRequest.h"
#include "Link.h"
#include "LinkReactions.h"
#include "Module1.h"
#include "WindowSide.h"

#include <QRegularExpression>

#include <exception>

namespace kap {

namespace {

constexpr float kVersionTimeoutMs = 500.0f;
constexpr int kVersionLength = 4;

}  // namespace

ProgramVersion programVersion()
{
    return {KAP_VERSION_MAJOR, KAP_VERSION_MINOR, KAP_VERSION_PATCH};
}

QString programVersionText()
{
    const ProgramVersion v = programVersion();
    return QStringLiteral("Ver %1.%2.%3").arg(v.major).arg(v.minor).arg(v.revision);
}

QString versionFromReply(const QString& reply)
{
    // Only the first line is the version: a short version must not pick up the CR LF and
    // the "OK" that follow it.
    const qsizetype end = reply.indexOf(QRegularExpression(QStringLiteral("[\r\n]")));
    const QString line = (end < 0 ? reply : reply.left(end)).trimmed();
    for (const char* word : {"OK", "NG", "STOP", "READY"}) {
        if (line == QLatin1String(word))
            return {};
    }
    return line.left(kVersionLength);
}

QString QueryControllerVersion(Link& link, WindowSide& window)
{
    QString version;
    try {
        window.flags.settei = false;
        link.timeout().set(kVersionTimeoutMs);
        link.ClearCommand();
        link.request.P_Command = cmd::QVER;
        link.BuildCommand();
        const Outcome out = link.RunTransaction();
        if (out.lineFailed)
            RestoreWindow(window);
        else if (!out.Timeout)
            version = versionFromReply(out.reply);
    } catch (const std::exception&) {
        RestoreWindow(window);
        version.clear();
    }
    module1().controllerVersion = version;
    return version;
}

}  // namespace kap
