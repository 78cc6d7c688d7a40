// Link figures: reply-to-return latency, CPU while waiting, exchanges per second.
#include "Bench.h"
#include "Controller.h"
#include "PtyServer.h"
#include "link/Link.h"
#include "link/ProgramState.h"
#include "platform/QtSerialLine.h"

#include <QElapsedTimer>

#include <cstdio>

namespace bench {
namespace {

struct Rig {
    sim::Controller controller;
    sim::PtyServer server{controller};
    kap::QtSerialLine serial;
    kap::ProgramState state;
    kap::Link link{serial, state, state.replyTimeout, kap::Link::Variant::MainWindow};

    Rig()
    {
        if (!server.start()) {
            std::fprintf(stderr, "simulator: %s\n", qPrintable(server.errorString()));
            std::exit(1);
        }
        qputenv("KAP_COM1", server.path().toLocal8Bit());
    }

    kap::Outcome query(qint16 code, float timeoutMs)
    {
        state.replyTimeout.set(timeoutMs);
        return link.exchange(code);
    }
};

}  // namespace

void runLinkBenchmarks()
{
    const bool quick = qEnvironmentVariableIsSet("KAP_BENCH_QUICK");
    Rig rig;
    QElapsedTimer clock;
    clock.start();

    // (a) From the last byte of the reply leaving the controller to the exchange returning.
    {
        qint64 lastByteNs = 0;
        const QMetaObject::Connection stamp =
            QObject::connect(&rig.controller, &sim::Controller::transmit, &rig.controller,
                             [&] { lastByteNs = clock.nsecsElapsed(); });
        std::vector<double> latencies;
        const int n = quick ? 100 : 1000;
        for (int i = 0; i < n; ++i) {
            const kap::Outcome out = rig.query(kap::cmd::QVER, 3000);
            const qint64 returned = clock.nsecsElapsed();
            if (!out.timedOut && !out.reply.isEmpty())
                latencies.push_back(double(returned - lastByteNs) / 1e6);
        }
        QObject::disconnect(stamp);
        printFigure(QStringLiteral("(a) last reply byte -> the exchange returns, median"),
                    median(latencies), QStringLiteral("ms"), QStringLiteral("<= 2 ms"));
    }

    // (b) CPU used while the controller stays silent for a whole 20 s reply timeout.
    {
        rig.controller.arm("@?VER ", {sim::Fault::NoReply, {}, 0});
        const float waitMs = quick ? 2000.0f : 20000.0f;
        const double cpu0 = cpuSeconds();
        const qint64 t0 = clock.elapsed();
        const kap::Outcome out = rig.query(kap::cmd::QVER, waitMs);
        const double cpu = cpuSeconds() - cpu0;
        rig.controller.clearFaults();
        printFigure(QStringLiteral("(b) CPU during a %1 s silent wait (timed out: %2, %3 ms)")
                        .arg(waitMs / 1000)
                        .arg(out.timedOut ? "yes" : "no")
                        .arg(clock.elapsed() - t0),
                    cpu, QStringLiteral("s"), QStringLiteral("<= 0.2 s for 20 s"));
    }

    // (c) Short queries in a loop, pacing off.
    {
        const int n = 1000;
        int ok = 0;
        const qint64 t0 = clock.nsecsElapsed();
        for (int i = 0; i < n; ++i)
            ok += rig.query(kap::cmd::QVER, 3000).timedOut ? 0 : 1;
        const double seconds = double(clock.nsecsElapsed() - t0) / 1e9;
        printFigure(
            QStringLiteral("(c) short queries per second (%1 of %2 answered)").arg(ok).arg(n),
            double(n) / seconds, QStringLiteral("1/s"), QStringLiteral(">= 500 /s"));
    }
}

}  // namespace bench
