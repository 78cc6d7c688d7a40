#include "operation/IoMonitor.h"

#include "operation/Drive.h"
#include "operation/OperationSteps.h"
#include "operation/ServoBrake.h"
#include "session/Reactions.h"
#include "session/Session.h"

namespace kap::operation {

void MonitorTick(Session& s)
{
    DriveState& d = s.drive();
    // A tick that falls due while an operation holds the session (its waits and its
    // questions included) is skipped, never nested; the next one after it runs.
    if (d.monitor != MonitorState::Idle || !d.operationMode || !s.operations().idle())
        return;
    d.monitor = MonitorState::Cycling;
    MonitorCycle(s);
}

void MonitorCycle(Session& s)
{
    DriveState& d = s.drive();
    // A cycle that cannot finish keeps the mark: the monitor rests until the next entry.
    const auto rest = [&d] { d.monitor = MonitorState::Paused; };
    if (d.motionInProgress)
        return rest();
    OperationScope scope(s, Activity::Monitor);
    const quint64 generation = s.operations().generation();
    // A user operation begun inside one of the cycle's waits takes over: the cycle drops what
    // it read (it is stale now) and the next tick starts afresh.
    const auto overtaken = [&] {
        if (s.operations().generation() == generation)
            return false;
        if (d.monitor == MonitorState::Cycling)
            d.monitor = MonitorState::Idle;
        return true;
    };
    s.operations().title = OperationText::tr("I/O monitor");
    s.link().timeout().set(timeouts::kMonitor);
    const Outcome out = exchange(s, cmd::READ_DIO);
    // A failure is reported even when a user operation took over meanwhile.
    if (out.noAnswer()) {
        reportNoAnswer(s);
        return rest();
    }
    if (overtaken())
        return;
    if (!out.has("OK") && !out.has("STOP")) {
        s.showError(out.reply);
        ReportRefusal(s, out);
        RestoreWindow(s);
        return rest();
    }
    const bool shortLayout = s.isPointInput() && s.controller().previous;
    applyDioReply(out.reply, shortLayout ? DioLayout::Short : DioLayout::Long, s.panel());
    RefreshCurrentAngle(s);
    if (overtaken())
        return;
    if (!s.isPointInput()) {
        // A refused state query pauses the monitor like a refused poll, so its box is shown
        // once, not on every cycle.
        if (!QueryServoState(s) || overtaken())
            return overtaken() ? void() : rest();
        if (!QueryBrakeState(s) || overtaken())
            return overtaken() ? void() : rest();
    }
    if (d.monitor == MonitorState::Cycling)
        d.monitor = MonitorState::Idle;
}

bool applyDioReply(const QString& reply, DioLayout layout, PanelState& panel)
{
    const bool isShort = layout == DioLayout::Short;
    if (reply.size() <= (isShort ? 21 : 23) || !reply.startsWith(QLatin1String("DO")))
        return false;
    // Positions below are the characters' 0-based indexes in the reply.
    for (int lamp = 0; lamp <= 3; ++lamp) {
        const QChar c = reply.at(lamp + (isShort ? 3 : 4));
        if (isShort)
            panel.setLamp(lamp, c != QLatin1Char('0'));
        else if (c == QLatin1Char('0') || c == QLatin1Char('1'))
            panel.setLamp(lamp, c == QLatin1Char('1'));
    }
    for (int lamp = isShort ? 9 : 8; lamp <= 13; ++lamp)
        panel.setLamp(lamp, reply.at(lamp + (isShort ? 6 : 8)) != QLatin1Char('0'));
    return true;
}

}  // namespace kap::operation
