// Test helpers around the controller simulator: one controller served on a pty, reachable
// by the tool as "COM1" (or another port), and a fresh program state per test.
#pragma once

#include "Controller.h"
#include "PtyServer.h"
#include "ScratchState.h"

#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <memory>

namespace kap::test {

// Points KAP_COMn at a device path for the lifetime of the object.
class PortOverride {
public:
    PortOverride(int n, const QString& device);
    ~PortOverride();

private:
    QByteArray name_;
    QByteArray previous_;
    bool had_ = false;
};

struct SimLine {
    explicit SimLine(sim::Options options = {}, int port = 1);
    // The port is a link in here, gone once the server stops: a stopped simulator's pty number
    // may be handed to another test's simulator at once, and must not be reachable by it.
    QTemporaryDir linkDir;
    sim::Controller controller;
    sim::PtyServer server{controller};
    std::unique_ptr<PortOverride> override;
};

// Runs the event loop until pred() holds or timeoutMs passed; returns pred().
bool waitUntil(const std::function<bool()>& pred, int timeoutMs = 5000);

}  // namespace kap::test
