// The drive panel against the simulated controller: the two modes, Start, Stop and Org, the
// return to origin with its STOP dialog, the current-angle refresh and a line lost mid-move.
#include "operation/Drive.h"
#include "OperationRig.h"
#include "data/ParameterTable.h"
#include "link/ProgramState.h"
#include "operation/IoMonitor.h"
#include "session/Commands.h"

#include <QTimer>

using namespace kap;
using namespace kap::test;
using C = Command;
using Kind = sim::Fault::Kind;

namespace {

const QString kOriginQuestion =
    QStringLiteral("Return to origin? Please push stop switch if you stop operating.");
const QList<C> kDriveButtons = {C::ReturnToOrigin, C::Start, C::Stop,        C::Servo,
                                C::ClearDeviation, C::Brake, C::CancelAlarm, C::Positioning};

// Every button's enable state and shade, and the frames: what the window shows of the panel.
QString look(const PanelState& p)
{
    QStringList parts;
    for (C c : allCommands())
        parts << QStringLiteral("%1 %2 %3")
                     .arg(commandName(c))
                     .arg(p.enabled(c))
                     .arg(int(p.shade(c)));
    for (PanelFrame f :
         {PanelFrame::Setup, PanelFrame::Parameters, PanelFrame::Drive, PanelFrame::View})
        parts << QString::number(p.frameEnabled(f));
    return parts.join(QStringLiteral(", "));
}

// Org, Start and Stop as the user sees them during an exchange.
QString driveButtons(const PanelState& p)
{
    return QStringLiteral("org %1 start %2 stop %3 %4")
        .arg(p.enabled(C::ReturnToOrigin))
        .arg(p.enabled(C::Start))
        .arg(p.enabled(C::Stop))
        .arg(p.shade(C::Stop) == Shade::LightPink ? "pink" : "");
}

}  // namespace

TEST(OperationMode, EntryReadsTheControllerAndOffersTheDriveButtons)
{
    const QList<QByteArray> point = lines({"@?PRM 35,\r\n", "@READ DIO ,\r\n"});
    const QList<QByteArray> pulse = lines({"@?PRM 35,\r\n", "@?SRVO ,\r\n", "@?BRK ,\r\n"});
    const QList<C> pointButtons = {C::ReturnToOrigin, C::Start, C::Stop};
    const QList<C> pulseButtons = {C::ReturnToOrigin, C::Start,       C::Servo,      C::Brake,
                                   C::ClearDeviation, C::CancelAlarm, C::Positioning};
    const struct {
        const char* name;
        int family;
        bool shortDio, servoOn, brakeOn;
        QList<QByteArray> lines;
        QList<C> offered;
        const char *servo, *brake;  // captions after the entry
    } cases[] = {
        {"point-input", 0, false, true, false, point, pointButtons, "", ""},
        {"previous controller", 0, true, true, false, point, pointButtons, "", ""},
        // Both captions differ from the ones the window opens with.
        {"pulse-train", 1, false, true, false, pulse, pulseButtons, "Servo OFF", "Brake ON"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        sim::Options o = simOptions(c.family);
        o.shortDio = c.shortDio;
        OperationRig r(o);
        r.line.controller.params[35] = "-150";
        r.line.controller.servoOn = c.servoOn;
        r.line.controller.brakeOn = c.brakeOn;
        r.panel().setSettingPosition("12.00");

        operation::EnterOperationMode(r.session);
        EXPECT_EQ(r.sent(), c.lines);
        for (C b : kDriveButtons)
            EXPECT_EQ(r.panel().enabled(b), c.offered.contains(b)) << commandName(b);
        EXPECT_EQ(r.panel().shade(C::OperationMode), Shade::Magenta);
        EXPECT_EQ(r.panel().shade(C::SettingMode), Shade::LightGrey);
        EXPECT_EQ(r.panel().settingPosition(), "0.00");
        EXPECT_EQ(r.session.controller().previous, c.shortDio);
        if (c.family == 0) {
            const int row = r.session.parameters().rowOfPrm(35).value();
            EXPECT_EQ(r.session.parameterGrid().text(row, kValueColumn), "-150");
            EXPECT_EQ(r.view.originShift, "-150");
        } else {
            EXPECT_EQ(r.panel().caption(C::Servo), c.servo);
            EXPECT_EQ(r.panel().caption(C::Brake), c.brake);
        }

        // The I/O monitor's next tick runs a cycle, and nothing of the entry keeps a lost
        // line in it quiet.
        r.line.controller.clearReceived();
        r.line.controller.arm("@READ DIO ", {Kind::NoReply, {}, 0});
        r.dialogs.ok();
        operation::MonitorTick(r.session);
        EXPECT_EQ(r.count("@READ DIO ,\r\n"), 1);
        EXPECT_EQ(boxes(r.dialogs).filter(kLinkError).size(), 1);

        // "Operation" pressed again: already there.
        r.line.controller.clearFaults();
        r.line.controller.clearReceived();
        operation::EnterOperationMode(r.session);
        EXPECT_TRUE(r.sent().isEmpty());
    }
}

TEST(OperationMode, FailedEntryLeavesTheDriveButtonsOff)
{
    const struct {
        const char* name;
        const char* word;
        sim::Fault fault;
        bool backToSetting;
    } cases[] = {
        {"shift query unanswered", "@?PRM ", {Kind::NoReply, {}, 0}, false},
        {"DIO read unanswered", "@READ DIO ", {Kind::NoReply, {}, 0}, false},
        {"shift query refused", "@?PRM ", {Kind::Refuse, "E-03 VALUE ERROR", 0}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        OperationRig r;
        r.line.controller.arm(c.word, c.fault);
        QString errorWithBox;
        r.dialogs.onBox = [&] { errorWithBox = r.view.error; };
        r.dialogs.ok();

        operation::EnterOperationMode(r.session);
        EXPECT_EQ(boxes(r.dialogs), QStringList{"Drive|" + kLinkError});
        for (C b : {C::ReturnToOrigin, C::Start, C::Stop})
            EXPECT_FALSE(r.panel().enabled(b)) << commandName(b);
        EXPECT_TRUE(r.view.windowEnabled);
        if (c.backToSetting) {
            EXPECT_EQ(errorWithBox, "NG\r\nE-03 VALUE ERROR\r\n");
            // Setting mode's silence ends with the operation that entered it.
            EXPECT_FALSE(r.session.silence().settingMode);
            EXPECT_EQ(r.panel().shade(C::SettingMode), Shade::Green);
            EXPECT_TRUE(r.panel().frameEnabled(PanelFrame::Setup));
        }
        // Not in Operation mode: pressing Operation again reads the controller again.
        r.line.controller.clearFaults();
        r.line.controller.clearReceived();
        operation::EnterOperationMode(r.session);
        EXPECT_EQ(r.count("@?PRM 35,\r\n"), 1);
    }
}

TEST(SettingMode, LooksLikeTheOpenedPanelAgain)
{
    for (int family : {0, 1}) {
        SCOPED_TRACE(family);
        OperationRig r(simOptions(family));
        const QString opened = look(r.panel());
        r.enterOperation();
        for (int i = 0; i < PanelState::kLampCount; ++i)
            r.panel().setLamp(i, true);
        r.session.silence().motion = true;

        operation::EnterSettingMode(r.session);
        EXPECT_EQ(look(r.panel()), opened);
        for (int i = 0; i < PanelState::kLampCount; ++i)
            EXPECT_EQ(r.panel().lamp(i), i >= 4 && i <= 7) << "lamp " << i;
        EXPECT_FALSE(r.session.ioMonitorTimer().isActive());
        EXPECT_FALSE(r.session.silence().settingMode);  // no silence outlives the entry
        EXPECT_EQ(r.panel().shade(C::SettingMode), Shade::Green);
        EXPECT_FALSE(r.session.silence().motion);
        EXPECT_FALSE(r.view.commandsLocked);
    }
}

TEST(Start, AsksForTheOriginThenMovesToTheSelectedPoint)
{
    const QString start = QStringLiteral("Start| Do you start?");
    const QString origin = "Return to origin|" + kOriginQuestion;
    const QString refused = QStringLiteral("Error|Cannot receive data from controller.");
    const QList<QByteArray> move = lines({"@?P 3,\r\n", "@MOVP 3,\r\n", "@?POS ,\r\n"});
    const QList<QByteArray> query = lines({"@?ORG ,\r\n"});
    const auto yes = MsgAnswer::Yes, no = MsgAnswer::No, ok = MsgAnswer::Ok;
    const struct {
        const char* name;
        bool originEstablished, originRequired;
        QList<MsgAnswer> answers;
        QStringList boxes;
        QList<QByteArray> lines;
        double angle;  // after
    } cases[] = {
        {"origin established", true, false, {yes}, {start}, query + move, 90.0},
        {"return to origin first",
         false,
         false,
         {yes, yes},
         {origin, start},
         query + lines({"@ORG ,\r\n", "@?POS ,\r\n"}) + move,
         90.0},
        {"return declined", false, false, {no, yes}, {origin, start}, query + move, 90.0},
        {"start declined", true, false, {no}, {start}, query, 0.0},
        {"move refused", false, true, {no, yes, ok}, {origin, start, refused}, query + move, 0.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        sim::Options o = simOptions();
        o.originEstablished = c.originEstablished;
        o.originRequired = c.originRequired;
        OperationRig r(o);
        r.line.controller.points[3] = {"A", "90.00", "50"};
        r.session.tableGrid().setCurrentRow(3);
        r.enterOperation();
        for (MsgAnswer a : c.answers)
            r.dialogs.answer(a);
        QString duringMove;
        r.whenReceived("@MOVP ", [&] { duringMove = driveButtons(r.panel()); });

        operation::Start(r.session);
        EXPECT_EQ(boxes(r.dialogs), c.boxes);
        EXPECT_EQ(r.sent(), c.lines);
        EXPECT_EQ(r.line.controller.position, c.angle);
        if (c.lines.contains("@MOVP 3,\r\n")) {
            EXPECT_EQ(duringMove, "org 0 start 0 stop 1 pink");
            EXPECT_EQ(r.panel().currentAngle(), QString::number(c.angle, 'f', 2));
        }
        for (C b : {C::ReturnToOrigin, C::Start, C::Stop})
            EXPECT_TRUE(r.panel().enabled(b)) << commandName(b);
        EXPECT_EQ(r.panel().shade(C::Stop), Shade::ButtonFace);
        EXPECT_FALSE(r.session.silence().stopPressed);
        EXPECT_TRUE(r.session.ioMonitorTimer().isActive());
    }
}

TEST(Stop, WithoutMotionSendsTheStopCharacter)
{
    const struct {
        float before, after;  // the time-out in force; 9999 is left by a jog release
    } cases[] = {{3000.0f, 1500.0f}, {9999.0f, 300.0f}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.before);
        OperationRig r;
        r.enterOperation();
        r.session.setTimeScale(1.0);  // the controller answers at once; 30 ms would be tight
        r.session.link().timeout().set(c.before);
        QString meanwhile;
        r.whenReceived("\x03", [&] { meanwhile = driveButtons(r.panel()); });

        operation::Stop(r.session);
        EXPECT_EQ(r.sent(), lines({"\x03"}));
        EXPECT_FLOAT_EQ(r.session.link().timeout().ms(), c.after);
        EXPECT_EQ(meanwhile, "org 1 start 1 stop 0 ");
        EXPECT_FALSE(r.session.silence().stopPressed);  // nothing was stopped: nothing stays quiet
        EXPECT_TRUE(r.dialogs.boxes.isEmpty());
    }
}

// The stop character must not queue behind the motion it is to stop.
TEST(Stop, BreaksARunningMotionAtOnce)
{
    const auto returnWithDialog = [](Session& s) { operation::ReturnToOrigin(s, true); };
    const struct {
        const char* name;
        const char* word;
        double from;
        std::function<void(Session&)> run, stop;
        int questions;
    } cases[] = {
        {"Stop during a point move", "@MOVP ", 0.0, operation::Start, operation::Stop, 1},
        {"Stop during Org", "@ORG ", 90.0, operation::Org, operation::Stop, 1},
        {"STOP dialog", "@ORG ", 90.0, returnWithDialog, operation::PressStopDialog, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        sim::Options o = simOptions(0, 3000);
        o.originEstablished = true;
        OperationRig r(o);
        r.line.controller.points[0] = {"A", "90.00", "50"};
        r.line.controller.position = c.from;
        r.enterOperation();
        if (c.questions)
            r.dialogs.answer(MsgAnswer::Yes);
        qint64 moveAt = 0, stopAt = 0;
        r.timeArrival(c.word, moveAt);
        r.timeArrival("\x03", stopAt);
        bool dialogShown = false;
        r.whenReceived(c.word, [&] {
            dialogShown = r.panel().stopDialogShown();
            QTimer::singleShot(100, [&] { c.stop(r.session); });
        });

        c.run(r.session);
        EXPECT_EQ(r.count("\x03"), 1);
        EXPECT_GE(moveAt, 0);
        EXPECT_LT(stopAt - moveAt, 600);
        EXPECT_LT(r.clock.elapsed(), 1500);
        EXPECT_GT(r.line.controller.position, 0.0);
        EXPECT_LT(r.line.controller.position, 90.0);
        EXPECT_TRUE(r.view.error.startsWith("STOP")) << r.view.error.toStdString();
        EXPECT_EQ(r.dialogs.boxes.size(), c.questions);  // none for the stop
        EXPECT_EQ(dialogShown, c.questions == 0);
        EXPECT_FALSE(r.panel().stopDialogShown());
        EXPECT_TRUE(r.panel().enabled(C::Start));
    }
}

TEST(Org, AsksBeforeReturningToOrigin)
{
    const QList<QByteArray> ret = lines({"@ORG ,\r\n", "@?POS ,\r\n"});
    const struct {
        const char* name;
        int family;
        bool moving;
        MsgAnswer answer;
        const char* title;  // null: no question
        QList<QByteArray> lines;
    } cases[] = {
        {"point-input, yes", 0, false, MsgAnswer::Yes, "Org", ret},
        {"point-input, no", 0, false, MsgAnswer::No, "Org", {}},
        {"pulse-train, yes", 1, false, MsgAnswer::Yes, "Return to origin", ret},
        {"while a motion runs", 0, true, MsgAnswer::Yes, nullptr, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        OperationRig r(simOptions(c.family));
        r.line.controller.position = 45.0;
        r.enterOperation();
        r.session.drive().motionInProgress = c.moving;
        if (c.title)
            r.dialogs.answer(c.answer);
        bool stopOffered = false;
        r.whenReceived("@ORG ", [&] {
            stopOffered = r.panel().enabled(C::Stop) && r.panel().shade(C::Stop) == Shade::Pink;
        });

        operation::Org(r.session);
        const QString question = c.title + ("|" + kOriginQuestion);
        EXPECT_EQ(boxes(r.dialogs), c.title ? QStringList{question} : QStringList{});
        EXPECT_EQ(r.sent(), c.lines);
        EXPECT_EQ(r.line.controller.originDone, !c.lines.isEmpty());
        EXPECT_EQ(stopOffered, c.family == 1);  // the pulse-train window's Stop, while it runs
        EXPECT_EQ(r.panel().currentAngle(), c.lines.isEmpty() ? "" : "0.00");
    }
}

// A lost or silent line ends the procedure with the communication box, the window usable.
TEST(LostLine, EndsTheProcedureAndLeavesTheWindowUsable)
{
    const struct {
        const char* name;
        std::function<void(OperationRig&)> run;
        const char* title;
        double timeScale;
    } cases[] = {
        {"line closed as the point move ends",
         [](OperationRig& r) {
             r.line.controller.arm("@MOVP ", {Kind::HangupMidReply, {}, 0});
             r.dialogs.answer(MsgAnswer::Yes).ok();
             operation::Start(r.session);
         },
         "Point", kTimeScale},
        {"simulator gone during Org",
         [](OperationRig& r) {
             r.whenReceived("@ORG ",
                            [&r] { QTimer::singleShot(50, [&r] { r.line.server.stop(); }); });
             r.dialogs.answer(MsgAnswer::Yes).ok();
             operation::Org(r.session);
         },
         "Org", kTimeScale},
        {"return unanswered",
         [](OperationRig& r) {
             r.line.controller.arm("@ORG ", {Kind::NoReply, {}, 0});
             r.dialogs.ok();
             operation::ReturnToOrigin(r.session, false);
             EXPECT_FALSE(r.session.silence().settingMode);  // the return's silence ended with it
         },
         "Org", 0.02},
        {"angle unanswered",
         [](OperationRig& r) {
             r.line.controller.arm("@?POS ", {Kind::NoReply, {}, 0});
             r.dialogs.ok();
             EXPECT_EQ(operation::RefreshCurrentAngle(r.session), std::nullopt);
         },
         "Receive the current value", kTimeScale},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        sim::Options o = simOptions(0, 400);
        o.originEstablished = true;
        OperationRig r(o);
        r.line.controller.points[0] = {"A", "90.00", "50"};
        r.enterOperation();
        r.session.setTimeScale(c.timeScale);
        r.clock.restart();

        c.run(r);
        EXPECT_LT(r.clock.elapsed(), 2000);
        EXPECT_EQ(boxes(r.dialogs).filter(kLinkError), QStringList{c.title + ("|" + kLinkError)});
        r.view.expectRestored();
        // No motion is left marked as running: Org asks its question again.
        r.dialogs.answer(MsgAnswer::No);
        operation::Org(r.session);
        EXPECT_EQ(boxes(r.dialogs).last(), "Org|" + kOriginQuestion);
    }
}

TEST(CurrentAngle, ShowsTheAngleAndGivesTheTeachingValue)
{
    using Style = sim::Options::PositionStyle;
    const struct {
        Style style;
        double position;
        const char *shown, *teaching;
    } cases[] = {
        {Style::Plain, -12.5, "-12.50", "-12.50"},
        {Style::Question, -12.5, "0.00", "-12.50"},
        {Style::QuestionSigned, -12.5, "0.00", "-12.50"},
        {Style::SignByte, 12.5, "0.00", "12.50"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.style));
        sim::Options o = simOptions();
        o.positionStyle = c.style;
        OperationRig r(o);
        r.line.controller.position = c.position;
        QStringList taught;
        r.session.setTeachingUpdate([&](const QString& v) { taught << v; });

        EXPECT_EQ(operation::RefreshCurrentAngle(r.session), c.teaching);
        EXPECT_EQ(r.panel().currentAngle(), c.shown);
        EXPECT_EQ(taught, QStringList{c.teaching});

        // Operation mode shows the angle but teaches nothing.
        r.enterOperation();
        r.panel().setCurrentAngle({});
        EXPECT_EQ(operation::RefreshCurrentAngle(r.session), c.teaching);
        EXPECT_EQ(r.panel().currentAngle(), c.shown);
        EXPECT_EQ(taught.size(), 1);
    }
}

TEST(CurrentAngle, ReadingAPositionReply)
{
    const struct {
        QString reply;
        const char *shown, *teaching;
    } cases[] = {
        {"12.5\r\nOK\r\n", "12.50", "12.5"},
        {"  -3\r\nOK\r\n", "-3.00", "  -3"},
        {".5\r\nOK\r\n", "0.50", ".5"},
        {"?12.50\r\nOK\r\n", "0.00", "-12.50"},
        {"?-12.50\r\nOK\r\n", "0.00", "-12.50"},
        {QChar(0xA5) + QStringLiteral("12.50\r\nOK\r\n"), "0.00", "12.50"},
        {QChar(0xFF65) + QStringLiteral("-7.00\r\nOK\r\n"), "0.00", "-7.00"},
        {"STOP\r\nSTOPPED\r\n", "0.00", "STOP"},
        {"", "0.00", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(operation::shownAngle(c.reply), c.shown) << c.reply.toStdString();
        EXPECT_EQ(operation::teachingValueOf(c.reply), c.teaching) << c.reply.toStdString();
    }
}
