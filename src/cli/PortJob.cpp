#include "PortJob.h"

#include "Compare.h"
#include "ExchangeSteps.h"
#include "FamilyQuery.h"
#include "Module1.h"
#include "PortConsole.h"
#include "QtSerialLine.h"
#include "Receive.h"
#include "Records.h"
#include "Session.h"
#include "SettingCommands.h"
#include "Transmit.h"
#include "Version.h"

#include <QJsonArray>

#include <memory>
#include <optional>

namespace kap::cli {

namespace {

using exchange::Result;

QString familyName(Family family)
{
    return family == Family::PointInput ? QStringLiteral("point-input")
                                        : QStringLiteral("pulse-train");
}

Family otherFamily(Family family)
{
    return family == Family::PointInput ? Family::PulseTrain : Family::PointInput;
}

PortOutcome outcome(int code, const QString& summary)
{
    PortOutcome o;
    o.exitCode = code;
    o.summary = summary;
    return o;
}

// A procedure that did not end Done. Its boxes have already said why.
PortOutcome failedStep(Result result, const QString& step)
{
    switch (result) {
    case Result::Declined:
        return outcome(Failure, step + QStringLiteral(": not confirmed"));
    case Result::Refused:
        return outcome(Failure, step + QStringLiteral(": refused"));
    case Result::Cancelled:
        return outcome(Failure, step + QStringLiteral(": cancelled"));
    case Result::LinkError:
    case Result::Done:
        break;
    }
    return outcome(Failure, step + QStringLiteral(": communication error"));
}

// Whether Open loads the file into a session of this family. The session never talks.
bool opensAs(Family family, const QString& path)
{
    PortDialogs quiet(nullptr, 0);
    quiet.openPath = path;
    Session trial(family, quiet);
    return SettingCommands(trial).open() == SettingCommands::OpenResult::Opened;
}

class PortJob {
public:
    PortJob(const Request& request, const PortSpec& port, double timeScale, Console& console,
            int slot)
        : request_(request), port_(port), timeScale_(timeScale), console_(console), slot_(slot),
          dialogs_(&console, slot)
    {
    }

    PortOutcome run()
    {
        if (std::optional<PortOutcome> failed = connect())
            return *failed;
        switch (request_.command) {
        case Command::Info:
            return info();
        case Command::Backup:
            return backup();
        case Command::Restore:
            return restore();
        case Command::Compare:
            return compare();
        }
        return {};
    }

private:
    void say(const QString& text) { console_.say(slot_, text); }

    // The family query on the bare line, then the session of that family on the same line.
    std::optional<PortOutcome> connect()
    {
        // Only a log shows the name: the line opens its device whatever name it is given.
        module1().portName = port_.comName.isEmpty() ? QStringLiteral("COM1") : port_.comName;
        std::unique_ptr<SerialLine> line = QtSerialLine::forDevice(port_.device);
        const FamilyAnswer family = QueryFamily(*line, timeScale_);
        switch (family.status) {
        case FamilyAnswer::Status::PortFailed:
            say(family.reason);
            return outcome(Failure, QStringLiteral("port failed: ") + family.reason);
        case FamilyAnswer::Status::Silent:
            say(QStringLiteral("no reply: the controller type cannot be obtained"));
            return outcome(Failure, QStringLiteral("no reply"));
        case FamilyAnswer::Status::Unknown:
            say(QStringLiteral("unknown controller family \"%1\"").arg(family.answer));
            return outcome(Failure, QStringLiteral("unknown controller family"));
        case FamilyAnswer::Status::Known:
            break;
        }
        session_ = std::make_unique<Session>(family.family, dialogs_, std::move(line));
        view_ = std::make_unique<PortView>(console_, slot_, *session_);
        session_->setView(view_.get());
        session_->setTimeScale(timeScale_);
        session_->setFileEncoding(request_.encoding);
        QObject::connect(&session_->link(), &Link::portFailed, &session_->link(),
                         [this](const QString& reason) { say(reason); });
        return std::nullopt;
    }

    PortOutcome info()
    {
        Session& s = *session_;
        s.operations().title = QStringLiteral("Info");
        PortOutcome o;
        // Parameter 0 is the actuator type; the window asks for it the same way.
        const Outcome typeReply = exchange::exchangeLine(s, cmd::QPRM, 2000.0f,
                                                         QStringLiteral("0"));
        if (exchange::judge(typeReply) != exchange::Verdict::Usable)
            return failedStep(exchange::resultOfFailure(typeReply),
                              QStringLiteral("actuator type"));
        const QString type = records::actuatorTypeOf(typeReply.reply);
        const bool known = findActuatorType(type.toInt()) != nullptr;
        const QString version = QueryControllerVersion(s);
        const Outcome dio = exchange::exchangeLine(s, cmd::READ_DIO, 3000.0f);
        if (exchange::judge(dio) != exchange::Verdict::Usable)
            return failedStep(exchange::resultOfFailure(dio), QStringLiteral("DIO layout"));
        const QString layout = !dio.reply.contains(QLatin1String("OK")) ? QString()
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
        if (!request_.json)
            console_.print(port_.name + QStringLiteral(": ") + text + QLatin1Char('\n'));
        o.summary = text;
        return o;
    }

    // Receive(Point)/Receive(Zones), Receive(Parameters), then Save As: the file the window
    // writes after the same three commands.
    PortOutcome backup()
    {
        Session& s = *session_;
        if (const Result r = exchange::ReceiveTable(s); r != Result::Done)
            return failedStep(r, QStringLiteral("receive table"));
        if (const Result r = exchange::ReceiveParameters(s); r != Result::Done)
            return failedStep(r, QStringLiteral("receive parameters"));
        const QString path = request_.backupPath(port_);
        dialogs_.savePath = path;
        if (!SettingCommands(s).saveAs())
            return outcome(BadInput, path + QStringLiteral(": not written"));
        return outcome(Success, QStringLiteral("backed up to ") + path);
    }

    // Open the file as the window opens it; a file the session's family cannot take is
    // refused before anything but the family query has been sent. The view has said what
    // the file lacked; findings gets it too.
    std::optional<PortOutcome> loadFile(SettingCommands::OpenFindings& findings)
    {
        Session& s = *session_;
        dialogs_.openPath = request_.file;
        SettingCommands files(s);
        const SettingCommands::OpenResult opened = files.open();
        findings = files.findings();
        switch (opened) {
        case SettingCommands::OpenResult::Opened:
            return std::nullopt;
        case SettingCommands::OpenResult::UnknownType:
            return outcome(Failure, QStringLiteral("file of an unknown actuator type"));
        case SettingCommands::OpenResult::NotAsked:
        case SettingCommands::OpenResult::Unreadable:
            break;
        }
        if (opensAs(otherFamily(s.family()), request_.file)) {
            say(QStringLiteral("%1 is a %2 file; this controller is %3")
                    .arg(request_.file, familyName(otherFamily(s.family())),
                         familyName(s.family())));
            return outcome(Failure, QStringLiteral("file of the other family"));
        }
        return outcome(BadInput, request_.file + QStringLiteral(": cannot open"));
    }

    PortOutcome restore()
    {
        SettingCommands::OpenFindings findings;
        if (std::optional<PortOutcome> refused = loadFile(findings))
            return *refused;
        // A value out of range has been named and took its initial value, as in the window;
        // sending initial values for parameters the file does not have is the user's call.
        if (!findings.missing.isEmpty() && !request_.allowMissing) {
            say(QStringLiteral("not transmitted: the file lacks parameters "
                               "(--allow-missing sends their initial values)"));
            return outcome(BadInput, request_.file + QStringLiteral(": parameters missing"));
        }
        Session& s = *session_;
        // The table transmit's one question is whether to go on and erase the controller's
        // table; that one is the user's.
        dialogs_.putQuestionsToUser(true, request_.yes);
        bool incomplete = false;
        const Result table = exchange::TransmitTable(s, &incomplete);
        dialogs_.putQuestionsToUser(false);
        if (table == Result::Declined)
            say(QStringLiteral("not confirmed: nothing was written"));
        if (table != Result::Done)
            return failedTransmit(table, incomplete);
        if (const Result r = exchange::TransmitParameters(s); r != Result::Done)
            return failedStep(r, QStringLiteral("transmit parameters"));
        return outcome(Success, QStringLiteral("restored from ") + request_.file);
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
