// What kap-cli was asked to do: the command, the ports with the devices they stand for, and
// the files. Reading the command line checks everything that can be checked without a
// controller, so a mistake costs no exchange on any port.
#pragma once

#include "platform/CodePage.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace kap::cli {

// The program's exit codes; with several ports the highest of them.
enum ExitCode {
    Success = 0,        // done, or compared equal
    Differences = 1,    // compare found differences
    Failure = 2,        // communication error, or the controller or the user refused
    BadInput = 3,       // bad file or bad arguments
    Interrupted = 130,  // Ctrl-C or SIGTERM (see Interrupt.h)
};

// How much goes to stderr: Quiet only errors (results still go to stdout), Normal a line per
// port and step, Verbose every message and question the window would have shown as well.
enum class Verbosity { Quiet, Normal, Verbose };

enum class Command { Info, Backup, Restore, Compare };

struct PortSpec {
    QString name;     // as given: "COM3" or a device path
    QString device;   // what is opened
    QString comName;  // "COM3" for a port name; empty for a device path
};

struct Request {
    Command command = Command::Info;
    QList<PortSpec> ports;
    QString file;      // backup to one file; the file restore and compare read
    QString outDir;    // backup of several ports: one file each in here
    bool yes = false;  // restore erases the controller's table without asking
    // restore sends a file that lacks parameters, with their initial values in their place
    bool allowMissing = false;
    bool json = false;  // info and compare print their result as JSON on stdout
    // backup writes, restore and compare read first (--encoding)
    codepage::Encoding encoding = codepage::Encoding::Windows1252;
    Verbosity verbosity = Verbosity::Normal;

    // Where backup writes a port's file.
    QString backupPath(const PortSpec& port) const;
};

struct ParseResult {
    std::optional<Request> request;
    QString error;  // why the command line was refused (request empty)
    bool help = false;
    bool version = false;
};

// What one --port value stands for: "COM1" to "COM8" the device the tool assigns to it; a
// value with a "/", or naming a file that exists, that path; a bare name ("ttyUSB0") the
// device of that name in /dev. Nothing, with the reason in error, for a value that cannot be
// a port ("COM9").
std::optional<PortSpec> interpretPort(const QString& value, QString* error);

// arguments without the program name. Ports are looked up here, in the calling thread,
// because the port assignments are one store for the whole program.
ParseResult parseArguments(const QStringList& arguments);

QString usageText();

}  // namespace kap::cli
