// Exit and the closing steps as the file commands run them against any window.
#include "Grid.h"
#include "ParameterTable.h"
#include "PointTable.h"
#include "ScriptedDialogs.h"
#include "SettingCommands.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kap;
using namespace kap::test;

namespace {

class FakeFileHost : public FileHost {
public:
    explicit FakeFileHost(ScriptedDialogs& d)
        : dialogs_(d), tableHost(d), points(data, tableHost), params(Family::PointInput, paramGrid, data, tableHost)
    {
        points.setUp();
        params.setUp();
    }
    Family family() const override { return Family::PointInput; }
    Grid& dataGrid() override { return data; }
    ParameterTable& parameters() override { return params; }
    Dialogs& dialogs() override { return dialogs_; }
    void setTitle(const QString& t) override { title = t; }
    void refreshQuickBoxes() override { calls << "refresh"; }
    void stopIoMonitor() override { calls << "stopIo"; }
    bool positioningRunning() const override { return running; }
    void runStop() override { calls << "stop"; }
    void storePortNumber() override { calls << "storePort"; }
    void restoreIdle() override { calls << "idle"; }
    void closeWindow() override { calls << "close"; }
    void suspendChangeHandling(bool on) override { tableHost.settingUpFlag = on; }

    ScriptedDialogs& dialogs_;
    SimpleTableHost tableHost;
    Grid data;
    Grid paramGrid;
    PointTable points;
    ParameterTable params;
    QString title;
    QStringList calls;
    bool running = false;
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
        QStringList calls;
        bool closes;  // the closing steps' verdict
    };
    const Case cases[] = {
        {"exit, unchanged", false, false, {}, false, true, {"stopIo", "close"}, true},
        {"exit, unchanged, running", false, true, {}, false, true, {"stopIo", "stop", "close"}, true},
        {"exit, No", true, false, {MsgAnswer::No}, false, true, {"stopIo", "close"}, true},
        {"exit, Cancel", true, false, {MsgAnswer::Cancel}, false, true, {}, false},
        {"exit, Yes, dialog cancelled", true, false, {MsgAnswer::Yes}, true, true, {}, false},
        {"closing, unchanged", false, false, {}, false, false, {"stopIo", "storePort", "idle"}, true},
        {"closing, unchanged, running", false, true, {}, false, false, {"stopIo", "stop", "storePort", "idle"}, true},
        {"closing, No", true, false, {MsgAnswer::No}, false, false, {"storePort"}, true},
        {"closing, Cancel", true, false, {MsgAnswer::Cancel}, false, false, {}, false},
        {"closing, Yes, dialog cancelled", true, false, {MsgAnswer::Yes}, true, false, {}, false},
    };
    for (const Case& c : cases) {
        ScriptedDialogs d;
        FakeFileHost host(d);
        SettingCommands commands(host);
        host.running = c.running;
        if (c.modified)
            host.data.setText(0, PointTable::ModeColumn, "A");
        ASSERT_EQ(isModified(host.data), c.modified) << c.name;
        for (MsgAnswer a : c.answers)
            d.answer(a);
        if (c.saveDialogCancelled)
            d.file("");
        if (c.exitCommand)
            commands.exit();
        else
            EXPECT_EQ(commands.closing(), c.closes) << c.name;
        EXPECT_EQ(host.calls, c.calls) << c.name;
        EXPECT_EQ(d.pendingAnswers(), 0) << c.name;
        EXPECT_EQ(commands.saveFailed(), c.saveDialogCancelled) << c.name;
        // Exit clears the mark before the window closes; the closing steps leave it.
        EXPECT_EQ(isModified(host.data), c.exitCommand ? c.modified && !c.closes : c.modified) << c.name;
    }
}

TEST(ClosingSteps, YesAndASavedFileCloses)
{
    QTemporaryDir dir;
    ScriptedDialogs d;
    FakeFileHost host(d);
    SettingCommands commands(host);
    host.data.setText(0, PointTable::ModeColumn, "A");
    d.answer(MsgAnswer::Yes).file(dir.filePath("s.csv")).ok();
    EXPECT_TRUE(commands.closing());
    EXPECT_EQ(host.calls, QStringList{"storePort"});
    EXPECT_EQ(host.title, "KAP Support-Software" + dir.filePath("s.csv"));
    EXPECT_FALSE(isModified(host.data));
}
