#include "Session.h"

#include "Module1.h"
#include "ParameterTable.h"
#include "PointTable.h"
#include "QtSerialLine.h"
#include "Reactions.h"
#include "ZoneTable.h"

#include <QRegularExpression>

namespace kap {

QString ControllerFacts::versionFromReply(const QString& reply)
{
    // Only the first line is the version: a short version must not pick up the CR LF and
    // the "OK" that follow it.
    static const QRegularExpression lineEnd(QStringLiteral("[\r\n]"));
    const qsizetype end = reply.indexOf(lineEnd);
    QString line = (end < 0 ? reply : reply.left(end)).trimmed();
    for (const char* word : {"OK", "NG", "STOP", "READY"}) {
        if (line == QLatin1String(word))
            return {};
    }
    return line;
}

Session::Session(Family family, Dialogs& dialogs, std::unique_ptr<SerialLine> line, QObject* parent)
    : QObject(parent), family_(family), dialogs_(dialogs), line_(std::move(line))
{
    if (!line_)
        line_ = std::make_unique<QtSerialLine>();
    ReplyTimeout* timeout = &module1().replyTimeout;
    if (!isPointInput()) {
        ownTimeout_ = std::make_unique<ReplyTimeout>(3000.0f);
        timeout = ownTimeout_.get();
    }
    link_ = std::make_unique<Link>(*line_, *timeout);
    // The view is looked up at each line, so a view set later (or cleared) is honoured.
    connect(link_.get(), &Link::lineSent, this, [this](const QString& t) { view_->showComS(t); });
    connect(link_.get(), &Link::replyReceived, this, [this](const QString& t) { view_->showComR(t); });
    connect(link_.get(), &Link::errorLineReceived, this, [this](const QString& t) { view_->showError(t); });

    tableGrid_.setObjectName(QStringLiteral("Grid1"));
    parameterGrid_.setObjectName(QStringLiteral("Grid2"));
    ioMonitor_.setObjectName(QStringLiteral("Tim_IO_Mon"));
    rsOver_.setObjectName(QStringLiteral("Tim_Rs_Over"));

    // Creation steps of the data, in their order.
    rsOver_.stop();
    flags_.settingUp = true;
    if (isPointInput()) {
        points_ = std::make_unique<PointTable>(tableGrid_, *this);
        points_->setUp();
    } else {
        zones_ = std::make_unique<ZoneTable>(tableGrid_, *this);
        zones_->setUp();
    }
    ioMonitor_.setInterval(700);
    // A coarse timer may drift 5 % (35 ms) from one cycle to the next.
    ioMonitor_.setTimerType(Qt::PreciseTimer);
    parameters_ = std::make_unique<ParameterTable>(family_, parameterGrid_, tableGrid_, *this);
    parameters_->setUp();
    flags_.settingUp = false;
    setModified(false);
}

Session::~Session() = default;

void Session::setView(SessionView* view)
{
    view_ = view ? view : &noView_;
}

QString Session::actuatorType() const
{
    return parameters_->currentType();
}

bool Session::isModified() const
{
    return kap::isModified(tableGrid_);
}

void Session::setModified(bool on)
{
    if (on)
        setModifiedMark(tableGrid_);
    else
        clearModifiedMark(tableGrid_);
}

void Session::restoreIdle()
{
    RestoreWindow(*this);
}

void Session::endProgram()
{
    // Only after "Controller type is different.": nothing is saved.
    emit programEndRequested();
}

}  // namespace kap
