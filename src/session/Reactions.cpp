#include "LinkReactions.h"

#include "Dialogs.h"
#include "Link.h"
#include "WindowSide.h"

#include <QCoreApplication>

namespace kap {
namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("Link", text);
}

void focusRule(WindowSide& w)
{
    if (w.flags.inputMode != 1 && !w.numericInputSelected())
        w.focusNumericInput();
}

void showLinkErrorBox(WindowSide& w)
{
    w.dialogs().beep();
    w.dialogs().message(tr("The communication error. Please check the connection."),
                        w.flags.operationTitle, MsgIcon::None, MsgButtons::Ok);
    focusRule(w);
}

void recover(WindowSide& w)
{
    w.flags.STOPCHECK = 0;
    w.flags.motionInProgress = false;
    w.setMainWindowEnabled(true);
    w.hideProgress();
    w.setToolbarEnabled(true);
    UnlockCommands(w);
}

}  // namespace

void ReportLinkError(WindowSide& w)
{
    if (w.flags.settei)
        return;
    if (w.flags.STOPCHECK != 1) {
        if (w.flags.orgpos == 1)
            return;
        showLinkErrorBox(w);
    }
    recover(w);
}

void ReportOriginLinkError(WindowSide& w)
{
    if (w.flags.settei)
        return;
    showLinkErrorBox(w);
    recover(w);
}

void ReportRefusal(WindowSide& w, Link& link)
{
    w.showError(link.reply);
    if (!link.reply.contains(QLatin1String("STOP")))
        w.dialogs().message(tr("Cannot receive data from controller."), tr("Error"),
                            MsgIcon::Critical, MsgButtons::Ok);
    link.request.line.clear();
    link.reply.clear();
    focusRule(w);
    w.flags.motionInProgress = false;
    w.setMainWindowEnabled(true);
    w.hideProgress();
    w.setToolbarEnabled(true);
}

void RestoreWindow(WindowSide& w)
{
    w.setToolbarEnabled(true);
    w.setMainWindowEnabled(true);
    w.hideProgress();
}

void LockCommands(WindowSide& w)
{
    w.setCommandsLocked(true);
}

void UnlockCommands(WindowSide& w)
{
    w.setCommandsLocked(false);
}

}  // namespace kap
