// The quick-parameter boxes and the typed setting position of the point-input window, driven
// by keys and clicks as the user drives them.
#include "FakeView.h"
#include "ScriptedDialogs.h"
#include "SimLine.h"
#include "data/ParameterTable.h"
#include "ui/frame/PointInputWindow.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace kap;
using namespace kap::test;

namespace {

class QuickBoxes : public ::testing::Test {
protected:
    void SetUp() override
    {
        w.show();
        w.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));  // focus events need an active window
    }

    QLineEdit* edit(const char* name) { return child<QLineEdit>(&w, name); }
    Session& session() { return w.session(); }
    QString row(int prm)
    {
        return session().parameterGrid().text(session().parameters().rowOfPrm(prm).value(),
                                              kValueColumn);
    }
    // The type changes as after a receive: its ranges, the settings as they were.
    void useType(const char* type)
    {
        ParameterTable& t = session().parameters();
        t.setCurrentType(QString::fromLatin1(type));
        ASSERT_EQ(t.SelectDefaultRow(), ParameterTable::TypeCheck::Ok);
        t.ApplyTypeRanges(t.currentType());
    }
    // Focus into the box (which selects its text) and type over it.
    void typeInto(const char* name, const QString& keys)
    {
        edit(name)->setFocus();
        QTest::keyClicks(edit(name), keys);
    }
    bool focused(const char* name) { return QApplication::focusWidget() == edit(name); }
    static bool pink(QLineEdit* e) { return e->styleSheet().contains("#ff80ff"); }
    static bool lightBlue(QLineEdit* e) { return e->styleSheet().contains("#8080ff"); }

    ScratchState clean;
    ScriptedDialogs dialogs;
    PointInputWindow w{dialogs, clean};
};

}  // namespace

TEST_F(QuickBoxes, EnterStoresTheValueAndMovesTheFocusOn)
{
    const struct {
        const char* type;
        const char* box;
        const char* typed;
        int prm;
        const char* stored;
        const char* shown;  // the box afterwards
        const char* next;
    } cases[] = {
        {"50", "Txt_spd", "250", 3, "250", "250", "Txt_Dist"},
        {"60", "Txt_spd", "301", 3, "301", "301", "Txt_Dist"},
        {"50", "Txt_Dist", "055", 4, "55", "55", "Txt_Limit"},
        {"60", "Txt_Limit", "0.25", 10, "25", "0.25", "Txt_spd"},
        // The parameter table turns it back (type 50: 0.50 rps only); the box shows so.
        {"50", "Txt_Limit", "0.30", 10, "50", "0.50", "Txt_spd"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.type) + " " + c.box + " " + c.typed);
        useType(c.type);
        typeInto(c.box, c.typed);
        EXPECT_TRUE(pink(edit(c.box)));
        QTest::keyClick(edit(c.box), Qt::Key_Return);
        EXPECT_EQ(row(c.prm), c.stored);
        EXPECT_EQ(edit(c.box)->text(), c.shown);
        EXPECT_TRUE(focused(c.next) && pink(edit(c.next)) && lightBlue(edit(c.box)));
    }
    EXPECT_TRUE(dialogs.boxes.isEmpty());
}

TEST_F(QuickBoxes, OutOfRangeShowsTheMessageAndRestoresTheBoxFromItsRow)
{
    const struct {
        const char* box;
        const char* typed;
        const char* message;
        const char* restored;
        int prm;
        const char* row;
    } cases[] = {
        {"Txt_spd", "301", "Please set a value as 0 to 300 *10^-6 kg･m^2.", "300", 3, "300"},
        {"Txt_Dist", "0", "Please set a value within 1 to 100%.", "100", 4, "100"},
        {"Txt_Limit", "1.01", "Please set a value within 0.01 to 1.00rps.", "0.50", 10, "50"},
        {"Txt_Limit", "/", "Please set a value within 0.01 to 1.00rps.", "0.50", 10, "50"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.box) + " " + c.typed);
        dialogs.boxes.clear();
        dialogs.ok();
        typeInto(c.box, c.typed);
        QTest::keyClick(edit(c.box), Qt::Key_Return);
        ASSERT_EQ(dialogs.boxes.size(), 1);
        EXPECT_EQ(dialogs.boxes[0].text, QString::fromUtf8(c.message));
        EXPECT_EQ(dialogs.boxes[0].title, "error");
        EXPECT_EQ(dialogs.boxes[0].icon, MsgIcon::Exclamation);
        EXPECT_EQ(dialogs.boxes[0].buttons, MsgButtons::Ok);
        EXPECT_EQ(edit(c.box)->selectedText(), c.restored);  // the whole text
        EXPECT_EQ(edit(c.box)->text(), c.restored);
        EXPECT_TRUE(focused(c.box) && pink(edit(c.box)));
        EXPECT_EQ(row(c.prm), c.row);
    }
}

TEST_F(QuickBoxes, ArrowsMoveAroundTheCycleAndFocusFormatsTheBox)
{
    const struct {
        Qt::Key key;
        const char* from;
        const char* to;
    } steps[] = {{Qt::Key_Down, "Txt_Dist", "Txt_Limit"},
                 {Qt::Key_Down, "Txt_Limit", "Txt_spd"},
                 {Qt::Key_Up, "Txt_spd", "Txt_Limit"}};
    edit("Txt_Limit")->setText(QStringLiteral(".5"));
    edit("Txt_Dist")->setFocus();
    for (const auto& s : steps) {
        QTest::keyClick(edit(s.from), s.key);
        EXPECT_TRUE(focused(s.to) && pink(edit(s.to)) && lightBlue(edit(s.from))) << s.to;
    }
    EXPECT_EQ(edit("Txt_Limit")->selectedText(), QStringLiteral("0.50"));
}

TEST_F(QuickBoxes, KeysOutsideABoxsSetAreDiscarded)
{
    const struct {
        const char* box;
        const char* kept;
    } cases[] = {
        {"Txt_spd", "12/3"},
        {"Txt_Dist", "12/3"},
        {"Txt_Limit", "1.2/3"},
        {"Txt_Pos", "1-.2/3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.box);
        edit(c.box)->clear();
        QTest::keyClicks(edit(c.box), QStringLiteral("1a-.2/ +e3"));
        EXPECT_EQ(edit(c.box)->text(), c.kept);
    }
}

TEST_F(QuickBoxes, TypedPositionReachesThePanelAndIsFormattedOnEnterAndFocusLoss)
{
    QLineEdit* pos = edit("Txt_Pos");
    PanelState& panel = session().panel();
    pos->setFocus();
    EXPECT_TRUE(pink(pos));
    EXPECT_EQ(pos->selectedText(), QStringLiteral("0.00"));

    QTest::keyClicks(pos, QStringLiteral("12.345"));
    EXPECT_EQ(panel.settingPosition(), QStringLiteral("12.345"));
    QTest::keyClick(pos, Qt::Key_Return);
    EXPECT_EQ(pos->text(), QStringLiteral("12.35"));
    EXPECT_EQ(panel.settingPosition(), QStringLiteral("12.35"));

    QTest::keyClicks(pos, QStringLiteral("7"));
    edit("Txt_spd")->setFocus();
    EXPECT_EQ(pos->text(), QStringLiteral("12.36"));
    EXPECT_EQ(panel.settingPosition(), QStringLiteral("12.36"));
    EXPECT_TRUE(lightBlue(pos));

    // While teaching, the box shows the taught angle: the focus neither colours nor formats it.
    session().teachingState().inputMode = 2;
    panel.setSettingPosition(QStringLiteral("7.5"));
    pos->setFocus();
    EXPECT_FALSE(pink(pos));
    EXPECT_EQ(pos->text(), QStringLiteral("7.5"));
}

TEST_F(QuickBoxes, DirectionClickWritesTheRowAndClearsTheFocusColours)
{
    for (const auto& [button, stored] : {std::pair{"OP1_0", "0"}, {"OP1_1", "1"}, {"OP1_0", "0"}}) {
        edit("Txt_Dist")->setFocus();
        auto* b = child<QRadioButton>(&w, button);
        // On the indicator: the button may be wider than what takes a click.
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(b->height() / 2, b->height() / 2));
        EXPECT_EQ(row(5), stored) << button;
        for (const char* name : {"Txt_spd", "Txt_Dist", "Txt_Limit", "Txt_Pos"})
            EXPECT_TRUE(lightBlue(edit(name))) << name;
    }
}

TEST_F(QuickBoxes, EditingAParameterRowRefreshesTheBoxesAndTheStatusBar)
{
    w.run(Command::ShowParameterGrid);
    useType("60");
    const auto seen = [&](const char* name) -> QString {
        auto* o = w.findChild<QWidget*>(QLatin1String(name));
        if (auto* r = qobject_cast<QRadioButton*>(o))
            return r->isChecked() ? QStringLiteral("checked") : QString();
        if (auto* e = qobject_cast<QLineEdit*>(o))
            return e->text();
        return qobject_cast<QLabel*>(o)->text();
    };
    const struct {
        int prm;
        const char* value;
        const char* widget;
        const char* shown;
    } cases[] = {
        {3, "250", "Txt_spd", "250"},
        {10, "25", "Txt_Limit", "0.25"},
        {5, "0", "OP1_0", "checked"},
        {5, "1", "OP1_1", "checked"},
        {35, "-1234", "Panel2_OriginShift", "Origin point shift: -12.34"},
    };
    for (const auto& c : cases) {
        session().parameterGrid().setText(session().parameters().rowOfPrm(c.prm).value(),
                                          kValueColumn, c.value);
        EXPECT_EQ(seen(c.widget), c.shown) << c.prm;
    }
}
