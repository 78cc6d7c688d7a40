#include "CliOptions.h"

#include "NetworkAddress.h"
#include "PortAssignments.h"
#include "PortName.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <sys/stat.h>

namespace kap::cli {

namespace {

std::optional<Command> commandOf(const QString& word)
{
    if (word == u"info")
        return Command::Info;
    if (word == u"backup")
        return Command::Backup;
    if (word == u"restore")
        return Command::Restore;
    if (word == u"compare")
        return Command::Compare;
    return std::nullopt;
}

ParseResult refuse(const QString& why)
{
    ParseResult r;
    r.error = why;
    return r;
}

// The file name a port's backup gets: the device's own name, "ttyUSB0" for /dev/ttyUSB0;
// "10.0.0.5-4001" for rfc2217://10.0.0.5:4001.
QString deviceFileName(const PortSpec& port)
{
    if (const auto network = parseNetworkAddress(port.device).address)
        return QString(network->host).replace(QLatin1Char(':'), QLatin1Char('-')) + QLatin1Char('-')
               + QString::number(network->port);
    const QString name = QFileInfo(port.device).fileName();
    return name.isEmpty() ? port.name : name;
}

// The device itself (file system and inode) where it exists, else its name.
QString deviceIdentity(const QString& device)
{
    struct stat st {};
    if (::stat(QFile::encodeName(device).constData(), &st) != 0)
        return device;
    return QStringLiteral("%1:%2").arg(quint64(st.st_dev)).arg(quint64(st.st_ino));
}

}  // namespace

QString Request::backupPath(const PortSpec& port) const
{
    if (outDir.isEmpty())
        return file;
    return QDir(outDir).filePath(deviceFileName(port) + QStringLiteral(".csv"));
}

QString usageText()
{
    return QStringLiteral(
        "Usage:\n"
        "  kap-cli info    --port P [--port P2 ...] [--json]\n"
        "  kap-cli backup  --port P FILE.csv\n"
        "  kap-cli backup  --port P1 --port P2 ... --out DIR\n"
        "  kap-cli restore --port P FILE.csv [--yes] [--allow-missing]\n"
        "  kap-cli compare --port P FILE.csv [--json]\n"
        "\n"
        "P is COM1 to COM8 (the device the tool assigns to it) or a device path; a bare\n"
        "name such as ttyUSB0 is looked for in /dev.\n"
        "P may also be a serial device server: rfc2217://HOST:PORT or tcp://HOST:PORT.\n"
        "restore refuses a file that lacks parameters (older, shorter files);\n"
        "--allow-missing sends their initial values instead.\n"
        "Exit codes: 0 done or equal, 1 differences found, 2 communication error or\n"
        "refusal, 3 bad file or bad arguments.\n");
}

ParseResult parseArguments(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    const QCommandLineOption portOption(QStringLiteral("port"), QString(), QStringLiteral("P"));
    const QCommandLineOption outOption(QStringLiteral("out"), QString(), QStringLiteral("DIR"));
    const QCommandLineOption yesOption(QStringLiteral("yes"));
    const QCommandLineOption allowMissingOption(QStringLiteral("allow-missing"));
    const QCommandLineOption jsonOption(QStringLiteral("json"));
    const QCommandLineOption helpOption(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    parser.addOptions(
        {portOption, outOption, yesOption, allowMissingOption, jsonOption, helpOption});
    if (!parser.parse(QStringList{QStringLiteral("kap-cli")} + arguments))
        return refuse(parser.errorText());
    if (parser.isSet(helpOption)) {
        ParseResult r;
        r.help = true;
        return r;
    }

    QStringList positional = parser.positionalArguments();
    if (positional.isEmpty())
        return refuse(QStringLiteral("no command given"));
    const std::optional<Command> command = commandOf(positional.takeFirst());
    if (!command)
        return refuse(QStringLiteral("unknown command"));

    Request request;
    request.command = *command;
    request.yes = parser.isSet(yesOption);
    request.allowMissing = parser.isSet(allowMissingOption);
    request.json = parser.isSet(jsonOption);
    request.outDir = parser.value(outOption);

    const QStringList ports = parser.values(portOption);
    if (ports.isEmpty())
        return refuse(QStringLiteral("no --port given"));
    QSet<QString> devices;
    for (const QString& name : ports) {
        PortSpec port;
        port.name = name;
        const ParsedAddress network = parseNetworkAddress(name);
        if (!network.error.isEmpty())
            return refuse(network.error);
        if (network.address) {
            port.device = network.address->text();
        } else if (ports::numberOf(name)) {
            port.comName = name;
            port.device = devicePathFor(name);
        } else {
            // A bare name such as "ttyUSB0" is the line's to find in /dev; a relative path
            // is taken from here, since the threads must not depend on the folder.
            port.device = name.contains(QLatin1Char('/')) ? QFileInfo(name).absoluteFilePath()
                                                          : name;
        }
        if (port.device.isEmpty())
            return refuse(QStringLiteral("%1: no device").arg(name));
        // A port assigned a malformed address is refused here, before any port is asked.
        if (const QString why = parseNetworkAddress(port.device).error; !why.isEmpty())
            return refuse(QStringLiteral("%1: %2").arg(name, why));
        // Two sessions on one device would answer each other's exchanges, also when one
        // names it through a link.
        const QString identity = deviceIdentity(port.device);
        if (devices.contains(identity))
            return refuse(QStringLiteral("%1: given twice").arg(port.device));
        devices.insert(identity);
        request.ports.append(port);
    }

    if (request.json && *command != Command::Info && *command != Command::Compare)
        return refuse(QStringLiteral("--json is for info and compare"));
    if (!request.outDir.isEmpty() && *command != Command::Backup)
        return refuse(QStringLiteral("--out is for backup"));
    if (request.yes && *command != Command::Restore)
        return refuse(QStringLiteral("--yes is for restore"));
    if (request.allowMissing && *command != Command::Restore)
        return refuse(QStringLiteral("--allow-missing is for restore"));

    switch (*command) {
    case Command::Info:
        if (!positional.isEmpty())
            return refuse(QStringLiteral("info takes no file"));
        break;
    case Command::Backup:
        if (request.outDir.isEmpty()) {
            if (positional.size() != 1)
                return refuse(QStringLiteral("backup needs one FILE, or --out DIR"));
            if (request.ports.size() != 1)
                return refuse(QStringLiteral("backup of several ports needs --out DIR"));
            request.file = positional.first();
        } else {
            if (!positional.isEmpty())
                return refuse(QStringLiteral("backup takes either FILE or --out DIR"));
            QSet<QString> names;
            for (const PortSpec& port : std::as_const(request.ports)) {
                const QString path = request.backupPath(port);
                if (names.contains(path))
                    return refuse(QStringLiteral("%1: two ports would write it").arg(path));
                names.insert(path);
            }
            if (!QDir().mkpath(request.outDir))
                return refuse(QStringLiteral("%1: cannot create the folder").arg(request.outDir));
        }
        break;
    case Command::Restore:
    case Command::Compare:
        if (positional.size() != 1)
            return refuse(QStringLiteral("one FILE needed"));
        request.file = positional.first();
        if (!QFileInfo(request.file).isFile() || !QFileInfo(request.file).isReadable())
            return refuse(QStringLiteral("%1: no such readable file").arg(request.file));
        break;
    }
    ParseResult r;
    r.request = request;
    return r;
}

}  // namespace kap::cli
