// Operations that meet: a click, a tick or a late reply during another operation's wait.
// Each case is a way two of them used to get in each other's way.
#include "OperationRig.h"
#include "data/PointTable.h"
#include "files/SettingCommands.h"
#include "link/ProgramState.h"
#include "operation/IoMonitor.h"

#include <QTimer>

#include <vector>

using namespace kap;
using namespace kap::test;
using C = Command;
using Kind = sim::Fault::Kind;

namespace {

void later(OperationRig& r, int ms, std::function<void()> fn)
{
    QTimer::singleShot(ms, &r.session, std::move(fn));
}

void teach(OperationRig& r, int option)
{
    operation::ChooseInputMode(r.session, option);
    waitUntil([&r] { return r.session.teachingState().loop == TeachingLoop::Off; }, 4000);
}

// A closing view: the window's close runs the closing steps, as the real window's does.
struct ClosingView : FakeView {
    std::function<void()> onClose;
    void closeWindow() override
    {
        FakeView::closeWindow();
        if (onClose)
            onClose();
    }
};

struct Case {
    const char* name;
    int family;
    std::function<void(sim::Options&)> options;
    // Runs the scenario; returns what is wrong, empty when all is well.
    std::function<QString(OperationRig&)> run;
};

QString expect(bool ok, const QString& what)
{
    return ok ? QString() : what;
}

// Point-input Operation mode with the origin not yet established.
void originUnknown(sim::Options& o)
{
    o.originEstablished = false;
}

void run(const std::vector<Case>& cases)
{
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim::Options o = simOptions(c.family, 80);
        if (c.options)
            c.options(o);
        OperationRig r(o);
        r.line.controller.points[0] = {"A", "90.00", "50"};
        operation::attach(r.session);
        MotionWatch watch(r.session);
        const QString wrong = c.run(r);
        if (!wrong.isEmpty())  // what went over the line, to see why
            std::printf("%s\n", qPrintable(r.session.link().log().lines().join('\n')));
        EXPECT_TRUE(wrong.isEmpty()) << wrong.toStdString();
        EXPECT_TRUE(watch.breaches.isEmpty()) << watch.breaches.join("; ").toStdString();
        r.session.ioMonitorTimer().stop();
        r.session.teachingTimer().stop();
    }
}

}  // namespace

TEST(Overlap, DrivePanelOperationsKeepTheirOwnState)
{
    run({
        {"Setting pressed during Start's return to origin", 0, originUnknown,
         [](OperationRig& r) {
             r.enterOperation();
             bool offered = true;
             r.whenReceived("@ORG ", [&] {
                 offered = commandOffered(r.session, C::SettingMode);
                 // Even forced past the disabled button, Setting stops the start from moving.
                 later(r, 10, [&] { operation::EnterSettingMode(r.session); });
             });
             r.dialogs.answer(MsgAnswer::Yes).answer(MsgAnswer::Yes);
             operation::Start(r.session);
             return expect(!offered && r.count("@MOVP 0,\r\n") == 0 && r.count("@?P 0,\r\n") == 0,
                           "Setting was offered, or the start moved in Setting mode");
         }},
        {"Setting and Stop during a confirmed point move", 0,
         [](sim::Options& o) { o.originEstablished = true; },
         [](OperationRig& r) {
             r.enterOperation();
             bool setting = true, stop = false;
             r.whenReceived("@MOVP ", [&] {
                 setting = commandOffered(r.session, C::SettingMode);
                 stop = commandOffered(r.session, C::Stop);
             });
             r.dialogs.answer(MsgAnswer::Yes);
             operation::Start(r.session);
             return expect(!setting && stop, "Setting offered or Stop taken away mid-move");
         }},
        {"Stop while the point query waits", 0,
         [](sim::Options& o) {
             o.originEstablished = true;
             o.latencyMs = 60;
         },
         [](OperationRig& r) {
             r.enterOperation();
             r.whenReceived("@?P ", [&] { later(r, 5, [&] { click(r.session, C::Stop); }); });
             r.dialogs.answer(MsgAnswer::Yes);
             operation::Start(r.session);
             return expect(r.count("@MOVP 0,\r\n") == 0 && r.count("\x03") == 1
                               && r.panel().enabled(C::Start),
                           "the move went out after Stop");
         }},
        {"a Stop with nothing moving leaves no silence behind",
         0,
         {},
         [](OperationRig& r) {
             r.enterOperation();
             operation::Stop(r.session);
             r.line.controller.arm("@READ DIO ", {Kind::NoReply, {}, 0});
             r.dialogs.ok();
             operation::MonitorTick(r.session);
             return expect(boxes(r.dialogs) == QStringList{"I/O monitor|" + kLinkError},
                           "monitor failure: " + boxes(r.dialogs).join(" / "));
         }},
        {"an unanswered return leaves no silence behind",
         0,
         {},
         [](OperationRig& r) {
             r.enterOperation();
             r.session.setTimeScale(0.01);  // the return's 30 s
             r.line.controller.arm("@ORG ", {Kind::NoReply, {}, 0, true});
             r.line.controller.arm("@READ DIO ", {Kind::NoReply, {}, 0});
             r.dialogs.answer(MsgAnswer::Yes).ok().ok();
             operation::Org(r.session);
             r.session.drive().monitor = MonitorState::Idle;
             operation::MonitorTick(r.session);
             return expect(boxes(r.dialogs).endsWith("I/O monitor|" + kLinkError),
                           "monitor failure: " + boxes(r.dialogs).join(" / "));
         }},
        {"a monitor tick during Start's question", 0, originUnknown,
         [](OperationRig& r) {
             r.enterOperation();
             r.session.ioMonitorTimer().setInterval(20);
             int dioInBox = 0;
             r.dialogs.onBox = [&] {
                 const qsizetype before = r.count("@READ DIO ,\r\n");
                 waitUntil([] { return false; }, 100);  // ticks fall due meanwhile
                 dioInBox += int(r.count("@READ DIO ,\r\n") - before);
             };
             float queryTimeout = 0;
             r.whenReceived("@?P ", [&] { queryTimeout = r.session.link().timeout().ms(); });
             r.dialogs.answer(MsgAnswer::No).answer(MsgAnswer::Yes);
             operation::Start(r.session);
             return expect(dioInBox == 0 && queryTimeout == 22000.0f,
                           QStringLiteral("%1 polls inside the boxes, point query with %2 ms")
                               .arg(dioInBox)
                               .arg(queryTimeout));
         }},
        {"a move whose stop character is lost", 0,
         [](sim::Options& o) {
             o.originEstablished = true;
             o.motionMs = 1500;
         },
         [](OperationRig& r) {
             r.enterOperation();
             r.line.controller.arm("\x03", {Kind::NoReply, {}, 0, true});
             r.whenReceived("@MOVP ", [&] { later(r, 30, [&] { click(r.session, C::Stop); }); });
             r.dialogs.answer(MsgAnswer::Yes).ok();
             operation::Start(r.session);
             return expect(boxes(r.dialogs).contains("Stop|" + kLinkError) && r.count("\x03") == 1,
                           "boxes " + boxes(r.dialogs).join(" / ") + ", at "
                               + QString::number(r.line.controller.position));
         }},
        {"Exit during a move", 0, [](sim::Options& o) { o.originEstablished = true; },
         [](OperationRig& r) {
             ClosingView view;
             SettingCommands commands(r.session);
             view.onClose = [&] { commands.closing(); };
             r.session.setView(&view);
             r.enterOperation();
             r.whenReceived("@MOVP ", [&] { later(r, 20, [&] { commands.exit(); }); });
             r.dialogs.answer(MsgAnswer::Yes);
             operation::Start(r.session);
             const QList<QByteArray> sent = r.sent();
             const qsizetype stop = sent.indexOf("\x03");
             r.session.setView(&r.view);
             return expect(r.count("\x03") == 1 && stop == sent.size() - 1,
                           "after Exit: " + visibleControls(QString::fromLatin1(sent.join(' '))));
         }},
        {"a refused state query shows one box, not one a cycle",
         1,
         {},
         [](OperationRig& r) {
             r.enterOperation();
             r.line.controller.arm("@?SRVO ", {Kind::Refuse, "E-04 BUSY", 0});
             r.session.ioMonitorTimer().setInterval(20);
             r.dialogs.ok(5);
             waitUntil([] { return false; }, 400);
             return expect(r.dialogs.boxes.size() == 1,
                           QStringLiteral("%1 boxes").arg(r.dialogs.boxes.size()));
         }},
        {"a refused stop leaves Org and Stop offered",
         1,
         {},
         [](OperationRig& r) {
             r.enterOperation();
             r.line.controller.arm("\x03", {Kind::Refuse, "E-04 BUSY", 0});
             r.dialogs.ok(2);
             r.session.ioMonitorTimer().stop();
             operation::Stop(r.session);
             return expect(r.panel().enabled(C::ReturnToOrigin) && r.panel().enabled(C::Stop),
                           "Org or Stop left disabled");
         }},
    });
}

TEST(Overlap, TeachingOperationsKeepTheirOwnState)
{
    run({
        {"held jog released before its command is answered", 0,
         // The held answer comes after the release, within the stop's own time-out (300 ms,
         // a tenth of it here), which is how long the held command may still wait.
         [](sim::Options& o) { o.heldReplyDelayMs = 25; },
         [](OperationRig& r) {
             r.dialogs.answer(MsgAnswer::Yes);
             r.whenReceived("@XINC ",
                            [&] { later(r, 2, [&] { operation::ReleaseJog(r.session); }); });
             int readOuts = 0;
             r.whenReceived("@?PRM ", [&] {
                 if (++readOuts == 2)
                     later(r, 30, [&] { operation::PressJog(r.session, true); });
             });
             r.whenReceived(
                 "\x03", [&] { later(r, 300, [&] { operation::ChooseInputMode(r.session, 0); }); });
             teach(r, 2);
             const QString shown = QString::number(r.line.controller.position, 'f', 2);
             return expect(!r.line.controller.moving() && r.panel().currentAngle() == shown
                               && r.view.error.startsWith("STOP"),
                           "angle " + r.panel().currentAngle() + " for " + shown + ", error "
                               + visibleControls(r.view.error));
         }},
        {"held jog whose command's answer is cut",
         0,
         {},
         [](OperationRig& r) {
             r.line.controller.arm("@XINC ", {Kind::CutReply, {}, 1, true});
             r.dialogs.answer(MsgAnswer::Yes).ok();  // the cut answer is a line fault
             int readOuts = 0;
             r.whenReceived("@?PRM ", [&] {
                 if (++readOuts == 2)
                     later(r, 30, [&] { operation::PressJog(r.session, true); });
             });
             qint64 releasedAt = -1, stoppedAt = -1;
             r.whenReceived("@XINC ", [&] {
                 later(r, 50, [&] {
                     releasedAt = r.clock.elapsed();
                     operation::ReleaseJog(r.session);
                 });
             });
             r.whenReceived("\x03", [&] {
                 stoppedAt = r.clock.elapsed();
                 later(r, 100, [&] { operation::ChooseInputMode(r.session, 0); });
             });
             teach(r, 2);
             // The held command may wait only the stop's time-out more (30 ms here), not 2 s.
             return expect(stoppedAt >= 0 && stoppedAt - releasedAt < 500
                               && !r.line.controller.moving()
                               && boxes(r.dialogs).endsWith("JOG|" + kLinkError),
                           QStringLiteral("the stop went out %1 ms after the release")
                               .arg(stoppedAt - releasedAt));
         }},
        {"held jog whose stop is not answered",
         0,
         {},
         [](OperationRig& r) {
             r.line.controller.arm("\x03", {Kind::NoReply, {}, 0, true});
             r.dialogs.answer(MsgAnswer::Yes).ok();
             int readOuts = 0;
             r.whenReceived("@?PRM ", [&] {
                 if (++readOuts == 2)
                     later(r, 30, [&] { operation::PressJog(r.session, false); });
             });
             r.whenReceived("@XDEC ",
                            [&] { later(r, 60, [&] { operation::ReleaseJog(r.session); }); });
             qsizetype breaks = 0;  // before Numeric Input, which would stop it too
             r.whenReceived("\x03", [&] {
                 later(r, 400, [&] {
                     breaks = r.count("\x03");
                     operation::ChooseInputMode(r.session, 0);
                 });
             });
             teach(r, 2);
             return expect(boxes(r.dialogs).contains("JOG|" + kLinkError) && breaks == 2
                               && r.count("\x03") == 2 && !r.line.controller.moving(),
                           "boxes " + boxes(r.dialogs).join(" / ") + ", breaks "
                               + QString::number(r.count("\x03")));
         }},
        {"a teaching session leaves no silence behind",
         0,
         {},
         [](OperationRig& r) {
             r.dialogs.answer(MsgAnswer::Yes);
             int readOuts = 0;
             r.whenReceived("@?PRM ", [&] {
                 if (++readOuts == 2)
                     later(r, 30, [&] { operation::ChooseInputMode(r.session, 0); });
             });
             teach(r, 2);
             // A virtual-origin write to a controller that has gone silent.
             r.line.controller.arm("@WRITE PRM ", {Kind::NoReply, {}, 0});
             r.session.teachingState().target = TeachingTarget::OriginShift;
             r.panel().setSettingPosition("1.00");
             r.dialogs.answer(MsgAnswer::Yes).ok();
             operation::Set(r.session);
             return expect(boxes(r.dialogs).contains("Parameter|" + kLinkError),
                           "no box for the unanswered write: " + boxes(r.dialogs).join(" / "));
         }},
        {"a lost port ends direct teaching with a box",
         0,
         {},
         [](OperationRig& r) {
             r.dialogs.answer(MsgAnswer::Yes).answer(MsgAnswer::Yes).ok();
             // The port goes between two passes, so the last exchange before it went well.
             int queries = 0;
             r.whenReceived("@?PRM ", [&] {
                 if (++queries == 5)
                     later(r, 5, [&] { r.line.server.stop(); });
             });
             teach(r, 1);
             return expect(r.session.teachingState().loop == TeachingLoop::Off
                               && boxes(r.dialogs).last().endsWith(kLinkError),
                           "loop still running or silent: " + boxes(r.dialogs).join(" / "));
         }},
        {"SET inside a refresh's wait", 0, [](sim::Options& o) { o.latencyMs = 60; },
         [](OperationRig& r) {
             r.line.controller.position = 30.0;
             r.session.teachingState().inputMode = 2;
             r.session.teachingState().target = TeachingTarget::Position;
             r.whenReceived("@?POS ", [&] {
                 later(r, 5, [&] {
                     r.panel().setSettingPosition("45");
                     operation::Set(r.session);
                 });
             });
             operation::RefreshCurrentAngle(r.session);
             waitUntil([&] { return !r.session.link().waitingCommand(); }, 1000);
             return expect(r.panel().settingPosition() == "45.00"
                               && r.session.tableGrid().text(0, PointTable::PositionColumn)
                                      == "45.00",
                           "SET's value overwritten: " + r.panel().settingPosition());
         }},
        {"the refresh after the teaching start's return is judged",
         0,
         {},
         [](OperationRig& r) {
             r.line.controller.arm("@?POS ", {Kind::Refuse, "E-04 BUSY", 0, true});
             r.dialogs.answer(MsgAnswer::Yes).ok();
             teach(r, 1);
             return expect(r.count("@SRVO 0,\r\n") == 0, "went on to switch the motor off");
         }},
    });
}
