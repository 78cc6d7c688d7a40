// The main-window frame: tool-bar dispatch, views, port dialog and closing.
#include "FileCommands.h"
#include "FrameTables.h"
#include "Grid.h"
#include "Ini.h"
#include "Module1.h"
#include "ScriptedDialogs.h"
#include "SimLine.h"
#include "frmMain.h"
#include "frmP.h"
#include "frmpulseMaindemo.h"
#include "frmkeisan.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>

using namespace kap;
using namespace kap::test;

namespace {

class Frame : public ::testing::Test {
protected:
    CleanModule clean;
    ScriptedDialogs dialogs;
};

QStringList menuNames(MainFrame& w, const QString& menu)
{
    QStringList out;
    for (QAction* a : w.menuItem(menu)->menu()->actions())
        out << (a->isSeparator() ? QStringLiteral("-") : a->objectName() + "=" + a->text());
    return out;
}

}  // namespace

TEST_F(Frame, EveryToolButtonRunsItsMenuCommand)
{
    frmMain point(dialogs);
    frmpulseMaindemo pulse(dialogs);
    for (MainFrame* w : {static_cast<MainFrame*>(&point), static_cast<MainFrame*>(&pulse)}) {
        QStringList ran;
        bool setteiDuring = true;
        QObject::connect(w, &MainFrame::commandRequested, [&](const QString& name) {
            ran << name;
            setteiDuring = w->flags.settei;
        });
        for (const ToolButtonSpec& t : frameTablesFor(w->family()).toolbar) {
            if (t.key == "Window" || t.key == "Exit" || t.key == "ComSetup")
                continue;  // these change the window; tested below
            ran.clear();
            w->toolButton(t.key)->trigger();
            const QString expected = menuForToolKey(t.key, w->family());
            ASSERT_FALSE(expected.isEmpty()) << t.key.toStdString();
            EXPECT_EQ(ran, QStringList{expected}) << t.key.toStdString();
            EXPECT_FALSE(setteiDuring) << "settei is clear while the command runs";
            EXPECT_TRUE(w->flags.settei) << "and set again after it";
            // The menu item itself runs the same command.
            ran.clear();
            w->menuItem(expected)->trigger();
            EXPECT_EQ(ran, QStringList{expected});
        }
    }
}

TEST_F(Frame, ToolBarsMatchTheirTables)
{
    frmMain point(dialogs);
    frmpulseMaindemo pulse(dialogs);
    QStringList keys, tips;
    for (QAction* a : point.Toolbar1->actions()) {
        keys << a->data().toString();
        tips << a->toolTip();
    }
    EXPECT_EQ(keys, (QStringList{"NewFile", "Open", "SaveAS", "Print", "ComSetup", "Init(Point)",
                                 "Transmit(Point)", "Transmit(Parameters)", "Receive(Point)",
                                 "Receive(Parameters)", "Cmpare", "Errorhistorydisplay", "Window",
                                 "Exit"}));
    EXPECT_EQ(tips[11], "Error history display");
    tips.clear();
    for (QAction* a : pulse.Toolbar1->actions())
        tips << a->toolTip();
    EXPECT_EQ(tips, (QStringList{"NewFile", "Open", "SaveAs", "Print", "ComSetup", "Init(Zones)",
                                 "Transmit(Zones)", "Transmit(Parameters)", "Receive(Zones)",
                                 "Receive(Parameters)", "Compare", "Error History Display",
                                 "Window", "Rotary operating speed calculation", "Exit"}));
}

TEST_F(Frame, MenuTreesOfBothWindows)
{
    frmMain point(dialogs);
    frmpulseMaindemo pulse(dialogs);
    EXPECT_EQ(menuNames(point, "mnuFile"),
              (QStringList{"mnuFileNew=New File(&N)", "mnuFileOpen=Open(&O)...",
                           "mnuFileSave=Save As(&A)...", "-", "mnuFilePrint=Print(&P)...", "-",
                           "mnuFileExit=Exit(&X)"}));
    EXPECT_EQ(menuNames(point, "mnuView"),
              (QStringList{"mnuViewGrid1=Point(&P)", "mnuViewGrid2=Parameters(&R)",
                           "mnuViewToolbar=Toolbar(&T)", "mnuViewStatusBar=Statusbar(&B)"}));
    EXPECT_EQ(menuNames(pulse, "mnuView"),
              (QStringList{"mnuViewToolbar=Toolbar(&T)", "mnuViewStatusBar=Statusbar(&B)"}));
    EXPECT_EQ(menuNames(point, "mnuTools"),
              (QStringList{"mnuToolsTranP=Transmit(Point)", "mnuToolsTranA=Transmit(Parameters)",
                           "mnuToolsRecP=Receive(Point)", "mnuToolsRecA=Receive(Parameters)", "-",
                           "mnuToolsCom=Com_Setup", "-", "mnuToolsBag=Error history display",
                           "mnuToolsC_Org=Changing Origin", "-", "mnuToolsComp=Compare",
                           "mnuToolsIni=Init"}));
    EXPECT_EQ(menuNames(pulse, "mnuTools"),
              (QStringList{"mnuToolsTranP=Transmit(Zones)", "mnuToolsTranA=Transmit(Parameters)",
                           "mnuToolsRecP=Receive(Zones)", "mnuToolsRecA=Receive(Parameters)", "-",
                           "mnuToolsCom=Com_Setup", "-", "mnuToolsBag=Error History Display",
                           "mnuToolsTime=Rotary operating speed calculation",
                           "mnuToolsC_Org=Changing the origin", "-", "mnuToolsComp=Compare",
                           "mnuToolsIni=Init"}));
    EXPECT_EQ(menuNames(pulse, "mnuToolsIni"),
              (QStringList{"mnuToolsIniPo=Zones", "mnuToolsIniPa=Parameters", "mnuToolsIniORG=ORG"}));
    EXPECT_EQ(menuNames(point, "mnuHelp"), (QStringList{"mnuHelpAbout=Version(&A)"}));
    EXPECT_EQ(point.windowTitle(), "PQ_Series KAP Support-Software ");
}

TEST_F(Frame, WindowButtonTwiceReturnsToTheFirstGrid)
{
    frmMain w(dialogs);
    ASSERT_TRUE(w.Grid1->isVisible());
    ASSERT_FALSE(w.Grid2->isVisible());
    w.toolButton("Window")->trigger();
    EXPECT_FALSE(w.Grid1->isVisible());
    EXPECT_TRUE(w.Grid2->isVisible());
    EXPECT_TRUE(w.menuItem("mnuViewGrid2")->isChecked());
    EXPECT_FALSE(w.menuItem("mnuViewGrid1")->isChecked());
    w.toolButton("Window")->trigger();
    EXPECT_TRUE(w.Grid1->isVisible());
    EXPECT_FALSE(w.Grid2->isVisible());
    EXPECT_TRUE(w.menuItem("mnuViewGrid1")->isChecked());
}

TEST_F(Frame, ToolBarAndStatusBarToggleAndComeBackWhole)
{
    frmpulseMaindemo w(dialogs);
    w.show();
    const int buttons = w.Toolbar1->actions().size();
    for (const char* name : {"mnuViewToolbar", "mnuViewStatusBar"}) {
        QAction* a = w.menuItem(name);
        QWidget* bar = QString(name) == "mnuViewToolbar" ? static_cast<QWidget*>(w.Toolbar1)
                                                        : w.statusBar();
        a->trigger();
        EXPECT_FALSE(a->isChecked()) << name;
        EXPECT_FALSE(bar->isVisible()) << name;
        a->trigger();
        EXPECT_TRUE(a->isChecked()) << name;
        EXPECT_TRUE(bar->isVisible()) << name;
    }
    EXPECT_EQ(w.Toolbar1->actions().size(), buttons);
    EXPECT_EQ(w.statusPanel(MainFrame::PortPanel)->text(), "COM1");
}

TEST_F(Frame, StatusBarPanels)
{
    module1().portName = "COM4";
    frmMain w(dialogs);
    EXPECT_EQ(w.statusPanel(MainFrame::OriginShiftPanel)->text(), "Origin point shift: 0.00");
    EXPECT_EQ(w.statusPanel(MainFrame::PortPanel)->text(), "COM4");
    w.showOriginShift("-1250");
    EXPECT_EQ(w.statusPanel(MainFrame::OriginShiftPanel)->text(), "Origin point shift: -12.50");
    EXPECT_FALSE(w.statusPanel(MainFrame::DatePanel)->text().isEmpty());
    EXPECT_FALSE(w.statusPanel(MainFrame::TimePanel)->text().isEmpty());
}

TEST_F(Frame, PortDialogChoosesOnFocusAndCancelRestores)
{
    frmMain point(dialogs);
    frmpulseMaindemo pulse(dialogs);
    module1().portName = "COM5";
    {
        frmP p;
        EXPECT_TRUE(p.Opt_1[4]->isChecked()) << "COM5 preselects the fifth option";
        EXPECT_EQ(p.Port_select->text(), "Please choose a communication port.");
        p.show();
        p.Opt_1[2]->setFocus();
        QApplication::processEvents();
        EXPECT_EQ(module1().portName, "COM3");
        QTest::mouseClick(p.CancelButton, Qt::LeftButton);
        EXPECT_EQ(module1().portName, "COM5");
        EXPECT_EQ(point.statusPanel(MainFrame::PortPanel)->text(), "COM1");
    }
    {
        frmP p;
        p.show();
        p.Opt_1[2]->setFocus();
        QApplication::processEvents();
        QTest::mouseClick(p.OKButton, Qt::LeftButton);
        EXPECT_EQ(module1().portName, "COM3");
        EXPECT_EQ(point.statusPanel(MainFrame::PortPanel)->text(), "COM3");
        EXPECT_EQ(pulse.statusPanel(MainFrame::PortPanel)->text(), "COM3");
    }
    {
        // Opening the dialog and pressing OK at once keeps the port it had.
        module1().portName = "COM5";
        frmP p;
        p.show();
        QApplication::processEvents();
        EXPECT_EQ(module1().portName, "COM5");
        QTest::mouseClick(p.OKButton, Qt::LeftButton);
        EXPECT_EQ(module1().portName, "COM5");
        EXPECT_EQ(point.statusPanel(MainFrame::PortPanel)->text(), "COM5");
    }
    for (const char* odd : {"COM1", "COM9", "", "LPT2"}) {
        module1().portName = odd;
        frmP p;
        EXPECT_TRUE(p.Opt_1[0]->isChecked()) << odd;
    }
}

TEST_F(Frame, ComSetupOpensANewModelessDialogEachTime)
{
    frmMain w(dialogs);
    w.show();
    w.menuItem("mnuToolsCom")->trigger();
    w.toolButton("ComSetup")->trigger();
    const QList<frmP*> open = w.findChildren<frmP*>();
    EXPECT_EQ(open.size(), 2);
    for (frmP* p : open)
        EXPECT_FALSE(p->isModal());
}

TEST_F(Frame, ClosingWithoutChangesStoresThePort)
{
    module1().portName = "COM3";
    frmMain w(dialogs);
    installFileCommands(w);
    w.show();
    EXPECT_TRUE(w.close());
    EXPECT_TRUE(dialogs.boxes.isEmpty());
    EXPECT_EQ(ReadIniValue("COM", "Data", module1().iniPath()), "3");
}

TEST_F(Frame, ClosingWithChangesAsksFirst)
{
    struct Case {
        MsgAnswer answer;
        bool closes;
    };
    // Yes runs Save As; its dialog cancelled, the window stays open.
    for (const Case& c : {Case{MsgAnswer::Cancel, false}, Case{MsgAnswer::Yes, false},
                          Case{MsgAnswer::No, true}}) {
        CleanModule fresh;
        module1().portName = "COM3";
        ScriptedDialogs d;
        frmMain w(d);
        installFileCommands(w);
        w.show();
        w.setModified(true);
        d.answer(c.answer);
        if (c.answer == MsgAnswer::Yes)
            d.file("");
        EXPECT_EQ(w.close(), c.closes);
        ASSERT_EQ(d.boxes.size(), 1);
        EXPECT_EQ(d.boxes[0].text, "Do you save data?");
        EXPECT_EQ(d.boxes[0].icon, MsgIcon::Question);
        EXPECT_EQ(d.boxes[0].buttons, MsgButtons::YesNoCancel);
        EXPECT_EQ(ReadIniValue("COM", "Data", module1().iniPath()), c.closes ? "3" : "ERROR");
    }
}

TEST_F(Frame, ExitRunsTheClosingSteps)
{
    module1().portName = "COM2";
    frmMain w(dialogs);
    installFileCommands(w);
    w.show();
    w.setModified(true);
    dialogs.answer(MsgAnswer::No);
    w.menuItem("mnuFileExit")->trigger();
    EXPECT_FALSE(w.isVisible());
    ASSERT_EQ(dialogs.boxes.size(), 1) << "asked once, not again by the closing steps";
    EXPECT_EQ(dialogs.boxes[0].text, "Do you save data?");
    EXPECT_EQ(ReadIniValue("COM", "Data", module1().iniPath()), "2");
}

TEST_F(Frame, ControlsCarryTheirNamesAndAccessibleNames)
{
    frmMain w(dialogs);
    for (const char* name : {"Cmd_Setup", "Cmd_driv", "Cmd_Start", "Cmd_Return", "Cmd_Stop",
                             "Cmd_Set", "Cmd_Op", "Cmd_Cl", "Cmd_SetBase", "Cmd_TargetP"}) {
        auto* b = w.findChild<QPushButton*>(name);
        ASSERT_NE(b, nullptr) << name;
        EXPECT_FALSE(b->accessibleName().isEmpty()) << name;
    }
    for (const char* name : {"Txt_ComS", "Txt_ComR", "Txt_Error", "Txt_NowPosi", "Txt_Pos",
                             "Txt_spd", "Txt_Dist", "Txt_Limit", "Grid1", "Grid2"}) {
        auto* wdg = w.findChild<QWidget*>(name);
        ASSERT_NE(wdg, nullptr) << name;
        EXPECT_FALSE(wdg->accessibleName().isEmpty()) << name;
    }
    EXPECT_EQ(w.Txt_spd->text(), "1000");
    EXPECT_EQ(w.Txt_Dist->text(), "100");
    EXPECT_EQ(w.Txt_Limit->text(), "0.10");
    EXPECT_EQ(w.Txt_Pos->text(), "0.00");
    EXPECT_EQ(w.Tim_IO_Mon->interval(), 700);
    EXPECT_FALSE(w.Cmd_Op->isEnabled());
    EXPECT_FALSE(w.isModified());
}

TEST_F(Frame, SpeedCalculationOpensTheCalculatorAndDisablesTheWindow)
{
    frmpulseMaindemo w(dialogs);
    w.show();
    w.Grid2->setText(-1, 1, "63");
    w.toolButton("SpeedCalculation")->trigger();
    ASSERT_NE(w.calculator(), nullptr);
    EXPECT_TRUE(w.calculator()->isVisible());
    EXPECT_FALSE(w.isEnabled());
    w.calculator()->close();
    EXPECT_TRUE(w.isEnabled());
}

TEST_F(Frame, VersionAsksTheControllerAndOpensTheDialog)
{
    SimLine sim;
    frmMain w(dialogs);
    w.menuItem("mnuHelpAbout")->trigger();
    auto* ver = w.findChild<QWidget*>("frmVer");
    ASSERT_NE(ver, nullptr);
    EXPECT_TRUE(ver->isVisible());
    EXPECT_EQ(module1().controllerVersion, "1.10");
    ASSERT_EQ(sim.controller.receivedLines().size(), 1);
    EXPECT_EQ(sim.controller.receivedLines().at(0), QByteArray("@?VER ,\r\n"));
}
