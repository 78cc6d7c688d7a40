// Shared bits of the benchmark program.
#pragma once

#include "Controller.h"
#include "SimulatorThread.h"
#include "platform/Dialogs.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

namespace bench {

// CPU seconds (user + system) this process has used so far.
double cpuSeconds();
// CPU seconds of the calling thread only: with the simulator in a thread of its own, this is
// the tool's share.
double threadCpuSeconds();
double median(std::vector<double> values);
// Lets the event loop run for ms without spinning (timers and the link's waits go on).
void sleepInEventLoop(int ms);
void printFigure(const QString& name, double value, const QString& unit, const QString& target);

// Every question answered Yes, every box OK.
class YesDialogs : public kap::Dialogs {
public:
    kap::MsgAnswer message(const QString&, const QString&, kap::MsgIcon,
                           kap::MsgButtons buttons) override
    {
        return buttons == kap::MsgButtons::Ok ? kap::MsgAnswer::Ok : kap::MsgAnswer::Yes;
    }
    void beep() override {}
    QString saveFileName(const kap::FileDialogOptions&) override { return {}; }
    QString openFileName(const kap::FileDialogOptions&) override { return {}; }
    bool choosePrinter(QPrinter&) override { return false; }
};

// The simulator in a thread of its own; once started, COM1 of the tool is its pty.
class SimulatorThread : public sim::SimulatorThread {
public:
    // setUp runs in the simulator's thread before the pty opens.
    explicit SimulatorThread(const sim::Options& options,
                             const std::function<void(sim::Controller&)>& setUp = {});
};

// A point-input controller that answers at once (no pacing, no latency).
sim::Options fastPointController();
// A point-input controller paced at 9600 baud, as a real one answers.
sim::Options pacedPointController();
// All 64 points defined, so a table read carries a full reply.
void fillEveryPoint(sim::Controller& controller);
// False, after saying why on stderr, when the simulator did not start.
bool startedOrSaidWhy(const SimulatorThread& simulator);
// count paced point-input controllers with every point defined, each in a thread of its own;
// their ptys are added to devices. None, after saying why, when one did not start.
std::vector<std::unique_ptr<SimulatorThread>> startFullControllers(int count, QStringList& devices);

// kap-cli backing up all these ports at once against the first alone: the wall times and
// their ratio, each figure's name starting with name.
void printBackupFigures(const QString& name, const QStringList& ports);

// Each benchmark group; run by bench_main.
void runLinkBenchmarks();
void runExchangeBenchmarks();
void runDriveBenchmarks();
void runTeachBenchmarks();
void runCliBenchmarks();
void runNetworkBenchmarks();

}  // namespace bench
