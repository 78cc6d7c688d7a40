// kap-cli: info, backup, restore and compare against controllers, without a window.
//
// KAP_TIME_SCALE (a positive number, default 1) multiplies every reply window; it is a test
// aid for running against the simulator quickly, not for real controllers.
#include "cli/Cli.h"
#include "cli/Interrupt.h"

#include <QCoreApplication>

#include <cstdio>
#include <iostream>
#include <string>

#include <unistd.h>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    kap::cli::Io io;
    io.out = [](const QByteArray& bytes) {
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
        std::fflush(stdout);
    };
    io.err = [](const QByteArray& bytes) {
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
        std::fflush(stderr);
    };
    io.in = []() -> std::optional<QString> {
        std::string line;
        if (!std::getline(std::cin, line))
            return std::nullopt;
        return QString::fromLocal8Bit(line.c_str());
    };
    io.terminal = ::isatty(STDERR_FILENO) == 1;
    io.inputTerminal = ::isatty(STDIN_FILENO) == 1;
    bool ok = false;
    const double scale = qEnvironmentVariable("KAP_TIME_SCALE").toDouble(&ok);
    if (ok && scale > 0.0)
        io.timeScale = scale;
    kap::cli::interrupt::install();
    return kap::cli::RunCli(app.arguments().mid(1), io);
}
