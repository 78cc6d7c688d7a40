#include "app/AppWindows.h"
#include "app/StartupWindow.h"
#include "app/Termination.h"
#include "language/Language.h"
#include "link/ExchangeLog.h"
#include "link/ProgramState.h"
#include "ui/dialogs/QtDialogs.h"
#include "ui/frame/PointInputWindow.h"
#include "ui/frame/PulseTrainWindow.h"

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
    QApplication::setApplicationVersion(QStringLiteral(KAP_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("kap"));  // the installed desktop entry
    // The installed theme's icon, else the one built in (SVG: the package depends on the icon
    // engine for it).
    QApplication::setWindowIcon(
        QIcon::fromTheme(QStringLiteral("kap"), QIcon(QStringLiteral(":/kap.svg"))));
    QApplication::setQuitOnLastWindowClosed(false);  // the hidden start-up window stays loaded

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Setting and operation tool for the actuator controllers."));
    parser.addHelpOption();
    parser.addVersionOption();
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
    kap::ProgramState state;
    kap::AppWindows windows(dialogs, state);
    kap::StartupWindow startup(windows);
    if (!parser.positionalArguments().isEmpty())
        startup.setFileToOpen(parser.positionalArguments().constFirst());
    // SIGTERM ends the program, but lets a running operation (a transmit writing its block)
    // end first.
    kap::TerminationWatch termination([&windows] {
        QList<kap::OperationTracker*> trackers;
        if (windows.hasPointInput())
            trackers.append(&windows.pointInput().session().operations());
        if (windows.hasPulseTrain())
            trackers.append(&windows.pulseTrain().session().operations());
        return trackers;
    });
    // exit(), not quit(): quit closes the windows, and closing asks "Do you save data?", which
    // nobody is there to answer when the session or the service manager ends the program.
    QObject::connect(&termination, &kap::TerminationWatch::quitRequested, &app,
                     [] { QCoreApplication::exit(0); });
    if (!termination.install())
        std::fprintf(stderr, "kap: SIGTERM cannot be caught; it ends the program at once\n");
    QTimer::singleShot(0, &startup, &kap::StartupWindow::start);
    return app.exec();
}
