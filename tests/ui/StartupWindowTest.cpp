// Start-up: the port from the settings file, the family query, the window it opens, and the
// manual choice when nobody answers.
#include "AppWindows.h"
#include "Grid.h"
#include "Ini.h"
#include "Module1.h"
#include "RawPty.h"
#include "ScriptedDialogs.h"
#include "SimLine.h"
#include "frmMain.h"
#include "frmpulseMaindemo.h"
#include "frmselect.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace kap;
using namespace kap::test;

namespace {

class Startup : public ::testing::Test {
protected:
    CleanModule clean;
    ScriptedDialogs dialogs;
    AppWindows windows{dialogs};
    frmselect startup{windows};

    void setIni(const QString& value)
    {
        ASSERT_TRUE(WriteIniValue(value, "COM", "Data", module1().iniPath()));
    }
    bool pointOpen() { return windows.hasPointInput() && windows.pointInput().isVisible(); }
    bool pulseOpen() { return windows.hasPulseTrain() && windows.pulseTrain().isVisible(); }
    bool manualChoiceShown()
    {
        return startup.isVisible() && startup.Frame1->isVisible() && startup.Command1->isVisible()
               && !startup.Label1->isVisible();
    }
};

}  // namespace

TEST(StartupRules, PortNameFromTheSettingsValue)
{
    const QList<QPair<QString, QString>> cases = {
        {"3", "COM3"}, {"1", "COM1"}, {"8", "COM8"}, {"9", "COM1"}, {"0", "COM1"},
        {"ERROR", "COM1"}, {"", "COM1"}, {"-2", "COM1"}, {"x3", "COM1"},
    };
    for (const auto& [value, port] : cases)
        EXPECT_EQ(frmselect::PortNameFromIni(value), port) << value.toStdString();
}

TEST_F(Startup, PointInputControllerOpensFrmMain)
{
    SimLine sim({.family = 0, .actuatorType = 62});
    sim.controller.resetToFactory();
    sim.controller.points[0] = {"A", "90.00", "50"};
    startup.start();
    // The controller's data is in the window it opens.
    EXPECT_EQ(windows.pointInput().Grid1->text(0, 1), "A");
    EXPECT_EQ(windows.pointInput().Grid1->text(0, 2), "90.00");
    EXPECT_EQ(windows.pointInput().Grid2->text(-1, 1), "62");
    EXPECT_FALSE(windows.pointInput().bulkFillFlag);
    EXPECT_TRUE(pointOpen());
    EXPECT_FALSE(pulseOpen());
    EXPECT_FALSE(startup.isVisible());
    EXPECT_EQ(startup.Label1->text(), "Controller type found");
    ASSERT_GE(sim.controller.receivedLines().size(), 1);
    EXPECT_EQ(sim.controller.receivedLines().at(0), QByteArray("@?PRM 13,\r\n"));
}

TEST_F(Startup, PulseTrainControllerOnThePortOfTheSettingsFile)
{
    setIni("3");
    SimLine sim({.family = 1}, 3);
    startup.start();
    EXPECT_EQ(module1().portName, "COM3");
    EXPECT_TRUE(pulseOpen());
    EXPECT_FALSE(pointOpen());
    EXPECT_TRUE(windows.pulseTrain().typeDialogWithoutFrame2) << "no MOVA type on this family";
}

TEST_F(Startup, OutOfRangeSettingsValuesUseCom1)
{
    for (const char* value : {"9", "0"}) {
        setIni(value);
        module1().portName = "COM5";
        EXPECT_EQ(frmselect::PortNameFromIni(ReadIniValue("COM", "Data", module1().iniPath())),
                  "COM1");
    }
    // And with no settings file at all the query goes to COM1.
    SimLine sim({.family = 0}, 1);
    startup.start();
    EXPECT_EQ(module1().portName, "COM1");
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
    EXPECT_EQ(startup.Label1->text(), "Controller type cannot be obtained.");
}

TEST_F(Startup, SilentControllerShowsTheManualChoiceAndOkOpensTheChosenWindow)
{
    SimLine sim;
    sim.controller.arm("@?PRM ", {sim::Fault::NoReply, {}, 0});
    startup.start();
    ASSERT_TRUE(manualChoiceShown());
    EXPECT_TRUE(startup.Option1[0]->isChecked());
    EXPECT_FALSE(pointOpen());

    startup.Option1[1]->setChecked(true);
    QTest::mouseClick(startup.Command1, Qt::LeftButton);
    EXPECT_TRUE(pulseOpen());
    // Without an answer the window starts from its own factory values.
    EXPECT_EQ(windows.pulseTrain().Grid2->text(-1, 1), "50");
    EXPECT_FALSE(windows.pulseTrain().isModified());
    EXPECT_EQ(sim.controller.receivedLines().size(), 1) << "nothing read after the manual choice";
    EXPECT_TRUE(windows.pulseTrain().typeDialogWithoutFrame2);
    EXPECT_FALSE(startup.isVisible());
}

TEST_F(Startup, EnterInAnOptionChoosesThatFamily)
{
    PortOverride port(1, "/nonexistent/kap-tty");
    startup.start();
    ASSERT_TRUE(manualChoiceShown()) << "a missing device ends the query at once";
    QTest::keyClick(startup.Option1[0], Qt::Key_Return);
    EXPECT_TRUE(pointOpen());
    EXPECT_FALSE(pulseOpen());
}

TEST_F(Startup, OtherKeysInTheOptionsDoNothing)
{
    PortOverride port(1, "/nonexistent/kap-tty");
    startup.start();
    QTest::keyClick(startup.Option1[1], Qt::Key_A);
    EXPECT_TRUE(manualChoiceShown());
    QTest::keyClick(startup.Option1[1], Qt::Key_Enter);
    EXPECT_TRUE(pulseOpen());
}
