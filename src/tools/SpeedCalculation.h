// Rotary operating speed calculator: estimates the maximum speed and acceleration of one
// positioning move of a rotary actuator from its load inertia, the moving angle and the speed
// and acceleration settings. Pure logic; the calculator window only shows what this returns.
//
// Arithmetic: the inputs and every stored intermediate are single precision; each formula is
// evaluated in double precision from those floats and the double constants (pi as
// 3.14159265358979), in the order written, and rounded to float where it is stored. The shown
// digits depend on this, so keep it.
#pragma once

#include <QString>

#include <array>
#include <optional>

namespace kap::speed {

inline constexpr int kModelCount = 7;

enum class Family {
    SpeedLimited,         // the move is bounded by a top speed (models 61, 62)
    AccelerationLimited,  // the move is bounded by the motor's torque (the others)
};

struct SpeedModel {
    int typeNumber;       // actuator type number, 61, 62, ...
    const char* caption;  // option caption, e.g. "61 : TALOR3A (TALOR3)"
    int maxInertia;       // largest accepted load inertia, in the unit below
    const char* unit;     // "*10^-6 kg * m^2" or "*10^-3 kg * m^2"
    Family family;
    double inertiaDivisor;  // j = J / divisor
    // Acceleration-limited family only: alpha = 1 / (c1 * j + c0) * A / 100, q uses k.
    double c1;
    double c0;
    double k;
};

// The seven models in option order (index 0 is model 61). Index must be 0..6.
const SpeedModel& speedModel(int index);

// Option index of an actuator type text ("61" -> 0, "50" -> 4, ...); nullopt for any other text.
std::optional<int> modelIndexForType(const QString& typeText);

// "Max. input value for load inertia is 1000." for the model at index.
QString inertiaLimitText(int index);

// The model's maximum as Text1 shows it after a reset, e.g. "1000".
QString maxInertiaText(int index);

struct MotionProfile {
    float accelTime = 0;   // t: time to reach the top speed of the move (s)
    float maxSpeed = 0;    // w: revolutions per second
    float maxAccel = 0;    // alpha: rad/s^2
    float movingTime = 0;  // T (s)
};

struct SpeedResult {
    float j = 0;  // load inertia in kg*m^2 / 1000 (model 50: / 1000000)
    // Speed-limited family.
    float a = 0;
    float b = 0;
    float thetaA = 0;  // angle used by acceleration and deceleration at full speed
    // Acceleration-limited family (alpha is the same for both profiles).
    float alpha = 0;
    float q = 0;

    MotionProfile profile1;  // the move reaches full speed
    MotionProfile profile2;  // the move is too short to reach it
    int chosenProfile = 1;   // 1 or 2

    float maxSpeed = 0;    // w of the chosen profile, rps
    float maxAccel = 0;    // alpha of the chosen profile, rad/s^2
    float movingTime = 0;  // T of the chosen profile, s
};

// The calculation's inputs as single-precision numbers.
struct SpeedInputs {
    float J = 0;      // load inertia, in the model's unit
    float theta = 0;  // moving angle, degrees
    float V = 0;      // speed setting, percent
    float A = 0;      // acceleration setting, percent
};

// Both profiles and the chosen one. Does not check J against the model's range.
// nullopt when any value of either profile is not finite (a division by zero, the root of a
// negative number, an overflow of single precision): the caller reports that as an input
// error, never as a result.
std::optional<SpeedResult> computeSpeed(int modelIndex, const SpeedInputs& in);

// 0 <= J <= the model's maximum.
bool inertiaInRange(int modelIndex, float J);

// The four input boxes: load inertia, moving angle, speed, acceleration.
using SpeedTexts = std::array<QString, 4>;

// Outcome of pressing "Start calculation".
struct SpeedRun {
    QString message;  // box text (critical icon); empty when nothing is shown
    // New text for Text1..Text4; nullopt leaves the box as it is.
    std::array<std::optional<QString>, 4> resets;
    // The new results; nullopt keeps the result boxes showing the previous calculation.
    std::optional<SpeedResult> result;
};

// The input checks before the calculation: the number test of the angle, speed and
// acceleration, then the table of empty, zero and negative inputs in its fixed order, then the
// number test of the load inertia. An empty message means the inputs are usable.
SpeedRun checkSpeedInputs(int modelIndex, const SpeedTexts& texts);

// The whole run: checks, the model's range check and the calculation. A failed range check and
// an arithmetic failure both give "Cannot compute due to input data error." and reset Text1.
SpeedRun runSpeedCalculation(int modelIndex, const SpeedTexts& texts);

// A result box's text: the value rounded to three decimals, half away from zero, on the
// shortest decimal that reads back as the same float ("0.000" pattern).
QString formatResult(float value);

}  // namespace kap::speed
