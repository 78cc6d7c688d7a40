#include "operation/Teaching.h"

#include "data/ActuatorTypes.h"
#include "data/Grid.h"
#include "data/Numbers.h"
#include "data/ParameterTable.h"
#include "data/PointTable.h"
#include "data/ZoneTable.h"
#include "exchange/ExchangeSteps.h"
#include "operation/Drive.h"
#include "operation/OperationSteps.h"
#include "platform/Dialogs.h"
#include "session/Reactions.h"

#include <QTimer>

// Teaching runs as a small state machine (TeachingState::loop):
//
//   Off --choose Direct/Playback, or a pulse-train target--> Starting
//   Starting --Yes, return answered, read-out done--> Direct | Playback   (timer armed)
//   Starting --No, or the return refused/unanswered-->  Off
//   Direct --tick--> one pass (angle refresh + teaching update), timer re-armed
//   Playback --tick, a jog button down--> a step (or the held command) + refresh
//   Playback --held command answered, button still down--> Held
//   Held --release--> stop character --> Playback (one refresh)
//   Direct | Playback | Held --Numeric Input / Setting / a failed pass--> Off
//
// Every event (tick, click, release) is one operation holding the session; a tick that falls
// due while another operation holds it is put off, never nested.

namespace kap::operation {

namespace {

using C = Command;
using Target = TeachingTarget;

constexpr float kJogStepMs = 3000.0f;
constexpr float kHeldJogMs = 20000.0f;
constexpr float kRecordMs = 100.0f;
constexpr float kEndOfDataMs = 3000.0f;
constexpr float kReadOutMs = 3000.0f;
constexpr float kMotorOffMs = 3000.0f;
constexpr double kShiftLimitLow = -327.68;  // parameter 35 in degrees
constexpr double kShiftLimitHigh = 327.67;

double number(const QString& text)
{
    return numbers::readNumber(leadingNumber(text)).value_or(0.0);
}

void focusNumericInputUnlessChosen(Session& s)
{
    if (s.panel().inputOption() != 0)
        s.view().focusNumericInput();
}

bool looping(const TeachingState& t)
{
    return t.loop == TeachingLoop::Direct || t.loop == TeachingLoop::Playback
           || t.loop == TeachingLoop::Held;
}

// The question at the start and the end of teaching. True when the teaching may go on: Yes,
// and neither the return nor the refresh after it refused or unanswered.
bool askReturnToOrigin(Session& s)
{
    s.link().timeout().set(timeouts::kMove);
    const QString question =
        s.isPointInput()
            ? OperationText::tr("Return to origin? Please push stop switch if you stop operating.")
            : OperationText::tr(
                "Execute return to origin? If stopping in operations required, press "
                "Pop-up button.");
    if (!ask(s, question) || !mayMove(s, MotionSource::Teaching)) {
        s.teachingState().inputMode = 0;
        s.setToolbarEnabled(true);
        UnlockCommands(s);
        s.panel().setSettingPosition(QStringLiteral("0.00"));
        return false;
    }
    s.showError(QString());
    ReturnToOrigin(s, true);
    // The last reply: the return's, or the angle refresh's that followed it.
    const Outcome& out = s.link().lastOutcome();
    return !out.noAnswer() && !out.has("NG");
}

void showStartingShift(Session& s)
{
    TeachingState& t = s.teachingState();
    t.originShiftAtStart = t.originShift;
    s.showOriginShift(t.originShift);
}

// "Do you turn off the power of motor?": direct teaching moves the actuator by hand.
void offerMotorOff(Session& s)
{
    TeachingState& t = s.teachingState();
    if (s.drive().motionInProgress)
        return;
    s.operations().title = OperationText::tr("Servo");
    s.link().timeout().set(kMotorOffMs);
    if (!ask(s, OperationText::tr(
                    "Do you turn off the power of motor? Cannot change the mode during turning off "
                    "the power of motor."))) {
        s.setToolbarEnabled(true);
        t.inputMode = 1;
        s.panel().setFrameEnabled(PanelFrame::Parameters, true);
        return;
    }
    s.showError(QString());
    s.panel().setEnabled(C::SettingMode, true);
    const Outcome out = exchange(s, cmd::SRVO, QStringLiteral("0"));
    if (out.noAnswer()) {
        reportNoAnswer(s);
    } else if (!out.has("OK")) {
        t.inputMode = 1;
        focusNumericInputUnlessChosen(s);
        if (out.has("NG"))
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
    s.drive().motionInProgress = false;
    RestoreWindow(s);
}

// The steps after a loop has ended, however it ended.
void endLoop(Session& s)
{
    TeachingState& t = s.teachingState();
    const TeachingLoop was = t.loop;
    t.loop = TeachingLoop::Off;
    s.teachingTimer().stop();
    if (was == TeachingLoop::Direct) {
        s.tableGrid().setReadOnly(false);
        s.panel().setEnabled(C::OperationMode, true);
        if (!s.isPointInput())
            s.panel().setOptionEnabled(0, true);
    }
}

// The input mode a loop runs in.
int inputModeOf(TeachingLoop loop)
{
    return loop == TeachingLoop::Direct ? 2 : 3;
}

// A started loop takes its passes on the timer, unless its start left the input mode (No to
// the motor question).
void beginPasses(Session& s, TeachingLoop loop)
{
    s.teachingState().loop = loop;
    if (s.teachingState().inputMode != inputModeOf(loop))
        return endLoop(s);
    s.teachingTimer().start();
}

// One pass of the direct-teaching loop; false when the loop must end.
bool teachOnce(Session& s)
{
    const quint64 generation = s.operations().generation();
    const auto passOutcome = [&s, generation]() -> std::optional<Outcome> {
        s.silence().settingMode = false;
        RefreshCurrentAngle(s);
        // An operation that ran inside the refresh (SET, a target) has its own outcome.
        if (s.operations().generation() != generation)
            return std::nullopt;
        return s.link().lastOutcome();
    };
    std::optional<Outcome> out = passOutcome();
    if (!out)
        return true;
    if (out->has("NG")) {
        recoverFromLoop(s);
        ReportLinkError(s);
        s.panel().setEnabled(C::OperationMode, true);
        return false;
    }
    if (!out->noAnswer())
        return true;
    // One more try before giving up.
    out = passOutcome();
    if (!out)
        return true;
    if (out->has("NG") || out->noAnswer()) {
        recoverFromLoop(s);
        UnlockCommands(s);
        // The loop's own silence keeps the refreshes quiet: this failure must show.
        s.silence().motion = false;
        ReportLinkError(s);
        s.silence().motion = true;
        s.panel().setEnabled(C::OperationMode, true);
        return false;
    }
    return true;
}

// The loop's start: the return-to-origin question, the return, the read-out and (direct
// teaching) the motor. The loop then runs on the timer.
void startDirectTeaching(Session& s)
{
    TeachingState& t = s.teachingState();
    PanelState& p = s.panel();
    const QList<Command> teachingButtons = {C::Set, C::OperationMode, C::PositionTarget,
                                            C::OriginShiftTarget};
    t.loop = TeachingLoop::Starting;
    s.operations().title = OperationText::tr("Direct Teach");
    p.setEnabled(teachingButtons, false);
    p.setExitEnabled(false);
    if (!askReturnToOrigin(s)) {
        t.loop = TeachingLoop::Off;
        p.setOptionEnabled(0, true);
        focusNumericInputUnlessChosen(s);
        p.setOptionEnabled(2, true);
        s.drive().motionInProgress = false;
        p.setExitEnabled(true);
        p.setEnabled(teachingButtons, true);
        if (!s.isPointInput())
            p.setOptionEnabled(0, true);
        return;
    }
    p.setExitEnabled(true);
    p.setOptionEnabled(2, true);
    ReadOriginShift(s);
    showStartingShift(s);
    offerMotorOff(s);
    p.setEnabled({C::Set, C::PositionTarget, C::OriginShiftTarget}, true);
    beginPasses(s, TeachingLoop::Direct);
}

void startPlayback(Session& s)
{
    TeachingState& t = s.teachingState();
    PanelState& p = s.panel();
    t.loop = TeachingLoop::Starting;
    s.operations().title = OperationText::tr("Teaching Playback");
    if (!askReturnToOrigin(s)) {
        t.loop = TeachingLoop::Off;
        p.setOptionEnabled(0, true);
        focusNumericInputUnlessChosen(s);
        p.setOptionEnabled(1, true);
        s.drive().motionInProgress = false;
        return;
    }
    p.setOptionEnabled(1, true);
    ReadOriginShift(s);
    showStartingShift(s);
    for (Command jog : {C::JogCw, C::JogCcw}) {
        p.setShade(jog, Shade::LightCyan);
        p.setEnabled(jog, true);
    }
    beginPasses(s, TeachingLoop::Playback);
}

// The stop character after a held jog, answered or not. A stop that is not answered with
// "STOP" is reported at once and sent once more; until a stop is answered the actuator may
// still be turning, and the jog buttons and Numeric Input send a stop again.
void stopJog(Session& s)
{
    TeachingState& t = s.teachingState();
    // The stop's own failure is reported here, once, under the jog's title.
    s.silence().motion = true;
    const Outcome out = StopProcedure(s);
    if (!out.noAnswer() && out.has("STOP")) {
        t.mayBeMoving = false;
        return;
    }
    s.operations().title = OperationText::tr("JOG");
    ReportLinkErrorAlways(s);
    RestoreWindow(s);
    s.operations().title = OperationText::tr("Stop");
    s.link().timeout().set(timeouts::kStop);
    const Outcome again = exchange(s, cmd::Break);
    t.mayBeMoving = again.noAnswer() || !(again.has("STOP") || again.has("OK"));
}

// One pass of the playback loop with a jog button down: a step (the fourth pass the held
// command), then the new angle.
void jogStep(Session& s)
{
    TeachingState& t = s.teachingState();
    DriveState& d = s.drive();
    const int n = t.jogSteps++;
    const auto refused = [&s](const Outcome& out) {
        s.showError(out.reply);
        ReportRefusal(s, out);
    };
    if (n > 3 || !mayMove(s, MotionSource::Teaching))
        return;
    s.operations().title = OperationText::tr("JOG");
    if (n < 3) {
        // A short click gives one step; holding gives three before the held move.
        s.link().timeout().set(kJogStepMs);
        const Outcome out = exchange(s, t.cwHeld ? cmd::XPlus : cmd::XMinus);
        if (out.noAnswer()) {
            ReportLinkError(s);
        } else if (out.has("NG") && out.reply.contains(QLatin1String("37"))) {
            s.showError(out.reply);  // at a software limit: shown, not a failure
        } else if (!out.has("STOP") && !out.has("OK")) {
            refused(out);
            RestoreWindow(s);
        }
        return;
    }
    s.link().timeout().set(kHeldJogMs);
    d.motionInProgress = true;
    t.mayBeMoving = true;
    const Outcome out = exchange(s, t.cwHeld ? cmd::XINC : cmd::XDEC);
    const auto drop = [&t] {
        t.cwHeld = t.ccwHeld = t.buttonHeld = false;
        t.jogSteps = 0;
    };
    if (out.noAnswer()) {
        ReportLinkError(s);
        drop();
    } else if (out.has("NG")) {
        refused(out);
        drop();
        t.mayBeMoving = false;
    }
    if (t.buttonHeld && t.loop == TeachingLoop::Playback) {
        // The held move runs until the release sends the stop character.
        t.loop = TeachingLoop::Held;
        return;
    }
    t.cwHeld = t.ccwHeld = false;
    d.motionInProgress = false;
}

void playbackPass(Session& s)
{
    TeachingState& t = s.teachingState();
    if (!(t.cwHeld || t.ccwHeld)) {
        t.jogSteps = 0;
        return;
    }
    jogStep(s);
    if (t.loop == TeachingLoop::Playback)
        RefreshCurrentAngle(s);
}

// The pulse-train window teaches directly as soon as a target is chosen.
void pulseDirectTeaching(Session& s)
{
    TeachingState& t = s.teachingState();
    PanelState& p = s.panel();
    t.inputMode = 2;
    p.setOptionEnabled(0, false);
    p.setOptionEnabled(2, false);
    p.setEnabled({C::JogCw, C::JogCcw, C::OperationMode}, false);
    LockCommands(s);
    p.setFrameEnabled(PanelFrame::Parameters, false);
    startDirectTeaching(s);
}

void showTargetColours(Session& s)
{
    PanelState& p = s.panel();
    const bool shift = s.teachingState().target == Target::OriginShift;
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
    PanelState& p = s.panel();
    const bool shift = s.teachingState().target == Target::OriginShift;
    const bool shiftInRange = v >= kShiftLimitLow && v <= kShiftLimitHigh;
    if (s.isPointInput()) {
        if (shift && !shiftInRange) {
            refuseValue(s, OperationText::tr("Please set a value as -327.68 to 327.67mm."));
            return false;
        }
        ParameterTable& table = s.parameters();
        const QString angle = table.valueOfPrm(21);
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
            s.guards().teaching = true;
            grid.setText(grid.currentRow(), column, p.settingPosition());
            s.guards().teaching = false;
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
    TeachingState& t = s.teachingState();
    PanelState& p = s.panel();
    OperationScope scope(s, Activity::TeachingChoice);
    s.silence().settingMode = false;
    p.setInputOption(option);
    if (option == 0) {
        t.inputMode = 1;
        for (Command jog : {C::JogCw, C::JogCcw}) {
            p.setShade(jog, Shade::ButtonFace);
            p.setEnabled(jog, false);
        }
        p.setEnabled(C::OperationMode, true);
        UnlockCommands(s);
        s.tableGrid().setReadOnly(false);
        // A jog that may still turn the actuator is stopped first.
        const bool moving = s.drive().motionInProgress || t.mayBeMoving;
        t.cwHeld = t.ccwHeld = t.buttonHeld = false;
        if (moving)
            stopJog(s);
        s.drive().motionInProgress = false;
        if (looping(t))
            endLoop(s);
        p.setFrameEnabled(PanelFrame::Parameters, true);
    } else if (option == 1) {
        p.setOptionEnabled(2, false);
        for (Command jog : {C::JogCw, C::JogCcw}) {
            p.setShade(jog, Shade::ButtonFace);
            p.setEnabled(jog, false);
        }
        t.inputMode = 2;
        LockCommands(s);
        p.setFrameEnabled(PanelFrame::Parameters, false);
        startDirectTeaching(s);
    } else if (option == 2) {
        p.setOptionEnabled(1, false);
        t.inputMode = 3;
        LockCommands(s);
        s.tableGrid().setReadOnly(false);
        p.setFrameEnabled(PanelFrame::Parameters, false);
        startPlayback(s);
    }
}

void TeachingTick(Session& s)
{
    TeachingState& t = s.teachingState();
    if (t.loop != TeachingLoop::Direct && t.loop != TeachingLoop::Playback)
        return;  // Held waits for its release; Off and Starting have no passes
    if (t.inputMode != inputModeOf(t.loop))
        return endLoop(s);
    if (!s.operations().idle() || s.operations().holds(Activity::TeachingStep)) {
        s.teachingTimer().start();  // another operation holds the session: the pass waits
        return;
    }
    const TeachingLoop loop = t.loop;
    {
        OperationScope scope(s, Activity::TeachingStep);
        // The loop's silence: a pass's failed refresh is reported once, by the loop.
        s.silence().motion = true;
        if (loop == TeachingLoop::Direct) {
            if (!teachOnce(s)) {
                endLoop(s);
                return;
            }
        } else {
            playbackPass(s);
        }
    }
    if (t.loop == loop && t.inputMode == inputModeOf(loop))
        s.teachingTimer().start();
    else if (t.loop == loop)
        endLoop(s);
}

void ChooseTarget(Session& s, Target target)
{
    TeachingState& t = s.teachingState();
    OperationScope scope(s, Activity::Refresh);
    if (target == Target::Position && s.isPointInput())
        s.view().showTableGrid();
    t.target = target;
    showTargetColours(s);
    s.showError(QString());
    if (!s.isPointInput()) {
        pulseDirectTeaching(s);
        return;
    }
    if (t.inputMode != 1)
        RefreshCurrentAngle(s);
}

void PressJog(Session& s, bool clockwise)
{
    TeachingState& t = s.teachingState();
    if (t.mayBeMoving && t.loop != TeachingLoop::Held) {
        // The last held move was not seen to stop: this press stops it.
        OperationScope scope(s, Activity::Jog);
        stopJog(s);
        return;
    }
    t.cwHeld = clockwise;
    t.ccwHeld = !clockwise;
    t.buttonHeld = true;
    s.showError(QString());
}

void ReleaseJog(Session& s)
{
    TeachingState& t = s.teachingState();
    const bool wasHeld = t.loop == TeachingLoop::Held;
    {
        OperationScope scope(s, Activity::Jog);
        if (t.jogSteps == 4) {
            // The held move is running: it stops now, and the stop's answer is quick.
            s.link().timeout().set(timeouts::kJogRelease);
            stopJog(s);
        }
        t.cwHeld = t.ccwHeld = t.buttonHeld = false;
    }
    if (!wasHeld || t.loop != TeachingLoop::Held)
        return;
    // The held command's pass ends with the angle where the actuator stopped.
    t.loop = TeachingLoop::Playback;
    s.drive().motionInProgress = false;
    if (t.inputMode != 3)
        return endLoop(s);
    {
        OperationScope scope(s, Activity::TeachingStep);
        s.silence().motion = true;
        RefreshCurrentAngle(s);
    }
    if (t.loop == TeachingLoop::Playback)
        s.teachingTimer().start();
}

void Set(Session& s)
{
    TeachingState& t = s.teachingState();
    PanelState& p = s.panel();
    OperationScope scope(s, Activity::Set);
    s.silence().settingMode = false;
    if (!storeTaught(s, number(p.settingPosition())))
        return;
    const bool teaching = s.isPointInput() ? p.inputOption() != 0 : t.inputMode == 2;
    if (!teaching) {
        setModifiedMark(s.tableGrid());
        return;
    }
    const bool end = s.dialogs().message(OperationText::tr("Terminate teaching setting?"),
                                         OperationText::tr("Teaching"), MsgIcon::None,
                                         MsgButtons::YesNo)
                     == MsgAnswer::Yes;
    s.operations().title = OperationText::tr("Transmit");
    // The taught value is unsaved data on every path, ending included.
    setModifiedMark(s.tableGrid());
    if (end) {
        askReturnToOrigin(s);
        p.setOptionEnabled(0, true);
        focusNumericInputUnlessChosen(s);
        UnlockCommands(s);
        s.silence().settingMode = false;
        EnterSettingMode(s);
        if (looping(t))
            endLoop(s);
        return;
    }
    // Teaching begins again, with its question and return.
    if (looping(t))
        endLoop(s);
    if (!s.isPointInput() || p.inputOption() == 1) {
        t.inputMode = 2;
        startDirectTeaching(s);
    } else if (p.inputOption() == 2) {
        t.inputMode = 3;
        startPlayback(s);
    }
}

bool ReadOriginShift(Session& s)
{
    TeachingState& f = s.teachingState();
    s.operations().title = OperationText::tr("Parameter read-out");
    s.link().timeout().set(kReadOutMs);
    s.panel().setEnabled(C::SettingMode, true);
    const Outcome out = exchange(s, cmd::QPRM, QStringLiteral("35"));
    if (out.noAnswer()) {
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
    TeachingState& f = s.teachingState();
    PanelState& p = s.panel();
    s.operations().title = OperationText::tr("Parameter");
    s.silence().settingMode = false;
    s.showError(QString());
    s.progress().setValue(0);
    if (!ask(s, OperationText::tr("Do you send virtual origin data?"))) {
        s.setToolbarEnabled(true);
        p.setSettingPosition(numbers::format2(leadingNumber(p.settingPosition())));
        f.inputMode = 1;
        // Back to numeric input as the screen shows it too, not a teaching option whose
        // loop no longer runs.
        if (p.inputOption() != 0)
            ChooseInputMode(s, 0);
        return;
    }
    ParameterTable& table = s.parameters();
    const std::optional<int> row = table.rowOfPrm(35);
    if (f.target == Target::OriginShift && row)
        s.parameterGrid().setText(*row, kValueColumn,
                                  numbers::formatFixed(number(p.settingPosition()) * 100.0, 0));
    Outcome out = exchange::exchangeLine(s, cmd::WRITE_PRM, kReadOutMs);
    if (out.noAnswer()) {
        reportNoAnswer(s);
        return;
    }
    if (!out.has("READY")) {
        ReportLinkError(s);
        return;
    }
    exchange::exchangeRecord(s, cmd::RecordPRM, QStringLiteral("PRM35=") + table.valueOfPrm(35),
                             kRecordMs);
    out = exchange::exchangeRecord(s, cmd::EndOfData, QString(), kEndOfDataMs);
    if (out.noAnswer() && s.progress().cancelTag() == QLatin1String("1")) {
        s.progress().setCancelTag(QStringLiteral("0"));
        RestoreWindow(s);
        s.dialogs().message(OperationText::tr("Stop"), OperationText::tr("Data un-transmitting."),
                            MsgIcon::Exclamation, MsgButtons::Ok);
        s.silence().settingMode = true;
        return;
    }
    if (out.has("NG")) {
        ReportRefusal(s, out);
        RestoreWindow(s);
        return;
    }
    if (!out.has("OK")) {
        s.showError(out.reply);
        ReportRefusal(s, out);
        return;
    }
    ReadOriginShift(s);
    if (row)
        s.parameterGrid().setText(*row, kValueColumn, f.originShift);
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
    TeachingState& f = s.teachingState();
    if (s.drive().operationMode || s.drive().motionInProgress)
        return;
    // A parameter query that ran meanwhile shifts the value by the origin shift twice: skip.
    if (s.link().lastCommand() == cmd::QPRM)
        f.teachRefreshCounter = 3;
    else if (f.teachRefreshCounter == 2)
        f.teachRefreshCounter = 1;
    s.operations().title = OperationText::tr("Receive the current value");
    s.link().timeout().set(timeouts::kRefresh);
    s.panel().setEnabled(C::SettingMode, true);
    const Outcome out = exchange(s, cmd::QPRM, QStringLiteral("35"));
    if (out.noAnswer()) {
        reportNoAnswer(s);
        return;
    }
    if (!out.has("OK")) {
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
        taughtPosition(f.target, teachingValue, f.originShift, f.originShiftAtStart));
}

}  // namespace kap::operation
