// The reading start-up runs into the window it opens.
#include "ExchangeRig.h"

using namespace kap;
using namespace kap::test;

TEST(StartupReading, PointInputWindowGetsPointsAndParameters)
{
    sim::Options o = pointOptions();
    o.actuatorType = 62;
    o.version = "1.05";
    ExchangeRig rig(o);
    rig.sim.controller.points[0] = {"A", "45.00", "30"};
    rig.sim.controller.points[63] = {"B", "0", ""};
    rig.sim.controller.params[35] = "250";
    rig.sim.controller.params[28] = "1";

    EXPECT_EQ(exchange::StartupReading(rig.session), exchange::Result::Done);

    EXPECT_EQ(rig.sent(),
              lines({"@?VER ,\r\n", "@READ DIO ,\r\n", "@READ PNT ,\r\n", "@READ PRM ,\r\n"}));
    EXPECT_TRUE(rig.dialogs.boxes.isEmpty());
    EXPECT_EQ(rig.cell(0, PointTable::PositionColumn), "45.00");
    EXPECT_EQ(rig.cell(63, PointTable::ModeColumn), "B");
    EXPECT_EQ(rig.session.parameters().currentType(), "62");
    ParameterTable& p = rig.session.parameters();
    EXPECT_EQ(rig.params().text(p.rowOfPrm(3).value(), kRangeColumn), "0 to 3000 (*10^-6kg.m.m)");
    EXPECT_EQ(rig.value(28), "**") << "version 1.05 has no limit mode";
    EXPECT_EQ(rig.value(6), "**");
    EXPECT_EQ(rig.view.originShift, "250");
    EXPECT_FALSE(rig.session.guards().bulkFill);
    EXPECT_FALSE(rig.bar().visible);
}

TEST(StartupReading, PreviousControllerRangeTexts)
{
    sim::Options o = pointOptions();
    o.shortDio = true;
    ExchangeRig rig(o);
    EXPECT_EQ(exchange::StartupReading(rig.session), exchange::Result::Done);
    ParameterTable& p = rig.session.parameters();
    EXPECT_EQ(rig.params().text(p.rowOfPrm(6).value(), kRangeColumn),
              "0:Valid function  1:Invalid function");
    EXPECT_EQ(rig.value(6), "1");
    EXPECT_EQ(rig.value(28), "**");
}

TEST(StartupReading, PulseTrainWindowGetsZonesAndParameters)
{
    sim::Options o = pulseOptions();
    o.actuatorType = 66;
    ExchangeRig rig(o);
    rig.sim.controller.zones[1] = {"90.00", "180.00"};
    rig.sim.controller.params[53] = "1500";

    EXPECT_EQ(exchange::StartupReading(rig.session), exchange::Result::Done);

    EXPECT_EQ(rig.sent(), lines({"@READ ZON ,\r\n", "@READ PRM ,\r\n"}));
    EXPECT_TRUE(rig.dialogs.boxes.isEmpty());
    EXPECT_EQ(rig.cell(1, ZoneTable::AngleBColumn), "180.00");
    EXPECT_EQ(rig.value(53), "1500");
    EXPECT_EQ(rig.session.parameters().currentType(), "66");
    EXPECT_EQ(rig.params().text(2, kRangeColumn), "1 to 50 (*0.01rps)");
}

TEST(StartupReading, CancelStopsTheTableOnly)
{
    sim::Options o = pointOptions();
    o.actuatorType = 63;
    ExchangeRig rig(o);
    for (int n = 0; n < 64; ++n)
        rig.sim.controller.points[n] = {"A", "1.00", "1"};
    rig.cancelAtStep(11);
    rig.dialogs.ok();
    EXPECT_EQ(exchange::StartupReading(rig.session), exchange::Result::Cancelled);
    EXPECT_EQ(rig.dialogs.boxes,
              (QList<Box>{okBox("Stop", "Data not received.", MsgIcon::Exclamation)}));
    EXPECT_EQ(rig.cell(0, PointTable::ModeColumn), "") << "nothing of the cancelled read stays";
    EXPECT_EQ(rig.cell(10, PointTable::ModeColumn), "");
    EXPECT_EQ(rig.session.parameters().currentType(), "63") << "parameters still read";
}

TEST(StartupReading, RefusedVersionQueryGoesOn)
{
    sim::Options o = pointOptions();
    o.actuatorType = 64;
    ExchangeRig rig(o);
    rig.sim.controller.points[2] = {"A", "9.00", "9"};
    rig.sim.controller.arm("@?VER ", {sim::Fault::Refuse, {}, 0});
    EXPECT_EQ(exchange::StartupReading(rig.session), exchange::Result::Done);
    EXPECT_EQ(rig.sent(),
              lines({"@?VER ,\r\n", "@READ DIO ,\r\n", "@READ PNT ,\r\n", "@READ PRM ,\r\n"}));
    EXPECT_TRUE(rig.dialogs.boxes.isEmpty());
    EXPECT_EQ(rig.cell(2, PointTable::PositionColumn), "9.00");
    EXPECT_EQ(rig.session.parameters().currentType(), "64");
    EXPECT_EQ(rig.session.controller().version, "");
}

TEST(StartupReading, FailuresEndSilently)
{
    struct Case {
        const char* name;
        const char* word;
        sim::Fault fault;
        QList<QByteArray> sent;
        QString type;
    };
    const Case cases[] = {
        {"version unanswered",
         "@?VER ",
         {sim::Fault::NoReply, {}, 0},
         lines({"@?VER ,\r\n"}),
         "50"},
        {"DIO refused",
         "@READ DIO ",
         {sim::Fault::Refuse, {}, 0},
         lines({"@?VER ,\r\n", "@READ DIO ,\r\n"}),
         "50"},
        {"points refused",
         "@READ PNT ",
         {sim::Fault::Refuse, {}, 0},
         lines({"@?VER ,\r\n", "@READ DIO ,\r\n", "@READ PNT ,\r\n"}),
         "50"},
        {"parameters line closed",
         "@READ PRM ",
         {sim::Fault::HangupMidReply, {}, 12},
         lines({"@?VER ,\r\n", "@READ DIO ,\r\n", "@READ PNT ,\r\n", "@READ PRM ,\r\n"}),
         "50"},
    };
    for (const Case& c : cases) {
        sim::Options o = pointOptions();
        o.actuatorType = 64;
        SCOPED_TRACE(c.name);
        ExchangeRig rig(o);
        rig.session.setTimeScale(0.05);
        rig.sim.controller.arm(c.word, c.fault);
        EXPECT_NE(exchange::StartupReading(rig.session), exchange::Result::Done) << c.name;
        EXPECT_EQ(rig.sent(), c.sent) << c.name;
        EXPECT_TRUE(rig.dialogs.boxes.isEmpty()) << c.name;
        EXPECT_EQ(rig.session.parameters().currentType(), c.type) << c.name;
        EXPECT_TRUE(rig.view.windowEnabled) << c.name;
        EXPECT_FALSE(rig.bar().visible) << c.name;
    }
}

TEST(StartupReading, PulseTrainFailuresEndSilentlyToo)
{
    struct Case {
        const char* name;
        const char* word;
        sim::Fault fault;
        QList<QByteArray> sent;
    };
    const Case cases[] = {
        {"zones cut short",
         "@READ ZON ",
         {sim::Fault::CutReply, {}, 2},
         lines({"@READ ZON ,\r\n"})},
        {"zones with a stray byte",
         "@READ ZON ",
         {sim::Fault::Garbage, "\x01", 0},
         lines({"@READ ZON ,\r\n"})},
        {"parameters with garbage and an unreadable type",
         "@READ PRM ",
         {sim::Fault::Garbage, "X=??\r\n", 0},
         lines({"@READ ZON ,\r\n", "@READ PRM ,\r\n"})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ExchangeRig rig(pulseOptions());
        rig.session.setTimeScale(0.05);
        rig.sim.controller.arm(c.word, c.fault);
        EXPECT_NE(exchange::StartupReading(rig.session), exchange::Result::Done);
        EXPECT_EQ(rig.sent(), c.sent);
        EXPECT_TRUE(rig.dialogs.boxes.isEmpty());
        EXPECT_EQ(rig.session.parameters().currentType(), "50");
        EXPECT_TRUE(rig.view.windowEnabled);
        EXPECT_FALSE(rig.bar().visible);
    }
}
