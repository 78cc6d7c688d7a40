// "Version(&A)": the query to the controller simulator and the version window it opens.
#include "ui/toolwindows/VersionWindow.h"
#include "SessionRig.h"
#include "SimLine.h"
#include "link/ProgramState.h"
#include "tools/Version.h"

#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

#include <gtest/gtest.h>

#include <memory>

using namespace kap;
using namespace kap::test;

namespace {

class VersionQuery : public ::testing::Test {
protected:
    ViewedSession window;  // the point-input window's session: it shares the program's timeout
    Session& session = window.session;
    ScratchState& clean = window.state;
    QWidget mainWindow;  // stands in for the main window that owns the dialog

    VersionWindow* open() { return showVersionWindow(session, &mainWindow); }
    static QString label(VersionWindow* dialog, const char* name)
    {
        return dialog->findChild<QLabel*>(name)->text();
    }
};

}  // namespace

TEST_F(VersionQuery, ShowsTheFirstFourCharactersOfTheTrimmedVersion)
{
    const struct {
        const char* controllerSays;
        const char* shown;
    } cases[] = {
        {"1.10", "1.10"}, {"1.105", "1.10"},    {"12345678", "1234"},
        {"2.0", "2.0"},   {"  3.21  ", "3.21"}, {" 9", "9"},
        {"", ""},
    };
    SimLine sim;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.controllerSays);
        sim.controller.options().version = c.controllerSays;
        sim.controller.clearReceived();
        session.silence().settingMode = true;
        clean.replyTimeout.set(3000);

        VersionWindow* dialog = open();

        ASSERT_NE(dialog, nullptr);
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(session.controller().version, QString::fromLatin1(c.controllerSays).trimmed());
        EXPECT_EQ(label(dialog, "ConVersion"), QStringLiteral("Ver ") + c.shown);
        ASSERT_EQ(sim.controller.receivedLines().size(), 1);
        EXPECT_EQ(sim.controller.receivedLines().at(0), QByteArray("@?VER ,\r\n"));
        EXPECT_FALSE(session.silence().settingMode) << "the query runs as an operation";
        EXPECT_EQ(clean.replyTimeout.ms(), 500.0f);
    }
    EXPECT_TRUE(window.dialogs.boxes.isEmpty());
}

TEST_F(VersionQuery, ASilentControllerOpensTheWindowWithoutAVersionOrABox)
{
    SimLine sim;
    sim.controller.arm("@?VER ", {sim::Fault::NoReply, {}, 0});
    session.controller().version = QStringLiteral("1.10");  // from an earlier query

    VersionWindow* dialog = open();

    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(label(dialog, "ConVersion"), "Ver ");
    EXPECT_EQ(session.controller().version, "");
    EXPECT_EQ(label(dialog, "lblVersion"), "Ver 3.0.2");
    EXPECT_TRUE(window.dialogs.boxes.isEmpty());
    EXPECT_EQ(window.dialogs.beeps, 0);
}

TEST_F(VersionQuery, APartReplyCutByTheTimeoutCountsAsSilence)
{
    SimLine sim({.version = "1.10"});
    sim.controller.arm("@?VER ", {sim::Fault::CutReply, {}, 3});
    VersionWindow* dialog = open();
    EXPECT_EQ(label(dialog, "ConVersion"), "Ver ");
    EXPECT_TRUE(window.dialogs.boxes.isEmpty());
}

TEST_F(VersionQuery, ARefusalShowsNoVersionAndNoBox)
{
    SimLine sim;
    sim.controller.arm("@?VER ", {sim::Fault::Refuse, "E-01 UNKNOWN", 0});
    VersionWindow* dialog = open();
    EXPECT_EQ(label(dialog, "ConVersion"), "Ver ");
    EXPECT_EQ(window.view.error, "NG\r\nE-01 UNKNOWN\r\n");
    EXPECT_TRUE(window.dialogs.boxes.isEmpty());
}

TEST_F(VersionQuery, AMissingPortRestoresTheWindowAndStillOpensTheDialog)
{
    PortOverride port(1, QStringLiteral("/nonexistent/kap-tty"));
    window.view.windowEnabled = false;
    window.view.toolbarEnabled = false;
    window.view.bar.visible = true;
    session.controller().version = QStringLiteral("1.10");

    VersionWindow* dialog = open();

    EXPECT_TRUE(window.view.windowEnabled);
    EXPECT_TRUE(window.view.toolbarEnabled);
    EXPECT_FALSE(window.view.bar.visible);
    EXPECT_EQ(label(dialog, "ConVersion"), "Ver ");
    EXPECT_TRUE(window.dialogs.boxes.isEmpty());
}

TEST_F(VersionQuery, ThePulseTrainWindowsOwnTimeoutIsTheOneSet)
{
    SimLine sim;
    ViewedSession pulse(Family::PulseTrain);
    pulse.state.replyTimeout.set(3000);
    showVersionWindow(pulse.session, &mainWindow);
    EXPECT_EQ(pulse.session.link().timeout().ms(), 500.0f);
    EXPECT_EQ(pulse.state.replyTimeout.ms(), 3000.0f);
    EXPECT_EQ(pulse.session.controller().version, "1.10");
}

TEST_F(VersionQuery, TheWindowShowsProgramAndControllerAndClosesOnOk)
{
    SimLine sim;
    VersionWindow* dialog = open();
    EXPECT_EQ(dialog->windowTitle(), "Version information");
    EXPECT_FALSE(dialog->isModal());
    EXPECT_EQ(label(dialog, "lblTitle"), "Support-Software for TALOR");
    EXPECT_EQ(label(dialog, "lblVersion"), "Ver 3.0.2");
    EXPECT_EQ(label(dialog, "ConTitle"), "TALOR Controller");
    EXPECT_EQ(label(dialog, "ConVersion"), "Ver 1.10");
    EXPECT_FALSE(label(dialog, "lblDescription").isEmpty());
    EXPECT_TRUE(label(dialog, "lblDisclaimer").startsWith("Warning:"));
    EXPECT_FALSE(dialog->findChild<QLabel*>("picIcon")->pixmap().isNull());
    for (const char* line : {"Line1_0", "Line1_1"}) {
        auto* frame = dialog->findChild<QFrame*>(line);
        ASSERT_NE(frame, nullptr) << line;
        EXPECT_EQ(frame->frameShape(), QFrame::HLine);
    }
    auto* ok = dialog->findChild<QPushButton*>("cmdOK");
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), "OK");
    ok->click();
    EXPECT_FALSE(dialog->isVisible());
}

TEST_F(VersionQuery, AskingAgainReusesTheWindowWithTheNewVersion)
{
    SimLine sim({.version = "1.10"});
    VersionWindow* first = open();
    first->findChild<QPushButton*>("cmdOK")->click();
    sim.controller.options().version = "2.01";
    VersionWindow* second = open();
    EXPECT_EQ(first, second);
    EXPECT_TRUE(second->isVisible());
    EXPECT_EQ(label(second, "ConVersion"), "Ver 2.01");
}

TEST_F(VersionQuery, AWindowWithoutOwnerFreesItselfWhenClosed)
{
    SimLine sim;
    QPointer<VersionWindow> dialog = showVersionWindow(session, nullptr);
    ASSERT_TRUE(dialog);
    dialog->findChild<QPushButton*>("cmdOK")->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(dialog);
}

TEST(VersionReply, OnlyTheFirstLineIsTheVersionAndTheWindowShowsFourCharacters)
{
    const struct {
        const char* reply;
        const char* shown;
    } cases[] = {
        {"1.10\r\nOK\r\n", "1.10"},
        // never the CR of a short version
        {"1.1\r\nOK\r\n", "1.1"},
        {"\t 1.105 \r\nOK\r\n", "1.10"},
        {"NG\r\nE-01 UNKNOWN\r\n", ""},
        {"OK\r\n", ""},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(
            shownControllerVersion(ControllerFacts::versionFromReply(QString::fromLatin1(c.reply))),
            c.shown)
            << c.reply;
    }
}
