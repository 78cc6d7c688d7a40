// Faults armed on the simulated controller, as the tool meets them on the line.
#include "SimTestSupport.h"

#include <gtest/gtest.h>

using simtest::command;
using simtest::Wire;

namespace {

sim::Fault fault(sim::Fault::Kind kind, QByteArray data = {}, int count = 0, bool once = false)
{
    sim::Fault f;
    f.kind = kind;
    f.data = std::move(data);
    f.count = count;
    f.once = once;
    return f;
}

struct FaultCase {
    const char* name;
    QByteArray word;
    sim::Fault fault;
    QByteArray line;
    QByteArray reply;  // what the line gets while the fault is armed
};

class ArmedFault : public ::testing::TestWithParam<FaultCase> {};

TEST_P(ArmedFault, ShapesTheReply)
{
    const FaultCase& c = GetParam();
    sim::Options o;
    o.motionMs = 10;
    sim::Controller controller(o);
    controller.arm(c.word, c.fault);
    Wire wire(controller);
    EXPECT_EQ(wire.exchangeSilent(c.line, 100), c.reply);
    EXPECT_EQ(wire.hangups, c.fault.kind == sim::Fault::HangupMidReply ? 1 : 0);
    // Other commands are not affected.
    EXPECT_EQ(wire.exchange(command("@?PRM ", "13")), "0\r\nOK\r\n");
}

INSTANTIATE_TEST_SUITE_P(
    ControllerFault, ArmedFault,
    ::testing::Values(
        FaultCase{"NoReply", "@?VER ", fault(sim::Fault::NoReply), "@?VER ,\r\n", ""},
        FaultCase{"Refuse", "@?VER ", fault(sim::Fault::Refuse, "E-12 TEST"), "@?VER ,\r\n",
                  "NG\r\nE-12 TEST\r\n"},
        FaultCase{"RefuseDefaultLine", "@READ DIO ", fault(sim::Fault::Refuse), "@READ DIO ,\r\n",
                  "NG\r\nE-99 REFUSED\r\n"},
        FaultCase{"Garbage", "@?POS ", fault(sim::Fault::Garbage, "\xff#"), "@?POS ,\r\n",
                  "\xff#0.00\r\nOK\r\n"},
        FaultCase{"Cut", "@READ PRM ", fault(sim::Fault::CutReply, {}, 9), "@READ PRM ,\r\n",
                  "PRM0=61\r\n"},
        FaultCase{"CutMotion", "@ORG ", fault(sim::Fault::CutReply, {}, 2), "@ORG ,\r\n", "OK"},
        FaultCase{"Hangup", "@?VER ", fault(sim::Fault::HangupMidReply, {}, 2), "@?VER ,\r\n",
                  "1."},
        FaultCase{"HangupOnEnd", "\x1a", fault(sim::Fault::HangupMidReply), "\x1a", ""},
        FaultCase{"RecordRefused", "P", fault(sim::Fault::Refuse, "E-20 FULL"), "P1=A,1.00,1\r\n",
                  "NG\r\nE-20 FULL\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ControllerFault, OnceFiresOnlyOnce)
{
    sim::Controller controller;
    controller.arm("@?VER ", fault(sim::Fault::NoReply, {}, 0, true));
    Wire wire(controller);
    EXPECT_EQ(wire.exchangeSilent(command("@?VER "), 100), "");
    EXPECT_EQ(wire.exchange(command("@?VER ")), "1.10\r\nOK\r\n");
}

TEST(ControllerFault, ArmedFaultFiresEveryTimeUntilCleared)
{
    sim::Controller controller;
    controller.arm("@?VER ", fault(sim::Fault::Refuse, "E-12 TEST"));
    Wire wire(controller);
    EXPECT_EQ(wire.exchange(command("@?VER ")), "NG\r\nE-12 TEST\r\n");
    EXPECT_EQ(wire.exchange(command("@?VER ")), "NG\r\nE-12 TEST\r\n");
    controller.clearFaults();
    EXPECT_EQ(wire.exchange(command("@?VER ")), "1.10\r\nOK\r\n");
}

TEST(ControllerFault, RefusedCommandIsNotCarriedOut)
{
    sim::Controller controller;
    controller.points[1] = {"A", "1.00", "10"};
    controller.arm("@INIT PNT ", fault(sim::Fault::Refuse, "E-12 TEST"));
    Wire wire(controller);
    EXPECT_EQ(wire.exchange(command("@INIT PNT ")), "NG\r\nE-12 TEST\r\n");
    EXPECT_EQ(wire.exchange(command("@READ PNT ")), "P1=A,1.00,10\r\nOK\r\n");
}

TEST(ControllerFault, CutReplyStillCarriesTheCommandOut)
{
    sim::Controller controller;
    controller.points[1] = {"A", "1.00", "10"};
    controller.arm("@INIT PNT ", fault(sim::Fault::CutReply, {}, 0));
    Wire wire(controller);
    EXPECT_EQ(wire.exchangeSilent(command("@INIT PNT "), 100), "");
    EXPECT_EQ(wire.exchange(command("@READ PNT ")), "OK\r\n");
}

TEST(ControllerFault, IgnoredBreakLetsTheJogGoOn)
{
    sim::Controller controller;
    controller.arm("\x03", fault(sim::Fault::NoReply, {}, 0, true));
    Wire wire(controller);
    EXPECT_EQ(wire.exchange(command("@XINC ")), "OK\r\n");
    EXPECT_EQ(wire.exchangeSilent("\x03", 50), "");
    EXPECT_TRUE(controller.moving());
    EXPECT_EQ(wire.exchange("\x03"), "STOP\r\nSTOPPED\r\n");
}

TEST(ControllerFault, LostRecordIsNotStored)
{
    sim::Options o;
    o.ackRecords = true;
    sim::Controller controller(o);
    controller.arm("PRM", fault(sim::Fault::NoReply, {}, 0, true));
    Wire wire(controller);
    ASSERT_EQ(wire.exchange(command("@WRITE PRM ")), "READY\r\n");
    EXPECT_EQ(wire.exchangeSilent("PRM21=720\r\n", 50), "");
    EXPECT_EQ(wire.exchange("PRM22=0\r\n"), "OK\r\n");
    EXPECT_EQ(wire.exchange("\x1a"), "OK\r\n");
    EXPECT_EQ(wire.exchange(command("@?PRM ", "21")), "360\r\nOK\r\n");
    EXPECT_EQ(wire.exchange(command("@?PRM ", "22")), "0\r\nOK\r\n");
    // Faulted entries are still recorded as received.
    EXPECT_TRUE(controller.receivedLines().contains("PRM21=720\r\n"));
}

}  // namespace

TEST(ControllerChaos, DrawsAsOftenAsAskedCountsWhatItDidAndRepeatsWithItsSeed)
{
    struct Run {
        QList<QByteArray> replies;
        int total = 0;
        int signalled = 0;
        int byKind = 0;
    };
    const auto run = [](double percent, quint32 seed) {
        sim::Options o;
        o.chaosPercent = percent;
        o.chaosSeed = seed;
        sim::Controller controller(o);
        Wire wire(controller);
        Run r;
        QObject::connect(&controller, &sim::Controller::chaosInjected, &controller,
                         [&r](int) { ++r.signalled; });
        for (int i = 0; i < 16; ++i)
            r.replies << wire.exchangeSilent("@?VER ,\r\n", 15);
        r.total = controller.chaosTotal();
        for (int n : controller.chaosCounts())
            r.byKind += n;
        return r;
    };
    const struct {
        double percent;
        int faults;  // -1: some, not all
    } cases[] = {{0, 0}, {100, 16}, {50, -1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.percent);
        const Run a = run(c.percent, 7);
        if (c.faults >= 0)
            EXPECT_EQ(a.total, c.faults);
        else
            EXPECT_TRUE(a.total > 0 && a.total < 16) << a.total;
        EXPECT_EQ(a.signalled, a.total);
        EXPECT_EQ(a.byKind, a.total);
        EXPECT_EQ(a.replies.count("1.10\r\nOK\r\n"), 16 - a.total);
        EXPECT_EQ(run(c.percent, 7).replies, a.replies) << "the same seed draws the same faults";
    }
}
