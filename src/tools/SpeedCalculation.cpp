#include "tools/SpeedCalculation.h"

#include "data/Numbers.h"

#include <QCoreApplication>

#include <cfloat>
#include <charconv>
#include <cmath>

namespace kap::speed {

namespace {

constexpr double kTwoPi = 6.28318530717958;
constexpr double kPi180 = 565.4866776461622;  // 180 * 3.14159265358979

// Captions and units are shown by the calculator window, which translates them in its own
// context.
constexpr const char* kMicroUnit = QT_TRANSLATE_NOOP("kap::SpeedCalculatorWindow",
                                                     "*10^-6 kg * m^2");
constexpr const char* kMilliUnit = QT_TRANSLATE_NOOP("kap::SpeedCalculatorWindow",
                                                     "*10^-3 kg * m^2");

const std::array<SpeedModel, kModelCount> kModels{{
    {61, QT_TRANSLATE_NOOP("kap::SpeedCalculatorWindow", "61 : TALOR3A (TALOR3)"), 1000, kMicroUnit,
     Family::SpeedLimited, 1000, 0, 0, 0},
    {62, QT_TRANSLATE_NOOP("kap::SpeedCalculatorWindow", "62 : TALOR5A (TALOR5)"), 3000, kMicroUnit,
     Family::SpeedLimited, 1000, 0, 0, 0},
    {63, QT_TRANSLATE_NOOP("kap::SpeedCalculatorWindow", "63 : TALOR10A (TALOR10)"), 2000,
     kMicroUnit, Family::AccelerationLimited, 1000, 0.00313, 0.00188, 900},
    {64, QT_TRANSLATE_NOOP("kap::SpeedCalculatorWindow", "64 : TALOR20A (TALOR20)"), 20000,
     kMicroUnit, Family::AccelerationLimited, 1000, 0.00125, 0.00476, 1080},
    {50, QT_TRANSLATE_NOOP("kap::SpeedCalculatorWindow", "50 : TALOR1A"), 300, kMicroUnit,
     Family::AccelerationLimited, 1000000, 42, 0.006, 540},
    {65, QT_TRANSLATE_NOOP("kap::SpeedCalculatorWindow", "65 : TALOR40"), 50, kMilliUnit,
     Family::AccelerationLimited, 1000, 0.52, 0.0138, 432},
    {66, QT_TRANSLATE_NOOP("kap::SpeedCalculatorWindow", "66 : TALOR60"), 100, kMilliUnit,
     Family::AccelerationLimited, 1000, 0.52, 0.0138, 432},
}};

struct Text {
    Q_DECLARE_TR_FUNCTIONS(SpeedCalculation)
};

QString blankMessage()
{
    return Text::tr("Blank in input field.");
}
QString zeroMessage()
{
    return Text::tr("Cannot input 0 to moving distance and speed.");
}
QString negativeMessage()
{
    return Text::tr("Cannot input 0 or less to moving distance and speed.");
}
QString rangeMessage()
{
    return Text::tr("Cannot compute due to input data error.");
}

// Stores a double into single precision; a value beyond the float range becomes infinite
// (an overflow), so the finiteness test below catches it.
float store(double value)
{
    if (std::isfinite(value) && std::fabs(value) > FLT_MAX)
        return value > 0 ? INFINITY : -INFINITY;
    return static_cast<float>(value);
}

// The tables' own rule for "a number": blanks at the ends, a sign, digits, one point.
std::optional<double> readNumber(const QString& text)
{
    const std::optional<double> v = numbers::readNumber(text);
    if (!v || !std::isfinite(*v))
        return std::nullopt;
    return v;
}

bool finite(const MotionProfile& p)
{
    return std::isfinite(p.accelTime) && std::isfinite(p.maxSpeed) && std::isfinite(p.maxAccel)
           && std::isfinite(p.movingTime);
}

void speedLimited(const SpeedModel& model, const SpeedInputs& in, SpeedResult& r)
{
    const float theta = in.theta;
    const float V = in.V;
    const float A = in.A;
    const float j = r.j;
    if (model.typeNumber == 61) {
        r.a = store(0.075 * j + 0.025);
        r.b = store(0.3 * j + 0.3);
    } else {
        r.a = store(j / 30.0 + 0.05);
        r.b = store((0.4 * j + 1.8) / 3.0);
    }
    const float a = r.a;
    const float b = r.b;

    MotionProfile& p1 = r.profile1;
    p1.accelTime = store(double(a) * V / A);
    p1.maxSpeed = store((1.0 / b) * V / 100.0);
    p1.maxAccel = store(kTwoPi * p1.maxSpeed / p1.accelTime);
    p1.movingTime = store((double(theta) / 360.0) / p1.maxSpeed + p1.accelTime);

    MotionProfile& p2 = r.profile2;
    p2.accelTime = store(std::sqrt(double(a) * b * theta / 360.0) * V / A);
    p2.maxSpeed = store(std::sqrt(theta / (360.0 * a * b)) * V / 100.0);
    p2.maxAccel = store(kTwoPi * p2.maxSpeed / p2.accelTime);
    p2.movingTime = store((double(theta) / 360.0) / p2.maxSpeed + p2.accelTime);

    r.thetaA = store(double(p1.accelTime) * p1.maxSpeed * 360.0);
    r.chosenProfile = theta < r.thetaA ? 2 : 1;
}

void accelerationLimited(const SpeedModel& model, const SpeedInputs& in, SpeedResult& r)
{
    const float theta = in.theta;
    const float V = in.V;
    const float A = in.A;
    r.alpha = store((1.0 / (model.c1 * r.j + model.c0)) * A / 100.0);
    r.q = store(double(r.alpha) * model.k / A * 100.0);

    MotionProfile& p1 = r.profile1;
    p1.accelTime = store(std::sqrt(kPi180 / r.q) * V / A);
    p1.maxSpeed = store(double(r.alpha) / kTwoPi * p1.accelTime);
    p1.maxAccel = r.alpha;
    p1.movingTime = store((double(theta) / 360.0) / p1.maxSpeed + p1.accelTime);

    MotionProfile& p2 = r.profile2;
    p2.accelTime = store(std::sqrt(double(theta) * kTwoPi / r.q) * V / A);
    p2.maxSpeed = store(double(r.alpha) / kTwoPi * p2.accelTime);
    p2.maxAccel = r.alpha;
    p2.movingTime = store((double(theta) / 360.0) / p2.maxSpeed + p2.accelTime);

    // The two profiles meet at 90 degrees.
    r.chosenProfile = theta < 90 ? 2 : 1;
}

}  // namespace

const SpeedModel& speedModel(int index)
{
    return kModels.at(static_cast<std::size_t>(index));
}

std::optional<int> modelIndexForType(const QString& typeText)
{
    for (int i = 0; i < kModelCount; ++i) {
        if (typeText == QString::number(kModels[static_cast<std::size_t>(i)].typeNumber))
            return i;
    }
    return std::nullopt;
}

QString inertiaLimitText(int index)
{
    return Text::tr("Max. input value for load inertia is %1.").arg(maxInertiaText(index));
}

QString maxInertiaText(int index)
{
    return QString::number(speedModel(index).maxInertia);
}

std::optional<SpeedResult> computeSpeed(int modelIndex, const SpeedInputs& in)
{
    const SpeedModel& model = speedModel(modelIndex);
    SpeedResult r;
    r.j = store(double(in.J) / model.inertiaDivisor);
    if (model.family == Family::SpeedLimited)
        speedLimited(model, in, r);
    else
        accelerationLimited(model, in, r);

    // Every stored value must be a number, also those of the profile not chosen.
    if (!std::isfinite(r.j) || !std::isfinite(r.a) || !std::isfinite(r.b)
        || !std::isfinite(r.thetaA) || !std::isfinite(r.alpha) || !std::isfinite(r.q)
        || !finite(r.profile1) || !finite(r.profile2))
        return std::nullopt;

    const MotionProfile& chosen = r.chosenProfile == 1 ? r.profile1 : r.profile2;
    r.maxSpeed = chosen.maxSpeed;
    r.maxAccel = chosen.maxAccel;
    r.movingTime = chosen.movingTime;
    return r;
}

bool inertiaInRange(int modelIndex, float J)
{
    return J >= 0 && J <= static_cast<float>(speedModel(modelIndex).maxInertia);
}

SpeedRun checkSpeedInputs(int modelIndex, const SpeedTexts& texts)
{
    SpeedRun run;
    const auto theta = readNumber(texts[1]);
    const auto V = readNumber(texts[2]);
    const auto A = readNumber(texts[3]);
    if (!theta || !V || !A) {
        run.message = blankMessage();
        run.resets[1] = QStringLiteral("90");
        run.resets[2] = QStringLiteral("100");
        run.resets[3] = QStringLiteral("100");
        return run;
    }

    struct Check {
        bool failed;
        QString (*message)();
        int box;
        const char* reset;
    };
    const Check checks[] = {
        {*theta == 0, zeroMessage, 1, "90"}, {*V == 0, zeroMessage, 2, "100"},
        {*A == 0, zeroMessage, 3, "100"},    {*theta < 0, negativeMessage, 1, "90"},
        {*V < 0, negativeMessage, 2, "100"}, {*A < 0, negativeMessage, 3, "100"},
    };
    if (texts[0].isEmpty()) {
        run.message = blankMessage();
        run.resets[0] = maxInertiaText(modelIndex);
        return run;
    }
    for (const Check& check : checks) {
        if (check.failed) {
            run.message = check.message();
            run.resets[static_cast<std::size_t>(check.box)] = QString::fromLatin1(check.reset);
            return run;
        }
    }

    // A load inertia that is not a number ends the run without touching any box.
    if (!readNumber(texts[0]))
        run.message = blankMessage();
    return run;
}

SpeedRun runSpeedCalculation(int modelIndex, const SpeedTexts& texts)
{
    SpeedRun run = checkSpeedInputs(modelIndex, texts);
    if (!run.message.isEmpty())
        return run;

    SpeedInputs in;
    in.J = store(*readNumber(texts[0]));
    in.theta = store(*readNumber(texts[1]));
    in.V = store(*readNumber(texts[2]));
    in.A = store(*readNumber(texts[3]));

    if (inertiaInRange(modelIndex, in.J))
        run.result = computeSpeed(modelIndex, in);
    if (!run.result) {
        run.message = rangeMessage();
        run.resets[0] = maxInertiaText(modelIndex);
    }
    return run;
}

QString formatResult(float value)
{
    if (!std::isfinite(value))
        return QStringLiteral("0.000");
    // The float's shortest decimal form, rounded on its decimal digits half away from zero.
    char buf[64];
    const auto end = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed).ptr;
    return numbers::formatFixed(QString::fromLatin1(buf, int(end - buf)), 3);
}

}  // namespace kap::speed
