// The drive panel as the user sees it: the window follows the session's panel state, the
// press colours come from real mouse and key events, and the STOP dialog breaks a return to
// origin at once.
#include "FakeView.h"
#include "ScriptedDialogs.h"
#include "SessionRig.h"
#include "SimLine.h"
#include "operation/Drive.h"
#include "ui/dialogs/StopDialog.h"
#include "ui/frame/PointInputWindow.h"
#include "ui/frame/PulseTrainWindow.h"

#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace kap;
using namespace kap::test;

namespace {

class DrivePanelTest : public RigTest<WindowRig> {};

bool enabled(QWidget* w, const char* name)
{
    return child<QWidget>(w, name)->isEnabled();
}

// Operation mode as the user sees it: the Operation button lit and the drive frame usable.
bool showsOperationMode(QWidget* w)
{
    return child<QPushButton>(w, "Cmd_driv")->styleSheet().contains("#ff00ff")
           && enabled(w, "Frame2");
}

bool lit(QWidget* w, int lamp)
{
    const QString name = QStringLiteral("Indic_%1").arg(lamp);
    return child<QLabel>(w, name.toLatin1().constData())->property("lit").toBool();
}

}  // namespace

TEST_F(DrivePanelTest, OperationButtonTurnsThePanelOverAndSettingTurnsItBack)
{
    sim::Options options;
    options.originEstablished = true;
    SimLine sim(options);
    PointInputWindow w(dialogs, clean);
    w.show();
    w.session().ioMonitorTimer().setInterval(20);
    QTest::mouseClick(child<QPushButton>(&w, "Cmd_driv"), Qt::LeftButton);

    EXPECT_TRUE(child<QPushButton>(&w, "Cmd_driv")->styleSheet().contains("#ff00ff"));
    for (const char* name : {"Cmd_Start", "Cmd_Return", "Cmd_Stop", "Frame2", "Frame4"})
        EXPECT_TRUE(enabled(&w, name)) << name;
    for (const char* name : {"Frame1", "Frame3", "Cmd_SetBase", "Cmd_Set"})
        EXPECT_FALSE(enabled(&w, name)) << name;
    // The first monitor cycle lights the simulator at rest: READY and INPOS on, BUSY off.
    EXPECT_TRUE(waitUntil([&] { return lit(&w, 3); }, 2000));
    EXPECT_TRUE(lit(&w, 1));
    EXPECT_FALSE(lit(&w, 2));

    QTest::mouseClick(child<QPushButton>(&w, "Cmd_Setup"), Qt::LeftButton);
    EXPECT_TRUE(child<QPushButton>(&w, "Cmd_Setup")->styleSheet().contains("#00ff00"));
    for (const char* name : {"Cmd_Start", "Cmd_Return", "Cmd_Stop", "Frame2", "Frame4"})
        EXPECT_FALSE(enabled(&w, name)) << name;
    for (int lamp : {0, 1, 2, 3, 8, 9, 10, 11, 12, 13})
        EXPECT_FALSE(lit(&w, lamp)) << lamp;
}

TEST_F(DrivePanelTest, PressColoursFollowTheMouseAndTheKeyboard)
{
    PointInputWindow w(dialogs, clean);
    w.show();
    PanelState& panel = w.session().panel();
    panel.setEnabled({Command::Start, Command::ReturnToOrigin, Command::Stop}, true);
    const struct {
        const char* button;
        Command command;
        bool key;
        Shade shade;
        const char* colour;
    } cases[] = {
        {"Cmd_Start", Command::Start, false, Shade::LightGreen, "#80ff80"},
        {"Cmd_Return", Command::ReturnToOrigin, false, Shade::LightYellow, "#ffff80"},
        {"Cmd_Stop", Command::Stop, true, Shade::Pink, "#ff80ff"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button);
        auto* b = child<QPushButton>(&w, c.button);
        if (c.key)
            QTest::keyPress(b, Qt::Key_A);
        else
            QTest::mousePress(b, Qt::LeftButton);
        EXPECT_EQ(panel.shade(c.command), c.shade);
        EXPECT_TRUE(b->styleSheet().contains(c.colour));
        if (!c.key)
            QTest::mouseRelease(b, Qt::LeftButton);  // the click asks; the script says No
    }
}

TEST_F(DrivePanelTest, StopDialogBreaksAReturnToOriginAtOnce)
{
    sim::Options options;
    options.motionMs = 4000;
    SimLine sim(options);
    PulseTrainWindow w(dialogs, clean);
    w.show();
    Session& s = w.session();
    operation::EnterOperationMode(s);
    ASSERT_TRUE(showsOperationMode(&w));
    sim.controller.clearReceived();

    QElapsedTimer clock;
    qint64 breakAt = -1;
    QObject::connect(&sim.controller, &sim::Controller::entryReceived, &w,
                     [&](const QByteArray& e) {
                         if (e == "\x03")
                             breakAt = clock.elapsed();
                     });
    // Press the dialog's button as soon as it shows.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &w, [&] {
        if (w.stopDialog().isVisible()) {
            poll.stop();
            QTest::mouseClick(child<QPushButton>(&w.stopDialog(), "Command1"), Qt::LeftButton);
        }
    });
    poll.start(20);
    clock.start();
    operation::ReturnToOrigin(s, true);

    EXPECT_GE(breakAt, 0);
    EXPECT_LT(breakAt, 1000) << "the break waited for the motion";
    EXPECT_LT(clock.elapsed(), 3000);
    EXPECT_FALSE(w.stopDialog().isVisible());
    EXPECT_EQ(w.stopDialog().windowTitle(), "STOP");
    EXPECT_TRUE(child<QLineEdit>(&w, "Txt_Error")->text().startsWith("STOP"));
    EXPECT_EQ(sim.controller.receivedLines().count("\x03"), 1);
}

// While a start moves the actuator the window offers Stop and nothing that would change the
// mode; a click on the greyed "Setting" does nothing.
TEST_F(DrivePanelTest, AMoveOffersStopAndNotTheModeButtons)
{
    sim::Options options;
    options.originEstablished = true;
    options.motionMs = 300;
    SimLine sim(options);
    sim.controller.points[0] = {"A", "90.00", "50"};
    PointInputWindow w(dialogs, clean);
    w.show();
    QTest::mouseClick(child<QPushButton>(&w, "Cmd_driv"), Qt::LeftButton);
    ASSERT_TRUE(showsOperationMode(&w));
    QStringList duringMove;
    QObject::connect(
        &sim.controller, &sim::Controller::entryReceived, &w, [&](const QByteArray& e) {
            if (!e.startsWith("@MOVP "))
                return;
            QTimer::singleShot(50, &w, [&] {
                for (const char* name :
                     {"Cmd_Setup", "Cmd_driv", "Cmd_Start", "Cmd_Return", "Cmd_Stop"})
                    duringMove << QStringLiteral("%1 %2").arg(name).arg(enabled(&w, name));
                QTest::mouseClick(child<QPushButton>(&w, "Cmd_Setup"), Qt::LeftButton);
            });
        });
    dialogs.answer(MsgAnswer::Yes);
    QTest::mouseClick(child<QPushButton>(&w, "Cmd_Start"), Qt::LeftButton);

    EXPECT_EQ(duringMove, (QStringList{"Cmd_Setup 0", "Cmd_driv 0", "Cmd_Start 0", "Cmd_Return 0",
                                       "Cmd_Stop 1"}));
    EXPECT_TRUE(showsOperationMode(&w)) << "the greyed Setting button acted";
    EXPECT_EQ(sim.controller.position, 90.0);
    EXPECT_TRUE(enabled(&w, "Cmd_Setup"));
    EXPECT_TRUE(enabled(&w, "Cmd_Start"));
}

// A menu command holds the session like a panel operation: "Operation" is greyed while
// Change Origin waits for its answer, so the command cannot end by unlocking the menus of a
// window that has gone over to Operation mode.
TEST_F(DrivePanelTest, AMenuCommandKeepsTheModeUntilItEnds)
{
    sim::Options options;
    options.latencyMs = 150;
    SimLine sim(options);
    PointInputWindow w(dialogs, clean);
    w.show();
    bool offered = true;
    QObject::connect(
        &sim.controller, &sim::Controller::entryReceived, &w, [&](const QByteArray& e) {
            if (e.startsWith("@ORGC "))
                QTimer::singleShot(20, &w, [&] {
                    offered = enabled(&w, "Cmd_driv");
                    QTest::mouseClick(child<QPushButton>(&w, "Cmd_driv"), Qt::LeftButton);
                });
        });
    dialogs.answer(MsgAnswer::Yes).ok();
    w.run(Command::ChangeOrigin);

    EXPECT_FALSE(offered);
    EXPECT_FALSE(showsOperationMode(&w));
    EXPECT_EQ(sim.controller.receivedLines(), QList<QByteArray>{"@ORGC ,\r\n"});
    EXPECT_TRUE(enabled(&w, "Cmd_driv")) << "offered again once the command has ended";
}
