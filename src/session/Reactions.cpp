#include "session/Reactions.h"

#include "link/Link.h"
#include "platform/Dialogs.h"
#include "session/Session.h"

#include <QCoreApplication>
#include <QStringList>

namespace kap {
namespace {

struct Text {
    Q_DECLARE_TR_FUNCTIONS(Link)
};

void focusRule(Session& s)
{
    if (s.teachingState().inputMode != 1 && !s.view().numericInputSelected())
        s.view().focusNumericInput();
}

// The box's own text, then what it adds as a paragraph of its own.
QString withParagraph(const QString& text, const QString& more)
{
    return more.isEmpty() ? text : text + QStringLiteral("\n\n") + more;
}

// The controller's reply as lines a box can show: the CR LF ends become line breaks, any
// other control character is shown by name.
QString replyLines(const QString& reply)
{
    QStringList lines = reply.split(QStringLiteral("\r\n"));
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    for (QString& line : lines)
        line = visibleControls(line);
    return lines.join(QLatin1Char('\n'));
}

void showLinkErrorBox(Session& s, const QString& more = QString())
{
    s.dialogs().beep();
    s.dialogs().message(
        withParagraph(Text::tr("The communication error. Please check the connection."), more),
        s.operations().title, MsgIcon::None, MsgButtons::Ok);
    focusRule(s);
}

void refuse(Session& s, const Outcome& outcome, const QString& title, const QString& more)
{
    s.showError(outcome.reply);
    if (!outcome.reply.contains(QLatin1String("STOP")) && !s.silence().closing)
        s.dialogs().message(withParagraph(Text::tr("Cannot receive data from controller."), more),
                            title, MsgIcon::Critical, MsgButtons::Ok);
    focusRule(s);
    s.drive().motionInProgress = false;
    s.setMainWindowEnabled(true);
    s.hideProgress();
    s.setToolbarEnabled(true);
}

void recover(Session& s)
{
    s.silence().stopPressed = false;
    s.drive().motionInProgress = false;
    s.setMainWindowEnabled(true);
    s.hideProgress();
    s.setToolbarEnabled(true);
    UnlockCommands(s);
}

}  // namespace

void ReportLinkError(Session& s, const QString& more)
{
    const LinkErrorSilence& quiet = s.silence();
    if (quiet.settingMode || quiet.closing)
        return;
    if (!quiet.stopPressed) {
        if (quiet.motion)
            return;
        showLinkErrorBox(s, more);
    }
    recover(s);
}

void ReportOriginLinkError(Session& s)
{
    if (s.silence().settingMode || s.silence().closing)
        return;
    showLinkErrorBox(s);
    recover(s);
}

void ReportLinkErrorAlways(Session& s)
{
    if (s.silence().closing)
        return;
    showLinkErrorBox(s);
}

void ReportRefusal(Session& s, const Outcome& outcome, const QString& more)
{
    refuse(s, outcome, Text::tr("Error"), more);
}

void ReportRefusalWithReply(Session& s, const Outcome& outcome)
{
    refuse(s, outcome, s.operations().title, replyLines(outcome.reply));
}

void RestoreWindow(Session& s)
{
    s.setToolbarEnabled(true);
    s.setMainWindowEnabled(true);
    s.hideProgress();
}

void LockCommands(Session& s)
{
    s.setCommandsLocked(true);
}

void UnlockCommands(Session& s)
{
    s.setCommandsLocked(false);
}

}  // namespace kap
