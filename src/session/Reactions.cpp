#include "Reactions.h"

#include "Dialogs.h"
#include "Link.h"
#include "Session.h"

#include <QCoreApplication>

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

void showLinkErrorBox(Session& s)
{
    s.dialogs().beep();
    s.dialogs().message(Text::tr("The communication error. Please check the connection."),
                        s.operations().title, MsgIcon::None, MsgButtons::Ok);
    focusRule(s);
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

void ReportLinkError(Session& s)
{
    const LinkErrorSilence& quiet = s.silence();
    if (quiet.settingMode || quiet.closing)
        return;
    if (!quiet.stopPressed) {
        if (quiet.motion)
            return;
        showLinkErrorBox(s);
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

void ReportRefusal(Session& s, const Outcome& outcome)
{
    s.showError(outcome.reply);
    if (!outcome.reply.contains(QLatin1String("STOP")) && !s.silence().closing)
        s.dialogs().message(Text::tr("Cannot receive data from controller."), Text::tr("Error"),
                            MsgIcon::Critical, MsgButtons::Ok);
    s.link().request.line.clear();
    focusRule(s);
    s.drive().motionInProgress = false;
    s.setMainWindowEnabled(true);
    s.hideProgress();
    s.setToolbarEnabled(true);
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
