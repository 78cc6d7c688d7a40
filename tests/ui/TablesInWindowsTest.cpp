// The setting tables as the windows use them: typing, the window's flags and labels.
#include "Grid.h"
#include "GridView.h"
#include "Module1.h"
#include "ParameterTable.h"
#include "ScriptedDialogs.h"
#include "SimLine.h"
#include "frmMain.h"
#include "frmpulseMaindemo.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>

using namespace kap;
using namespace kap::test;

namespace {

class TablesInWindows : public ::testing::Test {
protected:
    CleanModule clean;
    ScriptedDialogs dialogs;
};

}  // namespace

TEST_F(TablesInWindows, WindowsStartWithTheirTablesAndUnmodified)
{
    frmMain point(dialogs);
    frmpulseMaindemo pulse(dialogs);
    EXPECT_EQ(point.Grid1->rows(), 64);
    EXPECT_EQ(point.Grid1->text(-1, 1), " Mode");
    EXPECT_EQ(point.Grid1->text(63, 0), "63");
    EXPECT_EQ(pulse.Grid1->rows(), 4);
    EXPECT_EQ(point.Grid2->text(-1, 1), "50") << "type 50 until something else is known";
    EXPECT_EQ(pulse.Grid2->text(9, 0), "53");
    EXPECT_FALSE(point.isModified());
    EXPECT_FALSE(pulse.isModified());
    EXPECT_FALSE(point.Grid2->isVisible()) << "the point grid is the first view";
    EXPECT_TRUE(pulse.Grid2->isVisible());
}

TEST_F(TablesInWindows, TypedValuesAreValidatedAndMarkTheData)
{
    frmMain w(dialogs);
    const int acceleration = w.parameters().rowOfPrm(4);
    ASSERT_TRUE(w.Grid2->typeText(acceleration, 1, "150"));
    EXPECT_EQ(w.Grid2->text(acceleration, 1), "100");
    EXPECT_TRUE(w.isModified());

    w.setModified(false);
    w.Grid1->typeText(3, 1, "a");
    w.Grid1->typeText(3, 2, "12.346");
    w.Grid1->typeText(3, 3, "50");
    EXPECT_EQ(w.Grid1->text(3, 1), "A");
    EXPECT_EQ(w.Grid1->text(3, 2), "12.35");
    EXPECT_TRUE(w.isModified());
    EXPECT_FALSE(w.Grid1->keyPress(3, 1, 'x')) << "the key filter discards x in Mode";
    EXPECT_TRUE(w.Grid1->keyPress(3, 1, 'b'));
    EXPECT_FALSE(w.Grid1->keyPress(3, 3, '.')) << "speed takes digits only";
    EXPECT_TRUE(w.Grid1->keyPress(3, 2, '-'));
}

TEST_F(TablesInWindows, PulseTrainTypeRowCannotBeTypedOver)
{
    frmpulseMaindemo w(dialogs);
    w.Grid2->setText(-1, 1, "61");
    EXPECT_EQ(w.Grid2->text(-1, 1), "50");
}

TEST_F(TablesInWindows, InertiaUnitFollowsTheType)
{
    frmMain w(dialogs);
    auto* label = w.findChild<QLabel*>("Label10");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->accessibleName(), "-6      2");
    w.parameters().ApplyTypeRanges("65");
    EXPECT_EQ(label->accessibleName(), "-3      2");
    EXPECT_TRUE(label->text().contains("-3"));
}

TEST_F(TablesInWindows, ZoneMessagesGoThroughTheWindowsDialogs)
{
    frmpulseMaindemo w(dialogs);
    dialogs.ok();
    w.Grid1->setText(0, 1, "360");
    ASSERT_EQ(dialogs.boxes.size(), 1);
    EXPECT_EQ(dialogs.boxes[0].text, "Please set a value as 0 to 359.99 (deg).");
    EXPECT_EQ(w.Grid1->text(0, 1), "");
}

TEST_F(TablesInWindows, EntryDialogsOnlyWhileSetIsEnabled)
{
    frmMain w(dialogs);
    w.Cmd_Set->setEnabled(false);
    w.Grid1->setText(2, 1, "A");
    w.Grid1->doubleClick(2, 1);  // would open the mode dialog modally
    EXPECT_EQ(w.Grid1->text(2, 1), "A");
}

TEST_F(TablesInWindows, UnknownActuatorTypeEndsTheProgramAfterItsMessage)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            frmMain w(dialogs);
            dialogs.ok();
            // 55 passes the type row's range "50 to 66" but is no actuator type.
            w.Grid2->setText(-1, 1, "55");
            w.parameters().ResetParametersToDefaults();
            std::exit(0);  // not reached when the program ends as it should
        },
        ::testing::ExitedWithCode(1), "");
}
