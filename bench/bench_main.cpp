// kap-bench: measures the link against the controller simulator on a pty and prints figures.
#include "Bench.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <utility>

namespace bench {

double cpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec)
           + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

double threadCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

void sleepInEventLoop(int ms)
{
    QEventLoop wait;
    QTimer::singleShot(ms, &wait, &QEventLoop::quit);
    wait.exec();
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void printFigure(const QString& name, double value, const QString& unit, const QString& target)
{
    std::printf("%-62s %12.3f %-8s (target %s)\n", qPrintable(name), value, qPrintable(unit),
                qPrintable(target));
    std::fflush(stdout);
}

SimulatorThread::SimulatorThread(const sim::Options& options,
                                 const std::function<void(sim::Controller&)>& setUp)
    : sim::SimulatorThread(options, setUp)
{
    if (started()) {
        qputenv("KAP_COM1", path().toLocal8Bit());
    }
}

sim::Options fastPointController()
{
    sim::Options options;
    options.family = 0;
    options.pacing = false;
    options.latencyMs = 0;
    return options;
}

sim::Options pacedPointController()
{
    sim::Options options = fastPointController();
    options.pacing = true;
    return options;
}

void fillEveryPoint(sim::Controller& controller)
{
    for (int n = 0; n < 64; ++n)
        controller.points[n] = {"A", QByteArray::number(n * 5.25, 'f', 2),
                                QByteArray::number(n + 1)};
}

bool startedOrSaidWhy(const SimulatorThread& simulator)
{
    if (!simulator.started())
        std::fprintf(stderr, "simulator: %s\n", qPrintable(simulator.errorString()));
    return simulator.started();
}

std::vector<std::unique_ptr<SimulatorThread>> startFullControllers(int count, QStringList& devices)
{
    std::vector<std::unique_ptr<SimulatorThread>> simulators;
    for (int i = 0; i < count; ++i) {
        simulators.push_back(
            std::make_unique<SimulatorThread>(pacedPointController(), fillEveryPoint));
        if (!startedOrSaidWhy(*simulators.back()))
            return {};
        // A simulator thread points COM1 at its pty as it starts.
        devices << qEnvironmentVariable("KAP_COM1");
    }
    return simulators;
}

}  // namespace bench

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.removeAll(QStringLiteral("--quick")) > 0)
        qputenv("KAP_BENCH_QUICK", "1");
    // Group names on the command line run only those groups; without any, all of them run.
    const std::pair<QString, void (*)()> groups[] = {
        {QStringLiteral("link"), bench::runLinkBenchmarks},
        {QStringLiteral("exchange"), bench::runExchangeBenchmarks},
        {QStringLiteral("drive"), bench::runDriveBenchmarks},
        {QStringLiteral("teach"), bench::runTeachBenchmarks},
        {QStringLiteral("cli"), bench::runCliBenchmarks},
        {QStringLiteral("network"), bench::runNetworkBenchmarks},
    };
    for (const QString& arg : args) {
        if (std::none_of(std::begin(groups), std::end(groups),
                         [&](const auto& g) { return g.first == arg; })) {
            std::fprintf(
                stderr,
                "usage: kap-bench [--quick] [link] [exchange] [drive] [teach] [cli] [network]\n");
            return 2;
        }
    }
    for (const auto& [name, run] : groups) {
        if (args.isEmpty() || args.contains(name))
            run();
    }
    return 0;
}
