// The simulated controller's answers, as the tool sees them on the line.
#include "SimTestSupport.h"

#include <gtest/gtest.h>

#include <utility>

using simtest::command;
using simtest::Wire;

namespace {

sim::Options quick()
{
    sim::Options o;
    o.motionMs = 20;
    return o;
}

// ---- single queries ---------------------------------------------------------------------

struct QueryCase {
    const char* name;
    int family;
    int type;
    bool shortDio;
    QByteArray line;
    QByteArray reply;
};

class Query : public ::testing::TestWithParam<QueryCase> {};

TEST_P(Query, Answers)
{
    const QueryCase& c = GetParam();
    sim::Options o = quick();
    o.family = c.family;
    o.actuatorType = c.type;
    o.shortDio = c.shortDio;
    o.version = "1.05";
    sim::Controller controller(o);
    Wire wire(controller);
    EXPECT_EQ(wire.exchange(c.line), c.reply);
}

INSTANTIATE_TEST_SUITE_P(
    Controller, Query,
    ::testing::Values(
        QueryCase{"FamilyPoint", 0, 61, false, "@?PRM 13,\r\n", "0\r\nOK\r\n"},
        QueryCase{"FamilyPulse", 1, 61, false, "@?PRM 13,\r\n", "1\r\nOK\r\n"},
        QueryCase{"ActuatorType", 0, 62, false, "@?PRM 0,\r\n", "62\r\nOK\r\n"},
        QueryCase{"OperatingAngle", 0, 61, false, "@?PRM 21,\r\n", "360\r\nOK\r\n"},
        QueryCase{"InertiaType64", 0, 64, false, "@?PRM 3,\r\n", "20000\r\nOK\r\n"},
        QueryCase{"InertiaType65", 0, 65, false, "@?PRM 3,\r\n", "50\r\nOK\r\n"},
        QueryCase{"OrgSpeedType50", 0, 50, false, "@?PRM 10,\r\n", "50\r\nOK\r\n"},
        QueryCase{"TeachSpeedType63", 0, 63, false, "@?PRM 24,\r\n", "20\r\nOK\r\n"},
        QueryCase{"InposTimePulse", 1, 60, false, "@?PRM 53,\r\n", "1000\r\nOK\r\n"},
        QueryCase{"PulseHasNoStroke", 1, 61, false, "@?PRM 21,\r\n", "0\r\nOK\r\n"},
        QueryCase{"Prm6Current", 0, 61, false, "@?PRM 6,\r\n", "0\r\nOK\r\n"},
        QueryCase{"Prm6Previous", 0, 61, true, "@?PRM 6,\r\n", "1\r\nOK\r\n"},
        QueryCase{"UnlistedPrm", 0, 61, false, "@?PRM 40,\r\n", "0\r\nOK\r\n"},
        QueryCase{"UnknownTypeKept", 0, 67, false, "@?PRM 0,\r\n", "67\r\nOK\r\n"},
        QueryCase{"PrmOutOfRange", 0, 61, false, "@?PRM 64,\r\n", "NG\r\nE-03 VALUE ERROR\r\n"},
        QueryCase{"PrmNotANumber", 0, 61, false, "@?PRM x,\r\n", "NG\r\nE-03 VALUE ERROR\r\n"},
        QueryCase{"Version", 0, 61, false, "@?VER ,\r\n", "1.05\r\nOK\r\n"},
        QueryCase{"Position", 0, 61, false, "@?POS ,\r\n", "0.00\r\nOK\r\n"},
        QueryCase{"OriginNotDone", 0, 61, false, "@?ORG ,\r\n", "0\r\nOK\r\n"},
        QueryCase{"ServoOn", 1, 61, false, "@?SRVO ,\r\n", "1\r\nOK\r\n"},
        QueryCase{"BrakeReleased", 1, 61, false, "@?BRK ,\r\n", "0\r\nOK\r\n"},
        QueryCase{"NoZones", 1, 61, false, "@READ ZON ,\r\n", "OK\r\n"},
        QueryCase{"NoPoints", 0, 61, false, "@READ PNT ,\r\n", "OK\r\n"},
        QueryCase{"UndefinedPoint", 0, 61, false, "@?P 7,\r\n", "NG\r\nE-06 POINT NOT DEFINED\r\n"},
        QueryCase{"UnknownCommand", 0, 61, false, "@FOO ,\r\n", "NG\r\nE-01 UNKNOWN COMMAND\r\n"},
        QueryCase{"UnissuedCommand", 0, 61, false, "@GMAX ,\r\n", "NG\r\nE-01 UNKNOWN COMMAND\r\n"},
        QueryCase{"MissingComma", 0, 61, false, "@?VER \r\n", "NG\r\nE-02 FORMAT ERROR\r\n"},
        QueryCase{"ServoBadArgument", 1, 61, false, "@SRVO 2,\r\n", "NG\r\nE-03 VALUE ERROR\r\n"},
        QueryCase{"InitBadType", 0, 61, false, "@INIT PRM 67,\r\n", "NG\r\nE-03 VALUE ERROR\r\n"},
        QueryCase{"EndWithoutBlock", 0, 61, false, "\x1a", "NG\r\nE-05 NO WRITE BLOCK\r\n"},
        QueryCase{"RecordWithoutBlock", 0, 61, false, "P1=A,1.00,1\r\n",
                  "NG\r\nE-05 NO WRITE BLOCK\r\n"},
        QueryCase{"BreakWhenIdle", 0, 61, false, "\x03", "OK\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- whole tables -----------------------------------------------------------------------

TEST(Controller, ReadPrmSendsAllParametersInOrder)
{
    sim::Options o = quick();
    o.actuatorType = 50;
    sim::Controller controller(o);
    Wire wire(controller);
    const QList<QByteArray> lines = wire.exchange(command("@READ PRM ")).split('\n');
    ASSERT_EQ(lines.size(), 66);  // 64 records, "OK", and the empty text after the last LF
    for (int n = 0; n < 64; ++n)
        EXPECT_TRUE(lines[n].startsWith("PRM" + QByteArray::number(n) + "="))
            << lines[n].constData();
    EXPECT_EQ(lines[0], "PRM0=50\r");
    EXPECT_EQ(lines[36], "PRM36=50\r");
    EXPECT_EQ(lines[64], "OK\r");
}

TEST(Controller, ReadPntListsDefinedPointsAscending)
{
    sim::Controller controller(quick());
    controller.points[10] = {"I", "-5.50", "20"};
    controller.points[0] = {"A", "0.00", "50"};
    controller.points[4] = {"B", "1", ""};
    Wire wire(controller);
    EXPECT_EQ(wire.exchange(command("@READ PNT ")),
              "P0=A,0.00,50\r\nP4=B,1\r\nP10=I,-5.50,20\r\nOK\r\n");
    EXPECT_EQ(wire.exchange(command("@?P ", "4")), "P4=B,1\r\nOK\r\n");
    EXPECT_EQ(wire.exchange(command("@?P ", "10")), "P10=I,-5.50,20\r\nOK\r\n");
}

TEST(Controller, ReadErrSendsTheNewestTwentyOldestFirst)
{
    sim::Controller controller(quick());
    for (int i = 1; i <= 22; ++i)
        controller.errorHistory.append("E-" + QByteArray::number(i) + " LINE");
    Wire wire(controller);
    const QByteArray reply = wire.exchange(command("@READ ERR "));
    EXPECT_TRUE(reply.startsWith("E-3 LINE\r\nE-4 LINE\r\n"));
    EXPECT_TRUE(reply.endsWith("E-22 LINE\r\nOK\r\n"));
    EXPECT_EQ(reply.count("\r\n"), 21);
}

// ---- write blocks -----------------------------------------------------------------------

struct BlockCase {
    const char* name;
    QByteArray start;
    QList<QByteArray> records;
    QByteArray readBack;
    QByteArray expected;
};

class WriteBlock : public ::testing::TestWithParam<std::tuple<BlockCase, bool>> {};

TEST_P(WriteBlock, StoresRecordsAndAcknowledges)
{
    const auto& [c, ack] = GetParam();
    sim::Options o = quick();
    o.ackRecords = ack;
    sim::Controller controller(o);
    Wire wire(controller);
    ASSERT_EQ(wire.exchange(command(c.start)), "READY\r\n");
    for (const QByteArray& record : c.records) {
        if (ack)
            EXPECT_EQ(wire.exchange(record), "OK\r\n") << record.constData();
        else
            EXPECT_EQ(wire.exchangeSilent(record, 30), "") << record.constData();
    }
    EXPECT_EQ(wire.exchange("\x1a"), "OK\r\n");
    const QByteArray reply = wire.exchange(command(c.readBack));
    EXPECT_TRUE(reply.contains(c.expected)) << reply.constData();
}

INSTANTIATE_TEST_SUITE_P(
    Controller, WriteBlock,
    ::testing::Combine(
        ::testing::Values(BlockCase{"Points",
                                    "@WRITE PNT ",
                                    {"P3=A,90,50\r\n", "P4=B,1.00\r\n", "P10=I,-12.3,99.6\r\n"},
                                    "@READ PNT ",
                                    "P3=A,90.00,50\r\nP4=B,1\r\nP10=I,-12.30,100\r\nOK\r\n"},
                          BlockCase{"Parameters",
                                    "@WRITE PRM ",
                                    {"PRM21=720\r\n", "PRM22 = 0\r\n"},
                                    "@READ PRM ",
                                    "PRM21=720\r\nPRM22=0\r\n"},
                          BlockCase{"Zones",
                                    "@WRITE ZON ",
                                    {"Z0=10.00,20.00\r\n", "Z3=0,359.99\r\n"},
                                    "@READ ZON ",
                                    "Z0=10.00,20.00\r\nZ3=0.00,359.99\r\nOK\r\n"}),
        ::testing::Bool()),
    [](const auto& info) {
        return std::string(std::get<0>(info.param).name)
               + (std::get<1>(info.param) ? "Acked" : "Silent");
    });

TEST(Controller, SilentEndOfDataStillClosesTheBlock)
{
    sim::Options o = quick();
    o.silentEndOfData = true;
    sim::Controller controller(o);
    Wire wire(controller);
    ASSERT_EQ(wire.exchange(command("@WRITE PNT ")), "READY\r\n");
    EXPECT_EQ(wire.exchangeSilent("P3=A,90,50\r\n", 30), "");
    EXPECT_EQ(wire.exchangeSilent("\x1a", 50), "");
    // Closed: a record now is outside any block, and the point was kept.
    EXPECT_EQ(wire.exchange("P4=A,1,1\r\n"), "NG\r\nE-05 NO WRITE BLOCK\r\n");
    EXPECT_EQ(wire.exchange(command("@READ PNT ")), "P3=A,90.00,50\r\nOK\r\n");
}

struct BadRecordCase {
    const char* name;
    QByteArray start;
    QByteArray record;
    QByteArray error;
};

class BadRecord : public ::testing::TestWithParam<BadRecordCase> {};

TEST_P(BadRecord, IsRefusedAndTheBlockGoesOn)
{
    const BadRecordCase& c = GetParam();
    sim::Controller controller(quick());
    Wire wire(controller);
    ASSERT_EQ(wire.exchange(command(c.start)), "READY\r\n");
    EXPECT_EQ(wire.exchange(c.record), "NG\r\n" + c.error + "\r\n");
    EXPECT_EQ(wire.exchange("\x1a"), "OK\r\n");
    EXPECT_EQ(wire.exchange(command("@READ PNT ")), "OK\r\n");
    EXPECT_EQ(wire.exchange(command("@READ ZON ")), "OK\r\n");
    EXPECT_EQ(wire.exchange(command("@?PRM ", "21")), "360\r\nOK\r\n");
}

INSTANTIATE_TEST_SUITE_P(
    Controller, BadRecord,
    ::testing::Values(
        BadRecordCase{"UnknownMode", "@WRITE PNT ", "P1=X,1.00,50\r\n", "E-03 VALUE ERROR"},
        BadRecordCase{"MissingSpeed", "@WRITE PNT ", "P1=A,1.00\r\n", "E-03 VALUE ERROR"},
        BadRecordCase{"SpeedZero", "@WRITE PNT ", "P1=A,1.00,0\r\n", "E-03 VALUE ERROR"},
        BadRecordCase{"BrakeValue", "@WRITE PNT ", "P1=B,2\r\n", "E-03 VALUE ERROR"},
        BadRecordCase{"PointNumber", "@WRITE PNT ", "P64=A,1.00,50\r\n", "E-03 VALUE ERROR"},
        BadRecordCase{"PrmText", "@WRITE PRM ", "PRM21=**\r\n", "E-03 VALUE ERROR"},
        BadRecordCase{"ShiftTooLarge", "@WRITE PRM ", "PRM35=40000\r\n", "E-03 VALUE ERROR"},
        BadRecordCase{"ZoneAngle", "@WRITE ZON ", "Z0=10.00,360.00\r\n", "E-03 VALUE ERROR"},
        BadRecordCase{"ZoneNumber", "@WRITE ZON ", "Z4=1.00,2.00\r\n", "E-03 VALUE ERROR"},
        BadRecordCase{"WrongKind", "@WRITE PNT ", "Z0=1.00,2.00\r\n", "E-02 FORMAT ERROR"},
        BadRecordCase{"NoEquals", "@WRITE PRM ", "PRM21\r\n", "E-02 FORMAT ERROR"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Controller, CommandLineEndsAnUnclosedBlock)
{
    sim::Controller controller(quick());
    Wire wire(controller);
    ASSERT_EQ(wire.exchange(command("@WRITE PNT ")), "READY\r\n");
    EXPECT_EQ(wire.exchange(command("@?PRM ", "13")), "0\r\nOK\r\n");
    EXPECT_EQ(wire.exchange("P1=A,1.00,50\r\n"), "NG\r\nE-05 NO WRITE BLOCK\r\n");
}

// ---- initialise and origin ----------------------------------------------------------------

TEST(Controller, InitClearsPointsAndZones)
{
    sim::Controller controller(quick());
    controller.points[2] = {"A", "1.00", "5"};
    controller.zones[1] = {"1.00", "2.00"};
    Wire wire(controller);
    EXPECT_EQ(wire.exchange(command("@INIT PNT ")), "OK\r\n");
    EXPECT_EQ(wire.exchange(command("@INIT ZON ")), "OK\r\n");
    EXPECT_EQ(wire.exchange(command("@READ PNT ")), "OK\r\n");
    EXPECT_EQ(wire.exchange(command("@READ ZON ")), "OK\r\n");
}

TEST(Controller, InitPrmLoadsTheFactoryValuesOfTheGivenType)
{
    sim::Controller controller(quick());
    Wire wire(controller);
    ASSERT_EQ(wire.exchange(command("@WRITE PRM ")), "READY\r\n");
    wire.exchangeSilent("PRM4=50\r\n", 10);
    ASSERT_EQ(wire.exchange("\x1a"), "OK\r\n");
    EXPECT_EQ(wire.exchange(command("@INIT PRM ", "50")), "OK\r\n");
    EXPECT_EQ(wire.exchange(command("@?PRM ", "0")), "50\r\nOK\r\n");
    EXPECT_EQ(wire.exchange(command("@?PRM ", "3")), "300\r\nOK\r\n");
    EXPECT_EQ(wire.exchange(command("@?PRM ", "4")), "100\r\nOK\r\n");
    EXPECT_EQ(wire.exchange(command("@?PRM ", "13")), "0\r\nOK\r\n");
}

TEST(Controller, ChangeOriginMakesThePresentPositionZero)
{
    sim::Controller controller(quick());
    controller.position = 12.34;
    Wire wire(controller);
    EXPECT_EQ(wire.exchange(command("@ORGC ")), "OK\r\n");
    EXPECT_EQ(wire.exchange(command("@?PRM ", "35")), "1234\r\nOK\r\n");
    EXPECT_EQ(wire.exchange(command("@?POS ")), "0.00\r\nOK\r\n");
    EXPECT_EQ(wire.exchange(command("@INIT ORG ")), "OK\r\n");
    EXPECT_EQ(wire.exchange(command("@?PRM ", "35")), "0\r\nOK\r\n");
    EXPECT_EQ(wire.exchange(command("@?POS ")), "12.34\r\nOK\r\n");
}

TEST(Controller, WrittenOriginShiftMovesTheReportedPosition)
{
    sim::Controller controller(quick());
    Wire wire(controller);
    ASSERT_EQ(wire.exchange(command("@WRITE PRM ")), "READY\r\n");
    wire.exchangeSilent("PRM35=-250\r\n", 10);
    ASSERT_EQ(wire.exchange("\x1a"), "OK\r\n");
    EXPECT_EQ(wire.exchange(command("@?POS ")), "2.50\r\nOK\r\n");
}

// ---- framing ----------------------------------------------------------------------------

TEST(Controller, RecordsEveryEntryByteForByte)
{
    sim::Controller controller(quick());
    Wire wire(controller);
    controller.receive("@?P");
    controller.receive("RM 13,\r");
    EXPECT_EQ(wire.exchange("\n"), "0\r\nOK\r\n");
    wire.exchange("@?VER ,\r\n@?POS ,\r\n");
    wire.exchangeSilent("@?PR\x03", 50);
    const QList<QByteArray> expected = {"@?PRM 13,\r\n", "@?VER ,\r\n", "@?POS ,\r\n", "@?PR",
                                        "\x03"};
    EXPECT_EQ(controller.receivedLines(), expected);
}

TEST(Controller, AnswersCommandsOfOneChunkInOrder)
{
    sim::Controller controller(quick());
    Wire wire(controller);
    controller.receive("@?VER ,\r\n@?PRM 21,\r\n@?SRVO ,\r\n");
    EXPECT_TRUE(QTest::qWaitFor([&] { return wire.out.count("OK\r\n") == 3; }, 3000));
    EXPECT_EQ(wire.out, "1.10\r\nOK\r\n360\r\nOK\r\n1\r\nOK\r\n");
}

TEST(Controller, FragmentCutOffByBreakGetsNoAnswer)
{
    sim::Controller controller(quick());
    Wire wire(controller);
    EXPECT_EQ(wire.exchange("@INIT P\x03"), "OK\r\n");
    EXPECT_EQ(controller.receivedLines().size(), 2);
}

TEST(Controller, OverlongLineIsRefusedOnce)
{
    sim::Controller controller(quick());
    Wire wire(controller);
    QByteArray reply = wire.exchange(QByteArray(1000, 'A'));
    EXPECT_EQ(reply, "NG\r\nE-02 FORMAT ERROR\r\n");
    EXPECT_EQ(wire.exchangeSilent("AAAA\r\n", 50), "");
    EXPECT_EQ(wire.exchange(command("@?PRM ", "13")), "0\r\nOK\r\n");
}

TEST(Controller, LatencyKeepsRepliesInOrder)
{
    sim::Options o = quick();
    o.latencyMs = 30;
    sim::Controller controller(o);
    Wire wire(controller);
    controller.receive(command("@?VER "));
    controller.options().latencyMs = 0;
    controller.receive(command("@?PRM ", "13"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return wire.out.count("OK\r\n") == 2; }, 3000));
    EXPECT_EQ(wire.out, "1.10\r\nOK\r\n0\r\nOK\r\n");
}

}  // namespace
