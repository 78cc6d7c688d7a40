// Transactions through a real pseudo-terminal, against the controller simulator or a bare
// peer that sends bytes at chosen moments.
#include "LinkFixture.h"
#include "RawPty.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using namespace kap;
using namespace kap::test;

namespace {

// What a main window's link boxes would show.
struct LinkBoxes {
    explicit LinkBoxes(Link& link)
    {
        QObject::connect(&link, &Link::lineSent, &link, [this](const QString& t) { comS = t; });
        QObject::connect(&link, &Link::replyReceived, &link,
                         [this](const QString& t) { comR = t; });
        QObject::connect(&link, &Link::errorLineReceived, &link,
                         [this](const QString& t) { error = t; });
    }
    QString comS, comR, error;
};

// The line is free again: a next exchange goes out without waiting for an earlier one. A
// guard frees a line left held after a second, so that fails the test instead of hanging it.
void expectLineFree(Link& link, ProgramState& state)
{
    bool waited = false;
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [&] {
        waited = true;
        state.setBusy(false);
    });
    guard.start(1000);
    link.exchange(cmd::QVER, {}, 200);
    EXPECT_FALSE(waited) << "the next exchange waited for the line";
}

class Transactions : public LinkFixture {
protected:
    LinkBoxes window{link};
};

// A peer on a bare pty that answers the first line it receives with a script of
// (delay, bytes) pieces.
struct ScriptedPeer {
    RawPty pty;
    PortOverride port{1, pty.path()};
    explicit ScriptedPeer(QList<QPair<int, QByteArray>> script)
    {
        pty.onReceive = [this, script](const QByteArray&) {
            if (answered)
                return;
            answered = true;
            for (const auto& [ms, bytes] : script)
                pty.sendAfter(ms, bytes);
        };
    }
    bool answered = false;
};

}  // namespace

TEST_F(Transactions, QueryAndReplyThroughTheSimulator)
{
    SimLine sim({.family = 1});
    const Outcome out = send(cmd::QPRM, "13");
    EXPECT_FALSE(out.timedOut);
    EXPECT_FALSE(out.lineFailed);
    EXPECT_EQ(out.reply, "1\r\nOK\r\n");
    ASSERT_EQ(sim.controller.receivedLines().size(), 1);
    EXPECT_EQ(sim.controller.receivedLines().at(0), QByteArray("@?PRM 13,\r\n"));
    EXPECT_EQ(window.comS, "@?PRM 13,\r\n");
    EXPECT_EQ(window.comR, "1\r\nOK\r\n");
    EXPECT_FALSE(serial.isOpen()) << "the port is open only during a transaction";
    expectLineFree(link, clean);
}

TEST_F(Transactions, ThePortIsOpenWhileTheTransactionWaits)
{
    SimLine sim({.motionMs = 300});
    bool openDuringWait = false;
    QTimer::singleShot(100, [&] { openDuringWait = serial.isOpen() && clean.busy(); });
    const Outcome out = send(cmd::ORG);
    EXPECT_TRUE(openDuringWait);
    EXPECT_EQ(out.reply, "OK\r\n");
    EXPECT_FALSE(serial.isOpen());
}

TEST_F(Transactions, APacedReplyArrivingInPiecesIsJoined)
{
    SimLine sim({.pacing = true});
    const Outcome out = send(cmd::READ_PRM, {}, 5000);
    EXPECT_FALSE(out.timedOut);
    EXPECT_TRUE(out.reply.startsWith("PRM0="));
    EXPECT_TRUE(out.reply.endsWith("PRM63=" + QString::fromLatin1(sim.controller.params[63])
                                   + "\r\nOK\r\n"));
}

TEST_F(Transactions, CollectionEndsAtTheFirstReplyWordWithItsLineEnd)
{
    // "OK" inside a data line without CR LF after it does not end the reply; "OK" CR LF does,
    // and whatever follows it is not waited for.
    ScriptedPeer peer({{0, "TOOK 5\r\n"}, {50, "1\r\nOK"}, {100, "\r\n"}, {150, "TRAILING\r\n"}});
    const Outcome out = send(cmd::QPRM, "13", 3000);
    EXPECT_FALSE(out.timedOut);
    EXPECT_EQ(out.reply, "TOOK 5\r\n1\r\nOK\r\n");
}

TEST_F(Transactions, RefusalKeepsReadingForTheErrorLinePastTheDeadline)
{
    ScriptedPeer peer({{0, "NG\r\n"}, {400, "E-05 OUT OF RANGE"}, {450, "\r\n"}});
    const Outcome out = send(cmd::QPRM, "99", 200);
    EXPECT_FALSE(out.timedOut) << "the reply word came in time";
    EXPECT_EQ(out.reply, "NG\r\nE-05 OUT OF RANGE\r\n");
    EXPECT_EQ(window.error, "NG\r\nE-05 OUT OF RANGE\r\n");
    EXPECT_EQ(window.comR, out.reply);
}

TEST_F(Transactions, AMissingErrorLineEndsAtTheBound)
{
    ScriptedPeer peer({{0, "NG\r\nE-0"}});
    link.setTimeScale(0.1);  // the bound is 100 ms then
    QElapsedTimer clock;
    clock.start();
    const Outcome out = send(cmd::QPRM, "99", 1000);
    EXPECT_GE(clock.elapsed(), Link::kErrorLineBoundMs * 0.1 - 5) << "waits for the line a while";
    EXPECT_LT(clock.elapsed(), 100 + Link::kErrorLineBoundMs * 0.1 + 2000)
        << "never waits for ever";
    EXPECT_FALSE(out.timedOut);
    EXPECT_EQ(out.reply, "NG\r\nE-0");
    EXPECT_EQ(window.error, "") << "no complete error line to show";
}

TEST_F(Transactions, StopAndRefusalTogetherShowTheRefusal)
{
    ScriptedPeer peer({{0, "STOP\r\nSTOPPED\r\nNG\r\nE-09 BUSY\r\n"}});
    const Outcome out = send(cmd::ORG);
    EXPECT_EQ(window.error, "NG\r\nE-09 BUSY\r\n");
    EXPECT_FALSE(out.timedOut);
}

TEST_F(Transactions, StopLineGoesToTheErrorBox)
{
    ScriptedPeer peer({{0, "STOP\r\n"}, {30, "STOPPED BY BREAK\r\n"}});
    send(cmd::ORG);
    EXPECT_EQ(window.error, "STOP\r\nSTOPPED BY BREAK\r\n");
}

TEST_F(Transactions, ErrorBoxIsLeftAloneByAPlainReply)
{
    SimLine sim;
    window.error = "earlier";
    send(cmd::QVER);
    EXPECT_EQ(window.error, "earlier");
}

TEST_F(Transactions, SilenceEndsAtTheDeadlineWithTimeout)
{
    SimLine sim;
    sim.controller.arm("@?VER ", {sim::Fault::NoReply, {}, 0});
    const Outcome out = send(cmd::QVER, {}, 150);
    EXPECT_TRUE(out.timedOut);
    EXPECT_EQ(out.reply, "");
    expectLineFree(link, clean);
}

TEST_F(Transactions, CutAndGarbledRepliesTimeOutWithWhatArrived)
{
    SimLine sim;
    sim.controller.arm("@?VER ", {sim::Fault::CutReply, {}, 3});
    Outcome out = send(cmd::QVER, {}, 200);
    EXPECT_TRUE(out.timedOut);
    EXPECT_EQ(out.reply.size(), 3);

    sim.controller.clearFaults();
    sim.controller.arm("@?VER ", {sim::Fault::Garbage, QByteArray("\xff\x00\x13junk", 7)});
    out = send(cmd::QVER, {}, 1000);
    EXPECT_FALSE(out.timedOut);
    EXPECT_TRUE(out.reply.startsWith(QString::fromLatin1(QByteArray("\xff\x00\x13junk", 7))));
    EXPECT_TRUE(out.reply.endsWith("OK\r\n"));
}

TEST_F(Transactions, LineClosedMidReplyEndsAtOnce)
{
    SimLine sim;
    sim.controller.arm("@READ PRM ", {sim::Fault::HangupMidReply, {}, 20});
    QElapsedTimer clock;
    clock.start();
    const Outcome out = send(cmd::READ_PRM, {}, 5000);
    EXPECT_LT(clock.elapsed(), 4000) << "a lost line does not wait for the deadline";
    EXPECT_TRUE(out.lineFailed);
    EXPECT_FALSE(out.timedOut);
    expectLineFree(link, clean);
    EXPECT_FALSE(serial.isOpen());
}

TEST_F(Transactions, BadPortNamesFallBackToCom1)
{
    SimLine sim;  // serves COM1
    for (const char* name : {"COM9", "COM0", "COM12", "COM", "com2", "COM3 ", "", "LPT1"}) {
        clean.portName = QString::fromLatin1(name);
        sim.controller.clearReceived();
        const Outcome out = send(cmd::QVER);
        EXPECT_EQ(clean.portName, "COM1") << name;
        EXPECT_EQ(out.reply, "1.10\r\nOK\r\n") << name;
        EXPECT_EQ(sim.controller.receivedLines().size(), 1) << name;
    }
}

TEST_F(Transactions, AMissingDeviceEndsAtOnceWithAnEmptyReply)
{
    PortOverride port(1, "/nonexistent/tty-kap-test");
    window.comS = "before";
    QElapsedTimer clock;
    clock.start();
    const Outcome out = send(cmd::QVER, {}, 3000);
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_TRUE(out.lineFailed);
    EXPECT_FALSE(out.timedOut);
    EXPECT_EQ(out.reply, "");
    expectLineFree(link, clean);
    EXPECT_EQ(window.comS, "before") << "nothing was sent";
}

TEST_F(Transactions, ACommandRequestedDuringAWaitGoesOutAfterIt)
{
    SimLine sim({.motionMs = 400});
    QtSerialLine otherSerial;
    Link other(otherSerial, clean, clean.replyTimeout);
    Outcome inner;
    QStringList events;
    QObject::connect(&link, &Link::replyReceived, [&] { events << "outer answered"; });
    QObject::connect(&other, &Link::lineSent, [&] { events << "inner sent"; });
    // A Stop-like command requested from an event handler while "@ORG " waits.
    QTimer::singleShot(100, [&] { inner = other.exchange(cmd::QPOS); });
    const Outcome outer = send(cmd::ORG, {}, 30000);
    EXPECT_EQ(events, (QStringList{"outer answered", "inner sent"}));
    EXPECT_EQ(outer.reply, "OK\r\n");
    EXPECT_FALSE(outer.timedOut);
    EXPECT_TRUE(inner.reply.endsWith("\r\nOK\r\n"));
    EXPECT_NE(inner.reply, "OK\r\n");
    ASSERT_EQ(sim.controller.receivedLines().size(), 2);
    EXPECT_EQ(sim.controller.receivedLines().at(0), QByteArray("@ORG ,\r\n"));
    EXPECT_EQ(sim.controller.receivedLines().at(1), QByteArray("@?POS ,\r\n"));
}

TEST_F(Transactions, SameWindowQueuedCommandsKeepTheirLinesAndOutcomes)
{
    SimLine sim({.motionMs = 300});
    Outcome first, second;
    // The second is asked for while the first waits its turn: each still sends its own line.
    QTimer::singleShot(50, [&] {
        QTimer::singleShot(50, [&] { second = send(cmd::QVER, {}, 30000); });
        first = send(cmd::QPRM, "13", 30000);
    });
    const Outcome outer = send(cmd::ORG, {}, 30000);
    EXPECT_EQ(first.reply, "0\r\nOK\r\n");
    EXPECT_TRUE(second.reply.endsWith("\r\nOK\r\n"));
    EXPECT_NE(second.reply, first.reply);
    EXPECT_EQ(outer.reply, "OK\r\n");
    EXPECT_EQ(sim.controller.receivedLines(),
              (QList<QByteArray>{"@ORG ,\r\n", "@?VER ,\r\n", "@?PRM 13,\r\n"}));
}

TEST_F(Transactions, BreakByteDuringAWaitStopsTheMotion)
{
    SimLine sim({.motionMs = 5000});
    QTimer::singleShot(100, [&] {
        clean.replyTimeout.set(22000);
        link.writeBreakNow();
    });
    QElapsedTimer clock;
    clock.start();
    const Outcome out = send(cmd::ORG, {}, 30000);
    EXPECT_LT(clock.elapsed(), 4000);
    EXPECT_TRUE(out.reply.startsWith("STOP\r\n"));
    EXPECT_FALSE(out.timedOut);
    EXPECT_TRUE(window.error.startsWith("STOP\r\n"));
    ASSERT_EQ(sim.controller.receivedLines().size(), 2);
    EXPECT_EQ(sim.controller.receivedLines().at(1), QByteArray("\x03"));
}

// A stop character written into a motion's wait is answered too: with "STOP" alone when it
// stopped the motion, or after the motion's own answer. The motion's exchange reads both, so
// the next command reads its own answer; a missing second answer costs a bounded wait.
TEST_F(Transactions, AStopCharactersAnswerIsReadByTheExchangeItInterrupted)
{
    const struct {
        const char* name;
        int ownAnswerMs;  // -1: the motion is not answered on its own
        QByteArray ownAnswer;
        QByteArray breakAnswer;  // empty: lost
        QString expected;
        int atMostMs;
    } cases[] = {
        {"stopped motion", -1, {}, "STOP\r\nSTOPPED\r\n", "STOP\r\nSTOPPED\r\n", 400},
        {"refused, then the stop", 150, "NG\r\nE1\r\n", "OK\r\n", "NG\r\nE1\r\n", 600},
        {"ended, then the stop", 150, "OK\r\n", "OK\r\n", "OK\r\n", 600},
        {"refused, stop unanswered", 150, "NG\r\nE1\r\n", {}, "NG\r\nE1\r\n", 1000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        link.setTimeScale(0.5);
        RawPty pty;
        PortOverride port{1, pty.path()};
        pty.onReceive = [&](const QByteArray& bytes) {
            if (bytes.startsWith("@ORG") && c.ownAnswerMs >= 0)
                pty.sendAfter(c.ownAnswerMs, c.ownAnswer);
            else if (bytes == "\x03" && !c.breakAnswer.isEmpty())
                pty.sendAfter(150, c.breakAnswer);
            else if (bytes.startsWith("@?POS"))
                pty.sendAfter(100, "12.00\r\nOK\r\n");
        };
        QTimer::singleShot(50, [&] { link.writeBreakNow(); });
        QElapsedTimer clock;
        clock.start();
        const Outcome out = send(cmd::ORG, {}, 30000);
        EXPECT_LT(clock.elapsed(), c.atMostMs);
        EXPECT_EQ(out.reply, c.expected);
        EXPECT_FALSE(out.timedOut);
        EXPECT_EQ(send(cmd::QPOS).reply, "12.00\r\nOK\r\n");
    }
}

// Only the STOP dialog's time-out moves the deadline of the wait in progress; any other
// change (a handler inside the wait setting one for its own exchange) is for the next.
TEST_F(Transactions, OnlyAWaitTimeoutMovesTheDeadline)
{
    const struct {
        const char* name;
        std::function<void()> change;
        bool timesOut;
    } cases[] = {
        {"for the next exchange", [this] { clean.replyTimeout.set(100); }, false},
        {"for the waiting one", [this] { link.setWaitTimeout(100); }, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SimLine sim({.motionMs = 600});
        QTimer::singleShot(50, c.change);
        QElapsedTimer clock;
        clock.start();
        const Outcome out = send(cmd::ORG, {}, 30000);
        EXPECT_EQ(out.timedOut, c.timesOut);
        EXPECT_EQ(clock.elapsed() < 450, c.timesOut) << clock.elapsed();
    }
}

// Bytes that come while no exchange waits (here a second answer after a held jog's, whose
// port stays open for the stop) are not the next exchange's answer.
TEST_F(Transactions, BytesNobodyWaitsForAreDroppedAsStray)
{
    ScriptedPeer peer({{0, "OK\r\n"}, {100, "STOP\r\n"}});
    EXPECT_EQ(send(cmd::XINC).reply, "OK\r\n");
    QEventLoop wait;
    QTimer::singleShot(250, &wait, &QEventLoop::quit);
    wait.exec();
    const Outcome next = send(cmd::QPOS, {}, 50);
    EXPECT_TRUE(next.timedOut);
    EXPECT_EQ(next.reply, "") << "the earlier answer was read as this one's";
    EXPECT_EQ(link.log().lines().filter("(stray, dropped) STOP<CR><LF>").size(), 1)
        << link.log().lines().join('\n').toStdString();
}

// An answer that comes just after its exchange timed out is dropped by the next exchange,
// which first gives it a moment, instead of being read as that exchange's own. The moment is
// part of the next exchange: a command asked for inside it goes out after it, and a stop
// character written inside it means its line never goes out.
namespace {
// What happens while an exchange waits before its line goes out.
enum class During { Nothing, AnotherCommand, StopCharacter };
}  // namespace

TEST_F(Transactions, AnAnswerAfterItsTimeOutIsNotTheNextOnes)
{
    const struct {
        const char* name;
        During during;
        QByteArray nextReply;
        QList<QByteArray> written;  // after the time-out's own line
    } cases[] = {
        {"plain", During::Nothing, "12.00\r\nOK\r\n", {"@?POS "}},
        {"a command inside the wait",
         During::AnotherCommand,
         "12.00\r\nOK\r\n",
         {"@?POS ", "@?POS "}},
        {"stopped inside the wait", During::StopCharacter, "STOP\r\nSTOPPED\r\n", {"\x03"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RawPty pty;
        PortOverride port{1, pty.path()};
        QList<QByteArray> written;
        pty.onReceive = [&](const QByteArray& bytes) {
            written << bytes.left(bytes.startsWith("@") ? 6 : 1);
            if (bytes.startsWith("@?PRM"))
                ;  // answered late, below
            else if (bytes.startsWith("@?POS") || bytes.startsWith("@ORG"))
                pty.send(bytes.startsWith("@ORG") ? "OK\r\n" : "12.00\r\nOK\r\n");
            else if (bytes == "\x03")
                pty.send("STOP\r\nSTOPPED\r\n");
        };
        // The answer comes 10 ms after the time-out, once the next exchange holds the port.
        const auto late = QObject::connect(&link.log(), &ExchangeLog::entryRecorded, [&](auto& e) {
            if (e.kind == ExchangeEntry::Kind::Timeout)
                pty.sendAfter(10, "7\r\nOK\r\n");
        });
        EXPECT_TRUE(send(cmd::QPRM, "35", 100).timedOut);
        QObject::disconnect(late);
        Outcome inner;
        QTimer::singleShot(Link::kLateAnswerSettleMs * 4 / 5, [&] {
            if (c.during == During::AnotherCommand)
                inner = send(cmd::QPOS);
            else if (c.during == During::StopCharacter)
                link.writeBreakNow();
        });
        const Outcome next = send(c.during == During::StopCharacter ? cmd::ORG : cmd::QPOS);
        EXPECT_EQ(next.reply, c.nextReply);
        if (c.during == During::AnotherCommand) {
            EXPECT_EQ(inner.reply, "12.00\r\nOK\r\n");
        }
        written.removeFirst();
        EXPECT_EQ(written, c.written);
        EXPECT_EQ(link.log().lines().filter("(stray, dropped) 7<CR><LF>OK<CR><LF>").size(), 1)
            << link.log().lines().join('\n').toStdString();
        link.log().clear();
    }
}

// The moment a transaction looks at the line is the moment the line tells it bytes arrived.
// This fake line holds bytes back from that notification, which a pty cannot do on demand.
namespace {
class HeldBackLine : public SerialLine {
public:
    bool open(const QString&) override { return open_ = true; }
    void close() override { open_ = false; }
    bool isOpen() const override { return open_; }
    bool write(const QByteArray& b) override
    {
        written += b;
        return true;
    }
    QByteArray readAvailable() override { return std::exchange(pending, {}); }
    void discardBuffers() override { pending.clear(); }
    void discardInput() override { pending.clear(); }
    QString errorString() const override { return {}; }
    QByteArray pending, written;
    bool open_ = false;
};
}  // namespace

TEST(TransactionDeadline, AReplyWordInTheFirstReadAfterTheDeadlineStillTimesOut)
{
    ScratchState clean;
    HeldBackLine line;
    ReplyTimeout timeout(100);
    Link link(line, clean, timeout);
    // The word lands in the buffer before the deadline, but nothing reads it until then.
    QTimer::singleShot(20, [&] { line.pending = "1.10\r\nOK\r\n"; });
    const Outcome out = link.exchange(cmd::QVER);
    EXPECT_EQ(out.reply, "1.10\r\nOK\r\n");
    EXPECT_TRUE(out.timedOut);
    EXPECT_EQ(line.written, "@?VER ,\r\n");
}

TEST_F(Transactions, ReopensTheLineForEveryTransactionWithItsSettings)
{
    RawPty pty;
    PortOverride port(1, pty.path());
    pty.onReceive = [&](const QByteArray&) { pty.send("1.10\r\nOK\r\n"); };
    for (int i = 0; i < 3; ++i) {
        const Outcome out = send(cmd::QVER, {}, 500);
        EXPECT_EQ(out.reply, "1.10\r\nOK\r\n") << "transaction " << i;
        EXPECT_FALSE(serial.isOpen());
    }
    EXPECT_EQ(pty.received, "@?VER ,\r\n@?VER ,\r\n@?VER ,\r\n");
    // A pty ignores them, so the line settings are checked on the port object.
    ASSERT_NE(serial.port(), nullptr);
    EXPECT_EQ(serial.port()->baudRate(), 9600);
    EXPECT_EQ(serial.port()->parity(), QSerialPort::OddParity);
    EXPECT_EQ(serial.port()->dataBits(), QSerialPort::Data8);
    EXPECT_EQ(serial.port()->stopBits(), QSerialPort::OneStop);
    EXPECT_EQ(serial.port()->flowControl(), QSerialPort::NoFlowControl);
}

namespace {

QStringList* capturedLog = nullptr;

void captureLog(QtMsgType, const QMessageLogContext& context, const QString& text)
{
    if (capturedLog && QByteArray(context.category) == "kap.link")
        capturedLog->append(text);
}

}  // namespace

TEST_F(Transactions, TheLinkLogsLinesTimeOutsAndWhyAPortWouldNotOpen)
{
    QStringList log;
    capturedLog = &log;
    QLoggingCategory::setFilterRules(QStringLiteral("kap.link=true"));
    const QtMessageHandler previous = qInstallMessageHandler(captureLog);
    {
        SimLine sim;
        send(cmd::QVER);
        sim.controller.arm("@?VER ", {sim::Fault::NoReply, {}, 0});
        send(cmd::QVER, {}, 50);
    }
    {
        PortOverride port(1, "/nonexistent/tty-kap-test");
        send(cmd::QVER);
    }
    qInstallMessageHandler(previous);
    QLoggingCategory::setFilterRules(QString());
    capturedLog = nullptr;

    const QString all = log.join(QLatin1Char('\n'));
    EXPECT_TRUE(all.contains("sent \"@?VER ,<CR><LF>\"")) << all.toStdString();
    EXPECT_TRUE(all.contains("received \"1.10<CR><LF>OK<CR><LF>\"")) << all.toStdString();
    EXPECT_TRUE(all.contains("no reply word within 50 ms")) << all.toStdString();
    EXPECT_TRUE(all.contains("/nonexistent/tty-kap-test")) << all.toStdString();
    EXPECT_TRUE(all.contains("no such device")) << all.toStdString();
}

// A line that connects first (as one to a serial server does) and answers every line it is
// written at once.
namespace {
class ConnectingLine : public SerialLine {
public:
    bool open(const QString&) override { return false; }
    OpenStart beginOpen(const QString&) override
    {
        QTimer::singleShot(30, this, [this] {
            open_ = connects;
            emit openFinished(connects);
        });
        return OpenStart::Pending;
    }
    void close() override { open_ = false; }
    bool isOpen() const override { return open_; }
    bool write(const QByteArray& b) override
    {
        written << b;
        pending += b == "\x03" ? "STOP\r\nSTOPPED\r\n" : "OK\r\n";
        QTimer::singleShot(1, this, [this] { emit bytesArrived(); });
        return true;
    }
    QByteArray readAvailable() override { return std::exchange(pending, {}); }
    void discardBuffers() override { pending.clear(); }
    void discardInput() override { pending.clear(); }
    QString errorString() const override { return connects ? QString() : "connection refused"; }
    bool connects = true;
    bool open_ = false;
    QByteArray pending;
    QList<QByteArray> written;
};
}  // namespace

// The connection is part of the exchange: handlers run inside it, a command asked for
// meanwhile goes out after it, and a stop character asked for meanwhile goes out in place of
// the exchange's line (a motion must not start after Stop).
TEST(TransactionConnecting, TheWaitForAConnectionIsTheExchanges)
{
    const struct {
        const char* name;
        bool connects;
        During during;
        QString reply;
        QList<QByteArray> written;
    } cases[] = {
        {"connects", true, During::Nothing, "OK\r\n", {"@ORG ,\r\n"}},
        {"refused", false, During::Nothing, "", {}},
        {"a command inside", true, During::AnotherCommand, "OK\r\n", {"@ORG ,\r\n", "@?VER ,\r\n"}},
        {"stopped inside", true, During::StopCharacter, "STOP\r\nSTOPPED\r\n", {"\x03"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchState clean;
        ConnectingLine line;
        line.connects = c.connects;
        ReplyTimeout timeout(1000);
        Link link(line, clean, timeout);
        QStringList failures;
        QObject::connect(&link, &Link::portFailed, [&](const QString& why) { failures << why; });
        const auto ask = [&](qint16 code) { return link.exchange(code); };
        Outcome inner;
        QTimer::singleShot(10, [&] {
            if (c.during == During::AnotherCommand)
                inner = ask(cmd::QVER);
            else if (c.during == During::StopCharacter)
                link.writeBreakNow();
        });
        QElapsedTimer clock;
        clock.start();
        const Outcome out = ask(cmd::ORG);
        EXPECT_LT(clock.elapsed(), 500);
        EXPECT_EQ(out.reply, c.reply);
        EXPECT_EQ(out.lineFailed, !c.connects);
        EXPECT_EQ(line.written, c.written);
        EXPECT_EQ(failures, c.connects ? QStringList() : QStringList{"connection refused"});
        expectLineFree(link, clean);
        if (c.during == During::AnotherCommand) {
            EXPECT_EQ(inner.reply, "OK\r\n");
        }
    }
}
