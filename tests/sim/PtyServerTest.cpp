// The simulator on a pseudo-terminal, opened with a real QSerialPort as the tool does.
#include "PtyServer.h"
#include "SimTestSupport.h"

#include <QFileInfo>
#include <QSerialPort>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

std::unique_ptr<QSerialPort> openPort(const QString& path)
{
    auto port = std::make_unique<QSerialPort>();
    port->setPortName(path);
    if (!port->open(QIODevice::ReadWrite))
        return nullptr;
    port->setBaudRate(QSerialPort::Baud9600);
    port->setParity(QSerialPort::OddParity);
    port->setDataBits(QSerialPort::Data8);
    port->setStopBits(QSerialPort::OneStop);
    port->clear();
    return port;
}

// One transaction: write, collect until the reply is complete or the guard time is over.
QByteArray transact(QSerialPort& port, const QByteArray& line, int guardMs = 5000)
{
    QByteArray reply;
    port.write(line);
    (void)QTest::qWaitFor(
        [&] {
            reply += port.readAll();
            return simtest::replyComplete(reply);
        },
        guardMs);
    return reply;
}

// QSerialPort locks a device by its file name (LCK..name), so links of tests that may run
// at the same time need names of their own.
QString linkIn(const QTemporaryDir& dir)
{
    return dir.filePath(QStringLiteral("tty") + QFileInfo(dir.path()).fileName());
}

class PtyServerTest : public ::testing::Test {
protected:
    sim::Controller controller;
    sim::PtyServer server{controller};
};

TEST_F(PtyServerTest, AnswersAQueryOverTheLine)
{
    ASSERT_TRUE(server.start()) << qPrintable(server.errorString());
    auto port = openPort(server.path());
    ASSERT_TRUE(port) << qPrintable(server.path());
    EXPECT_EQ(transact(*port, "@?PRM 13,\r\n"), "0\r\nOK\r\n");  // no echo of the line itself
    EXPECT_EQ(controller.receivedLines(), QList<QByteArray>{"@?PRM 13,\r\n"});
}

TEST_F(PtyServerTest, ServesOneTransactionPerOpenAndClose)
{
    ASSERT_TRUE(server.start());
    for (const QByteArray& line :
         {QByteArray("@?VER ,\r\n"), QByteArray("@?PRM 21,\r\n"), QByteArray("@?POS ,\r\n")}) {
        auto port = openPort(server.path());
        ASSERT_TRUE(port);
        EXPECT_TRUE(transact(*port, line).endsWith("OK\r\n")) << line.constData();
        port->close();
    }
    EXPECT_EQ(controller.receivedLines().size(), 3);
}

TEST_F(PtyServerTest, BreakCharacterReachesTheController)
{
    controller.options().motionMs = 60000;
    ASSERT_TRUE(server.start());
    auto port = openPort(server.path());
    ASSERT_TRUE(port);
    port->write("@ORG ,\r\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return controller.moving(); }, 5000));
    EXPECT_EQ(transact(*port, "\x03"), "STOP\r\nSTOPPED\r\n");
}

TEST_F(PtyServerTest, PacedOutputArrivesWhole)
{
    controller.options().pacing = true;
    ASSERT_TRUE(server.start());
    auto port = openPort(server.path());
    ASSERT_TRUE(port);
    const QByteArray reply = transact(*port, "@READ PRM ,\r\n", 10000);
    EXPECT_TRUE(reply.startsWith("PRM0=61\r\nPRM1=0\r\n"));
    EXPECT_TRUE(reply.endsWith("PRM63=0\r\nOK\r\n"));
}

TEST_F(PtyServerTest, LinkPointsAtTheDeviceAndGoesAwayOnStop)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString link = linkIn(dir);
    ASSERT_TRUE(server.start(link)) << qPrintable(server.errorString());
    EXPECT_EQ(server.path(), link);
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    auto port = openPort(link);
    ASSERT_TRUE(port);
    EXPECT_EQ(transact(*port, "@?SRVO ,\r\n"), "1\r\nOK\r\n");
    port->close();
    server.stop();
    EXPECT_FALSE(QFileInfo::exists(link));
    EXPECT_FALSE(QFileInfo(link).isSymLink());
}

TEST_F(PtyServerTest, HangupClosesTheLineAndANewOneTakesItsPlace)
{
    QTemporaryDir dir;
    const QString link = linkIn(dir);
    sim::Fault hangup;
    hangup.kind = sim::Fault::HangupMidReply;
    hangup.count = 2;
    hangup.once = true;
    controller.arm("@?VER ", hangup);
    ASSERT_TRUE(server.start(link));
    QSignalSpy reopened(&server, &sim::PtyServer::reopened);

    auto port = openPort(link);
    ASSERT_TRUE(port);
    QSignalSpy errors(port.get(), &QSerialPort::errorOccurred);
    QByteArray partial;
    port->write("@?VER ,\r\n");
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            if (port->isOpen())
                partial += port->readAll();
            return reopened.count() > 0 && errors.count() > 0;
        },
        5000));
    EXPECT_EQ(partial, "1.");
    ASSERT_EQ(reopened.count(), 1);
    // On a pty the vanished line reads as end of file, which QSerialPort calls ReadError
    // (a vanished USB adapter gives ResourceError).
    bool lost = false;
    for (const auto& args : errors) {
        const auto e = args.at(0).value<QSerialPort::SerialPortError>();
        lost = lost || e == QSerialPort::ReadError || e == QSerialPort::ResourceError;
    }
    EXPECT_TRUE(lost);
    port->close();

    auto again = openPort(link);
    ASSERT_TRUE(again);
    EXPECT_EQ(transact(*again, "@?VER ,\r\n"), "1.10\r\nOK\r\n");
}

}  // namespace
