// Which entry each reply answers, and a held jog's answer that comes late.
#include "SimTestSupport.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

using simtest::command;

namespace {

constexpr char kStop[] = "STOP\r\nSTOPPED\r\n";

struct HeldCase {
    const char* name;
    int delayMs;
    int latencyMs;
    QByteArray beforeBreak;  // what has come 50 ms after the jog command
};

class HeldReply : public ::testing::TestWithParam<HeldCase> {};

TEST_P(HeldReply, ComesBeforeTheStopReply)
{
    const HeldCase& c = GetParam();
    sim::Options o;
    o.heldReplyDelayMs = c.delayMs;
    o.latencyMs = c.latencyMs;
    sim::Controller controller(o);
    QByteArray out;
    qint64 firstAt = -1;
    QElapsedTimer clock;
    QObject::connect(&controller, &sim::Controller::transmit, &controller,
                     [&](const QByteArray& bytes) {
                         if (out.isEmpty())
                             firstAt = clock.elapsed();
                         out += bytes;
                     });
    clock.start();
    controller.receive(command("@XINC "));
    EXPECT_TRUE(controller.moving());
    QTest::qWait(50);
    EXPECT_EQ(out, c.beforeBreak);
    EXPECT_TRUE(controller.moving());
    controller.receive("\x03");
    EXPECT_FALSE(controller.moving());
    ASSERT_TRUE(QTest::qWaitFor([&] { return out.endsWith(kStop); }, 3000)) << out.constData();
    EXPECT_EQ(out, QByteArray("OK\r\n") + kStop);
    EXPECT_GE(firstAt, c.delayMs + c.latencyMs);
}

INSTANTIATE_TEST_SUITE_P(ControllerReply, HeldReply,
                         ::testing::Values(HeldCase{"NoDelay", 0, 0, "OK\r\n"},
                                           HeldCase{"Delayed", 200, 0, ""},
                                           HeldCase{"DelayOnTopOfLatency", 150, 100, ""}),
                         [](const auto& info) { return std::string(info.param.name); });

using Logged = sim::Controller::ReplyRecord;

struct LogCase {
    const char* name;
    int motionMs;
    QByteArray faultWord;       // armed with kGarbage if not empty
    QList<QByteArray> entries;  // sent back to back
    QList<Logged> log;          // indices count the "@?VER " sent before and cleared
};

constexpr char kGarbage[] = "#~";

class ReplyLog : public ::testing::TestWithParam<LogCase> {};

TEST_P(ReplyLog, NamesTheEntryEachReplyAnswers)
{
    const LogCase& c = GetParam();
    sim::Options o;
    o.motionMs = c.motionMs;
    o.heldReplyDelayMs = 30;
    sim::Controller controller(o);
    QList<Logged> signalled;
    QObject::connect(&controller, &sim::Controller::replySent, &controller,
                     [&](int index, const QByteArray& entry, const QByteArray& bytes) {
                         signalled.append({index, entry, bytes});
                     });
    // What went before is forgotten, but still counted.
    simtest::Wire(controller).exchange(command("@?VER "));
    controller.clearReceived();
    controller.clearReplyLog();
    signalled.clear();
    if (!c.faultWord.isEmpty())
        controller.arm(c.faultWord, {sim::Fault::Garbage, kGarbage});

    for (const QByteArray& entry : c.entries)
        controller.receive(entry);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return controller.replyLog().size() >= c.log.size(); }, 3000));
    EXPECT_EQ(controller.entryCount(), 1 + c.entries.size());
    ASSERT_EQ(controller.replyLog().size(), c.log.size());
    ASSERT_EQ(signalled.size(), c.log.size());
    for (qsizetype i = 0; i < c.log.size(); ++i) {
        const auto& r = controller.replyLog()[i];
        EXPECT_EQ(r.entryIndex, c.log[i].entryIndex) << i;
        EXPECT_EQ(r.entry, c.log[i].entry) << i;
        EXPECT_EQ(r.bytes, c.log[i].bytes) << i;
        EXPECT_EQ(signalled[i].entryIndex, r.entryIndex) << i;
        EXPECT_EQ(signalled[i].bytes, r.bytes) << i;
    }
}

const QByteArray kPos = command("@?POS ");
const QByteArray kOrg = command("@ORG ");
const QByteArray kHold = command("@XINC ");
const QByteArray kAt0 = "0.00\r\nOK\r\n";
const QByteArray kOk = "OK\r\n";

INSTANTIATE_TEST_SUITE_P(
    ControllerReply, ReplyLog,
    ::testing::Values(
        LogCase{"Query", 300, {}, {kPos}, {{1, kPos, kAt0}}},
        LogCase{"Garbage", 300, "@?POS ", {kPos}, {{1, kPos, kGarbage + kAt0}}},
        LogCase{"MotionEnd", 100, {}, {kOrg, kPos}, {{2, kPos, kAt0}, {1, kOrg, kOk}}},
        LogCase{"Stop", 60000, {}, {kOrg, "\x03"}, {{2, "\x03", kStop}}},
        LogCase{"HeldJogStop", 300, {}, {kHold, "\x03"}, {{1, kHold, kOk}, {2, "\x03", kStop}}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
