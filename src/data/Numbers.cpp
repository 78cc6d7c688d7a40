#include "data/Numbers.h"

#include <QByteArray>

#include <array>
#include <charconv>
#include <cmath>

namespace kap::numbers {

namespace {

struct Decimal {
    bool negative = false;
    QByteArray intDigits;   // may be empty (".5")
    QByteArray fracDigits;  // may be empty ("5", "5.")
};

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

std::optional<Decimal> parse(const QString& text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text.at(begin)))
        ++begin;
    while (end > begin && isBlank(text.at(end - 1)))
        --end;

    Decimal d;
    qsizetype i = begin;
    if (i < end && (text.at(i) == u'+' || text.at(i) == u'-')) {
        d.negative = text.at(i) == u'-';
        ++i;
    }
    bool point = false;
    for (; i < end; ++i) {
        const char16_t c = text.at(i).unicode();
        if (c >= u'0' && c <= u'9') {
            (point ? d.fracDigits : d.intDigits).append(char(c));
        } else if (c == u'.' && !point) {
            point = true;
        } else {
            return std::nullopt;
        }
    }
    if (d.intDigits.isEmpty() && d.fracDigits.isEmpty())
        return std::nullopt;
    return d;
}

enum class Rounding { HalfAwayFromZero, HalfEven };

// Adds one unit in the last place of a string of decimal digits.
void incrementDigits(QByteArray& digits)
{
    for (qsizetype i = digits.size() - 1; i >= 0; --i) {
        if (digits[i] != '9') {
            ++digits[i];
            return;
        }
        digits[i] = '0';
    }
    digits.prepend('1');
}

QString round(const Decimal& d, int decimals, Rounding mode)
{
    QByteArray frac = d.fracDigits;
    if (frac.size() < decimals + 1)
        frac.append(QByteArray(decimals + 1 - frac.size(), '0'));

    QByteArray kept = (d.intDigits.isEmpty() ? QByteArray("0") : d.intDigits) + frac.left(decimals);
    const char first = frac.at(decimals);
    bool up = false;
    if (mode == Rounding::HalfAwayFromZero) {
        up = first >= '5';
    } else if (first > '5') {
        up = true;
    } else if (first == '5') {
        const QByteArray rest = frac.mid(decimals + 1);
        const bool exactHalf = rest.count('0') == rest.size();
        up = !exactHalf || (kept.back() - '0') % 2 == 1;
    }
    if (up)
        incrementDigits(kept);

    QByteArray intPart = kept.left(kept.size() - decimals);
    const QByteArray fracPart = kept.right(decimals);
    qsizetype zeros = 0;
    while (zeros < intPart.size() - 1 && intPart.at(zeros) == '0')
        ++zeros;
    intPart.remove(0, zeros);

    const bool zero = intPart == "0" && fracPart.count('0') == fracPart.size();
    QByteArray out;
    if (d.negative && !zero)
        out.append('-');
    out.append(intPart);
    if (decimals > 0)
        out.append('.').append(fracPart);
    return QString::fromLatin1(out);
}

}  // namespace

bool isNumber(const QString& text)
{
    return parse(text).has_value();
}

std::optional<double> readNumber(const QString& text)
{
    const std::optional<Decimal> d = parse(text);
    if (!d)
        return std::nullopt;
    // from_chars takes the validated digits only: no sign, blanks or "+" reach it.
    const QByteArray digits = (d->intDigits.isEmpty() ? QByteArray("0") : d->intDigits) + '.'
                              + (d->fracDigits.isEmpty() ? QByteArray("0") : d->fracDigits);
    double value = 0;
    const auto [ptr, ec] = std::from_chars(digits.constData(), digits.constData() + digits.size(),
                                           value, std::chars_format::fixed);
    if (ec == std::errc::result_out_of_range) {
        // Hundreds of digits: still a number, just beyond what a double holds.
        const bool large = d->intDigits.count('0') != d->intDigits.size();
        value = large ? HUGE_VAL : 0.0;
    } else if (ec != std::errc() || ptr != digits.constData() + digits.size()) {
        return std::nullopt;
    }
    return d->negative ? -value : value;
}

QString formatFixed(const QString& numberText, int decimals)
{
    if (decimals < 0)
        return {};
    const std::optional<Decimal> d = parse(numberText);
    if (!d)
        return {};
    return round(*d, decimals, Rounding::HalfAwayFromZero);
}

QString shortestDecimal(double value)
{
    if (!std::isfinite(value))
        return {};
    // Fixed notation of the largest double has 309 digits; the smallest subnormal needs
    // 324 decimals plus "0." and a sign.
    std::array<char, 400> buf{};
    const auto [ptr, ec] = std::to_chars(buf.data(), buf.data() + buf.size(), value,
                                         std::chars_format::fixed);
    if (ec != std::errc())
        return {};
    return QString::fromLatin1(buf.data(), ptr - buf.data());
}

QString formatFixed(double value, int decimals)
{
    const QString text = shortestDecimal(value);
    return text.isNull() ? QString() : formatFixed(text, decimals);
}

QString format2(const QString& numberText)
{
    return formatFixed(numberText, 2);
}

QString format2(double value)
{
    return formatFixed(value, 2);
}

QString roundHalfEven(const QString& numberText)
{
    const std::optional<Decimal> d = parse(numberText);
    if (!d)
        return {};
    return round(*d, 0, Rounding::HalfEven);
}

QString plainNumber(const QString& numberText)
{
    std::optional<Decimal> d = parse(numberText);
    if (!d)
        return {};
    while (d->fracDigits.endsWith('0'))
        d->fracDigits.chop(1);
    // Nothing is left to round away, so this only tidies the text.
    return round(*d, int(d->fracDigits.size()), Rounding::HalfAwayFromZero);
}

}  // namespace kap::numbers
