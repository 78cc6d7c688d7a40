// The shared reactions of a window to a failed exchange.
#pragma once

#include <QString>

namespace kap {

class Link;
class WindowSide;

// The communication-error box "The communication error. Please check the connection.",
// silenced by settei, by a pressed Stop and during a return to origin; then the window is
// made usable again.
void ReportLinkError(WindowSide& w);
// The same box for the return to origin of the point-input window: Stop and orgpos do not
// silence it.
void ReportOriginLinkError(WindowSide& w);
// A refused or unusable reply: the reply goes to Txt_Error and, unless it holds "STOP", the
// box "Cannot receive data from controller." titled "Error".
void ReportRefusal(WindowSide& w, Link& link);
// Tool bar and window enabled, progress dialog hidden.
void RestoreWindow(WindowSide& w);
void LockCommands(WindowSide& w);
void UnlockCommands(WindowSide& w);

}  // namespace kap
