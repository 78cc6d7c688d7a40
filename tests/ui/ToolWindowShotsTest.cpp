// Pictures of the calculator and version windows for a look by eye: set KAP_SHOTS_DIR to a
// folder and run this test (QT_SCALE_FACTOR=2 for the doubled scale).
#include "FakeView.h"
#include "Module1.h"
#include "QtSerialLine.h"
#include "ScriptedDialogs.h"
#include "SimLine.h"
#include "frmVer.h"
#include "frmkeisan.h"

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
    frmkeisan calc(dialogs);
    calc.openFor(QStringLiteral("65"));
    calc.findChild<QPushButton*>("Command1")->click();
    const QPixmap calcShot = calc.grab();
    ASSERT_TRUE(calcShot.save(dir + QStringLiteral("/frmkeisan@%1x.png").arg(scale)));

    CleanModule clean;
    SimLine sim({.version = "1.10"});
    ViewedSession window;
    frmVer* ver = ShowVersionDialog(window.session, nullptr);
    const QPixmap verShot = ver->grab();
    ASSERT_TRUE(verShot.save(dir + QStringLiteral("/frmVer@%1x.png").arg(scale)));
    std::printf("frmkeisan %dx%d, frmVer %dx%d (logical), screen %dx%d\n", calc.width(),
                calc.height(), ver->width(), ver->height(),
                calc.screen()->geometry().width(), calc.screen()->geometry().height());
    ver->close();
}
