// SIGTERM to the window program: it quits at once when nothing runs, and only after the
// running user operation (a transmit writing its block) has ended otherwise.
#include "app/Termination.h"
#include "ScratchState.h"
#include "ScriptedDialogs.h"
#include "session/Session.h"
#include "session/SessionState.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <gtest/gtest.h>

#include <csignal>
#include <optional>

using namespace kap;
using namespace kap::test;

namespace {

void serve(int ms)
{
    const QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

TEST(TerminationWatch, QuitsOnlyWhenNoOperationRuns)
{
    const struct {
        const char* name;
        std::optional<Activity> running;
        bool waits;
    } cases[] = {
        {"nothing runs", std::nullopt, false},
        {"a transmit runs", Activity::DataCommand, true},
        {"a move runs", Activity::Move, true},
        {"only an I/O-monitor cycle runs", Activity::Monitor, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedDialogs dialogs;
        ScratchState state;
        Session session(Family::PointInput, dialogs, state);
        TerminationWatch watch(
            [&session] { return QList<OperationTracker*>{&session.operations()}; });
        ASSERT_TRUE(watch.install());
        int quits = 0;
        QObject::connect(&watch, &TerminationWatch::quitRequested, [&quits] { ++quits; });
        std::optional<OperationScope> scope;
        if (c.running)
            scope.emplace(session, *c.running);

        ASSERT_EQ(::raise(SIGTERM), 0);
        serve(100);
        EXPECT_EQ(quits, c.waits ? 0 : 1);
        scope.reset();
        serve(100);
        EXPECT_EQ(quits, 1);
    }
}

}  // namespace
