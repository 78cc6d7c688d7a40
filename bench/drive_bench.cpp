// Drive panel figures against a fast simulator (no pacing): how soon Stop puts the stop
// character on the wire during a move, and the I/O monitor's period and CPU in Operation mode.
// Times on the controller's side are taken as its entries arrive from the pty, in the
// simulator's thread, on the same monotonic clock as the tool's.
#include "Bench.h"
#include "link/ProgramState.h"
#include "operation/Drive.h"
#include "operation/IoMonitor.h"
#include "session/Session.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <mutex>
#include <vector>

namespace bench {
namespace {

// (g) Start a move, press Stop while its "@MOVP " exchange waits, and time the click to the
// controller receiving 0x03.
void stopLatency(SimulatorThread& simulator, const QElapsedTimer& clock, int runs)
{
    sim::Controller& controller = simulator.controller();
    std::atomic<qint64> breakAt{-1};
    std::atomic<bool> moving{false};
    const auto watch = QObject::connect(
        &controller, &sim::Controller::entryReceived, &controller,
        [&](const QByteArray& entry) {
            if (entry == "\x03")
                breakAt = clock.nsecsElapsed();
            else if (entry.startsWith("@MOVP "))
                moving = true;
        },
        Qt::DirectConnection);

    YesDialogs dialogs;
    kap::ProgramState state;
    kap::Session session(kap::Family::PointInput, dialogs, state);
    kap::operation::EnterOperationMode(session);
    if (!session.drive().operationMode) {
        QObject::disconnect(watch);
        std::fprintf(stderr, "drive: Operation mode was not entered\n");
        return;
    }

    // The click comes once the move has reached the controller, as a user's would: a click
    // before the "@MOVP " line has left the tool is not a stop during a move.
    qint64 clickAt = -1;
    QTimer poll;
    poll.setInterval(1);
    poll.setTimerType(Qt::PreciseTimer);
    QObject::connect(&poll, &QTimer::timeout, &poll, [&] {
        if (clickAt >= 0 || !moving || session.link().waitingCommand() != kap::cmd::MOVP)
            return;
        clickAt = clock.nsecsElapsed();
        kap::operation::PressStop(session);
        kap::operation::Stop(session);
    });

    std::vector<double> latencies;
    int missed = 0;
    double slowestRunMs = 0;
    const qint64 budgetEnd = clock.elapsed() + 30000;
    for (int i = 0; i < runs && clock.elapsed() < budgetEnd; ++i) {
        breakAt = -1;
        moving = false;
        clickAt = -1;
        const qint64 t0 = clock.nsecsElapsed();
        poll.start();
        kap::operation::PressStart(session);
        kap::operation::Start(session);
        poll.stop();
        slowestRunMs = std::max(slowestRunMs, double(clock.nsecsElapsed() - t0) / 1e6);
        if (clickAt < 0 || breakAt < clickAt) {
            ++missed;
            continue;
        }
        latencies.push_back(double(breakAt - clickAt) / 1e6);
    }
    QObject::disconnect(watch);
    kap::operation::EnterSettingMode(session);

    const double worst = latencies.empty() ? 0
                                           : *std::max_element(latencies.begin(), latencies.end());
    printFigure(
        QStringLiteral("(g) Stop click -> 0x03 at the controller, median (%1 runs, %2 missed)")
            .arg(latencies.size())
            .arg(missed),
        median(latencies), QStringLiteral("ms"), QStringLiteral("<= 5 ms"));
    printFigure(
        QStringLiteral("(g) Stop click -> 0x03 at the controller, worst (slowest run %1 ms)")
            .arg(slowestRunMs, 0, 'f', 0),
        worst, QStringLiteral("ms"), QStringLiteral("<= 5 ms"));
}

// (h) and (i): Operation mode with the monitor running for a while.
void monitorCycle(SimulatorThread& simulator, const QElapsedTimer& clock, int seconds)
{
    sim::Controller& controller = simulator.controller();
    struct Entry {
        qint64 ns;
        bool dio;  // "@READ DIO ", else "@?POS "
    };
    std::mutex entriesLock;
    std::vector<Entry> entries;
    int otherEntries = 0;
    const auto watch = QObject::connect(
        &controller, &sim::Controller::entryReceived, &controller,
        [&](const QByteArray& entry) {
            const qint64 now = clock.nsecsElapsed();
            const std::lock_guard<std::mutex> lock(entriesLock);
            if (entry.startsWith("@READ DIO "))
                entries.push_back({now, true});
            else if (entry.startsWith("@?POS "))
                entries.push_back({now, false});
            else
                ++otherEntries;
        },
        Qt::DirectConnection);

    YesDialogs dialogs;
    kap::ProgramState state;
    kap::Session session(kap::Family::PointInput, dialogs, state);
    // The ticks as the tool sees them, to tell the timer's own spread from the line's. A tick
    // that finds the previous cycle still marked is one the monitor lets pass; this runs
    // before the monitor's own handler.
    std::vector<qint64> ticks;
    int busyTicks = 0;
    QObject::connect(&session.ioMonitorTimer(), &QTimer::timeout, &session, [&] {
        ticks.push_back(clock.nsecsElapsed());
        if (session.drive().monitor != kap::MonitorState::Idle)
            ++busyTicks;
    });
    kap::operation::attach(session);
    kap::operation::EnterOperationMode(session);
    if (!session.drive().operationMode) {
        QObject::disconnect(watch);
        std::fprintf(stderr, "drive: Operation mode was not entered\n");
        return;
    }
    {
        const std::lock_guard<std::mutex> lock(entriesLock);
        entries.clear();  // the entry's own "@READ DIO " is not a cycle
        otherEntries = 0;
    }
    ticks.clear();

    const double cpu0 = threadCpuSeconds();
    const qint64 t0 = clock.nsecsElapsed();
    QEventLoop wait;
    QTimer::singleShot(seconds * 1000, Qt::PreciseTimer, &wait, &QEventLoop::quit);
    wait.exec();
    const double cpu = threadCpuSeconds() - cpu0;
    const double wallSeconds = double(clock.nsecsElapsed() - t0) / 1e9;
    kap::operation::EnterSettingMode(session);
    QObject::disconnect(watch);

    std::vector<qint64> dio;
    int overlaps = 0;
    int positionsSince = -1;  // none before the first cycle
    for (const Entry& e : entries) {
        if (!e.dio) {
            if (positionsSince >= 0)
                ++positionsSince;
            continue;
        }
        // Each cycle is "@READ DIO " then "@?POS ": anything else between two reads means
        // two cycles ran into each other.
        if (positionsSince >= 0 && positionsSince != 1)
            ++overlaps;
        positionsSince = 0;
        dio.push_back(e.ns);
    }

    const auto worstDeviation = [](const std::vector<qint64>& times) {
        double worst = 0;
        for (size_t i = 1; i < times.size(); ++i)
            worst = std::max(worst, std::abs(double(times[i] - times[i - 1]) / 1e6 - 700.0));
        return worst;
    };
    const double meanMs = dio.size() < 2
                              ? 0
                              : double(dio.back() - dio.front()) / 1e6 / double(dio.size() - 1);
    printFigure(QStringLiteral("(h) I/O monitor period, mean (%1 cycles in %2 s)")
                    .arg(dio.size())
                    .arg(wallSeconds, 0, 'f', 1),
                meanMs, QStringLiteral("ms"), QStringLiteral("700 ms +- 20 ms"));
    printFigure(QStringLiteral("(h) I/O monitor period, worst deviation from 700 ms"),
                worstDeviation(dio), QStringLiteral("ms"), QStringLiteral("<= 20 ms"));
    printFigure(QStringLiteral("(h) timer tick period in the tool, worst deviation from 700 ms"),
                worstDeviation(ticks), QStringLiteral("ms"), QStringLiteral("-"));
    printFigure(QStringLiteral("(h) overlapping cycles (%1 ticks, %2 passed busy, %3 other lines)")
                    .arg(ticks.size())
                    .arg(busyTicks)
                    .arg(otherEntries),
                overlaps, QStringLiteral(""), QStringLiteral("0"));
    printFigure(QStringLiteral("(i) CPU of the tool's thread while monitoring"),
                cpu / wallSeconds * 100.0, QStringLiteral("% core"), QStringLiteral("<= 2 %"));
}

}  // namespace

void runDriveBenchmarks()
{
    const bool quick = qEnvironmentVariableIsSet("KAP_BENCH_QUICK");
    QElapsedTimer clock;
    clock.start();
    sim::Options options = fastPointController();
    options.motionMs = 5000;           // long enough that every move is still running at the click
    options.originEstablished = true;  // Start goes straight to the move
    SimulatorThread simulator(options, [](sim::Controller& controller) {
        controller.points[0] = {"A", "90.00", "50"};
    });
    if (!startedOrSaidWhy(simulator))
        return;
    stopLatency(simulator, clock, quick ? 20 : 100);
    monitorCycle(simulator, clock, quick ? 3 : 10);
}

}  // namespace bench
