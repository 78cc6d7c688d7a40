// The pulse-train window's servo, brake, alarm and pulse-deviation buttons, and the two state
// queries the I/O monitor runs after each cycle.
#pragma once

#include "session/Commands.h"

#include <QString>

namespace kap {
class Session;
}

namespace kap::operation {

void ToggleServo(Session& s);
void ToggleBrake(Session& s);
void CancelAlarm(Session& s);
void ClearDeviation(Session& s);

// The caption of the servo or brake button from a state reply's first character ("1": on or
// engaged, "0": off or released; any other leaves it).
void ShowStateCaption(Session& s, Command button, const QString& reply);
// Bring the servo and brake captions in line with the controller.
bool QueryServoState(Session& s);  // false when it failed (its box shown)
bool QueryBrakeState(Session& s);

}  // namespace kap::operation
