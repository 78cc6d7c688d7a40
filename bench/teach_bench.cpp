// Teaching figures against the simulator: how soon the release of a held jog button puts the
// stop character on the wire, and how often direct teaching refreshes the angle with the
// CPU it takes. Times on the controller's side are taken as its entries arrive from the pty,
// in the simulator's thread, on the same monotonic clock as the tool's.
#include "Bench.h"
#include "link/ProgramState.h"
#include "operation/Drive.h"
#include "operation/Teaching.h"
#include "session/Session.h"

#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <tuple>
#include <vector>

namespace bench {
namespace {

// (j) Teaching playback: press CW, and once the controller has the held move ("@XINC "),
// release; time the release to the controller receiving 0x03.
void jogRelease(SimulatorThread& simulator, const QElapsedTimer& clock, int runs, int budgetMs)
{
    sim::Controller& controller = simulator.controller();
    std::atomic<qint64> heldAt{-1};
    std::atomic<qint64> breakAt{-1};
    const auto watch = QObject::connect(
        &controller, &sim::Controller::entryReceived, &controller,
        [&](const QByteArray& entry) {
            const qint64 now = clock.nsecsElapsed();
            if (entry == "\x03") {
                qint64 none = -1;
                breakAt.compare_exchange_strong(none, now);
            } else if (entry.startsWith("@XINC ")) {
                heldAt = now;
            }
        },
        Qt::DirectConnection);

    // The tool's side: when the stop line is handed to the port, which a stop outside a
    // motion's wait opens anew.
    qint64 sentAt = -1;
    YesDialogs dialogs;
    kap::ProgramState state;
    kap::Session session(kap::Family::PointInput, dialogs, state);
    kap::operation::attach(session);
    kap::TeachingState& f = session.teachingState();
    kap::DriveState& d = session.drive();
    QObject::connect(&session.link(), &kap::Link::lineSent, &session, [&](const QString& line) {
        if (sentAt < 0 && line == QString(QChar(0x03)))
            sentAt = clock.nsecsElapsed();
    });

    enum class Phase { Gap, Pressed, Finish, Over };
    Phase phase = Phase::Gap;
    bool inside = false;  // the tick re-enters while the release waits for its answer
    qint64 nextPressAt = 0;
    qint64 pressedAt = 0;
    qint64 finishBy = 0;
    int done = 0;
    int missed = 0;
    int awaitingAnswer = 0;  // releases that came before the tool had the "@XINC " answer
    int noJog = 0;           // presses that never brought "@XINC "
    std::vector<double> latencies;
    std::vector<double> toPort;
    const qint64 budgetEnd = clock.elapsed() + budgetMs;

    QTimer tick;
    tick.setInterval(1);
    tick.setTimerType(Qt::PreciseTimer);
    const auto finish = [&] {
        phase = Phase::Finish;
        finishBy = clock.elapsed() + 3000;
    };
    QObject::connect(&tick, &QTimer::timeout, &tick, [&] {
        if (inside)
            return;
        inside = true;
        const qint64 nowMs = clock.elapsed();
        if (phase != Phase::Finish && phase != Phase::Over && nowMs > budgetEnd && !f.buttonHeld)
            finish();
        switch (phase) {
        case Phase::Gap:
            // The playback loop is idle: no jog under way and nothing on the line.
            if (f.inputMode == 3 && !f.buttonHeld && f.jogSteps == 0 && !d.motionInProgress
                && !session.link().waitingCommand() && nowMs >= nextPressAt) {
                heldAt = -1;
                breakAt = -1;
                sentAt = -1;
                pressedAt = nowMs;
                kap::operation::PressJog(session, true);
                phase = Phase::Pressed;
            }
            break;
        case Phase::Pressed: {
            const bool held = heldAt >= 0;
            if (!held && nowMs - pressedAt < 2000)
                break;
            if (!held)
                ++noJog;
            if (session.link().waitingCommand() == kap::cmd::XINC)
                ++awaitingAnswer;
            const qint64 releaseAt = clock.nsecsElapsed();
            kap::operation::ReleaseJog(session);
            if (held && breakAt >= releaseAt) {
                latencies.push_back(double(breakAt - releaseAt) / 1e6);
                if (sentAt >= releaseAt)
                    toPort.push_back(double(sentAt - releaseAt) / 1e6);
            } else if (held) {
                ++missed;
            }
            ++done;
            nextPressAt = clock.elapsed() + 10;
            if (done >= runs || clock.elapsed() > budgetEnd)
                finish();
            else
                phase = Phase::Gap;
            break;
        }
        case Phase::Finish:
            // Numeric input once the held move has come to its end.
            if (!d.motionInProgress || nowMs > finishBy) {
                phase = Phase::Over;
                tick.stop();
                kap::operation::ChooseInputMode(session, 0);
            }
            break;
        case Phase::Over:
            break;
        }
        inside = false;
    });
    // Should the loop not come to an end by itself.
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, &guard, [&] {
        if (phase == Phase::Over)
            return;
        phase = Phase::Over;
        tick.stop();
        kap::operation::ReleaseJog(session);
        kap::operation::ChooseInputMode(session, 0);
    });

    tick.start();
    guard.start(budgetMs + 5000);
    const qint64 t0 = clock.elapsed();
    kap::operation::ChooseInputMode(session, 2);
    // The loop runs on the session's timer until numeric input is chosen.
    while (session.teachingState().loop != kap::TeachingLoop::Off)
        sleepInEventLoop(20);
    const qint64 loopMs = clock.elapsed() - t0;
    tick.stop();
    guard.stop();
    QObject::disconnect(watch);
    if (done == 0) {
        std::fprintf(stderr, "teach: the playback loop did not take a jog (inputMode %d)\n",
                     f.inputMode);
        return;
    }

    const double worst = latencies.empty() ? 0
                                           : *std::max_element(latencies.begin(), latencies.end());
    printFigure(
        QStringLiteral("(j) Jog release -> 0x03 at the controller, median (%1 runs, %2 missed)")
            .arg(latencies.size())
            .arg(missed + noJog),
        median(latencies), QStringLiteral("ms"), QStringLiteral("<= 5 ms"));
    printFigure(QStringLiteral("(j) Jog release -> 0x03, worst (%1 before the answer, loop %2 s)")
                    .arg(awaitingAnswer)
                    .arg(double(loopMs) / 1000.0, 0, 'f', 1),
                worst, QStringLiteral("ms"), QStringLiteral("<= 5 ms"));
    const double worstToPort = toPort.empty() ? 0 : *std::max_element(toPort.begin(), toPort.end());
    printFigure(QStringLiteral("(j) of it, release -> stop line to the port, median (worst %1)")
                    .arg(worstToPort, 0, 'f', 2),
                median(toPort), QStringLiteral("ms"), QStringLiteral("-"));
}

struct TeachingRun {
    double refreshesPerSecond = 0;
    double cpuPercent = 0;
    double wallSeconds = 0;
    bool measured = false;
};

// (k) Direct teaching for a while: "@?POS " lines the controller receives, and the CPU of the
// tool's thread meanwhile. The window opens with the loop's first refresh after the motor
// was switched off, and nothing polls in the tool's thread while it is open.
TeachingRun directTeaching(SimulatorThread& simulator, const QElapsedTimer& clock, int seconds)
{
    sim::Controller& controller = simulator.controller();
    std::atomic<bool> motorOff{false};
    std::atomic<bool> loopBegun{false};
    std::atomic<int> positions{0};

    TeachingRun run;
    YesDialogs dialogs;
    kap::ProgramState state;
    kap::Session session(kap::Family::PointInput, dialogs, state);
    kap::operation::attach(session);

    double cpu0 = 0;
    qint64 t0 = 0;
    int positions0 = 0;
    QTimer window;
    window.setSingleShot(true);
    window.setTimerType(Qt::PreciseTimer);
    QObject::connect(&window, &QTimer::timeout, &window, [&] {
        const double cpu = threadCpuSeconds() - cpu0;
        const int count = positions - positions0;
        run.wallSeconds = double(clock.nsecsElapsed() - t0) / 1e9;
        run.refreshesPerSecond = double(count) / run.wallSeconds;
        run.cpuPercent = cpu / run.wallSeconds * 100.0;
        run.measured = true;
        kap::operation::ChooseInputMode(session, 0);
    });
    const auto open = [&] {
        cpu0 = threadCpuSeconds();
        t0 = clock.nsecsElapsed();
        positions0 = positions;
        window.start(seconds * 1000);
    };
    QObject inTool;  // in the tool's thread, where the window opens; gone first

    const auto watch = QObject::connect(
        &controller, &sim::Controller::entryReceived, &controller,
        [&](const QByteArray& entry) {
            if (entry.startsWith("@SRVO 0")) {
                motorOff = true;
            } else if (entry.startsWith("@?POS ")) {
                ++positions;
                if (motorOff && !loopBegun.exchange(true))
                    QMetaObject::invokeMethod(&inTool, open, Qt::QueuedConnection);
            }
        },
        Qt::DirectConnection);

    // Should the loop never begin or never end.
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, &guard, [&] {
        if (session.teachingState().inputMode == 2)
            kap::operation::ChooseInputMode(session, 0);
    });
    guard.start(seconds * 1000 + 5000);
    kap::operation::ChooseInputMode(session, 1);
    // The loop runs on the session's timer until the window's end chooses numeric input.
    while (session.teachingState().loop != kap::TeachingLoop::Off)
        sleepInEventLoop(20);
    guard.stop();
    window.stop();
    QObject::disconnect(watch);
    if (!run.measured)
        std::fprintf(stderr,
                     "teach: direct teaching ended before the window closed (inputMode %d)\n",
                     session.teachingState().inputMode);
    return run;
}

}  // namespace

void runTeachBenchmarks()
{
    const bool quick = qEnvironmentVariableIsSet("KAP_BENCH_QUICK");
    QElapsedTimer clock;
    clock.start();
    sim::Options options = fastPointController();
    options.motionMs = 50;  // the return to origin at the start of each teaching is quick
    options.handTurnDegPerSec = 10.0;  // direct teaching sees the angle change
    SimulatorThread simulator(options);
    if (!startedOrSaidWhy(simulator))
        return;
    sim::Controller& controller = simulator.controller();
    const auto setPacing = [&](bool on) {
        simulator.run([&] { controller.options().pacing = on; });
    };

    jogRelease(simulator, clock, quick ? 15 : 50, quick ? 3000 : 8000);

    const int seconds = quick ? 2 : 5;
    setPacing(true);
    const TeachingRun paced = directTeaching(simulator, clock, seconds);
    setPacing(false);
    const TeachingRun fast = directTeaching(simulator, clock, seconds);

    // The CPU target is about the fast controller: there the loop could spin if it were going to.
    for (const auto& [run, pacing, cpuTarget] :
         {std::tuple{&paced, "on", "-"}, {&fast, "off", "< 10 %"}}) {
        if (!run->measured)
            continue;
        printFigure(QStringLiteral("(k) Direct-teaching refreshes, pacing %1 (%2 s)")
                        .arg(QLatin1String(pacing))
                        .arg(run->wallSeconds, 0, 'f', 1),
                    run->refreshesPerSecond, QStringLiteral("/s"), QStringLiteral("-"));
        printFigure(QStringLiteral("(k) CPU of the tool's thread, direct teaching, pacing %1")
                        .arg(QLatin1String(pacing)),
                    run->cpuPercent, QStringLiteral("% core"), QLatin1String(cpuTarget));
    }
}

}  // namespace bench
