#include "operation/Drive.h"

#include "data/ActuatorTypes.h"
#include "data/Numbers.h"
#include "data/ParameterTable.h"
#include "exchange/Records.h"
#include "operation/IoMonitor.h"
#include "operation/OperationSteps.h"
#include "operation/ServoBrake.h"
#include "operation/Teaching.h"
#include "platform/Dialogs.h"
#include "session/Reactions.h"
#include "session/Session.h"

#include <QRegularExpression>
#include <QTimer>

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

// The exchanges that move the actuator until they are answered; Stop breaks them at once. A
// held jog command is answered as soon as the motion starts: its stop waits for that answer
// and then gets its own.
bool answeredAtTheEnd(std::optional<qint16> code)
{
    return code && (*code == cmd::ORG || *code == cmd::MOVP);
}

// "Numeric input" again, the jog and teaching frames reset to their Setting-mode look.
void showTeachingTargetColours(Session& s)
{
    PanelState& p = s.panel();
    const bool originShift = s.teachingState().target == TeachingTarget::OriginShift;
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
    if (s.drive().operationMode) {
        p.setEnabled(C::Start, true);
        p.setEnabled(C::Stop, s.isPointInput());
        p.setShade(C::Stop, Shade::ButtonFace);
    }
}

// The end of Start: the panel as it is between moves.
void restoreAfterStart(Session& s)
{
    PanelState& p = s.panel();
    p.setEnabled(C::SettingMode, true);
    p.setShade(C::Start, Shade::LightGrey);
    p.setEnabled({C::ReturnToOrigin, C::Start, C::Stop}, true);
    p.setShade(C::Stop, Shade::ButtonFace);
    s.ioMonitorTimer().start();
    s.drive().motionInProgress = false;
    s.silence().stopPressed = false;
    // The move is over: a later lost line must be reported again.
    s.silence().motion = false;
}

// A start that ends on a failure leaves the panel as it is, but never without a way back to
// Setting mode.
void endStart(Session& s)
{
    s.panel().setEnabled(C::SettingMode, true);
}

// A port that went away during a move is reported even while the move's own silence rule
// (LinkErrorSilence::motion) holds: the user must learn that the actuator is no longer under
// control.
void reportMoveLinkError(Session& s, const Outcome& out)
{
    if (out.lineFailed)
        ReportOriginLinkError(s);
    else
        ReportLinkError(s);
}

}  // namespace

void watchBreak(Session& s, float timeoutMs)
{
    Link& link = s.link();
    const quint64 motion = link.transactionCount();
    const auto stillWaiting = [&s, motion] {
        return s.link().transactionCount() == motion && s.link().waitingCommand().has_value();
    };
    QTimer::singleShot(int(double(timeoutMs) * link.timeScale()), &s, [&s, stillWaiting] {
        if (!stillWaiting())
            return;  // answered: the motion's exchange has ended
        const QString title = s.operations().title;
        s.operations().title = OperationText::tr("Stop");
        ReportLinkErrorAlways(s);
        s.operations().title = title;
    });
}

namespace {

void failEntry(Session& s)
{
    s.panel().setEnabled(C::SettingMode, true);
    s.silence().motion = false;
    ReportLinkError(s);
    s.view().showComS(QString());
    EnterSettingMode(s);
}

void enterOperationPulseTrain(Session& s)
{
    Outcome out = exchange(s, cmd::QPRM, QStringLiteral("35"));
    if (out.noAnswer())
        return failEntry(s);
    for (const auto& [code, command] : {std::pair{cmd::QSRVO, C::Servo}, {cmd::QBRK, C::Brake}}) {
        out = exchange(s, code);
        if (out.noAnswer())
            return failEntry(s);
        ShowStateCaption(s, command, records::replyValue(out.reply));
    }
    s.panel().setEnabled({C::ReturnToOrigin, C::Start, C::Servo, C::ClearDeviation, C::Brake,
                          C::CancelAlarm, C::Positioning},
                         true);
    s.controller().previous = false;
    s.drive().operationMode = true;
    s.drive().monitor = MonitorState::Idle;
}

void enterOperationPointInput(Session& s)
{
    const auto failed = [&s](const Outcome& out) {
        if (out.noAnswer()) {
            s.setMainWindowEnabled(true);
            ReportLinkError(s);
            return true;
        }
        if (!out.has("OK")) {
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
    if (const std::optional<int> row = table.rowOfPrm(35))
        s.parameterGrid().setText(*row, kValueColumn, shift);
    s.showOriginShift(shift);

    out = exchange(s, cmd::READ_DIO);
    if (failed(out))
        return;
    s.controller().previous = records::isPreviousController(records::replyValue(out.reply));
    s.panel().setEnabled({C::ReturnToOrigin, C::Start, C::Stop}, true);
    s.drive().operationMode = true;
    s.drive().monitor = MonitorState::Idle;
}

// The stop character and its answer. While a return to origin or a point move of this window
// waits, the stop character goes out at once and that exchange's answer is the stop's
// answer; otherwise the stop waits its turn and reads its own answer. A held jog command not
// yet answered may wait only the stop's time-out more: the actuator turns meanwhile.
Outcome sendStop(Session& s, float timeoutMs)
{
    Link& link = s.link();
    if (!answeredAtTheEnd(link.waitingCommand())) {
        const auto waiting = link.waitingCommand();
        if (waiting && (*waiting == cmd::XINC || *waiting == cmd::XDEC))
            link.limitWait(timeoutMs);
        link.timeout().set(timeoutMs);
        return exchange(s, cmd::Break);
    }
    link.writeBreakNow();
    watchBreak(s, timeoutMs);
    const Outcome out = link.awaitBreakAnswer();  // once the motion's exchange has ended
    link.timeout().set(timeoutMs);
    return out;
}

}  // namespace

Outcome StopProcedure(Session& s)
{
    DriveState& d = s.drive();
    PanelState& p = s.panel();
    const auto offerButtons = [&] {
        s.teachingState().jogSteps = 0;
        if (s.isPointInput())
            p.setEnabled({C::ReturnToOrigin, C::Start, C::Stop}, true);
        else if (d.operationMode)
            p.setEnabled(pulsePanel(), true);
    };
    s.operations().title = OperationText::tr("Stop");
    const bool afterJogRelease = s.isPointInput() && isJogReleaseTimeout(s);
    p.setEnabled(C::SettingMode, true);
    Outcome out = sendStop(s, afterJogRelease ? timeouts::kStopAfterJog : timeouts::kStop);
    if (out.noAnswer()) {
        s.setMainWindowEnabled(true);
        ReportLinkError(s);
    } else if (out.has("STOP")) {
        s.showError(out.reply);
    } else if (!out.has("OK")) {
        s.silence().motion = false;
        ReportLinkError(s);
    }
    // Whatever the answer, the panel offers its buttons again: a refused stop must not leave
    // the user without Org and Stop.
    offerButtons();
    return out;
}

void attach(Session& s)
{
    QObject::connect(&s.ioMonitorTimer(), &QTimer::timeout, &s, [&s] { MonitorTick(s); });
    QObject::connect(&s.teachingTimer(), &QTimer::timeout, &s, [&s] { TeachingTick(s); });
    QObject::connect(&s, &Session::stopRequested, &s, [&s] { Stop(s); });
    s.setTeachingUpdate([&s](const QString& value) { TeachingUpdate(s, value); });
}

bool isJogReleaseTimeout(Session& s)
{
    return s.link().timeout().ms() == timeouts::kJogRelease;
}

bool mayMove(Session& s, MotionSource source)
{
    if (s.operations().stopRequested() || s.link().isShutDown() || s.silence().closing)
        return false;
    const TeachingState& t = s.teachingState();
    if (source == MotionSource::DrivePanel)
        return s.drive().operationMode;
    return !s.drive().operationMode && t.loop != TeachingLoop::Off
           && (t.inputMode == 2 || t.inputMode == 3);
}

void EnterOperationMode(Session& s)
{
    DriveState& d = s.drive();
    PanelState& p = s.panel();
    OperationScope scope(s, Activity::ModeChange);
    s.link().timeout().set(timeouts::kEnterOperation);
    p.setSettingPosition(QStringLiteral("0.00"));
    s.silence().settingMode = false;
    if (d.operationMode)
        return;
    s.operations().title = OperationText::tr("Drive");
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
    s.teachingState().inputMode = 1;
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
    PanelState& p = s.panel();
    OperationScope scope(s, Activity::ModeChange);
    p.setStopDialogShown(false);
    p.setFrameEnabled(PanelFrame::Setup, true);
    p.setFrameEnabled(PanelFrame::Parameters, true);
    p.setFrameEnabled(PanelFrame::Drive, false);
    p.setFrameEnabled(PanelFrame::View, false);
    SelectNumericInput(s);
    UnlockCommands(s);
    s.tableGrid().setReadOnly(false);
    s.ioMonitorTimer().stop();
    s.silence().settingMode = true;

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

    s.drive().operationMode = false;
    s.teachingState().inputMode = 1;
    for (int lamp : {0, 1, 2, 3, 8, 9, 10, 11, 12, 13})
        p.setLamp(lamp, false);
    s.silence().motion = false;
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

// Start is one operation from the click to the end of the move. Its steps:
//   origin query -> [return-to-origin question -> return] -> " Do you start?" ->
//   point query -> point move -> angle refresh -> panel restored.
// Before each motion command it checks that the window is still in Operation mode and that
// Stop was not pressed meanwhile; otherwise it ends there with the panel restored.
void Start(Session& s)
{
    if (!s.isPointInput())
        return;  // the pulse-train window's Start has no action
    DriveState& d = s.drive();
    PanelState& p = s.panel();
    Link& link = s.link();
    OperationScope scope(s, Activity::Start);

    // How a reply to the origin query (or to the return it led to) lets the start go on.
    enum class Next { End, Ask, Restore, Proceed };
    const auto nextStep = [&](const Outcome& out, bool refusalBox) {
        if (out.noAnswer()) {
            ReportLinkError(s);
            return Next::End;
        }
        if (out.has("NG")) {
            if (!refusalBox) {
                s.showError(out.reply);
                return Next::Restore;
            }
            ReportRefusal(s, out);
            RestoreWindow(s);
            return Next::End;
        }
        if (out.has("STOP")) {
            if (!s.silence().stopPressed) {
                d.motionInProgress = false;
                return Next::Ask;  // title and time-out stay as they are
            }
            s.showError(out.reply);
            return Next::Restore;
        }
        return Next::Proceed;
    };

    link.timeout().set(timeouts::kOriginQuery);
    s.operations().title = OperationText::tr("Return to origin");
    Outcome out = exchange(s, cmd::QORG);
    Next next = nextStep(out, true);
    if (next == Next::Proceed && out.has("OK") && !out.has("1")) {
        // The origin is not established: offer the return first.
        link.timeout().set(timeouts::kMove);
        if (ask(s, originQuestion())) {
            if (!mayMove(s, MotionSource::DrivePanel))
                return restoreAfterStart(s);
            s.showError(QString());
            out = ReturnToOrigin(s, false);
        } else {
            s.teachingState().inputMode = 0;
            s.setToolbarEnabled(true);
            UnlockCommands(s);
            p.setSettingPosition(QStringLiteral("0.00"));
        }
        next = nextStep(out, false);
    }
    if (next == Next::End)
        return endStart(s);
    if (next == Next::Restore)
        return restoreAfterStart(s);
    if (next == Next::Proceed) {
        link.timeout().set(timeouts::kMove);
        s.operations().title = OperationText::tr("Start");
    }

    if (d.motionInProgress)
        return;
    s.showError(QString());
    if (!ask(s, OperationText::tr(" Do you start?"))) {
        p.setEnabled(C::SettingMode, true);
        p.setShade(C::Start, Shade::LightGrey);
        return restoreAfterStart(s);
    }
    if (!mayMove(s, MotionSource::DrivePanel))
        return restoreAfterStart(s);
    OperationScope move(s, Activity::Move);
    s.silence().motion = true;
    p.setEnabled(C::SettingMode, false);
    s.ioMonitorTimer().stop();
    p.setEnabled(C::ReturnToOrigin, true);
    p.setEnabled(C::Start, false);
    p.setEnabled(C::Stop, true);
    p.setShade(C::Stop, Shade::LightPink);
    out = exchange(s, cmd::QP, selectedPoint(s));
    if (out.noAnswer()) {
        ReportLinkError(s);
        return endStart(s);
    }
    if (out.has("NG")) {
        ReportRefusal(s, out);
        RestoreWindow(s);
        return restoreAfterStart(s);
    }
    // Stop pressed while the point was queried, or "Setting" somehow reached: no move.
    if (!mayMove(s, MotionSource::DrivePanel))
        return restoreAfterStart(s);
    p.setEnabled(C::ReturnToOrigin, false);
    d.motionInProgress = true;
    // The point move.
    s.operations().title = OperationText::tr("Point");
    link.timeout().set(timeouts::kMove);
    s.showError(QString());
    out = exchange(s, cmd::MOVP, selectedPoint(s));
    if (out.noAnswer()) {
        s.setMainWindowEnabled(true);
        s.hideProgress();
        reportMoveLinkError(s, out);
    } else if (!out.has("OK") && !out.has("STOP")) {
        ReportRefusal(s, out);
        RestoreWindow(s);
    }
    d.motionInProgress = false;
    RefreshCurrentAngle(s);
    restoreAfterStart(s);
}

void Stop(Session& s)
{
    PanelState& p = s.panel();
    OperationScope scope(s, Activity::Stop);
    // Whatever runs sends no further motion command once this click is taken.
    s.operations().requestStop();
    s.stopReceiveGuard();
    if (s.isPointInput()) {
        p.setEnabled({C::ReturnToOrigin, C::Start}, true);
        p.setEnabled(C::Stop, false);
        p.setShade(C::Stop, Shade::ButtonFace);
        StopProcedure(s);
        s.silence().stopPressed = true;
    } else {
        p.setEnabled(pulsePanel(), false);
        p.setShade(C::Stop, Shade::ButtonFace);
        StopProcedure(s);
        s.silence().stopPressed = false;
    }
}

void Org(Session& s)
{
    PanelState& p = s.panel();
    if (s.drive().motionInProgress)
        return;
    OperationScope scope(s, Activity::ReturnToOrigin);
    s.link().timeout().set(timeouts::kOrgQuestion);
    s.operations().title = s.isPointInput() ? OperationText::tr("Org")
                                            : OperationText::tr("Return to origin");
    if (!ask(s, originQuestion()) || !mayMove(s, MotionSource::DrivePanel)) {
        p.setShade(C::ReturnToOrigin, Shade::LightGrey);
        return;
    }
    p.setEnabled(C::SettingMode, false);
    s.showError(QString());
    ReturnToOrigin(s, false, true);
    p.setEnabled(C::SettingMode, true);
    p.setShade(C::ReturnToOrigin, Shade::LightGrey);
    s.silence().motion = false;
    if (s.isPointInput())
        s.silence().stopPressed = false;
}

Outcome ReturnToOrigin(Session& s, bool showStopDialog, bool fromOrgButton)
{
    DriveState& d = s.drive();
    PanelState& p = s.panel();
    OperationScope scope(s, Activity::ReturnToOrigin);
    const QList<Command> driveState = {C::Servo, C::ClearDeviation, C::Brake, C::CancelAlarm};
    s.operations().title = OperationText::tr("Org");
    s.link().timeout().set(timeouts::kReturnToOrigin);
    s.ioMonitorTimer().stop();
    d.motionInProgress = true;
    s.silence().motion = true;
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
    if (!s.isPointInput() && d.operationMode)
        p.setEnabled(driveState, true);
    endOfReturn(s);
    if (!out.has("OK")) {
        if (out.noAnswer()) {
            d.motionInProgress = false;
            ReportOriginLinkError(s);
            return out;
        }
        if (out.has("STOP") || out.has("NG")) {
            d.motionInProgress = false;
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
    d.motionInProgress = false;
    RefreshCurrentAngle(s);
    return out;
}

void PressStopDialog(Session& s)
{
    // An event of the running return, not an operation of its own: its time-out is the
    // return's from now on.
    s.operations().requestStop();
    s.link().setWaitTimeout(timeouts::kStopDialog);
    const bool waiting = s.link().waitingCommand().has_value();
    s.link().writeBreakNow();
    if (waiting)
        watchBreak(s, timeouts::kStop);
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
    DriveState& d = s.drive();
    if (d.motionInProgress)
        return std::nullopt;
    const quint64 generation = s.operations().generation();
    s.operations().title = OperationText::tr("Receive the current value");
    s.link().timeout().set(timeouts::kRefresh);
    const Outcome out = exchange(s, cmd::QPOS);
    if (out.noAnswer()) {
        reportNoAnswer(s);
        return std::nullopt;
    }
    // Another operation ran inside the wait (SET, a mode change, a move): this angle is
    // stale, and that operation has shown its own.
    if (s.operations().generation() != generation)
        return std::nullopt;
    if (!out.has("OK") && !out.has("STOP")) {
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
    if (!d.operationMode && !d.motionInProgress && s.teachingUpdate())
        s.teachingUpdate()(value);
    return value;
}

}  // namespace kap::operation
