// The setting-data records on the serial link and the small readings of query replies.
//
// Records as the controller sends and takes them, one per line, each closed by CR LF:
//   point   "P" n "=" mode "," position "," speed     (brake mode: "P" n "=B," position)
//   param   "PRM" n "=" value
//   zone    "Z" n "=" angle A "," angle B
// Fields are texts exactly as the grid cells hold them: nothing is scaled or reformatted.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace kap::records {

// Closes a write block; sent alone, without CR LF.
inline constexpr char kEndOfData = 0x1A;

// ---- Writing. Each returns the record WITHOUT its CR LF (the command builder adds it), or
// nullopt when the row sends nothing.

// Nothing for an empty mode (whatever position and speed hold); mode "B" leaves out the speed.
std::optional<QString> pointRecord(const QString& no, const QString& mode,
                                   const QString& position, const QString& speed);
// Nothing for "**", the mark of a parameter the controller does not have.
std::optional<QString> parameterRecord(const QString& no, const QString& value);
// Nothing for an empty angle A.
std::optional<QString> zoneRecord(const QString& no, const QString& angleA,
                                  const QString& angleB);

// ---- Reading records out of a reply.

enum class RecordState {
    Absent,     // no record with that number: the row stays as prepared
    Malformed,  // the key is there but its line has no ",": treat as a communication error
    Found,
};

struct RecordFields {
    RecordState state = RecordState::Absent;
    // Found: two or three texts as they stand (point: mode, position[, speed]; zone: A, B).
    // Text after a third "," on the line is ignored.
    QStringList fields;
};

// The first line of the reply that starts with "P" number "=" (or "Z" number "="). A key is
// only recognised at the start of a line, so "P1=" never matches inside "P10=", "SP1=" or a
// damaged line. A record's fields never reach past its own line: a line without "," is
// Malformed, and a last line without CR runs to the end of the reply.
RecordFields findPointRecord(const QString& reply, int number);
RecordFields findZoneRecord(const QString& reply, int number);

// The values of parameters 0 to 63 taken by position: each value runs from after the next "="
// to the next CR (or the end of the reply); the number before "=" is not looked at. Stops
// when no further "=" exists, so a short reply gives fewer than 64 values (size() says how
// many); the rows beyond are meant to be left unchanged.
QStringList parameterValues(const QString& reply);

// The value of "PRM" number "=" at the start of a line, up to the next CR; nullopt when absent.
std::optional<QString> parameterByName(const QString& reply, int number);

// ---- Reply values.

// The reply of a query with its closing "OK" line removed: last character "K" drops 4, CR
// drops 5, otherwise a reply of 7 or more characters drops 6 and a shorter one is kept whole.
// Start-up's family query states the last step as "longer than 6 drops 6, else whole", which
// is the same rule; both use this function. A reply shorter than the part to drop gives "".
QString replyValue(const QString& reply);

// The value in the reply to "@?PRM " n: the reply without its last six characters ("" when
// shorter).
QString queryValue(const QString& reply);

// The actuator type in the reply to "@?PRM " 0: its first two characters.
QString actuatorTypeOf(const QString& reply);

// A previous-generation controller answers "@READ DIO " with a short layout whose 8th
// character is CR. Pass the reply as received.
bool isPreviousController(const QString& dioReply);

// True for the firmware versions 1.02, 1.03, 1.04, 1.05, 1.06, 1.81 and 1.82, which have no
// "No limit mode" (parameter 28). Compared as decimal numbers, so "1.050" is 1.05; a text
// that is not a number is in no list.
bool versionLacksNoLimitMode(const QString& version);

}  // namespace kap::records
