// The exchange log: its line format, what a link records for each kind of exchange through a
// real pty, its size limit, and the trace files of the tool and the simulator.
#include "link/ExchangeLog.h"
#include "LinkFixture.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

using namespace kap;
using namespace kap::test;

namespace {

// A line from its direction mark on, with the reply time blanked: "<-- [# ms] OK<CR><LF>".
QString fromMark(const QString& line)
{
    static const QRegularExpression mark(QStringLiteral(" (-->|<--|!!) "));
    const auto m = mark.match(line);
    QString tail = m.hasMatch() ? line.mid(m.capturedStart() + 1) : line;
    static const QRegularExpression ms(QStringLiteral("^<-- \\[\\d+ ms\\]"));
    return tail.replace(ms, QStringLiteral("<-- [# ms]"));
}

QStringList fromMarks(const QStringList& lines)
{
    QStringList out;
    for (const QString& line : lines)
        out << fromMark(line);
    return out;
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

TEST(ExchangeLogFormat, OneLinePerEntryWithControlsByName)
{
    using Kind = ExchangeEntry::Kind;
    const struct {
        Kind kind;
        QByteArray bytes;
        int replyMs;
        QString note;
        const char* tail;  // after "12:00:00.000 COM1 "
    } cases[] = {
        {Kind::Sent, "@?PRM 13,\r\n", -1, "", "--> @?PRM 13,<CR><LF>"},
        {Kind::Received, "1\r\nOK\r\n", 67, "", "<-- [67 ms] 1<CR><LF>OK<CR><LF>"},
        {Kind::Received, "OK\r\n", -1, "", "<-- OK<CR><LF>"},
        {Kind::Sent, QByteArray("\x00\x02\x04\x06\x15\x1b\x7f", 7), -1, "",
         "--> <NUL><STX><EOT><ACK><NAK><ESC><DEL>"},
        {Kind::Received, "\xa5-1.50\x80\xff\r\n", 0, "", "<-- [0 ms] <A5>-1.50<80><FF><CR><LF>"},
        {Kind::Sent, "\x1a", -1, "", "--> <SUB>"},
        {Kind::Break, "\x03", -1, "", "--> <ETX> (break)"},
        {Kind::Stray, "STOP\r\n", -1, "", "<-- (stray, dropped) STOP<CR><LF>"},
        {Kind::Timeout, "1\r", -1, "no reply word within 1000 ms",
         "!! time-out: no reply word within 1000 ms; partial reply: 1<CR>"},
        {Kind::Timeout, "", -1, "no reply word within 300 ms",
         "!! time-out: no reply word within 300 ms; nothing received"},
        // A reason with line breaks still makes one line.
        {Kind::PortError, "", -1, "/dev/ttyS2: permission denied.\nAsk...",
         "!! port error: /dev/ttyS2: permission denied. Ask..."},
        {Kind::LineLost, "PRM0=6", -1, "", "!! line lost; partial reply: PRM0=6"},
    };
    for (const auto& c : cases) {
        const ExchangeEntry e{QTime(12, 0), QStringLiteral("COM1"), c.kind, c.bytes, c.replyMs,
                              c.note};
        EXPECT_EQ(formatEntry(e), QStringLiteral("12:00:00.000 COM1 ") + QLatin1String(c.tail));
    }
    // Hours, milliseconds and a port with its device.
    EXPECT_EQ(
        formatEntry(
            {QTime(9, 5, 7, 8), QStringLiteral("COM2 (/dev/ttyUSB0)"), Kind::Sent, "X", -1, {}}),
        "09:05:07.008 COM2 (/dev/ttyUSB0) --> X");
}

TEST(ExchangeLogLimit, KeepsTheNewestLinesAndTracesEveryOne)
{
    QTemporaryDir dir;
    const QString tracePath = dir.filePath(QStringLiteral("trace.txt"));
    ASSERT_TRUE(ExchangeLog::startTrace(tracePath));
    ExchangeLog log;
    const int total = ExchangeLog::kMaxLines + 5;
    for (int k = 0; k < total; ++k)
        log.addSent(QStringLiteral("COM1"), QByteArray::number(k));
    ExchangeLog::stopTrace();

    EXPECT_EQ(log.size(), ExchangeLog::kMaxLines);
    EXPECT_TRUE(log.lines().first().endsWith(" --> 5"));
    EXPECT_TRUE(log.lines().last().endsWith(QStringLiteral(" --> %1").arg(total - 1)));
    // The header and every line, the dropped ones included.
    EXPECT_EQ(readAll(tracePath).count('\n'), total + 1);
}

namespace {

using LinkLog = LinkFixture;

}  // namespace

TEST_F(LinkLog, RecordsEachKindOfExchange)
{
    const struct {
        const char* name;
        std::function<void(LinkLog&, SimLine&)> run;
        QStringList lines;
    } cases[] = {
        {"write block",
         [](LinkLog& t, SimLine&) {
             t.send(cmd::WRITE_PNT);
             t.send(cmd::EndOfData);
         },
         {"--> @WRITE PNT ,<CR><LF>", "<-- [# ms] READY<CR><LF>", "--> <SUB>",
          "<-- [# ms] OK<CR><LF>"}},
        {"break",
         [](LinkLog& t, SimLine&) {
             QTimer::singleShot(50, &t.link, [&t] { t.link.writeBreakNow(); });
             t.send(cmd::ORG, {}, 22000);
         },
         {"--> @ORG ,<CR><LF>", "--> <ETX> (break)", "<-- [# ms] STOP<CR><LF>STOPPED<CR><LF>"}},
        {"time-out",
         [](LinkLog& t, SimLine& sim) {
             sim.controller.arm("@?PRM ", {sim::Fault::CutReply, {}, 2});
             t.link.setTimeScale(0.02);
             t.send(cmd::QPRM, "13", 1000);
         },
         {"--> @?PRM 13,<CR><LF>",
          "!! time-out: no reply word within 20 ms; partial reply: 0<CR>"}},
        {"line lost",
         [](LinkLog& t, SimLine& sim) {
             sim.controller.arm("@?PRM ", {sim::Fault::HangupMidReply, {}, 1});
             t.send(cmd::QPRM, "13");
         },
         {"--> @?PRM 13,<CR><LF>", "!! line lost; partial reply: 0"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SimLine sim({.motionMs = 3000});
        link.log().clear();
        link.setTimeScale(1.0);
        const QString device = sim.server.path();  // a hangup moves the simulator to a new pty
        c.run(*this, sim);
        const QStringList lines = link.log().lines();
        EXPECT_EQ(fromMarks(lines).join('\n').toStdString(), c.lines.join('\n').toStdString());
        const QRegularExpression head(
            QStringLiteral("^\\d\\d:\\d\\d:\\d\\d\\.\\d{3} COM1 \\(%1\\) ")
                .arg(QRegularExpression::escape(device)));
        for (const QString& line : lines)
            EXPECT_TRUE(head.match(line).hasMatch()) << line.toStdString();
    }
}

TEST_F(LinkLog, APortThatCannotBeOpenedIsLoggedAndSignalled)
{
    PortOverride port(1, QStringLiteral("/nonexistent-dir/tty"));
    QStringList reasons;
    QObject::connect(&link, &Link::portFailed, [&](const QString& why) { reasons << why; });
    EXPECT_TRUE(send(cmd::QPRM, "13").lineFailed);
    ASSERT_EQ(reasons.size(), 1);
    EXPECT_FALSE(reasons.at(0).isEmpty());
    EXPECT_EQ(reasons.at(0), serial.errorString());
    EXPECT_EQ(fromMarks(link.log().lines()).join('\n').toStdString(),
              ("!! port error: " + reasons.at(0).simplified()).toStdString());
}

// Both sides traced: the simulator as a separate program, the tool's link in this process.
TEST_F(LinkLog, ToolAndSimulatorTracesHoldTheSameExchange)
{
    QTemporaryDir dir;
    const QString simTrace = dir.filePath(QStringLiteral("sim.txt"));
    const QString toolTrace = dir.filePath(QStringLiteral("tool.txt"));
    const QString device = dir.filePath(QStringLiteral("tty"));
    QProcess simulator;
    simulator.start(QCoreApplication::applicationDirPath() + QStringLiteral("/kap-sim"),
                    {QStringLiteral("--trace"), simTrace, QStringLiteral("--link"), device,
                     QStringLiteral("--family"), QStringLiteral("pulse")});
    ASSERT_TRUE(simulator.waitForStarted(3000)) << simulator.errorString().toStdString();
    ASSERT_TRUE(waitUntil([&] { return simulator.canReadLine(); }, 3000));
    PortOverride port(1, device);

    ASSERT_TRUE(ExchangeLog::startTrace(toolTrace));
    const Outcome out = send(cmd::QPRM, "13");
    // Read while the trace is still open: each line is in the file as soon as it is logged.
    const QList<QByteArray> tool = readAll(toolTrace).split('\n');
    ExchangeLog::stopTrace();
    simulator.terminate();
    ASSERT_TRUE(simulator.waitForFinished(3000));
    const QList<QByteArray> sim = readAll(simTrace).split('\n');

    EXPECT_EQ(out.reply, "1\r\nOK\r\n");
    ASSERT_EQ(tool.size(), 4);  // header, sent, received, and the empty rest after the last LF
    ASSERT_EQ(sim.size(), 4);
    for (const auto* lines : {&tool, &sim})
        EXPECT_TRUE(lines->at(0).startsWith("# ")) << lines->at(0).toStdString();
    EXPECT_TRUE(tool.at(1).endsWith("COM1 (" + device.toUtf8() + ") --> @?PRM 13,<CR><LF>"));
    EXPECT_TRUE(sim.at(1).endsWith(device.toUtf8() + " --> @?PRM 13,<CR><LF>"));
    EXPECT_EQ(fromMark(QString::fromUtf8(tool.at(2))), "<-- [# ms] 1<CR><LF>OK<CR><LF>");
    EXPECT_EQ(fromMark(QString::fromUtf8(sim.at(2))), "<-- 1<CR><LF>OK<CR><LF>");
}
