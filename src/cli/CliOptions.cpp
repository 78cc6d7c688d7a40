#include "cli/CliOptions.h"

#include "platform/NetworkAddress.h"
#include "platform/PortAssignments.h"
#include "platform/PortName.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

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
        "Usage: kap-cli info --port P [--port P2 ...] [--json]\n"
        "  or:  kap-cli backup --port P FILE.csv [--json]\n"
        "  or:  kap-cli backup --port P1 --port P2 ... --out DIR [--json]\n"
        "  or:  kap-cli restore --port P FILE.csv [--yes] [--allow-missing] [--json]\n"
        "  or:  kap-cli compare --port P FILE.csv [--json]\n"
        "  or:  kap-cli --version | --help\n"
        "\n"
        "Reads, writes and compares the setting data of actuator controllers on serial\n"
        "lines, several ports at once.\n"
        "\n"
        "Options:\n"
        "  --port P         P is COM1 to COM8 (the device the tool assigns to it), a path\n"
        "                   (a value with a \"/\", or naming an existing file, such as\n"
        "                   ./a.tty), or a bare name such as ttyUSB0, looked up in /dev,\n"
        "                   or a serial device server: rfc2217://HOST:PORT, tcp://HOST:PORT.\n"
        "  --out DIR        backup of several ports: one file per port in DIR, which must\n"
        "                   exist and be writable.\n"
        "  --yes            restore erases the controller's table without asking.\n"
        "  --allow-missing  restore sends a file that lacks parameters (older, shorter\n"
        "                   files) with their initial values in their place.\n"
        "  --json           the result as JSON on stdout, with an error code per port.\n"
        "  --encoding E     the setting file's code page: windows-1252 (the default) or\n"
        "                   shift_jis; backup writes it, restore and compare read it first.\n"
        "  --quiet          only results and errors.\n"
        "  --verbose        every step, message and question as well.\n"
        "  --version        the program's version.\n"
        "  -h, --help       this text.\n"
        "\n"
        "Ctrl-C (or SIGTERM) lets a write to a controller finish its block and stops before\n"
        "the next step; a second Ctrl-C stops at once and names the controllers left with\n"
        "partial data. The line settings are put back either way.\n"
        "\n"
        "Exit codes (with several ports the highest):\n"
        "  0    done, or compared equal\n"
        "  1    compare found differences\n"
        "  2    communication error, or the controller or the user refused\n"
        "  3    bad file or bad arguments\n"
        "  130  interrupted by Ctrl-C or SIGTERM\n"
        "\n"
        "Error codes in the JSON output (each port's error; none when it succeeded):\n"
        "  port-open           the port could not be opened, or was lost (exit 2)\n"
        "  timeout             the controller did not answer, in time or readably (exit 2)\n"
        "  refused             the controller refused a command with \"NG\" (exit 2)\n"
        "  declined            the user did not confirm the restore (exit 2)\n"
        "  unknown-controller  the controller is of no family the tool knows (exit 2)\n"
        "  bad-file            the file cannot be read, used or written (exit 3)\n"
        "  other-family        the file is for the other controller family (exit 3)\n"
        "  interrupted         stopped by Ctrl-C or SIGTERM (exit 130)\n");
}

std::optional<PortSpec> interpretPort(const QString& value, QString* error)
{
    static const QRegularExpression comName(QStringLiteral("^COM\\d+$"),
                                            QRegularExpression::CaseInsensitiveOption);
    PortSpec port;
    port.name = value;
    // "scheme://" is a serial device server's address, never a file.
    const ParsedAddress network = parseNetworkAddress(value);
    if (!network.error.isEmpty()) {
        *error = network.error;
        return std::nullopt;
    }
    if (network.address) {
        port.device = network.address->text();
    } else if (ports::numberOf(value)) {
        port.comName = value;
        port.device = devicePathFor(value);
    } else if (value.contains(QLatin1Char('/')) || QFileInfo::exists(value)) {
        // Absolute: the port threads must not depend on the current folder.
        port.device = QFileInfo(value).absoluteFilePath();
    } else if (comName.match(value).hasMatch()) {
        *error = QStringLiteral("%1: port names run from COM1 to COM8").arg(value);
        return std::nullopt;
    } else if (!value.isEmpty()) {
        port.device = QStringLiteral("/dev/") + value;
    }
    if (port.device.isEmpty()) {
        *error = QStringLiteral("%1: no device").arg(value);
        return std::nullopt;
    }
    // A port assigned a malformed address is refused here, before any port is asked.
    if (const QString why = parseNetworkAddress(port.device).error; !why.isEmpty()) {
        *error = QStringLiteral("%1: %2").arg(value, why);
        return std::nullopt;
    }
    return port;
}

namespace {

// A folder a backup can write into; the system's reason when it is not.
QString folderProblem(const QString& folder)
{
    const QByteArray path = QFile::encodeName(folder.isEmpty() ? QStringLiteral(".") : folder);
    struct stat st {};
    if (::stat(path.constData(), &st) != 0)
        return qt_error_string(errno);
    if (!S_ISDIR(st.st_mode))
        return qt_error_string(ENOTDIR);
    if (::access(path.constData(), W_OK | X_OK) != 0)
        return qt_error_string(errno);
    return {};
}

// The backup targets, checked before any controller is read.
QString backupTargetProblem(const Request& request)
{
    if (!request.outDir.isEmpty()) {
        const QString why = folderProblem(request.outDir);
        return why.isEmpty() ? QString() : request.outDir + QStringLiteral(": ") + why;
    }
    const QFileInfo target(request.file);
    if (target.exists() && !target.isFile())
        return request.file + QStringLiteral(": not a regular file");
    const QString why = folderProblem(target.path());
    return why.isEmpty() ? QString() : target.path() + QStringLiteral(": ") + why;
}

}  // namespace

ParseResult parseArguments(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    const QCommandLineOption portOption(QStringLiteral("port"), QString(), QStringLiteral("P"));
    const QCommandLineOption outOption(QStringLiteral("out"), QString(), QStringLiteral("DIR"));
    const QCommandLineOption yesOption(QStringLiteral("yes"));
    const QCommandLineOption allowMissingOption(QStringLiteral("allow-missing"));
    const QCommandLineOption jsonOption(QStringLiteral("json"));
    const QCommandLineOption encodingOption(QStringLiteral("encoding"), QString(),
                                            QStringLiteral("E"), QStringLiteral("windows-1252"));
    const QCommandLineOption quietOption(QStringLiteral("quiet"));
    const QCommandLineOption verboseOption(QStringLiteral("verbose"));
    const QCommandLineOption versionOption(QStringLiteral("version"));
    const QCommandLineOption helpOption(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    parser.addOptions({portOption, outOption, yesOption, allowMissingOption, jsonOption,
                       quietOption, verboseOption, versionOption, helpOption, encodingOption});
    if (!parser.parse(QStringList{QStringLiteral("kap-cli")} + arguments))
        return refuse(parser.errorText());
    if (parser.isSet(helpOption) || parser.isSet(versionOption)) {
        ParseResult r;
        r.help = parser.isSet(helpOption);
        r.version = !r.help;
        return r;
    }
    if (parser.isSet(quietOption) && parser.isSet(verboseOption))
        return refuse(QStringLiteral("--quiet and --verbose exclude each other"));

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
    const std::optional<codepage::Encoding> encoding =
        codepage::fromName(parser.value(encodingOption));
    if (!encoding)
        return refuse(QStringLiteral("--encoding is windows-1252 or shift_jis"));
    request.encoding = *encoding;
    if (parser.isSet(quietOption))
        request.verbosity = Verbosity::Quiet;
    else if (parser.isSet(verboseOption))
        request.verbosity = Verbosity::Verbose;

    const QStringList ports = parser.values(portOption);
    if (ports.isEmpty())
        return refuse(QStringLiteral("no --port given"));
    QSet<QString> devices;
    for (const QString& name : ports) {
        QString why;
        const std::optional<PortSpec> interpreted = interpretPort(name, &why);
        if (!interpreted)
            return refuse(why);
        const PortSpec& port = *interpreted;
        // Two sessions on one device would answer each other's exchanges, also when one
        // names it through a link.
        const QString identity = deviceIdentity(port.device);
        if (devices.contains(identity))
            return refuse(QStringLiteral("%1: given twice").arg(port.device));
        devices.insert(identity);
        request.ports.append(port);
    }

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
        }
        // A target that cannot be written is found now, not after the controllers are read.
        if (const QString why = backupTargetProblem(request); !why.isEmpty())
            return refuse(why);
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
