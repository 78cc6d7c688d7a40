#include "cli/PortJob.h"

#include "cli/Interrupt.h"
#include "cli/PortConsole.h"
#include "exchange/Compare.h"
#include "exchange/ExchangeSteps.h"
#include "exchange/FamilyQuery.h"
#include "exchange/Receive.h"
#include "exchange/Records.h"
#include "exchange/Transmit.h"
#include "files/FileAcceptance.h"
#include "files/SettingCommands.h"
#include "link/ProgramState.h"
#include "platform/QtSerialLine.h"
#include "session/Session.h"
#include "tools/Version.h"

#include <QJsonArray>

#include <memory>
#include <optional>

namespace kap::cli {

namespace {

using exchange::Result;

// The error codes of --json, as the usage lists them.
namespace error {
const QString portOpen = QStringLiteral("port-open");
const QString timeout = QStringLiteral("timeout");
const QString refused = QStringLiteral("refused");
const QString declined = QStringLiteral("declined");
const QString unknownController = QStringLiteral("unknown-controller");
const QString badFile = QStringLiteral("bad-file");
const QString otherFamily = QStringLiteral("other-family");
const QString interrupted = QStringLiteral("interrupted");
}  // namespace error

QString familyName(Family family)
{
    return family == Family::PointInput ? QStringLiteral("point-input")
                                        : QStringLiteral("pulse-train");
}

Family otherFamily(Family family)
{
    return family == Family::PointInput ? Family::PulseTrain : Family::PointInput;
}

PortOutcome outcome(int code, const QString& summary, const QString& errorCode = {})
{
    PortOutcome o;
    o.exitCode = code;
    o.summary = summary;
    o.error = errorCode;
    return o;
}

// Whether a window of this family opens the file.
bool opensAs(Family family, const QString& path, codepage::Encoding encoding)
{
    return settingfile::checkFile(path, family, encoding).acceptance
           == settingfile::Acceptance::Accepted;
}

class PortJob {
public:
    PortJob(const Request& request, const PortSpec& port, double timeScale, Console& console,
            int slot)
        : request_(request), port_(port), timeScale_(timeScale), console_(console), slot_(slot),
          dialogs_(&console, slot)
    {
        dialogs_.setVerbose(request.verbosity == Verbosity::Verbose);
    }

    PortOutcome run()
    {
        if (std::optional<PortOutcome> failed = connect())
            return finish(*failed);
        switch (request_.command) {
        case Command::Info:
            return finish(info());
        case Command::Backup:
            return finish(backup());
        case Command::Restore:
            return finish(restore());
        case Command::Compare:
            return finish(compare());
        }
        return {};
    }

private:
    void say(const QString& text) { console_.say(slot_, text); }

    // A step that ended well: its line, in place of its boxes.
    void stepDone(const QString& line)
    {
        dialogs_.endStep(false);
        if (request_.verbosity != Verbosity::Quiet)
            say(line);
    }

    // The port's last line: a failure with the boxes that say why, even when quiet; info
    // has put its result on stdout.
    PortOutcome finish(const PortOutcome& o)
    {
        const bool failed = !o.error.isEmpty();
        dialogs_.endStep(failed);
        if (failed || (request_.verbosity != Verbosity::Quiet && request_.command != Command::Info))
            say(o.summary);
        return o;
    }

    // After the first Ctrl-C no further step begins.
    std::optional<PortOutcome> interruptedBefore(const QString& step) const
    {
        if (!interrupt::requested())
            return std::nullopt;
        return outcome(Interrupted, QStringLiteral("interrupted before ") + step,
                       error::interrupted);
    }

    // A procedure that did not end Done. Its boxes say why.
    PortOutcome failedStep(Result result, const QString& step) const
    {
        switch (result) {
        case Result::Declined:
            return outcome(Failure, step + QStringLiteral(": not confirmed"), error::declined);
        case Result::Refused:
            return outcome(Failure, step + QStringLiteral(": refused"), error::refused);
        case Result::Cancelled:
            return outcome(Failure, step + QStringLiteral(": cancelled"), error::interrupted);
        case Result::LinkError:
        case Result::Done:
            break;
        }
        return outcome(Failure, step + QStringLiteral(": communication error"),
                       lineLost_ ? error::portOpen : error::timeout);
    }

    // The family query on the bare line, then the session of that family on the same line.
    std::optional<PortOutcome> connect()
    {
        // Only a log shows the name: the line opens its device whatever name it is given.
        state_.portName = port_.comName.isEmpty() ? QStringLiteral("COM1") : port_.comName;
        std::unique_ptr<SerialLine> line = QtSerialLine::forDevice(port_.device);
        const exchange::FamilyAnswer family = exchange::queryFamily(*line, state_, timeScale_);
        switch (family.status) {
        case exchange::FamilyAnswer::Status::PortFailed:
            return outcome(Failure, QStringLiteral("port failed: ") + family.reason,
                           error::portOpen);
        case exchange::FamilyAnswer::Status::Silent:
            return outcome(Failure,
                           QStringLiteral("no reply: the controller type cannot be obtained"),
                           error::timeout);
        case exchange::FamilyAnswer::Status::Unknown:
            return outcome(Failure,
                           QStringLiteral("unknown controller family \"%1\"").arg(family.answer),
                           error::unknownController);
        case exchange::FamilyAnswer::Status::Known:
            break;
        }
        if (request_.verbosity == Verbosity::Verbose)
            say(QStringLiteral("%1 controller").arg(familyName(family.family)));
        session_ = std::make_unique<Session>(family.family, dialogs_, state_, std::move(line));
        view_ = std::make_unique<PortView>(console_, slot_, *session_);
        session_->setView(view_.get());
        session_->setTimeScale(timeScale_);
        session_->setFileEncoding(request_.encoding);
        QObject::connect(&session_->link(), &Link::portFailed, &session_->link(),
                         [this](const QString& reason) {
                             lineLost_ = true;
                             say(reason);
                         });
        return std::nullopt;
    }

    PortOutcome info()
    {
        if (std::optional<PortOutcome> stop = interruptedBefore(QStringLiteral("info")))
            return *stop;
        Session& s = *session_;
        s.operations().title = QStringLiteral("Info");
        PortOutcome o;
        // Parameter 0 is the actuator type; the window asks for it the same way.
        const Outcome typeReply = exchange::exchangeLine(s, cmd::QPRM, 2000.0f,
                                                         QStringLiteral("0"));
        if (typeReply.verdict() != Verdict::Usable)
            return failedStep(exchange::resultOfFailure(typeReply),
                              QStringLiteral("actuator type"));
        const QString type = records::actuatorTypeOf(typeReply.reply);
        const bool known = findActuatorType(type.toInt()) != nullptr;
        const QString version = QueryControllerVersion(s);
        const Outcome dio = exchange::exchangeLine(s, cmd::READ_DIO, 3000.0f);
        if (dio.verdict() != Verdict::Usable)
            return failedStep(exchange::resultOfFailure(dio), QStringLiteral("DIO layout"));
        const QString layout = !dio.has("OK") ? QString()
                               : records::isPreviousController(dio.reply)
                                   ? QStringLiteral("previous")
                                   : QStringLiteral("current");

        o.json[QStringLiteral("family")] = familyName(s.family());
        o.json[QStringLiteral("actuatorType")] = type;
        o.json[QStringLiteral("actuatorTypeKnown")] = known;
        o.json[QStringLiteral("version")] = version;
        o.json[QStringLiteral("dioLayout")] = layout;
        const QString text = QStringLiteral("%1, actuator type %2%3, version %4, DIO layout %5")
                                 .arg(familyName(s.family()), type,
                                      known ? QString() : QStringLiteral(" (unknown)"),
                                      version.isEmpty() ? QStringLiteral("(none)") : version,
                                      layout.isEmpty() ? QStringLiteral("(none)") : layout);
        o.json[QStringLiteral("result")] = text;
        if (!request_.json)
            console_.print(port_.name + QStringLiteral(": ") + text + QLatin1Char('\n'));
        // The result is on stdout; on a terminal it would otherwise stand there twice.
        o.summary = QStringLiteral("done");
        dialogs_.endStep(false);
        return o;
    }

    // Receive(Point)/Receive(Zones), Receive(Parameters), then Save As: the file the window
    // writes after the same three commands.
    PortOutcome backup()
    {
        Session& s = *session_;
        if (std::optional<PortOutcome> stop = interruptedBefore(QStringLiteral("receive table")))
            return *stop;
        if (const Result r = exchange::ReceiveTable(s); r != Result::Done)
            return failedStep(r, QStringLiteral("receive table"));
        stepDone(QStringLiteral("receive table: done"));
        if (std::optional<PortOutcome> stop =
                interruptedBefore(QStringLiteral("receive parameters")))
            return *stop;
        if (const Result r = exchange::ReceiveParameters(s); r != Result::Done)
            return failedStep(r, QStringLiteral("receive parameters"));
        stepDone(QStringLiteral("receive parameters: done"));
        const QString path = request_.backupPath(port_);
        dialogs_.savePath = path;
        if (!SettingCommands(s).saveAs())
            return outcome(BadInput, path + QStringLiteral(": not written"), error::badFile);
        return outcome(Success, QStringLiteral("backed up to ") + path);
    }

    // Open the file as the window opens it; a file the session's family cannot take is
    // refused before anything but the family query has been sent, saying why. The view has
    // said what the file lacked; findings gets it too.
    std::optional<PortOutcome> loadFile(SettingCommands::OpenFindings& findings)
    {
        Session& s = *session_;
        const Family other = otherFamily(s.family());
        if (!opensAs(s.family(), request_.file, s.fileEncoding())
            && opensAs(other, request_.file, s.fileEncoding())) {
            return outcome(BadInput,
                           QStringLiteral("%1 is a %2 file; this controller is %3")
                               .arg(request_.file, familyName(other), familyName(s.family())),
                           error::otherFamily);
        }
        dialogs_.openPath = request_.file;
        SettingCommands files(s);
        const SettingCommands::OpenResult opened = files.open();
        findings = files.findings();
        switch (opened) {
        case SettingCommands::OpenResult::Opened:
            dialogs_.endStep(false);
            return std::nullopt;
        case SettingCommands::OpenResult::UnknownType:
            return outcome(BadInput,
                           request_.file
                               + QStringLiteral(": its actuator type is not one this tool knows"),
                           error::badFile);
        case SettingCommands::OpenResult::NotAsked:
        case SettingCommands::OpenResult::Unreadable:
            break;
        }
        return outcome(BadInput, request_.file + QStringLiteral(": not a setting file"),
                       error::badFile);
    }

    PortOutcome restore()
    {
        SettingCommands::OpenFindings findings;
        if (std::optional<PortOutcome> refused = loadFile(findings))
            return *refused;
        // A value out of range has been named and took its initial value, as in the window;
        // sending initial values for parameters the file does not have is the user's call.
        if (!findings.missing.isEmpty() && !request_.allowMissing)
            return outcome(BadInput,
                           request_.file
                               + QStringLiteral(": parameters missing; not transmitted "
                                                "(--allow-missing sends their initial values)"),
                           error::badFile);
        Session& s = *session_;
        if (std::optional<PortOutcome> stop = interruptedBefore(QStringLiteral("transmit table")))
            return *stop;
        // The table transmit's one question is whether to go on and erase the controller's
        // table; that one is the user's.
        dialogs_.putQuestionsToUser(true, request_.yes);
        bool incomplete = false;
        const Result table = writing([&] { return exchange::TransmitTable(s, &incomplete); });
        dialogs_.putQuestionsToUser(false);
        if (table == Result::Declined)
            return outcome(Failure, QStringLiteral("not confirmed: nothing was written"),
                           error::declined);
        if (table != Result::Done)
            return failedTransmit(table, incomplete);
        stepDone(QStringLiteral("transmit table: done"));
        if (std::optional<PortOutcome> stop =
                interruptedBefore(QStringLiteral("transmit parameters")))
            return *stop;
        if (const Result r = writing([&] { return exchange::TransmitParameters(s); });
            r != Result::Done)
            return failedStep(r, QStringLiteral("transmit parameters"));
        stepDone(QStringLiteral("transmit parameters: done"));
        return outcome(Success, QStringLiteral("restored from ") + request_.file);
    }

    // A transmit, marked as a write a second Ctrl-C would cut off.
    template <typename Step>
    Result writing(Step step)
    {
        interrupt::setWriting(slot_, true);
        const Result r = step();
        interrupt::setWriting(slot_, false);
        return r;
    }

    // A table transmit that did not end Done; one that had erased the controller's table says
    // what that table holds now.
    PortOutcome failedTransmit(Result result, bool leftIncomplete) const
    {
        PortOutcome o = failedStep(result, QStringLiteral("transmit table"));
        if (leftIncomplete)
            o.summary += QStringLiteral(". ") + exchange::erasedTableText(session_->family());
        return o;
    }

    PortOutcome compare()
    {
        SettingCommands::OpenFindings findings;
        if (std::optional<PortOutcome> refused = loadFile(findings))
            return *refused;
        if (std::optional<PortOutcome> stop = interruptedBefore(QStringLiteral("compare")))
            return *stop;
        Session& s = *session_;
        exchange::CompareFinding first;
        QList<exchange::CompareFinding> every;
        if (const Result r = exchange::Compare(s, &first, &every); r != Result::Done)
            return failedStep(r, QStringLiteral("compare"));

        const QString rowKind = s.isPointInput() ? QStringLiteral("point") : QStringLiteral("zone");
        QJsonArray differences;
        QString lines;
        for (const exchange::CompareFinding& d : std::as_const(every)) {
            const QString kind = d.kind == exchange::CompareFinding::Kind::Parameter
                                     ? QStringLiteral("PRM")
                                     : rowKind;
            lines += QStringLiteral("%1: %2 %3: file \"%4\", controller \"%5\"\n")
                         .arg(port_.name, kind)
                         .arg(d.number)
                         .arg(d.mine, d.theirs);
            differences.append(QJsonObject{{QStringLiteral("kind"), kind},
                                           {QStringLiteral("number"), d.number},
                                           {QStringLiteral("file"), d.mine},
                                           {QStringLiteral("controller"), d.theirs}});
        }
        if (!request_.json && !lines.isEmpty())
            console_.print(lines);
        PortOutcome o;
        o.json[QStringLiteral("family")] = familyName(s.family());
        o.json[QStringLiteral("differences")] = differences;
        o.exitCode = every.isEmpty() ? Success : Differences;
        o.summary = every.isEmpty() ? QStringLiteral("equal")
                                    : QStringLiteral("%1 difference(s)").arg(every.size());
        return o;
    }

    const Request& request_;
    const PortSpec& port_;
    double timeScale_;
    Console& console_;
    int slot_;
    PortDialogs dialogs_;
    // This port's own: its thread never waits for another port's exchange.
    ProgramState state_;
    bool lineLost_ = false;
    // The view goes after the session that points at it.
    std::unique_ptr<PortView> view_;
    std::unique_ptr<Session> session_;
};

}  // namespace

PortOutcome RunPort(const Request& request, const PortSpec& port, double timeScale,
                    Console& console, int slot)
{
    PortJob job(request, port, timeScale, console, slot);
    return job.run();
}

}  // namespace kap::cli
