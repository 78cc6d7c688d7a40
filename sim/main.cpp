// kap-sim: a simulated controller on a pseudo-terminal, for trying the tool without hardware.
// The first line on stdout is the device to open; received lines are logged on stderr.
#include "Controller.h"
#include "FaultOption.h"
#include "PtyServer.h"
#include "Text.h"
#include "link/ExchangeLog.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTime>

#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char c = 1;
    [[maybe_unused]] const auto n = ::write(signalPipe[1], &c, 1);
}

// Quits the event loop on SIGINT, SIGTERM and SIGHUP, so that destructors remove the link.
bool installSignalHandlers(QCoreApplication& app)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0)
        return false;
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [&app] {
        char c;
        [[maybe_unused]] const auto n = ::read(signalPipe[0], &c, 1);
        app.quit();
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int sig : {SIGINT, SIGTERM, SIGHUP})
        sigaction(sig, &action, nullptr);
    return true;
}

// Something to look at in a demonstration.
void seed(sim::Controller& c)
{
    c.points[0] = {"A", "0.00", "50"};
    c.points[1] = {"A", "90.00", "50"};
    c.points[2] = {"A", "180.00", "80"};
    c.points[3] = {"I", "45.00", "30"};
    c.points[4] = {"B", "1", ""};
    c.points[5] = {"A", "270.00", "100"};
    c.zones[0] = {"10.00", "80.00"};
    c.zones[1] = {"100.00", "170.00"};
    c.errorHistory = {"E-11 OVERLOAD", "E-22 ENCODER FAULT", "E-35 POSITION DEVIATION"};
}

void fail(const QString& message)
{
    std::fprintf(stderr, "kap-sim: %s\n", qPrintable(message));
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kap-sim"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KAP_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Simulated actuator controller on a pseudo-terminal."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption family(
        {QStringLiteral("family")},
        QStringLiteral("Controller family: point or pulse (default point)."),
        QStringLiteral("point|pulse"), QStringLiteral("point"));
    const QCommandLineOption type({QStringLiteral("type")},
                                  QStringLiteral("Actuator type, parameter 0 (default 61)."),
                                  QStringLiteral("N"), QStringLiteral("61"));
    // Named apart from --version, which prints the program's own version.
    const QCommandLineOption version({QStringLiteral("firmware-version")},
                                     QStringLiteral("Answer to the version query (default 1.10)."),
                                     QStringLiteral("TEXT"), QStringLiteral("1.10"));
    const QCommandLineOption shortDio({QStringLiteral("short-dio")},
                                      QStringLiteral("Previous-controller digital-I/O layout."));
    const QCommandLineOption ackRecords(
        {QStringLiteral("ack-records")},
        QStringLiteral("Answer OK to every record line of a write block."));
    const QCommandLineOption silentEod(
        {QStringLiteral("silent-eod")},
        QStringLiteral("Close a write block on the end-of-data byte 0x1A without answering it "
                       "(default: answer OK)."));
    const QCommandLineOption pacing(
        {QStringLiteral("pacing")},
        QStringLiteral("Send at the 9600 baud character rate (default)."));
    const QCommandLineOption noPacing({QStringLiteral("no-pacing")},
                                      QStringLiteral("Send at once."));
    const QCommandLineOption latency({QStringLiteral("latency")},
                                     QStringLiteral("Delay before each reply (default 0)."),
                                     QStringLiteral("MS"), QStringLiteral("0"));
    const QCommandLineOption motion(
        {QStringLiteral("motion")},
        QStringLiteral("Duration of a return to origin or a positioning (default 300)."),
        QStringLiteral("MS"), QStringLiteral("300"));
    const QCommandLineOption positionStyle(
        {QStringLiteral("position-style")},
        QStringLiteral(
            "How the position query writes the angle: plain (-12.50, default), question "
            "(a negative angle as ?12.50), question-signed (?-12.50) or a5 (the byte 0xA5 "
            "before every angle)."),
        QStringLiteral("STYLE"), QStringLiteral("plain"));
    const QCommandLineOption originDone(
        {QStringLiteral("origin-done")},
        QStringLiteral("Start with the origin established (default: not established until a return "
                       "to origin)."));
    const QCommandLineOption originRequired(
        {QStringLiteral("origin-required")},
        QStringLiteral("Refuse a move to a point while the origin is not established."));
    const QCommandLineOption alarm(
        {QStringLiteral("alarm")},
        QStringLiteral("Start with an alarm standing, until the alarm is cancelled."));
    const QCommandLineOption handTurn(
        {QStringLiteral("hand-turn")},
        QStringLiteral("While the motor is off, the actuator turns by hand at this many degrees "
                       "per second (default 0), so direct teaching has an angle to follow."),
        QStringLiteral("DEG_PER_S"), QStringLiteral("0"));
    const QCommandLineOption link({QStringLiteral("link")},
                                  QStringLiteral("Make a symbolic link to the device here."),
                                  QStringLiteral("PATH"));
    const QCommandLineOption trace(
        {QStringLiteral("trace")},
        QStringLiteral("Append every received line (-->) and every reply (<--) to FILE, in the "
                       "format of the tool's own trace."),
        QStringLiteral("FILE"));
    const QCommandLineOption fault(
        {QStringLiteral("fault")},
        QStringLiteral("Arm a fault, repeatable: WORD:KIND[:ARG][:once], KIND one of noreply, "
                       "refuse[:LINE], garbage:BYTES, cut:N, hangup[:N]; WORD a command word, "
                       "P, PRM, Z, BREAK or EOD."),
        QStringLiteral("WORD:KIND"));
    const QCommandLineOption chaos(
        {QStringLiteral("chaos")},
        QStringLiteral("Random faults: this percentage of entries gets lost, refused, garbage in "
                       "front of its reply, a cut reply or a closed line (default 0: off). The "
                       "counts are printed on stderr at exit."),
        QStringLiteral("PERCENT"), QStringLiteral("0"));
    const QCommandLineOption seedOption(
        {QStringLiteral("seed")},
        QStringLiteral("Seed of the --chaos draws, to repeat a run (default: a new one, printed)."),
        QStringLiteral("N"), QStringLiteral("0"));
    parser.addOptions({family,        type,       version,        shortDio, ackRecords,
                       silentEod,     pacing,     noPacing,       latency,  motion,
                       positionStyle, originDone, originRequired, alarm,    handTurn,
                       link,          fault,      trace,          chaos,    seedOption});
    parser.process(app);

    sim::Options options;
    const QString familyName = parser.value(family);
    if (familyName != QLatin1String("point") && familyName != QLatin1String("pulse")) {
        fail(QStringLiteral("--family must be point or pulse"));
        return 2;
    }
    options.family = familyName == QLatin1String("pulse") ? 1 : 0;
    bool ok = false;
    options.actuatorType = parser.value(type).toInt(&ok);
    if (!ok) {
        fail(QStringLiteral("--type needs a number"));
        return 2;
    }
    options.version = parser.value(version).toLatin1();
    options.shortDio = parser.isSet(shortDio);
    options.ackRecords = parser.isSet(ackRecords);
    options.silentEndOfData = parser.isSet(silentEod);
    options.pacing = !parser.isSet(noPacing);
    options.latencyMs = parser.value(latency).toInt(&ok);
    if (!ok || options.latencyMs < 0) {
        fail(QStringLiteral("--latency needs a number of milliseconds"));
        return 2;
    }
    options.motionMs = parser.value(motion).toInt(&ok);
    if (!ok || options.motionMs < 0) {
        fail(QStringLiteral("--motion needs a number of milliseconds"));
        return 2;
    }

    const QString style = parser.value(positionStyle);
    if (style == QLatin1String("plain")) {
        options.positionStyle = sim::Options::PositionStyle::Plain;
    } else if (style == QLatin1String("question")) {
        options.positionStyle = sim::Options::PositionStyle::Question;
    } else if (style == QLatin1String("question-signed")) {
        options.positionStyle = sim::Options::PositionStyle::QuestionSigned;
    } else if (style == QLatin1String("a5")) {
        options.positionStyle = sim::Options::PositionStyle::SignByte;
    } else {
        fail(QStringLiteral("--position-style must be plain, question, question-signed or a5"));
        return 2;
    }
    options.originEstablished = parser.isSet(originDone);
    options.originRequired = parser.isSet(originRequired);
    options.alarm = parser.isSet(alarm);
    options.handTurnDegPerSec = parser.value(handTurn).toDouble(&ok);
    if (!ok) {
        fail(QStringLiteral("--hand-turn needs a number of degrees per second"));
        return 2;
    }
    options.chaosPercent = parser.value(chaos).toDouble(&ok);
    if (!ok || !(options.chaosPercent >= 0.0 && options.chaosPercent <= 100.0)) {
        fail(QStringLiteral("--chaos needs a percentage from 0 to 100"));
        return 2;
    }
    options.chaosSeed = parser.value(seedOption).toUInt(&ok);
    if (!ok) {
        fail(QStringLiteral("--seed needs a whole number"));
        return 2;
    }

    sim::Controller controller(options);
    seed(controller);
    for (const QString& text : parser.values(fault)) {
        QString why;
        const auto parsed = sim::parseFaultOption(text, &why);
        if (!parsed) {
            fail(QStringLiteral("--fault %1: %2").arg(text, why));
            return 2;
        }
        controller.arm(parsed->word, parsed->fault);
    }
    QObject::connect(&controller, &sim::Controller::entryReceived, [](const QByteArray& entry) {
        std::fprintf(stderr, "<- %s\n", sim::printable(entry).constData());
    });
    QObject::connect(&controller, &sim::Controller::transmit, [](const QByteArray& bytes) {
        std::fprintf(stderr, "-> %s\n", sim::printable(bytes).constData());
    });
    if (options.chaosPercent > 0.0) {
        std::fprintf(stderr, "chaos: %g %% of entries, seed %u\n", options.chaosPercent,
                     unsigned(controller.chaosSeed()));
        QObject::connect(&controller, &sim::Controller::chaosInjected, [](int kind) {
            std::fprintf(stderr, "!! chaos fault: %s\n",
                         sim::faultKindName(sim::Fault::Kind(kind)));
        });
    }

    if (parser.isSet(trace)) {
        QString why;
        if (!kap::ExchangeLog::startTrace(parser.value(trace), &why)) {
            fail(QStringLiteral("cannot open the trace file %1: %2").arg(parser.value(trace), why));
            return 2;
        }
    }

    sim::PtyServer server(controller);
    if (kap::ExchangeLog::tracing()) {
        // Directions as the tool sees them: "-->" is what it sent, "<--" what it got.
        const auto traceBytes = [&server](kap::ExchangeEntry::Kind kind, const QByteArray& bytes) {
            kap::ExchangeLog::trace(
                kap::formatEntry({QTime::currentTime(), server.path(), kind, bytes, -1, {}}));
        };
        QObject::connect(
            &server, &sim::PtyServer::bytesReceived,
            [traceBytes](const QByteArray& b) { traceBytes(kap::ExchangeEntry::Kind::Sent, b); });
        QObject::connect(&server, &sim::PtyServer::bytesSent, [traceBytes](const QByteArray& b) {
            traceBytes(kap::ExchangeEntry::Kind::Received, b);
        });
    }
    QObject::connect(&server, &sim::PtyServer::reopened, [&server] {
        std::fprintf(stderr, "line closed by fault; now serving %s\n", qPrintable(server.path()));
    });
    if (!installSignalHandlers(app)) {
        fail(QStringLiteral("cannot install signal handlers"));
        return 1;
    }
    if (!server.start(parser.value(link))) {
        fail(server.errorString());
        return 1;
    }
    std::printf("%s\n", qPrintable(server.path()));
    std::fflush(stdout);
    const int status = app.exec();
    if (options.chaosPercent > 0.0)
        std::fprintf(stderr, "kap-sim: chaos faults injected: %d (%s), seed %u\n",
                     controller.chaosTotal(), qPrintable(sim::chaosSummary(controller)),
                     unsigned(controller.chaosSeed()));
    return status;
}
