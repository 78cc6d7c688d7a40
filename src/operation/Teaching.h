// Teaching in Setting mode: the input modes (numeric input, direct teaching with the motor
// off, teaching playback with the jog buttons), the teaching target, SET, and sending a taught
// origin shift to the controller as its virtual origin.
#pragma once

#include "session/Session.h"

#include <QString>

namespace kap::operation {

// The options of the teaching frame: 0 numeric input, 1 direct teaching, 2 playback. A
// teaching choice asks its questions, returns to origin and then leaves its loop running on
// the session's teaching timer until the input mode changes (TeachingState::loop).
void ChooseInputMode(Session& s, int option);
// One tick of the teaching timer: one pass of the running loop.
void TeachingTick(Session& s);
// "Numeric Input " chosen unless it is already (stops a running jog).
void SelectNumericInput(Session& s);

// "Origin point shift" and "Position". The pulse-train window starts direct teaching at once.
void ChooseTarget(Session& s, TeachingTarget target);

// The jog buttons: mouse down on CW (clockwise) or CCW, and the release of either.
void PressJog(Session& s, bool clockwise);
void ReleaseJog(Session& s);

void Set(Session& s);  // "SET"

// Writes parameter 35 (the setting of the "Origin point shift" row) to the controller.
void SendVirtualOrigin(Session& s);
// Reads parameter 35 into the session's current origin shift; false when it could not.
bool ReadOriginShift(Session& s);

// The second half of the current-angle refresh in Setting mode: the taught value becomes the
// setting position (Txt_Pos), in the coordinates of the teaching target.
void TeachingUpdate(Session& s, const QString& teachingValue);

// The setting position for a taught value: the origin shift (0.01 degree texts) that makes
// the present position zero, or the position in the coordinates in force when teaching began.
QString taughtPosition(TeachingTarget target, const QString& teachingValue,
                       const QString& originShift, const QString& originShiftAtStart);

}  // namespace kap::operation
