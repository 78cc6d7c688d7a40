// The shared reactions of a window to a failed exchange.
#pragma once

#include <QString>

namespace kap {

class Session;
struct Outcome;

// The communication-error box "The communication error. Please check the connection.",
// silenced in Setting mode (LinkErrorSilence::settingMode), by a pressed Stop and during a return
// to origin; then the window is made usable again. more, when given, is a paragraph of its own
// after the box's text (what the failure has left in the controller).
void ReportLinkError(Session& s, const QString& more = QString());
// The same box for the return to origin of the point-input window: a pressed Stop and the
// motion silence do not silence it.
void ReportOriginLinkError(Session& s);
// The box alone, whatever silence holds (a failure the user must learn of at once, such as
// a stop that was not answered), except while the window is closing.
void ReportLinkErrorAlways(Session& s);
// A refused or unusable reply: the reply goes to Txt_Error and, unless it holds "STOP", the
// box "Cannot receive data from controller." titled "Error", with more as a paragraph after
// its text.
void ReportRefusal(Session& s, const Outcome& outcome, const QString& more = QString());
// The same for a refusal that Txt_Error alone would not make plain (in Setting mode its frame
// is disabled, the line greyed and cut short): the box is titled as the operation and shows
// the controller's reply after its text.
void ReportRefusalWithReply(Session& s, const Outcome& outcome);
// Tool bar and window enabled, progress dialog hidden.
void RestoreWindow(Session& s);
void LockCommands(Session& s);
void UnlockCommands(Session& s);

}  // namespace kap
