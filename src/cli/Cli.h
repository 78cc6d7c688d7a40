// kap-cli: the main window's data commands from the command line, on any number of ports at
// once, each port in a thread of its own with its own session.
#pragma once

#include "cli/Console.h"

#include <QStringList>

namespace kap::cli {

struct Io {
    Console::Sink out;          // stdout
    Console::Sink err;          // stderr
    Console::LineSource in;     // the user's answers
    bool terminal = false;      // stderr is a terminal: progress bars instead of lines
    bool inputTerminal = true;  // the answers are typed (else they are echoed)
    // Multiplies every protocol wait (tests and scripts against the simulator).
    double timeScale = 1.0;
};

// Runs the command line (without the program name); returns the exit code. Waits in an
// event loop of the calling thread, so objects of that thread keep being served.
int RunCli(const QStringList& arguments, const Io& io);

}  // namespace kap::cli
