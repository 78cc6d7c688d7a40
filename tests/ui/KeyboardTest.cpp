// The main windows by keyboard and screen reader: Stop within reach, focus where the user
// sees it, and states and names told without colour.
#include "FakeView.h"
#include "ScriptedDialogs.h"
#include "SessionRig.h"
#include "SimLine.h"
#include "app/AppWindows.h"
#include "app/StartupWindow.h"
#include "operation/Drive.h"
#include "operation/Teaching.h"
#include "ui/dialogs/ProgressDialog.h"
#include "ui/dialogs/StopDialog.h"
#include "ui/frame/PointInputWindow.h"
#include "ui/frame/PulseTrainWindow.h"
#include "ui/grid/GridView.h"
#include "ui/toolwindows/VersionWindow.h"

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
#include <optional>
#include <string>

using namespace kap;
using namespace kap::test;

namespace {

class Keyboard : public RigTest<WindowRig> {
protected:
    // The window shown and active (focus follows keys only there), in Operation mode if asked.
    std::unique_ptr<MainFrame> open(bool point, bool operation = false)
    {
        std::unique_ptr<MainFrame> w;
        if (point)
            w = std::make_unique<PointInputWindow>(dialogs, clean);
        else
            w = std::make_unique<PulseTrainWindow>(dialogs, clean);
        w->show();
        w->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(w.get()));
        if (operation)
            operation::EnterOperationMode(w->session());
        return w;
    }
    static void keys(const QList<Qt::Key>& keys)
    {
        for (Qt::Key key : keys)
            QTest::keyClick(QApplication::focusWidget(), key);
    }
    static QString nameOf(QObject* o)
    {
        return QAccessible::queryAccessibleInterface(o)->text(QAccessible::Name);
    }
};

const sim::Options kAtOrigin = [] {
    sim::Options o;
    o.originEstablished = true;
    o.motionMs = 2500;
    return o;
}();

}  // namespace

// While the actuator moves, Esc and Pause work like Stop (or the STOP dialog's button)
// wherever the focus is; with nothing that may move they send nothing.
TEST_F(Keyboard, StopKeysBreakAMotionWhateverHasTheFocus)
{
    const struct {
        bool point;  // Start's move in the point-input window, else a return with STOP dialog
        Qt::Key key;
        const char* focus;
        bool moving;
    } cases[] = {
        {true, Qt::Key_Escape, "Grid1", true},  {true, Qt::Key_Pause, "Txt_ComS", true},
        {false, Qt::Key_Escape, "Grid2", true}, {false, Qt::Key_Pause, "Txt_ComR", true},
        {true, Qt::Key_Escape, "Grid1", false}, {true, Qt::Key_Pause, "Grid1", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.focus);
        SimLine sim(kAtOrigin);
        sim.controller.points[0] = {"A", "90.00", "50"};
        auto w = open(c.point, c.moving);
        sim.controller.clearReceived();
        const auto press = [&] {
            child<QWidget>(w.get(), c.focus)->setFocus();
            keys({c.key});
        };
        QObject::connect(&sim.controller, &sim::Controller::entryReceived, w.get(),
                         [&](const QByteArray& e) {
                             if (e.startsWith("@MOVP "))
                                 QTimer::singleShot(50, w.get(), press);
                         });
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, w.get(), [&] {
            if (w->stopDialog().isVisible() && !poll.property("done").toBool()) {
                poll.setProperty("done", true);
                press();
            }
        });
        QElapsedTimer clock;
        clock.start();
        if (!c.moving) {
            press();
        } else if (c.point) {
            dialogs.answer(MsgAnswer::Yes);
            QTest::mouseClick(child<QPushButton>(w.get(), "Cmd_Start"), Qt::LeftButton);
        } else {
            poll.start(20);
            operation::ReturnToOrigin(w->session(), true);
        }
        EXPECT_EQ(sim.controller.receivedLines().count("\x03"), c.moving ? 1 : 0);
        EXPECT_LT(clock.elapsed(), 2000) << "the break waited for the motion";
    }
}

// The arrow keys only move the focus through the teaching options; Space or Enter chooses
// as a click does (Direct Teaching and Playback first ask about the origin).
TEST_F(Keyboard, ArrowsMoveThroughTheTeachingOptionsAndSpaceOrEnterChooses)
{
    const struct {
        QList<Qt::Key> moves;
        const char* focused;
        std::optional<Qt::Key> choose;
    } cases[] = {
        {{Qt::Key_Down, Qt::Key_Down}, "Opt_Num_2", {}},
        {{Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Up, Qt::Key_Left}, "Opt_Num_0", {}},
        {{Qt::Key_Right}, "Opt_Num_1", {}},
        {{Qt::Key_Down}, "Opt_Num_1", Qt::Key_Space},
        {{Qt::Key_Down, Qt::Key_Down}, "Opt_Num_2", Qt::Key_Return},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.focused);
        SimLine sim;
        auto w = open(true);
        sim.controller.clearReceived();
        child<QWidget>(w.get(), "Opt_Num_0")->setFocus();
        keys(c.moves);
        EXPECT_EQ(QApplication::focusWidget(), child<QWidget>(w.get(), c.focused));
        dialogs.boxes.clear();
        if (c.choose) {
            dialogs.answer(MsgAnswer::No);
            keys({*c.choose});
        }
        EXPECT_EQ(!dialogs.boxes.isEmpty() || !sim.controller.receivedLines().isEmpty(),
                  c.choose.has_value());
    }
}

// Tab leaves the grids and walks the window as it reads: the table, the parameter grid where
// shown, then the drive panel; every button offered is reached, Stop included.
TEST_F(Keyboard, TabReachesEveryOfferedPanelButtonInScreenOrder)
{
    for (const bool point : {true, false}) {
        for (const bool operation : {false, true}) {
            SCOPED_TRACE(std::to_string(point) + std::to_string(operation));
            SimLine sim(kAtOrigin);
            auto w = open(point, operation);
            QStringList order;  // its start in the order fixed, then the rest offered
            for (const char* name : {"Grid1", "Grid2", "Cmd_Setup", "Cmd_driv", "Cmd_Stop"}) {
                if (child<QWidget>(w.get(), name)->isVisible()
                    && child<QWidget>(w.get(), name)->isEnabled())
                    order << name;
            }
            const qsizetype fixed = order.size();
            EXPECT_EQ(order.contains("Cmd_Stop"), point && operation);
            for (QPushButton* b : w->findChildren<QPushButton*>()) {
                if (b->isVisible() && b->isEnabled() && !order.contains(b->objectName()))
                    order << b->objectName();
            }
            child<QWidget>(w.get(), "Grid1")->setFocus();
            QStringList visited;
            for (int i = 0; i < 60; ++i) {
                if (!visited.contains(QApplication::focusWidget()->objectName()))
                    visited << QApplication::focusWidget()->objectName();
                keys({Qt::Key_Tab});
            }
            for (qsizetype i = 0; i < order.size(); ++i) {
                EXPECT_TRUE(visited.contains(order[i])) << order[i].toStdString();
                if (i > 0 && i < fixed) {
                    EXPECT_GT(visited.indexOf(order[i]), visited.indexOf(order[i - 1]));
                }
            }
        }
    }
}

// After a view switch the focus is in the grid now shown; an entry left open in the hidden
// grid is dropped, and keys typed then, to the focus or straight at the hidden grid, leave
// its cells as they were.
TEST_F(Keyboard, TypedKeysReachOnlyTheGridShown)
{
    const struct {
        const char* from;
        const char* item;
        const char* shown;
        const char* hidden;
        int column;  // a cell that takes digits
    } cases[] = {
        {"mnuViewGrid1", "mnuViewGrid2", "Grid2", "Grid1", 3},
        {"mnuViewGrid2", "mnuViewGrid1", "Grid1", "Grid2", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.item);
        auto w = open(true);
        child<QAction>(w.get(), c.from)->trigger();
        auto* hidden = child<GridView>(w.get(), c.hidden);
        const auto cells = [&] {
            QStringList all;
            for (int r = 0; r < hidden->grid()->rows(); ++r)
                for (int col = 0; col < hidden->grid()->columns(); ++col)
                    all << hidden->grid()->text(r, col);
            return all;
        };
        const QStringList before = cells();
        hidden->setFocus();
        hidden->setCurrentIndex(hidden->indexOf(0, c.column));
        keys({Qt::Key_5});
        ASSERT_TRUE(hidden->isEditing());
        child<QAction>(w.get(), c.item)->trigger();
        EXPECT_EQ(QApplication::focusWidget(), child<QWidget>(w.get(), c.shown));
        for (QWidget* target : {QApplication::focusWidget(), static_cast<QWidget*>(hidden)})
            for (Qt::Key key : {Qt::Key_Left, Qt::Key_7, Qt::Key_Return})
                QTest::keyClick(target, key);
        EXPECT_TRUE(cells() == before) << "the hidden grid changed";
    }
}

// Each mode, drive and teaching control has its Alt key, clashing with no menu; a control
// not offered now takes none.
TEST_F(Keyboard, AltKeysReachTheirPanelControls)
{
    // Takes the shortcut events of the buttons, so no command runs.
    struct Catcher : QObject {
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
    const QList<QPair<const char*, Qt::Key>> keyOf = {
        {"Cmd_Setup", Qt::Key_G},  {"Cmd_driv", Qt::Key_O},  {"Cmd_Start", Qt::Key_S},
        {"Cmd_Return", Qt::Key_R}, {"Cmd_Stop", Qt::Key_P},  {"Cmd_Set", Qt::Key_E},
        {"Opt_Num_0", Qt::Key_N},  {"Opt_Num_1", Qt::Key_D}, {"Opt_Num_2", Qt::Key_Y},
    };
    for (const bool point : {true, false}) {
        for (const bool operation : {false, true}) {
            SimLine sim(kAtOrigin);
            auto w = open(point, operation);
            child<QWidget>(w.get(), "Grid1")->setFocus();
            for (const auto& [name, key] : keyOf) {
                SCOPED_TRACE(std::string(name) + std::to_string(point) + std::to_string(operation));
                Catcher catcher;
                for (QAbstractButton* b : w->findChildren<QAbstractButton*>())
                    b->installEventFilter(&catcher);
                QTest::keyClick(QApplication::focusWidget(), key, Qt::AltModifier);
                auto* target = w->findChild<QWidget*>(name);
                const bool offered = target && target->isVisible() && target->isEnabled();
                EXPECT_EQ(catcher.hits, offered ? QStringList{name} : QStringList{});
                EXPECT_FALSE(catcher.ambiguous);
            }
        }
    }
}

// A lamp is one accessible object named by its signal, checked and described "on" while lit.
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
        auto w = open(c.point);
        const QByteArray shape = "Indic_" + QByteArray::number(c.index);
        QAccessibleInterface* lamp = QAccessible::queryAccessibleInterface(
            child<QWidget>(w.get(), shape.constData())->parentWidget());
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
    SimLine sim(kAtOrigin);
    auto w = open(true);
    Session& s = w->session();
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
            auto* b = child<QPushButton>(w.get(), name);
            EXPECT_EQ(b->isChecked(), on) << name;
            EXPECT_EQ(bool(QAccessible::queryAccessibleInterface(b)->state().checked), on) << name;
        }
    }
}

// Every control the keyboard reaches has a name of its own in its window; the names a
// listener used to get wrong are the ones meant, and column titles come without padding.
TEST_F(Keyboard, ControlsHaveNamesAListenerUnderstands)
{
    for (const bool point : {true, false}) {
        auto w = open(point);
        QMap<QString, QString> owners;  // name -> objectName
        for (QWidget* c : w->findChildren<QWidget*>()) {
            if (!c->isVisibleTo(w.get()) || !(c->focusPolicy() & Qt::TabFocus)
                || qobject_cast<QAbstractScrollArea*>(c->parentWidget()))
                continue;
            const QString name = nameOf(c);
            EXPECT_FALSE(name.trimmed().isEmpty()) << c->objectName().toStdString();
            EXPECT_FALSE(owners.contains(name))
                << name.toStdString() << ": " << owners.value(name).toStdString() << " and "
                << c->objectName().toStdString();
            owners.insert(name, c->objectName());
        }
        QAccessibleTableInterface* grid =
            QAccessible::queryAccessibleInterface(child<QWidget>(w.get(), "Grid1"))
                ->tableInterface();
        for (int col = 0; col < grid->columnCount(); ++col) {
            const QString title =
                grid->cellAt(0, col)->tableCellInterface()->columnHeaderCells().value(0)->text(
                    QAccessible::Name);
            EXPECT_EQ(title.toStdString(), title.trimmed().toStdString());
        }
        // A cell is read, and found again by its place; it has nothing to toggle.
        for (const char* name : {"Grid1", "Grid2"}) {
            QAccessibleInterface* table =
                QAccessible::queryAccessibleInterface(child<QWidget>(w.get(), name));
            ASSERT_TRUE(table && table->tableInterface()) << name;
            for (int i = 0; i < table->childCount(); ++i) {
                QAccessibleInterface* cell = table->child(i);
                ASSERT_TRUE(cell) << name << " " << i;
                EXPECT_EQ(table->indexOfChild(cell), i);
                const QAccessibleActionInterface* actions = cell->actionInterface();
                EXPECT_FALSE(
                    actions
                    && actions->actionNames().contains(QAccessibleActionInterface::toggleAction()))
                    << name << " cell " << i;
            }
        }
    }
    auto w = open(true);
    const QList<QPair<const char*, const char*>> named = {
        {"Frame_OrgDirection", "Org return direction"},
        {"OP1_0", "Org return CW"},
        {"Cmd_Op", "Jog CW"},
        {"Label10", "*10^-6 kg.m^2"},
        {"Opt_Num_1", "Direct Teaching"},
    };
    for (const auto& [widget, name] : named)
        EXPECT_EQ(nameOf(child<QWidget>(w.get(), widget)), name) << widget;
}

// A window shown and hidden again is gone from the windows a screen reader lists, and back
// when shown again.
TEST_F(Keyboard, HiddenWindowsLeaveTheAccessibilityTree)
{
    PointInputWindow w(dialogs, clean);
    VersionWindow version(&w);
    AppWindows windows(dialogs, clean, 0.1);
    StartupWindow startup(windows);
    const auto listed = [](QWidget* window) {
        QAccessibleInterface* app = QAccessible::queryAccessibleInterface(qApp);
        for (int i = 0; i < app->childCount(); ++i) {
            if (app->child(i) && app->child(i)->object() == window)
                return true;
        }
        return false;
    };
    for (QWidget* window :
         QList<QWidget*>{&w.progressDialog(), &w.stopDialog(), &version, &startup}) {
        SCOPED_TRACE(window->objectName().toStdString());
        window->show();
        EXPECT_TRUE(listed(window));
        window->hide();
        QApplication::processEvents();
        EXPECT_FALSE(listed(window));
        window->show();
        EXPECT_TRUE(listed(window));
        window->hide();
    }
}
