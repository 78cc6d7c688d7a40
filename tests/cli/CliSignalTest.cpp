// kap-cli stopped by a real signal while it restores a controller: the write block in progress
// is finished (first signal) or cut off (second), the line settings of the port are put back,
// and the program ends with 130.
#include "FileTestSupport.h"
#include "SimLine.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <functional>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

using namespace kap;
using namespace kap::test;

namespace {

// Serves the test thread's simulators until done() holds; false after ms.
bool serveUntil(const std::function<bool()>& done, int ms)
{
    const QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

bool sameSettings(const termios& a, const termios& b)
{
    return a.c_iflag == b.c_iflag && a.c_oflag == b.c_oflag && a.c_cflag == b.c_cflag
           && a.c_lflag == b.c_lflag && cfgetispeed(&a) == cfgetispeed(&b)
           && cfgetospeed(&a) == cfgetospeed(&b);
}

qsizetype indexOfLine(const QList<QByteArray>& lines, const QByteArray& start)
{
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines.at(i).startsWith(start))
            return i;
    }
    return -1;
}

TEST(CliSignal, RestoreStopsCleanly)
{
    ScratchState module;
    QTemporaryDir dir;
    // A table long enough that the signal lands inside its write block: the controller is
    // slow (though within the record's reply window) until the program has said it heard the
    // signal, then quick.
    sim::Options options;
    options.ackRecords = true;
    sim::Controller source(options);
    for (int n = 0; n < 64; ++n)
        source.points[n] = {"A", QByteArray::number(n) + ".00", "50"};
    sim::PtyServer sourceServer(source);
    ASSERT_TRUE(sourceServer.start(dir.filePath("source")));
    const QString saved = dir.filePath("saved.csv");
    QProcess backup;
    backup.start(QStringLiteral(KAP_CLI_PATH), {"backup", "--port", sourceServer.path(), saved});
    ASSERT_TRUE(serveUntil([&] { return backup.state() == QProcess::NotRunning; }, 4000));
    ASSERT_EQ(backup.exitCode(), 0) << backup.readAllStandardError().toStdString();

    const struct {
        const char* name;
        QList<int> sent;  // one after the other, each once the program has answered the last
        bool blockFinished;
    } cases[] = {
        {"SIGTERM finishes the block", {SIGTERM}, true},
        {"a second Ctrl-C stops at once", {SIGINT, SIGINT}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        sim::Controller target(options);
        target.options().latencyMs = 60;
        sim::PtyServer server(target);
        ASSERT_TRUE(server.start(dir.filePath("target")));
        const int fd = ::open(QFile::encodeName(server.path()).constData(),
                              O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        ASSERT_GE(fd, 0);
        termios before{};
        ASSERT_EQ(::tcgetattr(fd, &before), 0);

        QProcess child;
        QByteArray err;
        QObject::connect(&child, &QProcess::readyReadStandardError,
                         [&] { err += child.readAllStandardError(); });
        child.start(QStringLiteral(KAP_CLI_PATH),
                    {"restore", "--port", server.path(), saved, "--yes"});
        // Into the block: its command and two records.
        ASSERT_TRUE(serveUntil(
            [&] {
                const qsizetype block = indexOfLine(target.receivedLines(), "@WRITE PNT ");
                return block >= 0 && target.receivedLines().size() > block + 2;
            },
            4000));
        for (const int sig : c.sent) {
            const qsizetype heard = err.size();
            ::kill(pid_t(child.processId()), sig);
            ASSERT_TRUE(serveUntil([&] { return err.size() > heard; }, 2000));
        }
        target.options().latencyMs = 0;
        ASSERT_TRUE(serveUntil([&] { return child.state() == QProcess::NotRunning; }, 4000));
        err += child.readAllStandardError();

        EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(child.exitCode(), 130) << err.toStdString();
        EXPECT_TRUE(err.contains("finishing the write to " + server.path().toUtf8()
                                 + "; press Ctrl-C again to stop at once"))
            << err.toStdString();
        const QList<QByteArray> lines = target.receivedLines();
        const qsizetype end = indexOfLine(lines, "\x1a");
        if (c.blockFinished) {
            // Every record, the end of data, and nothing after it.
            EXPECT_EQ(end, indexOfLine(lines, "@WRITE PNT ") + 65);
            EXPECT_EQ(end, lines.size() - 1);
        } else {
            EXPECT_EQ(end, -1);
            EXPECT_TRUE(err.contains(server.path().toUtf8() + " now holds partial data"))
                << err.toStdString();
        }
        termios after{};
        ASSERT_EQ(::tcgetattr(fd, &after), 0);
        EXPECT_TRUE(sameSettings(before, after));
        ::close(fd);
    }
}

}  // namespace
