// One port's part of a kap-cli command, run in a thread of its own: the family query, a
// session of that family, and the same procedures the main window runs for the command.
#pragma once

#include "cli/CliOptions.h"
#include "cli/Console.h"

#include <QJsonObject>
#include <QString>

namespace kap::cli {

struct PortOutcome {
    int exitCode = Success;
    QString summary;   // the port's line in the summary
    QString error;     // the error code for --json; empty when the port succeeded
    QJsonObject json;  // the port's result for --json
};

// Creates everything it talks through in the calling thread and destroys it again before
// returning.
PortOutcome RunPort(const Request& request, const PortSpec& port, double timeScale,
                    Console& console, int slot);

}  // namespace kap::cli
