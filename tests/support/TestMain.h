// The main() of every test executable: a QCoreApplication below the windows, a QApplication for
// the window tests (test_main_core.cpp, test_main_widgets.cpp), headless unless the caller chose
// a platform.
#pragma once

#include "language/Language.h"
#include "platform/PortAssignments.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kap::test {

template <typename Application>
int runAllTests(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    Application app(argc, argv);
    // Port assignments and the language go to a private file: tests never read or write the
    // user's own.
    QTemporaryDir settings;
    kap::portAssignments().useFile(settings.filePath(QStringLiteral("ports.ini")));
    kap::language::useFile(settings.filePath(QStringLiteral("language.ini")));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

}  // namespace kap::test
