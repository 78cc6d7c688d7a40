// Where windows open: tool windows inside the screen beside the main window, message boxes wide
// enough for their titles.
#include "ui/toolwindows/WindowPlacement.h"
#include "ScriptedDialogs.h"
#include "SimLine.h"
#include "ui/dialogs/QtDialogs.h"
#include "ui/frame/PointInputWindow.h"
#include "ui/frame/PulseTrainWindow.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QSet>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace kap;
using namespace kap::test;

namespace {

QRect availableArea()
{
    return QGuiApplication::primaryScreen()->availableGeometry();
}

// How far apart two rectangles are; 0 when they touch or overlap.
int gapBetween(const QRect& a, const QRect& b)
{
    const int dx = std::max({0, a.left() - b.right() - 1, b.left() - a.right() - 1});
    const int dy = std::max({0, a.top() - b.bottom() - 1, b.top() - a.bottom() - 1});
    return std::max(dx, dy);
}

QWidget* newTopLevel(const QSet<QWidget*>& before)
{
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible() && !before.contains(w))
            return w;
    }
    return nullptr;
}

}  // namespace

// Wherever the owner stands, the window opens touching it and wholly on the screen.
TEST(WindowPlacement, AWindowOpensBesideItsOwnerInsideTheScreen)
{
    const QRect area = availableArea();
    struct Case {
        const char* name;
        QRect owner;  // inside the area, relative to its top left
        QSize window;
        bool shrinks;
    };
    const int w = area.width(), h = area.height();
    const Case cases[] = {
        {"room on the right", {0, 0, w / 2, h / 2}, {w / 3, h / 3}, false},
        {"room on the left only", {w / 2, h / 4, w / 2, h / 2}, {w / 3, h / 3}, false},
        {"owner fills the screen", {0, 0, w, h}, {w / 3, h / 2}, false},
        {"owner low on the screen", {0, h - 100, w / 3, 100}, {w / 2, h / 2}, false},
        {"window larger than the screen", {w / 4, h / 4, w / 2, h / 2}, {w + 200, h + 200}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QWidget owner;
        owner.setGeometry(c.owner.translated(area.topLeft()));
        owner.show();
        QWidget window;
        window.resize(c.window);
        placeBeside(&window, &owner);
        window.show();
        QCoreApplication::processEvents();
        EXPECT_TRUE(area.contains(window.frameGeometry()))
            << window.frameGeometry().x() << "," << window.frameGeometry().y();
        EXPECT_EQ(gapBetween(window.frameGeometry(), owner.frameGeometry()), 0);
        EXPECT_EQ(window.size() != c.window, c.shrinks);
    }
}

// The tool windows each main window opens go beside it.
TEST(WindowPlacement, ToolWindowsOpenBesideTheMainWindow)
{
    ScratchState clean;
    ScriptedDialogs dialogs;
    const QRect area = availableArea();
    struct Case {
        const char* name;
        std::function<std::unique_ptr<MainFrame>()> make;
        Command command;
    };
    const Case cases[] = {
        {"communication log", [&] { return std::make_unique<PointInputWindow>(dialogs, clean); },
         Command::ShowCommLog},
        {"angle plot", [&] { return std::make_unique<PulseTrainWindow>(dialogs, clean); },
         Command::ShowAnglePlot},
        {"speed calculator", [&] { return std::make_unique<PulseTrainWindow>(dialogs, clean); },
         Command::SpeedCalculation},
        {"port setup", [&] { return std::make_unique<PointInputWindow>(dialogs, clean); },
         Command::PortSetup},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::unique_ptr<MainFrame> main = c.make();
        // In the bottom right corner, far from where a window left to itself would go.
        main->setGeometry(area.right() + 1 - area.width() / 4,
                          area.bottom() + 1 - area.height() / 4, area.width() / 4,
                          area.height() / 4);
        main->show();
        QCoreApplication::processEvents();
        const QWidgetList shown = QApplication::topLevelWidgets();
        const QSet<QWidget*> before(shown.cbegin(), shown.cend());
        main->run(c.command);
        QCoreApplication::processEvents();
        QWidget* tool = newTopLevel(before);
        ASSERT_NE(tool, nullptr);
        EXPECT_TRUE(area.contains(tool->frameGeometry()));
        EXPECT_EQ(gapBetween(tool->frameGeometry(), main->frameGeometry()), 0);
        tool->close();
    }
}

// Long titles, in either language, fit in the title bar; the text stays as given.
TEST(WindowPlacement, MessageBoxesAreWideEnoughForTheirTitles)
{
    const QString text = QStringLiteral("OK?");
    const QString titles[] = {
        QStringLiteral("Short"),
        QStringLiteral("A title a good deal longer than the short text the box has to show"),
        QString::fromUtf8("通信ポートが開けないため、設定をファイルから読み込んで確認してください"),
    };
    QWidget owner;
    owner.show();
    QtDialogs dialogs(&owner);
    for (const QString& title : titles) {
        SCOPED_TRACE(title.toStdString());
        int width = 0, needed = 0;
        QString shownTitle;
        QTimer::singleShot(0, [&] {
            QWidget* box = QApplication::activeModalWidget();
            ASSERT_NE(box, nullptr);
            width = box->width();
            shownTitle = box->windowTitle();
            needed = std::min(titleBarWidth(*box), box->screen()->availableGeometry().width());
            box->close();
        });
        dialogs.message(text, title, MsgIcon::Information, MsgButtons::Ok);
        EXPECT_EQ(shownTitle, title);
        EXPECT_GE(width, needed);
        EXPECT_GT(needed, 0);
    }
}

// A small screen (or a large scale) gets scrolling panels, never a window past its edges; with
// room the panels show whole.
TEST(WindowPlacement, MainWindowsFitTheScreen)
{
    ScratchState clean;
    ScriptedDialogs dialogs;
    const QRect area = availableArea();
    const std::function<std::unique_ptr<MainFrame>()> families[] = {
        [&] { return std::make_unique<PointInputWindow>(dialogs, clean); },
        [&] { return std::make_unique<PulseTrainWindow>(dialogs, clean); },
    };
    for (const auto& make : families) {
        const std::unique_ptr<MainFrame> main = make();
        SCOPED_TRACE(main->metaObject()->className());
        main->show();
        QCoreApplication::processEvents();
        EXPECT_LE(main->frameGeometry().width(), area.width());
        EXPECT_LE(main->frameGeometry().height(), area.height());
    }
}
