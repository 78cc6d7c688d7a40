// The steps receive and transmit share: one exchange with its time-out, judging the reply,
// the cancel check of the progress dialog and putting the window back.
#pragma once

#include "link/Link.h"
#include "session/Session.h"

#include <QCoreApplication>
#include <QList>
#include <QString>

#include <optional>

namespace kap::exchange {

// How an operation ended; the boxes and grids tell the user, this tells the caller.
enum class Result {
    Done,       // finished (closing box shown where there is one)
    Declined,   // No to the confirmation
    Refused,    // a check of the table failed, or the controller refused ("NG")
    Cancelled,  // Cancel in the progress dialog
    LinkError,  // time-out, lost line or unusable reply
};

// One exchange of a data operation with its reply time-out.
Outcome exchangeLine(Session& session, qint16 code, float timeoutMs,
                     const QString& argument = QString());
// One record line of a write block ("P3=A,90.00,50"), or the end-of-data byte (empty record).
Outcome exchangeRecord(Session& session, qint16 code, const QString& record, float timeoutMs);

// From the confirmation to the end of a data operation the window is disabled and its
// commands locked: a Receive clicked during a transmit's waits would empty the very grid the
// transmit is about to write.
void lockWindow(Session& session);
// Tool bar, commands and window enabled, progress dialog hidden.
void restore(Session& session);
// An exchange that got no answer (Outcome::noAnswer): the communication-error box (silenced
// while the setting-mode silence is on) and the window made usable. more: a paragraph the box adds
// after its text.
void reportNoAnswer(Session& session, const QString& more = QString());
// A refused reply: "Cannot receive data from controller." (unless "STOP") and the window
// restored; more as for reportNoAnswer.
void reportRefusal(Session& session, const Outcome& outcome, const QString& more = QString());

// False, after the box that belongs to it, for a reply the operation cannot use: no answer,
// a refusal, or (needOk) a reply without "OK".
bool usable(Session& session, const Outcome& out, bool needOk);

// Reads the Cancel tag; a "1" is consumed (set back to "0") and reported.
bool takeCancel(Session& session);
// A new operation starts with a clear Cancel tag, so a click left from an earlier one
// cannot stop it.
void showProgress(Session& session, int minimum, int maximum, int value);

void letEventsRun();

// The texts of the data operations (boxes, titles, range texts), context "Exchange".
struct ExchangeText {
    Q_DECLARE_TR_FUNCTIONS(Exchange)
};

// The Result of a step whose reply was not usable: Refused for "NG", LinkError otherwise.
Result resultOfFailure(const Outcome& outcome);

// "@?VER " (2000 ms, "OK" required) and "@READ DIO " (3000 ms) of the point-input window:
// the controller's version and generation into session.controller(). A failed step has had
// its box and restore (usable()); its Result is returned, Done otherwise. The pulse-train
// window reads neither: Done at once.
Result readControllerFacts(Session& session);

// Parameters 6 and 28 of the point-input grid. Parameter 6 applies to previous controllers
// only: Initial Value "1", the given Setting Value and range; otherwise "**", "**" and no
// range. Parameter 28 lacks on previous controllers and on the versions without "No limit
// mode": "**"; otherwise Initial Value "0", the given Setting Value and range.
void showPrm6(Session& session, const QString& value, const QString& range);
void showPrm28(Session& session, const QString& value, const QString& range);

// The status bar's "Origin point shift: " from parameter 35 of the grid.
void showOriginShift(Session& session);
// Lowers the bulk-fill flag and the angle check hold: the grid's change handling runs again.
void lowerFillFlags(Session& session);

// One turn of a write block: a record, or nothing for a row that sends none.
struct Turn {
    std::optional<QString> record;
};
// A write block: the write command (3000 ms), answered "READY"; one transaction per record
// (100 ms) and the end-of-data byte (3000 ms), silence being normal after either. An answer
// to the end-of-data byte that has bytes but no reply word (cut short, garbled) is a
// communication error. Cancel is looked at only after a turn that drew no reply ("Stop"
// titled "Data un-transmitting.", the setting-mode silence on); "NG" ends the block with the
// refusal. The progress bar runs from 0 to the number of turns + 1. Every ending but Done has
// restored the window. failureNote, when given, is added as a paragraph to the box of every ending
// but Done (what the controller holds after a block that did not complete).
Result writeBlock(Session& session, qint16 writeCode, qint16 recordCode, const QList<Turn>& turns,
                  const QString& failureNote = QString());

}  // namespace kap::exchange
