// The shared reactions of a window to a failed exchange.
#pragma once

namespace kap {

class Session;
struct Outcome;

// The communication-error box "The communication error. Please check the connection.",
// silenced by settei, by a pressed Stop and during a return to origin; then the window is
// made usable again.
void ReportLinkError(Session& s);
// The same box for the return to origin of the point-input window: Stop and orgpos do not
// silence it.
void ReportOriginLinkError(Session& s);
// The box alone, whatever silence holds (a failure the user must learn of at once, such as
// a stop that was not answered), except while the window is closing.
void ReportLinkErrorAlways(Session& s);
// A refused or unusable reply: the reply goes to Txt_Error and, unless it holds "STOP", the
// box "Cannot receive data from controller." titled "Error".
void ReportRefusal(Session& s, const Outcome& outcome);
// Tool bar and window enabled, progress dialog hidden.
void RestoreWindow(Session& s);
void LockCommands(Session& s);
void UnlockCommands(Session& s);

}  // namespace kap
