#include "IoMonitor.h"

#include "Drive.h"
#include "OperationSteps.h"
#include "Reactions.h"
#include "ServoBrake.h"
#include "Session.h"

namespace kap::operation {

void MonitorTick(Session& s)
{
    SessionFlags& f = s.flags();
    if (f.monitor != MonitorState::Idle || !f.operationMode)
        return;
    f.monitor = MonitorState::Cycling;
    MonitorCycle(s);
}

void MonitorCycle(Session& s)
{
    SessionFlags& f = s.flags();
    // A cycle that cannot finish keeps the mark: the monitor rests until the next entry.
    const auto pause = [&f] { f.monitor = MonitorState::Paused; };
    if (f.motionInProgress)
        return pause();
    f.operationTitle = OperationText::tr("I/O monitor");
    s.link().timeout().set(timeouts::kMonitor);
    s.panel().setEnabled(Command::SettingMode, true);
    const Outcome out = exchange(s, cmd::READ_DIO);
    if (timedOut(out)) {
        reportNoAnswer(s);
        return pause();
    }
    if (!has(out, "OK") && !has(out, "STOP")) {
        s.showError(out.reply);
        ReportRefusal(s, out);
        RestoreWindow(s);
        return pause();
    }
    const bool shortLayout = s.isPointInput() && s.controller().previous;
    applyDioReply(out.reply, shortLayout ? DioLayout::Short : DioLayout::Long, s.panel());
    RefreshCurrentAngle(s);
    if (!s.isPointInput()) {
        QueryServoState(s);
        QueryBrakeState(s);
    }
    f.monitor = MonitorState::Idle;
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
