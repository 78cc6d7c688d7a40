// The calculator window as a user drives it: model options, the four input boxes, Enter,
// the two buttons, the boxes it shows and the results it leaves on screen.
#include "ui/toolwindows/SpeedCalculatorWindow.h"
#include "ScriptedDialogs.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using namespace kap;
using namespace kap::test;

namespace {

const char* const kTitle = "Rotary operating speed calculation";
const char* const kMicro = "*10^-6 kg * m^2";
const char* const kMilli = "*10^-3 kg * m^2";

class SpeedCalculatorWindowTest : public ::testing::Test {
protected:
    ScriptedDialogs dialogs;
    std::unique_ptr<SpeedCalculatorWindow> window =
        std::make_unique<SpeedCalculatorWindow>(dialogs);

    QLineEdit* box(const char* name) { return window->findChild<QLineEdit*>(name); }
    QRadioButton* option(int i)
    {
        return window->findChild<QRadioButton*>(QStringLiteral("Option1_%1").arg(i));
    }
    QString text(const char* name) { return box(name)->text(); }
    void type(const char* name, const QString& value) { box(name)->setText(value); }
    void setInputs(const QString& J, const QString& theta, const QString& V, const QString& A)
    {
        type("Text1", J);
        type("Text2", theta);
        type("Text3", V);
        type("Text4", A);
    }
    void start() { window->findChild<QPushButton*>("Command1")->click(); }
    QString limit() { return window->findChild<QLabel*>("lblInertiaLimit")->text(); }
    QString unit() { return window->findChild<QLabel*>("lblInertiaUnit")->text(); }
};

}  // namespace

TEST_F(SpeedCalculatorWindowTest, OpensWithItsInitialTextsAndCaptions)
{
    EXPECT_EQ(window->windowTitle(), "Rotary Actuator Operating Speed Calculation");
    EXPECT_EQ(window->findChild<QGroupBox*>("Frame4")->title(), "Select robot type");
    EXPECT_EQ(window->findChild<QGroupBox*>("Frame3")->title(), "Calculation results");
    EXPECT_EQ(window->findChild<QPushButton*>("Command1")->text(), "Start calculation");
    EXPECT_EQ(window->findChild<QPushButton*>("Command2")->text(), "Close");
    const char* captions[] = {"61 : TALOR3A (TALOR3)",
                              "62 : TALOR5A (TALOR5)",
                              "63 : TALOR10A (TALOR10)",
                              "64 : TALOR20A (TALOR20)",
                              "50 : TALOR1A",
                              "65 : TALOR40",
                              "66 : TALOR60"};
    for (int i = 0; i < 7; ++i) {
        ASSERT_NE(option(i), nullptr) << i;
        EXPECT_EQ(option(i)->text(), captions[i]);
    }
    EXPECT_EQ(text("Text1"), "1");
    EXPECT_EQ(text("Text2"), "90");
    EXPECT_EQ(text("Text3"), "100");
    EXPECT_EQ(text("Text4"), "100");
    EXPECT_EQ(text("Text13"), "");
    EXPECT_EQ(text("Text15"), "");
    EXPECT_TRUE(option(0)->isChecked());
    EXPECT_EQ(limit(), "Max. input value for load inertia is 1000.");
    EXPECT_EQ(unit(), kMicro);
}

TEST_F(SpeedCalculatorWindowTest, EveryBoxIsNamedByTheLabelBesideIt)
{
    const struct {
        const char* box;
        const char* name;
    } cases[] = {{"Text1", "Load Inertia"}, {"Text2", "Setting Range"},
                 {"Text3", "Speed"},        {"Text4", "Acceleration"},
                 {"Text13", "Max Speed"},   {"Text15", "Max Acceleration"}};
    for (const auto& c : cases) {
        ASSERT_NE(box(c.box), nullptr) << c.box;
        EXPECT_EQ(box(c.box)->accessibleName(), c.name) << c.box;
        bool labelled = false;
        for (QLabel* label : window->findChildren<QLabel*>())
            labelled = labelled || (label->buddy() == box(c.box) && label->text() == c.name);
        EXPECT_TRUE(labelled) << c.box;
    }
}

struct TypeCase {
    const char* type;
    int option;
    const char* text1;  // a fresh window shows "1" until another model is chosen
    const char* limit;
    const char* unit;
};

TEST_F(SpeedCalculatorWindowTest, OpeningPreselectsTheModelOfTheActuatorType)
{
    const TypeCase cases[] = {
        {"61", 0, "1", "Max. input value for load inertia is 1000.", kMicro},
        {"62", 1, "3000", "Max. input value for load inertia is 3000.", kMicro},
        {"63", 2, "2000", "Max. input value for load inertia is 2000.", kMicro},
        {"64", 3, "20000", "Max. input value for load inertia is 20000.", kMicro},
        {"50", 4, "300", "Max. input value for load inertia is 300.", kMicro},
        {"65", 5, "50", "Max. input value for load inertia is 50.", kMilli},
        {"66", 6, "100", "Max. input value for load inertia is 100.", kMilli},
    };
    for (const TypeCase& c : cases) {
        SCOPED_TRACE(c.type);
        window = std::make_unique<SpeedCalculatorWindow>(dialogs);
        window->openFor(QString::fromLatin1(c.type));
        EXPECT_TRUE(window->isVisible());
        EXPECT_TRUE(option(c.option)->isChecked());
        EXPECT_EQ(window->selectedModel(), c.option);
        EXPECT_EQ(text("Text1"), c.text1);
        EXPECT_EQ(limit(), c.limit);
        EXPECT_EQ(unit(), c.unit);
    }
}

TEST_F(SpeedCalculatorWindowTest, AnUnknownTypeKeepsTheModelAndTheLoadInertia)
{
    option(3)->click();
    type("Text1", "123");
    for (const char* other : {"60", "99", "", "**", " 61", "61.0"}) {
        window->openFor(QString::fromLatin1(other));
        EXPECT_TRUE(option(3)->isChecked()) << other;
        EXPECT_EQ(text("Text1"), "123") << other;
    }
}

TEST_F(SpeedCalculatorWindowTest, ChoosingAModelSetsLimitLoadInertiaAndUnit)
{
    const TypeCase cases[] = {
        {"", 5, "50", "Max. input value for load inertia is 50.", kMilli},
        {"", 4, "300", "Max. input value for load inertia is 300.", kMicro},
        {"", 6, "100", "Max. input value for load inertia is 100.", kMilli},
        {"", 1, "3000", "Max. input value for load inertia is 3000.", kMicro},
        {"", 0, "1000", "Max. input value for load inertia is 1000.", kMicro},
        {"", 3, "20000", "Max. input value for load inertia is 20000.", kMicro},
        {"", 2, "2000", "Max. input value for load inertia is 2000.", kMicro},
    };
    for (const TypeCase& c : cases) {
        SCOPED_TRACE(c.option);
        type("Text1", "7");
        option(c.option)->click();
        EXPECT_EQ(text("Text1"), c.text1);
        EXPECT_EQ(limit(), c.limit);
        EXPECT_EQ(unit(), c.unit);
    }
    EXPECT_TRUE(dialogs.boxes.isEmpty());
}

// Model 61 at J = 1000, 90 degrees, 100 %, 100 %: a = 0.1, b = 0.6, the move reaches full
// speed (thetaA = 60): w = 1/0.6 = 1.6667 rps, alpha = 2pi * w / 0.1 = 104.7198 rad/s^2,
// T = 0.25 / w + 0.1 = 0.25 s.
TEST_F(SpeedCalculatorWindowTest, StartButtonAndEnterInEachInputBoxRunTheCalculation)
{
    for (const char* where : {"Command1", "Text1", "Text2", "Text3", "Text4"}) {
        SCOPED_TRACE(where);
        type("Text13", "");
        type("Text15", "");
        setInputs("1000", "90", "100", "100");
        if (QString::fromLatin1(where) == "Command1")
            start();
        else
            QTest::keyClick(box(where), Qt::Key_Return);
        EXPECT_EQ(text("Text13"), "1.667");
        EXPECT_EQ(text("Text15"), "104.720");
    }
    // The keypad's Enter runs it too.
    type("Text13", "");
    QTest::keyClick(box("Text3"), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(text("Text13"), "1.667");
    EXPECT_TRUE(dialogs.boxes.isEmpty());
    ASSERT_TRUE(window->lastResult());
    EXPECT_NEAR(window->lastResult()->movingTime, 0.25f, 1e-6f);
}

TEST_F(SpeedCalculatorWindowTest, EnterInAResultBoxDoesNotRun)
{
    setInputs("1000", "0", "100", "100");  // would show a box if it ran
    QTest::keyClick(box("Text13"), Qt::Key_Return);
    EXPECT_TRUE(dialogs.boxes.isEmpty());
    EXPECT_EQ(text("Text13"), "");
}

struct CheckCase {
    int option;
    const char* inputs[4];  // J, theta, V, A as typed
    const char* message;
    const char* after[4];  // the four boxes after the box
};

TEST_F(SpeedCalculatorWindowTest, EveryInputCheckShowsItsBoxAndResetsItsField)
{
    const char* blank = "Blank in input field.";
    const char* zero = "Cannot input 0 to moving distance and speed.";
    const char* negative = "Cannot input 0 or less to moving distance and speed.";
    const CheckCase cases[] = {
        // Angle, speed or acceleration empty or not a number: all three return.
        {0, {"500", "", "50", "20"}, blank, {"500", "90", "100", "100"}},
        {0, {"500", "45", "abc", "20"}, blank, {"500", "90", "100", "100"}},
        {0, {"500", "45", "50", "1e2"}, blank, {"500", "90", "100", "100"}},
        // An empty load inertia returns to the model's maximum.
        {2, {"", "45", "50", "20"}, blank, {"2000", "45", "50", "20"}},
        {5, {"", "45", "50", "20"}, blank, {"50", "45", "50", "20"}},
        // Zero, then negative, each resetting only its own box.
        {0, {"500", "0", "50", "20"}, zero, {"500", "90", "50", "20"}},
        {0, {"500", "45", "0", "20"}, zero, {"500", "45", "100", "20"}},
        {0, {"500", "45", "50", "0.0"}, zero, {"500", "45", "50", "100"}},
        {0, {"500", "-45", "50", "20"}, negative, {"500", "90", "50", "20"}},
        {0, {"500", "45", "-50", "20"}, negative, {"500", "45", "100", "20"}},
        {0, {"500", "45", "50", "-1"}, negative, {"500", "45", "50", "100"}},
        // Zero checks come before the negative ones.
        {0, {"500", "-45", "0", "20"}, zero, {"500", "-45", "100", "20"}},
        // A load inertia that is not a number ends the run and keeps what was typed.
        {0, {"12kg", "45", "50", "20"}, blank, {"12kg", "45", "50", "20"}},
    };
    for (const CheckCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.inputs[0] << " / " << c.inputs[1] << " / "
                                        << c.inputs[2] << " / " << c.inputs[3]);
        window = std::make_unique<SpeedCalculatorWindow>(dialogs);
        option(c.option)->click();
        setInputs(c.inputs[0], c.inputs[1], c.inputs[2], c.inputs[3]);
        dialogs.boxes.clear();
        dialogs.ok();
        start();
        ASSERT_EQ(dialogs.boxes.size(), 1);
        EXPECT_EQ(dialogs.boxes[0].text, c.message);
        EXPECT_EQ(dialogs.boxes[0].title, kTitle);
        EXPECT_EQ(dialogs.boxes[0].icon, MsgIcon::Critical);
        EXPECT_EQ(dialogs.boxes[0].buttons, MsgButtons::Ok);
        EXPECT_EQ(text("Text1"), c.after[0]);
        EXPECT_EQ(text("Text2"), c.after[1]);
        EXPECT_EQ(text("Text3"), c.after[2]);
        EXPECT_EQ(text("Text4"), c.after[3]);
        EXPECT_TRUE(option(c.option)->isChecked());
        EXPECT_EQ(text("Text13"), "") << "a failed check shows no result";
        EXPECT_EQ(text("Text15"), "");
    }
}

TEST_F(SpeedCalculatorWindowTest, ARefusedLoadInertiaKeepsTheLastResult)
{
    setInputs("1000", "90", "100", "100");
    start();
    ASSERT_EQ(text("Text13"), "1.667");
    ASSERT_EQ(text("Text15"), "104.720");

    type("Text1", "1000.5");
    type("Text2", "10");
    dialogs.ok();
    start();
    ASSERT_EQ(dialogs.boxes.size(), 1);
    EXPECT_EQ(dialogs.boxes[0].text, "Cannot compute due to input data error.");
    EXPECT_EQ(dialogs.boxes[0].title, kTitle);
    EXPECT_EQ(dialogs.boxes[0].icon, MsgIcon::Critical);
    EXPECT_EQ(text("Text1"), "1000");
    EXPECT_EQ(text("Text2"), "10");
    EXPECT_EQ(text("Text13"), "1.667");
    EXPECT_EQ(text("Text15"), "104.720");
    ASSERT_TRUE(window->lastResult());
    EXPECT_NEAR(window->lastResult()->movingTime, 0.25f, 1e-6f);
}

TEST_F(SpeedCalculatorWindowTest, ARefusedLoadInertiaBeforeAnyResultShowsZeros)
{
    const struct {
        int option;
        const char* J;
        const char* reset;
        const char* unit;
    } cases[] = {{0, "-1", "1000", kMicro},
                 {4, "300.01", "300", kMicro},
                 {5, "51", "50", kMilli},
                 {6, "100000", "100", kMilli}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.J);
        window = std::make_unique<SpeedCalculatorWindow>(dialogs);
        option(c.option)->click();
        type("Text1", c.J);
        dialogs.boxes.clear();
        dialogs.ok();
        start();
        ASSERT_EQ(dialogs.boxes.size(), 1);
        EXPECT_EQ(dialogs.boxes[0].text, "Cannot compute due to input data error.");
        EXPECT_EQ(text("Text1"), c.reset);
        EXPECT_EQ(unit(), c.unit);
        EXPECT_EQ(text("Text13"), "0.000");
        EXPECT_EQ(text("Text15"), "0.000");
        EXPECT_FALSE(window->lastResult());
    }
}

TEST_F(SpeedCalculatorWindowTest, TheLargestLoadInertiaOfEachUnitIsAccepted)
{
    // Model 50 takes J in 10^-6 kg m^2, model 65 in 10^-3 kg m^2; both maxima run through.
    for (int model : {4, 5}) {
        option(model)->click();  // Text1 := the maximum
        start();
        EXPECT_TRUE(dialogs.boxes.isEmpty()) << model;
        EXPECT_NE(text("Text13"), "");
        EXPECT_NE(text("Text13"), "0.000");
    }
}

struct CloseCase {
    const char* how;
    int optionBefore;
    const char* text1After;  // choosing the first model again sets its maximum
};

TEST_F(SpeedCalculatorWindowTest, ClosingResetsTheInputsAndHidesTheWindow)
{
    const CloseCase cases[] = {
        {"Close", 3, "1000"}, {"window", 3, "1000"}, {"Close", 0, "1"}, {"window", 0, "1"}};
    for (const CloseCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.how << ", option " << c.optionBefore);
        window = std::make_unique<SpeedCalculatorWindow>(dialogs);
        QPointer<SpeedCalculatorWindow> alive(window.get());
        QSignalSpy closed(window.get(), &SpeedCalculatorWindow::closed);
        window->openFor(QStringLiteral("64"));
        option(c.optionBefore)->click();
        setInputs("10", "45", "50", "20");
        start();
        ASSERT_NE(text("Text13"), "");

        if (QString::fromLatin1(c.how) == "Close")
            window->findChild<QPushButton*>("Command2")->click();
        else
            window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        ASSERT_TRUE(alive) << "hidden, not destroyed";
        EXPECT_FALSE(window->isVisible());
        EXPECT_EQ(closed.count(), 1);
        EXPECT_TRUE(option(0)->isChecked());
        EXPECT_EQ(text("Text1"), c.text1After);
        EXPECT_EQ(text("Text2"), "90");
        EXPECT_EQ(text("Text3"), "100");
        EXPECT_EQ(text("Text4"), "100");
        EXPECT_EQ(text("Text13"), "");
        EXPECT_EQ(text("Text15"), "");
        EXPECT_EQ(limit(), "Max. input value for load inertia is 1000.");
        EXPECT_EQ(unit(), kMicro);
    }
    EXPECT_TRUE(dialogs.boxes.isEmpty());
}

TEST_F(SpeedCalculatorWindowTest, InputsPersistWhileTheWindowIsOpenedAgain)
{
    window->openFor(QStringLiteral("62"));
    setInputs("1500", "30", "80", "60");
    window->hide();
    window->openFor(QStringLiteral("62"));
    EXPECT_EQ(text("Text1"), "1500");
    EXPECT_EQ(text("Text2"), "30");
    EXPECT_EQ(text("Text3"), "80");
    EXPECT_EQ(text("Text4"), "60");
}
