// Receive and transmit figures against the simulator with 9600 baud pacing: how close the
// wall time comes to what the line itself needs (bytes both ways at 11 bits per byte, plus
// the 100 ms window of each record the controller leaves unanswered), and the CPU spent.
#include "Bench.h"
#include "exchange/Receive.h"
#include "exchange/Transmit.h"
#include "link/ProgramState.h"
#include "session/Session.h"

#include <QElapsedTimer>

#include <atomic>
#include <cstdio>
#include <functional>

namespace bench {
namespace {

struct Figures {
    double wallMs = 0;
    double wireMs = 0;
    int silentRecords = 0;
    double cpuMs = 0;
};

Figures measure(sim::Controller& controller, const std::function<void()>& operation)
{
    std::atomic<qint64> bytesOut{0};
    const auto counter = QObject::connect(
        &controller, &sim::Controller::transmit, &controller,
        [&](const QByteArray& b) { bytesOut += b.size(); }, Qt::DirectConnection);
    QMetaObject::invokeMethod(
        &controller, [&] { controller.clearReceived(); }, Qt::BlockingQueuedConnection);
    const double cpu0 = threadCpuSeconds();
    QElapsedTimer clock;
    clock.start();
    operation();
    Figures f;
    f.wallMs = double(clock.nsecsElapsed()) / 1e6;
    f.cpuMs = (threadCpuSeconds() - cpu0) * 1000.0;
    QObject::disconnect(counter);
    qint64 bytesIn = 0;
    QList<QByteArray> received;
    QMetaObject::invokeMethod(
        &controller, [&] { received = controller.receivedLines(); }, Qt::BlockingQueuedConnection);
    for (const QByteArray& entry : received) {
        bytesIn += entry.size();
        // Records of a write block go unanswered: each costs its full 100 ms window.
        if (!controller.options().ackRecords && !entry.startsWith('@') && entry != "\x1a")
            ++f.silentRecords;
    }
    f.wireMs = double(bytesIn + bytesOut) * 11.0 / 9600.0 * 1000.0;
    return f;
}

void print(const QString& name, const Figures& f)
{
    const double lineMs = f.wireMs + 100.0 * f.silentRecords;
    printFigure(name + QStringLiteral(": wall time"), f.wallMs, QStringLiteral("ms"),
                QStringLiteral("-"));
    printFigure(name + QStringLiteral(": wire time + %1 silent windows").arg(f.silentRecords),
                lineMs, QStringLiteral("ms"), QStringLiteral("-"));
    printFigure(name + QStringLiteral(": wall / (wire + windows)"), f.wallMs / lineMs,
                QStringLiteral("x"), QStringLiteral("<= 1.05"));
    printFigure(name + QStringLiteral(": CPU of the tool's thread"), f.cpuMs, QStringLiteral("ms"),
                QStringLiteral("<= 5 % of wall: %1 ms").arg(f.wallMs * 0.05, 0, 'f', 1));
}

}  // namespace

void runExchangeBenchmarks()
{
    const sim::Options options = pacedPointController();
    SimulatorThread simulator(options, fillEveryPoint);
    if (!startedOrSaidWhy(simulator))
        return;
    sim::Controller& controller = simulator.controller();

    // A point-input session without a view: nothing is shown and Cancel is never pressed.
    YesDialogs dialogs;
    kap::ProgramState state;
    kap::Session session(kap::Family::PointInput, dialogs, state);
    print(QStringLiteral("(d) receive 64 points"),
          measure(controller, [&] { kap::exchange::ReceiveTable(session); }));
    print(QStringLiteral("(e) receive parameters"),
          measure(controller, [&] { kap::exchange::ReceiveParameters(session); }));
    print(QStringLiteral("(f) transmit 64 points"),
          measure(controller, [&] { kap::exchange::TransmitTable(session); }));
}

}  // namespace bench
