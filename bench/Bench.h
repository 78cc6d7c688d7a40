// Shared bits of the benchmark program.
#pragma once

#include <QString>

#include <vector>

namespace bench {

// CPU seconds (user + system) this process has used so far.
double cpuSeconds();
double median(std::vector<double> values);
void printFigure(const QString& name, double value, const QString& unit, const QString& target);

// Each benchmark group; run by bench_main.
void runLinkBenchmarks();
void runExchangeBenchmarks();

}  // namespace bench
