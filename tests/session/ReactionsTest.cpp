// The shared reactions of a session to a failed exchange, seen through its view.
#include "session/Reactions.h"
#include "SessionRig.h"
#include "link/Link.h"

#include <gtest/gtest.h>

using namespace kap;
using namespace kap::test;

namespace {

const QString kLinkError = "The communication error. Please check the connection.";

struct LinkErrorCase {
    const char* name;
    bool settei;
    int stopcheck;
    int orgpos;
    bool boxExpected;
    bool recovered;
};

}  // namespace

TEST(LinkReactions, CommunicationErrorBoxAndRecovery)
{
    const LinkErrorCase cases[] = {
        {"silent while no operation runs", true, 0, 0, false, false},
        {"plain failure", false, 0, 0, true, true},
        {"after the user pressed Stop", false, 1, 0, false, true},
        {"during a return to origin", false, 0, 1, false, false},
        {"Stop pressed during a return to origin", false, 1, 1, false, true},
    };
    for (const LinkErrorCase& c : cases) {
        ViewedSession w;
        LinkErrorSilence& quiet = w.session.silence();
        quiet.settingMode = c.settei;
        quiet.stopPressed = c.stopcheck;
        quiet.motion = c.orgpos;
        w.session.drive().motionInProgress = true;
        w.session.operations().title = "Drive";
        w.view.bar.visible = true;
        if (c.boxExpected)
            w.dialogs.ok();
        ReportLinkError(w.session);
        ASSERT_EQ(w.dialogs.boxes.size(), c.boxExpected ? 1 : 0) << c.name;
        if (c.boxExpected) {
            EXPECT_EQ(w.dialogs.boxes[0].text, kLinkError);
            EXPECT_EQ(w.dialogs.boxes[0].title, "Drive");
            EXPECT_EQ(w.dialogs.boxes[0].icon, MsgIcon::None);
            EXPECT_EQ(w.dialogs.beeps, 1);
        }
        EXPECT_EQ(w.view.windowEnabled, c.recovered) << c.name;
        EXPECT_EQ(w.view.toolbarEnabled, c.recovered) << c.name;
        EXPECT_EQ(!w.view.commandsLocked, c.recovered) << c.name;
        EXPECT_EQ(!w.view.bar.visible, c.recovered) << c.name;
        // A motion still marked as running is stopped when the window closes.
        bool stopOnClose = false;
        QObject::connect(&w.session, &Session::stopRequested, [&] { stopOnClose = true; });
        w.session.prepareToClose();
        EXPECT_EQ(stopOnClose, !c.recovered) << c.name;
        if (c.recovered) {
            EXPECT_FALSE(quiet.stopPressed) << c.name;
        }
    }
}

TEST(LinkReactions, OriginVariantIgnoresStopAndOrgpos)
{
    ViewedSession w;
    w.session.silence().settingMode = false;
    w.session.silence().stopPressed = true;
    w.session.silence().motion = true;
    w.session.operations().title = "Org";
    w.dialogs.ok();
    ReportOriginLinkError(w.session);
    ASSERT_EQ(w.dialogs.boxes.size(), 1);
    EXPECT_EQ(w.dialogs.boxes[0].title, "Org");
    EXPECT_TRUE(w.view.windowEnabled);
    EXPECT_FALSE(w.session.silence().stopPressed);

    ViewedSession quiet;
    quiet.session.silence().settingMode = true;
    ReportOriginLinkError(quiet.session);
    EXPECT_TRUE(quiet.dialogs.boxes.isEmpty());
}

TEST(LinkReactions, FocusGoesToNumericInputOnlyWhenTeaching)
{
    for (int mode : {1, 2, 3}) {
        for (bool selected : {false, true}) {
            ViewedSession w;
            w.session.silence().settingMode = false;
            w.session.teachingState().inputMode = mode;
            w.view.numericSelected = selected;
            w.dialogs.ok();
            ReportLinkError(w.session);
            EXPECT_EQ(w.view.numericFocused, (mode != 1 && !selected) ? 1 : 0)
                << "mode " << mode << " selected " << selected;
        }
    }
}

TEST(LinkReactions, RefusalShowsTheReplyAndTheBoxUnlessStopped)
{
    for (const char* reply : {"NG\r\nE-01\r\n", "STOP\r\nSTOPPED\r\n"}) {
        ViewedSession w;
        Outcome outcome;
        outcome.reply = QString::fromLatin1(reply);
        w.view.bar.visible = true;
        const bool stopped = outcome.reply.contains("STOP");
        if (!stopped)
            w.dialogs.ok();
        ReportRefusal(w.session, outcome);
        EXPECT_EQ(w.view.error, QString::fromLatin1(reply));
        if (stopped) {
            EXPECT_TRUE(w.dialogs.boxes.isEmpty());
        } else {
            ASSERT_EQ(w.dialogs.boxes.size(), 1);
            EXPECT_EQ(w.dialogs.boxes[0].text, "Cannot receive data from controller.");
            EXPECT_EQ(w.dialogs.boxes[0].title, "Error");
            EXPECT_EQ(w.dialogs.boxes[0].icon, MsgIcon::Critical);
        }
        EXPECT_TRUE(w.view.windowEnabled && w.view.toolbarEnabled && !w.view.bar.visible);
    }
}

TEST(LinkReactions, ErrorLineRules)
{
    struct Case {
        const char* reply;
        const char* line;
        bool found;
    };
    const Case cases[] = {
        {"OK\r\n", "", false},
        {"NG\r\nE-01 BAD\r\nOK\r\n", "NG\r\nE-01 BAD\r\n", true},
        {"NG\r\n", "", true},
        {"STOP\r\nSTOPPED\r\n", "STOP\r\nSTOPPED\r\n", true},
        {"STOP\r\nS\r\nNG\r\nE\r\n", "NG\r\nE\r\n", true},
        {"x NG\r\nE\r\n", "NG\r\nE\r\n", true},
    };
    for (const Case& c : cases) {
        bool found = false;
        EXPECT_EQ(errorLineOf(QString::fromLatin1(c.reply), &found), QString::fromLatin1(c.line))
            << c.reply;
        EXPECT_EQ(found, c.found) << c.reply;
    }
}
