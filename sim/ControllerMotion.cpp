// The moving part of the controller: return to origin, positioning, jogging and the lamps
// that show them.
#include "Controller.h"

#include "ControllerText.h"
#include "Text.h"

#include <algorithm>
#include <cmath>

namespace sim {

namespace {

constexpr double kDefaultStep = 0.5;       // degrees, when parameter 25 holds nothing usable
constexpr double kDefaultJogSpeed = 36.0;  // degrees per second, likewise for parameter 24

}  // namespace

bool Controller::moving() const
{
    return motion_ != Motion::None;
}

bool Controller::refuseMotion()
{
    if (moving()) {
        refuse(kErrBusy);
        return true;
    }
    if (alarm) {
        refuse(kErrAlarm);
        return true;
    }
    return false;
}

void Controller::cmdOrg(const QByteArray&)
{
    if (refuseMotion())
        return;
    startPositioning(0.0, true);
}

void Controller::cmdMovp(const QByteArray& arg)
{
    bool ok = false;
    const int n = arg.toInt(&ok);
    if (!ok || arg.startsWith('+') || arg.startsWith('-') || n < 0 || n >= points.size()) {
        refuse(kErrValue);
        return;
    }
    const Point& p = points[n];
    if (p.mode.isEmpty()) {
        refuse(kErrNoPoint);
        return;
    }
    if (refuseMotion())
        return;
    lastPoint_ = n;
    if (p.mode == "B") {
        brakeOn = p.pos == "1";
        respond(kOk);
        return;
    }
    if (options_.originRequired && !originDone) {
        refuse(kErrNoOrigin);
        return;
    }
    const double value = parseNumber(p.pos).value_or(0.0);
    updatePosition();
    const double target = p.mode == "I" ? position + value : value;
    if (!withinLimits(target)) {
        refuse(kErrLimit);
        return;
    }
    startPositioning(target, false);
}

void Controller::cmdStepPlus(const QByteArray&)
{
    step(+1);
}

void Controller::cmdStepMinus(const QByteArray&)
{
    step(-1);
}

void Controller::cmdHoldPlus(const QByteArray&)
{
    startHold(+1);
}

void Controller::cmdHoldMinus(const QByteArray&)
{
    startHold(-1);
}

void Controller::cmdSrvo(const QByteArray& arg)
{
    if (arg != "0" && arg != "1") {
        refuse(kErrValue);
        return;
    }
    if (moving() && arg == "0") {
        refuse(kErrBusy);
        return;
    }
    if (alarm && arg == "1") {
        refuse(kErrAlarm);
        return;
    }
    servoOn = arg == "1";
    respond(kOk);
}

void Controller::cmdBrk(const QByteArray& arg)
{
    if (arg != "0" && arg != "1") {
        refuse(kErrValue);
        return;
    }
    if (moving()) {
        refuse(kErrBusy);
        return;
    }
    brakeOn = arg == "1";
    respond(kOk);
}

// The drive-state commands are refused while the actuator moves, as a motion is.
void Controller::cmdAlr(const QByteArray&)
{
    if (moving()) {
        refuse(kErrBusy);
        return;
    }
    alarm = false;
    respond(kOk);
}

void Controller::cmdCclr(const QByteArray&)
{
    if (moving()) {
        refuse(kErrBusy);
        return;
    }
    respond(kOk);
}

void Controller::startPositioning(double target, bool toOrigin)
{
    updatePosition();
    servoOn = true;  // a motion command excites the motor again (direct teaching switches it off)
    motion_ = Motion::Positioning;
    motionFrom_ = position;
    motionTo_ = target;
    motionToOrigin_ = toOrigin;
    motionFault_ = fault_;
    motionSource_ = current_;
    motionClock_.start();
    motionTimer_.start(std::max(0, options_.motionMs));
}

void Controller::finishPositioning()
{
    if (motion_ != Motion::Positioning)
        return;
    position = motionTo_;
    if (motionToOrigin_)
        originDone = true;
    motion_ = Motion::None;
    const std::optional<Fault> fault = motionFault_;
    motionFault_.reset();
    deliver(kOk, fault, motionSource_);
}

void Controller::step(int direction)
{
    if (refuseMotion())
        return;
    const int unit = params.value(25).toInt();
    const double distance = unit > 0 ? unit / 100.0 : kDefaultStep;
    const double target = position + direction * distance;
    if (!withinLimits(target)) {
        refuse(kErrLimit);
        return;
    }
    servoOn = true;
    position = target;
    respond(kOk);
}

void Controller::startHold(int direction)
{
    if (refuseMotion())
        return;
    servoOn = true;
    motion_ = Motion::Jog;
    jogDirection_ = direction;
    motionClock_.start();
    jogTimer_.start();
    // The motion has begun; only the answer waits (a stop meanwhile is answered after it).
    respond(kOk, options_.heldReplyDelayMs);
}

void Controller::jogTick()
{
    updatePosition();
}

void Controller::updatePosition()
{
    if (motion_ == Motion::None && !servoOn && options_.handTurnDegPerSec != 0.0) {
        if (handClock_.isValid())
            position = clampToLimits(
                position + options_.handTurnDegPerSec * double(handClock_.elapsed()) / 1000.0);
        handClock_.restart();
        return;
    }
    handClock_.invalidate();
    if (motion_ == Motion::Positioning) {
        const int total = options_.motionMs;
        const double done = total > 0 ? std::min(1.0, double(motionClock_.elapsed()) / total) : 1.0;
        position = motionFrom_ + (motionTo_ - motionFrom_) * done;
    } else if (motion_ == Motion::Jog) {
        // Parameter 24 is the teaching speed in 0.01 revolutions per second.
        const int speed = params.value(24).toInt();
        const double degreesPerSecond = speed > 0 ? speed * 3.6 : kDefaultJogSpeed;
        const qint64 ms = motionClock_.restart();
        position = clampToLimits(position + jogDirection_ * degreesPerSecond * double(ms) / 1000.0);
    }
}

void Controller::stopMotion()
{
    updatePosition();
    motionTimer_.stop();
    jogTimer_.stop();
    motion_ = Motion::None;
    motionFault_.reset();
    jogDirection_ = 0;
}

// The software limits (parameters 1 and 2, degrees) hold only when "no limit mode"
// (parameter 28) is OFF; a limit of 0 is no limit.
bool Controller::withinLimits(double target) const
{
    return clampToLimits(target) == target;
}

double Controller::clampToLimits(double target) const
{
    if (params.value(28) != "1")
        return target;
    const int plus = params.value(1).toInt();
    const int minus = params.value(2).toInt();
    if (plus != 0 && target > plus)
        return plus;
    if (minus != 0 && target < minus)
        return minus;
    return target;
}

// Long layout: "DO:0" lamps 0-3 ",DI:0000" lamps 8-13 CR LF (8th character a lamp).
// Short layout of the previous controller: "DO:" lamps 0-3 CR LF "DI:000" lamps 9-13 CR LF
// (8th character CR).
QByteArray Controller::dioReply() const
{
    char lamp[14];
    std::fill(std::begin(lamp), std::end(lamp), '0');
    const auto set = [&lamp](int i, bool on) { lamp[i] = on ? '1' : '0'; };
    const bool busy = moving();
    set(3, servoOn && !alarm);  // READY
    set(1, !busy);              // INPOS (pulse-train: INPOS/HOLD)
    if (options_.family == 1) {
        bool inZone = false;
        const double angle = std::fmod(std::fmod(position, 360.0) + 360.0, 360.0);
        for (const Zone& z : zones) {
            const auto a = parseNumber(z.a);
            const auto b = parseNumber(z.b);
            if (a && b && angle >= *a && angle <= *b)
                inZone = true;
        }
        set(0, inZone);    // ZONE
        set(2, servoOn);   // ENABLE
        set(11, brakeOn);  // BRK
        set(13, alarm);    // ALR
    } else {
        set(2, busy);  // BUSY; lamp 0 (HOLD) stays off
        // "Pos 0" (lamp 13) to "Pos 5" (lamp 8): the last point number in binary.
        for (int bit = 0; bit < 6; ++bit)
            set(13 - bit, (lastPoint_ >> bit) & 1);
    }
    const QByteArray outputs(lamp, 4);
    if (options_.shortDio)
        return "DO:" + outputs + "\r\nDI:000" + QByteArray(lamp + 9, 5) + "\r\n";
    return "DO:0" + outputs + ",DI:0000" + QByteArray(lamp + 8, 6) + "\r\n";
}

QByteArray Controller::positionReply() const
{
    QByteArray angle = formatAngle(position);
    const bool negative = angle.startsWith('-');
    switch (options_.positionStyle) {
    case Options::PositionStyle::Plain:
        break;
    case Options::PositionStyle::Question:
        return negative ? "?" + angle.mid(1) : angle;
    case Options::PositionStyle::QuestionSigned:
        return negative ? "?" + angle : angle;
    case Options::PositionStyle::SignByte:
        return "\xa5" + angle;
    }
    return angle;
}

}  // namespace sim
