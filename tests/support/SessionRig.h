// The one rig of the tests that drive a session against the controller simulator: a session
// of the simulated controller's family on a simulated line, with a recording view, scripted
// dialogs and a program state of its own. The exchange and operation rigs add their helpers
// on top of it.
#pragma once

#include "FakeView.h"
#include "ScratchState.h"
#include "ScriptedDialogs.h"
#include "SimLine.h"
#include "session/Session.h"

#include <QByteArray>
#include <QList>

namespace kap::test {

// DialogsType: the scripted dialogs, or a kind of them that also watches the boxes.
template <typename DialogsType = ScriptedDialogs>
struct SessionRigOf {
    explicit SessionRigOf(sim::Options options = {})
        : sim(options),
          session(options.family == 1 ? Family::PulseTrain : Family::PointInput, dialogs, clean)
    {
        session.setView(&view);
    }

    // Every line the controller received, in order.
    QList<QByteArray> sent() const { return sim.controller.receivedLines(); }

    ScratchState clean;
    SimLine sim;
    DialogsType dialogs;
    FakeView view;
    Session session;
};

using SessionRig = SessionRigOf<>;

}  // namespace kap::test
