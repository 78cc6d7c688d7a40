#include "Teaching.h"

#include "ActuatorTypes.h"
#include "Dialogs.h"
#include "Drive.h"
#include "ExchangeSteps.h"
#include "Grid.h"
#include "Numbers.h"
#include "OperationSteps.h"
#include "ParameterTable.h"
#include "PointTable.h"
#include "Reactions.h"
#include "ZoneTable.h"

#include <QEventLoop>
#include <QTimer>

namespace kap::operation {

namespace {

using C = Command;
using Target = SessionFlags::TeachingTarget;

constexpr int kLoopPauseMs = 20;
constexpr float kJogStepMs = 3000.0f;
constexpr float kHeldJogMs = 20000.0f;
constexpr float kRecordMs = 100.0f;
constexpr float kEndOfDataMs = 3000.0f;
constexpr float kReadOutMs = 3000.0f;
constexpr float kMotorOffMs = 3000.0f;
constexpr double kShiftLimitLow = -327.68;  // parameter 35 in degrees
constexpr double kShiftLimitHigh = 327.67;

// Lets the window's events run for ms. False when the application is leaving its event
// loops: a teaching loop must not keep the program from ending.
bool pause(int ms)
{
    QEventLoop wait;
    bool elapsed = false;
    QTimer::singleShot(ms, &wait, [&] {
        elapsed = true;
        wait.quit();
    });
    wait.exec();
    return elapsed;
}

double number(const QString& text)
{
    return numbers::readNumber(leadingNumber(text)).value_or(0.0);
}

void focusNumericInputUnlessChosen(Session& s)
{
    if (s.panel().inputOption() != 0)
        s.view().focusNumericInput();
}

// The question at the start and the end of teaching. True when the teaching may go on: Yes,
// and the return neither refused nor unanswered.
bool askReturnToOrigin(Session& s)
{
    s.link().timeout().set(timeouts::kMove);
    const QString question =
        s.isPointInput()
            ? OperationText::tr("Return to origin? Please push stop switch if you stop operating.")
            : OperationText::tr(
                "Execute return to origin? If stopping in operations required, press "
                "Pop-up button.");
    if (!ask(s, question)) {
        s.flags().inputMode = 0;
        s.setToolbarEnabled(true);
        UnlockCommands(s);
        s.panel().setSettingPosition(QStringLiteral("0.00"));
        return false;
    }
    s.showError(QString());
    const Outcome out = ReturnToOrigin(s, true);
    return !timedOut(out) && !has(out, "NG");
}

void showStartingShift(Session& s)
{
    SessionFlags& f = s.flags();
    f.originShiftAtStart = f.originShift;
    s.showOriginShift(f.originShift);
}

// "Do you turn off the power of motor?": direct teaching moves the actuator by hand.
void offerMotorOff(Session& s)
{
    SessionFlags& f = s.flags();
    if (f.motionInProgress)
        return;
    f.operationTitle = OperationText::tr("Servo");
    s.link().timeout().set(kMotorOffMs);
    if (!ask(s, OperationText::tr(
                    "Do you turn off the power of motor? Cannot change the mode during turning off "
                    "the power of motor."))) {
        s.setToolbarEnabled(true);
        f.inputMode = 1;
        s.panel().setFrameEnabled(PanelFrame::Parameters, true);
        return;
    }
    s.showError(QString());
    s.panel().setEnabled(C::SettingMode, true);
    const Outcome out = exchange(s, cmd::SRVO, QStringLiteral("0"));
    if (timedOut(out)) {
        reportNoAnswer(s);
    } else if (!has(out, "OK")) {
        f.inputMode = 1;
        focusNumericInputUnlessChosen(s);
        if (has(out, "NG"))
            s.showError(out.reply);
        else
            ReportRefusal(s, out);
    }
}

// After a refresh that failed inside a teaching loop.
void recoverFromLoop(Session& s)
{
    s.panel().setOptionEnabled(0, true);
    focusNumericInputUnlessChosen(s);
    s.flags().motionInProgress = false;
    RestoreWindow(s);
}

// One refresh of the direct-teaching loop; false when the loop must end.
bool teachOnce(Session& s)
{
    SessionFlags& f = s.flags();
    f.settei = false;
    RefreshCurrentAngle(s);
    Outcome out = s.link().lastOutcome();
    if (has(out, "NG")) {
        recoverFromLoop(s);
        ReportLinkError(s);
        s.panel().setEnabled(C::OperationMode, true);
        return false;
    }
    if (!timedOut(out))
        return true;
    // One more try before giving up.
    f.settei = false;
    RefreshCurrentAngle(s);
    out = s.link().lastOutcome();
    if (has(out, "NG") || timedOut(out)) {
        recoverFromLoop(s);
        UnlockCommands(s);
        // The return to origin at the start left its silence set: this failure must show.
        f.orgpos = 0;
        ReportLinkError(s);
        f.orgpos = 1;
        s.panel().setEnabled(C::OperationMode, true);
        return false;
    }
    return true;
}

void directTeaching(Session& s)
{
    SessionFlags& f = s.flags();
    PanelState& p = s.panel();
    const QList<Command> teachingButtons = {C::Set, C::OperationMode, C::PositionTarget,
                                            C::OriginShiftTarget};
    f.operationTitle = OperationText::tr("Direct Teach");
    p.setEnabled(teachingButtons, false);
    p.setExitEnabled(false);
    if (!askReturnToOrigin(s)) {
        p.setOptionEnabled(0, true);
        focusNumericInputUnlessChosen(s);
        p.setOptionEnabled(2, true);
        f.motionInProgress = false;
        p.setExitEnabled(true);
        p.setEnabled(teachingButtons, true);
        return;
    }
    p.setExitEnabled(true);
    p.setOptionEnabled(2, true);
    ReadOriginShift(s);
    showStartingShift(s);
    offerMotorOff(s);
    p.setEnabled({C::Set, C::PositionTarget, C::OriginShiftTarget}, true);

    while (f.inputMode == 2) {
        if (!teachOnce(s) || !pause(kLoopPauseMs))
            break;
    }
    s.tableGrid().setReadOnly(false);
    p.setEnabled(C::OperationMode, true);
}

// One pass of the playback loop with a jog button down: a step, then the new angle.
void jogStep(Session& s)
{
    SessionFlags& f = s.flags();
    const int n = f.jogSteps++;
    const auto refused = [&s](const Outcome& out) {
        s.showError(out.reply);
        ReportRefusal(s, out);
    };
    if (n < 3) {
        // A short click gives one step; holding gives three before the held move.
        f.operationTitle = OperationText::tr("JOG");
        s.link().timeout().set(kJogStepMs);
        const Outcome out = exchange(s, f.cwHeld ? cmd::XPlus : cmd::XMinus);
        if (timedOut(out)) {
            ReportLinkError(s);
        } else if (has(out, "NG") && out.reply.contains(QLatin1String("37"))) {
            s.showError(out.reply);  // at a software limit: shown, not a failure
        } else if (!has(out, "STOP") && !has(out, "OK")) {
            refused(out);
            RestoreWindow(s);
        }
        return;
    }
    if (n > 3)
        return;
    f.operationTitle = OperationText::tr("JOG");
    s.link().timeout().set(kHeldJogMs);
    f.motionInProgress = true;
    const Outcome out = exchange(s, f.cwHeld ? cmd::XINC : cmd::XDEC);
    const auto drop = [&f] {
        f.cwHeld = f.ccwHeld = f.buttonHeld = false;
        f.jogSteps = 0;
    };
    if (timedOut(out)) {
        ReportLinkError(s);
        drop();
    } else if (has(out, "NG")) {
        refused(out);
        drop();
    }
    // The held move runs until the release sends the stop character.
    while (f.buttonHeld) {
        if (!pause(kLoopPauseMs))
            break;
    }
    f.cwHeld = f.ccwHeld = false;
    f.motionInProgress = false;
}

void teachingPlayback(Session& s)
{
    SessionFlags& f = s.flags();
    PanelState& p = s.panel();
    f.operationTitle = OperationText::tr("Teaching Playback");
    if (!askReturnToOrigin(s)) {
        p.setOptionEnabled(0, true);
        focusNumericInputUnlessChosen(s);
        p.setOptionEnabled(1, true);
        f.motionInProgress = false;
        return;
    }
    p.setOptionEnabled(1, true);
    ReadOriginShift(s);
    showStartingShift(s);
    for (Command jog : {C::JogCw, C::JogCcw}) {
        p.setShade(jog, Shade::LightCyan);
        p.setEnabled(jog, true);
    }
    while (f.inputMode == 3) {
        if (!pause(kLoopPauseMs))
            break;
        if (f.cwHeld || f.ccwHeld) {
            jogStep(s);
            RefreshCurrentAngle(s);
        } else {
            f.jogSteps = 0;
        }
    }
}

// The pulse-train window teaches directly as soon as a target is chosen.
void pulseDirectTeaching(Session& s)
{
    SessionFlags& f = s.flags();
    PanelState& p = s.panel();
    f.inputMode = 2;
    p.setOptionEnabled(0, false);
    p.setOptionEnabled(2, false);
    p.setEnabled({C::JogCw, C::JogCcw, C::OperationMode}, false);
    LockCommands(s);
    p.setFrameEnabled(PanelFrame::Parameters, false);
    directTeaching(s);
    p.setOptionEnabled(0, true);
    f.settei = true;
}

void showTargetColours(Session& s)
{
    PanelState& p = s.panel();
    const bool shift = s.flags().teachingTarget == Target::OriginShift;
    const Shade position = s.isPointInput() ? Shade::LightOrange : Shade::LightGreen;
    p.setShade(C::OriginShiftTarget, shift ? Shade::LightCyan : Shade::LightGrey);
    p.setShade(C::PositionTarget, shift ? Shade::LightGrey : position);
}

void refuseValue(Session& s, const QString& text)
{
    s.dialogs().message(text, OperationText::tr("error"), MsgIcon::Exclamation, MsgButtons::Ok);
    s.view().focusSettingPosition();
}

// Stores v (the setting position) where the target says. False when it is out of range.
bool storeTaught(Session& s, double v)
{
    SessionFlags& f = s.flags();
    PanelState& p = s.panel();
    const bool shift = f.teachingTarget == Target::OriginShift;
    const bool shiftInRange = v >= kShiftLimitLow && v <= kShiftLimitHigh;
    if (s.isPointInput()) {
        if (shift && !shiftInRange) {
            refuseValue(s, OperationText::tr("Please set a value as -327.68 to 327.67mm."));
            return false;
        }
        ParameterTable& table = s.parameters();
        const QString angle = table.value(table.rowOfPrm(21));
        const double a = number(angle);
        if (!shift && (v < -a || v > a)) {
            const QString shown = numbers::plainNumber(leadingNumber(angle));
            refuseValue(s, OperationText::tr("Please set a value within -%1 to %1").arg(shown));
            return false;
        }
    } else if (shift ? !shiftInRange : (v < 0.0 || v > 359.99)) {
        refuseValue(s, shift ? OperationText::tr("Please set a value as -327.68 to 327.67.")
                             : OperationText::tr("Please set a value as 0 to 359.99."));
        return false;
    }
    p.setSettingPosition(numbers::format2(v));
    if (shift) {
        SendVirtualOrigin(s);
        s.refreshQuickBoxes();
    } else if (s.isPointInput()) {
        Grid& grid = s.tableGrid();
        grid.setText(grid.currentRow(), PointTable::PositionColumn, p.settingPosition());
    } else {
        Grid& grid = s.tableGrid();
        const int column = grid.currentColumn();
        if (column == ZoneTable::AngleAColumn || column == ZoneTable::AngleBColumn) {
            // The angle was checked above; the zone grid's own checks stand aside for it.
            f.teaching = true;
            grid.setText(grid.currentRow(), column, p.settingPosition());
            f.teaching = false;
        }
    }
    return true;
}

}  // namespace

void SelectNumericInput(Session& s)
{
    if (s.panel().inputOption() != 0)
        ChooseInputMode(s, 0);
}

void ChooseInputMode(Session& s, int option)
{
    SessionFlags& f = s.flags();
    PanelState& p = s.panel();
    f.settei = false;
    p.setInputOption(option);
    if (option == 0) {
        f.inputMode = 1;
        for (Command jog : {C::JogCw, C::JogCcw}) {
            p.setShade(jog, Shade::ButtonFace);
            p.setEnabled(jog, false);
        }
        p.setEnabled(C::OperationMode, true);
        UnlockCommands(s);
        s.tableGrid().setReadOnly(false);
        if (f.motionInProgress)
            StopProcedure(s);
        p.setFrameEnabled(PanelFrame::Parameters, true);
    } else if (option == 1) {
        p.setOptionEnabled(2, false);
        for (Command jog : {C::JogCw, C::JogCcw}) {
            p.setShade(jog, Shade::ButtonFace);
            p.setEnabled(jog, false);
        }
        f.inputMode = 2;
        LockCommands(s);
        p.setFrameEnabled(PanelFrame::Parameters, false);
        directTeaching(s);
    } else if (option == 2) {
        p.setOptionEnabled(1, false);
        f.inputMode = 3;
        LockCommands(s);
        s.tableGrid().setReadOnly(false);
        p.setFrameEnabled(PanelFrame::Parameters, false);
        teachingPlayback(s);
    }
}

void ChooseTarget(Session& s, Target target)
{
    SessionFlags& f = s.flags();
    if (target == Target::Position && s.isPointInput())
        s.view().showTableGrid();
    f.teachingTarget = target;
    showTargetColours(s);
    s.showError(QString());
    if (!s.isPointInput()) {
        pulseDirectTeaching(s);
        return;
    }
    if (f.inputMode != 1)
        RefreshCurrentAngle(s);
}

void PressJog(Session& s, bool clockwise)
{
    SessionFlags& f = s.flags();
    f.cwHeld = clockwise;
    f.ccwHeld = !clockwise;
    f.buttonHeld = true;
    s.showError(QString());
}

void ReleaseJog(Session& s)
{
    SessionFlags& f = s.flags();
    if (f.jogSteps == 4) {
        // The held move is running: it stops now, and the stop's answer is quick.
        s.link().timeout().set(timeouts::kJogRelease);
        StopProcedure(s);
    }
    f.cwHeld = f.ccwHeld = f.buttonHeld = false;
}

void Set(Session& s)
{
    SessionFlags& f = s.flags();
    PanelState& p = s.panel();
    f.settei = false;
    if (!storeTaught(s, number(p.settingPosition())))
        return;
    const bool teaching = s.isPointInput() ? p.inputOption() != 0 : f.inputMode == 2;
    if (!teaching) {
        setModifiedMark(s.tableGrid());
        return;
    }
    const bool end = s.dialogs().message(OperationText::tr("Terminate teaching setting?"),
                                         OperationText::tr("Teaching"), MsgIcon::None,
                                         MsgButtons::YesNo)
                     == MsgAnswer::Yes;
    f.operationTitle = OperationText::tr("Transmit");
    // The taught value is unsaved data on every path, ending included.
    setModifiedMark(s.tableGrid());
    if (end) {
        askReturnToOrigin(s);
        p.setOptionEnabled(0, true);
        focusNumericInputUnlessChosen(s);
        UnlockCommands(s);
        f.settei = false;
        EnterSettingMode(s);
        return;
    }
    if (!s.isPointInput() || p.inputOption() == 1)
        directTeaching(s);
    else if (p.inputOption() == 2)
        teachingPlayback(s);
}

bool ReadOriginShift(Session& s)
{
    SessionFlags& f = s.flags();
    f.operationTitle = OperationText::tr("Parameter read-out");
    s.link().timeout().set(kReadOutMs);
    s.panel().setEnabled(C::SettingMode, true);
    const Outcome out = exchange(s, cmd::QPRM, QStringLiteral("35"));
    if (timedOut(out)) {
        reportNoAnswer(s);
        return false;
    }
    const qsizetype ok = out.reply.indexOf(QLatin1String("OK"));
    if (ok < 0) {
        ReportRefusal(s, out);
        RestoreWindow(s);
        return false;
    }
    // The value is the line before the "OK" line.
    f.originShift = out.reply.left(qMax<qsizetype>(0, ok - 2));
    return true;
}

void SendVirtualOrigin(Session& s)
{
    SessionFlags& f = s.flags();
    PanelState& p = s.panel();
    f.operationTitle = OperationText::tr("Parameter");
    f.settei = false;
    s.showError(QString());
    s.progress().setValue(0);
    if (!ask(s, OperationText::tr("Do you send virtual origin data?"))) {
        s.setToolbarEnabled(true);
        p.setSettingPosition(numbers::format2(leadingNumber(p.settingPosition())));
        f.inputMode = 1;
        return;
    }
    ParameterTable& table = s.parameters();
    const int row = table.rowOfPrm(35);
    if (f.teachingTarget == Target::OriginShift)
        s.parameterGrid().setText(row, kValueColumn,
                                  numbers::formatFixed(number(p.settingPosition()) * 100.0, 0));
    Outcome out = exchange::exchangeLine(s, cmd::WRITE_PRM, kReadOutMs);
    if (timedOut(out)) {
        reportNoAnswer(s);
        return;
    }
    if (!has(out, "READY")) {
        ReportLinkError(s);
        return;
    }
    exchange::exchangeRecord(s, cmd::RecordPRM, QStringLiteral("PRM35=") + table.value(row),
                             kRecordMs);
    out = exchange::exchangeRecord(s, cmd::EndOfData, QString(), kEndOfDataMs);
    if (timedOut(out) && s.progress().cancelTag() == QLatin1String("1")) {
        s.progress().setCancelTag(QStringLiteral("0"));
        RestoreWindow(s);
        s.dialogs().message(OperationText::tr("Stop"), OperationText::tr("Data un-transmitting."),
                            MsgIcon::Exclamation, MsgButtons::Ok);
        f.settei = true;
        return;
    }
    if (has(out, "NG")) {
        ReportRefusal(s, out);
        RestoreWindow(s);
        return;
    }
    if (!has(out, "OK")) {
        s.showError(out.reply);
        ReportRefusal(s, out);
        return;
    }
    ReadOriginShift(s);
    s.parameterGrid().setText(row, kValueColumn, f.originShift);
    s.showOriginShift(f.originShift);
    s.dialogs().message(OperationText::tr("Transmitting and receiving has finished."),
                        OperationText::tr("ok"), MsgIcon::None, MsgButtons::Ok);
}

QString taughtPosition(Target target, const QString& teachingValue, const QString& originShift,
                       const QString& originShiftAtStart)
{
    // In hundredths, so the sum is exact before it is rounded for display.
    const double t = number(teachingValue) * 100.0;
    const double shift = number(originShift);
    const double value = target == Target::OriginShift ? shift + t
                                                       : number(originShiftAtStart) + t - shift;
    return numbers::format2(numbers::formatFixed(value, 4).toDouble() / 100.0);
}

void TeachingUpdate(Session& s, const QString& teachingValue)
{
    SessionFlags& f = s.flags();
    if (f.operationMode || f.motionInProgress)
        return;
    // A parameter query that ran meanwhile shifts the value by the origin shift twice: skip.
    if (s.link().request.P_Command == cmd::QPRM)
        f.teachRefreshCounter = 3;
    else if (f.teachRefreshCounter == 2)
        f.teachRefreshCounter = 1;
    f.operationTitle = OperationText::tr("Receive the current value");
    s.link().timeout().set(timeouts::kRefresh);
    s.panel().setEnabled(C::SettingMode, true);
    const Outcome out = exchange(s, cmd::QPRM, QStringLiteral("35"));
    if (timedOut(out)) {
        reportNoAnswer(s);
        return;
    }
    if (!has(out, "OK")) {
        ReportRefusal(s, out);
        RestoreWindow(s);
        return;
    }
    if (f.inputMode == 1)
        return;
    if (f.teachRefreshCounter == 3) {
        f.teachRefreshCounter = 2;
        return;
    }
    if (f.teachRefreshCounter == 1) {
        f.teachRefreshCounter = 0;
        return;
    }
    s.panel().setSettingPosition(
        taughtPosition(f.teachingTarget, teachingValue, f.originShift, f.originShiftAtStart));
}

}  // namespace kap::operation
