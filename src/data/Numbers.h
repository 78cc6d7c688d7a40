// Reading and writing the numbers the tables hold as text. Cells are text, so rounding works
// on the decimal digits the user or the controller wrote, never on a binary double: 0.125
// shown with two decimals is "0.13", as on the controller's display.
#pragma once

#include <QString>

#include <optional>

namespace kap::numbers {

// A text "reads in full as a number" when it is, after optional blanks (spaces or tabs) at
// either end: an optional "+" or "-" directly followed by ASCII digits with at most one
// decimal point and at least one digit ("12", "-0.5", "+3", ".5", "5."). Exponents, hex,
// thousands separators, inner blanks, "inf" and "nan" are refused: a cell never turns into
// a value the user did not see. Blanks are allowed at the ends because the old tool read
// padded texts from files and the controller without complaint.
[[nodiscard]] bool isNumber(const QString& text);

// The value of a text that reads in full as a number, or nothing.
[[nodiscard]] std::optional<double> readNumber(const QString& text);

// The number rounded on its decimal digits to the given count of decimals (0 gives a whole
// number without a point), halves away from zero: ("0.125", 2) -> "0.13", ("-2.5", 0) ->
// "-3". A result that is zero never carries a sign ("-0.001" -> "0.00"). Leading zeros and a
// "+" are dropped. Null text when the input is not a number or decimals is negative.
QString formatFixed(const QString& numberText, int decimals);

// The same for a double, taken at its shortest decimal form that reads back as the same
// double (2.675 -> "2.675" -> "2.68"), so the result is what the user would expect from the
// number as printed. Null text for infinities and NaN.
QString formatFixed(double value, int decimals);

// formatFixed with two decimals, the format "0.00" of angles.
QString format2(const QString& numberText);
QString format2(double value);

// The number rounded to a whole number, a half going to the even neighbour
// ("50.5" -> "50", "51.5" -> "52", "-0.4" -> "0"). Null text when not a number.
QString roundHalfEven(const QString& numberText);

// The number written plainly, with its value unchanged: no blanks, no "+", no leading zeros,
// no trailing zeros after the point and no bare point (" +050." -> "50", "12.50" -> "12.5",
// "-0" -> "0", ".5" -> "0.5"). Null text when not a number.
QString plainNumber(const QString& numberText);

// The shortest decimal text (no exponent) that reads back as exactly value; null for
// infinities and NaN. -0.0 gives "-0".
QString shortestDecimal(double value);

}  // namespace kap::numbers
