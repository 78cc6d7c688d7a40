// The rules of the quick-parameter boxes and the typed setting position: keys, ranges and
// messages by actuator type, and what a box stores into its parameter row and shows from it.
#include "operation/QuickParameters.h"
#include "SessionRig.h"
#include "data/ParameterTable.h"

#include <gtest/gtest.h>

using namespace kap;
using namespace kap::operation;
using namespace kap::test;
using B = QuickBox;

TEST(QuickParameters, LoadInertiaLimitAndMessageFollowTheActuatorType)
{
    const struct {
        const char* type;
        int maximum;
        const char* message;
    } cases[] = {
        {"50", 300, "Please set a value as 0 to 300 *10^-6 kg･m^2."},
        {"60", 1000, "Please set a value as 0 to 1000 *10^-6 kg･m^2."},
        {"61", 1000, "Please set a value as 0 to 1000 *10^-6 kg･m^2."},
        {"62", 3000, "Please set a value as 0 to 3000 *10^-6 kg･m^2."},
        {"63", 2000, "Please set a value as 0 to 2000 *10^-6 kg･m^2."},
        {"64", 20000, "Please set a value as 0 to 20000 *10^-6 kg･m^2."},
        {"65", 50, "Please set a value as 0 to 50 *10^-3 kg･m^2."},
        {"66", 100, "Please set a value as 0 to 100 *10^-3 kg･m^2."},
        {"630", 2000, "Please set a value as 0 to 2000 *10^-6 kg･m^2."},   // its first two
        {"67", 20000, "Please set a value as 0 to 20000 *10^-6 kg･m^2."},  // as the table: 64
    };
    ViewedSession v;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.type);
        v.session.parameters().setCurrentType(QString::fromLatin1(c.type));
        EXPECT_EQ(refusal(v.session, B::LoadInertia, QStringLiteral("0")), QString());
        EXPECT_EQ(refusal(v.session, B::LoadInertia, QString::number(c.maximum)), QString());
        EXPECT_EQ(refusal(v.session, B::LoadInertia, QString::number(c.maximum + 1)),
                  QString::fromUtf8(c.message));
    }
}

TEST(QuickParameters, AccelerationAndSpeedRangesAndTextThatIsNoNumber)
{
    const QString accel = QStringLiteral("Please set a value within 1 to 100%.");
    const QString speed = QStringLiteral("Please set a value within 0.01 to 1.00rps.");
    const QString inertia = QStringLiteral("Please set a value as 0 to 300 *10^-6 kg･m^2.");
    const struct {
        B box;
        const char* text;
        QString message;  // empty: accepted
    } cases[] = {
        {B::Acceleration, "0", accel},
        {B::Acceleration, "1", {}},
        {B::Acceleration, "100", {}},
        {B::Acceleration, "101", accel},
        {B::OriginReturnSpeed, "0.009", speed},
        {B::OriginReturnSpeed, "0.01", {}},
        {B::OriginReturnSpeed, "1.00", {}},
        {B::OriginReturnSpeed, "1.001", speed},
        // Pasted text the keys cannot type, or no number at all, is refused, not read loosely.
        {B::LoadInertia, "", inertia},
        {B::LoadInertia, "1/2", inertia},
        {B::LoadInertia, "2.5", inertia},
        {B::Acceleration, " 50", accel},
        {B::Acceleration, "-5", accel},
        {B::OriginReturnSpeed, "1e-1", speed},
    };
    ViewedSession v;
    for (const auto& c : cases)
        EXPECT_EQ(refusal(v.session, c.box, QString::fromLatin1(c.text)), c.message) << c.text;
}

TEST(QuickParameters, StoreWritesTheRowAndTheSpeedInHundredths)
{
    const struct {
        const char* type;
        B box;
        const char* text;
        int prm;
        const char* row;  // afterwards
    } cases[] = {
        {"60", B::LoadInertia, "301", 3, "301"},
        {"50", B::LoadInertia, "301", 3, "300"},  // refused: the row keeps its value
        {"60", B::Acceleration, "55", 4, "55"},
        {"60", B::OriginReturnSpeed, "0.29", 10, "29"},   // 0.29 x 100 is 28.999... in binary
        {"60", B::OriginReturnSpeed, "0.125", 10, "13"},  // halves away from zero
        {"50", B::OriginReturnSpeed, "0.30", 10, "50"},   // the table's own range: 50 only
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.type) + " " + c.text);
        ViewedSession v;
        ParameterTable& t = v.session.parameters();
        t.setCurrentType(QString::fromLatin1(c.type));
        t.ApplyTypeRanges(t.currentType());
        store(v.session, c.box, QString::fromLatin1(c.text));
        EXPECT_EQ(v.session.parameterGrid().text(t.rowOfPrm(c.prm).value(), kValueColumn), c.row);
    }
}

TEST(QuickParameters, RowsAreShownInTheBoxesFormats)
{
    const struct {
        B box;
        const char* row;
        const char* shown;     // by the refresh
        const char* restored;  // after a refused entry
    } cases[] = {
        {B::LoadInertia, "2.5", "2.5", "3"},
        {B::Acceleration, "7.5", "8", "8"},
        {B::OriginReturnSpeed, "10", "0.10", "0.10"},
        {B::OriginReturnSpeed, "0.5", "0.01", "0.01"},  // 0.005 rps, rounded on its digits
        {B::OriginReturnSpeed, "-250", "-2.50", "-2.50"},
    };
    ViewedSession v;
    v.session.guards().bulkFill = true;  // the rows as written, unvalidated
    for (const auto& c : cases) {
        SCOPED_TRACE(c.row);
        v.session.parameterGrid().setText(rowOf(v.session, c.box).value(), kValueColumn, c.row);
        EXPECT_EQ(shownValue(v.session, c.box), c.shown);
        EXPECT_EQ(restoredValue(v.session, c.box), c.restored);
    }
}

TEST(QuickParameters, SettingPositionFormatsItsLeadingNumber)
{
    for (const auto& [text, formatted] : {std::pair{"-0.005", "-0.01"},
                                          {"5.", "5.00"},
                                          {"1/2", "1.00"},
                                          {"-", "0.00"},
                                          {"2.675", "2.68"}})
        EXPECT_EQ(formattedPosition(text), formatted) << text;
}
