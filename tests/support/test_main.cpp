// One QApplication for every test executable, headless unless the caller chose a platform.
#include "Language.h"
#include "PortAssignments.h"

#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Port assignments and the language go to a private file: tests never read or write the
    // user's own.
    QTemporaryDir settings;
    kap::portAssignments().useFile(settings.filePath(QStringLiteral("ports.ini")));
    kap::language::useFile(settings.filePath(QStringLiteral("language.ini")));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
