#include "ModelCheck.h"

#include "Invariants.h"
#include "OperationRig.h"
#include "exchange/Receive.h"
#include "session/CommandOffer.h"

#include <QRandomGenerator>
#include <QTimer>

#include <memory>

namespace kap::test {
namespace {

using C = Command;
using Kind = sim::Fault::Kind;

// Answers every box, Yes more often than No, and now and then lets the event loop run first
// as a real box does, so clicks and ticks land inside boxes too.
class RandomDialogs : public Dialogs {
public:
    explicit RandomDialogs(QRandomGenerator& rng) : rng_(rng) {}
    MsgAnswer message(const QString& text, const QString& title, MsgIcon,
                      MsgButtons buttons) override
    {
        ++shown;
        last = title + QLatin1Char('|') + text;
        if (rng_.bounded(3) == 0)
            waitUntil([] { return false; }, rng_.bounded(1, 20));
        if (buttons == MsgButtons::Ok)
            return MsgAnswer::Ok;
        if (buttons == MsgButtons::YesNoCancel)
            return MsgAnswer::No;
        return rng_.bounded(4) == 0 ? MsgAnswer::No : MsgAnswer::Yes;
    }
    void beep() override {}
    QString saveFileName(const FileDialogOptions&) override { return {}; }
    QString openFileName(const FileDialogOptions&) override { return {}; }
    bool choosePrinter(QPrinter&) override { return false; }

    int shown = 0;
    QString last;

private:
    QRandomGenerator& rng_;
};

// The commands a user clicks, each family its own.
const QList<C> kPointClicks = {
    C::SettingMode, C::OperationMode,     C::Start,          C::ReturnToOrigin, C::Stop,
    C::Set,         C::OriginShiftTarget, C::PositionTarget, C::JogCw,          C::JogCcw};
const QList<C> kPulseClicks = {
    C::SettingMode,   C::OperationMode,  C::ReturnToOrigin, C::Stop, C::Servo,
    C::Brake,         C::ClearDeviation, C::CancelAlarm,    C::Set,  C::OriginShiftTarget,
    C::PositionTarget};

// The command words a fault may hit.
const QList<QByteArray> kShortWords = {"@READ DIO ", "@?PRM ", "@?SRVO ", "@?BRK ", "\x03"};
const QList<QByteArray> kAnyWords = {"@?POS ", "@READ DIO ", "@?PRM ", "@ORG ",     "@MOVP ",
                                     "@XINC ", "@X+ ",       "@X- ",   "\x03",      "@?SRVO ",
                                     "@?P ",   "@?ORG ",     "@SRVO ", "@READ PRM "};

class World {
public:
    explicit World(quint32 seed) : rng_(seed), family_(rng_.bounded(3) == 0 ? 1 : 0)
    {
        for (int i = 0; i < 4; ++i)
            controller_.points[i] = {"A", QByteArray::number(20 * (i + 1)) + ".00", "50"};
        session_.setTimeScale(0.03);
        operation::attach(session_);
        session_.ioMonitorTimer().setInterval(30);
        monitor_ = std::make_unique<InvariantMonitor>(
            session_, [this] { return controller_.moving(); }, [this] { return dialogs_.shown; },
            200);
        QObject::connect(&controller_, &sim::Controller::replySent, &controller_,
                         [this](int, const QByteArray& entry, const QByteArray& bytes) {
                             monitor_->addReply(entry, bytes);
                         });
    }

    ModelReport run(int steps)
    {
        int fired = 0, running = 0;
        QObject context;
        std::function<void()> step = [&] {
            if (fired >= steps)
                return;
            ++fired;
            QTimer::singleShot(int(rng_.bounded(0, 8)), &context, [&, n = fired] {
                step();  // the next action may land inside this one's waits
                ++running;
                act(n);
                --running;
                monitor_->check();
            });
        };
        step();
        waitUntil([&] { return fired >= steps && running == 0; }, 15000);
        settle();
        for (const QString& b : monitor_->breaches())
            report_.breaches << b;
        return report_;
    }

private:
    sim::Options options()
    {
        sim::Options o = simOptions(family_, 40);
        o.originEstablished = rng_.bounded(2) == 0;
        o.heldReplyDelayMs = rng_.bounded(3) == 0 ? 5 : 0;
        return o;
    }

    void act(int n)
    {
        // Every run starts somewhere that moves: Operation mode, or a teaching loop.
        const int what = n == 1 ? 0 : int(rng_.bounded(100));
        const QString before = QString::number(n) + QLatin1Char(' ');
        if (what < 45) {
            const QList<C>& clicks = family_ == 1 ? kPulseClicks : kPointClicks;
            C c = clicks.at(int(rng_.bounded(int(clicks.size()))));
            if (n == 1)
                c = rng_.bounded(2) == 0 ? C::OperationMode : C::OriginShiftTarget;
            if (n == 1 && c == C::OriginShiftTarget && family_ == 0) {
                steps_ << before + QStringLiteral("option 2");
                ++report_.actionsTaken;
                operation::ChooseInputMode(session_, 2);
                return;
            }
            if (c == C::Set)
                session_.panel().setSettingPosition(QString::number(rng_.bounded(-90, 90)));
            steps_ << before + commandName(c);
            if (click(session_, c)) {
                ++report_.actionsTaken;
                if (c == C::Stop)
                    monitor_->stopTaken();
            }
        } else if (what < 58) {
            TeachingState& t = session_.teachingState();
            if (!t.buttonHeld)
                return;
            steps_ << before + QStringLiteral("release");
            const bool held = t.jogSteps >= 4;
            operation::ReleaseJog(session_);
            ++report_.actionsTaken;
            if (held)
                monitor_->stopTaken();
        } else if (what < 70) {
            const int option = family_ == 1 ? 0 : int(rng_.bounded(3));
            if (family_ == 1 || !inputOptionOffered(session_, option)
                || !session_.panel().frameEnabled(PanelFrame::Setup))
                return;
            steps_ << before + QStringLiteral("option %1").arg(option);
            ++report_.actionsTaken;
            operation::ChooseInputMode(session_, option);
        } else if (what < 76) {
            if (!session_.panel().stopDialogShown())
                return;
            steps_ << before + QStringLiteral("STOP dialog");
            ++report_.actionsTaken;
            operation::PressStopDialog(session_);
            monitor_->stopTaken();
        } else if (what < 80) {
            // A menu command, when the window's menus and the window itself take it.
            if (view_.commandsLocked || !view_.windowEnabled || session_.drive().operationMode
                || !session_.operations().idle()
                || session_.teachingState().loop != TeachingLoop::Off)
                return;
            steps_ << before + QStringLiteral("receive parameters");
            ++report_.actionsTaken;
            OperationScope scope(session_, Activity::DataCommand);
            exchange::ReceiveParameters(session_);
        } else {
            // A fault on one of the next exchanges.
            static const Kind kinds[] = {Kind::NoReply, Kind::CutReply, Kind::Refuse, Kind::Garbage,
                                         Kind::HangupMidReply};
            const Kind kind = kinds[rng_.bounded(5)];
            // A reply lost or cut costs its whole wait: only where the wait is short.
            const bool waits = kind == Kind::NoReply || kind == Kind::CutReply;
            const QList<QByteArray>& words = waits ? kShortWords : kAnyWords;
            const QByteArray word = words.at(int(rng_.bounded(int(words.size()))));
            steps_ << before
                          + QStringLiteral("fault %1 on %2")
                                .arg(int(kind))
                                .arg(visibleControls(QString::fromLatin1(word)));
            controller_.arm(
                word, {kind, kind == Kind::Garbage ? QByteArray("x?") : QByteArray("E-04 BUSY"),
                       kind == Kind::CutReply ? 2 : 1, true});
        }
    }

    // Back to rest: the button let go, teaching ended, nothing running; then the last checks.
    void settle()
    {
        TeachingState& t = session_.teachingState();
        if (t.buttonHeld)
            operation::ReleaseJog(session_);
        waitUntil([&] { return session_.operations().stack().isEmpty(); }, 5000);
        if (t.loop != TeachingLoop::Off) {
            if (family_ == 1)
                operation::EnterSettingMode(session_);
            else
                operation::ChooseInputMode(session_, 0);
        }
        waitUntil(
            [&] { return t.loop == TeachingLoop::Off && session_.operations().stack().isEmpty(); },
            5000);
        session_.ioMonitorTimer().stop();
        waitUntil([] { return false; }, 20);  // the controller's last replies
        monitor_->finish();
        if (!monitor_->breaches().isEmpty())
            report_.breaches << QStringLiteral("steps: ") + steps_.join(QStringLiteral(", "));
    }

    QRandomGenerator rng_;
    int family_;
    SessionRigOf<RandomDialogs> rig_{options(), rng_};
    RandomDialogs& dialogs_ = rig_.dialogs;
    sim::Controller& controller_ = rig_.sim.controller;
    FakeView& view_ = rig_.view;
    Session& session_ = rig_.session;
    std::unique_ptr<InvariantMonitor> monitor_;
    ModelReport report_;
    QStringList steps_;
};

}  // namespace

ModelReport runModel(quint32 seed, int steps)
{
    World world(seed);
    return world.run(steps);
}

}  // namespace kap::test
