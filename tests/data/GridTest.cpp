#include "data/Grid.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace kap {
namespace {

struct Change {
    int row;
    int column;
    QString text;  // the cell's text when the change was heard
    bool operator==(const Change&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Change& c)
{
    return os << "(" << c.row << "," << c.column << ",\"" << c.text.toStdString() << "\")";
}

// A grid shaped like the parameter table: title row -2, actuator type row -1, rows 0..3.
class GridTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        grid.setColumns(5);
        grid.setFixedRows(2);
        grid.setRows(4);
    }

    // Records every change in the order it is heard, with the text the cell then held.
    void record()
    {
        QObject::connect(&grid, &Grid::cellChanged, &grid, [this](int r, int c) {
            heard.append({r, c, grid.text(r, c)});
        });
    }

    Grid grid;
    QList<Change> heard;
};

TEST_F(GridTest, ProgramWriteOfNewTextIsAChange)
{
    record();
    ASSERT_TRUE(grid.setText(0, 1, QStringLiteral("100")));
    ASSERT_TRUE(grid.setText(-1, 1, QStringLiteral("61")));
    ASSERT_TRUE(grid.setText(0, 1, QString()));
    EXPECT_EQ(heard, (QList<Change>{{0, 1, "100"}, {-1, 1, "61"}, {0, 1, ""}}));
}

TEST_F(GridTest, WritingTheTextAlreadyThereIsNoChange)
{
    grid.setText(2, 1, QStringLiteral("360"));
    record();
    grid.setText(2, 1, QStringLiteral("360"));
    grid.setText(3, 1, QString());  // empty onto empty
    EXPECT_TRUE(heard.isEmpty());
    // Blanks and case make a different text.
    grid.setText(2, 1, QStringLiteral("360 "));
    EXPECT_EQ(heard, (QList<Change>{{2, 1, "360 "}}));
}

TEST_F(GridTest, HandlerRewritingTheSameCellEndsAndSeesTheNewText)
{
    QStringList seenByHandler;
    QObject::connect(&grid, &Grid::cellChanged, &grid, [&](int r, int c) {
        seenByHandler << grid.text(r, c);
        const QString upper = grid.text(r, c).toUpper();
        grid.setText(r, c, upper);  // second pass finds it valid and writes the same text
    });
    record();

    grid.setText(0, 1, QStringLiteral("a"));

    EXPECT_EQ(seenByHandler, (QStringList{"a", "A"}));
    // The nested change is heard first; the outer one continues afterwards with the final text.
    EXPECT_EQ(heard, (QList<Change>{{0, 1, "A"}, {0, 1, "A"}}));
    EXPECT_EQ(grid.text(0, 1), QStringLiteral("A"));
}

TEST_F(GridTest, HandlerWritingOtherCellsNestsInOrder)
{
    QStringList trace;
    QObject::connect(&grid, &Grid::cellChanged, &grid, [&](int r, int c) {
        trace << QStringLiteral("enter %1,%2").arg(r).arg(c);
        if (c == 1) {
            grid.setText(r, 2, grid.text(r, 1) + QStringLiteral("!"));
            grid.setText(r, 3, QStringLiteral("x"));
        }
        trace << QStringLiteral("leave %1,%2").arg(r).arg(c);
    });

    grid.setText(1, 1, QStringLiteral("5"));

    EXPECT_EQ(trace, (QStringList{"enter 1,1", "enter 1,2", "leave 1,2", "enter 1,3", "leave 1,3",
                                  "leave 1,1"}));
    EXPECT_EQ(grid.text(1, 2), QStringLiteral("5!"));

    // The second time the handler's writes equal what is there: only the outer change.
    trace.clear();
    grid.setText(1, 1, QStringLiteral("5 "));
    EXPECT_EQ(trace, (QStringList{"enter 1,1", "enter 1,2", "leave 1,2", "leave 1,1"}));
}

TEST_F(GridTest, FixedRowsAreAddressedWithNegativeNumbers)
{
    EXPECT_EQ(grid.rows(), 4);
    EXPECT_EQ(grid.fixedRows(), 2);
    EXPECT_TRUE(grid.contains(-2, 0));
    EXPECT_FALSE(grid.contains(-3, 0));
    EXPECT_FALSE(grid.contains(4, 0));
    EXPECT_FALSE(grid.contains(0, 5));

    grid.setText(-2, 0, QStringLiteral("No"));
    grid.setText(-1, 0, QStringLiteral("0"));
    grid.setText(0, 0, QStringLiteral("1"));
    EXPECT_EQ(grid.text(-2, 0), QStringLiteral("No"));
    EXPECT_EQ(grid.text(-1, 0), QStringLiteral("0"));
    EXPECT_EQ(grid.text(0, 0), QStringLiteral("1"));
}

TEST_F(GridTest, WritesOutsideTheGridAreRefusedQuietly)
{
    record();
    EXPECT_FALSE(grid.setText(-3, 0, QStringLiteral("x")));
    EXPECT_FALSE(grid.setText(4, 0, QStringLiteral("x")));
    EXPECT_FALSE(grid.setText(0, -1, QStringLiteral("x")));
    EXPECT_TRUE(heard.isEmpty());
    EXPECT_TRUE(grid.text(4, 0).isEmpty());
}

TEST_F(GridTest, ReshapingKeepsTextAndAnnouncesNoCellChange)
{
    grid.setText(-1, 1, QStringLiteral("50"));
    grid.setText(3, 4, QStringLiteral("note"));
    grid.setText(0, 1, QStringLiteral("100"));
    record();
    QSignalSpy shape(&grid, &Grid::shapeChanged);

    grid.setRows(64);
    grid.setColumns(6);
    EXPECT_EQ(grid.text(-1, 1), QStringLiteral("50"));
    EXPECT_EQ(grid.text(3, 4), QStringLiteral("note"));
    EXPECT_TRUE(grid.text(63, 5).isEmpty());

    grid.setRows(1);
    grid.setFixedRows(1);  // drops the actuator type row, keeps -1 as the title row
    EXPECT_EQ(grid.text(0, 1), QStringLiteral("100"));
    EXPECT_FALSE(grid.contains(3, 4));
    EXPECT_FALSE(grid.contains(-2, 0));
    EXPECT_EQ(grid.text(-1, 1), QStringLiteral("50"));
    EXPECT_TRUE(heard.isEmpty());
    EXPECT_EQ(shape.count(), 4);
}

TEST_F(GridTest, NumberReadsTheCellInFull)
{
    grid.setText(0, 1, QStringLiteral("12.5"));
    grid.setText(1, 1, QStringLiteral("**"));
    EXPECT_EQ(grid.number(0, 1), 12.5);
    EXPECT_FALSE(grid.number(1, 1).has_value());
    EXPECT_FALSE(grid.number(2, 1).has_value());  // empty
}

TEST_F(GridTest, TagHoldsTheModifiedMark)
{
    QSignalSpy spy(&grid, &Grid::tagChanged);
    EXPECT_TRUE(grid.tag().isEmpty());
    grid.setTag(QStringLiteral("Change"));
    grid.setTag(QStringLiteral("Change"));
    EXPECT_EQ(grid.tag(), QStringLiteral("Change"));
    grid.setTag(QString());
    EXPECT_TRUE(grid.tag().isEmpty());
    EXPECT_EQ(spy.count(), 2);
}

TEST_F(GridTest, ReadOnlyStopsTypingButNotTheProgram)
{
    QSignalSpy spy(&grid, &Grid::readOnlyChanged);
    grid.setReadOnly(true);
    EXPECT_FALSE(grid.isEditable(0, 1));
    EXPECT_FALSE(grid.isEditable(-1, 1));
    EXPECT_FALSE(grid.typeText(0, 1, QStringLiteral("5")));
    EXPECT_TRUE(grid.text(0, 1).isEmpty());

    record();
    grid.setText(0, 1, QStringLiteral("7"));  // teaching or receive writes while locked
    EXPECT_EQ(heard, (QList<Change>{{0, 1, "7"}}));

    grid.setReadOnly(false);
    EXPECT_TRUE(grid.isEditable(0, 1));
    EXPECT_EQ(spy.count(), 2);
}

TEST_F(GridTest, TitleRowAndReadOnlyColumnsAreNotEditable)
{
    grid.setColumnReadOnly(0, true);
    EXPECT_FALSE(grid.isEditable(-2, 1));  // titles
    EXPECT_TRUE(grid.isEditable(-1, 1));   // actuator type row
    EXPECT_FALSE(grid.isEditable(2, 0));
    EXPECT_TRUE(grid.isEditable(2, 1));
}

TEST_F(GridTest, TypingPassesEveryKeyThroughTheFilterAndWritesOnce)
{
    QList<Change> asked;
    grid.setKeyFilter([&](int r, int c, QChar ch) {
        asked.append({r, c, QString(ch)});
        return ch.isDigit() || ch == QChar(8);
    });
    grid.setText(0, 3, QStringLiteral("99"));
    record();

    EXPECT_TRUE(grid.typeText(0, 3, QStringLiteral("1x2\b3")));

    EXPECT_EQ(grid.text(0, 3), QStringLiteral("13"));
    EXPECT_EQ(heard, (QList<Change>{{0, 3, "13"}}));
    ASSERT_EQ(asked.size(), 5);
    EXPECT_EQ(asked.at(1), (Change{0, 3, "x"}));
    EXPECT_EQ(asked.at(3), (Change{0, 3, QString(QChar(8))}));
}

TEST_F(GridTest, KeysThatAreAllDiscardedLeaveTheCell)
{
    grid.setKeyFilter([](int, int, QChar ch) { return ch.isDigit(); });
    grid.setText(0, 3, QStringLiteral("50"));
    record();
    grid.typeText(0, 3, QStringLiteral("ab"));
    EXPECT_EQ(grid.text(0, 3), QStringLiteral("50"));
    EXPECT_TRUE(heard.isEmpty());
    EXPECT_FALSE(grid.keyPress(0, 3, u'a'));
    EXPECT_TRUE(grid.keyPress(0, 3, u'4'));
}

TEST_F(GridTest, WithoutAFilterEveryKeyPasses)
{
    EXPECT_TRUE(grid.keyPress(0, 4, u'%'));
    grid.typeText(0, 4, QStringLiteral("a b"));
    EXPECT_EQ(grid.text(0, 4), QStringLiteral("a b"));
}

TEST_F(GridTest, CurrentCellMovesOnlyToDataCells)
{
    QSignalSpy spy(&grid, &Grid::currentCellChanged);
    grid.setCurrentCell(2, 3);
    grid.setCurrentCell(2, 3);
    EXPECT_EQ(grid.currentRow(), 2);
    EXPECT_EQ(grid.currentColumn(), 3);
    grid.setCurrentRow(-1);
    EXPECT_EQ(grid.currentRow(), -1);
    grid.setCurrentRow(-2);  // the title row
    grid.setCurrentCell(4, 0);
    grid.setCurrentColumn(5);
    EXPECT_EQ(grid.currentRow(), -1);
    EXPECT_EQ(grid.currentColumn(), 3);
    EXPECT_EQ(spy.count(), 2);
}

TEST_F(GridTest, DoubleClickIsReportedWithItsCell)
{
    QSignalSpy spy(&grid, &Grid::doubleClicked);
    grid.doubleClick(-1, 1);
    grid.doubleClick(9, 1);  // outside: nothing
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toInt(), -1);
    EXPECT_EQ(spy.at(0).at(1).toInt(), 1);
}

TEST_F(GridTest, ColumnsKeepWidthsAndFormats)
{
    QSignalSpy spy(&grid, &Grid::columnsChanged);
    grid.setColumnWidth(2, 100);
    grid.setColumnFormat(2, QStringLiteral("#0.00"));
    grid.setColumnFormat(3, QStringLiteral("#0"));
    grid.setColumnWidth(9, 10);  // no such column
    EXPECT_EQ(grid.columnWidth(2), 100);
    EXPECT_EQ(grid.columnFormat(2), QStringLiteral("#0.00"));
    EXPECT_TRUE(grid.isNumericColumn(2));
    EXPECT_TRUE(grid.isNumericColumn(3));
    EXPECT_FALSE(grid.isNumericColumn(4));
    EXPECT_EQ(spy.count(), 3);
}

TEST_F(GridTest, VisibilityIsAnnouncedOnChangeOnly)
{
    QSignalSpy spy(&grid, &Grid::visibleChanged);
    EXPECT_TRUE(grid.isVisible());
    grid.setVisible(false);
    grid.setVisible(false);
    EXPECT_FALSE(grid.isVisible());
    EXPECT_EQ(spy.count(), 1);
}

}  // namespace
}  // namespace kap
