#include "ui/grid/GridView.h"
#include "data/Numbers.h"

#include <QApplication>
#include <QDialog>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

// Readable failure messages for texts.
static void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace kap {
namespace {

// A parameter-like grid (title row -2, actuator type row -1) shown in an active window.
class GridViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        grid.setColumns(3);
        grid.setFixedRows(2);
        grid.setRows(3);
        const QStringList titles{"No", "Setting Value", "                 Note"};
        for (int c = 0; c < 3; ++c)
            grid.setText(-2, c, titles.at(c));
        grid.setText(-1, 0, QStringLiteral("0"));
        grid.setText(-1, 1, QStringLiteral("50"));
        grid.setColumnWidth(0, 25);
        grid.setColumnWidth(1, 70);
        grid.setColumnWidth(2, 255);
        grid.setColumnFormat(1, QStringLiteral("#0"));
        view = new GridView(&grid);
        view->resize(500, 300);
        view->show();
        view->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(view));
        view->setFocus();
        QObject::connect(&grid, &Grid::cellChanged, &grid, [this](int r, int c) {
            changes << QStringLiteral("%1,%2=%3").arg(r).arg(c).arg(grid.text(r, c));
        });
    }

    void TearDown() override { delete view; }

    // Types into whatever has the focus, as a user's keyboard does.
    void type(const QString& keys)
    {
        for (const QChar ch : keys)
            QTest::keyClick(QApplication::focusWidget(), ch.toLatin1());
    }
    void press(Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); }

    void select(int row, int column)
    {
        view->setCurrentIndex(view->indexOf(row, column));
        ASSERT_EQ(grid.currentRow(), row);
        ASSERT_EQ(grid.currentColumn(), column);
    }

    Grid grid;
    GridView* view = nullptr;
    QStringList changes;
};

TEST_F(GridViewTest, TypedEntryIsOneChangeWithTheFinalText)
{
    select(0, 1);
    type(QStringLiteral("150"));
    EXPECT_TRUE(view->isEditing());
    EXPECT_TRUE(changes.isEmpty());  // nothing reaches the grid while typing
    press(Qt::Key_Return);
    QCoreApplication::processEvents();

    EXPECT_FALSE(view->isEditing());
    EXPECT_EQ(changes, QStringList{"0,1=150"});
    EXPECT_EQ(view->indexOf(0, 1).data().toString(), QStringLiteral("150"));
}

TEST_F(GridViewTest, EntryReplacesTheCellAndBackspaceEdits)
{
    grid.setText(1, 1, QStringLiteral("999"));
    changes.clear();
    select(1, 1);
    type(QStringLiteral("12"));
    press(Qt::Key_Backspace);
    type(QStringLiteral("5"));
    press(Qt::Key_Tab);
    QCoreApplication::processEvents();
    EXPECT_EQ(changes, QStringList{"1,1=15"});
}

TEST_F(GridViewTest, DiscardedKeysNeverReachTheCell)
{
    QString asked;
    grid.setKeyFilter([&](int r, int c, QChar ch) {
        EXPECT_EQ(r, 0);
        EXPECT_EQ(c, 1);
        asked.append(ch);
        return ch.isDigit();
    });
    select(0, 1);
    type(QStringLiteral("x"));
    EXPECT_FALSE(view->isEditing());  // a discarded first key opens no editor

    type(QStringLiteral("1a2"));
    press(Qt::Key_Enter);
    QCoreApplication::processEvents();

    EXPECT_EQ(changes, QStringList{"0,1=12"});
    EXPECT_EQ(asked, QStringLiteral("x1a2"));  // each key asked once
}

TEST_F(GridViewTest, AnEntryTheGridRefusesLeavesTheCell)
{
    grid.setEntryCheck([](int, int, const QString& text) { return text.size() <= 3; });
    grid.setText(1, 2, QStringLiteral("old"));
    for (const auto& [typed, held] : {std::pair{"long", "old"}, std::pair{"new", "new"}}) {
        select(1, 2);
        type(QString::fromLatin1(typed));
        press(Qt::Key_Return);
        QCoreApplication::processEvents();
        EXPECT_EQ(grid.text(1, 2), held) << typed;
        EXPECT_EQ(view->indexOf(1, 2).data().toString(), held) << typed;
    }
}

TEST_F(GridViewTest, BackspaceReachesTheFilterAsCharacterEight)
{
    bool backspaceAllowed = false;
    grid.setKeyFilter([&](int, int, QChar ch) { return ch != QChar(8) || backspaceAllowed; });
    select(0, 1);
    type(QStringLiteral("12"));
    press(Qt::Key_Backspace);  // refused
    backspaceAllowed = true;
    type(QStringLiteral("3"));
    press(Qt::Key_Backspace);
    press(Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(changes, QStringList{"0,1=12"});
}

TEST_F(GridViewTest, EscapeDropsTheEntry)
{
    select(0, 1);
    type(QStringLiteral("77"));
    press(Qt::Key_Escape);
    QCoreApplication::processEvents();
    EXPECT_FALSE(view->isEditing());
    EXPECT_TRUE(changes.isEmpty());
    EXPECT_TRUE(grid.text(0, 1).isEmpty());
}

TEST_F(GridViewTest, ReadOnlyGridTakesNoTyping)
{
    grid.setReadOnly(true);
    select(0, 1);
    type(QStringLiteral("5"));
    press(Qt::Key_Return);
    EXPECT_FALSE(view->isEditing());
    EXPECT_TRUE(changes.isEmpty());

    grid.setReadOnly(false);
    type(QStringLiteral("5"));
    press(Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(changes, QStringList{"0,1=5"});
}

TEST_F(GridViewTest, LockingTheGridEndsAnEntryWithoutWriting)
{
    select(0, 1);
    type(QStringLiteral("42"));
    grid.setReadOnly(true);
    QCoreApplication::processEvents();
    EXPECT_FALSE(view->isEditing());
    EXPECT_TRUE(changes.isEmpty());
}

TEST_F(GridViewTest, EndEditingDropsWhatWasTyped)
{
    select(2, 2);
    type(QStringLiteral("note"));
    grid.endEditing();
    QCoreApplication::processEvents();
    EXPECT_FALSE(view->isEditing());
    EXPECT_TRUE(changes.isEmpty());
}

TEST_F(GridViewTest, HandlerRewritingTheEntryIsShown)
{
    QObject::connect(&grid, &Grid::cellChanged, &grid, [this](int r, int c) {
        if (!numbers::isNumber(grid.text(r, c)))
            grid.setText(r, c, grid.text(-1, c));  // back to the value above, as a table does
    });
    select(0, 1);
    type(QStringLiteral("x"));
    press(Qt::Key_Return);
    QCoreApplication::processEvents();
    // The entry, then the handler's own write, each heard once (this recorder listens
    // before the handler, so it hears the entry's text).
    EXPECT_EQ(changes, (QStringList{"0,1=x", "0,1=50"}));
    EXPECT_EQ(view->indexOf(0, 1).data().toString(), QStringLiteral("50"));
}

TEST_F(GridViewTest, ModalBoxDuringTheChangeCausesNoSecondChange)
{
    // A table's handler may show a message box while the editor is still closing.
    QObject::connect(&grid, &Grid::cellChanged, &grid, [this](int r, int c) {
        if (grid.text(r, c) != QStringLiteral("400"))
            return;
        QDialog box(view);
        QTimer::singleShot(0, &box, &QDialog::accept);
        box.exec();
        grid.setText(r, c, QStringLiteral("360"));
    });
    select(0, 1);
    type(QStringLiteral("400"));
    press(Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(changes, (QStringList{"0,1=400", "0,1=360"}));
    EXPECT_EQ(grid.text(0, 1), QStringLiteral("360"));
    EXPECT_FALSE(view->isEditing());
}

TEST_F(GridViewTest, FixedRowsBecomeTitlesAndFirstRows)
{
    EXPECT_EQ(view->model()->rowCount(), 4);  // type row + 3 scrolling rows
    EXPECT_EQ(view->model()->headerData(1, Qt::Horizontal).toString(),
              QStringLiteral("Setting Value"));
    EXPECT_EQ(view->model()->index(0, 1).data().toString(), QStringLiteral("50"));
    EXPECT_EQ(view->gridRow(0), -1);
    EXPECT_EQ(view->gridRow(1), 0);
    EXPECT_FALSE(view->indexOf(-2, 0).isValid());

    grid.setText(-2, 1, QStringLiteral("Value"));
    grid.setText(-1, 1, QStringLiteral("61"));
    EXPECT_EQ(view->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Value"));
    EXPECT_EQ(view->model()->index(0, 1).data().toString(), QStringLiteral("61"));

    select(-1, 1);
    type(QStringLiteral("62"));
    press(Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(changes.last(), QStringLiteral("-1,1=62"));
}

TEST_F(GridViewTest, OneFixedRowIsTheTitleOnly)
{
    Grid points;
    points.setColumns(2);
    points.setFixedRows(1);
    points.setRows(64);
    points.setText(-1, 0, QStringLiteral("No  "));
    GridView v(&points);
    EXPECT_EQ(v.model()->rowCount(), 64);
    EXPECT_EQ(v.gridRow(0), 0);
    EXPECT_EQ(v.model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("No  "));
}

TEST_F(GridViewTest, CurrentCellFollowsBothWays)
{
    grid.setCurrentCell(2, 2);
    EXPECT_EQ(view->currentIndex(), view->indexOf(2, 2));
    press(Qt::Key_Up);
    EXPECT_EQ(grid.currentRow(), 1);
    EXPECT_EQ(grid.currentColumn(), 2);
}

TEST_F(GridViewTest, DoubleClickIsForwardedAndOpensNoEditor)
{
    QSignalSpy spy(&grid, &Grid::doubleClicked);
    const QRect cell = view->visualRect(view->indexOf(1, 2));
    // What a mouse sends: press, release, double-click, release.
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, cell.center());
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toInt(), 1);
    EXPECT_EQ(spy.at(0).at(1).toInt(), 2);
    EXPECT_FALSE(view->isEditing());
}

TEST_F(GridViewTest, NumericColumnsAreRightAligned)
{
    const auto align = [this](int c) {
        return Qt::Alignment(view->indexOf(0, c).data(Qt::TextAlignmentRole).toInt());
    };
    EXPECT_TRUE(align(1) & Qt::AlignRight);
    EXPECT_TRUE(align(2) & Qt::AlignLeft);
    grid.setColumnFormat(2, QStringLiteral("#0.00"));
    EXPECT_TRUE(align(2) & Qt::AlignRight);
}

TEST_F(GridViewTest, ColumnsGrowWithTheFontAndFitTheirTitles)
{
    const int before = view->columnWidth(1);
    EXPECT_GE(before, 70);
    QFont big = view->font();
    big.setPointSize(big.pointSize() * 3);
    view->setFont(big);
    EXPECT_GT(view->columnWidth(1), before);
    const QFontMetrics fm(big);
    EXPECT_GE(view->columnWidth(1), fm.horizontalAdvance(QStringLiteral("Setting Value")));
}

TEST_F(GridViewTest, VisibilityFollowsTheGrid)
{
    grid.setVisible(false);
    EXPECT_FALSE(view->isVisible());
    grid.setVisible(true);
    EXPECT_TRUE(view->isVisible());
}

TEST_F(GridViewTest, GridNameNamesTheView)
{
    view->setGridName(QStringLiteral("Grid2"));
    EXPECT_EQ(view->objectName(), QStringLiteral("Grid2"));
    EXPECT_EQ(view->accessibleName(), QStringLiteral("Grid2"));
}

}  // namespace
}  // namespace kap

namespace kap {

TEST_F(GridViewTest, TheTypeRowStaysInViewWhileTheRowsScroll)
{
    grid.setRows(60);
    for (int r = 0; r < 60; ++r)
        grid.setText(r, 0, QString::number(r + 1));
    view->resize(400, 200);
    QApplication::processEvents();
    const auto* fixed = view->findChild<QTableView*>("fixedRows");
    ASSERT_NE(fixed, nullptr);
    const QPoint topLeftCell = view->viewport()->geometry().topLeft() + QPoint(5, 3);
    // What a user sees in the first visual row: the cell under the viewport's top edge.
    const auto firstVisibleRowText = [&] {
        QWidget* shown = view->childAt(topLeftCell);
        const QTableView* table = shown == fixed->viewport() ? fixed
                                                             : static_cast<QTableView*>(view);
        const QPoint at = table->viewport()->mapFrom(view, topLeftCell);
        return table->indexAt(at).data().toString();
    };
    EXPECT_EQ(firstVisibleRowText(), "0") << "the type row at the top";

    view->scrollToBottom();
    QApplication::processEvents();
    EXPECT_EQ(firstVisibleRowText(), "0") << "still there at the bottom of the table";

    // A row asked to be shown never hides under the type row.
    for (int r : {30, 10, 0}) {
        grid.setCurrentCell(r, 1);
        QApplication::processEvents();
        const QRect cell = view->visualRect(view->indexOf(r, 1));
        const int coveredUntil = fixed->isVisible()
                                     ? fixed->geometry().bottom() - view->viewport()->y()
                                     : -1;
        EXPECT_GT(cell.top(), coveredUntil) << "row " << r;
        EXPECT_LT(cell.bottom(), view->viewport()->height()) << "row " << r;
        EXPECT_EQ(firstVisibleRowText(), "0") << "the type row, whichever cell is current";
    }

    // Back at the top the rows stand in their own places.
    view->scrollToTop();
    QApplication::processEvents();
    EXPECT_FALSE(fixed->isVisible());
}

}  // namespace kap
