// The setting tables as the windows use them: typing, the window's flags and labels.
#include "ScriptedDialogs.h"
#include "SimLine.h"
#include "data/Grid.h"
#include "data/ParameterTable.h"
#include "link/ProgramState.h"
#include "ui/frame/PointInputWindow.h"
#include "ui/frame/PulseTrainWindow.h"
#include "ui/grid/GridView.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace kap;
using namespace kap::test;

namespace {

class TablesInWindows : public ::testing::Test {
protected:
    ScratchState clean;
    ScriptedDialogs dialogs;
};

}  // namespace

TEST_F(TablesInWindows, WindowsStartWithTheirTablesAndUnmodified)
{
    PointInputWindow point(dialogs, clean);
    PulseTrainWindow pulse(dialogs, clean);
    EXPECT_EQ(point.session().tableGrid().rows(), 64);
    EXPECT_EQ(point.session().tableGrid().text(-1, 1), " Mode");
    EXPECT_EQ(point.session().tableGrid().text(63, 0), "63");
    EXPECT_EQ(pulse.session().tableGrid().rows(), 4);
    EXPECT_EQ(point.session().parameterGrid().text(-1, 1), "50")
        << "type 50 until something else is known";
    EXPECT_EQ(pulse.session().parameterGrid().text(9, 0), "53");
    EXPECT_FALSE(point.session().isModified());
    EXPECT_FALSE(pulse.session().isModified());
    EXPECT_FALSE(point.session().parameterGrid().isVisible()) << "the point grid is the first view";
    EXPECT_TRUE(pulse.session().parameterGrid().isVisible());
}

TEST_F(TablesInWindows, TypedValuesAreValidatedAndMarkTheData)
{
    PointInputWindow w(dialogs, clean);
    const int acceleration = w.session().parameters().rowOfPrm(4).value();
    ASSERT_TRUE(w.session().parameterGrid().typeText(acceleration, 1, "150"));
    EXPECT_EQ(w.session().parameterGrid().text(acceleration, 1), "100");
    EXPECT_TRUE(w.session().isModified());

    w.session().setModified(false);
    w.session().tableGrid().typeText(3, 1, "a");
    w.session().tableGrid().typeText(3, 2, "12.346");
    w.session().tableGrid().typeText(3, 3, "50");
    EXPECT_EQ(w.session().tableGrid().text(3, 1), "A");
    EXPECT_EQ(w.session().tableGrid().text(3, 2), "12.35");
    EXPECT_TRUE(w.session().isModified());
    EXPECT_FALSE(w.session().tableGrid().keyPress(3, 1, 'x'))
        << "the key filter discards x in Mode";
    EXPECT_TRUE(w.session().tableGrid().keyPress(3, 1, 'b'));
    EXPECT_FALSE(w.session().tableGrid().keyPress(3, 3, '.')) << "speed takes digits only";
    EXPECT_TRUE(w.session().tableGrid().keyPress(3, 2, '-'));
}

TEST_F(TablesInWindows, PulseTrainTypeRowCannotBeTypedOver)
{
    PulseTrainWindow w(dialogs, clean);
    w.session().parameterGrid().setText(-1, 1, "61");
    EXPECT_EQ(w.session().parameterGrid().text(-1, 1), "50");
}

TEST_F(TablesInWindows, InertiaUnitFollowsTheType)
{
    PointInputWindow w(dialogs, clean);
    auto* label = w.findChild<QLabel*>("Label10");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->accessibleName(), "*10^-6 kg.m^2");
    w.session().parameters().ApplyTypeRanges("65");
    EXPECT_EQ(label->accessibleName(), "*10^-3 kg.m^2");
    EXPECT_TRUE(label->text().contains("-3"));
}

TEST_F(TablesInWindows, ZoneMessagesGoThroughTheWindowsDialogs)
{
    PulseTrainWindow w(dialogs, clean);
    dialogs.ok();
    w.session().tableGrid().setText(0, 1, "360");
    ASSERT_EQ(dialogs.boxes.size(), 1);
    EXPECT_EQ(dialogs.boxes[0].text, "Please set a value as 0 to 359.99 (deg).");
    EXPECT_EQ(w.session().tableGrid().text(0, 1), "");
}

TEST_F(TablesInWindows, EntryDialogsOnlyWhileSetIsEnabled)
{
    PointInputWindow w(dialogs, clean);
    w.session().panel().setEnabled(Command::Set, false);
    w.session().tableGrid().setText(2, 1, "A");
    w.session().tableGrid().doubleClick(2, 1);  // would open the mode dialog modally
    EXPECT_EQ(w.session().tableGrid().text(2, 1), "A");
}
