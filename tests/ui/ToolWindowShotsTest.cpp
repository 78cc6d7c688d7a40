// Pictures of the calculator, version, communication log and angle plot windows and the
// printed setting list for a look by eye: set KAP_SHOTS_DIR to a folder and run this test
// (QT_SCALE_FACTOR=2 for the doubled scale).
#include "ScriptedDialogs.h"
#include "SessionRig.h"
#include "SimLine.h"
#include "exchange/Receive.h"
#include "link/ProgramState.h"
#include "platform/QtSerialLine.h"
#include "session/AngleHistory.h"
#include "ui/frame/PointInputWindow.h"
#include "ui/toolwindows/AnglePlotWindow.h"
#include "ui/toolwindows/CommLogWindow.h"
#include "ui/toolwindows/SpeedCalculatorWindow.h"
#include "ui/toolwindows/VersionWindow.h"

#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>

#include <gtest/gtest.h>

#include <cstdio>

using namespace kap;
using namespace kap::test;

TEST(ToolWindowShots, SavesBothWindows)
{
    const QString dir = qEnvironmentVariable("KAP_SHOTS_DIR");
    if (dir.isEmpty())
        GTEST_SKIP() << "KAP_SHOTS_DIR not set";
    QDir().mkpath(dir);
    const QString scale = qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1"));

    ScriptedDialogs dialogs;
    SpeedCalculatorWindow calc(dialogs);
    calc.openFor(QStringLiteral("65"));
    calc.findChild<QPushButton*>("Command1")->click();
    const QPixmap calcShot = calc.grab();
    ASSERT_TRUE(calcShot.save(dir + QStringLiteral("/frmkeisan@%1x.png").arg(scale)));

    ScratchState clean;
    SimLine sim({.version = "1.10"});
    ViewedSession window;
    VersionWindow* ver = showVersionWindow(window.session, nullptr);
    const QPixmap verShot = ver->grab();
    ASSERT_TRUE(verShot.save(dir + QStringLiteral("/frmVer@%1x.png").arg(scale)));
    std::printf("frmkeisan %dx%d, frmVer %dx%d (logical), screen %dx%d\n", calc.width(),
                calc.height(), ver->width(), ver->height(), calc.screen()->geometry().width(),
                calc.screen()->geometry().height());
    ver->close();
}

TEST(ToolWindowShots, SavesTheLogAndThePlot)
{
    const QString dir = qEnvironmentVariable("KAP_SHOTS_DIR");
    if (dir.isEmpty())
        GTEST_SKIP() << "KAP_SHOTS_DIR not set";
    QDir().mkpath(dir);
    const QString scale = qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1"));

    ScratchState clean;
    SimLine sim;
    ViewedSession window;
    window.session.setTimeScale(0.05);
    window.dialogs.answer(MsgAnswer::Yes).ok(1);
    exchange::ReceiveParameters(window.session);
    sim.controller.arm("@?POS ", {sim::Fault::Kind::NoReply, {}, 0});
    exchange::exchangeLine(window.session, cmd::QPOS, 1000);
    CommLogWindow log(window.session.link().log(), window.dialogs);
    log.resize(900, 320);
    log.show();
    ASSERT_TRUE(log.grab().save(dir + QStringLiteral("/frmLog@%1x.png").arg(scale)));

    // Twenty seconds of a move and its lamps, on a clock of the test's own.
    PanelState panel;
    qint64 now = 0;
    AngleHistory history(panel, [&now] { return now; });
    for (int i = 0; i <= 40; ++i, now += 500) {
        panel.setLamp(3, true);
        panel.setLamp(2, i > 8 && i < 30);
        panel.setLamp(1, i <= 8 || i >= 30);
        panel.setLamp(12, i >= 30);
        panel.setCurrentAngle(QString::number(i <= 8    ? 0.0
                                              : i >= 30 ? 90.0
                                                        : (i - 8) * 90.0 / 22,
                                              'f', 2));
    }
    ScriptedDialogs dialogs;
    AnglePlotWindow plot(history, Family::PointInput, dialogs);
    plot.setSpanMs(30'000);
    plot.resize(900, 560);
    plot.show();
    ASSERT_TRUE(plot.grab().save(dir + QStringLiteral("/frmPlot@%1x.png").arg(scale)));
}

// The printed setting list, as a PDF (no printer here), with the grids as the tool starts.
TEST(ToolWindowShots, SavesThePrintedList)
{
    const QString dir = qEnvironmentVariable("KAP_SHOTS_DIR");
    if (dir.isEmpty())
        GTEST_SKIP() << "KAP_SHOTS_DIR not set";
    QDir().mkpath(dir);
    ScratchState clean;
    ScriptedDialogs dialogs;
    PointInputWindow w(dialogs, clean);
    const QString pdf = dir + QStringLiteral("/setting-list.pdf");
    dialogs.file(pdf);
    w.findChild<QAction*>(QStringLiteral("mnuFilePrint"))->trigger();
    EXPECT_TRUE(QFile::exists(pdf));
}
