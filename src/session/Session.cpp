#include "session/Session.h"

#include "data/ParameterTable.h"
#include "data/PointTable.h"
#include "data/ZoneTable.h"
#include "link/ProgramState.h"
#include "platform/QtSerialLine.h"
#include "session/Reactions.h"

#include <QRegularExpression>

#include <algorithm>

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

Session::Session(Family family, Dialogs& dialogs, ProgramState& state,
                 std::unique_ptr<SerialLine> line, QObject* parent)
    : QObject(parent), family_(family), dialogs_(dialogs), state_(state), line_(std::move(line))
{
    if (!line_)
        line_ = std::make_unique<QtSerialLine>();
    ReplyTimeout* timeout = &state_.replyTimeout;
    if (!isPointInput()) {
        ownTimeout_ = std::make_unique<ReplyTimeout>(3000.0f);
        timeout = ownTimeout_.get();
    }
    link_ = std::make_unique<Link>(*line_, state_, *timeout);
    // The view is looked up at each line, so a view set later (or cleared) is honoured.
    connect(link_.get(), &Link::lineSent, this, [this](const QString& t) { view_->showComS(t); });
    connect(link_.get(), &Link::replyReceived, this,
            [this](const QString& t) { view_->showComR(t); });
    connect(link_.get(), &Link::errorLineReceived, this,
            [this](const QString& t) { view_->showError(t); });

    tableGrid_.setObjectName(QStringLiteral("Grid1"));
    parameterGrid_.setObjectName(QStringLiteral("Grid2"));
    ioMonitor_.setObjectName(QStringLiteral("Tim_IO_Mon"));
    rsOver_.setObjectName(QStringLiteral("Tim_Rs_Over"));
    teachingTimer_.setObjectName(QStringLiteral("teachingLoop"));
    teachingTimer_.setSingleShot(true);
    teachingTimer_.setInterval(20);

    // Creation steps of the data, in their order.
    rsOver_.stop();
    guards_.settingUp = true;
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
    guards_.settingUp = false;
    setModified(false);
}

Session::~Session() = default;

const char* activityName(Activity a)
{
    switch (a) {
    case Activity::ModeChange:
        return "mode change";
    case Activity::Start:
        return "start";
    case Activity::Move:
        return "move";
    case Activity::ReturnToOrigin:
        return "return to origin";
    case Activity::Stop:
        return "stop";
    case Activity::PanelCommand:
        return "panel command";
    case Activity::Refresh:
        return "refresh";
    case Activity::TeachingChoice:
        return "teaching choice";
    case Activity::TeachingStep:
        return "teaching pass";
    case Activity::Jog:
        return "jog";
    case Activity::Set:
        return "set";
    case Activity::DataCommand:
        return "data command";
    case Activity::Monitor:
        return "monitor";
    }
    return "";
}

bool isBackground(Activity a)
{
    return a == Activity::Monitor || a == Activity::TeachingStep;
}

int OperationTracker::userDepth() const
{
    return int(
        std::count_if(stack_.cbegin(), stack_.cend(), [](Activity a) { return !isBackground(a); }));
}

Activity OperationTracker::current() const
{
    for (qsizetype i = stack_.size() - 1; i >= 0; --i) {
        if (!isBackground(stack_[i]))
            return stack_[i];
    }
    return Activity::Monitor;
}

OperationScope::OperationScope(Session& s, Activity a)
    : s_(s), title_(s.operations().title), timeoutMs_(s.link().timeout().ms())
{
    OperationTracker& t = s.operations();
    if (!isBackground(a)) {
        outermost_ = t.idle();
        ++t.generation_;
    }
    if (outermost_) {
        // Nothing of an earlier operation's silence or Stop carries over.
        s.silence().clear();
        t.stopRequested_ = false;
    }
    t.stack_.append(a);
    emit t.changed();
}

OperationScope::~OperationScope()
{
    OperationTracker& t = s_.operations();
    t.stack_.removeLast();
    if (outermost_) {
        emit t.ending();
        s_.silence().clear();
        t.stopRequested_ = false;
    } else {
        // Back to the operation this one ran inside: its boxes keep their title, its next
        // exchange its time-out.
        t.title = title_;
        if (s_.link().timeout().ms() != timeoutMs_)
            s_.link().timeout().set(timeoutMs_);
    }
    emit t.changed();
}

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

void Session::prepareToClose()
{
    ioMonitor_.stop();
    teachingTimer_.stop();
    if (silence_.closing)
        return;
    if (drive_.motionInProgress || teaching_.mayBeMoving)
        emit stopRequested();
    silence_.closing = true;
    link_->shutDown();
    operations_.requestStop();
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
