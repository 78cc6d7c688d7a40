// The drive panel of both main windows: Setting and Operation mode, Start, Stop and Org, the
// return to origin with its STOP dialog, and the current-angle refresh.
#pragma once

#include "link/Link.h"

#include <QString>

#include <optional>

namespace kap {
class Session;
}

namespace kap::operation {

// Ties the session's I/O-monitor timer and its stop requests (closing during a motion) to
// their procedures. Once per session.
void attach(Session& s);

void EnterOperationMode(Session& s);  // "Operation"
void EnterSettingMode(Session& s);    // "Setting"

// The mouse-down (Start, Org) and key-down (Stop) colours.
void PressStart(Session& s);
void PressOrg(Session& s);
void PressStop(Session& s);

void Start(Session& s);  // point-input window
void Stop(Session& s);
void Org(Session& s);

// The stop character with its answer (Stop and the jog release): 1500 ms, or 300 ms after a
// jog release has set 9999 ms. Gives the stop's answer.
Outcome StopProcedure(Session& s);
// A jog release has set its marker time-out: the stop that follows waits only 300 ms.
bool isJogReleaseTimeout(Session& s);

// Who would send a motion command: the drive panel (Start, Org, a point move) moves only in
// Operation mode; teaching (its return to origin, the jog commands) only while its loop runs
// in Setting mode. Neither moves once Stop was pressed for the running operation or while
// the window closes.
enum class MotionSource { DrivePanel, Teaching };
bool mayMove(Session& s, MotionSource source);

// Sends "@ORG " and waits up to 30 s. showStopDialog: the STOP dialog is offered meanwhile.
// fromOrgButton: on the pulse-train window Stop is offered (pink) while it runs. Gives the
// answer to "@ORG ".
Outcome ReturnToOrigin(Session& s, bool showStopDialog, bool fromOrgButton = false);
// After a stop character written into a running motion's wait: when that exchange has not
// ended within timeoutMs, the stop was not answered and the user is told at once. No second
// stop character goes out: its answer could outlive the motion's exchange and be read as the
// next command's.
void watchBreak(Session& s, float timeoutMs);
// The STOP dialog's button: the stop character goes straight to the port.
void PressStopDialog(Session& s);

// Reads "@?POS " into the current-angle box. Gives the teaching value of the reply, or
// nothing when the refresh ended early; in Setting mode the teaching update runs with it.
std::optional<QString> RefreshCurrentAngle(Session& s);

// The angle shown for a position reply: its leading number (0 without one), "0.00".
QString shownAngle(const QString& reply);
// The leading number of a text as a decimal text ("0" without one): "12.5\r\nOK" gives "12.5".
QString leadingNumber(const QString& text);
// The teaching value of a position reply's first line: "?-5.00" gives "-5.00", "?5.00"
// gives "-5.00", a line led by the byte 0xA5 gives what follows it, any other the line.
QString teachingValueOf(const QString& reply);

}  // namespace kap::operation
