// The File menu of the main windows: its commands run on the window's session, Exit and the
// close button ask before the window goes, Print and Print preview.
#include "FakeView.h"
#include "FileTestSupport.h"
#include "ScriptedDialogs.h"
#include "SessionRig.h"
#include "SimLine.h"
#include "data/Grid.h"
#include "data/PointTable.h"
#include "link/ProgramState.h"
#include "platform/Ini.h"
#include "session/Reactions.h"
#include "ui/frame/PointInputWindow.h"
#include "ui/frame/PulseTrainWindow.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinterInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

using namespace kap;
using namespace kap::test;

namespace {

class FileMenu : public RigTest<WindowRig> {
protected:
    QTemporaryDir dir;
};

}  // namespace

// Exit and the window's close button ask once; a window that closes stores the port number.
TEST(FileMenuSaveQuestion, TheWindowClosesOnlyWhenTheAnswerLetsIt)
{
    for (const bool exitItem : {true, false}) {
        for (const Asked& a : kAnswers) {
            const std::string label = std::string(exitItem ? "Exit" : "close") + ", " + a.name;
            ScratchState clean;
            QTemporaryDir dir;
            clean.portName = "COM3";
            ScriptedDialogs d;
            auto w = std::make_unique<PointInputWindow>(d, clean);
            w->show();
            w->session().tableGrid().setText(0, PointTable::ModeColumn, "A");
            const QString path = dir.filePath("asked.csv");
            queueAnswer(d, a.answer, path);

            if (exitItem)
                child<QAction>(w.get(), "mnuFileExit")->trigger();
            else
                w->close();

            expectAsked(d, a.answer, path, label);
            EXPECT_EQ(w->isVisible(), !a.goesOn()) << label;
            EXPECT_EQ(ReadIniValue("COM", "Data", clean.iniPath()), a.goesOn() ? "3" : "ERROR")
                << label;
        }
    }
}

TEST_F(FileMenu, ClosingAfterAFailedSaveStaysOpen)
{
    auto w = std::make_unique<PulseTrainWindow>(dialogs, clean);
    w->show();
    fillZones(w->session());
    dialogs.answer(MsgAnswer::Yes).file(dir.path()).ok();
    EXPECT_FALSE(w->close());
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(dialogs.boxes.last().text, dir.path()
                                             + " cannot be saved because it is read only or it "
                                               "is opened.\n\n"
                                             + dir.path() + " is not a regular file.");
}

TEST_F(FileMenu, FileMenuItemsRunOnTheWindowsSession)
{
    auto w = std::make_unique<PointInputWindow>(dialogs, clean);
    fillPoints(w->session());
    const QString path = dir.filePath("menu.csv");

    dialogs.file(path).ok();
    child<QAction>(w.get(), "mnuFileSave")->trigger();
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(w->windowTitle(), "KAP Support-Software - menu.csv[*]");
    EXPECT_FALSE(w->session().isModified());

    child<QAction>(w.get(), "mnuFileNew")->trigger();
    EXPECT_TRUE(w->session().tableGrid().text(0, PointTable::ModeColumn).isEmpty());

    dialogs.file(path).ok();
    child<QAction>(w.get(), "mnuFileOpen")->trigger();
    EXPECT_EQ(w->session().tableGrid().text(0, PointTable::ModeColumn), "A");
    EXPECT_EQ(dialogs.texts(), QStringList({"    Complete.", "    Complete."}));
    EXPECT_EQ(dialogs.pendingAnswers(), 0);
}

TEST_F(FileMenu, OpenSaysOnTheStatusBarWhatTheFileLacked)
{
    auto w = std::make_unique<PointInputWindow>(dialogs, clean);
    auto* product = child<QLabel>(w.get(), "Panel1_Product");
    const QString path = dir.filePath("short.csv");
    writeBytes(path, fileOf(freshPointLines().mid(0, 97)));

    dialogs.file(path).ok();
    child<QAction>(w.get(), "mnuFileOpen")->trigger();
    const QString said = "PRM 34, 35, 36 were not in the file; set to their initial values";
    EXPECT_EQ(product->text(), said);
    EXPECT_EQ(product->toolTip(), said);  // whole, should the panel cut it
}

TEST_F(FileMenu, PrintWithoutAPrinterWritesThePdfTheUserNames)
{
    if (!QPrinterInfo::availablePrinterNames().isEmpty())
        GTEST_SKIP() << "a printer is installed; printing to it is not tested";
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    const QString proposed = dir.filePath("proposed.pdf");
    const QString chosen = dir.filePath("chosen.pdf");
    PointInputWindow w(dialogs, clean);
    w.setProposedPdfPath(proposed);

    dialogs.file("");  // the save dialog, cancelled
    child<QAction>(&w, "mnuFilePrint")->trigger();
    ASSERT_EQ(dialogs.fileDialogs.size(), 1);
    EXPECT_EQ(dialogs.fileDialogs[0].initialName, proposed);
    EXPECT_EQ(dialogs.fileDialogs[0].filter, "PDF file(*.pdf)|*.pdf|");
    EXPECT_TRUE(dialogs.fileDialogs[0].overwritePrompt)
        << "an existing file is replaced only after asking";
    EXPECT_FALSE(QFile::exists(proposed));

    dialogs.file(chosen);
    child<QAction>(&w, "Toolbar1_Print")->trigger();
    EXPECT_EQ(pagesOf(chosen).size(), 2);
    EXPECT_FALSE(QFile::exists(proposed));
    EXPECT_TRUE(dialogs.boxes.isEmpty());
    EXPECT_TRUE(w.isEnabled());

    const QString nowhere = dir.filePath("missing/list.pdf");
    dialogs.file(nowhere).ok();
    child<QAction>(&w, "mnuFilePrint")->trigger();
    ASSERT_EQ(dialogs.boxes.size(), 1);
    EXPECT_EQ(dialogs.boxes[0].text, nowhere
                                         + " cannot be saved because it is read only or it is "
                                           "opened.\n\n"
                                         + nowhere + ": No such file or directory");
}

TEST_F(FileMenu, PreviewSitsUnderPrintAndShowsTheSamePages)
{
    auto w = std::make_unique<PointInputWindow>(dialogs, clean);
    QMenu* file = child<QMenu>(w.get(), "mnuFile");
    ASSERT_NE(file, nullptr);
    const QList<QAction*> items = file->actions();
    const qsizetype print = items.indexOf(child<QAction>(w.get(), "mnuFilePrint"));
    ASSERT_GE(print, 0);
    ASSERT_LT(print + 1, items.size());
    EXPECT_EQ(items[print + 1]->objectName(), "mnuFilePreview");
    EXPECT_EQ(items[print + 1]->text(), "Print preview");

    Grid& g = w->session().tableGrid();
    for (int n = 0; n < 64; n += 7) {
        g.setText(n, 1, "A");
        g.setText(n, 2, QString::number(n * 10));
        g.setText(n, 3, "100");
        g.setText(n, 4, QStringLiteral("point %1").arg(n));
    }
    int pages = -1;
    QTimer::singleShot(0, [&] {
        QPrintPreviewDialog* dialog = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (auto* d = qobject_cast<QPrintPreviewDialog*>(top); d && d->isVisible())
                dialog = d;
        }
        if (!dialog)
            return;
        auto* view = dialog->findChild<QPrintPreviewWidget*>();
        pages = view ? view->pageCount() : -2;
        const QString shots = qEnvironmentVariable("KAP_SHOTS_DIR");
        if (!shots.isEmpty()) {
            dialog->resize(1000, 1100);
            if (view)
                view->fitInView();
            QApplication::processEvents();
            dialog->grab().save(shots + "/print-preview-point.png");
            if (view) {
                view->setCurrentPage(2);
                QApplication::processEvents();
                dialog->grab().save(shots + "/print-preview-point-page2.png");
            }
        }
        dialog->reject();
    });
    items[print + 1]->trigger();
    EXPECT_EQ(pages, 2);

    // Locked and unlocked with Print.
    LockCommands(w->session());
    EXPECT_FALSE(items[print]->isEnabled());
    EXPECT_FALSE(items[print + 1]->isEnabled());
    UnlockCommands(w->session());
    EXPECT_TRUE(items[print]->isEnabled());
    EXPECT_TRUE(items[print + 1]->isEnabled());
}
