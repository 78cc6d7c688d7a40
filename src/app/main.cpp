#include "AppWindows.h"
#include "ExchangeLog.h"
#include "Language.h"
#include "QtDialogs.h"
#include "StartupWindow.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QLocale>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("KAP Support-Software"));
    QApplication::setOrganizationName(QStringLiteral("KAP"));
    QApplication::setDesktopFileName(QStringLiteral("kap"));  // the installed desktop entry
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("kap")));
    QApplication::setQuitOnLastWindowClosed(false);  // the hidden start-up window stays loaded

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Setting and operation tool for the actuator controllers."));
    parser.addHelpOption();
    const QCommandLineOption trace(
        {QStringLiteral("trace")},
        QStringLiteral("Append every exchange with the controller to FILE as it happens."),
        QStringLiteral("FILE"));
    parser.addOption(trace);
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("A setting file to open once the window is up."),
                                 QStringLiteral("[FILE]"));
    parser.process(app);
    if (parser.positionalArguments().size() > 1) {
        std::fprintf(stderr, "kap: one setting file at most\n");
        return 2;
    }

    // Before any window, so the start-up window's first query is in the trace too.
    if (parser.isSet(trace)) {
        QString why;
        if (!kap::ExchangeLog::startTrace(parser.value(trace), &why)) {
            std::fprintf(stderr, "kap: cannot open the trace file %s: %s\n",
                         qPrintable(parser.value(trace)), qPrintable(why));
            return 2;
        }
    }

    // The user's language choice, or the system's; the windows take it at their creation.
    QString why;
    if (!kap::language::install(
            kap::language::resolve(kap::language::savedChoice(), QLocale::system()), &why))
        std::fprintf(stderr, "kap: %s; the windows stay in English\n", qPrintable(why));

    kap::QtDialogs dialogs;
    kap::AppWindows windows(dialogs);
    kap::StartupWindow startup(windows);
    if (!parser.positionalArguments().isEmpty())
        startup.setFileToOpen(parser.positionalArguments().constFirst());
    QTimer::singleShot(0, &startup, &kap::StartupWindow::start);
    return app.exec();
}
