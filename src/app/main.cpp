#include "AppWindows.h"
#include "QtDialogs.h"
#include "StartupWindow.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("KAP Support-Software"));
    QApplication::setQuitOnLastWindowClosed(false);  // the hidden start-up window stays loaded

    kap::QtDialogs dialogs;
    kap::AppWindows windows(dialogs);
    kap::StartupWindow startup(windows);
    QTimer::singleShot(0, &startup, &kap::StartupWindow::start);
    return app.exec();
}
