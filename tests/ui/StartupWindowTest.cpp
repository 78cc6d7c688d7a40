// Start-up: the port from the settings file, the family query, the window it opens, and the
// manual choice when nobody answers.
#include "app/StartupWindow.h"
#include "RawPty.h"
#include "ScriptedDialogs.h"
#include "SessionRig.h"
#include "SimLine.h"
#include "app/AppWindows.h"
#include "data/Grid.h"
#include "data/ParameterTable.h"
#include "files/SettingCommands.h"
#include "link/ProgramState.h"
#include "platform/Ini.h"
#include "session/Session.h"
#include "ui/frame/PointInputWindow.h"
#include "ui/frame/PulseTrainWindow.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace kap;
using namespace kap::test;

namespace {

class Startup : public ::testing::Test {
protected:
    ScratchState clean;
    ScriptedDialogs dialogs;
    // Protocol waits at a tenth: a silent controller costs 200 ms instead of 2 s.
    AppWindows windows{dialogs, clean, 0.1};
    StartupWindow startup{windows};

    void setIni(const QString& value)
    {
        ASSERT_TRUE(WriteIniValue(value, "COM", "Data", clean.iniPath()));
    }
    bool pointOpen() { return windows.hasPointInput() && windows.pointInput().isVisible(); }
    bool pulseOpen() { return windows.hasPulseTrain() && windows.pulseTrain().isVisible(); }
    bool manualChoiceShown()
    {
        return startup.isVisible() && child<QGroupBox>(&startup, "Frame1")->isVisible()
               && child<QPushButton>(&startup, "Command1")->isVisible()
               && !child<QLabel>(&startup, "Label1")->isVisible();
    }
};

}  // namespace

TEST_F(Startup, PointInputControllerOpensFrmMain)
{
    SimLine sim({.family = 0, .actuatorType = 62});
    sim.controller.resetToFactory();
    sim.controller.points[0] = {"A", "90.00", "50"};
    startup.start();
    // The controller's data is in the window it opens.
    EXPECT_EQ(windows.pointInput().session().tableGrid().text(0, 1), "A");
    EXPECT_EQ(windows.pointInput().session().tableGrid().text(0, 2), "90.00");
    EXPECT_EQ(windows.pointInput().session().parameterGrid().text(-1, 1), "62");
    EXPECT_FALSE(windows.pointInput().session().guards().bulkFill);
    EXPECT_TRUE(pointOpen());
    EXPECT_FALSE(pulseOpen());
    EXPECT_FALSE(startup.isVisible());
    EXPECT_EQ(child<QLabel>(&startup, "Label1")->text(), "Controller type found");
    ASSERT_GE(sim.controller.receivedLines().size(), 1);
    EXPECT_EQ(sim.controller.receivedLines().at(0), QByteArray("@?PRM 13,\r\n"));
}

TEST_F(Startup, PulseTrainControllerOnThePortOfTheSettingsFile)
{
    setIni("3");
    SimLine sim({.family = 1}, 3);
    startup.start();
    EXPECT_EQ(clean.portName, "COM3");
    EXPECT_TRUE(pulseOpen());
    EXPECT_FALSE(pointOpen());
    EXPECT_TRUE(windows.pulseTrain().session().guards().typeDialogWithoutFrame2)
        << "no MOVA type on this family";
}

TEST_F(Startup, OutOfRangeSettingsValuesUseCom1)
{
    for (const char* value : {"9", "0"}) {
        setIni(value);
        clean.portName = "COM5";
        EXPECT_EQ(clean.readPortName(), "COM1");
    }
    // And with no settings file at all the query goes to COM1.
    SimLine sim({.family = 0}, 1);
    startup.start();
    EXPECT_EQ(clean.portName, "COM1");
    EXPECT_TRUE(pointOpen());
}

TEST_F(Startup, AnswerWithoutLineEndAfterOk)
{
    RawPty peer;
    PortOverride port(1, peer.path());
    peer.onReceive = [&](const QByteArray&) { peer.send("1\r\nOK"); };
    // "OK" without CR LF is no reply word: the query times out and the choice is offered.
    startup.start();
    EXPECT_TRUE(manualChoiceShown());
    EXPECT_FALSE(pulseOpen());
}

TEST_F(Startup, RefusedQueryShowsTheManualChoice)
{
    SimLine sim;
    sim.controller.arm("@?PRM ", {sim::Fault::Refuse, "E-01"});
    startup.start();
    EXPECT_TRUE(manualChoiceShown());
    EXPECT_EQ(child<QLabel>(&startup, "Label1")->text(), "Controller type cannot be obtained.");
}

TEST_F(Startup, SilentControllerShowsTheManualChoiceAndOkOpensTheChosenWindow)
{
    SimLine sim;
    sim.controller.arm("@?PRM ", {sim::Fault::NoReply, {}, 0});
    startup.start();
    ASSERT_TRUE(manualChoiceShown());
    EXPECT_TRUE(child<QRadioButton>(&startup, "Option1_0")->isChecked());
    EXPECT_FALSE(pointOpen());

    child<QRadioButton>(&startup, "Option1_1")->setChecked(true);
    QTest::mouseClick(child<QPushButton>(&startup, "Command1"), Qt::LeftButton);
    EXPECT_TRUE(pulseOpen());
    // Without an answer the window starts from its own factory values.
    EXPECT_EQ(windows.pulseTrain().session().parameterGrid().text(-1, 1), "50");
    EXPECT_FALSE(windows.pulseTrain().session().isModified());
    EXPECT_EQ(sim.controller.receivedLines().size(), 1) << "nothing read after the manual choice";
    EXPECT_TRUE(windows.pulseTrain().session().guards().typeDialogWithoutFrame2);
    EXPECT_FALSE(startup.isVisible());
}

TEST_F(Startup, EnterInAnOptionChoosesThatFamily)
{
    PortOverride port(1, "/nonexistent/kap-tty");
    startup.start();
    ASSERT_TRUE(manualChoiceShown()) << "a missing device ends the query at once";
    QTest::keyClick(child<QRadioButton>(&startup, "Option1_0"), Qt::Key_Return);
    EXPECT_TRUE(pointOpen());
    EXPECT_FALSE(pulseOpen());
}

TEST_F(Startup, OtherKeysInTheOptionsDoNothing)
{
    PortOverride port(1, "/nonexistent/kap-tty");
    startup.start();
    QTest::keyClick(child<QRadioButton>(&startup, "Option1_1"), Qt::Key_A);
    EXPECT_TRUE(manualChoiceShown());
    QTest::keyClick(child<QRadioButton>(&startup, "Option1_1"), Qt::Key_Enter);
    EXPECT_TRUE(pulseOpen());
}

TEST_F(Startup, AnUnknownActuatorTypeEndsTheProgramThroughItsQuitPath)
{
    PointInputWindow& w = windows.pointInput();
    dialogs.ok();
    QTimer::singleShot(0, &w, [&w] {
        // 55 passes the type row's range "50 to 66" but is no actuator type.
        w.session().parameterGrid().setText(-1, kValueColumn, "55");
        w.session().parameters().ResetParametersToDefaults();
    });
    EXPECT_EQ(QCoreApplication::exec(), 1);
    ASSERT_EQ(dialogs.boxes.size(), 1);
    EXPECT_EQ(dialogs.boxes[0].text, "Controller type is different.");
}

// Without a controller the window says why under the choice, naming the port and its device,
// and the windows' communication logs keep the line.
TEST_F(Startup, TheManualChoiceSaysWhyThereIsNoController)
{
    struct Case {
        const char* name;
        bool missingDevice;
        QString reason;
    };
    const Case cases[] = {
        {"no such device", true,
         "COM1 (/nonexistent/kap-tty): /nonexistent/kap-tty: no such device"},
        {"silent controller", false, "COM1 (%1): no answer"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedDialogs d;
        AppWindows w{d, clean, 0.1};
        StartupWindow s{w};
        std::unique_ptr<SimLine> sim;
        std::unique_ptr<PortOverride> port;
        QString expected = c.reason;
        if (c.missingDevice) {
            port = std::make_unique<PortOverride>(1, "/nonexistent/kap-tty");
        } else {
            sim = std::make_unique<SimLine>();
            sim->controller.arm("@?PRM ", {sim::Fault::NoReply, {}, 0});
            expected = expected.arg(w.pointInput().session().serialLine().deviceFor("COM1"));
        }
        s.start();
        QLabel* reason = child<QLabel>(&s, "Label_Reason");
        ASSERT_TRUE(reason);
        EXPECT_TRUE(reason->isVisible());
        EXPECT_EQ(reason->text(), expected);
        if (c.missingDevice) {
            const QStringList log = w.pointInput().session().link().log().lines();
            ASSERT_FALSE(log.isEmpty());
            EXPECT_TRUE(log.last().contains("/nonexistent/kap-tty: no such device"));
        }
    }
}

// kap FILE.csv: the file opens in the window the start-up opens, once it is shown.
TEST_F(Startup, AFileNamedAtStartOpensInTheWindow)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("start.csv");
    {
        ViewedSession filled;
        filled.session.tableGrid().setText(7, 1, "B");
        filled.dialogs.file(path).ok();
        ASSERT_TRUE(SettingCommands(filled.session).saveAs());
    }
    PortOverride port(1, "/nonexistent/kap-tty");
    startup.setFileToOpen(path);
    startup.start();
    dialogs.ok();  // "    Complete."
    QTest::keyClick(child<QRadioButton>(&startup, "Option1_0"), Qt::Key_Return);
    ASSERT_TRUE(
        waitUntil([&] { return windows.pointInput().session().tableGrid().text(7, 1) == "B"; }));
    EXPECT_EQ(windows.pointInput().windowTitle(), "KAP Support-Software - start.csv[*]");
}
