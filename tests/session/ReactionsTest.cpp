#include "FakeWindow.h"
#include "Link.h"
#include "LinkReactions.h"
#include "Module1.h"
#include "QtSerialLine.h"

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
        FakeWindow w;
        w.flags.settei = c.settei;
        w.flags.STOPCHECK = c.stopcheck;
        w.flags.orgpos = c.orgpos;
        w.flags.motionInProgress = true;
        w.flags.operationTitle = "Drive";
        if (c.boxExpected)
            w.scripted.ok();
        ReportLinkError(w);
        ASSERT_EQ(w.scripted.boxes.size(), c.boxExpected ? 1 : 0) << c.name;
        if (c.boxExpected) {
            EXPECT_EQ(w.scripted.boxes[0].text, kLinkError);
            EXPECT_EQ(w.scripted.boxes[0].title, "Drive");
            EXPECT_EQ(w.scripted.boxes[0].icon, MsgIcon::None);
            EXPECT_EQ(w.scripted.beeps, 1);
        }
        EXPECT_EQ(w.windowEnabled, c.recovered) << c.name;
        EXPECT_EQ(w.toolbarEnabled, c.recovered) << c.name;
        EXPECT_EQ(!w.commandsLocked, c.recovered) << c.name;
        EXPECT_EQ(!w.progressVisible, c.recovered) << c.name;
        EXPECT_EQ(w.flags.motionInProgress, !c.recovered) << c.name;
        if (c.recovered) {
            EXPECT_EQ(w.flags.STOPCHECK, 0) << c.name;
        }
    }
}

TEST(LinkReactions, OriginVariantIgnoresStopAndOrgpos)
{
    FakeWindow w;
    w.flags.settei = false;
    w.flags.STOPCHECK = 1;
    w.flags.orgpos = 1;
    w.flags.operationTitle = "Org";
    w.scripted.ok();
    ReportOriginLinkError(w);
    ASSERT_EQ(w.scripted.boxes.size(), 1);
    EXPECT_EQ(w.scripted.boxes[0].title, "Org");
    EXPECT_TRUE(w.windowEnabled);
    EXPECT_EQ(w.flags.STOPCHECK, 0);

    FakeWindow quiet;
    quiet.flags.settei = true;
    ReportOriginLinkError(quiet);
    EXPECT_TRUE(quiet.scripted.boxes.isEmpty());
}

TEST(LinkReactions, FocusGoesToNumericInputOnlyWhenTeaching)
{
    for (int mode : {1, 2, 3}) {
        for (bool selected : {false, true}) {
            FakeWindow w;
            w.flags.settei = false;
            w.flags.inputMode = mode;
            w.numericSelected = selected;
            w.scripted.ok();
            ReportLinkError(w);
            EXPECT_EQ(w.numericFocused, (mode != 1 && !selected) ? 1 : 0)
                << "mode " << mode << " selected " << selected;
        }
    }
}

TEST(LinkReactions, RefusalShowsTheReplyAndTheBoxUnlessStopped)
{
    QtSerialLine serial;
    for (const char* reply : {"NG\r\nE-01\r\n", "STOP\r\nSTOPPED\r\n"}) {
        FakeWindow w;
        Link link(serial, module1().replyTimeout, &w);
        link.reply = QString::fromLatin1(reply);
        link.request.line = "@ORG ,\r\n";
        const bool stopped = link.reply.contains("STOP");
        if (!stopped)
            w.scripted.ok();
        ReportRefusal(w, link);
        EXPECT_EQ(w.error, QString::fromLatin1(reply));
        if (stopped) {
            EXPECT_TRUE(w.scripted.boxes.isEmpty());
        } else {
            ASSERT_EQ(w.scripted.boxes.size(), 1);
            EXPECT_EQ(w.scripted.boxes[0].text, "Cannot receive data from controller.");
            EXPECT_EQ(w.scripted.boxes[0].title, "Error");
            EXPECT_EQ(w.scripted.boxes[0].icon, MsgIcon::Critical);
        }
        EXPECT_TRUE(link.reply.isEmpty());
        EXPECT_TRUE(link.request.line.isEmpty());
        EXPECT_TRUE(w.windowEnabled && w.toolbarEnabled && !w.progressVisible);
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
        EXPECT_EQ(ErrorLineOf(QString::fromLatin1(c.reply), &found), QString::fromLatin1(c.line))
            << c.reply;
        EXPECT_EQ(found, c.found) << c.reply;
    }
}
