// What a desktop tool shows of itself: the title with the file and the modified mark, the
// connection panel, a typed value put back, the file dialogs' suffix and filters, and the
// file encoding setting.
#include "FileTestSupport.h"
#include "ScriptedDialogs.h"
#include "SessionRig.h"
#include "SimLine.h"
#include "data/Grid.h"
#include "data/ParameterTable.h"
#include "data/PointTable.h"
#include "data/TableHost.h"
#include "files/SettingCommands.h"
#include "language/Language.h"
#include "link/ExchangeLog.h"
#include "platform/CodePage.h"
#include "ui/dialogs/QtDialogs.h"
#include "ui/frame/EditHistory.h"
#include "ui/frame/PointInputWindow.h"
#include "ui/frame/PulseTrainWindow.h"
#include "ui/grid/GridView.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QFileDialog>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

#include <memory>

using namespace kap;
using namespace kap::test;

namespace {

class Desktop : public RigTest<WindowRig> {
protected:
    QTemporaryDir dir;
};

}  // namespace

TEST_F(Desktop, TheTitleNamesTheFileAndFollowsTheModifiedMark)
{
    PointInputWindow w(dialogs, clean);
    EXPECT_FALSE(w.isWindowModified());
    w.session().tableGrid().setText(0, PointTable::ModeColumn, "A");
    EXPECT_TRUE(w.isWindowModified());

    const QString saved = dir.filePath("line3.csv");
    dialogs.file(saved).ok();
    ASSERT_TRUE(SettingCommands(w.session()).saveAs());
    EXPECT_EQ(w.windowTitle(), "KAP Support-Software - line3.csv[*]");
    EXPECT_FALSE(w.isWindowModified());

    // Open names the file it opened; what it loaded passed the change handling.
    QFile::copy(saved, dir.filePath("other.csv"));
    dialogs.file(dir.filePath("other.csv")).ok();
    ASSERT_EQ(SettingCommands(w.session()).open(), SettingCommands::OpenResult::Opened);
    EXPECT_EQ(w.windowTitle(), "KAP Support-Software - other.csv[*]");
    EXPECT_EQ(w.isWindowModified(), w.session().isModified());
}

TEST_F(Desktop, TheConnectionPanelTellsHowTheLastExchangeEnded)
{
    PortOverride port(1, "/dev/ttyUSB7");
    PulseTrainWindow w(dialogs, clean);
    auto* panel = w.findChild<QLabel*>("Panel_Connection");
    ASSERT_TRUE(panel);
    ExchangeLog& log = w.session().link().log();
    const QString where = "COM1 (/dev/ttyUSB7)";
    EXPECT_EQ(panel->text(), "COM1 /dev/ttyUSB7");
    struct Step {
        std::function<void()> happen;
        QString text;
        bool red;
        QString tip;
    };
    const Step steps[] = {
        {[&] { log.addSent(where, "@?VER \r\n"); }, "COM1 /dev/ttyUSB7", false, ""},
        {[&] { log.addReceived(where, "1.05\r\nOK\r\n", 12); },
         "COM1 /dev/ttyUSB7 · answered 0 s ago", false, ""},
        {[&] { log.addTimeout(where, 2000, {}); }, "COM1 · no answer", true,
         "The controller did not answer in time."},
        {[&] { log.addPortError(where, "/dev/ttyUSB7: no such device"); }, "COM1 · no answer", true,
         "/dev/ttyUSB7: no such device"},
        {[&] { log.addReceived(where, "OK\r\n", 3); }, "COM1 /dev/ttyUSB7 · answered 0 s ago",
         false, ""},
    };
    for (const Step& s : steps) {
        s.happen();
        EXPECT_EQ(panel->text(), s.text);
        EXPECT_EQ(panel->styleSheet().contains("color"), s.red) << s.text.toStdString();
        EXPECT_TRUE(panel->toolTip().endsWith(s.tip.isEmpty() ? "/dev/ttyUSB7" : s.tip))
            << panel->toolTip().toStdString();
    }
}

TEST_F(Desktop, AValuePutBackByTheRangeIsToldInPassing)
{
    PointInputWindow w(dialogs, clean);
    auto* product = w.findChild<QLabel*>("Panel1_Product");
    const QString before = product->text();
    Grid& g = w.session().parameterGrid();
    struct Case {
        int row;
        QString typed;
        QString told;  // empty: the value is taken, nothing said
    };
    const Case cases[] = {
        {3, "150", "Acceleration: 150 is outside 1 to 100; back to 100"},
        {1, "5", "(-) Software Limit: 5 is outside -9999 to 0; back to 0"},
        {3, "abc", "Acceleration: abc is outside 1 to 100; back to 100"},
        {3, "40", ""},
    };
    for (const Case& c : cases) {
        product->setText(before);
        g.setText(c.row, kValueColumn, c.typed);
        EXPECT_EQ(product->text(), c.told.isEmpty() ? before : c.told) << c.typed.toStdString();
    }
}

// The real file dialog: a name typed without a suffix is saved as ".csv"; Open also offers
// every file.
TEST_F(Desktop, SaveAddsTheSuffixAndOpenCanShowAllFiles)
{
    QtDialogs qt;
    QTimer::singleShot(0, [this] {
        auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_TRUE(d);
        d->setDirectory(dir.path());
        d->findChild<QLineEdit*>("fileNameEdit")->setText("line3");
        static_cast<QDialog*>(d)->accept();  // as the Save button does
    });
    EXPECT_EQ(qt.saveFileName(SettingCommands::saveDialogOptions()), dir.filePath("line3.csv"));
    EXPECT_EQ(qtFilterFrom(SettingCommands::openDialogOptions().filter),
              "Setting file(*.csv);;All files(*)");
}

TEST_F(Desktop, TheFileEncodingIsTheUsersSettingForEveryWindow)
{
    // The test program keeps the user's settings in a file of its own.
    PointInputWindow point(dialogs, clean);
    PulseTrainWindow pulse(dialogs, clean);
    // Without a choice it follows the interface language (English here).
    EXPECT_EQ(point.session().fileEncoding(), codepage::Encoding::Windows1252);
    auto* jis = point.findChild<QAction*>("mnuFileEncoding_Shift_JIS");
    ASSERT_TRUE(jis);
    jis->trigger();
    EXPECT_EQ(point.session().fileEncoding(), codepage::Encoding::ShiftJis);
    EXPECT_EQ(pulse.session().fileEncoding(), codepage::Encoding::ShiftJis);
    EXPECT_EQ(language::userValue("FileEncoding").toString(), "Shift_JIS");
    PointInputWindow next(dialogs, clean);
    EXPECT_EQ(next.session().fileEncoding(), codepage::Encoding::ShiftJis);
    language::setUserValue("FileEncoding", QVariant());
}

namespace {

struct FixedEntries : EntryDialogs {
    QString mode = "I";
    QString value = "45.5";
    QString operationMode() override { return mode; }
    QString numericValue() override { return value; }
};

QList<QStringList> everyCell(PointInputWindow& w)
{
    return w.session().tableGrid().cells() + w.session().parameterGrid().cells();
}

}  // namespace

// Every kind of edit is one step: undo puts back every cell and the mark, redo the edit.
TEST_F(Desktop, EveryKindOfEditIsOneUndoStep)
{
    const QString file = dir.filePath("filled.csv");
    {
        ViewedSession filled;
        fillPoints(filled.session);
        filled.dialogs.file(file).ok();
        ASSERT_TRUE(SettingCommands(filled.session).saveAs());
    }
    struct Case {
        const char* name;
        std::function<void(PointInputWindow&)> edit;
    };
    const Case cases[] = {
        {"typed cell",
         [](PointInputWindow& w) {
             w.session().tableGrid().enter(2, PointTable::ModeColumn, "a");
         }},
        {"typed parameter",
         [](PointInputWindow& w) { w.session().parameterGrid().enter(3, kValueColumn, "40"); }},
        {"mode dialog",
         [](PointInputWindow& w) {
             w.session().tableGrid().doubleClick(2, PointTable::ModeColumn);
         }},
        {"keypad",
         [](PointInputWindow& w) {
             w.session().tableGrid().doubleClick(2, PointTable::PositionColumn);
         }},
        {"open",
         [&](PointInputWindow& w) {
             dialogs.file(file).ok();
             w.run(Command::Open);
         }},
        {"receive",
         [&](PointInputWindow& w) {
             dialogs.answer(MsgAnswer::Yes).ok();
             w.run(Command::ReceiveTable);
         }},
        {"SET",
         [](PointInputWindow& w) {
             w.run(Command::PositionTarget);
             w.session().panel().setSettingPosition("12.34");
             w.session().tableGrid().setCurrentCell(2, PointTable::PositionColumn);
             w.run(Command::Set);
         }},
    };
    SimLine sim;
    sim.controller.points[3] = {"A", "45.00", "60"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PointInputWindow w(dialogs, clean);
        FixedEntries entries;
        w.session().points()->setEntryDialogs(&entries);
        const QList<QStringList> before = everyCell(w);
        c.edit(w);
        QCoreApplication::processEvents();
        const QList<QStringList> after = everyCell(w);
        ASSERT_NE(after, before);
        EXPECT_EQ(w.history().stack().count(), 1);
        const bool markedAfter = w.session().isModified();
        EXPECT_TRUE(markedAfter);
        child<QAction>(&w, "mnuEditUndo")->trigger();
        EXPECT_EQ(everyCell(w), before);
        EXPECT_FALSE(w.session().isModified()) << "back at the state last saved";
        child<QAction>(&w, "mnuEditRedo")->trigger();
        EXPECT_EQ(everyCell(w), after);
        EXPECT_EQ(w.session().isModified(), markedAfter);
        EXPECT_EQ(dialogs.pendingAnswers(), 0);
    }
}

// The mark is clear exactly at the state last saved; in Operation mode nothing is undone.
TEST_F(Desktop, UndoFollowsTheSavedStateAndWaitsForSettingMode)
{
    PointInputWindow w(dialogs, clean);
    Grid& g = w.session().tableGrid();
    g.enter(0, PointTable::ModeColumn, "A");
    QCoreApplication::processEvents();
    dialogs.file(dir.filePath("saved.csv")).ok();
    w.run(Command::SaveAs);
    g.enter(1, PointTable::ModeColumn, "B");
    QCoreApplication::processEvents();
    EXPECT_TRUE(w.session().isModified());
    w.history().undo();
    EXPECT_FALSE(w.session().isModified());
    EXPECT_EQ(g.text(1, PointTable::ModeColumn), "");
    w.history().undo();
    EXPECT_TRUE(w.session().isModified());
    EXPECT_EQ(g.text(0, PointTable::ModeColumn), "");
    g.setReadOnly(true);  // as Operation mode locks it
    EXPECT_FALSE(child<QAction>(&w, "mnuEditRedo")->isEnabled());
    w.history().redo();
    EXPECT_EQ(g.text(0, PointTable::ModeColumn), "");
    g.setReadOnly(false);
    // New File starts afresh: nothing before it can be undone.
    w.history().redo();
    dialogs.answer(MsgAnswer::No);
    w.run(Command::NewFile);
    QCoreApplication::processEvents();
    EXPECT_EQ(w.history().stack().count(), 0);
    EXPECT_FALSE(child<QAction>(&w, "mnuEditUndo")->isEnabled());
}

// Cells to and from a spreadsheet: a paste is checked as typing is, cell by cell, and is one
// undo step; a copy is tab-separated.
TEST_F(Desktop, ClipboardPastesAsTypedAndCopiesTabSeparated)
{
    PointInputWindow w(dialogs, clean);
    w.show();
    auto* view = w.findChild<GridView*>("Grid1");
    ASSERT_TRUE(view);
    Grid& g = w.session().tableGrid();
    const QList<QStringList> before = g.cells();
    struct Cell {
        int row;
        int column;
        QString text;
    };
    // Mode "x" and Speed "5%" hold keys the filter refuses: those cells keep their text.
    QGuiApplication::clipboard()->setText("a\t12.345\t50\tValve, left\r\nx\t-5\t5%\tΩ\r\n");
    view->setCurrentIndex(view->indexOf(3, PointTable::ModeColumn));
    QTest::keyClick(view, Qt::Key_V, Qt::ControlModifier);
    QCoreApplication::processEvents();
    const Cell expected[] = {
        {3, 1, "A"}, {3, 2, "12.35"}, {3, 3, "50"}, {3, 4, "Valve, left"},
        {4, 1, ""},  {4, 2, "-5.00"}, {4, 3, ""},   {4, 4, "Ω"},
    };
    for (const Cell& c : expected)
        EXPECT_EQ(g.text(c.row, c.column), c.text) << c.row << "," << c.column;
    EXPECT_EQ(w.history().stack().count(), 1);
    w.history().undo();
    EXPECT_EQ(g.cells(), before);
    w.history().redo();

    view->setCurrentIndex(view->indexOf(3, PointTable::ModeColumn));
    view->selectionModel()->select(QItemSelection(view->indexOf(3, PointTable::ModeColumn),
                                                  view->indexOf(4, PointTable::PositionColumn)),
                                   QItemSelectionModel::ClearAndSelect);
    QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "A\t12.35\n\t-5.00\n");
}

// Files from outside: a drop asks the save question and opens; the recent files list the
// newest first and drop one that has gone, saying so.
TEST_F(Desktop, DroppedAndRecentFilesOpenAfterTheSaveQuestion)
{
    language::setUserValue("RecentFiles", QStringList());
    const QString a = dir.filePath("a.csv"), b = dir.filePath("b.csv");
    {
        ViewedSession filled;
        fillPoints(filled.session);
        filled.dialogs.file(a).ok().file(b).ok();
        ASSERT_TRUE(SettingCommands(filled.session).saveAs());
        ASSERT_TRUE(SettingCommands(filled.session).saveAs());
    }
    PointInputWindow w(dialogs, clean);
    w.session().tableGrid().setText(0, PointTable::ModeColumn, "I");
    // The drop: "Do you save data?" No, then the file, then "    Complete.".
    dialogs.answer(MsgAnswer::No).ok();
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(a)});
    w.show();
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&w, &drop);
    QCoreApplication::processEvents();
    EXPECT_EQ(dialogs.texts(), (QStringList{"Do you save data?", "    Complete."}));
    EXPECT_EQ(w.windowTitle(), "KAP Support-Software - a.csv[*]");

    dialogs.answer(MsgAnswer::No).ok();  // what Open loaded passed the checks: marked
    ASSERT_TRUE(w.openFromOutside(b));
    EXPECT_EQ(MainFrame::recentFiles(), (QStringList{b, a}));
    QFile::remove(a);
    auto* menu = w.findChild<QMenu*>("mnuFileRecent");
    ASSERT_TRUE(menu);
    emit menu->aboutToShow();
    QAction* second = child<QAction>(&w, "mnuFileRecent_2");
    ASSERT_TRUE(second);
    second->trigger();
    EXPECT_EQ(MainFrame::recentFiles(), QStringList{b});
    EXPECT_TRUE(
        w.findChild<QLabel*>("Panel1_Product")->text().contains("a.csv is no longer there"));
    EXPECT_EQ(dialogs.pendingAnswers(), 0);
}

// Tool tips: every lamp says what its signal means, the panel's buttons what they do, and the
// load inertia box the range of the actuator type in the table.
TEST_F(Desktop, ToolTipsExplainLampsButtonsAndRanges)
{
    PointInputWindow point(dialogs, clean);
    PulseTrainWindow pulse(dialogs, clean);
    for (MainFrame* w : {static_cast<MainFrame*>(&point), static_cast<MainFrame*>(&pulse)}) {
        SCOPED_TRACE(w->objectName().toStdString());
        const QList<QWidget*> lamps = w->findChildren<QWidget*>(QRegularExpression("^Lamp_\\d+$"));
        EXPECT_GE(lamps.size(), 10);
        QSet<QString> meanings;
        for (QWidget* l : lamps)
            meanings << l->toolTip();
        EXPECT_EQ(meanings.size(), lamps.size()) << "each lamp its own meaning";
        EXPECT_FALSE(meanings.contains(QString()));
        EXPECT_TRUE(w->findChild<QPushButton*>("Cmd_Start")->toolTip().startsWith("Move to"));
    }
    auto* inertia = point.findChild<QLineEdit*>("Txt_spd");
    ASSERT_TRUE(inertia);
    point.session().refreshQuickBoxes();
    EXPECT_TRUE(inertia->toolTip().contains("300")) << inertia->toolTip().toStdString();
}
