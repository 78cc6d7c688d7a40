// Tests that build windows.
#include "TestMain.h"

#include <QApplication>

int main(int argc, char** argv)
{
    return kap::test::runAllTests<QApplication>(argc, argv);
}
