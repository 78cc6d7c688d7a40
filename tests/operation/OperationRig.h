// The session rig with the helpers of the drive panel's procedures.
#pragma once

#include "Invariants.h"
#include "SessionRig.h"
#include "operation/Drive.h"
#include "operation/ServoBrake.h"
#include "operation/Teaching.h"
#include "session/CommandOffer.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << kap::visibleControls(s).toStdString() << '"';
}
inline void PrintTo(const QByteArray& b, std::ostream* os)
{
    PrintTo(QString::fromLatin1(b), os);
}

namespace kap::test {

// Also tells the test when a box comes up: a real box is modal, so what the window shows at
// that moment is what the user reads with it.
class HookedDialogs : public ScriptedDialogs {
public:
    MsgAnswer message(const QString& text, const QString& title, MsgIcon icon,
                      MsgButtons buttons) override
    {
        if (onBox)
            onBox();
        return ScriptedDialogs::message(text, title, icon, buttons);
    }
    std::function<void()> onBox;
};

inline sim::Options simOptions(int family = 0, int motionMs = 150)
{
    sim::Options o;
    o.family = family;
    o.motionMs = motionMs;
    return o;
}

// A tenth of every protocol wait: a lost reply costs 300 ms instead of 3 s.
constexpr double kTimeScale = 0.1;

struct OperationRig : SessionRigOf<HookedDialogs> {
    explicit OperationRig(sim::Options options = simOptions()) : SessionRigOf(options)
    {
        session.setTimeScale(kTimeScale);
        clock.start();
    }

    // Operation mode entered; the entry's lines are forgotten.
    void enterOperation()
    {
        operation::EnterOperationMode(session);
        ASSERT_TRUE(session.drive().operationMode);
        line.controller.clearReceived();
    }

    qsizetype count(const char* entry) const { return sent().count(entry); }
    PanelState& panel() { return session.panel(); }

    // fn runs when the controller receives a line starting with word, inside the simulator's
    // receive handler: it may look at the session, and acts on it only through a timer.
    void whenReceived(const QByteArray& word, std::function<void()> fn)
    {
        QObject::connect(&line.controller, &sim::Controller::entryReceived, &line.controller,
                         [word, fn](const QByteArray& entry) {
                             if (entry.startsWith(word))
                                 fn();
                         });
    }
    // Milliseconds after the rig was built at which word first arrived; -1 until then.
    void timeArrival(const QByteArray& word, qint64& at)
    {
        at = -1;
        whenReceived(word, [this, &at] { at = at < 0 ? clock.elapsed() : at; });
    }

    // The simulated line under the name the operation tests know it by.
    SimLine& line = sim;
    QElapsedTimer clock;
};

// A click as the window delivers it: only on a command the window offers, in a frame that is
// enabled. False when the click was not taken.
inline bool click(Session& s, Command c)
{
    using C = Command;
    const PanelState& p = s.panel();
    const bool drive = c == C::Start || c == C::ReturnToOrigin || c == C::Stop || c == C::Servo
                       || c == C::Brake || c == C::ClearDeviation || c == C::CancelAlarm;
    const bool teach = c == C::Set || c == C::OriginShiftTarget || c == C::PositionTarget
                       || c == C::JogCw || c == C::JogCcw;
    if (!commandOffered(s, c) || (drive && !p.frameEnabled(PanelFrame::Drive))
        || (teach && !p.frameEnabled(PanelFrame::Setup)))
        return false;
    switch (c) {
    case C::SettingMode:
        operation::EnterSettingMode(s);
        break;
    case C::OperationMode:
        operation::EnterOperationMode(s);
        break;
    case C::Start:
        operation::Start(s);
        break;
    case C::ReturnToOrigin:
        operation::Org(s);
        break;
    case C::Stop:
        operation::Stop(s);
        break;
    case C::Servo:
        operation::ToggleServo(s);
        break;
    case C::Brake:
        operation::ToggleBrake(s);
        break;
    case C::ClearDeviation:
        operation::ClearDeviation(s);
        break;
    case C::CancelAlarm:
        operation::CancelAlarm(s);
        break;
    case C::Set:
        operation::Set(s);
        break;
    case C::OriginShiftTarget:
        operation::ChooseTarget(s, TeachingTarget::OriginShift);
        break;
    case C::PositionTarget:
        operation::ChooseTarget(s, TeachingTarget::Position);
        break;
    case C::JogCw:
        operation::PressJog(s, true);
        break;
    case C::JogCcw:
        operation::PressJog(s, false);
        break;
    default:
        return false;
    }
    return true;
}

// Every motion command the tool writes is checked as it goes out (I1).
struct MotionWatch {
    explicit MotionWatch(Session& s)
    {
        QObject::connect(&s.link(), &Link::lineSent, &s, [this, &s](const QString& line) {
            const QString wrong = motionBreach(s, line);
            if (!wrong.isEmpty())
                breaches << wrong;
        });
    }
    QStringList breaches;
};

inline QList<QByteArray> lines(std::initializer_list<const char*> list)
{
    QList<QByteArray> out;
    for (const char* l : list)
        out << QByteArray(l);
    return out;
}

// "title|text" of every box shown.
inline QStringList boxes(const ScriptedDialogs& d)
{
    QStringList out;
    for (const Box& b : d.boxes)
        out << b.title + QLatin1Char('|') + b.text;
    return out;
}

inline const QString kLinkError =
    QStringLiteral("The communication error. Please check the connection.");

}  // namespace kap::test
