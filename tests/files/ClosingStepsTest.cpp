// Exit and the closing steps as the file commands run them on a session.
#include "FakeView.h"
#include "ScriptedDialogs.h"
#include "SimLine.h"
#include "data/Grid.h"
#include "data/PointTable.h"
#include "files/SettingCommands.h"
#include "link/ProgramState.h"
#include "platform/Ini.h"
#include "session/Session.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kap;
using namespace kap::test;

namespace {

// Records, in order, what the closing steps did: "stopIo" (the I/O monitor stopped), "stop"
// (Stop asked for), "storePort" (port number in the settings file), "idle" (window usable
// again), "close". The timer and the settings file have no hook; they are looked at before
// each hooked step and once more at the end.
class StepsView : public FakeView {
public:
    void watch(Session& s)
    {
        session_ = &s;
        s.ioMonitorTimer().start();
        QObject::connect(&s, &Session::stopRequested, &s, [this] { step("stop"); });
    }
    void setMainWindowEnabled(bool on) override
    {
        FakeView::setMainWindowEnabled(on);
        if (on)
            step("idle");
    }
    void closeWindow() override
    {
        FakeView::closeWindow();
        step("close");
    }
    QStringList steps()
    {
        look();
        return steps_;
    }

private:
    void step(const char* name)
    {
        look();
        steps_ << name;
    }
    void look()
    {
        if (!ioStopped_ && !session_->ioMonitorTimer().isActive()) {
            ioStopped_ = true;
            steps_ << "stopIo";
        }
        if (!portStored_
            && ReadIniValue("COM", "Data", session_->programState().iniPath()) == "3") {
            portStored_ = true;
            steps_ << "storePort";
        }
    }

    Session* session_ = nullptr;
    QStringList steps_;
    bool ioStopped_ = false;
    bool portStored_ = false;
};

struct Closing {
    Closing()
    {
        clean.portName = "COM3";
        view.watch(session);
        session.setView(&view);
    }
    ScratchState clean;
    ScriptedDialogs dialogs;
    StepsView view;
    Session session{Family::PointInput, dialogs, clean};
    SettingCommands commands{session};
};

}  // namespace

TEST(ClosingSteps, FollowTheMarkAndTheAnswer)
{
    struct Case {
        const char* name;
        bool modified;
        bool running;
        QList<MsgAnswer> answers;
        bool saveDialogCancelled;
        bool exitCommand;
        QStringList steps;
        bool closes;  // the closing steps' verdict
    };
    const Case cases[] = {
        {"exit, unchanged", false, false, {}, false, true, {"stopIo", "close"}, true},
        {"exit, unchanged, running",
         false,
         true,
         {},
         false,
         true,
         {"stopIo", "stop", "close"},
         true},
        {"exit, No", true, false, {MsgAnswer::No}, false, true, {"stopIo", "close"}, true},
        {"exit, Cancel", true, false, {MsgAnswer::Cancel}, false, true, {}, false},
        {"exit, Yes, dialog cancelled", true, false, {MsgAnswer::Yes}, true, true, {}, false},
        {"closing, unchanged",
         false,
         false,
         {},
         false,
         false,
         {"stopIo", "storePort", "idle"},
         true},
        {"closing, unchanged, running",
         false,
         true,
         {},
         false,
         false,
         {"stopIo", "stop", "storePort", "idle"},
         true},
        // The motion is stopped and the line shut whatever the answer, once the window closes.
        {"closing, No", true, false, {MsgAnswer::No}, false, false, {"stopIo", "storePort"}, true},
        {"closing, No, running",
         true,
         true,
         {MsgAnswer::No},
         false,
         false,
         {"stopIo", "stop", "storePort"},
         true},
        {"closing, Cancel", true, false, {MsgAnswer::Cancel}, false, false, {}, false},
        {"closing, Yes, dialog cancelled", true, false, {MsgAnswer::Yes}, true, false, {}, false},
    };
    for (const Case& c : cases) {
        Closing s;
        s.session.drive().motionInProgress = c.running;
        if (c.modified)
            s.session.tableGrid().setText(0, PointTable::ModeColumn, "A");
        ASSERT_EQ(s.session.isModified(), c.modified) << c.name;
        for (MsgAnswer a : c.answers)
            s.dialogs.answer(a);
        if (c.saveDialogCancelled)
            s.dialogs.file("");
        if (c.exitCommand)
            s.commands.exit();
        else
            EXPECT_EQ(s.commands.closing(), c.closes) << c.name;
        EXPECT_EQ(s.view.steps(), c.steps) << c.name;
        EXPECT_EQ(s.dialogs.pendingAnswers(), 0) << c.name;
        EXPECT_EQ(s.commands.saveFailed(), c.saveDialogCancelled) << c.name;
        // Exit clears the mark before the window closes; the closing steps leave it.
        EXPECT_EQ(s.session.isModified(), c.exitCommand ? c.modified && !c.closes : c.modified)
            << c.name;
    }
}

TEST(ClosingSteps, YesAndASavedFileCloses)
{
    QTemporaryDir dir;
    Closing s;
    s.session.tableGrid().setText(0, PointTable::ModeColumn, "A");
    s.dialogs.answer(MsgAnswer::Yes).file(dir.filePath("s.csv")).ok();
    EXPECT_TRUE(s.commands.closing());
    EXPECT_EQ(s.view.steps(), (QStringList{"stopIo", "storePort"}));
    EXPECT_EQ(s.view.title, "KAP Support-Software - s.csv");
    EXPECT_FALSE(s.session.isModified());
}
