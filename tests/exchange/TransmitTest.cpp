// Transmit of points, zones and parameters to the simulated controller.
#include "ExchangeRig.h"

using namespace kap;
using namespace kap::test;

namespace {

struct PointRow {
    int row;
    const char* mode;
    const char* position;
    const char* speed;
};

// A controller that leaves records unanswered costs each record its whole window; with no
// answer to wait for, the windows (and every time-out) can be short.
constexpr double kSilentControllerScale = 0.05;

const Box kTransmitPointQuestion = question("Do you transmit point data?", "Transmit Point");

QByteArray strokeMessage(int point)
{
    return "Values more than stroke are input. Please confirm position data entry value of point "
           "No."
           + QByteArray::number(point) + ".";
}

}  // namespace

TEST(TransmitPoints, ChecksAgainstTheStroke)
{
    struct Case {
        const char* name;
        QList<PointRow> rows;
        QByteArray refusal;  // empty: transmitted
    };
    const Case cases[] = {
        {"A at the stroke", {{0, "A", "360.00", "50"}}, ""},
        {"A just past the stroke",
         {{0, "A", "0.00", "50"}, {4, "A", "360.01", "50"}},
         strokeMessage(4)},
        {"A below minus the stroke", {{2, "A", "-360.01", "50"}}, strokeMessage(2)},
        {"I at minus twice the stroke", {{0, "I", "-720.00", "10"}}, ""},
        {"I past twice the stroke", {{6, "I", "720.01", "10"}}, strokeMessage(6)},
        {"speed 100", {{0, "A", "1.00", "100"}}, ""},
        {"speed 101", {{9, "A", "1.00", "101"}}, strokeMessage(9)},
        {"negative speed",
         {{12, "A", "1.00", "-5"}},
         "No.12data has become less than the speed of data input range. Please check data."},
        {"A without speed", {{3, "A", "1.00", ""}}, "Data is not completed. Please check data."},
        {"I without position", {{3, "I", "", "5"}}, "Data is not completed. Please check data."},
        {"B without position", {{5, "B", "", ""}}, "Data is not completed. Please check data."},
        {"empty mode with a position",
         {{7, "", "3.00", ""}},
         "Data is not completed. Please check data."},
        {"completeness before range",
         {{1, "A", "999.00", "50"}, {8, "A", "", "50"}},
         "Data is not completed. Please check data."},
    };
    for (const Case& c : cases) {
        ExchangeRig rig;
        for (const PointRow& r : c.rows)
            rig.putPoint(r.row, r.mode, r.position, r.speed);
        rig.dialogs.answer(MsgAnswer::Yes).ok();
        rig.run(Op::TransmitTable);

        ASSERT_EQ(rig.dialogs.boxes.size(), 2) << c.name;
        EXPECT_EQ(rig.dialogs.boxes[0], kTransmitPointQuestion) << c.name;
        if (c.refusal.isEmpty()) {
            EXPECT_EQ(rig.dialogs.boxes[1], okBox("Transmitting has finished.", "Transmit Point"))
                << c.name;
            EXPECT_EQ(rig.sent().size(), 3 + c.rows.size() + 1) << c.name;
        } else {
            EXPECT_EQ(rig.dialogs.boxes[1], okBox(c.refusal.constData(), "Data un-transmitting."))
                << c.name;
            EXPECT_EQ(rig.sent(), lines({"@?PRM 21,\r\n"})) << c.name;
        }
        EXPECT_TRUE(rig.session.silence().settingMode) << c.name;
        rig.expectRestored();
    }
}

TEST(TransmitPoints, WritesOneRecordPerFilledRow)
{
    ExchangeRig rig;
    rig.sim.controller.points[20] = {"A", "1.00", "1"};  // erased by the transmit
    rig.putPoint(0, "A", "90.00", "50");
    rig.putPoint(1, "I", "-720.00", "100");
    rig.putPoint(3, "B", "1", "");
    rig.putPoint(10, "A", "0.50", "7");
    rig.put(11, PointTable::NoteColumn, "a note alone is no point");
    rig.dialogs.answer(MsgAnswer::Yes).ok();
    rig.run(Op::TransmitTable);

    EXPECT_EQ(rig.sent(),
              lines({"@?PRM 21,\r\n", "@INIT PNT ,\r\n", "@WRITE PNT ,\r\n", "P0=A,90.00,50\r\n",
                     "P1=I,-720.00,100\r\n", "P3=B,1\r\n", "P10=A,0.50,7\r\n", "\x1a"}));
    const auto& points = rig.sim.controller.points;
    EXPECT_EQ(points[0].pos, "90.00");
    EXPECT_EQ(points[3].mode, "B");
    EXPECT_EQ(points[10].speed, "7");
    EXPECT_TRUE(points[20].mode.isEmpty());
    EXPECT_EQ(rig.dialogs.boxes.last(), okBox("Transmitting has finished.", "Transmit Point"));
    rig.expectRestored();
}

TEST(TransmitPoints, AllModesEmptySendsOnlyTheFrame)
{
    ExchangeRig rig;
    rig.sim.controller.points[5] = {"A", "1.00", "1"};
    rig.dialogs.answer(MsgAnswer::Yes).ok();
    rig.run(Op::TransmitTable);
    EXPECT_EQ(rig.sent(), lines({"@?PRM 21,\r\n", "@INIT PNT ,\r\n", "@WRITE PNT ,\r\n", "\x1a"}));
    EXPECT_TRUE(rig.sim.controller.points[5].mode.isEmpty());
}

TEST(TransmitPoints, SilentAndAnsweringControllerBothAccepted)
{
    for (const bool ack : {false, true}) {
        sim::Options o = pointOptions();
        o.ackRecords = ack;
        ExchangeRig rig(o);
        rig.putPoint(0, "A", "10.00", "10");
        rig.putPoint(1, "A", "20.00", "20");
        rig.dialogs.answer(MsgAnswer::Yes).ok();
        rig.run(Op::TransmitTable);
        EXPECT_EQ(rig.sent(), lines({"@?PRM 21,\r\n", "@INIT PNT ,\r\n", "@WRITE PNT ,\r\n",
                                     "P0=A,10.00,10\r\n", "P1=A,20.00,20\r\n", "\x1a"}))
            << "ack " << ack;
        EXPECT_EQ(rig.dialogs.boxes.last(), okBox("Transmitting has finished.", "Transmit Point"));
        EXPECT_EQ(rig.sim.controller.points[1].pos, "20.00");
    }
}

TEST(TransmitPoints, CancelIsLookedAtOnlyAfterASilentRecord)
{
    for (const bool ack : {false, true}) {
        sim::Options o = pointOptions();
        o.ackRecords = ack;
        ExchangeRig rig(o);
        for (int n = 0; n < 4; ++n)
            rig.putPoint(n, "A", QString::number(n) + ".00", "10");
        QObject::connect(&rig.sim.controller, &sim::Controller::entryReceived,
                         [&](const QByteArray& e) {
                             if (e.startsWith("P1="))
                                 rig.bar().tag = QStringLiteral("1");
                         });
        rig.dialogs.answer(MsgAnswer::Yes).ok();
        rig.run(Op::TransmitTable);

        if (!ack) {
            EXPECT_EQ(rig.sent(), lines({"@?PRM 21,\r\n", "@INIT PNT ,\r\n", "@WRITE PNT ,\r\n",
                                         "P0=A,0.00,10\r\n", "P1=A,1.00,10\r\n"}));
            EXPECT_EQ(rig.dialogs.boxes.last(),
                      okBox("Stop\n\nThe controller's point data was erased and is now incomplete. "
                            "Transmit again.",
                            "Data un-transmitting.", MsgIcon::Exclamation));
            EXPECT_FALSE(rig.sim.controller.points[1].mode.isEmpty()) << "records sent so far stay";
            EXPECT_TRUE(rig.sim.controller.points[2].mode.isEmpty());
        } else {
            EXPECT_EQ(rig.sent().size(), 8) << "an answered record is never cancelled";
            EXPECT_EQ(rig.dialogs.boxes.last(),
                      okBox("Transmitting has finished.", "Transmit Point"));
        }
        EXPECT_TRUE(rig.session.silence().settingMode);
        rig.expectRestored();
    }
}

TEST(TransmitZones, ChecksOrderAndCompleteness)
{
    struct Case {
        const char* name;
        const char* a;
        const char* b;
        QByteArray refusal;
    };
    const Case cases[] = {
        {"A below B", "0.00", "0.01", ""},
        {"A equal to B", "10.00", "10.00",
         "Please confirm position data entry value of point No.2."},
        {"A above B", "20.00", "10.00", "Please confirm position data entry value of point No.2."},
        {"A below zero", "-1.00", "10.00",
         "Please confirm position data entry value of point No.2."},
        {"B missing", "5.00", "", "Data is not completed. Please check data."},
    };
    for (const Case& c : cases) {
        ExchangeRig rig(pulseOptions());
        rig.put(0, ZoneTable::AngleAColumn, "1.00");
        rig.put(0, ZoneTable::AngleBColumn, "2.00");
        rig.put(2, ZoneTable::AngleAColumn, c.a);
        rig.put(2, ZoneTable::AngleBColumn, c.b);
        rig.dialogs.answer(MsgAnswer::Yes).ok();
        rig.run(Op::TransmitTable);
        ASSERT_EQ(rig.dialogs.boxes.size(), 2) << c.name;
        EXPECT_EQ(rig.dialogs.boxes[0], question("Do you transmit zone data?", "Transmit Zone"));
        if (c.refusal.isEmpty()) {
            EXPECT_EQ(rig.sent(),
                      (lines({"@INIT ZON ,\r\n", "@WRITE ZON ,\r\n", "Z0=1.00,2.00\r\n"})
                       << "Z2=" + QByteArray(c.a) + "," + c.b + "\r\n"
                       << "\x1a"))
                << c.name;
            EXPECT_EQ(rig.dialogs.boxes[1], okBox("Transmitting has finished.", "Transmit Zone"));
            EXPECT_EQ(rig.sim.controller.zones[2].b, c.b);
        } else {
            EXPECT_TRUE(rig.sent().isEmpty()) << c.name;
            EXPECT_EQ(rig.dialogs.boxes[1], okBox(c.refusal.constData(), "Data un-transmitting"))
                << c.name;
        }
        EXPECT_TRUE(rig.session.silence().settingMode);
        rig.expectRestored();
    }
}

TEST(TransmitParameters, PointInputSendsRowsSkippingNotApplicable)
{
    ExchangeRig rig;
    rig.session.setTimeScale(kSilentControllerScale);
    rig.putParam(28, "**", "**");
    rig.putParam(4, "150");  // out of range: the re-check puts back the initial value
    rig.dialogs.answer(MsgAnswer::Yes).ok();
    rig.run(Op::TransmitParameters);

    EXPECT_EQ(rig.sent(),
              lines({"@READ PNT ,\r\n", "@WRITE PRM ,\r\n", "PRM1=0\r\n", "PRM2=0\r\n",
                     "PRM3=300\r\n", "PRM4=100\r\n", "PRM5=1\r\n", "PRM10=50\r\n", "PRM21=360\r\n",
                     "PRM22=1\r\n", "PRM24=50\r\n", "PRM25=50\r\n", "PRM30=100\r\n", "PRM34=50\r\n",
                     "PRM35=0\r\n", "PRM36=50\r\n", "\x1a"}));
    EXPECT_EQ(rig.dialogs.boxes,
              (QList<Box>{question("Do you transmit parameter data?", "Parameter reception"),
                          okBox("Transmitting has finished.", "Transmit Parameter")}));
    EXPECT_EQ(rig.sim.controller.params[3], "300");
    EXPECT_TRUE(rig.session.silence().settingMode);
    rig.expectRestored();
}

TEST(TransmitParameters, StoredPointsMustFitTheGridStroke)
{
    struct Case {
        const char* name;
        sim::Point point;
        bool refused;
    };
    const Case cases[] = {
        {"A inside", {"A", "360.00", "50"}, false},
        {"A outside", {"A", "360.01", "50"}, true},
        {"I inside twice the stroke", {"I", "-720.00", "50"}, false},
        {"brake point", {"B", "1", ""}, false},
    };
    for (const Case& c : cases) {
        ExchangeRig rig;
        rig.session.setTimeScale(kSilentControllerScale);
        rig.sim.controller.points[12] = c.point;
        rig.dialogs.answer(MsgAnswer::Yes).ok();
        rig.run(Op::TransmitParameters);
        ASSERT_EQ(rig.dialogs.boxes.size(), 2) << c.name;
        if (c.refused) {
            EXPECT_EQ(
                rig.dialogs.boxes[1],
                okBox("Cannot transmit data because some of point data in controller is out of the "
                      "range of PRM21",
                      "Parameter reception"))
                << c.name;
            EXPECT_EQ(rig.sent(), lines({"@READ PNT ,\r\n"})) << c.name;
        } else {
            EXPECT_EQ(rig.dialogs.boxes[1],
                      okBox("Transmitting has finished.", "Transmit Parameter"))
                << c.name;
        }
        EXPECT_TRUE(rig.session.silence().settingMode);
        rig.expectRestored();
    }
}

TEST(TransmitParameters, PulseTrainSendsItsTenRows)
{
    ExchangeRig rig(pulseOptions());
    rig.session.setTimeScale(kSilentControllerScale);
    rig.dialogs.answer(MsgAnswer::Yes).ok();
    rig.run(Op::TransmitParameters);
    EXPECT_EQ(rig.sent(), lines({"@WRITE PRM ,\r\n", "PRM4=100\r\n", "PRM5=1\r\n", "PRM10=50\r\n",
                                 "PRM22=1\r\n", "PRM35=0\r\n", "PRM36=50\r\n", "PRM38=1\r\n",
                                 "PRM39=1\r\n", "PRM43=0\r\n", "PRM53=1000\r\n", "\x1a"}));
    EXPECT_EQ(rig.dialogs.boxes.last(), okBox("Transmitting has finished.", "Transmit Parameter"));
    rig.expectRestored();
}

TEST(TransmitBlocks, EndOfDataAnsweredOrNot)
{
    struct Case {
        const char* name;
        Op op;
        sim::Options options;
        QByteArray record;  // one of the block's records
    };
    const Case cases[] = {
        {"points", Op::TransmitTable, pointOptions(), "P0=A,10.00,10"},
        {"zones", Op::TransmitTable, pulseOptions(), "Z0=10.00,20.00"},
        {"parameters", Op::TransmitParameters, pulseOptions(), "PRM53=1000"},
    };
    for (const Case& c : cases) {
        for (const bool silent : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (silent ? " silent" : " answered"));
            sim::Options o = c.options;
            o.silentEndOfData = silent;
            ExchangeRig rig(o);
            rig.session.setTimeScale(kSilentControllerScale);
            if (o.family == 0) {
                rig.putPoint(0, "A", "10.00", "10");
            } else {
                rig.put(0, ZoneTable::AngleAColumn, "10.00");
                rig.put(0, ZoneTable::AngleBColumn, "20.00");
            }
            rig.dialogs.answer(MsgAnswer::Yes).ok();
            rig.run(c.op);

            EXPECT_EQ(rig.sent().last(), "\x1a");
            EXPECT_EQ(rig.dialogs.boxes.last(),
                      okBox("Transmitting has finished.", c.op == Op::TransmitParameters
                                                              ? "Transmit Parameter"
                                                          : o.family == 0 ? "Transmit Point"
                                                                          : "Transmit Zone"));
            EXPECT_TRUE(rig.sent().contains(c.record + "\r\n"));
            EXPECT_TRUE(rig.session.silence().settingMode);
            rig.expectRestored();
        }
    }
}
