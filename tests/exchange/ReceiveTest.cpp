// Receive of points, zones and parameters from the simulated controller.
#include "ExchangeRig.h"

using namespace kap;
using namespace kap::test;

namespace {

constexpr int kMode = PointTable::ModeColumn;
constexpr int kPos = PointTable::PositionColumn;
constexpr int kSpeed = PointTable::SpeedColumn;
constexpr int kNote = PointTable::NoteColumn;

void fillAllPoints(sim::Controller& c)
{
    for (int n = 0; n < 64; ++n)
        c.points[n] = {"A", QByteArray::number(n * 1.5, 'f', 2), QByteArray::number(n % 100 + 1)};
}

// The grid's change handling runs again after the wholesale fill: a value typed outside its
// row's range falls back to the row's initial value.
void expectEditsChecked(ExchangeRig& rig)
{
    const int row = rig.session.parameters().rowOfPrm(4).value();
    rig.params().setText(row, kValueColumn, QStringLiteral("99999"));
    EXPECT_EQ(rig.value(4), rig.params().text(row, kInitialColumn));
}

}  // namespace

TEST(ReceivePoints, FullTableFillsEveryRowAndMarksModified)
{
    ExchangeRig rig;
    fillAllPoints(rig.sim.controller);
    rig.put(7, kNote, "kept?");
    rig.view.error = QStringLiteral("NG\r\nE01\r\n");  // left from an earlier refusal
    rig.dialogs.answer(MsgAnswer::Yes).ok();
    rig.run(Op::ReceiveTable);

    EXPECT_EQ(rig.sent(), lines({"@READ PNT ,\r\n"}));
    EXPECT_EQ(rig.dialogs.boxes,
              (QList<Box>{question("Do you receive point data?", "Point reception"),
                          okBox("Receiving has finished.", "Receive Point")}));
    for (int n = 0; n < 64; ++n) {
        EXPECT_EQ(rig.cell(n, kMode), "A") << n;
        EXPECT_EQ(rig.cell(n, kPos), QString::number(n * 1.5, 'f', 2)) << n;
        EXPECT_EQ(rig.cell(n, kSpeed), QString::number(n % 100 + 1)) << n;
        EXPECT_EQ(rig.cell(n, kNote), "") << "records carry no note";
    }
    EXPECT_TRUE(rig.session.isModified());
    EXPECT_TRUE(rig.session.silence().settingMode);
    EXPECT_EQ(rig.view.error, "");
    rig.expectRestored();
}

TEST(ReceivePoints, PartialAndEmptyTables)
{
    struct Case {
        const char* name;
        QMap<int, sim::Point> stored;
    };
    const Case cases[] = {
        {"partial", {{1, {"I", "-5.25", "20"}}, {3, {"B", "1", ""}}, {10, {"A", "90.00", "50"}}}},
        {"empty (reply is only OK)", {}},
    };
    for (const Case& c : cases) {
        ExchangeRig rig;
        for (auto it = c.stored.begin(); it != c.stored.end(); ++it)
            rig.sim.controller.points[it.key()] = it.value();
        for (int n = 0; n < 64; ++n)
            rig.putPoint(n, "A", "1.00", "9");
        rig.dialogs.answer(MsgAnswer::Yes).ok();
        rig.run(Op::ReceiveTable);

        for (int n = 0; n < 64; ++n) {
            const sim::Point p = c.stored.value(n);
            EXPECT_EQ(rig.cell(n, kMode), QString::fromLatin1(p.mode)) << c.name << " row " << n;
            EXPECT_EQ(rig.cell(n, kPos),
                      p.mode == "B" ? QString("1.00") : QString::fromLatin1(p.pos))
                << c.name << " row " << n;
            EXPECT_EQ(rig.cell(n, kSpeed), QString::fromLatin1(p.speed)) << c.name << " row " << n;
        }
        EXPECT_TRUE(rig.session.isModified()) << c.name;
        ASSERT_EQ(rig.dialogs.boxes.size(), 2) << c.name;
        EXPECT_EQ(rig.dialogs.boxes[1], okBox("Receiving has finished.", "Receive Point"))
            << c.name;
    }
}

TEST(ReceivePoints, NoSendsNothingAndKeepsTheTable)
{
    ExchangeRig rig;
    fillAllPoints(rig.sim.controller);
    rig.putPoint(0, "A", "5.00", "5");
    rig.dialogs.answer(MsgAnswer::No);
    rig.run(Op::ReceiveTable);
    EXPECT_TRUE(rig.sent().isEmpty());
    EXPECT_EQ(rig.cell(0, kPos), "5.00");
    EXPECT_EQ(rig.dialogs.boxes.size(), 1);
    EXPECT_TRUE(rig.view.toolbarEnabled);
}

TEST(ReceiveTable, CancelLeavesTheTableAsItWas)
{
    struct Case {
        const char* name;
        sim::Options options;
        int cancelAt;
    };
    const Case cases[] = {{"points", pointOptions(), 6}, {"zones", pulseOptions(), 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ExchangeRig rig(c.options);
        const bool points = c.options.family == 0;
        fillAllPoints(rig.sim.controller);
        for (int n = 0; n < 4; ++n)
            rig.sim.controller.zones[n] = {"10.00", "20.00"};
        for (int row = 0; row < rig.table().rows(); ++row)
            rig.put(row, 1, "7.00");  // mode or angle A: not what the controller holds
        rig.cancelAtStep(c.cancelAt);
        // An earlier operation left Cancel disabled.
        rig.bar().cancelEnabled = false;
        bool cancelUsable = false;
        QObject::connect(&rig.sim.controller, &sim::Controller::entryReceived,
                         [&](const QByteArray&) {
                             cancelUsable = rig.bar().cancelEnabled && rig.bar().visible;
                         });
        rig.dialogs.answer(MsgAnswer::Yes).ok();
        rig.run(Op::ReceiveTable);

        EXPECT_TRUE(cancelUsable) << "dialog shown, Cancel usable";
        QStringList column;
        for (int row = 0; row < rig.table().rows(); ++row)
            column << rig.cell(row, 1);
        EXPECT_EQ(column, QStringList(rig.table().rows(), "7.00"));
        EXPECT_EQ(rig.dialogs.boxes.last(),
                  okBox("Stop", "Data un-transmitting.", MsgIcon::Exclamation));
        EXPECT_EQ(rig.dialogs.boxes.size(), 2) << "no closing box";
        EXPECT_EQ(rig.bar().tag, "0");
        rig.expectRestored();

        // A click left over after an operation does not stop the next one.
        rig.bar().tag = QStringLiteral("1");
        rig.dialogs.answer(MsgAnswer::Yes).ok();
        rig.run(Op::ReceiveTable);
        EXPECT_EQ(rig.cell(rig.table().rows() - 1, 1), points ? "A" : "10.00");
    }
}

TEST(ReceiveZones, FillsZonesAndEmptiesMissingOnes)
{
    ExchangeRig rig(pulseOptions());
    rig.sim.controller.zones[0] = {"10.00", "20.00"};
    rig.sim.controller.zones[2] = {"0.00", "359.99"};
    rig.put(1, ZoneTable::AngleAColumn, "5.00");
    rig.put(1, ZoneTable::AngleBColumn, "6.00");
    rig.put(3, ZoneTable::NoteColumn, "note");
    rig.dialogs.answer(MsgAnswer::Yes).ok();
    rig.run(Op::ReceiveTable);

    EXPECT_EQ(rig.sent(), lines({"@READ ZON ,\r\n"}));
    EXPECT_EQ(rig.dialogs.boxes,
              (QList<Box>{question("Do you receive zone data?", "Zone reception"),
                          okBox("Receiving has finished.", "Receive Zone")}));
    const QStringList expected[] = {{"10.00", "20.00"}, {"", ""}, {"0.00", "359.99"}, {"", ""}};
    for (int n = 0; n < 4; ++n) {
        EXPECT_EQ(rig.cell(n, ZoneTable::AngleAColumn), expected[n][0]) << n;
        EXPECT_EQ(rig.cell(n, ZoneTable::AngleBColumn), expected[n][1]) << n;
        EXPECT_EQ(rig.cell(n, ZoneTable::NoteColumn), "") << n;
    }
    EXPECT_TRUE(rig.session.isModified());
    rig.expectRestored();
}

TEST(ReceiveParameters, VersionAndGenerationDecideParameters6And28)
{
    struct Case {
        const char* name;
        QByteArray version;
        bool shortDio;
        // row of PRM 6: initial, value, range; row of PRM 28: initial, value, range
        QStringList prm6;
        QStringList prm28;
    };
    const Case cases[] = {
        {"current controller 1.10", "1.10", false, {"**", "**", ""}, {"0", "1", "0: ON  1: OFF"}},
        {"current controller 1.05", "1.05", false, {"**", "**", ""}, {"**", "**", ""}},
        {"current controller 1.82", "1.82", false, {"**", "**", ""}, {"**", "**", ""}},
        {"previous controller 1.10",
         "1.10",
         true,
         {"1", "1", "0: Invalid 1: Valid"},
         {"**", "**", ""}},
    };
    for (const Case& c : cases) {
        sim::Options o = pointOptions();
        o.version = c.version;
        o.shortDio = c.shortDio;
        o.actuatorType = 61;
        ExchangeRig rig(o);
        rig.sim.controller.params[28] = "1";
        rig.sim.controller.params[35] = "-1250";
        rig.dialogs.answer(MsgAnswer::Yes).ok();
        rig.run(Op::ReceiveParameters);

        EXPECT_EQ(rig.sent(), lines({"@?VER ,\r\n", "@READ DIO ,\r\n", "@READ PRM ,\r\n"}))
            << c.name;
        EXPECT_EQ(rig.dialogs.boxes,
                  (QList<Box>{question("Do you receive parameter data?", "Parameter reception"),
                              okBox("Receiving has finished.", "Receive Parameter")}))
            << c.name;
        Grid& g = rig.params();
        const int r6 = rig.session.parameters().rowOfPrm(6).value();
        const int r28 = rig.session.parameters().rowOfPrm(28).value();
        EXPECT_EQ((QStringList{g.text(r6, kInitialColumn), g.text(r6, kValueColumn),
                               g.text(r6, kRangeColumn)}),
                  c.prm6)
            << c.name;
        EXPECT_EQ((QStringList{g.text(r28, kInitialColumn), g.text(r28, kValueColumn),
                               g.text(r28, kRangeColumn)}),
                  c.prm28)
            << c.name;
        EXPECT_EQ(rig.view.originShift, "-1250") << c.name;
        EXPECT_FALSE(rig.session.guards().angleCheckHold);
        EXPECT_TRUE(rig.session.silence().settingMode);
        EXPECT_TRUE(rig.session.isModified());
        rig.expectRestored();
        expectEditsChecked(rig);
    }
}

TEST(ReceiveParameters, ChangesTheActuatorTypeAndItsRanges)
{
    sim::Options o = pointOptions();
    o.actuatorType = 65;
    ExchangeRig rig(o);
    rig.sim.controller.params[3] = "40";
    rig.sim.controller.params[21] = "720";
    ASSERT_EQ(rig.session.parameters().currentType(), "50");
    rig.dialogs.answer(MsgAnswer::Yes).ok();
    rig.run(Op::ReceiveParameters);

    ParameterTable& p = rig.session.parameters();
    Grid& g = rig.params();
    EXPECT_EQ(p.currentType(), "65");
    EXPECT_EQ(g.text(-1, kValueColumn), "65");
    EXPECT_EQ(g.text(-1, kInitialColumn), "65");
    EXPECT_EQ(g.text(p.rowOfPrm(3).value(), kRangeColumn), "0 to 50 (*10^-3kg.m.m)");
    EXPECT_EQ(g.text(p.rowOfPrm(3).value(), kInitialColumn), "50");
    EXPECT_EQ(g.text(p.rowOfPrm(3).value(), kValueColumn), "40");
    EXPECT_EQ(g.text(p.rowOfPrm(10).value(), kRangeColumn), "1 to 50 (*0.01rps)");
    EXPECT_EQ(g.text(p.rowOfPrm(10).value(), kInitialColumn), "10");
    EXPECT_EQ(rig.value(21), "720") << "no angle correction while filling";
    EXPECT_EQ(p.inertiaLabel(), "-3      2");
    EXPECT_TRUE(rig.dialogs.pendingAnswers() == 0);
}

TEST(ReceiveParameters, PulseTrainWindowReadsItsTenRows)
{
    sim::Options o = pulseOptions();
    o.actuatorType = 62;
    ExchangeRig rig(o);
    const int prms[] = {4, 5, 10, 22, 35, 36, 38, 39, 43, 53};
    for (int i = 0; i < 10; ++i)
        rig.sim.controller.params[prms[i]] = QByteArray::number(i + 2);
    rig.dialogs.answer(MsgAnswer::Yes).ok();
    rig.run(Op::ReceiveParameters);

    EXPECT_EQ(rig.sent(), lines({"@READ PRM ,\r\n"}));
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(rig.params().text(i, kValueColumn), QString::number(i + 2)) << prms[i];
    EXPECT_EQ(rig.session.parameters().currentType(), "62");
    EXPECT_EQ(rig.params().text(2, kRangeColumn), "1 to 50 (*0.01rps)");
    EXPECT_EQ(rig.view.originShift, "6");
    EXPECT_EQ(rig.dialogs.boxes.size(), 2);
    rig.expectRestored();
}

TEST(ReceiveParameters, EmptyValueLeavesItsRowAsItWas)
{
    ExchangeRig rig;
    rig.putParam(4, "55");
    rig.sim.controller.params[4] = "";
    rig.sim.controller.params[5] = "0";
    rig.dialogs.answer(MsgAnswer::Yes).ok();
    rig.run(Op::ReceiveParameters);
    EXPECT_EQ(rig.value(4), "55");
    EXPECT_EQ(rig.value(5), "0");
    EXPECT_EQ(rig.dialogs.boxes.last(), okBox("Receiving has finished.", "Receive Parameter"));
}

TEST(ReceiveParameters, CancelKeepsRowsReadSoFar)
{
    sim::Options o = pointOptions();
    o.actuatorType = 62;
    ExchangeRig rig(o);
    rig.sim.controller.params[4] = "77";
    rig.sim.controller.params[30] = "88";
    // Cancel is pressed once parameter 4 has been written.
    rig.cancelAtStep(5);
    rig.dialogs.answer(MsgAnswer::Yes).ok();
    rig.run(Op::ReceiveParameters);

    EXPECT_EQ(rig.value(4), "77");
    EXPECT_EQ(rig.value(30), "100") << "rows after the cancel keep their previous value";
    EXPECT_EQ(rig.session.parameters().currentType(), "62");
    EXPECT_EQ(rig.dialogs.boxes.last(),
              okBox("Stop", "Data un-transmitting.", MsgIcon::Exclamation));
    EXPECT_EQ(rig.dialogs.boxes.size(), 2) << "no closing box";
    EXPECT_TRUE(rig.session.isModified());
    rig.expectRestored();
    expectEditsChecked(rig);
}
