// Controllers behind ser2net on loopback against the same controllers on their own ptys: a
// 64-point receive through RFC 2217, and kap-cli backing up eight at once. The line is paced at
// 9600 baud, so a network port should cost hardly anything on top of the wire.
#include "Bench.h"
#include "Ser2net.h"
#include "exchange/Receive.h"
#include "link/ProgramState.h"
#include "session/Session.h"

#include <QElapsedTimer>

#include <cstdio>
#include <memory>
#include <vector>

namespace bench {
namespace {

constexpr int kControllers = 8;

// Median wall time of a 64-point receive on COM1 as it is set now.
double receiveMs(int runs)
{
    YesDialogs dialogs;
    kap::ProgramState state;
    kap::Session session(kap::Family::PointInput, dialogs, state);
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer clock;
        clock.start();
        if (kap::exchange::ReceiveTable(session) != kap::exchange::Result::Done) {
            std::fprintf(stderr, "receive through %s failed\n", qgetenv("KAP_COM1").constData());
            return -1;
        }
        times.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    return median(times);
}

}  // namespace

void runNetworkBenchmarks()
{
    if (kap::test::Ser2net::program().isEmpty()) {
        std::printf(
            "(m) skipped: ser2net is not installed (scripts/install-deps.sh installs it)\n");
        return;
    }
    const bool quick = qEnvironmentVariableIsSet("KAP_BENCH_QUICK");
    QStringList devices;
    const auto simulators = startFullControllers(kControllers, devices);
    if (simulators.empty())
        return;
    kap::test::Ser2net server(devices);
    if (!server.started()) {
        std::fprintf(stderr, "ser2net: %s\n", qPrintable(server.errorString()));
        return;
    }

    const int runs = quick ? 2 : 5;
    qputenv("KAP_COM1", devices.first().toLocal8Bit());
    const double local = receiveMs(runs);
    qputenv("KAP_COM1", server.rfc2217Address(0).toLocal8Bit());
    const double rfc = receiveMs(runs);
    qputenv("KAP_COM1", server.tcpAddress(0).toLocal8Bit());
    const double raw = receiveMs(runs);
    qputenv("KAP_COM1", devices.first().toLocal8Bit());
    if (local < 0 || rfc < 0 || raw < 0)
        return;
    printFigure(QStringLiteral("(m) receive 64 points, local pty"), local, QStringLiteral("ms"),
                QStringLiteral("-"));
    printFigure(QStringLiteral("(m) receive 64 points, ser2net RFC 2217"), rfc,
                QStringLiteral("ms"), QStringLiteral("-"));
    printFigure(QStringLiteral("(m) receive 64 points, RFC 2217 / local"), rfc / local,
                QStringLiteral("x"), QStringLiteral("<= 1.05"));
    printFigure(QStringLiteral("(m) receive 64 points, raw TCP / local"), raw / local,
                QStringLiteral("x"), QStringLiteral("-"));

    QStringList addresses;
    for (int i = 0; i < kControllers; ++i)
        addresses << server.rfc2217Address(i);
    printBackupFigures(QStringLiteral("(m) kap-cli backup, ser2net RFC 2217"), addresses);
}

}  // namespace bench
