// The main-window frame: commands and their dispatch, views, port dialog and closing.
#include "FakeView.h"
#include "ScriptedDialogs.h"
#include "SessionRig.h"
#include "SimLine.h"
#include "data/Grid.h"
#include "data/PointTable.h"
#include "link/ProgramState.h"
#include "platform/Ini.h"
#include "ui/dialogs/PortDialog.h"
#include "ui/frame/PointInputWindow.h"
#include "ui/frame/PulseTrainWindow.h"
#include "ui/toolwindows/AnglePlotWindow.h"
#include "ui/toolwindows/CommLogWindow.h"
#include "ui/toolwindows/SpeedCalculatorWindow.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include <gtest/gtest.h>

using namespace kap;
using namespace kap::test;

namespace {

class Frame : public RigTest<WindowRig> {};

QAction* menuItem(MainFrame& w, const char* name)
{
    return child<QAction>(&w, name);
}

QAction* toolButton(MainFrame& w, const QString& key)
{
    return child<QAction>(&w, (QStringLiteral("Toolbar1_") + key).toLatin1().constData());
}

QString portPanel(MainFrame& w)
{
    return child<QLabel>(&w, "Panel3_Port")->text();
}

QStringList menuNames(MainFrame& w, const char* menu)
{
    QStringList out;
    for (QAction* a : menuItem(w, menu)->menu()->actions())
        out << (a->isSeparator() ? QStringLiteral("-") : a->objectName() + "=" + a->text());
    return out;
}

}  // namespace

TEST_F(Frame, EveryCommandWithAnActionHasAHandler)
{
    for (Command c : allCommands())
        EXPECT_EQ(MainFrame::handles(c), !hasNoAction(c)) << commandName(c);
}

TEST_F(Frame, EveryCommandControlIsOfferedAtRest)
{
    PointInputWindow point(dialogs, clean);
    PulseTrainWindow pulse(dialogs, clean);
    for (MainFrame* w : {static_cast<MainFrame*>(&point), static_cast<MainFrame*>(&pulse)}) {
        int items = 0;
        for (QAction* a : w->findChildren<QAction*>()) {
            const QString name = a->objectName();
            const bool command = (name.startsWith("mnu") && !a->menu() && !a->isSeparator())
                                 || name.startsWith("Toolbar1_");
            if (!command)
                continue;
            ++items;
            // The pulse-train window has no second grid view for "Window" to switch to; undo
            // and redo wait for an edit.
            const bool expected = !(name == "Toolbar1_Window" && w == &pulse)
                                  && name != "mnuEditUndo" && name != "mnuEditRedo";
            EXPECT_EQ(a->isEnabled(), expected) << name.toStdString();
        }
        EXPECT_GE(items, 30);
        // In Setting mode the mode buttons, the teaching targets and SET are live; the drive
        // buttons wait for Operation mode and the jog buttons for teaching playback.
        const QStringList live = {"Cmd_Setup", "Cmd_driv", "Cmd_SetBase", "Cmd_TargetP", "Cmd_Set"};
        const QList<QPushButton*> buttons =
            w->findChildren<QPushButton*>(QRegularExpression("^Cmd_"));
        EXPECT_GE(buttons.size(), 10);
        for (QPushButton* b : buttons)
            EXPECT_EQ(b->isEnabled(), live.contains(b->objectName()))
                << b->objectName().toStdString();
    }
}

TEST_F(Frame, EveryToolButtonRunsItsMenuItemsCommandWithSetteiClear)
{
    const QList<QPair<QString, const char*>> toolToMenu = {
        {"NewFile", "mnuFileNew"},
        {"Open", "mnuFileOpen"},
        {"SaveAS", "mnuFileSave"},
        {"Print", "mnuFilePrint"},
        {"Transmit(Point)", "mnuToolsTranP"},
        {"Transmit(Parameters)", "mnuToolsTranA"},
        {"Receive(Point)", "mnuToolsRecP"},
        {"Receive(Parameters)", "mnuToolsRecA"},
    };
    PointInputWindow w(dialogs, clean);
    QSignalSpy started(&w, &MainFrame::commandStarted);
    for (const auto& [key, menu] : toolToMenu) {
        SCOPED_TRACE(key.toStdString());
        // Every command here asks or opens a dialog first; the scripted answer declines.
        dialogs.answer(MsgAnswer::No).file("").printer(false);
        toolButton(w, key)->trigger();
        ASSERT_EQ(started.size(), 1);
        const Command viaTool = started.takeFirst().at(0).value<Command>();
        EXPECT_FALSE(w.session().silence().settingMode) << "no silence outlives the command";
        dialogs = ScriptedDialogs();
        dialogs.answer(MsgAnswer::No).file("").printer(false);
        menuItem(w, menu)->trigger();
        ASSERT_EQ(started.size(), 1);
        EXPECT_EQ(started.takeFirst().at(0).value<Command>(), viaTool);
        dialogs = ScriptedDialogs();
    }

    // settei is clear while a tool-bar command runs: New File clears the rows it finds filled.
    w.session().tableGrid().setText(0, PointTable::ModeColumn, "A");
    w.session().setModified(false);
    QList<bool> setteiSeen;
    QObject::connect(&w.session().tableGrid(), &Grid::cellChanged, &w,
                     [&] { setteiSeen << w.session().silence().settingMode; });
    toolButton(w, "NewFile")->trigger();
    ASSERT_FALSE(setteiSeen.isEmpty());
    EXPECT_FALSE(setteiSeen.first());
    EXPECT_FALSE(w.session().silence().settingMode);
}

TEST_F(Frame, ToolBarsMatchTheirTables)
{
    PointInputWindow point(dialogs, clean);
    PulseTrainWindow pulse(dialogs, clean);
    QStringList keys, tips;
    for (QAction* a : child<QToolBar>(&point, "Toolbar1")->actions()) {
        keys << a->objectName().mid(QStringLiteral("Toolbar1_").size());
        tips << a->toolTip();
    }
    EXPECT_EQ(keys, (QStringList{"NewFile", "Open", "SaveAS", "Print", "ComSetup", "Init(Point)",
                                 "Transmit(Point)", "Transmit(Parameters)", "Receive(Point)",
                                 "Receive(Parameters)", "Cmpare", "Errorhistorydisplay", "Window",
                                 "Exit"}));
    EXPECT_EQ(tips[11], "Error history display");
    tips.clear();
    for (QAction* a : child<QToolBar>(&pulse, "Toolbar1")->actions())
        tips << a->toolTip();
    EXPECT_EQ(tips, (QStringList{"NewFile", "Open", "SaveAs", "Print", "ComSetup", "Init(Zones)",
                                 "Transmit(Zones)", "Transmit(Parameters)", "Receive(Zones)",
                                 "Receive(Parameters)", "Compare", "Error History Display",
                                 "Window", "Rotary operating speed calculation", "Exit"}));
}

TEST_F(Frame, MenuTreesOfBothWindows)
{
    PointInputWindow point(dialogs, clean);
    PulseTrainWindow pulse(dialogs, clean);
    EXPECT_EQ(menuNames(point, "mnuFile"),
              (QStringList{"mnuFileNew=New File(&N)", "mnuFileOpen=Open(&O)...",
                           "mnuFileRecent=Recent files", "mnuFileSaveCurrent=Save(&S)",
                           "mnuFileSave=Save As(&A)...", "mnuFileEncoding=File encoding", "-",
                           "mnuFilePrint=Print(&P)...", "mnuFilePreview=Print preview", "-",
                           "mnuFileExit=Exit(&X)"}));
    EXPECT_EQ(menuNames(point, "mnuView"),
              (QStringList{"mnuViewGrid1=Point(&P)", "mnuViewGrid2=Parameters(&R)",
                           "mnuViewToolbar=Toolbar(&T)", "mnuViewStatusBar=Statusbar(&B)", "-",
                           "mnuViewLog=Communication log", "mnuViewPlot=Angle plot", "-",
                           "mnuViewLanguage=Language"}));
    EXPECT_EQ(menuNames(pulse, "mnuView"),
              (QStringList{"mnuViewToolbar=Toolbar(&T)", "mnuViewStatusBar=Statusbar(&B)", "-",
                           "mnuViewLog=Communication log", "mnuViewPlot=Angle plot", "-",
                           "mnuViewLanguage=Language"}));
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
    EXPECT_EQ(
        menuNames(pulse, "mnuToolsIni"),
        (QStringList{"mnuToolsIniPo=Zones", "mnuToolsIniPa=Parameters", "mnuToolsIniORG=ORG"}));
    EXPECT_EQ(menuNames(point, "mnuHelp"), (QStringList{"mnuHelpAbout=Version(&A)"}));
    EXPECT_EQ(point.windowTitle(), "PQ_Series KAP Support-Software [*]");
}

TEST_F(Frame, WindowButtonTwiceReturnsToTheFirstGrid)
{
    PointInputWindow w(dialogs, clean);
    Grid& points = w.session().tableGrid();
    Grid& parameters = w.session().parameterGrid();
    ASSERT_TRUE(points.isVisible());
    ASSERT_FALSE(parameters.isVisible());
    toolButton(w, "Window")->trigger();
    EXPECT_FALSE(points.isVisible());
    EXPECT_TRUE(parameters.isVisible());
    EXPECT_TRUE(menuItem(w, "mnuViewGrid2")->isChecked());
    EXPECT_FALSE(menuItem(w, "mnuViewGrid1")->isChecked());
    toolButton(w, "Window")->trigger();
    EXPECT_TRUE(points.isVisible());
    EXPECT_FALSE(parameters.isVisible());
    EXPECT_TRUE(menuItem(w, "mnuViewGrid1")->isChecked());
}

TEST_F(Frame, ToolBarAndStatusBarToggleAndComeBackWhole)
{
    PulseTrainWindow w(dialogs, clean);
    w.show();
    QToolBar* toolbar = child<QToolBar>(&w, "Toolbar1");
    const qsizetype buttons = toolbar->actions().size();
    for (const char* name : {"mnuViewToolbar", "mnuViewStatusBar"}) {
        QAction* a = menuItem(w, name);
        QWidget* bar = QString(name) == "mnuViewToolbar" ? static_cast<QWidget*>(toolbar)
                                                         : w.statusBar();
        a->trigger();
        EXPECT_FALSE(a->isChecked()) << name;
        EXPECT_FALSE(bar->isVisible()) << name;
        a->trigger();
        EXPECT_TRUE(a->isChecked()) << name;
        EXPECT_TRUE(bar->isVisible()) << name;
    }
    EXPECT_EQ(toolbar->actions().size(), buttons);
    EXPECT_EQ(portPanel(w), "COM1");
}

TEST_F(Frame, StatusBarPanels)
{
    clean.portName = "COM4";
    PointInputWindow w(dialogs, clean);
    EXPECT_EQ(child<QLabel>(&w, "Panel2_OriginShift")->text(), "Origin point shift: 0.00");
    EXPECT_EQ(portPanel(w), "COM4");
    w.session().showOriginShift("-1250");
    EXPECT_EQ(child<QLabel>(&w, "Panel2_OriginShift")->text(), "Origin point shift: -12.50");
    EXPECT_FALSE(child<QLabel>(&w, "Panel6_Date")->text().isEmpty());
    EXPECT_FALSE(child<QLabel>(&w, "Panel7_Time")->text().isEmpty());
}

TEST_F(Frame, PortPanelShowsThePortReadAfterTheWindowWasBuilt)
{
    // Start-up builds the point-input window before it reads the settings file.
    PointInputWindow w(dialogs, clean);
    clean.portName = "COM3";
    w.show();
    EXPECT_EQ(portPanel(w), "COM3");
}

TEST_F(Frame, PortDialogChoosesOnFocusAndCancelRestores)
{
    PointInputWindow point(dialogs, clean);
    PulseTrainWindow pulse(dialogs, clean);
    clean.portName = "COM5";
    {
        PortDialog p(clean);
        EXPECT_TRUE(child<QRadioButton>(&p, "Opt_1_4")->isChecked())
            << "COM5 preselects the fifth option";
        EXPECT_EQ(child<QLabel>(&p, "Port_select")->text(), "Please choose a communication port.");
        p.show();
        child<QRadioButton>(&p, "Opt_1_2")->setFocus();
        QApplication::processEvents();
        EXPECT_EQ(clean.portName, "COM3");
        QTest::mouseClick(child<QPushButton>(&p, "CancelButton"), Qt::LeftButton);
        EXPECT_EQ(clean.portName, "COM5");
        EXPECT_EQ(portPanel(point), "COM1");
    }
    {
        PortDialog p(clean);
        p.show();
        child<QRadioButton>(&p, "Opt_1_2")->setFocus();
        QApplication::processEvents();
        QTest::mouseClick(child<QPushButton>(&p, "OKButton"), Qt::LeftButton);
        EXPECT_EQ(clean.portName, "COM3");
        EXPECT_EQ(portPanel(point), "COM3");
        EXPECT_EQ(portPanel(pulse), "COM3");
    }
    {
        // Opening the dialog and pressing OK at once keeps the port it had.
        clean.portName = "COM5";
        PortDialog p(clean);
        p.show();
        QApplication::processEvents();
        EXPECT_EQ(clean.portName, "COM5");
        QTest::mouseClick(child<QPushButton>(&p, "OKButton"), Qt::LeftButton);
        EXPECT_EQ(clean.portName, "COM5");
        EXPECT_EQ(portPanel(point), "COM5");
    }
    for (const char* odd : {"COM1", "COM9", "", "LPT2"}) {
        clean.portName = odd;
        PortDialog p(clean);
        EXPECT_TRUE(child<QRadioButton>(&p, "Opt_1_0")->isChecked()) << odd;
    }
}

TEST_F(Frame, ComSetupOpensANewModelessDialogEachTime)
{
    PointInputWindow w(dialogs, clean);
    w.show();
    menuItem(w, "mnuToolsCom")->trigger();
    toolButton(w, "ComSetup")->trigger();
    const QList<PortDialog*> open = w.findChildren<PortDialog*>();
    EXPECT_EQ(open.size(), 2);
    for (PortDialog* p : open)
        EXPECT_FALSE(p->isModal());
}

TEST_F(Frame, ClosingWithoutChangesStoresThePort)
{
    clean.portName = "COM3";
    PointInputWindow w(dialogs, clean);
    w.show();
    EXPECT_TRUE(w.close());
    EXPECT_TRUE(dialogs.boxes.isEmpty());
    EXPECT_EQ(ReadIniValue("COM", "Data", clean.iniPath()), "3");
}

TEST_F(Frame, ClosingWithChangesAsksFirst)
{
    struct Case {
        MsgAnswer answer;
        bool closes;
    };
    // Yes runs Save As; its dialog cancelled, the window stays open.
    for (const Case& c :
         {Case{MsgAnswer::Cancel, false}, Case{MsgAnswer::Yes, false}, Case{MsgAnswer::No, true}}) {
        ScratchState fresh;
        fresh.portName = "COM3";
        ScriptedDialogs d;
        PointInputWindow w(d, fresh);
        w.show();
        w.session().setModified(true);
        d.answer(c.answer);
        if (c.answer == MsgAnswer::Yes)
            d.file("");
        EXPECT_EQ(w.close(), c.closes);
        ASSERT_EQ(d.boxes.size(), 1);
        EXPECT_EQ(d.boxes[0].text, "Do you save data?");
        EXPECT_EQ(d.boxes[0].icon, MsgIcon::Question);
        EXPECT_EQ(d.boxes[0].buttons, MsgButtons::YesNoCancel);
        EXPECT_EQ(ReadIniValue("COM", "Data", fresh.iniPath()), c.closes ? "3" : "ERROR");
    }
}

TEST_F(Frame, ExitRunsTheClosingSteps)
{
    clean.portName = "COM2";
    PointInputWindow w(dialogs, clean);
    w.show();
    w.session().setModified(true);
    dialogs.answer(MsgAnswer::No);
    menuItem(w, "mnuFileExit")->trigger();
    EXPECT_FALSE(w.isVisible());
    ASSERT_EQ(dialogs.boxes.size(), 1) << "asked once, not again by the closing steps";
    EXPECT_EQ(dialogs.boxes[0].text, "Do you save data?");
    EXPECT_EQ(ReadIniValue("COM", "Data", clean.iniPath()), "2");
}

TEST_F(Frame, ControlsCarryTheirNamesAndAccessibleNames)
{
    PointInputWindow w(dialogs, clean);
    for (const char* name : {"Cmd_Setup", "Cmd_driv", "Cmd_Start", "Cmd_Return", "Cmd_Stop",
                             "Cmd_Set", "Cmd_Op", "Cmd_Cl", "Cmd_SetBase", "Cmd_TargetP"}) {
        auto* b = child<QPushButton>(&w, name);
        ASSERT_NE(b, nullptr) << name;
        EXPECT_FALSE(b->accessibleName().isEmpty()) << name;
    }
    for (const char* name : {"Txt_ComS", "Txt_ComR", "Txt_Error", "Txt_NowPosi", "Txt_Pos",
                             "Txt_spd", "Txt_Dist", "Txt_Limit", "Grid1", "Grid2"}) {
        auto* wdg = child<QWidget>(&w, name);
        ASSERT_NE(wdg, nullptr) << name;
        EXPECT_FALSE(wdg->accessibleName().isEmpty()) << name;
    }
    EXPECT_EQ(child<QLineEdit>(&w, "Txt_spd")->text(), "1000");
    EXPECT_EQ(child<QLineEdit>(&w, "Txt_Dist")->text(), "100");
    EXPECT_EQ(child<QLineEdit>(&w, "Txt_Limit")->text(), "0.10");
    EXPECT_EQ(child<QLineEdit>(&w, "Txt_Pos")->text(), "0.00");
    EXPECT_EQ(w.session().ioMonitorTimer().interval(), 700);
    EXPECT_FALSE(w.session().isModified());
}

TEST_F(Frame, LinkBoxesShowControlCharacters)
{
    SimLine sim;
    PointInputWindow w(dialogs, clean);
    sim.controller.arm("@?VER ", {sim::Fault::Refuse, "E-01 UNKNOWN", 0});
    menuItem(w, "mnuHelpAbout")->trigger();
    EXPECT_EQ(child<QLineEdit>(&w, "Txt_ComS")->text(), "@?VER ,<CR><LF>");
    EXPECT_EQ(child<QLineEdit>(&w, "Txt_ComR")->text(), "NG<CR><LF>E-01 UNKNOWN<CR><LF>");
    EXPECT_EQ(child<QLineEdit>(&w, "Txt_Error")->text(), "NG<CR><LF>E-01 UNKNOWN<CR><LF>");
}

TEST_F(Frame, SpeedCalculationOpensTheCalculatorAndDisablesTheWindow)
{
    PulseTrainWindow w(dialogs, clean);
    w.show();
    w.session().parameterGrid().setText(-1, 1, "63");
    toolButton(w, "SpeedCalculation")->trigger();
    ASSERT_NE(w.calculator(), nullptr);
    EXPECT_TRUE(w.calculator()->isVisible());
    EXPECT_FALSE(w.isEnabled());
    w.calculator()->close();
    EXPECT_TRUE(w.isEnabled());
}

TEST_F(Frame, VersionAsksTheControllerAndOpensTheDialog)
{
    SimLine sim;
    PointInputWindow w(dialogs, clean);
    menuItem(w, "mnuHelpAbout")->trigger();
    auto* ver = w.findChild<QWidget*>("frmVer");
    ASSERT_NE(ver, nullptr);
    EXPECT_TRUE(ver->isVisible());
    EXPECT_EQ(w.session().controller().version, "1.10");
    ASSERT_EQ(sim.controller.receivedLines().size(), 1);
    EXPECT_EQ(sim.controller.receivedLines().at(0), QByteArray("@?VER ,\r\n"));
}

TEST_F(Frame, PortDialogTakesAnOptionChosenWithoutTheFocus)
{
    clean.portName = "COM2";
    PortDialog p(clean);
    p.show();
    QApplication::processEvents();
    // An assistive tool chooses the option through its action; the focus stays where it was.
    QAccessibleInterface* option =
        QAccessible::queryAccessibleInterface(child<QRadioButton>(&p, "Opt_1_6"));
    ASSERT_NE(option, nullptr);
    ASSERT_NE(option->actionInterface(), nullptr);
    option->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_EQ(clean.portName, "COM7");
    QTest::mouseClick(child<QPushButton>(&p, "CancelButton"), Qt::LeftButton);
    EXPECT_EQ(clean.portName, "COM2");
}

TEST_F(Frame, APortThatWillNotOpenIsExplainedInTheStatusBarAndTheLog)
{
    PortOverride missing(1, QStringLiteral("/nonexistent/kap-tty"));
    PointInputWindow w(dialogs, clean);
    auto* product = child<QLabel>(&w, "Panel1_Product");
    const QString label = product->text();
    menuItem(w, "mnuHelpAbout")->trigger();
    EXPECT_EQ(product->text(), "/nonexistent/kap-tty: no such device");

    menuItem(w, "mnuViewLog")->trigger();
    ASSERT_NE(w.commLog(), nullptr);
    EXPECT_TRUE(w.commLog()->isVisible());
    EXPECT_TRUE(child<QPlainTextEdit>(w.commLog(), "Txt_Log")
                    ->toPlainText()
                    .contains("!! port error: /nonexistent/kap-tty: no such device"));

    // The product label comes back after its ten seconds.
    auto* restore = child<QTimer>(&w, "tmrPortProblem");
    EXPECT_TRUE(restore->isActive());
    EXPECT_EQ(restore->interval(), 10'000);
    restore->setInterval(0);
    restore->start();
    EXPECT_TRUE(waitUntil([&] { return product->text() == label; }, 1000));
}

TEST_F(Frame, AnglePlotFollowsTheSessionsRefreshes)
{
    PulseTrainWindow w(dialogs, clean);
    w.session().panel().setCurrentAngle("12.50");
    w.session().panel().setCurrentAngle("12.50");
    menuItem(w, "mnuViewPlot")->trigger();
    ASSERT_NE(w.anglePlot(), nullptr);
    EXPECT_TRUE(w.anglePlot()->isVisible());
    EXPECT_EQ(w.session().angleHistory().sampleCount(), 2);
}
