// A simulated controller in a thread of its own, as a controller is a device of its own; its
// objects are made and destroyed in that thread. Benchmarks and the soak drive the tool in
// their main thread against it.
#pragma once

#include "Controller.h"
#include "PtyServer.h"

#include <QObject>
#include <QString>
#include <QThread>

#include <functional>
#include <memory>

namespace sim {

class SimulatorThread {
public:
    // setUp runs in the simulator's thread before the pty opens; linkPath, when given, is a
    // symbolic link to the pty that stays put when a fault closes and reopens the line.
    explicit SimulatorThread(const Options& options,
                             const std::function<void(Controller&)>& setUp = {},
                             const QString& linkPath = {});
    ~SimulatorThread();
    SimulatorThread(const SimulatorThread&) = delete;
    SimulatorThread& operator=(const SimulatorThread&) = delete;

    bool started() const { return started_; }
    QString errorString() const { return error_; }
    // The path the tool opens.
    QString path() const { return path_; }
    Controller& controller() { return *controller_; }
    // Runs f in the simulator's thread and waits for it.
    void run(const std::function<void()>& f);

private:
    QThread thread_;
    QObject inThread_;
    std::unique_ptr<Controller> controller_;
    std::unique_ptr<PtyServer> server_;
    bool started_ = false;
    QString error_;
    QString path_;
};

}  // namespace sim
