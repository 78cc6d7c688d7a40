// A session with a recording view on the controller simulator, for the drive panel's
// procedures.
#pragma once

#include "Drive.h"
#include "FakeView.h"
#include "ScriptedDialogs.h"
#include "Session.h"
#include "SimLine.h"

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

struct OperationRig {
    explicit OperationRig(sim::Options options = simOptions())
        : line(options),
          session(options.family == 1 ? Family::PulseTrain : Family::PointInput, dialogs)
    {
        session.setView(&view);
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

    QList<QByteArray> sent() const { return line.controller.receivedLines(); }
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

    CleanModule clean;
    SimLine line;
    HookedDialogs dialogs;
    FakeView view;
    Session session;
    QElapsedTimer clock;
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
