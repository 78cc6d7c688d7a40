// The setting-data records on the serial link and the small readings of query replies.
//
// Records as the controller sends and takes them, one per line, each closed by CR LF:
//   point   "P" n "=" mode "," position "," speed     (brake mode: "P" n "=B," position)
//   param   "PRM" n "=" value
//   zone    "Z" n "=" angle A "," angle B
// Fields are texts exactly as the grid cells hold them: nothing is scaled or reformatted.
#pragma once

#include "data/ActuatorTypes.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace kap::records {

// Closes a write block; sent alone, without CR LF.
inline constexpr char kEndOfData = 0x1A;

// ---- Writing. Each returns the record WITHOUT its CR LF (the command builder adds it), or
// nullopt when the row sends nothing.

// Nothing for an empty mode (whatever position and speed hold); mode "B" leaves out the speed.
std::optional<QString> pointRecord(const QString& no, const QString& mode, const QString& position,
                                   const QString& speed);
// Nothing for "**", the mark of a parameter the controller does not have.
std::optional<QString> parameterRecord(const QString& no, const QString& value);
// Nothing for an empty angle A.
std::optional<QString> zoneRecord(const QString& no, const QString& angleA, const QString& angleB);

// ---- Reading records out of a reply.

enum class RecordState {
    Absent,     // no record with that number, or an empty one: the row stays as prepared
    Malformed,  // the record's body has no ",": treat as a communication error
    Found,
};

struct RecordFields {
    RecordState state = RecordState::Absent;
    // Found: two or three texts as they stand (point: mode, position[, speed]; zone: A, B).
    // Text after a third "," on the line is ignored.
    QStringList fields;
};

// One record line of a read reply: key "P3" and body "A,90.00,50" for "P3=A,90.00,50".
struct Record {
    QString key;
    QString body;
};

// A read reply taken apart line by line: zero or more records, each closed by CR LF, then the
// closing "OK" CR LF and nothing after it. A record is "P", "PRM" or "Z" with a number, "="
// and printable text without "="; any number goes, so records the window has no row for are
// read over. Any other line (a stray byte glued to a key, two lines run together, a lone CR)
// makes the whole reply unreadable (nullopt): reading around the damage would empty rows the
// controller holds, and the next transmit would erase them there too.
std::optional<QList<Record>> readRecords(const QString& reply);

// The first record "P" number (or "Z" number). One with an empty body ("P5=") counts as
// absent; one whose body has no "," is Malformed.
RecordFields findPointRecord(const QList<Record>& records, int number);
RecordFields findZoneRecord(const QList<Record>& records, int number);

// The values of parameters 0 to 63 taken by position; the number in the key is not looked
// at. An empty value stands for a parameter not sent: its row is meant to stay as it is.
// Fewer than 64 records give fewer values (size() says how many).
QStringList parameterValues(const QList<Record>& records);

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

// The controller family from the reply to "@?PRM 13": the value's first character, "0"
// point-input, "1" pulse-train; nothing for any other answer.
std::optional<Family> familyOfReply(const QString& reply);

// True for the firmware versions 1.02, 1.03, 1.04, 1.05, 1.06, 1.81 and 1.82, which have no
// "No limit mode" (parameter 28). Compared as decimal numbers, so "1.050" is 1.05; a text
// that is not a number is in no list.
bool versionLacksNoLimitMode(const QString& version);

}  // namespace kap::records
