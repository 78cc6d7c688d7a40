// Tests below the windows run without Qt Gui and Widgets.
#include "TestMain.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    return kap::test::runAllTests<QCoreApplication>(argc, argv);
}
