// kap-cli against simulated controllers on ptys: the files it writes, what it sends, what it
// reports and how it ends, with several ports at once.
#include "cli/Cli.h"
#include "FileTestSupport.h"
#include "ScriptedDialogs.h"
#include "Ser2net.h"
#include "SimLine.h"
#include "cli/CliOptions.h"
#include "cli/Console.h"
#include "exchange/Receive.h"
#include "files/SettingCommands.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

#include <memory>

using namespace kap;
using namespace kap::test;

namespace {

// Reply windows at a tenth: a silent controller costs 200 ms, not 2 s.
constexpr double kScale = 0.1;

struct CliRun {
    int code = -1;
    QString out;
    QString err;
};

// terminal: stderr is a terminal (progress bars drawn in place instead of progress lines).
CliRun runCli(const QStringList& arguments, QStringList answers = {}, bool terminal = false)
{
    CliRun run;
    QByteArray out;
    QByteArray err;
    cli::Io io;
    io.out = [&out](const QByteArray& b) { out += b; };
    io.err = [&err](const QByteArray& b) { err += b; };
    io.in = [&answers]() -> std::optional<QString> {
        if (answers.isEmpty())
            return std::nullopt;
        return answers.takeFirst();
    };
    io.timeScale = kScale;
    io.terminal = terminal;
    run.code = cli::RunCli(arguments, io);
    run.out = QString::fromUtf8(out);
    run.err = QString::fromUtf8(err);
    return run;
}

// A controller served on a pty reachable under a name of the test's choosing, which is
// also the name of its backup file.
struct Sim {
    Sim(int family, const QString& link, bool seeded = true)
    {
        sim::Options o;
        o.family = family;
        o.ackRecords = true;  // a write block goes at the speed of the pty
        controller = std::make_unique<sim::Controller>(o);
        if (seeded && family == 0) {
            controller->points[0] = {"A", "0.00", "50"};
            controller->points[3] = {"I", "45.00", "30"};
            controller->points[4] = {"B", "1", ""};
            controller->points[9] = {"A", "-12.50", "100"};
        } else if (seeded) {
            controller->zones[0] = {"10.00", "80.00"};
            controller->zones[2] = {"200.00", "250.50"};
        }
        if (seeded)
            controller->params[5] = "0";
        server = std::make_unique<sim::PtyServer>(*controller);
        EXPECT_TRUE(server->start(link)) << server->errorString().toStdString();
    }
    QString path() const { return server->path(); }
    // What was sent beyond the family query.
    QList<QByteArray> linesAfterFamilyQuery() const { return controller->receivedLines().mid(1); }

    std::unique_ptr<sim::Controller> controller;
    std::unique_ptr<sim::PtyServer> server;
};

struct CliTest : ::testing::Test {
    ScratchState module;
    QTemporaryDir dir;
    QString file(const QString& name) const { return dir.filePath(name); }
};

// ---- backup

struct FamilyCase {
    int family;
    const char* name;
};
constexpr FamilyCase kFamilies[] = {{0, "point-input"}, {1, "pulse-train"}};

TEST_F(CliTest, BackupIsTheFileTheWindowSavesAfterReceivingBoth)
{
    for (const FamilyCase& c : kFamilies) {
        SCOPED_TRACE(c.name);
        Sim sim(c.family, file(QStringLiteral("ctl%1").arg(c.family)));

        // The window: Receive(Point/Zones), Receive(Parameters), Save As.
        const QString windowFile = file(QStringLiteral("window%1.csv").arg(c.family));
        PortOverride com1(1, sim.path());
        ScriptedDialogs dialogs;
        dialogs.answer(MsgAnswer::Yes).ok().answer(MsgAnswer::Yes).ok().file(windowFile).ok();
        Session window(c.family == 0 ? Family::PointInput : Family::PulseTrain, dialogs, module);
        ASSERT_EQ(exchange::ReceiveTable(window), exchange::Result::Done);
        ASSERT_EQ(exchange::ReceiveParameters(window), exchange::Result::Done);
        ASSERT_TRUE(SettingCommands(window).saveAs());

        const QString cliFile = file(QStringLiteral("cli%1.csv").arg(c.family));
        const CliRun run = runCli({"backup", "--port", sim.path(), cliFile});
        EXPECT_EQ(run.code, 0) << run.err.toStdString();
        EXPECT_EQ(readBytes(cliFile), readBytes(windowFile));
    }
}

// ---- restore and compare

TEST_F(CliTest, RestoredControllerHoldsTheFileAndComparesEqual)
{
    for (const FamilyCase& c : kFamilies) {
        SCOPED_TRACE(c.name);
        Sim source(c.family, file(QStringLiteral("source%1").arg(c.family)));
        Sim target(c.family, file(QStringLiteral("target%1").arg(c.family)), false);
        const QString saved = file(QStringLiteral("saved%1.csv").arg(c.family));
        ASSERT_EQ(runCli({"backup", "--port", source.path(), saved}).code, 0);

        const CliRun restore = runCli({"restore", "--port", target.path(), saved, "--yes"});
        EXPECT_EQ(restore.code, 0) << restore.err.toStdString();
        for (int n = 0; n < 64; ++n) {
            EXPECT_EQ(target.controller->points[n].pos, source.controller->points[n].pos) << n;
            EXPECT_EQ(target.controller->points[n].mode, source.controller->points[n].mode) << n;
        }
        for (int n = 0; n < 4; ++n)
            EXPECT_EQ(target.controller->zones[n].b, source.controller->zones[n].b) << n;
        EXPECT_EQ(target.controller->params[5], "0");

        const CliRun compare = runCli({"compare", "--port", target.path(), saved});
        EXPECT_EQ(compare.code, 0) << compare.err.toStdString();
        EXPECT_TRUE(compare.out.isEmpty()) << compare.out.toStdString();
    }
}

TEST_F(CliTest, CompareListsEveryDifferenceNotJustTheFirst)
{
    Sim sim(0, file(QStringLiteral("ctl")));
    const QString saved = file(QStringLiteral("saved.csv"));
    ASSERT_EQ(runCli({"backup", "--port", sim.path(), saved}).code, 0);
    sim.controller->points[3].pos = "46.00";
    sim.controller->points[20] = {"A", "10.00", "20"};
    sim.controller->params[5] = "1";

    const CliRun text = runCli({"compare", "--port", sim.path(), saved});
    EXPECT_EQ(text.code, 1);
    const QString port = sim.path();
    EXPECT_EQ(text.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts),
              (QStringList{port + ": point 3: file \"I,45.00,30\", controller \"I,46.00,30\"",
                           port + ": point 20: file \"(no record)\", controller \"A,10.00,20\"",
                           port + ": PRM 5: file \"0\", controller \"1\""}));

    const CliRun json = runCli({"compare", "--port", sim.path(), saved, "--json"});
    EXPECT_EQ(json.code, 1);
    const QJsonObject document = QJsonDocument::fromJson(json.out.toUtf8()).object();
    const QJsonArray differences =
        document.value("ports").toArray().at(0).toObject().value("differences").toArray();
    ASSERT_EQ(differences.size(), 3) << json.out.toStdString();
    EXPECT_EQ(differences.at(2).toObject().value("kind").toString(), "PRM");
    EXPECT_EQ(differences.at(2).toObject().value("controller").toString(), "1");
}

// A table transmit that fails once the controller's table is erased says in the port's summary
// that the table is now incomplete; one that fails before the erase does not. Silence after the
// end-of-data byte is no failure, an answer without its reply word is.
TEST_F(CliTest, FailedRestoreSaysWhatTheControllerHolds)
{
    using Kind = sim::Fault::Kind;
    const QString point =
        "The controller's point data was erased and is now incomplete. Transmit again.";
    const QString zone =
        "The controller's zone data was erased and is now incomplete. Transmit again.";
    struct Case {
        const char* name;
        int family;
        const char* word;
        sim::Fault fault;
        QString summary;
        int code;
    };
    const Case cases[] = {
        {"point erase refused",
         0,
         "@INIT PNT ",
         {Kind::Refuse, "E07", 0},
         "transmit table: refused",
         2},
        {"point block refused",
         0,
         "@WRITE PNT ",
         {Kind::Refuse, "E07", 0},
         "transmit table: refused. " + point,
         2},
        {"line lost after a point record",
         0,
         "P",
         {Kind::HangupMidReply, {}, 1},
         "transmit table: communication error. " + point,
         2},
        {"zone block refused",
         1,
         "@WRITE ZON ",
         {Kind::Refuse, "E07", 0},
         "transmit table: refused. " + zone,
         2},
        {"zone end of data answered with one byte",
         1,
         "\x1a",
         {Kind::CutReply, {}, 1},
         "transmit table: communication error. " + zone,
         2},
        {"end of data unanswered", 0, "\x1a", {Kind::NoReply, {}, 0}, "restored from ", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Sim source(c.family, file(QStringLiteral("source%1").arg(c.family)));
        const QString saved = file(QStringLiteral("saved%1.csv").arg(c.family));
        ASSERT_EQ(runCli({"backup", "--port", source.path(), saved}).code, 0);
        Sim target(c.family, file(QStringLiteral("target")), false);
        target.controller->arm(c.word, c.fault);

        const CliRun run = runCli({"restore", "--port", target.path(), saved, "--yes"});
        EXPECT_EQ(run.code, c.code) << run.err.toStdString();
        // One port: its last line says it.
        const QString expected = c.code == 0 ? target.path() + ": " + c.summary + saved
                                             : target.path() + ": " + c.summary;
        EXPECT_TRUE(run.err.endsWith(expected + "\n")) << run.err.toStdString();
    }
}

// ---- exit codes

TEST_F(CliTest, ExitCodes)
{
    Sim point(0, file(QStringLiteral("point")));
    Sim pulse(1, file(QStringLiteral("pulse")));
    Sim silent(0, file(QStringLiteral("silent")));
    silent.controller->arm("@?PRM ", sim::Fault{});  // no reply
    const QString pointFile = file(QStringLiteral("point.csv"));
    ASSERT_EQ(runCli({"backup", "--port", point.path(), pointFile}).code, 0);
    const QString damaged = file(QStringLiteral("damaged.csv"));
    writeBytes(damaged, "not a setting file\r\n");
    const QString unknownType = file(QStringLiteral("type99.csv"));
    writeBytes(unknownType, readBytes(pointFile).replace("PRM0=,61,", "PRM0=,99,"));
    // An older, shorter file (PRM 34 to 36 are not in it), one cut inside a line, one too
    // big, one with a value out of range.
    const QByteArray full = readBytes(pointFile);
    const QString older = file(QStringLiteral("short.csv"));
    writeBytes(older, full.left(full.indexOf("PRM31=")));
    const QString cutFile = file(QStringLiteral("cut.csv"));
    writeBytes(cutFile, full.left(full.indexOf("PRM35=") + 8));
    const QString hugeFile = file(QStringLiteral("huge.csv"));
    writeBytes(hugeFile, full + QByteArray(1024 * 1024, '\n'));
    const QString rangeFile = file(QStringLiteral("range.csv"));
    const qsizetype prm4 = full.indexOf("PRM4=");
    writeBytes(rangeFile,
               QByteArray(full).replace(prm4, full.indexOf('\r', prm4) - prm4, "PRM4=,0,,,,"));

    struct Case {
        const char* name;
        QStringList arguments;
        QStringList answers;
        int code;
        bool nothingSent;    // to the point controller after its family query
        QString said = {};   // a line on stderr
        QString error = {};  // the port's error code in the --json output
    };
    const QString p = point.path();
    const QString linkToPoint = file(QStringLiteral("another-name"));
    ASSERT_TRUE(QFile::link(p, linkToPoint));
    const QString lacks = p + ": PRM 34, 35, 36 were not in the file; set to their initial values";
    const QString cannot = p + ": Cannot open file.";
    const QString range = p + ": PRM 4 was out of range; set to its initial value";
    const QString readOnly = file(QStringLiteral("read-only"));
    ASSERT_TRUE(QDir().mkpath(readOnly));
    ASSERT_TRUE(QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::ExeOwner));
    // root writes anywhere: the refusal of a read-only folder is checked only for others.
    const bool root = ::geteuid() == 0;
    const QString missing = file(QStringLiteral("missing"));
    const QString noDir = "kap-cli: " + missing + ": No such file or directory";
    const Case cases[] = {
        {"no command", {"--port", p}, {}, 3, false},
        {"unknown command", {"erase", "--port", p}, {}, 3, false},
        {"one file for two ports",
         {"backup", "--port", p, "--port", pulse.path(), pointFile},
         {},
         3,
         false},
        {"file missing", {"compare", "--port", p, file("none.csv")}, {}, 3, false},
        {"damaged file",
         {"restore", "--port", p, damaged, "--yes"},
         {},
         3,
         true,
         cannot,
         "bad-file"},
        {"unknown actuator type",
         {"restore", "--port", p, unknownType, "--yes"},
         {},
         3,
         true,
         p + ": " + unknownType + ": its actuator type is not one this tool knows",
         "bad-file"},
        {"file of the other family",
         {"restore", "--port", pulse.path(), pointFile, "--yes"},
         {},
         3,
         false,
         pulse.path() + ": " + pointFile + " is a point-input file; this controller is pulse-train",
         "other-family"},
        {"erase declined", {"restore", "--port", p, pointFile}, {"n"}, 2, true, {}, "declined"},
        {"no answer to the erase question",
         {"restore", "--port", p, pointFile},
         {},
         2,
         true,
         {},
         "declined"},
        {"erase confirmed", {"restore", "--port", p, pointFile}, {"y"}, 0, false},
        {"silent controller", {"info", "--port", silent.path()}, {}, 2, false, {}, "timeout"},
        {"no such port", {"info", "--port", file("no-port")}, {}, 2, false, {}, "port-open"},
        {"COM9",
         {"info", "--port", "COM9"},
         {},
         3,
         false,
         "kap-cli: COM9: port names run from COM1 to COM8"},
        {"compare equal", {"compare", "--port", p, pointFile}, {}, 0, false},
        {"a link and its target as two ports",
         {"info", "--port", p, "--port", linkToPoint},
         {},
         3,
         false},
        {"lacking parameters",
         {"restore", "--port", p, older, "--yes"},
         {},
         3,
         true,
         lacks,
         "bad-file"},
        {"allowed", {"restore", "--port", p, older, "--allow-missing"}, {"y"}, 0, false, lacks},
        {"allowed on compare", {"compare", "--port", p, older, "--allow-missing"}, {}, 3, false},
        {"out of range", {"restore", "--port", p, rangeFile, "--yes"}, {}, 0, false, range},
        {"cut inside a line", {"restore", "--port", p, cutFile, "--yes"}, {}, 3, true, cannot},
        {"over a megabyte", {"restore", "--port", p, hugeFile, "--yes"}, {}, 3, true, cannot},
        {"--out folder missing", {"backup", "--port", p, "--out", missing}, {}, 3, false, noDir},
        {"backup into a missing folder",
         {"backup", "--port", p, missing + "/b.csv"},
         {},
         3,
         false,
         noDir},
        {"--out folder read-only",
         {"backup", "--port", p, "--out", readOnly},
         {},
         root ? 0 : 3,
         false,
         root ? QString() : "kap-cli: " + readOnly + ": Permission denied"},
        {"--quiet with --verbose", {"info", "--port", p, "--quiet", "--verbose"}, {}, 3, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        point.controller->clearReceived();
        pulse.controller->clearReceived();
        const CliRun run = runCli(c.arguments, c.answers);
        EXPECT_EQ(run.code, c.code) << run.err.toStdString();
        if (c.nothingSent) {
            EXPECT_TRUE(point.linesAfterFamilyQuery().isEmpty());
        }
        if (!c.said.isEmpty()) {
            EXPECT_TRUE(run.err.split(QLatin1Char('\n')).contains(c.said)) << run.err.toStdString();
        }
        if (!c.error.isEmpty()) {
            const CliRun json = runCli(c.arguments + QStringList{"--json"}, c.answers);
            const QJsonArray ports =
                QJsonDocument::fromJson(json.out.toUtf8()).object().value("ports").toArray();
            ASSERT_EQ(ports.size(), 1) << json.out.toStdString();
            EXPECT_EQ(ports.at(0).toObject().value("error").toString(), c.error);
            EXPECT_TRUE(cli::usageText().contains("  " + c.error + " ")) << "not in --help";
            EXPECT_EQ(ports.at(0).toObject().value("exitCode").toInt(), c.code);
        }
    }
    // The pulse-train controller of the other family's file heard only the family query.
    EXPECT_TRUE(pulse.linesAfterFamilyQuery().isEmpty());
}

// What a controller or a file says reaches the terminal with its control characters shown,
// never as the sequences that would clear the screen or retitle the window.
TEST_F(CliTest, ControlCharactersReachTheTerminalShown)
{
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"1.10\x1b[2J\x1b]0;owned\x07", "1.10<ESC>[2J<ESC>]0;owned<BEL>"},
        {"a\tb\nc\rd\x7f", "a\tb\nc<CR>d<DEL>"},
        {"\xc2\x9b"
         "31m \xe6\x97\xa5\xe6\x9c\xac",
         "<9B>31m \xe6\x97\xa5\xe6\x9c\xac"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(cli::terminalSafe(QString::fromUtf8(c.in)), QString::fromUtf8(c.out)) << c.in;

    Sim point(0, file(QStringLiteral("point")));
    point.controller->options().version = "1.10\x1b[2J\x1b]0;owned\x07";
    const CliRun run = runCli({"info", "--port", point.path()});
    EXPECT_EQ(run.code, 0) << run.err.toStdString();
    EXPECT_FALSE(run.out.contains(QChar(0x1b)) || run.err.contains(QChar(0x1b)));
    EXPECT_TRUE(run.out.contains("<ESC>[2J")) << run.out.toStdString();
}

// Plain info: one line per port on stdout, the summary on stderr.
TEST_F(CliTest, PlainInfoPrintsOneLinePerPort)
{
    Sim point(0, file(QStringLiteral("point")));
    Sim pulse(1, file(QStringLiteral("pulse")));
    const CliRun run = runCli({"info", "--port", point.path(), "--port", pulse.path()});
    EXPECT_EQ(run.code, 0) << run.err.toStdString();
    const QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2) << run.out.toStdString();
    for (const QString& line : lines) {
        const bool isPoint = line.startsWith(point.path() + ": point-input, actuator type ");
        const bool isPulse = line.startsWith(pulse.path() + ": pulse-train, actuator type 61, ");
        EXPECT_TRUE(isPoint || isPulse) << line.toStdString();
        EXPECT_TRUE(line.contains(", version 1.10, DIO layout ")) << line.toStdString();
    }
    EXPECT_NE(lines.at(0).section(':', 0, 0), lines.at(1).section(':', 0, 0));
    EXPECT_TRUE(run.err.contains("summary:")) << run.err.toStdString();
    EXPECT_FALSE(run.out.contains("summary:"));
}

// On a terminal a transfer shows a bar redrawn in place up to 100 %; elsewhere --verbose
// shows a line at the start and at every further quarter, and no control sequence.
TEST_F(CliTest, ProgressIsABarOnATerminalAndLinesElsewhere)
{
    const QRegularExpression fullBar(QStringLiteral("\\[#{30}\\] 100% "));
    const QRegularExpression quarterLine(QStringLiteral(": [^\n]+ (0|25|50|75|100)%\n"));
    const struct {
        const char* name;
        bool terminal;
        bool verbose;
        bool bar;
        bool lines;
    } cases[] = {
        {"terminal", true, false, true, false},
        {"pipe", false, false, false, false},
        {"pipe, verbose", false, true, false, true},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Sim point(0, file(QStringLiteral("point%1").arg(n)));
        const QString saved = file(QStringLiteral("saved%1.csv").arg(n++));
        QStringList arguments{"backup", "--port", point.path(), saved};
        if (c.verbose)
            arguments << "--verbose";
        const CliRun run = runCli(arguments, {}, c.terminal);
        ASSERT_EQ(run.code, 0) << run.err.toStdString();
        EXPECT_EQ(run.err.contains(fullBar), c.bar) << run.err.toStdString();
        EXPECT_EQ(run.err.contains(QStringLiteral("\x1b[")), c.terminal);
        EXPECT_EQ(run.err.contains(quarterLine), c.lines) << run.err.toStdString();
    }
}

// A --port value is a port name, a path or a bare device name looked up in /dev; with --out
// each port's backup is named after its device.
TEST_F(CliTest, PortValuesAndTheBackupNamesOutGives)
{
    PortOverride com2(2, "/dev/ttyS7");
    const struct {
        const char* value;
        QString device;
        const char* backup;
    } cases[] = {
        {"ttyUSB0", "/dev/ttyUSB0", "ttyUSB0.csv"},
        {"COM2", "/dev/ttyS7", "ttyS7.csv"},
        {"rfc2217://10.0.0.5:4001", "rfc2217://10.0.0.5:4001", "10.0.0.5-4001.csv"},
        {"sub/a.tty", QDir::current().absoluteFilePath("sub/a.tty"), "a.tty.csv"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        const cli::ParseResult parsed =
            cli::parseArguments({"backup", "--port", c.value, "--out", dir.path()});
        ASSERT_TRUE(parsed.request) << parsed.error.toStdString();
        ASSERT_EQ(parsed.request->ports.size(), 1);
        const cli::PortSpec& port = parsed.request->ports.first();
        EXPECT_EQ(port.name, c.value);
        EXPECT_EQ(port.device, c.device);
        EXPECT_EQ(parsed.request->backupPath(port), dir.filePath(c.backup));
    }
}

// ---- several ports

TEST_F(CliTest, OneSilentPortAmongThreeSpoilsOnlyItsOwnResult)
{
    Sim first(0, file(QStringLiteral("first")));
    Sim silent(0, file(QStringLiteral("silent")));
    silent.controller->arm("@?PRM ", sim::Fault{});  // no reply
    Sim third(1, file(QStringLiteral("third")));
    const QString out = file(QStringLiteral("out"));
    ASSERT_TRUE(QDir().mkpath(out));

    const CliRun run = runCli({"backup", "--port", first.path(), "--port", silent.path(), "--port",
                               third.path(), "--out", out});
    EXPECT_EQ(run.code, 2);
    EXPECT_EQ(QDir(out).entryList(QDir::Files), (QStringList{"first.csv", "third.csv"}));
    const QString summary = run.err.mid(run.err.indexOf(QLatin1String("summary:")));
    EXPECT_TRUE(summary.contains(first.path() + ": backed up to")) << summary.toStdString();
    EXPECT_TRUE(summary.contains(silent.path()
                                 + ": no reply: the controller type cannot be obtained (exit 2)"))
        << summary.toStdString();
    EXPECT_TRUE(summary.contains(third.path() + ": backed up to")) << summary.toStdString();

    const CliRun info = runCli({"info", "--json", "--port", first.path(), "--port", silent.path(),
                                "--port", third.path()});
    const QJsonArray ports =
        QJsonDocument::fromJson(info.out.toUtf8()).object().value("ports").toArray();
    ASSERT_EQ(ports.size(), 3) << info.out.toStdString();
    EXPECT_EQ(ports.at(0).toObject().value("family").toString(), "point-input");
    EXPECT_EQ(ports.at(1).toObject().value("exitCode").toInt(), 2);
    EXPECT_EQ(ports.at(2).toObject().value("family").toString(), "pulse-train");
    EXPECT_EQ(ports.at(2).toObject().value("actuatorType").toString(), "61");
}

}  // namespace

// --encoding is the code page the file is read in first: a file of Shift_JIS notes read as
// Windows-1252 is read in Shift_JIS and the port's line says so.
TEST_F(CliTest, EncodingOption)
{
    Sim point(0, file(QStringLiteral("point")));
    const QString backup = file(QStringLiteral("point.csv"));
    ASSERT_EQ(runCli({"backup", "--port", point.path(), backup}).code, 0);
    const QString japanese = file(QStringLiteral("japanese.csv"));
    writeBytes(japanese,
               readBytes(backup).replace("P0=,A,0.00,50,,", "P0=,A,0.00,50,\x92\x8d\x81\x41,"));
    const QString fellBack = point.path()
                             + ": Read as Shift_JIS: the file is not Windows-1252 text";
    struct Case {
        QString encoding;
        bool refused;  // bad arguments
        bool saysFellBack;
    };
    const Case cases[] = {
        {"windows-1252", false, true}, {"Shift_JIS", false, false}, {"utf-8", true, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.encoding.toStdString());
        const CliRun run =
            runCli({"compare", "--port", point.path(), japanese, "--encoding", c.encoding});
        // Whether the notes count as differences is compare's business, not the encoding's.
        EXPECT_EQ(run.code == 3, c.refused) << run.err.toStdString();
        EXPECT_EQ(run.err.split(QLatin1Char('\n')).contains(fellBack), c.saysFellBack)
            << run.err.toStdString();
    }
}

// ---- ports on the network

TEST(CliNetworkPorts, AnyMixOfLocalAndNetworkPortsBacksUpAlike)
{
    if (Ser2net::program().isEmpty())
        GTEST_SKIP() << "ser2net is not installed; scripts/install-deps.sh installs it";
    ScratchState module;
    QTemporaryDir dir;
    Sim local(0, dir.filePath("local"));
    Sim overRfc(0, dir.filePath("rfc"));
    Sim overTcp(0, dir.filePath("tcp"));
    Ser2net rfcServer(overRfc.path());
    Ser2net tcpServer(overTcp.path());
    ASSERT_TRUE(rfcServer.started()) << rfcServer.errorString().toStdString();
    ASSERT_TRUE(tcpServer.started()) << tcpServer.errorString().toStdString();
    const QString rfc = rfcServer.rfc2217Address();
    const QString tcp = tcpServer.tcpAddress();
    // One of them through a port name, as the window's assignments give it.
    PortOverride com2(2, tcp);

    const QString out = dir.filePath("out");
    ASSERT_TRUE(QDir().mkpath(out));
    const CliRun run =
        runCli({"backup", "--port", local.path(), "--port", rfc, "--port", "COM2", "--out", out});
    EXPECT_EQ(run.code, 0) << run.err.toStdString();
    const auto fileOf = [](const QString& address) {
        const QString hostPort = address.mid(address.indexOf("://") + 3);
        return QString(hostPort).replace(':', '-') + ".csv";
    };
    const QByteArray expected = readBytes(QDir(out).filePath("local.csv"));
    EXPECT_FALSE(expected.isEmpty());
    EXPECT_EQ(readBytes(QDir(out).filePath(fileOf(rfc))), expected);
    EXPECT_EQ(readBytes(QDir(out).filePath(fileOf(tcp))), expected);

    // A malformed address is refused before any port is asked, never taken for a path.
    for (const char* bad : {"rfc2217://10.0.0.5", "tcp://[fe80::1:4001"}) {
        const CliRun refused = runCli({"info", "--port", local.path(), "--port", bad});
        EXPECT_EQ(refused.code, 3) << bad;
        EXPECT_TRUE(refused.err.startsWith(QStringLiteral("kap-cli: %1: ").arg(bad)))
            << refused.err.toStdString();
    }
    PortOverride com3(3, "tcp://host:99999");
    const CliRun refused = runCli({"info", "--port", "COM3"});
    EXPECT_EQ(refused.code, 3);
    EXPECT_TRUE(
        refused.err.startsWith("kap-cli: COM3: tcp://host:99999: port \"99999\" is not 1 to 65535"))
        << refused.err.toStdString();
    EXPECT_EQ(local.controller->receivedLines().size(), 1 + 4) << "the backup's own lines only";
}
