#include "AppWindows.h"
#include "QtDialogs.h"
#include "frmselect.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("KAP Support-Software"));
    QApplication::setQuitOnLastWindowClosed(false);  // the hidden start-up window stays loaded

    kap::QtDialogs dialogs;
    kap::AppWindows windows(dialogs);
    kap::frmselect startup(windows);
    QTimer::singleShot(0, &startup, &kap::frmselect::start);
    return app.exec();
}
