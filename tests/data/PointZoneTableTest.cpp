#include "ScriptedDialogs.h"
#include "SimpleTableHost.h"
#include "data/Keypad.h"
#include "data/PointTable.h"
#include "data/ZoneTable.h"

#include <QQueue>

#include <gtest/gtest.h>

namespace kap {
namespace {

using test::ScriptedDialogs;
using test::SimpleTableHost;

const QString kModeError = "There is an error in operating mode.";
const QString kSpeedError = "Please set a value within 1 to 100.";
const QString kAngleError = "Please set a value as 0 to 359.99 (deg).";

// Answers of the entry dialogs, queued by the test; counts what was asked.
struct FakeEntry : EntryDialogs {
    QString operationMode() override
    {
        ++modeAsked;
        return answers.dequeue();
    }
    QString numericValue() override
    {
        ++keypadAsked;
        return answers.dequeue();
    }
    QQueue<QString> answers;
    int modeAsked = 0;
    int keypadAsked = 0;
};

template <typename Table>
struct Window {
    Window() : table(grid1, host)
    {
        host.onRestoreIdle = [this] { ++restored; };
        host.settingUpFlag = true;
        table.setUp();
        host.settingUpFlag = false;
        table.setEntryDialogs(&entry);
    }
    // Writes cells as the set-up does, without any handling.
    void quietly(int row, int column, const QString& text)
    {
        host.settingUpFlag = true;
        grid1.setText(row, column, text);
        host.settingUpFlag = false;
    }
    ScriptedDialogs dialogs;
    SimpleTableHost host{dialogs};
    Grid grid1;
    Table table;
    FakeEntry entry;
    int restored = 0;
};

using PointWindow = Window<PointTable>;
using ZoneWindow = Window<ZoneTable>;

TEST(PointTableSetUp, SixtyFourNumberedRowsUnderTheHeaders)
{
    PointWindow w;
    EXPECT_EQ(w.grid1.rows(), 64);
    EXPECT_EQ(w.grid1.text(-1, 3), " Speed (%)      ");
    EXPECT_EQ(w.grid1.columnFormat(2), "#0.00");
    EXPECT_EQ(w.grid1.columnWidth(4), 260);
    EXPECT_EQ(w.grid1.text(63, 0), "63");
    EXPECT_TRUE(w.grid1.tag().isEmpty());
}

struct PointRow {
    QString mode, position, speed;
    QString expMode, expPosition, expSpeed;
    QStringList boxes;
};

class PointRowCheck : public ::testing::TestWithParam<PointRow> {};

// The row arrives whole (as from a file) and one change of its note checks all of it.
TEST_P(PointRowCheck, WholeRowIsCheckedOnAnyChange)
{
    const PointRow& p = GetParam();
    PointWindow w;
    w.dialogs.ok(int(p.boxes.size()));
    w.quietly(7, PointTable::ModeColumn, p.mode);
    w.quietly(7, PointTable::PositionColumn, p.position);
    w.quietly(7, PointTable::SpeedColumn, p.speed);
    w.grid1.setText(7, PointTable::NoteColumn, "note");
    EXPECT_EQ(w.grid1.text(7, 1), p.expMode);
    EXPECT_EQ(w.grid1.text(7, 2), p.expPosition);
    EXPECT_EQ(w.grid1.text(7, 3), p.expSpeed);
    EXPECT_EQ(w.dialogs.texts(), p.boxes);
    for (const test::Box& b : w.dialogs.boxes) {
        EXPECT_EQ(b.title, "error");
        EXPECT_EQ(b.icon, MsgIcon::Exclamation);
    }
    EXPECT_EQ(w.grid1.text(7, 4), "note");
    EXPECT_EQ(w.grid1.tag(), "Change");
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PointRowCheck,
    ::testing::Values(
        PointRow{"a", "", "", "A", "", "", {}}, PointRow{"i", "5", "10", "I", "5.00", "10", {}},
        PointRow{"X", "", "", "", "", "", {kModeError}}, PointRow{"B", "5", "50", "B", "", "", {}},
        PointRow{"b", "1", "", "B", "1.00", "", {}}, PointRow{"B", "0", "20", "B", "0.00", "", {}},
        PointRow{"A", "12.3", "", "A", "12.30", "", {}},
        PointRow{"A", "12.346", "", "A", "12.35", "", {}},
        PointRow{"A", "-0.5", "", "A", "-0.50", "", {}},
        PointRow{"A", "1000", "", "A", "1000.00", "", {}},
        PointRow{"A", "abc", "", "A", "", "", {}},
        PointRow{"A", "", "0", "A", "", "", {kSpeedError}},
        PointRow{"A", "", "101", "A", "", "", {kSpeedError}},
        PointRow{"A", "", "100", "A", "", "100", {}}, PointRow{"A", "", "50.5", "A", "", "50", {}},
        PointRow{"A", "", "51.5", "A", "", "52", {}}, PointRow{"A", "", "-5", "A", "", "-5", {}},
        PointRow{"A", "", "x", "A", "", "", {}},
        // 0.4 rounds to 0, which the next pass refuses like a typed 0.
        PointRow{"A", "", "0.4", "A", "", "", {kSpeedError}},
        PointRow{"X", "1.5", "101", "", "1.50", "", {kModeError, kSpeedError}}));

struct Keys {
    int column;
    QString keys;
    QString expected;
};

class PointKeys : public ::testing::TestWithParam<Keys> {};

TEST_P(PointKeys, KeyFilterKeepsOnlyTheColumnsKeys)
{
    const Keys& k = GetParam();
    PointWindow w;
    w.grid1.typeText(0, k.column, k.keys);
    EXPECT_EQ(w.grid1.text(0, k.column), k.expected);
    EXPECT_TRUE(w.dialogs.boxes.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Columns, PointKeys,
                         ::testing::Values(Keys{PointTable::ModeColumn, "a", "A"},
                                           Keys{PointTable::ModeColumn, "x", ""},
                                           Keys{PointTable::ModeColumn, "xi", "I"},
                                           Keys{PointTable::PositionColumn, "1a2.5", "12.50"},
                                           Keys{PointTable::PositionColumn, "-3", "-3.00"},
                                           Keys{PointTable::SpeedColumn, "5-0.", "50"},
                                           Keys{PointTable::NoteColumn, "Any text!", "Any text!"}));

TEST(PointTableEntry, DialogResultIsWrittenAndCancelLeavesTheCell)
{
    PointWindow w;
    w.grid1.setText(3, PointTable::SpeedColumn, "40");
    w.entry.answers << ""
                    << "50.5";
    w.grid1.doubleClick(3, PointTable::SpeedColumn);
    EXPECT_EQ(w.grid1.text(3, PointTable::SpeedColumn), "40");
    w.grid1.doubleClick(3, PointTable::SpeedColumn);
    EXPECT_EQ(w.grid1.text(3, PointTable::SpeedColumn), "50");

    w.entry.answers << "B";
    w.grid1.doubleClick(3, PointTable::ModeColumn);
    EXPECT_EQ(w.grid1.text(3, PointTable::ModeColumn), "B");
    EXPECT_EQ(w.grid1.text(3, PointTable::SpeedColumn), "");
    EXPECT_EQ(w.entry.modeAsked, 1);
    EXPECT_EQ(w.entry.keypadAsked, 2);

    // A refused value leaves the set-aside text too.
    w.grid1.setText(4, PointTable::PositionColumn, "3");
    w.entry.answers << "abc";
    w.grid1.doubleClick(4, PointTable::PositionColumn);
    EXPECT_EQ(w.grid1.text(4, PointTable::PositionColumn), "3.00");
}

TEST(PointTableEntry, NoDialogWhileSetIsDisabledOrOnOtherColumns)
{
    PointWindow w;
    w.host.setEnabled = false;
    w.grid1.doubleClick(0, PointTable::ModeColumn);
    w.host.setEnabled = true;
    w.grid1.doubleClick(0, PointTable::NoteColumn);
    w.grid1.doubleClick(0, PointTable::NoColumn);
    EXPECT_EQ(w.entry.modeAsked + w.entry.keypadAsked, 0);
}

struct ZoneRow {
    QString a, b;
    QString expA, expB;
    int boxes;
};

class ZoneRowCheck : public ::testing::TestWithParam<ZoneRow> {};

TEST_P(ZoneRowCheck, BothAnglesAreCheckedOnEveryChange)
{
    const ZoneRow& z = GetParam();
    ZoneWindow w;
    w.dialogs.ok(z.boxes);
    w.quietly(2, ZoneTable::AngleAColumn, z.a);
    w.quietly(2, ZoneTable::AngleBColumn, z.b);
    w.grid1.setText(2, ZoneTable::NoteColumn, "n");
    EXPECT_EQ(w.grid1.text(2, 1), z.expA);
    EXPECT_EQ(w.grid1.text(2, 2), z.expB);
    ASSERT_EQ(w.dialogs.boxes.size(), z.boxes);
    for (const test::Box& b : w.dialogs.boxes) {
        EXPECT_EQ(b.text, kAngleError);
        EXPECT_EQ(b.title, "error");
        EXPECT_EQ(b.icon, MsgIcon::Exclamation);
    }
    EXPECT_EQ(w.grid1.tag(), "Change");
}

INSTANTIATE_TEST_SUITE_P(Rows, ZoneRowCheck,
                         ::testing::Values(ZoneRow{"359.99", "", "359.99", "", 0},
                                           ZoneRow{"360", "", "", "", 1},
                                           ZoneRow{"-0.01", "10", "", "10.00", 1},
                                           ZoneRow{"12.5", "0", "12.50", "0.00", 0},
                                           ZoneRow{"300", "100", "300.00", "100.00",
                                                   0},  // A above B is the user's affair
                                           ZoneRow{"400", "-1", "", "", 2}));

TEST(ZoneTable, SetUpKeysAndTeaching)
{
    ZoneWindow w;
    EXPECT_EQ(w.grid1.rows(), 4);
    EXPECT_EQ(w.grid1.text(-1, 1), "Zone angle A (deg)     ");
    EXPECT_EQ(w.grid1.columnWidth(3), 285);
    EXPECT_EQ(w.grid1.text(3, 0), "3");

    w.grid1.typeText(0, ZoneTable::AngleAColumn, "1x2.5");
    EXPECT_EQ(w.grid1.text(0, 1), "12.50");

    w.host.teachingFlag = true;
    w.grid1.setTag({});
    w.grid1.setText(1, ZoneTable::AngleBColumn, "400");
    EXPECT_EQ(w.grid1.text(1, 2), "400");
    EXPECT_TRUE(w.grid1.tag().isEmpty());
    EXPECT_TRUE(w.dialogs.boxes.isEmpty());
}

TEST(ZoneTable, UnreadableAngleIsEmptiedAndTheWindowRestored)
{
    ZoneWindow w;
    w.quietly(0, ZoneTable::AngleAColumn, "1.2.3");
    w.grid1.setText(0, ZoneTable::NoteColumn, "keep");
    EXPECT_EQ(w.grid1.text(0, 1), "");
    EXPECT_EQ(w.grid1.text(0, 3), "keep");
    EXPECT_GE(w.restored, 1);
    EXPECT_TRUE(w.dialogs.boxes.isEmpty());
}

TEST(ZoneTable, KeypadOnAnglesOnly)
{
    ZoneWindow w;
    w.entry.answers << "45"
                    << "";
    w.grid1.doubleClick(0, ZoneTable::AngleBColumn);
    EXPECT_EQ(w.grid1.text(0, 2), "45.00");
    w.grid1.doubleClick(0, ZoneTable::AngleBColumn);
    EXPECT_EQ(w.grid1.text(0, 2), "45.00");
    w.grid1.doubleClick(0, ZoneTable::NoteColumn);
    EXPECT_EQ(w.entry.keypadAsked, 2);
}

// A note longer than the grids hold is not taken: the cell keeps its note and the status bar
// says why.
template <typename Table>
void expectNoteEntry(int length, bool taken)
{
    Window<Table> w;
    w.quietly(1, Table::NoteColumn, "old");
    const QString note(length, u'n');
    w.grid1.typeText(1, Table::NoteColumn, note);
    EXPECT_EQ(w.grid1.text(1, Table::NoteColumn), taken ? note : "old") << length;
    EXPECT_EQ(w.host.statusMessages.join(u'|'),
              taken ? ""
                    : "A note holds at most 1000 characters; this one has 1001 and was not taken.");
}

TEST(NoteEntry, ANoteOverAThousandCharactersIsRefusedWithTheReason)
{
    for (const auto& [length, taken] : {std::pair{1000, true}, std::pair{1001, false}}) {
        expectNoteEntry<PointTable>(length, taken);
        expectNoteEntry<ZoneTable>(length, taken);
    }
}

struct KeySequence {
    QString keys;  // 'C' is CLR
    QString shown;
};

class KeypadKeys : public ::testing::TestWithParam<KeySequence> {};

TEST_P(KeypadKeys, ValueTextFollowsTheKeys)
{
    Keypad pad;
    pad.pressAll(GetParam().keys);
    EXPECT_EQ(pad.value(), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(Sequences, KeypadKeys,
                         ::testing::Values(KeySequence{"", "0"}, KeySequence{"-5", "-5"},
                                           KeySequence{"5..2", "5.2"}, KeySequence{"12C", "0"},
                                           KeySequence{"0", "0"}, KeySequence{"00", "0"},
                                           KeySequence{"10", "10"}, KeySequence{"-", "-0"},
                                           KeySequence{"--", "0"}, KeySequence{"5-", "-5"},
                                           KeySequence{"5--", "5"}, KeySequence{"1.5C.5", "0.5"},
                                           KeySequence{".", "0."}));

}  // namespace
}  // namespace kap
