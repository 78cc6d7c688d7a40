// The data commands through ser2net, the serial device server users run, in both of its
// accepters: Telnet with RFC 2217 and a raw TCP socket. Each case is judged against the same
// case on the local pty, not against figures of its own.
#include "ExchangeRig.h"
#include "Ser2net.h"
#include "platform/NetworkSerialLine.h"
#include "platform/QtSerialLine.h"

#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>

using namespace kap;
using namespace kap::test;

namespace {

#define SKIP_WITHOUT_SER2NET()                                                                     \
    if (Ser2net::program().isEmpty())                                                              \
    GTEST_SKIP() << "ser2net is not installed; scripts/install-deps.sh installs it"

struct Accepter {
    const char* name;
    QString (Ser2net::*address)(int) const;
};
const Accepter kAccepters[] = {{"rfc2217", &Ser2net::rfc2217Address},
                               {"tcp", &Ser2net::tcpAddress}};

constexpr double kShort = 0.05;

// A rig whose COM1 is the simulator's pty, or ser2net serving that pty.
struct Rig : ExchangeRig {
    explicit Rig(const Accepter* accepter, sim::Options options = pointOptions())
        : ExchangeRig(options)
    {
        session.setTimeScale(kShort);
        if (!accepter)
            return;
        server = std::make_unique<Ser2net>(sim.server.path());
        if (!server->started())
            ADD_FAILURE() << server->errorString().toStdString();
        port = std::make_unique<PortOverride>(1, ((*server).*(accepter->address))(0));
    }
    const NetworkSerialLine* network()
    {
        return static_cast<QtSerialLine&>(session.serialLine()).network();
    }
    QString log() { return session.link().log().lines().join(QLatin1Char('\n')); }

    std::unique_ptr<Ser2net> server;
    std::unique_ptr<PortOverride> port;
};

struct Snapshot {
    QList<QByteArray> sent;
    QList<Box> boxes;
    QStringList cells;
    exchange::Result result;
};

Snapshot snapshot(Rig& rig, exchange::Result result)
{
    QStringList cells;
    for (Grid* grid : {&rig.table(), &rig.params()}) {
        for (int r = 0; r < grid->rows(); ++r) {
            for (int c = 0; c < grid->columns(); ++c)
                cells << grid->text(r, c);
        }
    }
    return {rig.sent(), rig.dialogs.boxes, cells, result};
}

// Receive both tables, change them, and send them back.
Snapshot roundTrip(Rig& rig)
{
    rig.sim.controller.points[3] = {"A", "123.45", "60"};
    for (int op = 0; op < 4; ++op)
        rig.dialogs.answer(MsgAnswer::Yes).ok();
    exchange::Result result = rig.run(Op::ReceiveTable);
    if (result == exchange::Result::Done)
        result = rig.run(Op::ReceiveParameters);
    rig.putPoint(7, "I", "-10.00", "25");
    if (result == exchange::Result::Done)
        result = rig.run(Op::TransmitTable);
    if (result == exchange::Result::Done)
        result = rig.run(Op::TransmitParameters);
    return snapshot(rig, result);
}

}  // namespace

TEST(ThroughSer2net, ExchangesAreByteExact)
{
    SKIP_WITHOUT_SER2NET();
    Rig local(nullptr);
    const Snapshot expected = roundTrip(local);
    ASSERT_EQ(expected.result, exchange::Result::Done);
    for (const Accepter& a : kAccepters) {
        Rig rig(&a);
        const Snapshot got = roundTrip(rig);
        EXPECT_EQ(got.result, exchange::Result::Done) << a.name << "\n" << rig.log().toStdString();
        EXPECT_EQ(got.sent, expected.sent) << a.name;
        EXPECT_EQ(got.boxes, expected.boxes) << a.name;
        EXPECT_EQ(got.cells, expected.cells) << a.name;
        // The log names the port by its address.
        EXPECT_TRUE(rig.log().contains("COM1 (" + ((*rig.server).*(a.address))(0) + ")")) << a.name;
    }
}

TEST(ThroughSer2net, GarbageWithIacFromTheControllerIsReadAsSent)
{
    SKIP_WITHOUT_SER2NET();
    // 0xFF is Telnet's IAC: the server doubles it, the line must read it once.
    const auto run = [](const Accepter* a) {
        Rig rig(a);
        rig.sim.controller.arm("@READ PNT ", {sim::Fault::Garbage, "\xff\xfe\xff#", 0});
        rig.dialogs.answer(MsgAnswer::Yes).ok();
        QByteArray heard;
        QObject::connect(&rig.session.link().log(), &ExchangeLog::entryRecorded,
                         [&](const ExchangeEntry& e) {
                             if (e.kind != ExchangeEntry::Kind::Sent)
                                 heard += e.bytes;
                         });
        const exchange::Result result = rig.run(Op::ReceiveTable);
        return std::pair{snapshot(rig, result), heard};
    };
    const auto [expected, expectedHeard] = run(nullptr);
    ASSERT_TRUE(expectedHeard.startsWith("\xff\xfe\xff#"));
    for (const Accepter& a : kAccepters) {
        const auto [got, heard] = run(&a);
        EXPECT_EQ(got.result, expected.result) << a.name;
        EXPECT_EQ(got.boxes, expected.boxes) << a.name;
        EXPECT_EQ(got.cells, expected.cells) << a.name;
        EXPECT_EQ(heard, expectedHeard) << a.name;
    }
}

TEST(ThroughSer2net, ServerGoneOrAbsentEndsLikeALostOrMissingDevice)
{
    SKIP_WITHOUT_SER2NET();
    enum class How { Absent, KilledMidReceive };
    for (const Accepter& a : kAccepters) {
        for (How how : {How::Absent, How::KilledMidReceive}) {
            sim::Options paced = pointOptions();
            paced.pacing = true;  // 64 records take long enough to be cut
            Rig rig(&a, paced);
            const char* name = how == How::Absent ? "absent" : "killed";
            QStringList failures;
            QObject::connect(&rig.session.link(), &Link::portFailed,
                             [&](const QString& why) { failures << why; });
            if (how == How::Absent) {
                const QString address = ((*rig.server).*(a.address))(0);
                rig.server.reset();
                ASSERT_EQ(qgetenv("KAP_COM1").toStdString(), address.toStdString());
            } else {
                for (sim::Point& point : rig.sim.controller.points)
                    point = {"A", "123.45", "60"};
                QObject::connect(&rig.sim.controller, &sim::Controller::entryReceived,
                                 [&](const QByteArray& entry) {
                                     if (entry.startsWith("@READ PNT"))
                                         QTimer::singleShot(30, &rig.sim.controller,
                                                            [&] { rig.server->kill(); });
                                 });
            }
            const QStringList before = snapshot(rig, {}).cells;
            rig.dialogs.answer(MsgAnswer::Yes).ok();
            EXPECT_EQ(rig.run(Op::ReceiveTable), exchange::Result::LinkError) << a.name << name;
            ASSERT_EQ(rig.dialogs.boxes.size(), 2) << a.name << name;
            EXPECT_EQ(rig.dialogs.boxes[1], linkErrorBox("Point reception")) << a.name << name;
            EXPECT_EQ(snapshot(rig, {}).cells, before) << a.name << name;
            if (how == How::Absent) {
                ASSERT_EQ(failures.size(), 1) << a.name;
                EXPECT_TRUE(failures[0].endsWith(": connection refused"))
                    << failures[0].toStdString();
                EXPECT_TRUE(rig.log().contains("port error: " + failures[0]))
                    << rig.log().toStdString();
            } else {
                EXPECT_TRUE(rig.log().contains("line lost: ")) << rig.log().toStdString();
                EXPECT_TRUE(rig.log().contains(": connection lost")) << rig.log().toStdString();
            }
        }
    }
}

TEST(ThroughSer2net, IdleConnectionClosesThenTheNextExchangeReconnects)
{
    SKIP_WITHOUT_SER2NET();
    for (const Accepter& a : kAccepters) {
        Rig rig(&a);
        rig.dialogs.answer(MsgAnswer::Yes).ok().answer(MsgAnswer::Yes).ok();
        ASSERT_EQ(rig.run(Op::ReceiveTable), exchange::Result::Done)
            << a.name << rig.log().toStdString();
        ASSERT_TRUE(rig.network()) << a.name;
        // Held between exchanges...
        EXPECT_TRUE(rig.network()->isConnected()) << a.name;
        EXPECT_FALSE(rig.session.serialLine().isOpen()) << a.name;
        EXPECT_TRUE(waitUntil([&] { return !rig.network()->isConnected(); },
                              int(NetworkSerialLine::kIdleCloseMs * kShort * 4)))
            << a.name;
        // ...closed after the idle time, and connected again for the next one.
        EXPECT_EQ(rig.run(Op::ReceiveTable), exchange::Result::Done) << a.name;
        EXPECT_TRUE(rig.network()->isConnected()) << a.name;
        EXPECT_EQ(rig.sent().count("@READ PNT ,\r\n"), 2) << a.name;
    }
}

TEST(ThroughSer2net, StopCharacterArrivesAsSoonAsOnTheLocalPort)
{
    SKIP_WITHOUT_SER2NET();
    // From the STOP dialog's break to the controller's receipt of it, during a return to
    // origin; the median of a few.
    const auto stopDelay = [](const Accepter* a) {
        std::vector<double> delays;
        for (int i = 0; i < 5; ++i) {
            Rig rig(a);
            QElapsedTimer clock;
            double arrived = -1;
            Link& link = rig.session.link();
            QObject::connect(&rig.sim.controller, &sim::Controller::entryReceived,
                             [&](const QByteArray& entry) {
                                 if (entry == "\x03")
                                     arrived = double(clock.nsecsElapsed()) / 1e6;
                                 if (entry.startsWith("@ORG")) {
                                     QTimer::singleShot(30, &link, [&] {
                                         clock.start();
                                         link.writeBreakNow();
                                     });
                                 }
                             });
            link.setWaitTimeout(30000);
            const Outcome out = link.exchange(cmd::ORG);
            EXPECT_TRUE(out.reply.contains("STOP"))
                << out.reply.toStdString() << rig.log().toStdString();
            if (arrived >= 0)
                delays.push_back(arrived);
        }
        std::sort(delays.begin(), delays.end());
        return delays.empty() ? 1e9 : delays[delays.size() / 2];
    };
    const double local = stopDelay(nullptr);
    for (const Accepter& a : kAccepters) {
        const double network = stopDelay(&a);
        EXPECT_LE(network, local + 10.0) << a.name << ": local " << local << " ms";
    }
}
