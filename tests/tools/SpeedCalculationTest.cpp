#include "tools/SpeedCalculation.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace kap::speed;

namespace {

// Expected values were worked out independently (single-precision stores of formulas
// evaluated in double) and are written here as literals.
struct Profile {
    float t, w, alpha, T;
};

struct CalcCase {
    int model;
    SpeedTexts texts;  // J, theta, V, A as typed
    float j;
    float a, b, thetaA;  // speed-limited models
    float alpha, q;      // acceleration-limited models
    Profile p1, p2;
    int chosen;
    const char* shownSpeed;
    const char* shownAccel;
};

// clang-format off
const CalcCase kCalcCases[] = {
    // 61: the largest accepted J; a large angle reaches full speed, below thetaA (60) it does
    // not and the top speed stays under 1/b = 1.667 rps.
    {0, {"1000", "90", "100", "100"}, 1.0f, 0.1f, 0.6f, 60.0f, 0, 0,
     {0.1f, 1.6666666f, 104.71975f, 0.25f},
     {0.12247449f, 2.0412414f, 104.71975f, 0.24494898f}, 1, "1.667", "104.720"},
    {0, {"1000", "10", "100", "100"}, 1.0f, 0.1f, 0.6f, 60.0f, 0, 0,
     {0.1f, 1.6666666f, 104.71975f, 0.11666667f},
     {0.04082483f, 0.6804138f, 104.71975f, 0.08164966f}, 2, "0.680", "104.720"},
    {0, {"100", "360", "80", "50"}, 0.1f, 0.0325f, 0.33f, 45.381813f, 0, 0,
     {0.051999997f, 2.4242423f, 292.9224f, 0.46450004f},
     {0.16569853f, 7.7248726f, 292.92236f, 0.2951505f}, 1, "2.424", "292.922"},
    {0, {"0", "1", "100", "100"}, 0.0f, 0.025f, 0.3f, 30.0f, 0, 0,
     {0.025f, 3.3333333f, 837.758f, 0.025833333f},
     {0.0045643547f, 0.6085806f, 837.758f, 0.009128709f}, 2, "0.609", "837.758"},
    // 62: a large angle at the largest J; below and above thetaA at J = 500.
    {1, {"3000", "720", "100", "100"}, 3.0f, 0.15f, 1.0f, 54.000004f, 0, 0,
     {0.15f, 1.0f, 41.8879f, 2.15f},
     {0.5477226f, 3.6514835f, 41.887897f, 1.0954452f}, 1, "1.000", "41.888"},
    {1, {"500", "5", "60", "100"}, 0.5f, 0.06666667f, 0.6666667f, 12.960001f, 0, 0,
     {0.040000003f, 0.9f, 141.37166f, 0.055432104f},
     {0.014907121f, 0.33541018f, 141.37166f, 0.05631579f}, 2, "0.335", "141.372"},
    {1, {"500", "300", "60", "100"}, 0.5f, 0.06666667f, 0.6666667f, 12.960001f, 0, 0,
     {0.040000003f, 0.9f, 141.37166f, 0.96592593f},
     {0.11547006f, 2.598076f, 141.37166f, 0.43622023f}, 1, "0.900", "141.372"},
    // 63: 89.9 degrees takes profile 2, 90 degrees profile 1; the results nearly agree.
    {2, {"2000", "89.9", "100", "100"}, 2.0f, 0, 0, 0, 122.85012f, 110565.11f,
     {0.07151582f, 1.398292f, 122.85012f, 0.25010672f},
     {0.07147608f, 1.3975149f, 122.85012f, 0.25016627f}, 2, "1.398", "122.850"},
    {2, {"2000", "90", "100", "100"}, 2.0f, 0, 0, 0, 122.85012f, 110565.11f,
     {0.07151582f, 1.398292f, 122.85012f, 0.25030538f},
     {0.07151582f, 1.398292f, 122.85012f, 0.25030538f}, 1, "1.398", "122.850"},
    // 64 with a reduced acceleration.
    {3, {"5000", "45", "100", "70"}, 5.0f, 0, 0, 0, 63.578564f, 98092.64f,
     {0.10846633f, 1.0975537f, 63.578564f, 0.22235596f},
     {0.076697275f, 0.77608764f, 63.578564f, 0.23776156f}, 2, "0.776", "63.579"},
    // 50: J in 10^-6 kg m^2 is divided by 1000000.
    {4, {"300", "180", "50", "80"}, 0.0003f, 0, 0, 0, 43.01075f, 29032.256f,
     {0.08722697f, 0.5971012f, 43.01075f, 0.92460597f},
     {0.12335757f, 0.84442866f, 43.01075f, 0.7154739f}, 1, "0.597", "43.011"},
    // 65 and 66: J in 10^-3 kg m^2.
    {5, {"50", "120", "100", "100"}, 0.05f, 0, 0, 0, 25.125628f, 10854.271f,
     {0.22825003f, 0.91274166f, 25.125628f, 0.5934501f},
     {0.26356044f, 1.0539434f, 25.125628f, 0.579833f}, 1, "0.913", "25.126"},
    {6, {"100", "90", "30", "100"}, 0.1f, 0, 0, 0, 15.197568f, 6565.349f,
     {0.08804476f, 0.21295986f, 15.197568f, 1.2619749f},
     {0.08804476f, 0.21295986f, 15.197568f, 1.2619749f}, 1, "0.213", "15.198"},
};
// clang-format on

void expectProfile(const MotionProfile& got, const Profile& want)
{
    EXPECT_EQ(got.accelTime, want.t);
    EXPECT_EQ(got.maxSpeed, want.w);
    EXPECT_EQ(got.maxAccel, want.alpha);
    EXPECT_EQ(got.movingTime, want.T);
}

}  // namespace

TEST(SpeedCalculation, ComputesBothProfilesAndShowsTheChosenOne)
{
    for (const CalcCase& c : kCalcCases) {
        SCOPED_TRACE(testing::Message()
                     << "model index " << c.model << ", J " << c.texts[0].toStdString()
                     << ", theta " << c.texts[1].toStdString());
        const SpeedRun run = runSpeedCalculation(c.model, c.texts);
        EXPECT_TRUE(run.message.isEmpty()) << run.message.toStdString();
        for (const auto& reset : run.resets)
            EXPECT_FALSE(reset.has_value());
        ASSERT_TRUE(run.result.has_value());
        const SpeedResult& r = *run.result;

        EXPECT_EQ(r.j, c.j);
        if (speedModel(c.model).family == Family::SpeedLimited) {
            EXPECT_EQ(r.a, c.a);
            EXPECT_EQ(r.b, c.b);
            EXPECT_EQ(r.thetaA, c.thetaA);
        } else {
            EXPECT_EQ(r.alpha, c.alpha);
            EXPECT_EQ(r.q, c.q);
        }
        expectProfile(r.profile1, c.p1);
        expectProfile(r.profile2, c.p2);
        EXPECT_EQ(r.chosenProfile, c.chosen);

        const Profile& chosen = c.chosen == 1 ? c.p1 : c.p2;
        EXPECT_EQ(r.maxSpeed, chosen.w);
        EXPECT_EQ(r.maxAccel, chosen.alpha);
        EXPECT_EQ(r.movingTime, chosen.T);
        EXPECT_EQ(formatResult(r.maxSpeed), QString::fromLatin1(c.shownSpeed));
        EXPECT_EQ(formatResult(r.maxAccel), QString::fromLatin1(c.shownAccel));
    }
}

namespace {

const char* const kBlank = "Blank in input field.";
const char* const kZero = "Cannot input 0 to moving distance and speed.";
const char* const kNegative = "Cannot input 0 or less to moving distance and speed.";
const char* const kDataError = "Cannot compute due to input data error.";

// 1e39 and 1e-50 written out: beyond single precision, within double.
const char* const kHuge = "1000000000000000000000000000000000000000";
const char* const kTiny = "0.00000000000000000000000000000000000000000000000001";

struct RunCase {
    const char* what;
    int model;
    SpeedTexts texts;
    const char* message;                // nullptr: no box
    std::array<const char*, 4> resets;  // nullptr: box unchanged
};

const RunCase kRunCases[] = {
    {"theta empty", 0, {"1000", "", "100", "100"}, kBlank, {nullptr, "90", "100", "100"}},
    {"theta text", 0, {"1000", "abc", "100", "100"}, kBlank, {nullptr, "90", "100", "100"}},
    {"speed text", 0, {"1000", "90", "1,5", "100"}, kBlank, {nullptr, "90", "100", "100"}},
    {"accel blanks", 0, {"1000", "90", "100", "  "}, kBlank, {nullptr, "90", "100", "100"}},
    {"speed exponent", 0, {"1000", "90", "1e2", "100"}, kBlank, {nullptr, "90", "100", "100"}},
    {"accel inf", 0, {"1000", "90", "100", "inf"}, kBlank, {nullptr, "90", "100", "100"}},
    {"J empty, 61", 0, {"", "90", "100", "100"}, kBlank, {"1000", nullptr, nullptr, nullptr}},
    {"J empty, 64", 3, {"", "90", "100", "100"}, kBlank, {"20000", nullptr, nullptr, nullptr}},
    {"J empty before theta 0",
     0,
     {"", "0", "100", "100"},
     kBlank,
     {"1000", nullptr, nullptr, nullptr}},
    {"theta 0", 0, {"1000", "0", "100", "100"}, kZero, {nullptr, "90", nullptr, nullptr}},
    {"theta 0.0", 0, {"1000", "0.0", "-1", "-1"}, kZero, {nullptr, "90", nullptr, nullptr}},
    {"speed 0", 0, {"1000", "90", "0", "100"}, kZero, {nullptr, nullptr, "100", nullptr}},
    {"accel 0", 0, {"1000", "90", "100", "0"}, kZero, {nullptr, nullptr, nullptr, "100"}},
    {"speed 0 before theta < 0",
     0,
     {"1000", "-5", "0", "100"},
     kZero,
     {nullptr, nullptr, "100", nullptr}},
    {"theta < 0", 0, {"1000", "-5", "100", "100"}, kNegative, {nullptr, "90", nullptr, nullptr}},
    {"speed < 0", 0, {"1000", "90", "-1", "100"}, kNegative, {nullptr, nullptr, "100", nullptr}},
    {"accel < 0", 0, {"1000", "90", "100", "-100"}, kNegative, {nullptr, nullptr, nullptr, "100"}},
    {"J not a number",
     0,
     {"abc", "90", "100", "100"},
     kBlank,
     {nullptr, nullptr, nullptr, nullptr}},
    {"J not a number after theta 0",
     0,
     {"abc", "0", "100", "100"},
     kZero,
     {nullptr, "90", nullptr, nullptr}},
    {"61 J 1000.5",
     0,
     {"1000.5", "90", "100", "100"},
     kDataError,
     {"1000", nullptr, nullptr, nullptr}},
    {"61 J < 0", 0, {"-1", "90", "100", "100"}, kDataError, {"1000", nullptr, nullptr, nullptr}},
    {"50 J 301", 4, {"301", "90", "100", "100"}, kDataError, {"300", nullptr, nullptr, nullptr}},
    {"65 J 50.5", 5, {"50.5", "90", "100", "100"}, kDataError, {"50", nullptr, nullptr, nullptr}},
    {"66 J 100.1",
     6,
     {"100.1", "90", "100", "100"},
     kDataError,
     {"100", nullptr, nullptr, nullptr}},
    {"J beyond float",
     3,
     {kHuge, "90", "100", "100"},
     kDataError,
     {"20000", nullptr, nullptr, nullptr}},
    // Inputs that pass the checks but break the arithmetic: a speed or acceleration too small
    // for single precision (it becomes 0), an angle too large for it.
    {"speed underflows",
     0,
     {"1000", "90", kTiny, "100"},
     kDataError,
     {"1000", nullptr, nullptr, nullptr}},
    {"accel underflows",
     2,
     {"1000", "90", "100", kTiny},
     kDataError,
     {"2000", nullptr, nullptr, nullptr}},
    {"angle overflows",
     2,
     {"1000", kHuge, "100", "100"},
     kDataError,
     {"2000", nullptr, nullptr, nullptr}},
    // Accepted inputs.
    {"65 J 50", 5, {"50", "90", "100", "100"}, nullptr, {nullptr, nullptr, nullptr, nullptr}},
    {"50 J 300", 4, {"300", "90", "100", "100"}, nullptr, {nullptr, nullptr, nullptr, nullptr}},
    {"blanks and sign",
     1,
     {" 12 ", "+90", "\t100.", ".5"},
     nullptr,
     {nullptr, nullptr, nullptr, nullptr}},
};

}  // namespace

TEST(SpeedCalculation, ChecksInputsInOrder)
{
    for (const RunCase& c : kRunCases) {
        SCOPED_TRACE(c.what);
        const SpeedRun run = runSpeedCalculation(c.model, c.texts);
        if (c.message) {
            EXPECT_EQ(run.message, QString::fromLatin1(c.message));
            EXPECT_FALSE(run.result.has_value());
        } else {
            EXPECT_TRUE(run.message.isEmpty()) << run.message.toStdString();
            ASSERT_TRUE(run.result.has_value());
            EXPECT_TRUE(std::isfinite(run.result->maxSpeed));
        }
        for (std::size_t i = 0; i < 4; ++i) {
            if (c.resets[i])
                EXPECT_EQ(run.resets[i], std::optional<QString>(QString::fromLatin1(c.resets[i])))
                    << "Text" << i + 1;
            else
                EXPECT_FALSE(run.resets[i].has_value()) << "Text" << i + 1;
        }
    }
}

TEST(SpeedCalculation, ArithmeticFailureGivesNoResult)
{
    // J below 0 makes a negative: the root of a negative number.
    EXPECT_FALSE(computeSpeed(0, {-500.0f, 90.0f, 100.0f, 100.0f}).has_value());
    // A speed of 0 divides 0 by 0.
    EXPECT_FALSE(computeSpeed(0, {1000.0f, 90.0f, 0.0f, 100.0f}).has_value());
    EXPECT_FALSE(computeSpeed(3, {1000.0f, 90.0f, 100.0f, 0.0f}).has_value());
    EXPECT_TRUE(computeSpeed(3, {1000.0f, 90.0f, 100.0f, 100.0f}).has_value());
}

TEST(SpeedCalculation, RangeCheckBounds)
{
    EXPECT_TRUE(inertiaInRange(0, 0.0f));
    EXPECT_TRUE(inertiaInRange(0, 1000.0f));
    EXPECT_FALSE(inertiaInRange(0, 1000.5f));
    EXPECT_FALSE(inertiaInRange(0, -0.001f));
    EXPECT_TRUE(inertiaInRange(3, 20000.0f));
    EXPECT_FALSE(inertiaInRange(3, 20001.0f));
}

TEST(SpeedCalculation, ModelTable)
{
    struct Row {
        const char* type;
        const char* caption;
        const char* max;
        const char* unit;
        Family family;
    };
    const Row rows[kModelCount] = {
        {"61", "61 : TALOR3A (TALOR3)", "1000", "*10^-6 kg * m^2", Family::SpeedLimited},
        {"62", "62 : TALOR5A (TALOR5)", "3000", "*10^-6 kg * m^2", Family::SpeedLimited},
        {"63", "63 : TALOR10A (TALOR10)", "2000", "*10^-6 kg * m^2", Family::AccelerationLimited},
        {"64", "64 : TALOR20A (TALOR20)", "20000", "*10^-6 kg * m^2", Family::AccelerationLimited},
        {"50", "50 : TALOR1A", "300", "*10^-6 kg * m^2", Family::AccelerationLimited},
        {"65", "65 : TALOR40", "50", "*10^-3 kg * m^2", Family::AccelerationLimited},
        {"66", "66 : TALOR60", "100", "*10^-3 kg * m^2", Family::AccelerationLimited},
    };
    for (int i = 0; i < kModelCount; ++i) {
        const Row& row = rows[i];
        SCOPED_TRACE(row.caption);
        EXPECT_EQ(QString::fromLatin1(speedModel(i).caption), QString::fromLatin1(row.caption));
        EXPECT_EQ(QString::fromLatin1(speedModel(i).unit), QString::fromLatin1(row.unit));
        EXPECT_EQ(speedModel(i).family, row.family);
        EXPECT_EQ(maxInertiaText(i), QString::fromLatin1(row.max));
        EXPECT_EQ(inertiaLimitText(i),
                  QStringLiteral("Max. input value for load inertia is %1.").arg(row.max));
        EXPECT_EQ(modelIndexForType(QString::fromLatin1(row.type)), std::optional<int>(i));
    }
    for (const char* other : {"60", "", "6", "061", "ab"})
        EXPECT_FALSE(modelIndexForType(QString::fromLatin1(other)).has_value()) << other;
}

TEST(SpeedCalculation, ResultFormatRoundsTheDecimalHalfAwayFromZero)
{
    const struct {
        float value;
        const char* shown;
    } cases[] = {
        {0.0f, "0.000"},           {0.125f, "0.125"},       {2.0005f, "2.001"},
        {0.0005f, "0.001"},        {0.0004999f, "0.000"},   {1.9999f, "2.000"},
        {9.9995f, "10.000"},       {999.9996f, "1000.000"}, {1e-5f, "0.000"},
        {123456.7f, "123456.700"}, {1.6666666f, "1.667"},   {-2.0005f, "-2.001"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(formatResult(c.value), QString::fromLatin1(c.shown)) << c.value;
}
