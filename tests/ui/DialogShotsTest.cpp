// Pictures of the small dialogs for a look by eye: set KAP_SHOTS_DIR to a folder and run this
// test (QT_SCALE_FACTOR=2 for the doubled scale).
#include "ScriptedDialogs.h"
#include "SimLine.h"
#include "app/AppWindows.h"
#include "app/StartupWindow.h"
#include "link/ProgramState.h"
#include "ui/dialogs/ActuatorTypeDialog.h"
#include "ui/dialogs/KeypadDialog.h"
#include "ui/dialogs/PointModeDialog.h"
#include "ui/dialogs/PortDialog.h"
#include "ui/dialogs/StopDialog.h"

#include <QDir>
#include <QPixmap>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace kap;
using namespace kap::test;

TEST(DialogShots, SavesTheSmallDialogs)
{
    const QString dir = qEnvironmentVariable("KAP_SHOTS_DIR");
    if (dir.isEmpty())
        GTEST_SKIP() << "KAP_SHOTS_DIR not set";
    QDir().mkpath(dir);
    const QString scale = qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1"));
    const auto save = [&](QWidget& w, const char* name) {
        w.show();
        w.adjustSize();
        EXPECT_TRUE(
            w.grab().save(dir + QStringLiteral("/%1@%2x.png").arg(QLatin1String(name), scale)));
    };
    ScratchState clean;
    {
        // A port on a serial device server, tested: nothing listens there.
        PortOverride com2(2, QStringLiteral("rfc2217://127.0.0.1:1"));
        clean.portName = QStringLiteral("COM2");
        PortDialog p(clean);
        p.show();
        p.findChild<QPushButton*>(QStringLiteral("Cmd_Test"))->click();
        save(p, "frmP");
        clean.portName = QStringLiteral("COM1");
    }
    ActuatorTypeDialog t;
    save(t, "frmType");
    PointModeDialog m;
    save(m, "frmMode");
    KeypadDialog k;
    save(k, "INPUTKEY");
    StopDialog stop;
    save(stop, "frmstop");
    ScriptedDialogs dialogs;
    AppWindows windows(dialogs, clean);
    StartupWindow s(windows);
    save(s, "frmselect");
}
