// What the drive panel's procedures share: one exchange, reading its reply, and the texts.
#pragma once

#include "link/Link.h"
#include "link/ProgramState.h"
#include "session/Session.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QString>

// Drive-panel commands that got no usable answer; quiet unless asked for (the user has a box).
Q_DECLARE_LOGGING_CATEGORY(lcOperation)

namespace kap::operation {

// Reply time-outs of the drive panel, in milliseconds.
namespace timeouts {
inline constexpr float kEnterOperation = 3000.0f;
inline constexpr float kOriginQuery = 3000.0f;
inline constexpr float kMove = 22000.0f;  // point query and move; origin return from a question
inline constexpr float kOrgQuestion = 4000.0f;
inline constexpr float kReturnToOrigin = 30000.0f;
inline constexpr float kStop = 1500.0f;
inline constexpr float kStopAfterJog = 300.0f;
inline constexpr float kJogRelease = 9999.0f;  // set by a jog release; the next Stop is short
inline constexpr float kRefresh = 5000.0f;
inline constexpr float kStopDialog = 22000.0f;
inline constexpr float kMonitor = 3000.0f;
inline constexpr float kServoBrake = 3000.0f;
}  // namespace timeouts

// The texts of the drive panel's procedures (boxes, titles, captions), context "Operation".
struct OperationText {
    Q_DECLARE_TR_FUNCTIONS(Operation)
};

// A question box (Yes / No) titled with the running operation's title; true for Yes.
bool ask(Session& s, const QString& text);

// One exchange of the running operation with the time-out the caller has set. The title and
// time-out of the operation are its own again afterwards, whatever handlers ran during the
// waits.
[[nodiscard]] Outcome exchange(Session& s, qint16 code, const QString& argument = QString());

// An exchange that got no answer (Outcome::noAnswer): the window usable again, the progress
// dialog hidden unless told otherwise, and the communication-error box (unless the running
// operation keeps it silent).
void reportNoAnswer(Session& s, bool hideProgress = true);

// The eight buttons of the pulse-train window's Drive frame.
const QList<Command>& pulsePanel();

}  // namespace kap::operation
