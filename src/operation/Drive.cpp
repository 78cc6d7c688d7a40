#include "Drive.h"

#include "ActuatorTypes.h"
#include "Dialogs.h"
#include "IoMonitor.h"
#include "Numbers.h"
#include "OperationSteps.h"
#include "ParameterTable.h"
#include "Reactions.h"
#include "Records.h"
#include "ServoBrake.h"
#include "Session.h"
#include "Teaching.h"

#include <QRegularExpression>

#include <algorithm>

namespace kap::operation {

namespace {

using C = Command;

QString originQuestion()
{
    return OperationText::tr("Return to origin? Please push stop switch if you stop operating.");
}

// The point the point grid's current row stands for.
QString selectedPoint(Session& s)
{
    return QString::number(std::max(0, s.tableGrid().currentRow()));
}

// The exchanges that move the actuator until they are answered; Stop breaks them at once.
bool isMotion(std::optional<qint16> code)
{
    return code
           && (*code == cmd::ORG || *code == cmd::MOVP || *code == cmd::XINC || *code == cmd::XDEC);
}

// "Numeric input" again, the jog and teaching frames reset to their Setting-mode look.
void showTeachingTargetColours(Session& s)
{
    PanelState& p = s.panel();
    const bool originShift = s.flags().teachingTarget == SessionFlags::TeachingTarget::OriginShift;
    p.setShade(C::OriginShiftTarget, originShift ? Shade::LightCyan : Shade::LightGrey);
    p.setShade(C::PositionTarget, originShift ? Shade::LightGrey : Shade::LightOrange);
}

// After a return to origin, whatever its answer: Org back to grey, the monitor running again
// and, in Operation mode, Start and Stop offered again (the pulse-train window offers Stop
// only while Org runs).
void endOfReturn(Session& s)
{
    PanelState& p = s.panel();
    p.setShade(C::ReturnToOrigin, Shade::LightGrey);
    s.ioMonitorTimer().start();
    if (s.flags().operationMode) {
        p.setEnabled(C::Start, true);
        p.setEnabled(C::Stop, s.isPointInput());
        p.setShade(C::Stop, Shade::ButtonFace);
    }
}

// Step 11 of Start: the panel as it is between moves.
void restoreAfterStart(Session& s)
{
    PanelState& p = s.panel();
    p.setEnabled(C::SettingMode, true);
    p.setShade(C::Start, Shade::LightGrey);
    p.setEnabled({C::ReturnToOrigin, C::Start, C::Stop}, true);
    p.setShade(C::Stop, Shade::ButtonFace);
    s.ioMonitorTimer().start();
    s.flags().motionInProgress = false;
    s.flags().STOPCHECK = 0;
    // The move is over: a later lost line must be reported again.
    s.flags().orgpos = 0;
}

// A port that went away during a move is reported even while the move's own silence rule
// (orgpos) holds: the user must learn that the actuator is no longer under control.
void reportMoveLinkError(Session& s, const Outcome& out)
{
    if (out.lineFailed)
        ReportOriginLinkError(s);
    else
        ReportLinkError(s);
}

void failEntry(Session& s)
{
    s.panel().setEnabled(C::SettingMode, true);
    s.flags().orgpos = 0;
    ReportLinkError(s);
    s.view().showComS(QString());
    EnterSettingMode(s);
}

void enterOperationPulseTrain(Session& s)
{
    Outcome out = exchange(s, cmd::QPRM, QStringLiteral("35"));
    if (timedOut(out))
        return failEntry(s);
    for (const auto& [code, command] : {std::pair{cmd::QSRVO, C::Servo}, {cmd::QBRK, C::Brake}}) {
        out = exchange(s, code);
        if (timedOut(out))
            return failEntry(s);
        ShowStateCaption(s, command, records::replyValue(out.reply));
    }
    s.panel().setEnabled({C::ReturnToOrigin, C::Start, C::Servo, C::ClearDeviation, C::Brake,
                          C::CancelAlarm, C::Positioning},
                         true);
    s.controller().previous = false;
    s.flags().operationMode = true;
    s.flags().monitor = MonitorState::Idle;
}

void enterOperationPointInput(Session& s)
{
    const auto failed = [&s](const Outcome& out) {
        if (timedOut(out)) {
            s.setMainWindowEnabled(true);
            ReportLinkError(s);
            return true;
        }
        if (!has(out, "OK")) {
            s.showError(out.reply);
            failEntry(s);
            return true;
        }
        return false;
    };
    Outcome out = exchange(s, cmd::QPRM, QStringLiteral("35"));
    if (failed(out))
        return;
    const QString shift = records::replyValue(out.reply);
    ParameterTable& table = s.parameters();
    const int row = table.rowOfPrm(35);
    if (row != -100)
        s.parameterGrid().setText(row, kValueColumn, shift);
    s.showOriginShift(shift);

    out = exchange(s, cmd::READ_DIO);
    if (failed(out))
        return;
    s.controller().previous = records::isPreviousController(records::replyValue(out.reply));
    s.panel().setEnabled({C::ReturnToOrigin, C::Start, C::Stop}, true);
    s.flags().operationMode = true;
    s.flags().monitor = MonitorState::Idle;
}

// The stop character and its answer. While a motion exchange of this window waits, the stop
// character goes out at once and that exchange's answer is the stop's answer; otherwise the
// stop waits its turn like any command.
Outcome sendStop(Session& s, float timeoutMs)
{
    Link& link = s.link();
    if (!isMotion(link.waitingCommand())) {
        link.timeout().set(timeoutMs);
        return exchange(s, cmd::Break);
    }
    link.WriteBreakNow();
    link.ClearCommand();
    link.request.P_Command = cmd::Break;
    link.BuildCommand();  // returns once the motion's exchange has ended
    link.timeout().set(timeoutMs);
    return link.lastOutcome();
}

}  // namespace

void StopProcedure(Session& s)
{
    SessionFlags& f = s.flags();
    PanelState& p = s.panel();
    const auto offerButtons = [&] {
        f.jogSteps = 0;
        if (s.isPointInput())
            p.setEnabled({C::ReturnToOrigin, C::Start, C::Stop}, true);
        else
            p.setEnabled(pulsePanel(), true);
    };
    f.operationTitle = OperationText::tr("Stop");
    const bool afterJogRelease = s.isPointInput()
                                 && s.link().timeout().ms() == timeouts::kJogRelease;
    p.setEnabled(C::SettingMode, true);
    const Outcome out = sendStop(s, afterJogRelease ? timeouts::kStopAfterJog : timeouts::kStop);
    if (timedOut(out)) {
        s.setMainWindowEnabled(true);
        ReportLinkError(s);
    } else if (has(out, "STOP")) {
        s.showError(out.reply);
    } else if (!has(out, "OK")) {
        f.orgpos = 0;
        ReportLinkError(s);
        return;
    }
    offerButtons();
}

void attach(Session& s)
{
    QObject::connect(&s.ioMonitorTimer(), &QTimer::timeout, &s, [&s] { MonitorTick(s); });
    QObject::connect(&s, &Session::stopRequested, &s, [&s] { Stop(s); });
    s.setTeachingUpdate([&s](const QString& value) { TeachingUpdate(s, value); });
}

void EnterOperationMode(Session& s)
{
    SessionFlags& f = s.flags();
    PanelState& p = s.panel();
    s.link().timeout().set(timeouts::kEnterOperation);
    p.setSettingPosition(QStringLiteral("0.00"));
    f.settei = false;
    if (f.operationMode)
        return;
    f.operationTitle = OperationText::tr("Drive");
    LockCommands(s);

    s.tableGrid().setReadOnly(true);
    p.setEnabled({C::OriginShiftTarget, C::PositionTarget}, false);
    for (Command jog : {C::JogCw, C::JogCcw}) {
        p.setShade(jog, Shade::ButtonFace);
        p.setEnabled(jog, false);
    }
    p.setShade(C::Set, Shade::LightOrange);
    p.setEnabled(C::Set, false);
    p.setEnabled({C::ReturnToOrigin, C::Stop}, false);
    p.setShade(C::Start, Shade::ButtonFace);
    p.setShade(C::Stop, Shade::ButtonFace);
    s.ioMonitorTimer().start();
    p.setShade(C::OperationMode, Shade::Magenta);
    p.setShade(C::SettingMode, Shade::LightGrey);
    s.showError(QString());
    f.inputMode = 1;
    p.setFrameEnabled(PanelFrame::Setup, false);
    p.setFrameEnabled(PanelFrame::Parameters, false);
    p.setFrameEnabled(PanelFrame::Drive, true);
    p.setFrameEnabled(PanelFrame::View, true);

    if (s.isPointInput())
        enterOperationPointInput(s);
    else
        enterOperationPulseTrain(s);
}

void EnterSettingMode(Session& s)
{
    SessionFlags& f = s.flags();
    PanelState& p = s.panel();
    p.setStopDialogShown(false);
    p.setFrameEnabled(PanelFrame::Setup, true);
    p.setFrameEnabled(PanelFrame::Parameters, true);
    p.setFrameEnabled(PanelFrame::Drive, false);
    p.setFrameEnabled(PanelFrame::View, false);
    SelectNumericInput(s);
    UnlockCommands(s);
    s.tableGrid().setReadOnly(false);
    s.ioMonitorTimer().stop();
    f.settei = true;

    showTeachingTargetColours(s);
    p.setShade(C::SettingMode, Shade::Green);
    p.setShade(C::OperationMode, Shade::LightGrey);
    const QList<Command> drive = s.isPointInput()
                                     ? QList<Command>{C::ReturnToOrigin, C::Start, C::Stop}
                                     : pulsePanel();
    for (Command c : drive)
        p.setShade(c, Shade::ButtonFace);
    s.showError(QString());
    s.stopReceiveGuard();

    p.setEnabled({C::OriginShiftTarget, C::PositionTarget, C::Set}, true);
    p.setShade(C::Set, Shade::LightOrange);
    p.setEnabled(drive, false);

    f.operationMode = false;
    f.inputMode = 1;
    for (int lamp : {0, 1, 2, 3, 8, 9, 10, 11, 12, 13})
        p.setLamp(lamp, false);
    f.orgpos = 0;
}

void PressStart(Session& s)
{
    s.panel().setShade(C::Start, Shade::LightGreen);
    s.showError(QString());
}

void PressOrg(Session& s)
{
    s.panel().setShade(C::ReturnToOrigin, Shade::LightYellow);
    s.showError(QString());
}

void PressStop(Session& s)
{
    s.panel().setShade(C::Stop, Shade::Pink);
}

void Start(Session& s)
{
    if (!s.isPointInput())
        return;  // the pulse-train window's Start has no action
    SessionFlags& f = s.flags();
    PanelState& p = s.panel();
    Link& link = s.link();

    // How a reply to the origin query (or to the return it led to) lets the start go on.
    enum class Next { End, Ask, Restore, Proceed };
    const auto judge = [&](const Outcome& out, bool refusalBox) {
        if (timedOut(out)) {
            ReportLinkError(s);
            return Next::End;
        }
        if (has(out, "NG")) {
            if (!refusalBox) {
                s.showError(out.reply);
                return Next::Restore;
            }
            ReportRefusal(s, out);
            RestoreWindow(s);
            return Next::End;
        }
        if (has(out, "STOP")) {
            if (f.STOPCHECK != 1) {
                f.motionInProgress = false;
                return Next::Ask;  // title and time-out stay as they are
            }
            s.showError(out.reply);
            return Next::Restore;
        }
        return Next::Proceed;
    };

    link.timeout().set(timeouts::kOriginQuery);
    f.operationTitle = OperationText::tr("Return to origin");
    Outcome out = exchange(s, cmd::QORG);
    Next next = judge(out, true);
    if (next == Next::Proceed && has(out, "OK") && !has(out, "1")) {
        // The origin is not established: offer the return first.
        link.timeout().set(timeouts::kMove);
        if (ask(s, originQuestion())) {
            s.showError(QString());
            out = ReturnToOrigin(s, false);
        } else {
            f.inputMode = 0;
            s.setToolbarEnabled(true);
            UnlockCommands(s);
            p.setSettingPosition(QStringLiteral("0.00"));
        }
        next = judge(out, false);
    }
    if (next == Next::End)
        return;
    if (next == Next::Restore)
        return restoreAfterStart(s);
    if (next == Next::Proceed) {
        link.timeout().set(timeouts::kMove);
        f.operationTitle = OperationText::tr("Start");
    }

    if (f.motionInProgress)
        return;
    s.showError(QString());
    if (!ask(s, OperationText::tr(" Do you start?"))) {
        p.setEnabled(C::SettingMode, true);
        p.setShade(C::Start, Shade::LightGrey);
        return restoreAfterStart(s);
    }
    f.orgpos = 1;
    p.setEnabled(C::SettingMode, false);
    s.ioMonitorTimer().stop();
    p.setEnabled(C::ReturnToOrigin, true);
    p.setEnabled(C::Start, false);
    p.setEnabled(C::Stop, true);
    p.setShade(C::Stop, Shade::LightPink);
    out = exchange(s, cmd::QP, selectedPoint(s));
    if (timedOut(out)) {
        ReportLinkError(s);
        return;
    }
    if (has(out, "NG")) {
        ReportRefusal(s, out);
        RestoreWindow(s);
        return restoreAfterStart(s);
    }
    p.setEnabled(C::ReturnToOrigin, false);
    f.motionInProgress = true;
    // The point move.
    f.operationTitle = OperationText::tr("Point");
    link.timeout().set(timeouts::kMove);
    s.showError(QString());
    p.setEnabled(C::SettingMode, true);
    out = exchange(s, cmd::MOVP, selectedPoint(s));
    if (timedOut(out)) {
        s.setMainWindowEnabled(true);
        s.hideProgress();
        reportMoveLinkError(s, out);
    } else if (!has(out, "OK") && !has(out, "STOP")) {
        ReportRefusal(s, out);
        RestoreWindow(s);
    }
    f.motionInProgress = false;
    RefreshCurrentAngle(s);
    restoreAfterStart(s);
}

void Stop(Session& s)
{
    PanelState& p = s.panel();
    s.stopReceiveGuard();
    if (s.isPointInput()) {
        p.setEnabled({C::ReturnToOrigin, C::Start}, true);
        p.setEnabled(C::Stop, false);
        p.setShade(C::Stop, Shade::ButtonFace);
        StopProcedure(s);
        s.flags().STOPCHECK = 1;
    } else {
        p.setEnabled(pulsePanel(), false);
        p.setShade(C::Stop, Shade::ButtonFace);
        StopProcedure(s);
        s.flags().STOPCHECK = 0;
    }
}

void Org(Session& s)
{
    SessionFlags& f = s.flags();
    PanelState& p = s.panel();
    if (f.motionInProgress)
        return;
    s.link().timeout().set(timeouts::kOrgQuestion);
    f.operationTitle = s.isPointInput() ? OperationText::tr("Org")
                                        : OperationText::tr("Return to origin");
    if (!ask(s, originQuestion())) {
        p.setShade(C::ReturnToOrigin, Shade::LightGrey);
        return;
    }
    p.setEnabled(C::SettingMode, false);
    s.showError(QString());
    ReturnToOrigin(s, false, true);
    p.setEnabled(C::SettingMode, true);
    p.setShade(C::ReturnToOrigin, Shade::LightGrey);
    // Both windows end the return's silence (orgpos) here, so a later lost line is reported;
    // the pulse-train window keeps its Stop mark.
    f.orgpos = 0;
    if (s.isPointInput())
        f.STOPCHECK = 0;
}

Outcome ReturnToOrigin(Session& s, bool showStopDialog, bool fromOrgButton)
{
    SessionFlags& f = s.flags();
    PanelState& p = s.panel();
    const QList<Command> driveState = {C::Servo, C::ClearDeviation, C::Brake, C::CancelAlarm};
    f.operationTitle = OperationText::tr("Org");
    s.link().timeout().set(timeouts::kReturnToOrigin);
    s.ioMonitorTimer().stop();
    f.motionInProgress = true;
    f.orgpos = 1;
    if (!s.isPointInput()) {
        p.setEnabled(driveState, false);
        if (fromOrgButton) {
            p.setEnabled(C::Stop, true);
            p.setShade(C::Stop, Shade::Pink);
        }
    }
    if (showStopDialog)
        p.setStopDialogShown(true);

    Outcome out = exchange(s, cmd::ORG);

    p.setStopDialogShown(false);
    if (!s.isPointInput() && p.shade(C::OperationMode) == Shade::Magenta)
        p.setEnabled(driveState, true);
    endOfReturn(s);
    if (!has(out, "OK")) {
        if (timedOut(out)) {
            f.motionInProgress = false;
            ReportOriginLinkError(s);
            f.settei = true;
            return out;
        }
        if (has(out, "STOP") || has(out, "NG")) {
            f.motionInProgress = false;
            s.showError(out.reply);
            if (showStopDialog) {
                UnlockCommands(s);
                s.ioMonitorTimer().stop();
            }
            ReportRefusal(s, out);
            return out;
        }
    }
    // The angle is read once the motion has ended, so the refresh does not skip it.
    f.motionInProgress = false;
    RefreshCurrentAngle(s);
    return out;
}

void PressStopDialog(Session& s)
{
    s.link().timeout().set(timeouts::kStopDialog);
    s.link().WriteBreakNow();
    s.panel().setStopDialogShown(false);
}

QString leadingNumber(const QString& text)
{
    // As the old display read it: blanks skipped, then a signed decimal number if one leads.
    static const QRegularExpression leading(
        QStringLiteral("^[ \\t]*([+-]?(\\d+\\.?\\d*|\\.\\d+))"));
    const QRegularExpressionMatch m = leading.match(text);
    return m.hasMatch() ? m.captured(1) : QStringLiteral("0");
}

QString shownAngle(const QString& reply)
{
    return numbers::format2(leadingNumber(reply));
}

QString teachingValueOf(const QString& reply)
{
    QString line = reply.section(QLatin1Char('\r'), 0, 0);
    if (line.contains(QLatin1String("?-")))
        return line.mid(1);
    if (line.contains(QLatin1Char('?')))
        return QLatin1Char('-') + line.mid(1);
    // The byte 0xA5 arrives as U+00A5 (replies are read as Latin-1); "･" is what the same
    // byte reads as in the Japanese code page.
    if (line.startsWith(QChar(0xA5)) || line.startsWith(QChar(0xFF65)))
        return line.mid(1);
    return line;
}

std::optional<QString> RefreshCurrentAngle(Session& s)
{
    SessionFlags& f = s.flags();
    if (f.motionInProgress)
        return std::nullopt;
    f.operationTitle = OperationText::tr("Receive the current value");
    s.link().timeout().set(timeouts::kRefresh);
    s.panel().setEnabled(C::SettingMode, true);
    const Outcome out = exchange(s, cmd::QPOS);
    if (timedOut(out)) {
        reportNoAnswer(s);
        return std::nullopt;
    }
    if (!has(out, "OK") && !has(out, "STOP")) {
        ReportRefusal(s, out);
        RestoreWindow(s);
        return std::nullopt;
    }
    if (!s.isPointInput()) {
        // This window shows an angle only from a line that reads as one.
        const QString line = out.reply.section(QLatin1Char('\r'), 0, 0);
        const bool signByte = line.startsWith(QChar(0xA5)) || line.startsWith(QChar(0xFF65));
        if ((!line.contains(QLatin1Char('?')) && !line.contains(QLatin1Char('.')) && !signByte)
            || line == QLatin1String("STOP"))
            return std::nullopt;
    }
    s.panel().setCurrentAngle(shownAngle(out.reply));
    const QString value = teachingValueOf(out.reply);
    if (!f.operationMode && !f.motionInProgress && s.teachingUpdate())
        s.teachingUpdate()(value);
    return value;
}

}  // namespace kap::operation
