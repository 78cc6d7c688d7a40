#include "FakeView.h"
#include "ui/dialogs/ActuatorTypeDialog.h"
#include "ui/dialogs/KeypadDialog.h"
#include "ui/dialogs/PointModeDialog.h"
#include "ui/dialogs/QtTypeChooser.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTranslator>

#include <functional>

#include <gtest/gtest.h>

namespace kap {
namespace {

using test::child;

// The option or key of an indexed form control ("Typename", 2 is "Typename_2").
template <typename T>
T* indexed(QWidget& dialog, const char* name, int index)
{
    const QByteArray objectName = QByteArray(name) + '_' + QByteArray::number(index);
    return child<T>(&dialog, objectName.constData());
}

QRadioButton* option(QWidget& dialog, const char* name, int index)
{
    return indexed<QRadioButton>(dialog, name, index);
}

QPushButton* button(QWidget& dialog, const char* name)
{
    return child<QPushButton>(&dialog, name);
}

// Clicks an option on its indicator: a click beside a short caption hits no button.
void clickOption(QRadioButton* option)
{
    QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(8, option->height() / 2));
}

// Runs steps on the modal dialog once it is open: the static openers block in exec().
template <typename Dialog>
void whenOpen(std::function<void(Dialog&)> steps)
{
    QTimer::singleShot(0, [steps] {
        auto* d = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        steps(*d);
    });
}

// Puts a mark before every translated text: a choice must not be read back from its caption,
// which is translated.
class MarkingTranslator : public QTranslator {
public:
    bool isEmpty() const override { return false; }
    QString translate(const char*, const char* source, const char*, int) const override
    {
        return QStringLiteral("~") + QString::fromUtf8(source);
    }
};

struct Marked {
    Marked() { QCoreApplication::installTranslator(&t); }
    ~Marked() { QCoreApplication::removeTranslator(&t); }
    MarkingTranslator t;
};

struct TypeChoice {
    int option;  // Typename index; -1 keeps the default
    QString preselect;
    QString result;
};

class ActuatorTypeDialogChoice : public ::testing::TestWithParam<TypeChoice> {};

TEST_P(ActuatorTypeDialogChoice, OkReturnsTheSelectedTypeNumber)
{
    const TypeChoice& c = GetParam();
    const Marked marked;
    whenOpen<ActuatorTypeDialog>([c](ActuatorTypeDialog& d) {
        if (c.option >= 0)
            clickOption(option(d, "Typename", c.option));
        QTest::mouseClick(button(d, "OKButton"), Qt::LeftButton);
    });
    EXPECT_EQ(ActuatorTypeDialog::chooseType(nullptr, c.preselect), c.result);
}

INSTANTIATE_TEST_SUITE_P(Options, ActuatorTypeDialogChoice,
                         ::testing::Values(TypeChoice{-1, {}, "50"}, TypeChoice{2, {}, "63"},
                                           TypeChoice{4, {}, "60"}, TypeChoice{7, {}, "66"},
                                           TypeChoice{-1, "62", "62"}, TypeChoice{-1, "67", "50"}));

TEST(ActuatorTypeDialog, CaptionsAndOneChoiceAcrossBothFrames)
{
    ActuatorTypeDialog d;
    EXPECT_EQ(d.windowTitle(), "Actuator type");
    EXPECT_EQ(child<QLabel>(&d, "TypeSelect")->text(), "Please input an actuator type.");
    EXPECT_EQ(child<QGroupBox>(&d, "Frame1")->title(), "TALOR");
    EXPECT_EQ(child<QGroupBox>(&d, "Frame2")->title(), "MOVA");
    EXPECT_EQ(option(d, "Typename", 2)->text(), "63 : TALOR10A (TALOR10)");
    EXPECT_TRUE(option(d, "Typename", 5)->isChecked());
    d.show();

    clickOption(option(d, "Typename", 4));
    EXPECT_TRUE(option(d, "Typename", 4)->isChecked());
    EXPECT_FALSE(option(d, "Typename", 5)->isChecked());
    clickOption(option(d, "Typename", 1));
    EXPECT_FALSE(option(d, "Typename", 4)->isChecked());
    d.preselect("60");
    EXPECT_TRUE(option(d, "Typename", 4)->isChecked());
    EXPECT_FALSE(option(d, "Typename", 1)->isChecked());
    EXPECT_EQ(d.selectedType(), "60");

    d.hideMovaFrame();
    EXPECT_FALSE(child<QGroupBox>(&d, "Frame2")->isVisible());
    EXPECT_EQ(d.selectedType(), "50");
}

TEST(ActuatorTypeDialog, EnterOnAnOptionActsAsOk)
{
    whenOpen<ActuatorTypeDialog>([](ActuatorTypeDialog& d) {
        option(d, "Typename", 3)->setChecked(true);
        QTest::keyClick(option(d, "Typename", 3), Qt::Key_Return);
    });
    EXPECT_EQ(ActuatorTypeDialog::chooseType(), "64");
}

TEST(ActuatorTypeDialog, CancelAndCloseGiveEmptyText)
{
    whenOpen<ActuatorTypeDialog>([](ActuatorTypeDialog& d) {
        QTest::mouseClick(button(d, "CancelButton"), Qt::LeftButton);
    });
    EXPECT_EQ(ActuatorTypeDialog::chooseType(), "");
    whenOpen<ActuatorTypeDialog>([](ActuatorTypeDialog& d) { d.close(); });
    EXPECT_EQ(ActuatorTypeDialog::chooseType(), "");
}

struct ModeChoice {
    int option;
    QString result;
};

class PointModeDialogChoice : public ::testing::TestWithParam<ModeChoice> {};

TEST_P(PointModeDialogChoice, OkReturnsTheLetter)
{
    const int index = GetParam().option;
    const Marked marked;
    whenOpen<PointModeDialog>([index](PointModeDialog& d) {
        clickOption(option(d, "Opt_1", index));
        QTest::mouseClick(button(d, "OKButton"), Qt::LeftButton);
    });
    EXPECT_EQ(PointModeDialog::chooseMode(), GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(Options, PointModeDialogChoice,
                         ::testing::Values(ModeChoice{0, "A"}, ModeChoice{1, "I"},
                                           ModeChoice{2, "B"}));

TEST(PointModeDialog, CaptionsAndCancel)
{
    whenOpen<PointModeDialog>([](PointModeDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Selection in operation mode");
        EXPECT_EQ(child<QLabel>(&d, "Mode_select")->text(), "Please choose the operation mode.");
        EXPECT_EQ(option(d, "Opt_1", 0)->text(), "A:Positioning operation (Absolute position)");
        EXPECT_EQ(option(d, "Opt_1", 1)->text(), "I:Positioning operation (Increment position)");
        EXPECT_EQ(option(d, "Opt_1", 2)->text(), "B :Brake");
        EXPECT_TRUE(option(d, "Opt_1", 0)->isChecked());
        clickOption(option(d, "Opt_1", 2));
        QTest::mouseClick(button(d, "CancelButton"), Qt::LeftButton);
    });
    EXPECT_EQ(PointModeDialog::chooseMode(), "");
    whenOpen<PointModeDialog>([](PointModeDialog& d) { d.close(); });
    EXPECT_EQ(PointModeDialog::chooseMode(), "");
}

TEST(PointModeDialog, FocusOnAnOptionSetsTheResult)
{
    PointModeDialog d;
    d.show();
    QApplication::setActiveWindow(&d);
    option(d, "Opt_1", 1)->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(d.result(), "I");
}

struct KeypadEntry {
    QList<int> keys;  // TENKEY indexes
    QString typed;    // typed into the display afterwards, when not empty
    QString result;
};

class KeypadDialogEntry : public ::testing::TestWithParam<KeypadEntry> {};

TEST_P(KeypadDialogEntry, EnterReturnsTheShownText)
{
    const KeypadEntry& e = GetParam();
    whenOpen<KeypadDialog>([e](KeypadDialog& d) {
        QLineEdit* display = child<QLineEdit>(&d, "Text1");
        EXPECT_EQ(display->text(), "0");
        for (const int k : e.keys)
            QTest::mouseClick(indexed<QPushButton>(d, "TENKEY", k), Qt::LeftButton);
        if (!e.typed.isEmpty()) {
            display->clear();
            QTest::keyClicks(display, e.typed);
        }
        QTest::mouseClick(button(d, "kettei"), Qt::LeftButton);
    });
    EXPECT_EQ(KeypadDialog::enterValue(), e.result);
}

INSTANTIATE_TEST_SUITE_P(Keys, KeypadDialogEntry,
                         ::testing::Values(KeypadEntry{{12, 5}, {}, "-5"},
                                           KeypadEntry{{5, 10, 10, 2}, {}, "5.2"},
                                           KeypadEntry{{1, 2, 11}, {}, "0"},
                                           KeypadEntry{{0}, {}, "0"},
                                           KeypadEntry{{}, "12.5", "12.5"}));

TEST(KeypadDialog, CancelAndCloseGiveEmptyText)
{
    whenOpen<KeypadDialog>([](KeypadDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Input a numerical value.");
        QTest::mouseClick(indexed<QPushButton>(d, "TENKEY", 7), Qt::LeftButton);
        QTest::mouseClick(button(d, "CancelButton"), Qt::LeftButton);
    });
    EXPECT_EQ(KeypadDialog::enterValue(), "");
    whenOpen<KeypadDialog>([](KeypadDialog& d) { d.close(); });
    EXPECT_EQ(KeypadDialog::enterValue(), "");
}

// The parameter initialisation's type choice over ActuatorTypeDialog: the controller's type
// preselected, the MOVA frame left out on request, Cancel as no choice.
TEST(QtTypeChooser, ShowsTheTypeDialogAndReadsItBack)
{
    struct Case {
        const char* name;
        QString current;
        bool withoutMova;
        bool ok;
        std::optional<QString> result;
    };
    const Case cases[] = {
        {"controller's type preselected", "62", false, true, QStringLiteral("62")},
        {"unknown type: the default", "", false, true, QStringLiteral("50")},
        {"MOVA offered", "60", false, true, QStringLiteral("60")},
        {"without MOVA", "63", true, true, QStringLiteral("63")},
        {"Cancel", "62", false, false, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QWidget window;
        window.show();
        window.setEnabled(false);  // the main window is disabled while the command runs
        bool frame2Visible = true;
        bool enabled = false;
        whenOpen<ActuatorTypeDialog>([&](ActuatorTypeDialog& d) {
            frame2Visible = child<QGroupBox>(&d, "Frame2")->isVisible();
            enabled = d.isEnabled();
            EXPECT_EQ(d.parentWidget(), &window);
            QTest::mouseClick(button(d, c.ok ? "OKButton" : "CancelButton"), Qt::LeftButton);
        });
        QtTypeChooser chooser(&window);
        EXPECT_EQ(chooser.chooseType(c.current, c.withoutMova), c.result);
        EXPECT_EQ(frame2Visible, !c.withoutMova);
        EXPECT_TRUE(enabled) << "usable over the disabled window";
    }
}

}  // namespace
}  // namespace kap
