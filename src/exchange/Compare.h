// Compare: the controller's table and parameters checked against the window's grids, from the
// menu command "Compare" (mnuToolsComp, tool-bar key "Cmpare") of both main windows. Neither
// side is changed: the only lines sent are the two reads, and no cell, flag or modified mark
// of the grids is written.
#pragma once

#include "exchange/ExchangeSteps.h"
#include "session/Session.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace kap::exchange {

// What a compare that ran to its end found. number is the record number (point, zone or
// parameter number), not the grid row.
struct CompareFinding {
    enum class Kind { Equal, Row, Parameter };
    Kind kind = Kind::Equal;
    int number = -1;
    // The record as the grid holds it and as the controller sent it (fields joined by ",";
    // "(no record)" when the controller sent none); filled for the list of every difference.
    QString mine;
    QString theirs;
};

// mnuToolsComp: "@READ PNT " (point-input window) or "@READ ZON " (pulse-train window), then
// "@READ PRM ", each against its grid; stops at the first difference and names it in the
// result box. Done when the result box was shown (all equal or a difference: see finding);
// Declined, Cancelled, Refused ("NG" to the table read) and LinkError (time-out, a reply
// without "OK", a cut or damaged reply) end without a result box.
// With every, the compare does not stop at a difference: it reads both the table and the
// parameters and lists each difference; finding and the result box still name the first.
Result Compare(Session& session, CompareFinding* finding = nullptr,
               QList<CompareFinding>* every = nullptr);

// The rules of one row, for the procedure and its tests.
namespace compare {

// The leading number of a text as the old tool's Val read it: blanks skipped, then a signed
// decimal if one leads; 0 when none ("**" and "" are 0, "12abc" is 12).
double leadingNumber(const QString& text);

// A point row: cells are Mode, Position and Speed as the grid holds them (a Note is never
// compared: the controller keeps none); body is the record's text after "=" up to its CR, or
// nothing when the controller sent no record. The cells are compared with the body's fields
// as text, exactly; past the body's end a field is empty. Mode "B" compares the Position as a
// small number (the body's second field's first character against the cell, or the cell's
// first character when it holds four, "2.00"), and when those agree the rest of the row is
// not compared.
bool pointDiffers(const QStringList& cells, const std::optional<QString>& body);

// A zone row: cells are angle A and angle B; fields the record's first two fields, or nothing
// when the controller sent no record. Compared as single-precision numbers (90.0 equals
// 90.00); a cell or field that is not a number differs (an empty cell whose zone the
// controller reports is a difference).
bool zoneDiffers(const QStringList& cells, const std::optional<QStringList>& fields);

// A parameter: the Setting Value cell against the controller's value, each read with
// leadingNumber, as double-precision numbers ("**" equals only 0).
bool parameterDiffers(const QString& cell, const QString& received);

}  // namespace compare

}  // namespace kap::exchange
