// kap-bench: measures the link against the controller simulator on a pty and prints figures.
#include "Bench.h"

#include <QCoreApplication>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>

namespace bench {

double cpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec)
           + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
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

}  // namespace bench

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const bool quick = args.contains(QStringLiteral("--quick"));
    if (quick)
        qputenv("KAP_BENCH_QUICK", "1");
    bench::runLinkBenchmarks();
    bench::runExchangeBenchmarks();
    return 0;
}
