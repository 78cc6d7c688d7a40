// The steps receive and transmit share: one exchange with its time-out, judging the reply,
// the cancel check of the progress dialog and putting the window back.
#pragma once

#include "Session.h"
#include "Link.h"

#include <QString>

namespace kap::exchange {

// How an operation ended; the boxes and grids tell the user, this tells the caller.
enum class Result {
    Done,       // finished (closing box shown where there is one)
    Declined,   // No to the confirmation
    Refused,    // a check of the table failed, or the controller refused ("NG")
    Cancelled,  // Cancel in the progress dialog
    LinkError,  // time-out, lost line or unusable reply
};

// Clears the request, sets the command code and its argument, the reply time-out, builds
// the line and runs the transaction.
Outcome exchangeLine(Session& session, qint16 code, float timeoutMs,
                     const QString& argument = QString());
// One record line of a write block ("P3=A,90.00,50"), or the end-of-data byte (empty record).
Outcome exchangeRecord(Session& session, qint16 code, const QString& record, float timeoutMs);

enum class Verdict { LinkError, Refused, Usable };
// No reply word in time, or the line failed under the transaction (the reply may be cut
// short then): a link error. Otherwise "NG" anywhere is a refusal.
Verdict judge(const Outcome& outcome);

// From the confirmation to the end of a data operation the window is disabled and its
// commands locked: a Receive clicked during a transmit's waits would empty the very grid the
// transmit is about to write.
void lockWindow(Session& session);
// Tool bar, commands and window enabled, progress dialog hidden.
void restore(Session& session);
// The communication-error box (silenced while settei is set) and the window made usable.
void linkError(Session& session);
// "Cannot receive data from controller." (unless "STOP") and the window restored.
void refusal(Session& session, const Outcome& outcome);

// False, after the box that belongs to it, for a reply the operation cannot use: a link
// error, a refusal, or (needOk) a reply without "OK".
bool usable(Session& session, const Outcome& out, bool needOk);

// Reads the Cancel tag; a "1" is consumed (set back to "0") and reported.
bool takeCancel(Session& session);
// A new operation starts with a clear Cancel tag, so a click left from an earlier one
// cannot stop it.
void showProgress(Session& session, int minimum, int maximum, int value);

void letEventsRun();
QString tr(const char* text);

}  // namespace kap::exchange
