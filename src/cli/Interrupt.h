// Ctrl-C and SIGTERM in kap-cli. A write block cut off in the middle leaves the controller
// with part of its table, erased before the block began, so the first signal lets every port
// finish the step it is in and stop before the next one. A second Ctrl-C stops at once: it
// puts every port's line settings back as they were before kap-cli opened it and names the
// controllers left with partial data. Either way the program ends with kExitCode.
#pragma once

#include "cli/CliOptions.h"

#include <QList>

namespace kap::cli::interrupt {

inline constexpr int kExitCode = 130;  // 128 + SIGINT, as shells report an interrupt

// The handlers for SIGINT and SIGTERM (the program's main only; tests run the signal in a
// child process).
void install();

// A first signal came: stop before the next step.
bool requested();

// The ports of this run, in the order of their slots, before their threads start: their
// names for the messages, and their devices' line settings as they are now.
void setPorts(const QList<PortSpec>& ports);

// The port of slot is writing to its controller: cut off now, the controller keeps part.
void setWriting(int slot, bool writing);

}  // namespace kap::cli::interrupt
