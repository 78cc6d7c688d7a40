// kap-cli backing up eight controllers at once against one alone, with the line paced at
// 9600 baud: each port has its own thread and session, so eight should take hardly longer
// than one.
#include "Bench.h"
#include "cli/Cli.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>
#include <vector>

namespace bench {
namespace {

constexpr int kControllers = 8;

// Wall time of one kap-cli backup run over these ports; negative when it failed.
double backupMs(const QStringList& ports, const QString& folder)
{
    QStringList arguments{QStringLiteral("backup")};
    for (const QString& port : ports)
        arguments << QStringLiteral("--port") << port;
    arguments << QStringLiteral("--out") << folder;
    QByteArray errors;
    kap::cli::Io io;
    io.out = [](const QByteArray&) {};
    io.err = [&errors](const QByteArray& b) { errors += b; };
    QElapsedTimer clock;
    clock.start();
    const int code = kap::cli::RunCli(arguments, io);
    const double ms = double(clock.nsecsElapsed()) / 1e6;
    if (code != 0) {
        std::fprintf(stderr, "kap-cli backup failed (%d):\n%s", code, errors.constData());
        return -1;
    }
    return ms;
}

}  // namespace

void runCliBenchmarks()
{
    QStringList devices;
    const auto simulators = startFullControllers(kControllers, devices);
    if (simulators.empty())
        return;

    printBackupFigures(QStringLiteral("(l) kap-cli backup"), devices);
}

void printBackupFigures(const QString& name, const QStringList& ports)
{
    const int runs = qEnvironmentVariableIsSet("KAP_BENCH_QUICK") ? 1 : 3;
    std::vector<double> one;
    std::vector<double> all;
    for (int r = 0; r < runs; ++r) {
        QTemporaryDir folder;
        const double single = backupMs({ports.first()}, folder.filePath(QStringLiteral("one")));
        const double many = backupMs(ports, folder.filePath(QStringLiteral("all")));
        if (single < 0 || many < 0)
            return;
        one.push_back(single);
        all.push_back(many);
    }
    const double single = median(one);
    const double many = median(all);
    const auto count = ports.size();
    printFigure(name + QStringLiteral(", 1 controller: wall time"), single, QStringLiteral("ms"),
                QStringLiteral("-"));
    printFigure(name + QStringLiteral(", %1 controllers at once: wall time").arg(count), many,
                QStringLiteral("ms"), QStringLiteral("-"));
    printFigure(name + QStringLiteral(", %1 at once / 1 alone").arg(count), many / single,
                QStringLiteral("x"), QStringLiteral("<= 1.2"));
}

}  // namespace bench
