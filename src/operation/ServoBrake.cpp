#include "operation/ServoBrake.h"

#include "operation/OperationSteps.h"
#include "platform/Dialogs.h"
#include "session/Reactions.h"
#include "session/Session.h"

namespace kap::operation {

namespace {

// What tells the servo toggle from the brake toggle. The caption always names the action the
// next press performs: "Servo ON" while the servo is off.
struct Toggle {
    Command button;
    const char* title;
    qint16 query;
    qint16 set;
    const char* whenOn;   // caption while the state is "1" (servo on, brake engaged)
    const char* whenOff;  // caption while the state is "0"
    const char* askOff;   // question while the state is "1"
    const char* askOn;    // question while the state is "0"
    bool hideProgressOnTimeout;
};

const Toggle kServo = {Command::Servo,
                       QT_TRANSLATE_NOOP("Operation", "Servo"),
                       cmd::QSRVO,
                       cmd::SRVO,
                       QT_TRANSLATE_NOOP("Operation", "Servo OFF"),
                       QT_TRANSLATE_NOOP("Operation", "Servo ON"),
                       QT_TRANSLATE_NOOP("Operation", "Execute servo OFF?"),
                       QT_TRANSLATE_NOOP("Operation", "Execute servo ON?"),
                       false};
const Toggle kBrake = {Command::Brake,
                       QT_TRANSLATE_NOOP("Operation", "Brake"),
                       cmd::QBRK,
                       cmd::BRK,
                       QT_TRANSLATE_NOOP("Operation", "Brake OFF"),
                       QT_TRANSLATE_NOOP("Operation", "Brake ON"),
                       QT_TRANSLATE_NOOP("Operation", "Turn OFF brake?"),
                       QT_TRANSLATE_NOOP("Operation", "Turn ON brake?"),
                       true};

const Toggle& toggleOf(Command c)
{
    return c == Command::Brake ? kBrake : kServo;
}

// The caption from the first character of a state reply; false for any other character.
bool captionFromState(Session& s, const Toggle& t, const QString& reply)
{
    if (reply.startsWith(QLatin1Char('1')))
        s.panel().setCaption(t.button, OperationText::tr(t.whenOn));
    else if (reply.startsWith(QLatin1Char('0')))
        s.panel().setCaption(t.button, OperationText::tr(t.whenOff));
    else
        return false;
    return true;
}

void reportRefusal(Session& s, const Outcome& out, bool hideProgress)
{
    s.showError(out.reply);
    ReportRefusal(s, out);
    RestoreWindow(s);
    if (hideProgress)
        s.hideProgress();
}

void toggle(Session& s, const Toggle& t)
{
    if (s.drive().motionInProgress)
        return;
    OperationScope scope(s, Activity::PanelCommand);
    s.operations().title = OperationText::tr(t.title);
    s.link().timeout().set(timeouts::kServoBrake);
    s.showError(QString());
    s.panel().setEnabled(Command::SettingMode, true);
    Outcome out = exchange(s, t.query);
    if (out.noAnswer())
        return reportNoAnswer(s, t.hideProgressOnTimeout);
    if (!captionFromState(s, t, out.reply))
        return;
    // Decided by the state, not by comparing the caption (a translated text).
    const bool switchOn = out.reply.startsWith(QLatin1Char('0'));
    const QString question = OperationText::tr(switchOn ? t.askOn : t.askOff);
    if (!ask(s, question))
        return;
    s.panel().setEnabled(Command::SettingMode, true);
    out = exchange(s, t.set, switchOn ? QStringLiteral("1") : QStringLiteral("0"));
    if (out.noAnswer())
        return reportNoAnswer(s, t.hideProgressOnTimeout);
    if (out.has("NG"))
        return reportRefusal(s, out, false);
    s.panel().setCaption(t.button, OperationText::tr(switchOn ? t.whenOn : t.whenOff));
}

// Alarm and deviation: one confirmed command, no answer shown when it goes through.
void confirmed(Session& s, const char* title, qint16 code, const char* question, bool hideProgress)
{
    if (s.drive().motionInProgress)
        return;
    OperationScope scope(s, Activity::PanelCommand);
    s.operations().title = OperationText::tr(title);
    s.link().timeout().set(timeouts::kServoBrake);
    s.showError(QString());
    s.panel().setEnabled(Command::SettingMode, true);
    if (!ask(s, OperationText::tr(question)))
        return;
    const Outcome out = exchange(s, code);
    if (out.noAnswer())
        return reportNoAnswer(s, hideProgress);
    if (out.has("NG"))
        reportRefusal(s, out, hideProgress);
}

// False when the query failed (its box has been shown).
bool queryState(Session& s, const Toggle& t)
{
    if (s.drive().motionInProgress)
        return true;
    s.operations().title = OperationText::tr(t.title);
    s.link().timeout().set(timeouts::kServoBrake);
    const Outcome out = exchange(s, t.query);
    if (out.noAnswer()) {
        reportNoAnswer(s, true);
        return false;
    }
    if (out.has("OK") || out.has("STOP")) {
        captionFromState(s, t, out.reply);
        return true;
    }
    reportRefusal(s, out, true);
    return false;
}

}  // namespace

void ToggleServo(Session& s)
{
    toggle(s, kServo);
}

void ToggleBrake(Session& s)
{
    toggle(s, kBrake);
}

void CancelAlarm(Session& s)
{
    confirmed(s, QT_TRANSLATE_NOOP("Operation", "Canceling alarm"), cmd::ALR,
              QT_TRANSLATE_NOOP("Operation", "Cancel alarm?"), false);
}

void ClearDeviation(Session& s)
{
    confirmed(s, QT_TRANSLATE_NOOP("Operation", "Clearing pulse-deviation"), cmd::CCLR,
              QT_TRANSLATE_NOOP("Operation", "Clear pulse-deviation?"), true);
}

void ShowStateCaption(Session& s, Command button, const QString& reply)
{
    captionFromState(s, toggleOf(button), reply);
}

bool QueryServoState(Session& s)
{
    return queryState(s, kServo);
}

bool QueryBrakeState(Session& s)
{
    return queryState(s, kBrake);
}

}  // namespace kap::operation

#undef OP
