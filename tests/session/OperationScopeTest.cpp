// Which commands a running operation leaves offered, and what an operation's hold on the
// session starts and ends with.
#include "SessionRig.h"
#include "link/ProgramState.h"
#include "session/CommandOffer.h"
#include "session/Session.h"

#include <gtest/gtest.h>

using namespace kap;
using namespace kap::test;
using C = Command;

TEST(CommandOffer, WhatARunningOperationLeavesOffered)
{
    const struct {
        Activity running;
        QList<C> off;  // not offered although the panel enables them
        QList<C> on;   // offered although the panel disables them
    } cases[] = {
        {Activity::ModeChange,
         {C::SettingMode, C::OperationMode, C::Start, C::Stop, C::Set, C::Compare},
         {}},
        {Activity::Start, {C::SettingMode, C::ReturnToOrigin, C::Servo, C::TransmitTable}, {}},
        {Activity::Move,
         {C::SettingMode, C::OperationMode, C::Start, C::ReturnToOrigin},
         {C::Stop}},
        {Activity::ReturnToOrigin, {C::SettingMode, C::Start, C::JogCw, C::Set}, {C::Stop}},
        {Activity::Stop, {C::Stop, C::SettingMode, C::Start, C::Brake}, {}},
        {Activity::PanelCommand, {C::SettingMode, C::Servo, C::ReturnToOrigin}, {}},
        {Activity::Refresh, {C::SettingMode, C::Set, C::PositionTarget}, {}},
        {Activity::TeachingChoice, {C::SettingMode, C::OperationMode, C::Set, C::JogCcw}, {}},
        // The release of a held jog button must always get through.
        {Activity::Jog, {C::SettingMode, C::Set, C::OriginShiftTarget}, {C::JogCw, C::JogCcw}},
        {Activity::Set, {C::Set, C::JogCw, C::OperationMode}, {}},
        {Activity::DataCommand, {C::OperationMode, C::Start, C::Stop, C::Set, C::Open}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(activityName(c.running));
        ViewedSession w;
        Session& s = w.session;
        for (C b : allCommands())
            s.panel().setEnabled(b, !c.on.contains(b));
        OperationScope scope(s, c.running);
        for (C b : c.off)
            EXPECT_FALSE(commandOffered(s, b)) << commandName(b);
        for (C b : c.on)
            EXPECT_TRUE(commandOffered(s, b)) << commandName(b);
        // Looking is never taken away.
        for (C b : {C::ShowCommLog, C::ShowAnglePlot, C::SwitchGrid, C::Exit})
            EXPECT_TRUE(commandOffered(s, b)) << commandName(b);
    }
}

TEST(CommandOffer, BackgroundStepsAndAHeldJog)
{
    ViewedSession w;
    Session& s = w.session;
    for (C b : allCommands())
        s.panel().setEnabled(b, true);
    {
        // A monitor cycle or a teaching pass takes nothing away: what the user starts inside
        // it wins.
        OperationScope monitor(s, Activity::Monitor);
        OperationScope pass(s, Activity::TeachingStep);
        EXPECT_TRUE(s.operations().idle());
        for (C b : allCommands())
            EXPECT_TRUE(commandOffered(s, b)) << commandName(b);
        OperationScope stop(s, Activity::Stop);
        EXPECT_TRUE(stop.outermost());
        EXPECT_FALSE(commandOffered(s, C::Start));
    }
    s.teachingState().loop = TeachingLoop::Held;
    for (C b : {C::Set, C::PositionTarget, C::SettingMode, C::TransmitTable})
        EXPECT_FALSE(commandOffered(s, b)) << commandName(b);
    for (C b : {C::JogCw, C::Stop})
        EXPECT_TRUE(commandOffered(s, b)) << commandName(b);
    EXPECT_TRUE(inputOptionOffered(s, 0));   // Numeric Input stops it
    EXPECT_FALSE(inputOptionOffered(s, 2));  // no second loop
    OperationScope jog(s, Activity::Jog);
    EXPECT_TRUE(inputOptionOffered(s, 0));
    EXPECT_FALSE(inputOptionOffered(s, 1));
}

TEST(OperationScope, SilenceStopTitleAndTimeOutBelongToTheirOperation)
{
    ViewedSession w;
    Session& s = w.session;
    s.silence().motion = true;  // left by something earlier
    {
        OperationScope start(s, Activity::Start);
        EXPECT_FALSE(s.silence().motion) << "an operation starts with nothing silent";
        s.operations().title = "Start";
        s.link().timeout().set(22000.0f);
        s.silence().motion = true;
        const quint64 generation = s.operations().generation();
        {
            OperationScope stop(s, Activity::Stop);
            EXPECT_FALSE(stop.outermost());
            EXPECT_NE(s.operations().generation(), generation);
            s.operations().requestStop();
            s.operations().title = "Stop";
            s.link().timeout().set(1500.0f);
            EXPECT_TRUE(s.silence().motion) << "a nested one keeps the silence it runs in";
        }
        EXPECT_EQ(s.operations().title, "Start");
        EXPECT_FLOAT_EQ(s.link().timeout().ms(), 22000.0f);
        EXPECT_TRUE(s.operations().stopRequested()) << "the Stop is for the running start";
    }
    EXPECT_FALSE(s.silence().motion);
    EXPECT_FALSE(s.operations().stopRequested());
    EXPECT_TRUE(s.operations().idle());
}
