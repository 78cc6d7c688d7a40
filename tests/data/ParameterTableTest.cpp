#include "data/ParameterTable.h"
#include "ScriptedDialogs.h"
#include "SimpleTableHost.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace kap {
namespace {

using test::Box;
using test::ScriptedDialogs;
using test::SimpleTableHost;

// A window's parameter grid just after start-up, with a host whose flags the test sets.
struct Window {
    explicit Window(Family family) : table(family, grid2, grid1, host)
    {
        host.onEndProgram = [this] { ++ended; };
        host.onRestoreIdle = [this] { ++restored; };
        host.settingUpFlag = true;
        table.setUp();
        host.settingUpFlag = false;
    }
    // Writes a cell the way receive does, without any handling.
    void fill(int row, int column, const QString& text)
    {
        host.bulkFillFlag = true;
        grid2.setText(row, column, text);
        host.bulkFillFlag = false;
    }
    QString value(int row) const { return grid2.text(row, kValueColumn); }

    ScriptedDialogs dialogs;
    SimpleTableHost host{dialogs};
    Grid grid2;
    Grid grid1;
    ParameterTable table;
    int ended = 0;
    int restored = 0;
};

const Box kMultipleOf360{"Please set the value as a multiple of 360.", "Setting Error",
                         MsgIcon::Exclamation, MsgButtons::Ok};

bool operator==(const Box& a, const Box& b)
{
    return a.text == b.text && a.title == b.title && a.icon == b.icon && a.buttons == b.buttons;
}

TEST(ParameterTableSetUp, PointInputGridHoldsTheType50TableAndStartsHidden)
{
    Window w(Family::PointInput);
    EXPECT_EQ(w.grid2.rows(), 16);
    EXPECT_EQ(w.grid2.text(-2, 2), "Setting Range      ");
    EXPECT_EQ(w.grid2.columnWidth(2), 175);
    EXPECT_EQ(w.grid2.text(-1, kNoColumn), "0");
    EXPECT_EQ(w.grid2.text(15, kNoColumn), "36");
    EXPECT_EQ(w.grid2.text(2, kRangeColumn), "0 to 300 (*10^-6kg.m.m)");
    EXPECT_EQ(w.grid2.text(6, kRangeColumn), "50 to 50 (*0.01rps)");
    EXPECT_EQ(w.grid2.text(5, kNoteColumn),
              "Positioning complete pulse (Previous controller only)");
    const QStringList fields =
        QString("50,0,0,300,100,1,**,50,360,1,50,50,0,100,50,0,50").split(',');
    for (int k = 0; k < fields.size(); ++k) {
        EXPECT_EQ(w.grid2.text(k - 1, kInitialColumn), fields.at(k)) << "row " << k - 1;
        EXPECT_EQ(w.value(k - 1), fields.at(k)) << "row " << k - 1;
    }
    EXPECT_EQ(w.table.currentType(), "50");
    EXPECT_FALSE(w.grid2.isVisible());
    EXPECT_TRUE(w.grid1.tag().isEmpty());
    EXPECT_TRUE(w.dialogs.boxes.isEmpty());
}

TEST(ParameterTableSetUp, PulseTrainGridHoldsItsOwnRowsAndStaysVisible)
{
    Window w(Family::PulseTrain);
    EXPECT_EQ(w.grid2.rows(), 10);
    EXPECT_EQ(w.grid2.text(-2, 2), "Setting Range         ");
    EXPECT_EQ(w.grid2.columnWidth(2), 215);
    EXPECT_EQ(w.grid2.text(-1, kNoteColumn), "Actuator Type");
    EXPECT_EQ(w.grid2.text(9, kNoColumn), "53");
    EXPECT_EQ(w.value(9), "1000");
    EXPECT_EQ(w.value(2), "50");
    EXPECT_TRUE(w.grid2.isVisible());
}

struct Edit {
    Family family;
    int row;
    QString typed;
    QString expected;
};

class SilentEdit : public ::testing::TestWithParam<Edit> {};

TEST_P(SilentEdit, ValueIsKeptOrReturnsToTheInitialValueWithoutABox)
{
    const Edit& e = GetParam();
    Window w(e.family);
    w.grid2.setText(e.row, kValueColumn, e.typed);
    EXPECT_EQ(w.value(e.row), e.expected);
    EXPECT_TRUE(w.dialogs.boxes.isEmpty());
    EXPECT_EQ(w.grid1.tag(), "Change");
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SilentEdit,
    ::testing::Values(
        Edit{Family::PointInput, 3, "150", "100"},  // Acceleration 1 to 100
        Edit{Family::PointInput, 3, "0", "100"}, Edit{Family::PointInput, 3, "1", "1"},
        Edit{Family::PointInput, 3, "abc", "100"}, Edit{Family::PointInput, 3, "1e2", "100"},
        Edit{Family::PointInput, 4, "2", "1"},  // choice row
        Edit{Family::PointInput, 4, "0", "0"}, Edit{Family::PointInput, 1, "-9999", "-9999"},
        Edit{Family::PointInput, 1, "1", "0"},
        Edit{Family::PointInput, 7, "45", "360"},  // below the range: no multiple-of-360 box
        Edit{Family::PointInput, 7, "32400", "32400"},
        Edit{Family::PointInput, -1, "61", "61"},  // type row: 50 to 66
        Edit{Family::PointInput, -1, "67", "50"},
        Edit{Family::PointInput, 3, " 50", "50"},  // accepted values are stored plainly
        Edit{Family::PointInput, 3, "+50", "50"}, Edit{Family::PointInput, 3, "50.", "50"},
        Edit{Family::PointInput, 3, "050.0", "50"}, Edit{Family::PointInput, 14, "-0", "0"},
        Edit{Family::PointInput, 7, "720.", "720"}, Edit{Family::PointInput, -1, " 61", "61"},
        Edit{Family::PulseTrain, 4, "+00", "0"}, Edit{Family::PulseTrain, 0, "150", "100"},
        Edit{Family::PulseTrain, 9, "99", "1000"}, Edit{Family::PulseTrain, 9, "1999", "1999"},
        Edit{Family::PulseTrain, 8, "1", "1"}, Edit{Family::PulseTrain, 8, "5", "0"}));

TEST(ParameterTableAngle, NotAMultipleOf360GivesTheBoxAnd360)
{
    Window w(Family::PointInput);
    w.dialogs.ok();
    w.grid2.setText(7, kValueColumn, "400");
    EXPECT_EQ(w.value(7), "360");
    ASSERT_EQ(w.dialogs.boxes.size(), 1);
    EXPECT_TRUE(w.dialogs.boxes.at(0) == kMultipleOf360);
    w.grid2.setText(7, kValueColumn, "720");
    EXPECT_EQ(w.value(7), "720");
    EXPECT_EQ(w.dialogs.boxes.size(), 1);
}

TEST(ParameterTableAngle, HeldCheckFiresAtTheNextEditOfAnotherRow)
{
    Window w(Family::PointInput);
    w.host.angleHold = true;
    w.grid2.setText(7, kValueColumn, "400");
    EXPECT_EQ(w.value(7), "400");
    EXPECT_TRUE(w.dialogs.boxes.isEmpty());

    w.host.angleHold = false;
    w.dialogs.ok();
    w.grid2.setText(0, kValueColumn, "10");
    EXPECT_EQ(w.value(0), "10");
    EXPECT_EQ(w.value(7), "360");
    ASSERT_EQ(w.dialogs.boxes.size(), 1);
    EXPECT_TRUE(w.dialogs.boxes.at(0) == kMultipleOf360);
}

TEST(ParameterTableAngle, PulseTrainWindowHasNoAngleCheck)
{
    Window w(Family::PulseTrain);
    w.grid2.setText(4, kValueColumn, "400");  // Origin point shift
    EXPECT_EQ(w.value(4), "400");
    EXPECT_TRUE(w.dialogs.boxes.isEmpty());
}

struct TypeEdit {
    Family family;
    QString type;
    int row;
    QString typed;
    QString expected;
};

class TypeRangeEdit : public ::testing::TestWithParam<TypeEdit> {};

TEST_P(TypeRangeEdit, ValidationFollowsTheTypesRangeText)
{
    const TypeEdit& e = GetParam();
    Window w(e.family);
    w.table.setCurrentType(e.type);
    ASSERT_EQ(w.table.SelectDefaultRow(), ParameterTable::TypeCheck::Ok);
    w.table.ApplyTypeRanges(e.type);
    w.grid2.setText(e.row, kValueColumn, e.typed);
    EXPECT_EQ(w.value(e.row), e.expected);
    EXPECT_TRUE(w.dialogs.boxes.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Types, TypeRangeEdit,
    ::testing::Values(
        TypeEdit{Family::PointInput, "50", 6, "30", "50"},  // Org return speed 50 to 50
        TypeEdit{Family::PointInput, "61", 6, "30", "30"},  // 1 to 50
        TypeEdit{Family::PointInput, "61", 6, "51", "10"},
        TypeEdit{Family::PointInput, "50", 9, "1", "50"},  // Teaching movement speed
        TypeEdit{Family::PointInput, "61", 9, "1", "1"},
        TypeEdit{Family::PulseTrain, "50", 2, "30", "50"},
        TypeEdit{Family::PulseTrain, "61", 2, "30", "30"},
        TypeEdit{Family::PulseTrain, "61", 5, "0", "10"},
        TypeEdit{Family::PointInput, "62", 2, "2500", "2500"},  // Load inertia 0 to 3000
        TypeEdit{Family::PointInput, "63", 2, "2500", "2000"},  // 0 to 2000
        TypeEdit{Family::PointInput, "65", 2, "51", "50"}));

TEST(ParameterTableType, RangesInitialValuesAndLabelFollowTheType)
{
    Window w(Family::PointInput);
    QSignalSpy label(&w.table, &ParameterTable::inertiaLabelChanged);
    w.table.ApplyTypeRanges("65");
    EXPECT_EQ(w.grid2.text(2, kRangeColumn), "0 to 50 (*10^-3kg.m.m)");
    EXPECT_EQ(w.grid2.text(2, kInitialColumn), "50");
    EXPECT_EQ(w.grid2.text(9, kInitialColumn), "20");
    EXPECT_EQ(w.table.inertiaLabel(), "-3      2");
    ASSERT_EQ(label.count(), 1);
    EXPECT_EQ(label.at(0).at(0).toString(), "-3      2");

    w.table.ApplyTypeRanges("99");  // outside the table: inertia of type 64
    EXPECT_EQ(w.grid2.text(2, kRangeColumn), "0 to 20000 (*10^-6kg.m.m)");
    EXPECT_EQ(w.table.inertiaLabel(), "-6      2");

    w.table.ApplyTypeSettings("61");
    EXPECT_EQ(w.value(2), "1000");
    EXPECT_EQ(w.value(6), "10");
    EXPECT_EQ(w.value(9), "20");
    EXPECT_EQ(w.value(15), "10");
}

TEST(ParameterTableType, ResetTakesTheTypeFromTheTypeRow)
{
    Window w(Family::PointInput);
    w.grid2.setText(-1, kValueColumn, "62");
    w.grid2.setText(3, kValueColumn, "40");
    EXPECT_EQ(w.table.currentType(), "50");  // typing does not change the type
    ASSERT_EQ(w.table.ResetParametersToDefaults(), ParameterTable::TypeCheck::Ok);
    EXPECT_EQ(w.table.currentType(), "62");
    EXPECT_EQ(w.value(2), "3000");
    EXPECT_EQ(w.grid2.text(2, kRangeColumn), "0 to 3000 (*10^-6kg.m.m)");
    EXPECT_EQ(w.value(3), "100");
    EXPECT_EQ(w.value(6), "10");
    EXPECT_EQ(w.grid2.text(6, kRangeColumn), "1 to 50 (*0.01rps)");
    EXPECT_EQ(w.value(-1), "62");
}

TEST(ParameterTableType, UnknownTypeShowsTheBoxAndEndsTheProgram)
{
    Window w(Family::PulseTrain);
    w.dialogs.ok();
    w.table.setCurrentType("67");
    EXPECT_EQ(w.table.SelectDefaultRow(), ParameterTable::TypeCheck::Unknown);
    ASSERT_EQ(w.dialogs.boxes.size(), 1);
    EXPECT_TRUE(w.dialogs.boxes.at(0)
                == (Box{"Controller type is different.", "Controller type", MsgIcon::Exclamation,
                        MsgButtons::Ok}));
    EXPECT_EQ(w.ended, 1);
    EXPECT_EQ(w.table.defaultRow(), "50,100,1,50,1,0,50,1,1,0,1000,");  // kept

    w.table.setCurrentType("abc");
    EXPECT_EQ(w.table.SelectDefaultRow(), ParameterTable::TypeCheck::NotANumber);
    EXPECT_EQ(w.dialogs.boxes.size(), 1);
    EXPECT_EQ(w.ended, 1);
}

TEST(ParameterTableType, PulseTrainTypeRowCannotBeTypedOver)
{
    Window w(Family::PulseTrain);
    w.grid2.setText(-1, kValueColumn, "61");
    EXPECT_EQ(w.value(-1), "50");
    EXPECT_EQ(w.table.currentType(), "50");
}

struct Prm6Case {
    QString initial;
    QString before;
    QString typed;
    QString expected;
};

class Prm6Edit : public ::testing::TestWithParam<Prm6Case> {};

TEST_P(Prm6Edit, FollowsItsOwnRulesAndSetsTheMark)
{
    const Prm6Case& c = GetParam();
    Window w(Family::PointInput);
    w.fill(5, kInitialColumn, c.initial);
    w.fill(5, kRangeColumn, "0: Invalid 1: Valid");
    w.fill(5, kValueColumn, c.before);
    w.fill(7, kValueColumn, "400");  // the angle check must not run for this row
    w.grid2.setText(5, kValueColumn, c.typed);
    EXPECT_EQ(w.value(5), c.expected);
    EXPECT_EQ(w.grid1.tag(), "Change");
    EXPECT_TRUE(w.dialogs.boxes.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Rules, Prm6Edit,
    ::testing::Values(Prm6Case{"**", "**", "0", "**"}, Prm6Case{"**", "**", "1", "**"},
                      Prm6Case{"1", "1", "0", "0"}, Prm6Case{"1", "0", "**", "1"},
                      Prm6Case{"1", "0", "7", "1"}, Prm6Case{"0", "1", "**", "**"},
                      Prm6Case{"0", "1", "x", "0"}));

TEST(ParameterTableNotApplicable, RowWithInitialValueStarsKeepsStars)
{
    Window w(Family::PointInput);
    w.fill(11, kRangeColumn, "");
    w.fill(11, kInitialColumn, "**");
    w.fill(11, kValueColumn, "**");
    for (const QString typed : {"0", "1", "5"}) {
        w.grid2.setText(11, kValueColumn, typed);
        EXPECT_EQ(w.value(11), "**") << typed.toStdString();
    }
    EXPECT_EQ(w.grid1.tag(), "Change");
}

TEST(ParameterTableHandling, BulkFillAndNoteColumnRunNoHandling)
{
    Window w(Family::PointInput);
    w.fill(3, kValueColumn, "150");
    EXPECT_EQ(w.value(3), "150");
    w.grid2.setText(3, kNoteColumn, "x");
    EXPECT_EQ(w.value(3), "150");
    EXPECT_TRUE(w.grid1.tag().isEmpty());
}

TEST(ParameterTableHandling, RewrittenRangeDrivesTheNextCheck)
{
    Window w(Family::PointInput);
    w.fill(13, kRangeColumn, "1 to 40 (pps)");
    w.fill(13, kInitialColumn, "30");
    w.grid2.setText(13, kValueColumn, "45");
    EXPECT_EQ(w.value(13), "30");
}

TEST(ParameterTableHandling, UnreadableRangeTakesTheFailurePath)
{
    Window w(Family::PointInput);
    w.fill(3, kRangeColumn, "one to 100 (%)");
    w.grid2.setText(3, kValueColumn, "20");
    EXPECT_EQ(w.value(3), "100");
    EXPECT_GE(w.restored, 1);
    EXPECT_TRUE(w.dialogs.boxes.isEmpty());
}

TEST(ParameterTableHandling, QuickBoxesRefreshOnlyInTheParameterView)
{
    Window w(Family::PointInput);
    int refreshed = 0;
    w.host.onRefreshQuickBoxes = [&] { ++refreshed; };
    w.grid2.setText(3, kValueColumn, "50");
    EXPECT_EQ(refreshed, 0);
    w.host.parameterView = true;
    w.grid2.setText(3, kValueColumn, "60");
    EXPECT_EQ(refreshed, 1);
}

TEST(ActuatorTypeData, DefaultRowsHaveOneFieldPerRowAndStartWithTheType)
{
    for (const ActuatorType& t : actuatorTypes()) {
        const QStringList point = defaultRowFields(defaultRow(Family::PointInput, t.number), 17);
        const QStringList pulse = defaultRowFields(defaultRow(Family::PulseTrain, t.number), 11);
        ASSERT_EQ(point.size(), 17);
        ASSERT_EQ(pulse.size(), 11);
        EXPECT_EQ(point.at(0), QString::number(t.number));
        EXPECT_EQ(pulse.at(0), QString::number(t.number));
        EXPECT_EQ(point.at(6), "**");
        EXPECT_EQ(point.at(3), t.inertiaInitial);
    }
    EXPECT_TRUE(defaultRow(Family::PointInput, 67).isNull());
}

}  // namespace
}  // namespace kap
