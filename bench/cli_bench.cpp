// kap-cli backing up eight controllers at once against one alone, with the line paced at
// 9600 baud: each port has its own thread and session, so eight should take hardly longer
// than one.
#include "Bench.h"
#include "Cli.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>
#include <vector>

namespace bench {
namespace {

constexpr int kControllers = 8;

// Wall time of one kap-cli backup run over these devices; negative when it failed.
double backupMs(const QStringList& devices, const QString& folder)
{
    QStringList arguments{QStringLiteral("backup")};
    for (const QString& device : devices)
        arguments << QStringLiteral("--port") << device;
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
    const sim::Options options = pacedPointController();
    std::vector<std::unique_ptr<SimulatorThread>> simulators;
    QStringList devices;
    for (int i = 0; i < kControllers; ++i) {
        simulators.push_back(std::make_unique<SimulatorThread>(options, fillEveryPoint));
        if (!startedOrSaidWhy(*simulators.back()))
            return;
        // A simulator thread points COM1 at its pty as it starts.
        devices << qEnvironmentVariable("KAP_COM1");
    }

    const int runs = qEnvironmentVariableIsSet("KAP_BENCH_QUICK") ? 1 : 3;
    std::vector<double> one;
    std::vector<double> all;
    for (int r = 0; r < runs; ++r) {
        QTemporaryDir folder;
        const double single = backupMs({devices.first()}, folder.filePath(QStringLiteral("one")));
        const double eight = backupMs(devices, folder.filePath(QStringLiteral("all")));
        if (single < 0 || eight < 0)
            return;
        one.push_back(single);
        all.push_back(eight);
    }
    const double single = median(one);
    const double eight = median(all);
    printFigure(QStringLiteral("(l) kap-cli backup, 1 controller: wall time"), single,
                QStringLiteral("ms"), QStringLiteral("-"));
    printFigure(
        QStringLiteral("(l) kap-cli backup, %1 controllers at once: wall time").arg(kControllers),
        eight, QStringLiteral("ms"), QStringLiteral("-"));
    printFigure(QStringLiteral("(l) kap-cli backup, %1 at once / 1 alone").arg(kControllers),
                eight / single, QStringLiteral("x"), QStringLiteral("<= 1.2"));
}

}  // namespace bench
