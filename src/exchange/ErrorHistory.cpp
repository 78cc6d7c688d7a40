#include "exchange/ErrorHistory.h"

#include "exchange/ExchangeSteps.h"
#include "platform/Dialogs.h"
#include "platform/SafeFile.h"
#include "session/Reactions.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QStringView>
#include <QTimer>

namespace kap::exchange {
namespace {

constexpr float kReadTimeoutMs = 3000.0f;
// After the "Stop" box, before the history is shown all the same.
constexpr int kAfterStopMs = 50;

QString title()
{
    return ExchangeText::tr("Error history display");
}

void pause(int ms)
{
    QEventLoop wait;
    QTimer::singleShot(ms, &wait, &QEventLoop::quit);
    wait.exec();
}

// Only a closing "OK" is cut off; a reply that ends otherwise keeps its last line as it came.
QString withoutClosingOk(const QString& reply)
{
    if (reply.endsWith(QLatin1String("OK\r\n")))
        return reply.chopped(4);
    if (reply.endsWith(QLatin1String("OK")))
        return reply.chopped(2);
    return reply;
}

}  // namespace

ErrorLines errorLinesOf(const QString& reply)
{
    ErrorLines lines;
    const QString text = withoutClosingOk(reply);
    QStringView rest(text);
    for (QString& slot : lines) {
        if (rest.isEmpty())
            break;
        const qsizetype cr = rest.indexOf(u'\r');
        // A last line without its CR (a reply cut short) is kept as it came.
        slot = (cr < 0 ? rest : rest.left(cr)).toString();
        qsizetype next = cr < 0 ? rest.size() : cr + 1;
        // A bare CR still ends the line, without taking the next line's first character.
        if (next < rest.size() && rest.at(next) == u'\n')
            ++next;
        rest = rest.mid(next);
    }
    return lines;
}

std::optional<ErrorLines> ReadErrorHistory(Session& session)
{
    session.silence().settingMode = false;
    session.operations().title = title();
    lockWindow(session);
    showProgress(session, 0, 1, 0);
    const Outcome out = exchangeLine(session, cmd::READ_ERR, kReadTimeoutMs);
    if (out.noAnswer()) {
        reportNoAnswer(session);
        return std::nullopt;
    }
    // The reply word stands on a line of its own: an error line such as "E-03 BROKEN" holds
    // "OK" without being an answer.
    const QStringList replyLines = out.reply.split(QLatin1String("\r\n"));
    if (replyLines.contains(QLatin1String("OK"))) {
        session.progress().setValue(0);
        // Cancel cannot undo a read that has already come back: the history is shown anyway.
        if (takeCancel(session)) {
            session.setMainWindowEnabled(true);
            session.dialogs().message(ExchangeText::tr("Stop"), title(), MsgIcon::Exclamation,
                                      MsgButtons::Ok);
            pause(kAfterStopMs);
        }
    } else if (replyLines.contains(QLatin1String("NG"))) {
        // A refusal is no history: its box, with the reply, and no window.
        ReportRefusalWithReply(session, out);
        restore(session);
        return std::nullopt;
    } else {
        reportNoAnswer(session);
        return std::nullopt;
    }
    session.progress().setValue(1);
    const ErrorLines lines = errorLinesOf(out.reply);
    restore(session);
    return lines;
}

QByteArray errorRecordBytes(const ErrorLines& lines)
{
    QString text = QStringLiteral("TALOR Error Record\r\n");
    for (const QString& line : lines)
        text += line + QLatin1String("\r\n");
    text += QLatin1String("\r\n");
    // The reply was read as Latin-1, so this gives back the bytes the controller sent.
    return text.toLatin1();
}

safefile::SaveResult writeErrorRecord(const QString& path, const ErrorLines& lines)
{
    return safefile::save(path, errorRecordBytes(lines));
}

bool SaveErrorRecord(Session& session, const ErrorLines& lines)
{
    Dialogs& dialogs = session.dialogs();
    const QString path = dialogs.saveFileName({ExchangeText::tr("SaveAs"),
                                               ExchangeText::tr("Setting file(*.csv)|*.csv|"),
                                               QString(), true, QStringLiteral("csv")});
    // A cancelled dialog changes nothing, the caption included.
    if (path.isEmpty())
        return false;
    // Only the point-input window names the file in its caption.
    if (session.isPointInput())
        session.view().showTitle(ExchangeText::tr("TALOR Support-Software%1").arg(path));
    const safefile::SaveResult saved = writeErrorRecord(path, lines);
    if (saved.ok)
        return true;
    dialogs.ok(
        ExchangeText::tr("%1cannot be saved because it is read only or it is opened.").arg(path)
            + safefile::detail(path, saved),
        QString());
    return false;
}

}  // namespace kap::exchange
