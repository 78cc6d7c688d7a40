// Reading and writing the decimal texts of the protocol.
#pragma once

#include <QByteArray>

#include <optional>

namespace sim {

// Sign and digits only, blanks around allowed.
std::optional<int> parseInteger(const QByteArray& text);

// Sign, digits and at most one decimal point, blanks around allowed.
std::optional<double> parseNumber(const QByteArray& text);

// Two decimals, as the controller reports angles; never "-0.00".
QByteArray formatAngle(double value);

// Control characters shown as \r, \n, \xHH for logs.
QByteArray printable(const QByteArray& bytes);

// The reverse of printable(), for texts typed on a command line.
QByteArray unescape(const QByteArray& text);

}  // namespace sim
