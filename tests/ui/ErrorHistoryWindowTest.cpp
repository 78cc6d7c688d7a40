// "Error history display": the window a read opens over the main window, its Save and OK.
#include "ui/toolwindows/ErrorHistoryWindow.h"
#include "SessionRig.h"
#include "SimLine.h"

#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>

using namespace kap;
using namespace kap::test;

namespace {

QStringList shownLines(const QWidget* w)
{
    QStringList out;
    for (int k = 0; k < 16; ++k) {
        const QByteArray name = "Label1_" + QByteArray::number(k);
        out << child<QLabel>(w, name.constData())->text();
    }
    return out;
}

}  // namespace

TEST(ErrorHistoryWindow, ShowsTheLinesSavesThemAndIsReplacedByTheNextRead)
{
    ScratchState clean;
    SimLine sim;
    ViewedSession window;
    QWidget mainWindow;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("errors.csv"));
    sim.controller.errorHistory = {"E1,OVERLOAD", "<b>E2</b>"};

    QPointer<ErrorHistoryWindow> first = showErrorHistoryWindow(window.session, &mainWindow);

    ASSERT_TRUE(first);
    EXPECT_TRUE(first->isVisible() && !first->isModal());
    EXPECT_EQ(first->windowTitle(), "Error history display");
    EXPECT_EQ(child<QLabel>(first, "Label2")->text(),
              "The oldest error message is shown at the top of lists.");
    QStringList expected{"E1,OVERLOAD", "<b>E2</b>"};
    expected.resize(16);
    EXPECT_EQ(shownLines(first), expected);
    EXPECT_EQ(child<QLabel>(first, "Label1_1")->textFormat(), Qt::PlainText);
    window.dialogs.file(path);
    child<QPushButton>(first, "e_hozon")->click();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "TALOR Error Record\r\nE1,OVERLOAD\r\n<b>E2</b>\r\n"
                                  + QByteArray("\r\n").repeated(15));

    sim.controller.errorHistory = {"E3"};
    QPointer<ErrorHistoryWindow> second = showErrorHistoryWindow(window.session, &mainWindow);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
    ASSERT_TRUE(second);
    EXPECT_EQ(shownLines(second).first(), "E3");

    child<QPushButton>(second, "OK")->click();
    EXPECT_TRUE(waitUntil([&] { return second.isNull() || !second->isVisible(); }, 2000));
}
