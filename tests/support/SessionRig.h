// The one rig of the tests that drive the tool against a line: a link on its own, or a session
// with a recording view, scripted dialogs and a program state of its own, on the controller
// simulator's line or on none. The exchange and operation rigs add their helpers on top of it.
#pragma once

#include "FakeView.h"
#include "ScratchState.h"
#include "ScriptedDialogs.h"
#include "SimLine.h"
#include "link/Link.h"
#include "platform/QtSerialLine.h"
#include "session/Session.h"

#include <QByteArray>
#include <QList>

#include <concepts>
#include <utility>

#include <gtest/gtest.h>

namespace kap::test {

// A link on a real serial line in a clean program state, without a session; the test puts
// whatever answers on the port ("COM1") itself.
struct LinkRig {
    ScratchState clean;
    QtSerialLine serial;
    Link link{serial, clean, clean.replyTimeout};

    Outcome send(qint16 code, const QString& second = {}, float timeoutMs = 3000)
    {
        return link.exchange(code, second, timeoutMs);
    }
};

// What a main window is built on: a program state of its own and scripted dialogs. The window
// builds its session itself; a test puts the simulated line on the port when it needs one.
struct WindowRig {
    ScratchState clean;
    ScriptedDialogs dialogs;
};

// A rig as a gtest fixture.
template <typename Rig>
struct RigTest : ::testing::Test, Rig {
};

// What a session rig stands on besides the simulated line: nothing, for a test whose session
// never reaches a controller.
struct NoLine {};

// DialogsType: the scripted dialogs, or a kind of them that also watches the boxes.
template <typename DialogsType = ScriptedDialogs, typename LineType = SimLine>
struct SessionRigOf {
    // On the simulated line; the session is of the simulated controller's family.
    explicit SessionRigOf(sim::Options options = {}) requires std::same_as<LineType, SimLine>
        : sim(options),
          session(options.family == 1 ? Family::PulseTrain : Family::PointInput, dialogs, clean)
    {
        session.setView(&view);
    }
    // The same with dialogs that are built from dialogsArgs.
    template <typename... DialogsArgs>
    SessionRigOf(sim::Options options,
                 DialogsArgs&&... dialogsArgs) requires std::same_as<LineType, SimLine>
        : sim(options),
          dialogs(std::forward<DialogsArgs>(dialogsArgs)...),
          session(options.family == 1 ? Family::PulseTrain : Family::PointInput, dialogs, clean)
    {
        session.setView(&view);
    }
    // On no line.
    explicit SessionRigOf(
        Family family = Family::PointInput) requires std::same_as<LineType, NoLine>
        : session(family, dialogs, clean)
    {
        session.setView(&view);
    }

    // Every line the controller received, in order.
    QList<QByteArray> sent() const requires std::same_as<LineType, SimLine>
    {
        return sim.controller.receivedLines();
    }

    ScratchState clean;
    [[no_unique_address]] LineType sim;
    DialogsType dialogs;
    FakeView view;
    Session session;
};

using SessionRig = SessionRigOf<>;

// A session on no line, as the file, session and window tests use it.
struct ViewedSession : SessionRigOf<ScriptedDialogs, NoLine> {
    using SessionRigOf::SessionRigOf;
    // The program state under the name these tests know it by.
    ScratchState& state = clean;
};

}  // namespace kap::test
