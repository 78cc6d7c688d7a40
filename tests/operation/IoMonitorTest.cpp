// The I/O monitor: the lamps from both "@READ DIO " layouts, what one cycle asks, and the
// pause after a failed cycle.
#include "operation/IoMonitor.h"
#include "OperationRig.h"

using namespace kap;
using namespace kap::test;

namespace {

QString lampsOf(const PanelState& p)
{
    QString out;
    for (int i = 0; i < PanelState::kLampCount; ++i)
        out += p.lamp(i) ? QLatin1Char('1') : QLatin1Char('0');
    return out;
}

}  // namespace

TEST(IoMonitor, LampsFromTheDioReply)
{
    using L = operation::DioLayout;
    // Lamps 0-3, 4-7 (no input of either layout), 8-13 before each reply.
    const QString before = QStringLiteral("0110"
                                          "1111"
                                          "010101");
    const struct {
        const char* name;
        L layout;
        QString reply;
        bool applied;
        QString after;
    } cases[] = {
        // Outputs: "1" on, "0" off, anything else leaves the lamp; inputs: all but "0" on.
        {"long", L::Long,
         "DO:0"
         "1022"
         ",DI:0000"
         "20A010"
         "\r\nOK\r\n",
         true,
         "1010"
         "1111"
         "101010"},
        {"long, shortest", L::Long,
         "DO:0"
         "1111"
         ",DI:0000"
         "111111"
         "\r\n",
         true,
         "1111"
         "1111"
         "111111"},
        {"long, one short", L::Long,
         "DO:0"
         "1111"
         ",DI:0000"
         "111111"
         "\r",
         false, before},
        {"long, not DO", L::Long,
         " DO:0"
         "1111"
         ",DI:0000"
         "111111"
         "\r\n",
         false, before},
        // Anything but "0" lights a lamp; lamp 8 has no input here, whatever stands before lamp 9.
        {"short", L::Short,
         "DO:"
         "2010"
         "\r\nDI:001"
         "0B010"
         "\r\nOK\r\n",
         true,
         "1010"
         "1111"
         "001010"},
        {"short, shortest", L::Short,
         "DO:"
         "1111"
         "\r\nDI:001"
         "11111"
         "\r\n",
         true,
         "1111"
         "1111"
         "011111"},
        {"short, one short", L::Short,
         "DO:"
         "1111"
         "\r\nDI:001"
         "11111"
         "\r",
         false, before},
        {"refusal", L::Short, "NG\r\nE-99 REFUSED\r\nOK\r\n", false, before},
    };
    for (const auto& c : cases) {
        PanelState panel;
        for (int i = 0; i < PanelState::kLampCount; ++i)
            panel.setLamp(i, before[i] == QLatin1Char('1'));
        EXPECT_EQ(operation::applyDioReply(c.reply, c.layout, panel), c.applied) << c.name;
        EXPECT_EQ(lampsOf(panel), c.after) << c.name;
    }
}

TEST(IoMonitor, CycleReadsLampsAngleAndDriveState)
{
    const struct {
        const char* name;
        int family;
        bool shortDio;
        QList<QByteArray> lines;
        QString lamps;
    } cases[] = {
        // Point-input: INPOS and READY on.
        {"point-input", 0, false, lines({"@READ DIO ,\r\n", "@?POS ,\r\n"}),
         "0101"
         "0000"
         "000000"},
        {"previous controller", 0, true, lines({"@READ DIO ,\r\n", "@?POS ,\r\n"}),
         "0101"
         "0000"
         "000000"},
        // Pulse-train: INPOS, ENABLE and READY on, brake released.
        {"pulse-train", 1, false,
         lines({"@READ DIO ,\r\n", "@?POS ,\r\n", "@?SRVO ,\r\n", "@?BRK ,\r\n"}),
         "0111"
         "0000"
         "000000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        sim::Options o = simOptions(c.family);
        o.shortDio = c.shortDio;
        OperationRig r(o);
        r.line.controller.servoOn = false;
        r.enterOperation();
        // Changed behind the panel's back: the cycle brings the panel in line.
        r.line.controller.servoOn = true;
        r.line.controller.position = 45.0;

        operation::MonitorTick(r.session);
        EXPECT_EQ(r.sent(), c.lines);
        EXPECT_EQ(lampsOf(r.panel()), c.lamps);
        EXPECT_EQ(r.panel().currentAngle(), "45.00");
        if (c.family == 1) {
            EXPECT_EQ(r.panel().caption(Command::Servo), "Servo OFF");
        }
        // The cycle is over: the next tick runs another.
        r.line.controller.clearReceived();
        operation::MonitorTick(r.session);
        EXPECT_EQ(r.sent(), c.lines);
    }
}

TEST(IoMonitor, FailedCycleRestsUntilOperationModeIsEnteredAgain)
{
    OperationRig r;
    operation::attach(r.session);
    r.session.ioMonitorTimer().setInterval(20);
    r.enterOperation();
    r.line.controller.arm("@READ DIO ", {sim::Fault::NoReply, {}, 0, true});
    r.dialogs.ok();
    ASSERT_TRUE(waitUntil([&] { return !r.dialogs.boxes.isEmpty(); }, 2000));
    EXPECT_EQ(r.dialogs.boxes[0].text, kLinkError);
    r.view.expectRestored();

    // Ten ticks later: still resting.
    waitUntil([] { return false; }, 200);
    EXPECT_EQ(r.count("@READ DIO ,\r\n"), 1);
    EXPECT_TRUE(r.session.ioMonitorTimer().isActive());

    // Nor does a tick in Setting mode start one, whatever the mark.
    operation::EnterSettingMode(r.session);
    r.session.drive().monitor = MonitorState::Idle;
    operation::MonitorTick(r.session);
    EXPECT_EQ(r.count("@READ DIO ,\r\n"), 1);

    r.line.controller.clearReceived();
    operation::EnterOperationMode(r.session);
    // The entry's own read, then the monitor's.
    EXPECT_TRUE(waitUntil([&] { return r.count("@READ DIO ,\r\n") >= 2; }, 1000));
    EXPECT_EQ(r.dialogs.boxes.size(), 1);
}

TEST(IoMonitor, ALostCycleAfterAMoveIsStillReported)
{
    sim::Options o = simOptions();
    o.originEstablished = true;
    OperationRig r(o);
    operation::attach(r.session);
    r.session.ioMonitorTimer().setInterval(20);
    r.enterOperation();
    r.line.controller.points[3] = {"A", "90.00", "50"};
    r.session.tableGrid().setCurrentRow(3);
    r.dialogs.answer(MsgAnswer::Yes);  // " Do you start?"
    operation::Start(r.session);
    ASSERT_EQ(r.count("@MOVP 3,\r\n"), 1);

    r.line.controller.arm("@READ DIO ", {sim::Fault::NoReply, {}, 0, true});
    r.dialogs.ok();
    ASSERT_TRUE(waitUntil([&] { return r.dialogs.boxes.size() == 2; }, 2000));
    EXPECT_EQ(r.dialogs.boxes[1].text, kLinkError);
    EXPECT_EQ(r.dialogs.boxes[1].title, "I/O monitor");
}
