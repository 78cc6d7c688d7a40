// The quick-parameter boxes of the point-input window's "Parameters" frame, without widgets:
// the keys each box takes, its valid range and message, the parameter row it edits, and how
// its text goes into that row and comes back. Also the keys and format of the typed setting
// position (Txt_Pos).
#pragma once

#include "session/Session.h"

#include <QChar>
#include <QString>

#include <optional>

namespace kap::operation {

// The boxes that hold a number, in the order Enter and the Down arrow walk them:
// Txt_spd, Txt_Dist, Txt_Limit.
enum class QuickBox { LoadInertia, Acceleration, OriginReturnSpeed };

// The parameters the frame mirrors.
inline constexpr int kLoadInertiaPrm = 3;
inline constexpr int kAccelerationPrm = 4;
inline constexpr int kOriginReturnDirectionPrm = 5;
inline constexpr int kOriginReturnSpeedPrm = 10;
inline constexpr int kOriginShiftPrm = 35;

QuickBox nextBox(QuickBox box);
QuickBox previousBox(QuickBox box);

// Whether a typed character reaches the box. Backspace arrives as QChar(8), Enter as QChar(13).
bool acceptsKey(QuickBox box, QChar ch);
bool positionAcceptsKey(QChar ch);

struct QuickRange {
    double low;
    double high;
    QString message;  // shown (title "error") for a value outside
};
// Load inertia depends on the actuator type: the first two characters of the current type.
QuickRange rangeOf(Session& s, QuickBox box);

// The parameter-table row of a box; none when the window's table has none.
std::optional<int> rowOf(Session& s, QuickBox box);

// Empty when the box's text may be stored, else the message to show.
QString refusal(Session& s, QuickBox box, const QString& text);
// Writes the text into the box's row (origin-return speed in 0.01 rps, so value x 100). False,
// writing nothing, when the text is refused. The table's own change handling still runs.
bool store(Session& s, QuickBox box, const QString& text);
// The row as the quick-box refresh shows it: load inertia as it is, acceleration "0",
// origin-return speed in rps "0.00".
QString shownValue(Session& s, QuickBox box);
// The row as a refused box gets it back: the same, with load inertia formatted "0".
QString restoredValue(Session& s, QuickBox box);
// The box's text as it takes the focus: acceleration "0", origin-return speed "0.00".
QString focusText(QuickBox box, const QString& text);

// Origin-return direction: CCW when the row is not 0.
bool directionIsCcw(Session& s);
void storeDirection(Session& s, bool ccw);

// The "Origin point shift" row (0.01 degree), for the status bar.
QString originShift(Session& s);

// The setting position formatted "0.00": its leading number, 0 without one (as SET reads it).
QString formattedPosition(const QString& text);

}  // namespace kap::operation
