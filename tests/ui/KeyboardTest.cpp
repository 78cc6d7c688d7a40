// The main windows by keyboard alone: the stop keys reach a motion from anywhere, and the
// focus moves where the user sees it.
#include "AppWindows.h"
#include "Drive.h"
#include "FakeView.h"
#include "GridView.h"
#include "ScriptedDialogs.h"
#include "SimLine.h"
#include "StartupWindow.h"
#include "Teaching.h"
#include "frmMain.h"
#include "frmVer.h"
#include "frmbar.h"
#include "frmpulseMaindemo.h"
#include "frmstop.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QMap>
#include <QPushButton>
#include <QShortcutEvent>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace kap;
using namespace kap::test;

namespace {

class Keyboard : public ::testing::Test {
protected:
    CleanModule clean;
    ScriptedDialogs dialogs;
};

// Focus follows keys only in the active window.
void showActive(QWidget& w)
{
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
}

}  // namespace

// Esc and Pause work like Stop (or the STOP dialog's button) while the actuator moves,
// wherever the focus is: the stop character goes out before the motion would have ended.
TEST_F(Keyboard, StopKeysBreakAMotionWhateverHasTheFocus)
{
    const struct {
        bool point;  // Start's move in the point-input window, else a return with STOP dialog
        Qt::Key key;
        const char* focus;
    } cases[] = {
        {true, Qt::Key_Escape, "Grid1"},
        {true, Qt::Key_Pause, "Txt_ComS"},
        {false, Qt::Key_Escape, "Grid2"},
        {false, Qt::Key_Pause, "Txt_ComR"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.focus);
        sim::Options options;
        options.originEstablished = true;
        options.motionMs = 2500;
        SimLine sim(options);
        sim.controller.points[0] = {"A", "90.00", "50"};
        std::unique_ptr<MainFrame> w;
        if (c.point)
            w = std::make_unique<frmMain>(dialogs);
        else
            w = std::make_unique<frmpulseMaindemo>(dialogs);
        showActive(*w);
        Session& s = w->session();
        operation::EnterOperationMode(s);
        ASSERT_TRUE(s.drive().operationMode);
        sim.controller.clearReceived();

        QElapsedTimer clock;
        qint64 breakAt = -1;
        const auto press = [&] {
            QWidget* target = child<QWidget>(w.get(), c.focus);
            target->setFocus();
            QTest::keyClick(target, c.key);
        };
        QObject::connect(&sim.controller, &sim::Controller::entryReceived, w.get(),
                         [&](const QByteArray& e) {
                             if (e == "\x03" && breakAt < 0)
                                 breakAt = clock.elapsed();
                             if (c.point && e.startsWith("@MOVP "))
                                 QTimer::singleShot(50, w.get(), press);
                         });
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, w.get(), [&] {
            if (w->stopDialog().isVisible()) {
                poll.stop();
                press();
            }
        });
        clock.start();
        if (c.point) {
            dialogs.answer(MsgAnswer::Yes);
            QTest::mouseClick(child<QPushButton>(w.get(), "Cmd_Start"), Qt::LeftButton);
        } else {
            poll.start(20);
            operation::ReturnToOrigin(s, true);
        }
        EXPECT_GE(breakAt, 0);
        EXPECT_LT(breakAt, 1000) << "the break waited for the motion";
        EXPECT_EQ(sim.controller.receivedLines().count("\x03"), 1);
    }
}

// With nothing that may move, Esc keeps its usual meaning and sends nothing.
TEST_F(Keyboard, StopKeysSendNothingWhileNothingMayMove)
{
    SimLine sim;
    frmMain w(dialogs);
    showActive(w);
    sim.controller.clearReceived();
    QWidget* grid = child<QWidget>(&w, "Grid1");
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Escape);
    QTest::keyClick(grid, Qt::Key_Pause);
    QTest::qWait(50);
    EXPECT_TRUE(sim.controller.receivedLines().isEmpty());
}

// The arrow keys only move the focus through the teaching options; Space or Enter chooses
// the focused one as a click does (Direct Teaching and Playback first ask about the origin).
TEST_F(Keyboard, ArrowsMoveThroughTheTeachingOptionsAndSpaceOrEnterChooses)
{
    const struct {
        QList<Qt::Key> keys;
        const char* focused;
        bool chosen;
    } cases[] = {
        {{Qt::Key_Down, Qt::Key_Down}, "Opt_Num_2", false},
        {{Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Up, Qt::Key_Left}, "Opt_Num_0", false},
        {{Qt::Key_Right}, "Opt_Num_1", false},
        {{Qt::Key_Down, Qt::Key_Space}, "Opt_Num_1", true},
        {{Qt::Key_Down, Qt::Key_Down, Qt::Key_Return}, "Opt_Num_2", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.focused);
        SimLine sim;
        ScriptedDialogs script;
        frmMain w(script);
        showActive(w);
        sim.controller.clearReceived();
        if (c.chosen)
            script.answer(MsgAnswer::No);
        auto* first = child<QWidget>(&w, "Opt_Num_0");
        first->setFocus();
        // The last key of a choice is pressed once the focus is checked: the chosen mode
        // moves the focus on.
        const QList<Qt::Key> moves = c.chosen ? c.keys.first(c.keys.size() - 1) : c.keys;
        for (Qt::Key key : moves)
            QTest::keyClick(QApplication::focusWidget(), key);
        EXPECT_EQ(QApplication::focusWidget(), child<QWidget>(&w, c.focused));
        if (c.chosen)
            QTest::keyClick(QApplication::focusWidget(), c.keys.last());
        EXPECT_EQ(!script.boxes.isEmpty() || !sim.controller.receivedLines().isEmpty(), c.chosen)
            << script.texts().join(" | ").toStdString();
        if (!c.chosen)
            EXPECT_EQ(w.session().panel().inputOption(), 0);
    }
}

namespace {

QStringList cells(const Grid& g)
{
    QStringList all;
    for (int r = 0; r < g.rows(); ++r) {
        for (int c = 0; c < g.columns(); ++c)
            all << g.text(r, c);
    }
    return all;
}

}  // namespace

// Tab leaves the grids and walks the window as it reads: the table, the parameter grid where
// shown, then the drive panel; every button the panel offers is reached, Stop included.
TEST_F(Keyboard, TabReachesEveryOfferedPanelButtonInScreenOrder)
{
    const struct {
        bool point;
        bool operation;
    } cases[] = {{true, false}, {true, true}, {false, false}, {false, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(
            QStringLiteral("point %1 operation %2").arg(c.point).arg(c.operation).toStdString());
        sim::Options options;
        options.originEstablished = true;
        SimLine sim(options);
        std::unique_ptr<MainFrame> w;
        if (c.point)
            w = std::make_unique<frmMain>(dialogs);
        else
            w = std::make_unique<frmpulseMaindemo>(dialogs);
        showActive(*w);
        if (c.operation)
            operation::EnterOperationMode(w->session());
        // What is shown and offered, first the part whose order is fixed.
        QStringList order;
        for (const char* name : {"Grid1", "Grid2", "Cmd_Setup", "Cmd_driv", "Cmd_Stop"}) {
            auto* widget = child<QWidget>(w.get(), name);
            if (widget->isVisible() && widget->isEnabled())
                order << name;
        }
        const qsizetype fixed = order.size();
        if (c.point && c.operation)
            EXPECT_TRUE(order.contains("Cmd_Stop"));
        for (QPushButton* b : w->findChildren<QPushButton*>()) {
            if (b->isVisible() && b->isEnabled() && !order.contains(b->objectName()))
                order << b->objectName();
        }
        child<QWidget>(w.get(), "Grid1")->setFocus();
        QStringList visited;
        for (int i = 0; i < 60; ++i) {
            QWidget* f = QApplication::focusWidget();
            if (f && !visited.contains(f->objectName()))
                visited << f->objectName();
            QTest::keyClick(f, Qt::Key_Tab);
        }
        int last = -1;
        for (const QString& name : order) {
            const int at = int(visited.indexOf(name));
            EXPECT_GE(at, 0) << name.toStdString() << " never reached";
            if (order.indexOf(name) < fixed) {
                EXPECT_GT(at, last) << name.toStdString() << " out of order";
                last = at;
            }
        }
    }
}

// After a view switch the focus is in the grid now shown, and keys typed then, to the focus
// or straight at the hidden grid, leave the hidden grid's cells as they were.
TEST_F(Keyboard, TypedKeysReachOnlyTheGridShown)
{
    const struct {
        const char* from;
        const char* item;
        const char* shown;
        const char* hidden;
    } cases[] = {
        {"mnuViewGrid1", "mnuViewGrid2", "Grid2", "Grid1"},
        {"mnuViewGrid2", "mnuViewGrid1", "Grid1", "Grid2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.item);
        frmMain w(dialogs);
        showActive(w);
        child<QAction>(&w, c.from)->trigger();
        auto* hidden = child<GridView>(&w, c.hidden);
        hidden->setFocus();
        hidden->setCurrentIndex(hidden->indexOf(0, 0));
        const QStringList before = cells(*hidden->grid());
        child<QAction>(&w, c.item)->trigger();
        QApplication::processEvents();
        EXPECT_EQ(QApplication::focusWidget(), child<QWidget>(&w, c.shown));
        for (QWidget* target : {QApplication::focusWidget(), static_cast<QWidget*>(hidden)}) {
            for (Qt::Key key : {Qt::Key_Right, Qt::Key_Right, Qt::Key_7, Qt::Key_Return})
                QTest::keyClick(target, key);
        }
        QApplication::processEvents();
        EXPECT_EQ(cells(*hidden->grid()), before);
    }
}

namespace {

// Takes the shortcut events of the buttons it watches, so no command runs.
class ShortcutCatcher : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (e->type() != QEvent::Shortcut)
            return false;
        hits << watched->objectName();
        ambiguous = ambiguous || static_cast<QShortcutEvent*>(e)->isAmbiguous();
        return true;
    }
    QStringList hits;
    bool ambiguous = false;
};

}  // namespace

// Each mode, drive and teaching control has its Alt key, clashing with no menu; a control
// not offered now takes none.
TEST_F(Keyboard, AltKeysReachTheirPanelControls)
{
    const struct {
        const char* name;
        Qt::Key key;
    } keys[] = {
        {"Cmd_Setup", Qt::Key_G},  {"Cmd_driv", Qt::Key_O},  {"Cmd_Start", Qt::Key_S},
        {"Cmd_Return", Qt::Key_R}, {"Cmd_Stop", Qt::Key_P},  {"Cmd_Set", Qt::Key_E},
        {"Opt_Num_0", Qt::Key_N},  {"Opt_Num_1", Qt::Key_D}, {"Opt_Num_2", Qt::Key_Y},
    };
    for (const bool point : {true, false}) {
        for (const bool operation : {false, true}) {
            SCOPED_TRACE(
                QStringLiteral("point %1 operation %2").arg(point).arg(operation).toStdString());
            sim::Options options;
            options.originEstablished = true;
            SimLine sim(options);
            std::unique_ptr<MainFrame> w;
            if (point)
                w = std::make_unique<frmMain>(dialogs);
            else
                w = std::make_unique<frmpulseMaindemo>(dialogs);
            showActive(*w);
            if (operation)
                operation::EnterOperationMode(w->session());
            child<QWidget>(w.get(), "Grid1")->setFocus();
            for (const auto& k : keys) {
                SCOPED_TRACE(k.name);
                auto* target = w->findChild<QWidget*>(k.name);
                ShortcutCatcher catcher;
                for (QAbstractButton* b : w->findChildren<QAbstractButton*>())
                    b->installEventFilter(&catcher);
                QTest::keyClick(QApplication::focusWidget(), k.key, Qt::AltModifier);
                const bool offered = target && target->isVisible() && target->isEnabled();
                EXPECT_EQ(catcher.hits, offered ? QStringList{k.name} : QStringList{});
                EXPECT_FALSE(catcher.ambiguous);
            }
        }
    }
}

// Each lamp is one accessible object named by its signal whose checked state and
// description follow the lamp.
TEST_F(Keyboard, LampsTellOnAndOffToAssistiveTools)
{
    const struct {
        bool point;
        int index;
        const char* name;
    } lamps[] = {
        {true, 3, "READY"},   {true, 0, "HOLD"},        {true, 8, "Pos 5"},
        {false, 2, "ENABLE"}, {false, 1, "INPOS/HOLD"}, {false, 10, "Pos 3"},
    };
    for (const auto& c : lamps) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<MainFrame> w;
        if (c.point)
            w = std::make_unique<frmMain>(dialogs);
        else
            w = std::make_unique<frmpulseMaindemo>(dialogs);
        w->show();
        QWidget* row = child<QWidget>(w.get(), QStringLiteral("Indic_%1").arg(c.index).toLatin1())
                           ->parentWidget();
        QAccessibleInterface* lamp = QAccessible::queryAccessibleInterface(row);
        ASSERT_NE(lamp, nullptr);
        EXPECT_EQ(lamp->text(QAccessible::Name), c.name);
        EXPECT_EQ(lamp->childCount(), 0);  // read once, not shape and caption apart
        for (const bool on : {true, false}) {
            w->session().panel().setLamp(c.index, on);
            EXPECT_EQ(bool(lamp->state().checked), on);
            EXPECT_EQ(lamp->text(QAccessible::Description), on ? "on" : "off");
        }
    }
}

// The chosen mode and teaching target are checked, for assistive tools and on screen.
TEST_F(Keyboard, ChosenModeAndTargetAreChecked)
{
    sim::Options options;
    options.originEstablished = true;
    SimLine sim(options);
    frmMain w(dialogs);
    w.show();
    Session& s = w.session();
    const struct {
        std::function<void()> act;
        const char* checked;
        const char* unchecked;
    } cases[] = {
        {[&] { operation::EnterOperationMode(s); }, "Cmd_driv", "Cmd_Setup"},
        {[&] { operation::EnterSettingMode(s); }, "Cmd_Setup", "Cmd_driv"},
        {[&] { operation::ChooseTarget(s, TeachingTarget::OriginShift); }, "Cmd_SetBase",
         "Cmd_TargetP"},
        {[&] { operation::ChooseTarget(s, TeachingTarget::Position); }, "Cmd_TargetP",
         "Cmd_SetBase"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.checked);
        c.act();
        for (const auto& [name, on] : {std::pair{c.checked, true}, std::pair{c.unchecked, false}}) {
            auto* b = child<QPushButton>(&w, name);
            EXPECT_EQ(b->isChecked(), on) << name;
            EXPECT_EQ(bool(QAccessible::queryAccessibleInterface(b)->state().checked), on) << name;
        }
    }
}

// Every control the keyboard reaches has a name of its own in its window, and the names a
// listener used to get wrong are the ones meant.
TEST_F(Keyboard, ControlsHaveNamesAListenerUnderstands)
{
    for (const bool point : {true, false}) {
        SCOPED_TRACE(point ? "point" : "pulse");
        std::unique_ptr<MainFrame> w;
        if (point)
            w = std::make_unique<frmMain>(dialogs);
        else
            w = std::make_unique<frmpulseMaindemo>(dialogs);
        w->show();
        QMap<QString, QString> owners;  // name -> objectName
        for (QWidget* c : w->findChildren<QWidget*>()) {
            if (!c->isVisibleTo(w.get()) || !(c->focusPolicy() & Qt::TabFocus)
                || qobject_cast<QAbstractScrollArea*>(c->parentWidget()))
                continue;
            const QString name = QAccessible::queryAccessibleInterface(c)->text(QAccessible::Name);
            EXPECT_FALSE(name.trimmed().isEmpty()) << c->objectName().toStdString();
            EXPECT_FALSE(owners.contains(name))
                << name.toStdString() << ": " << c->objectName().toStdString() << " and "
                << owners.value(name).toStdString();
            owners.insert(name, c->objectName());
        }
    }
    frmMain w(dialogs);
    const struct {
        const char* widget;
        const char* name;
    } named[] = {
        {"Frame_OrgDirection", "Org return direction"},
        {"OP1_0", "Org return CW"},
        {"Cmd_Op", "Jog CW"},
        {"Label10", "*10^-6 kg.m^2"},
        {"Opt_Num_1", "Direct Teaching"},
    };
    for (const auto& n : named) {
        QAccessibleInterface* i =
            QAccessible::queryAccessibleInterface(child<QWidget>(&w, n.widget));
        EXPECT_EQ(i->text(QAccessible::Name), n.name) << n.widget;
    }
    // Column titles are read without their padding.
    QAccessibleInterface* grid = QAccessible::queryAccessibleInterface(child<QWidget>(&w, "Grid1"));
    for (int c = 0; c < grid->tableInterface()->columnCount(); ++c) {
        QAccessibleInterface* cell = grid->tableInterface()->cellAt(0, c);
        ASSERT_NE(cell, nullptr);
        const QString title =
            cell->tableCellInterface()->columnHeaderCells().value(0)->text(QAccessible::Name);
        EXPECT_EQ(title.toStdString(), title.trimmed().toStdString());
    }
}

// A window shown and hidden again is gone from the windows a screen reader lists.
TEST_F(Keyboard, HiddenWindowsLeaveTheAccessibilityTree)
{
    frmMain w(dialogs);
    frmVer version(&w);
    AppWindows windows(dialogs, 0.1);
    StartupWindow startup(windows);
    const struct {
        const char* name;
        QWidget* window;
    } cases[] = {
        {"progress", &w.progressDialog()},
        {"STOP", &w.stopDialog()},
        {"version", &version},
        {"start-up", &startup},
    };
    const auto listed = [](QWidget* window) {
        QAccessibleInterface* app = QAccessible::queryAccessibleInterface(qApp);
        for (int i = 0; i < app->childCount(); ++i) {
            if (app->child(i) && app->child(i)->object() == window)
                return true;
        }
        return false;
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.window->show();
        EXPECT_TRUE(listed(c.window));
        c.window->hide();
        QApplication::processEvents();
        EXPECT_FALSE(listed(c.window));
        c.window->show();  // and back when shown again
        EXPECT_TRUE(listed(c.window));
        c.window->hide();
    }
}
