// Motions, breaks and the digital-I/O reply of the simulated controller.
#include "SimTestSupport.h"

#include <gtest/gtest.h>

using simtest::command;
using simtest::Wire;

namespace {

sim::Options withMotion(int ms)
{
    sim::Options o;
    o.motionMs = ms;
    return o;
}

void seedPoints(sim::Controller& c)
{
    c.points[1] = {"A", "90.00", "50"};
    c.points[3] = {"I", "45.00", "30"};
    c.points[4] = {"B", "1", ""};
    c.points[5] = {"A", "-30.00", "100"};
}

TEST(ControllerMotion, ReturnToOriginEstablishesTheOrigin)
{
    sim::Controller controller(withMotion(20));
    controller.position = 33.0;
    Wire wire(controller);
    EXPECT_EQ(wire.exchange(command("@ORG ")), "OK\r\n");
    EXPECT_EQ(wire.exchange(command("@?ORG ")), "1\r\nOK\r\n");
    EXPECT_EQ(wire.exchange(command("@?POS ")), "0.00\r\nOK\r\n");
}

struct MoveCase {
    const char* name;
    QList<int> points;  // moved to in turn
    QByteArray position;
};

class Move : public ::testing::TestWithParam<MoveCase> {};

TEST_P(Move, EndsAtTheTarget)
{
    sim::Controller controller(withMotion(10));
    seedPoints(controller);
    Wire wire(controller);
    for (const int n : GetParam().points)
        ASSERT_EQ(wire.exchange(command("@MOVP ", QByteArray::number(n))), "OK\r\n") << n;
    EXPECT_EQ(wire.exchange(command("@?POS ")), GetParam().position + "\r\nOK\r\n");
}

INSTANTIATE_TEST_SUITE_P(ControllerMotion, Move,
                         ::testing::Values(MoveCase{"Absolute", {1}, "90.00"},
                                           MoveCase{"Increment", {1, 3, 3}, "180.00"},
                                           MoveCase{"Negative", {5}, "-30.00"},
                                           MoveCase{"BrakePointDoesNotMove", {1, 4}, "90.00"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ControllerMotion, BrakePointEngagesTheBrake)
{
    sim::Controller controller(withMotion(10));
    seedPoints(controller);
    Wire wire(controller);
    ASSERT_EQ(wire.exchange(command("@MOVP ", "4")), "OK\r\n");
    EXPECT_EQ(wire.exchange(command("@?BRK ")), "1\r\nOK\r\n");
}

struct RefusedMoveCase {
    const char* name;
    QByteArray line;
    QByteArray error;
};

class RefusedMove : public ::testing::TestWithParam<RefusedMoveCase> {};

TEST_P(RefusedMove, SaysWhy)
{
    sim::Controller controller(withMotion(10));
    seedPoints(controller);
    Wire wire(controller);
    EXPECT_EQ(wire.exchange(GetParam().line), "NG\r\n" + GetParam().error + "\r\n");
    EXPECT_FALSE(controller.moving());
}

INSTANTIATE_TEST_SUITE_P(
    ControllerMotion, RefusedMove,
    ::testing::Values(RefusedMoveCase{"UndefinedPoint", "@MOVP 2,\r\n", "E-06 POINT NOT DEFINED"},
                      RefusedMoveCase{"PointNumber", "@MOVP 64,\r\n", "E-03 VALUE ERROR"},
                      RefusedMoveCase{"NoNumber", "@MOVP ,\r\n", "E-03 VALUE ERROR"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ControllerMotion, AlarmRefusesMotion)
{
    sim::Controller controller(withMotion(10));
    seedPoints(controller);
    controller.alarm = true;
    Wire wire(controller);
    EXPECT_EQ(wire.exchange(command("@MOVP ", "1")), "NG\r\nE-08 ALARM ACTIVE\r\n");
    EXPECT_EQ(wire.exchange(command("@ALR ")), "OK\r\n");
    EXPECT_EQ(wire.exchange(command("@MOVP ", "1")), "OK\r\n");
}

TEST(ControllerMotion, SecondMotionWhileMovingIsRefused)
{
    sim::Controller controller(withMotion(60000));
    seedPoints(controller);
    Wire wire(controller);
    EXPECT_EQ(wire.exchangeSilent(command("@ORG "), 10), "");
    EXPECT_TRUE(controller.moving());
    EXPECT_EQ(wire.exchange(command("@MOVP ", "1")), "NG\r\nE-04 BUSY\r\n");
    EXPECT_EQ(wire.exchange("\x03"), "STOP\r\nSTOPPED\r\n");
}

TEST(ControllerMotion, BreakStopsAReturnToOriginAtOnce)
{
    sim::Controller controller(withMotion(60000));
    Wire wire(controller);
    EXPECT_EQ(wire.exchangeSilent(command("@ORG "), 10), "");
    EXPECT_EQ(wire.exchange("\x03"), "STOP\r\nSTOPPED\r\n");
    EXPECT_FALSE(controller.moving());
    EXPECT_EQ(wire.exchange(command("@?ORG ")), "0\r\nOK\r\n");
    // No late "OK" for the stopped motion follows.
    EXPECT_EQ(wire.exchange("\x03"), "OK\r\n");
}

struct HoldCase {
    const char* name;
    QByteArray line;
    int sign;
};

class HeldJog : public ::testing::TestWithParam<HoldCase> {};

TEST_P(HeldJog, MovesUntilTheBreak)
{
    sim::Controller controller(withMotion(10));
    Wire wire(controller);
    EXPECT_EQ(wire.exchange(GetParam().line), "OK\r\n");
    EXPECT_TRUE(controller.moving());
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            wire.out.clear();
            controller.receive(command("@?POS "));
            QTest::qWait(20);
            return !wire.out.isEmpty() && !wire.out.startsWith("0.00");
        },
        5000));
    EXPECT_EQ(wire.exchange("\x03"), "STOP\r\nSTOPPED\r\n");
    EXPECT_FALSE(controller.moving());
    EXPECT_GT(controller.position * GetParam().sign, 0.0);
}

INSTANTIATE_TEST_SUITE_P(ControllerMotion, HeldJog,
                         ::testing::Values(HoldCase{"Inc", "@XINC ,\r\n", +1},
                                           HoldCase{"Dec", "@XDEC ,\r\n", -1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ControllerMotion, StepJogMovesByTheTeachingUnit)
{
    sim::Controller controller(withMotion(10));
    Wire wire(controller);
    EXPECT_EQ(wire.exchange(command("@X+ ")), "OK\r\n");
    EXPECT_EQ(wire.exchange(command("@X+ ")), "OK\r\n");
    EXPECT_EQ(wire.exchange(command("@X- ")), "OK\r\n");
    EXPECT_EQ(wire.exchange(command("@?POS ")), "0.50\r\nOK\r\n");
}

TEST(ControllerMotion, SoftwareLimitRefusesAStepBeyondIt)
{
    sim::Controller controller(withMotion(10));
    controller.params[28] = "1";  // "no limit mode" off
    controller.params[1] = "10";
    controller.position = 9.8;
    Wire wire(controller);
    EXPECT_EQ(wire.exchange(command("@X+ ")), "NG\r\nE-37 SOFTWARE LIMIT\r\n");
    EXPECT_EQ(wire.exchange(command("@X- ")), "OK\r\n");
}

TEST(ControllerMotion, MotionSwitchesTheServoBackOn)
{
    sim::Controller controller(withMotion(10));
    Wire wire(controller);
    EXPECT_EQ(wire.exchange(command("@SRVO ", "0")), "OK\r\n");
    EXPECT_EQ(wire.exchange(command("@?SRVO ")), "0\r\nOK\r\n");
    EXPECT_EQ(wire.exchange(command("@ORG ")), "OK\r\n");
    EXPECT_EQ(wire.exchange(command("@?SRVO ")), "1\r\nOK\r\n");
}

// ---- digital I/O ------------------------------------------------------------------------

struct DioCase {
    const char* name;
    bool shortDio;
    int family;
    bool moving;
    bool alarm;
    bool brake;
    QByteArray reply;
};

class Dio : public ::testing::TestWithParam<DioCase> {};

TEST_P(Dio, LampsSitWhereTheToolReadsThem)
{
    const DioCase& c = GetParam();
    sim::Options o = withMotion(60000);
    o.shortDio = c.shortDio;
    o.family = c.family;
    sim::Controller controller(o);
    controller.points[5] = {"A", "10.00", "50"};
    controller.points[6] = {"A", "20.00", "50"};
    controller.zones[0] = {"5.00", "15.00"};
    Wire wire(controller);
    controller.options().motionMs = 10;
    ASSERT_EQ(wire.exchange(command("@MOVP ", "5")), "OK\r\n");
    controller.options().motionMs = 60000;
    if (c.moving)
        wire.exchangeSilent(command("@MOVP ", "6"), 10);
    controller.alarm = c.alarm;
    controller.brakeOn = c.brake;
    const QByteArray reply = wire.exchange(command("@READ DIO "));
    EXPECT_EQ(reply, c.reply);
    EXPECT_TRUE(reply.startsWith("DO"));
    if (c.shortDio) {
        EXPECT_EQ(reply[7], '\r');
        EXPECT_GT(reply.size(), 21);
    } else {
        EXPECT_NE(reply[7], '\r');
        EXPECT_GT(reply.size(), 23);
    }
}

// Long: lamps 0-3 at characters 5-8, lamps 8-13 at 17-22. Short: lamps 0-3 at 4-7, lamps
// 9-13 at 16-20. Point 5 is 000101 on "Pos 5".."Pos 0" (lamps 8..13).
INSTANTIATE_TEST_SUITE_P(
    ControllerMotion, Dio,
    ::testing::Values(
        DioCase{"LongIdle", false, 0, false, false, false, "DO:00101,DI:0000000101\r\nOK\r\n"},
        DioCase{"LongMoving", false, 0, true, false, false, "DO:00011,DI:0000000110\r\nOK\r\n"},
        DioCase{"LongAlarm", false, 0, false, true, false, "DO:00100,DI:0000000101\r\nOK\r\n"},
        DioCase{"ShortIdle", true, 0, false, false, false, "DO:0101\r\nDI:00000101\r\nOK\r\n"},
        DioCase{"ShortMoving", true, 0, true, false, false, "DO:0011\r\nDI:00000110\r\nOK\r\n"},
        DioCase{"PulseIdle", false, 1, false, false, false, "DO:01111,DI:0000000000\r\nOK\r\n"},
        DioCase{"PulseAlarmBrake", false, 1, false, true, true,
                "DO:01110,DI:0000000101\r\nOK\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- what Operation mode watches and switches -------------------------------------------

TEST(ControllerMotion, PositionMovesTowardTheTargetDuringAMove)
{
    sim::Controller controller(withMotion(1000));
    seedPoints(controller);
    Wire wire(controller);
    EXPECT_EQ(wire.exchangeSilent(command("@MOVP ", "1"), 100), "");
    const QByteArray during = wire.exchange(command("@?POS "));
    const double angle = during.left(during.indexOf('\r')).toDouble();
    EXPECT_GT(angle, 0.0) << during.constData();
    EXPECT_LT(angle, 90.0) << during.constData();
    // The move answers when it ends.
    EXPECT_EQ(wire.exchange({}), "OK\r\n");
    EXPECT_EQ(wire.exchange(command("@?POS ")), "90.00\r\nOK\r\n");
}

struct StyleCase {
    const char* name;
    sim::Options::PositionStyle style;
    double position;
    QByteArray reply;
};

class PositionStyle : public ::testing::TestWithParam<StyleCase> {};

TEST_P(PositionStyle, WritesTheAngleLikeThatController)
{
    sim::Options o = withMotion(10);
    o.positionStyle = GetParam().style;
    sim::Controller controller(o);
    controller.position = GetParam().position;
    Wire wire(controller);
    EXPECT_EQ(wire.exchange(command("@?POS ")), GetParam().reply + "\r\nOK\r\n");
}

using Style = sim::Options::PositionStyle;
INSTANTIATE_TEST_SUITE_P(
    ControllerMotion, PositionStyle,
    ::testing::Values(
        StyleCase{"PlainNegative", Style::Plain, -12.5, "-12.50"},
        StyleCase{"QuestionNegative", Style::Question, -12.5, "?12.50"},
        StyleCase{"QuestionPositive", Style::Question, 12.5, "12.50"},
        StyleCase{"QuestionSignedNegative", Style::QuestionSigned, -12.5, "?-12.50"},
        StyleCase{"SignBytePositive", Style::SignByte, 12.5, QByteArray("\xa5") + "12.50"},
        StyleCase{"SignByteNegative", Style::SignByte, -12.5, QByteArray("\xa5") + "-12.50"}),
    [](const auto& info) { return std::string(info.param.name); });

struct DriveCase {
    const char* name;
    bool moving;
    bool alarm;
    bool originRequired;
    QByteArray line;
    QByteArray reply;
};

class DriveState : public ::testing::TestWithParam<DriveCase> {};

TEST_P(DriveState, AnswersTheCommand)
{
    const DriveCase& c = GetParam();
    sim::Options o = withMotion(60000);
    o.alarm = c.alarm;
    o.originRequired = c.originRequired;
    sim::Controller controller(o);
    seedPoints(controller);
    Wire wire(controller);
    if (c.moving) {
        ASSERT_EQ(wire.exchangeSilent(command("@ORG "), 10), "");
    }
    EXPECT_EQ(wire.exchange(c.line), c.reply);
}

INSTANTIATE_TEST_SUITE_P(
    ControllerMotion, DriveState,
    ::testing::Values(
        DriveCase{"BrakeWhileMoving", true, false, false, "@BRK 1,\r\n", "NG\r\nE-04 BUSY\r\n"},
        DriveCase{"ServoOffWhileMoving", true, false, false, "@SRVO 0,\r\n", "NG\r\nE-04 BUSY\r\n"},
        DriveCase{"AlarmCancelWhileMoving", true, false, false, "@ALR ,\r\n",
                  "NG\r\nE-04 BUSY\r\n"},
        DriveCase{"DeviationClearWhileMoving", true, false, false, "@CCLR ,\r\n",
                  "NG\r\nE-04 BUSY\r\n"},
        DriveCase{"BrakeIdle", false, false, false, "@BRK 1,\r\n", "OK\r\n"},
        DriveCase{"DeviationClearIdle", false, false, false, "@CCLR ,\r\n", "OK\r\n"},
        DriveCase{"ServoOnDuringAlarm", false, true, false, "@SRVO 1,\r\n",
                  "NG\r\nE-08 ALARM ACTIVE\r\n"},
        DriveCase{"ServoOffDuringAlarm", false, true, false, "@SRVO 0,\r\n", "OK\r\n"},
        DriveCase{"JogDuringAlarm", false, true, false, "@XINC ,\r\n",
                  "NG\r\nE-08 ALARM ACTIVE\r\n"},
        DriveCase{"MoveWithoutOrigin", false, false, true, "@MOVP 1,\r\n",
                  "NG\r\nE-07 ORIGIN NOT ESTABLISHED\r\n"},
        DriveCase{"BrakePointWithoutOrigin", false, false, true, "@MOVP 4,\r\n", "OK\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ControllerMotion, ScriptedStartStateUntilCleared)
{
    sim::Options o = withMotion(10);
    o.originEstablished = true;
    o.alarm = true;
    sim::Controller controller(o);
    Wire wire(controller);
    EXPECT_EQ(wire.exchange(command("@?ORG ")), "1\r\nOK\r\n");
    EXPECT_EQ(wire.exchange(command("@READ DIO ")), "DO:00100,DI:0000000000\r\nOK\r\n");
    EXPECT_EQ(wire.exchange(command("@ALR ")), "OK\r\n");
    EXPECT_EQ(wire.exchange(command("@READ DIO ")), "DO:00101,DI:0000000000\r\nOK\r\n");
}

TEST(ControllerMotion, ReturnToOriginLetsARequiredOriginMove)
{
    sim::Options o = withMotion(10);
    o.originRequired = true;
    sim::Controller controller(o);
    seedPoints(controller);
    Wire wire(controller);
    EXPECT_EQ(wire.exchange(command("@MOVP ", "1")), "NG\r\nE-07 ORIGIN NOT ESTABLISHED\r\n");
    EXPECT_EQ(wire.exchange(command("@ORG ")), "OK\r\n");
    EXPECT_EQ(wire.exchange(command("@MOVP ", "1")), "OK\r\n");
}

}  // namespace
