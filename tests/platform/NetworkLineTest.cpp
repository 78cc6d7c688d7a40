// A network line against a scripted server of our own, for what ser2net cannot be made to
// do: refuse the option, answer with other settings, never answer.
#include "SimLine.h"
#include "link/Link.h"
#include "link/ProgramState.h"
#include "platform/NetworkSerialLine.h"
#include "platform/QtSerialLine.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <gtest/gtest.h>

using namespace kap;
using namespace kap::test;

namespace {

QByteArray bytes(std::initializer_list<int> list)
{
    QByteArray out;
    for (int b : list)
        out += char(b);
    return out;
}

// IAC SB COM-PORT-OPTION <answer> <value> IAC SE
QByteArray answer(int command, const QByteArray& value)
{
    return bytes({255, 250, 44, command + 100}) + value + bytes({255, 240});
}

QByteArray agreeing(quint32 baud = 9600, int dataBits = 8, int parity = 2, int stop = 1,
                    int flow = 1)
{
    return bytes({255, 251, 0, 255, 253, 0, 255, 253, 44})
           + answer(1, bytes({int(baud >> 24), int(baud >> 16 & 0xFF), int(baud >> 8 & 0xFF),
                              int(baud & 0xFF)}))
           + answer(2, bytes({dataBits})) + answer(3, bytes({parity})) + answer(4, bytes({stop}))
           + answer(5, bytes({flow}));
}

// Sends each client the script at once, whatever it says, after turning the first turnAway
// clients away as ser2net does while the device is still being let go; keeps what it heard.
struct ScriptedServer {
    explicit ScriptedServer(const QByteArray& script, int turnAway = 0)
    {
        server.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server, &QTcpServer::newConnection, [this, script, turnAway] {
            client = server.nextPendingConnection();
            if (turnedAway < turnAway) {
                ++turnedAway;
                client->write("Port's device already in use\r\n");
                client->disconnectFromHost();
                return;
            }
            QObject::connect(client, &QTcpSocket::readyRead,
                             [this] { heard += client->readAll(); });
            client->write(script);
        });
    }
    QString address() const
    {
        return QStringLiteral("rfc2217://127.0.0.1:%1").arg(server.serverPort());
    }
    QTcpServer server;
    QTcpSocket* client = nullptr;
    QByteArray heard;
    int turnedAway = 0;
};

constexpr double kShort = 0.05;

}  // namespace

TEST(NetworkLine, RefusesAServerThatWillNotServeTheLineAsSet)
{
    const struct {
        const char* name;
        QByteArray script;
        const char* reason;  // null: opens
        int turnAway = 0;
    } cases[] = {
        {"agrees", agreeing(), nullptr},
        {"no RFC 2217", bytes({255, 251, 0, 255, 253, 0, 255, 254, 44}),
         "server does not support RFC 2217"},
        {"no binary", bytes({255, 252, 0}), "server refuses binary transmission"},
        {"other baud", agreeing(19200), "server set 19200 baud"},
        {"7 data bits", agreeing(9600, 7), "server set 7 data bits"},
        {"even parity", agreeing(9600, 8, 3), "server set even parity"},
        {"2 stop bits", agreeing(9600, 8, 2, 2), "server set 2 stop bits"},
        {"hardware flow control", agreeing(9600, 8, 2, 1, 3), "server set hardware flow control"},
        {"never answers", QByteArray(), "server did not answer the RFC 2217 negotiation"},
        {"hangs up", QByteArray(), "connection closed by the server"},
        {"keeps turning it away", agreeing(),
         "connection closed by the server: Port's device already in use", 1000},
        {"turns it away twice, then serves", agreeing(), nullptr, 2},
    };
    for (const auto& c : cases) {
        ScriptedServer server(c.script, c.turnAway);
        if (QByteArrayView(c.name) == "hangs up") {
            QObject::connect(&server.server, &QTcpServer::newConnection,
                             [&] { server.client->disconnectFromHost(); });
        }
        NetworkSerialLine line;
        line.setTimeScale(kShort);
        // The window stays responsive while the line connects.
        int ticks = 0;
        QTimer tick;
        QObject::connect(&tick, &QTimer::timeout, [&] { ++ticks; });
        tick.start(10);
        const bool opened = line.open(server.address());
        if (!c.reason) {
            EXPECT_TRUE(opened) << c.name << ": " << line.errorString().toStdString();
            EXPECT_EQ(server.turnedAway, c.turnAway) << c.name;
            continue;
        }
        EXPECT_FALSE(opened) << c.name;
        EXPECT_EQ(line.errorString().toStdString(),
                  (server.address() + ": " + c.reason).toStdString());
        EXPECT_FALSE(line.isConnected()) << c.name;
        if (QByteArrayView(c.name) == "never answers") {
            EXPECT_GE(ticks, 5) << "the wait of " << NetworkSerialLine::kConnectTimeoutMs * kShort
                                << " ms";
        }
    }
}

TEST(NetworkLine, DoublesIacBothWaysAndPurgesTheServerInput)
{
    ScriptedServer server(agreeing());
    NetworkSerialLine line;
    line.setTimeScale(kShort);
    ASSERT_TRUE(line.open(server.address())) << line.errorString().toStdString();
    // The last of the settings asked for: SET-CONTROL, no flow control.
    ASSERT_TRUE(waitUntil(
        [&] {
            return server.heard.endsWith(bytes({255, 250, 44, 5, 1, 255, 240}));
        },
        1000));
    server.heard.clear();

    ASSERT_TRUE(line.write(bytes({'A', 255, 'B', 255, 255})));
    line.discardInput();
    EXPECT_TRUE(waitUntil([&] { return server.heard.size() >= 15; }, 1000));
    // The data with each 0xFF doubled, then PURGE-DATA for the server's receive buffer.
    EXPECT_EQ(server.heard,
              bytes({'A', 255, 255, 'B', 255, 255, 255, 255, 255, 250, 44, 12, 1, 255, 240}));

    // Options in the middle of data are answered and never reach the reader.
    server.client->write(
        bytes({'x', 255, 255, 'y', 255, 253, 24, 255, 250, 44, 107, 0, 255, 240, '\r', '\n'}));
    QByteArray read;
    EXPECT_TRUE(waitUntil(
        [&] {
            read += line.readAvailable();
            return read.size() >= 5;
        },
        1000));
    EXPECT_EQ(read, bytes({'x', 255, 'y', '\r', '\n'}));
    EXPECT_TRUE(waitUntil(
        [&] {
            return server.heard.endsWith(bytes({255, 252, 24}));
        },
        1000))
        << "WONT for an option it does not do";
}

TEST(NetworkLine, RawTcpConnectionFailuresAndKeepAlive)
{
    // Nothing listens: refused at once, as a missing device.
    const quint16 closed = [] {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        return probe.serverPort();
    }();
    NetworkSerialLine line;
    line.setTimeScale(kShort);
    const QString nowhere = QStringLiteral("tcp://127.0.0.1:%1").arg(closed);
    EXPECT_FALSE(line.open(nowhere));
    EXPECT_EQ(line.errorString(), nowhere + ": connection refused");
    EXPECT_FALSE(line.open(QStringLiteral("tcp://127.0.0.1:0")));
    EXPECT_EQ(line.errorString(), "tcp://127.0.0.1:0: port \"0\" is not 1 to 65535");

    // Raw: no negotiation, no escaping; a client turned away at once is tried again; the
    // connection outlives close() until idle.
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    int connections = 0;
    int turnAway = 1;
    QByteArray heard;
    QObject::connect(&server, &QTcpServer::newConnection, [&] {
        QTcpSocket* client = server.nextPendingConnection();
        if (turnAway-- > 0) {
            client->write("Port's device already in use\r\n");
            client->disconnectFromHost();
            return;
        }
        ++connections;
        QObject::connect(client, &QTcpSocket::readyRead,
                         [&heard, client] { heard += client->readAll(); });
    });
    const QString address = QStringLiteral("tcp://127.0.0.1:%1").arg(server.serverPort());
    ASSERT_TRUE(line.open(address)) << line.errorString().toStdString();
    EXPECT_EQ(line.readAvailable(), QByteArray()) << "nothing of the turned-away connection";
    ASSERT_TRUE(line.write(bytes({255, 3})));
    EXPECT_TRUE(waitUntil([&] { return heard.size() >= 2; }, 1000));
    EXPECT_EQ(heard, bytes({255, 3}));
    line.close();
    EXPECT_FALSE(line.isOpen());
    ASSERT_TRUE(line.open(address));
    line.close();
    EXPECT_EQ(connections, 1) << "an exchange right after the last one keeps its connection";
    EXPECT_TRUE(waitUntil([&] { return !line.isConnected(); },
                          NetworkSerialLine::kIdleCloseMs * kShort * 4));
    ASSERT_TRUE(line.open(address));
    EXPECT_EQ(connections, 2);
}

TEST(NetworkLine, WindowClosedWhileItsLineConnectsLeavesTheLinkFree)
{
    ScratchState clean;
    ScriptedServer silent(QByteArray{});
    PortOverride com1(1, silent.address());
    auto serial = std::make_unique<QtSerialLine>();
    auto link = std::make_unique<Link>(*serial, clean, clean.replyTimeout);
    link->setTimeScale(kShort);
    bool busyWhileConnecting = false;
    QTimer::singleShot(20, [&] {
        busyWhileConnecting = clean.busy();
        link.reset();
        serial.reset();
    });
    Link* running = link.get();
    const Outcome out = running->exchange(cmd::QVER);
    EXPECT_TRUE(busyWhileConnecting) << "a command clicked meanwhile queues behind this one";
    EXPECT_TRUE(out.reply.isEmpty());

    // Another window's exchange does not wait for the one that went away. A guard frees a
    // line left held, so that fails the test instead of hanging it.
    QtSerialLine nextSerial;
    Link next(nextSerial, clean, clean.replyTimeout);
    next.setTimeScale(kShort);
    bool waited = false;
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [&] {
        waited = true;
        clean.setBusy(false);
    });
    guard.start(2000);
    next.exchange(cmd::QVER, {}, 200);
    EXPECT_FALSE(waited) << "the next exchange waited for the line";
}
