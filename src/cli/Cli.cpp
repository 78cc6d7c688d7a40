#include "cli/Cli.h"

#include "cli/CliOptions.h"
#include "cli/Interrupt.h"
#include "cli/PortJob.h"

#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QThread>

#include <algorithm>
#include <memory>
#include <vector>

namespace kap::cli {

namespace {

QString commandName(Command command)
{
    switch (command) {
    case Command::Info:
        return QStringLiteral("info");
    case Command::Backup:
        return QStringLiteral("backup");
    case Command::Restore:
        return QStringLiteral("restore");
    case Command::Compare:
        return QStringLiteral("compare");
    }
    return {};
}

}  // namespace

int RunCli(const QStringList& arguments, const Io& io)
{
    const ParseResult parsed = parseArguments(arguments);
    if (parsed.help) {
        io.out(usageText().toUtf8());
        return Success;
    }
    if (parsed.version) {
        io.out(QStringLiteral("kap-cli %1\n").arg(QStringLiteral(KAP_VERSION)).toUtf8());
        return Success;
    }
    if (!parsed.request) {
        io.err((QStringLiteral("kap-cli: ") + parsed.error
                + QStringLiteral("\nTry 'kap-cli --help' for the usage.\n"))
                   .toUtf8());
        return BadInput;
    }
    const Request& request = *parsed.request;

    Console console(io.out, io.err, io.in, io.terminal, !io.inputTerminal);
    console.setProgress(request.verbosity != Verbosity::Quiet,
                        request.verbosity == Verbosity::Verbose);
    interrupt::setPorts(request.ports);
    const int count = int(request.ports.size());
    std::vector<PortOutcome> outcomes(count);
    std::vector<std::unique_ptr<QThread>> threads;
    for (const PortSpec& port : request.ports)
        console.addPort(port.name);

    // One thread per port; the sessions are made inside them, so one silent controller
    // holds up nobody else.
    QEventLoop loop;
    int running = count;
    for (int i = 0; i < count; ++i) {
        threads.emplace_back(QThread::create([&, i] {
            outcomes[i] = RunPort(request, request.ports.at(i), io.timeScale, console, i);
        }));
        QObject::connect(threads.back().get(), &QThread::finished, &loop, [&] {
            if (--running == 0)
                loop.quit();
        });
        threads.back()->start();
    }
    loop.exec();
    for (const auto& thread : threads)
        thread->wait();
    console.releaseBars();

    // Whatever the ports got done, a run that was asked to stop says so.
    int worst = interrupt::requested() ? Interrupted : Success;
    QJsonArray portsJson;
    QString summary = QStringLiteral("summary:\n");
    for (int i = 0; i < count; ++i) {
        const PortSpec& port = request.ports.at(i);
        const PortOutcome& o = outcomes[i];
        worst = std::max(worst, o.exitCode);
        summary += QStringLiteral("  %1: %2 (exit %3)\n").arg(port.name, o.summary).arg(o.exitCode);
        QJsonObject entry = o.json;
        entry[QStringLiteral("port")] = port.name;
        entry[QStringLiteral("device")] = port.device;
        entry[QStringLiteral("exitCode")] = o.exitCode;
        if (!entry.contains(QStringLiteral("result")))
            entry[QStringLiteral("result")] = o.summary;
        if (!o.error.isEmpty())
            entry[QStringLiteral("error")] = o.error;
        portsJson.append(entry);
    }
    // One port has said it all in its own lines.
    if (count > 1 && request.verbosity != Verbosity::Quiet)
        console.sayPlain(summary.chopped(1));
    if (request.json) {
        const QJsonObject document{{QStringLiteral("command"), commandName(request.command)},
                                   {QStringLiteral("exitCode"), worst},
                                   {QStringLiteral("ports"), portsJson}};
        console.print(QString::fromUtf8(QJsonDocument(document).toJson(QJsonDocument::Indented)));
    }
    return worst;
}

}  // namespace kap::cli
