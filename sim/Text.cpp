#include "Text.h"

#include <cmath>

namespace sim {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

int hexValue(char c)
{
    if (isDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

}  // namespace

std::optional<int> parseInteger(const QByteArray& text)
{
    const QByteArray t = text.trimmed();
    qsizetype i = (t.startsWith('-') || t.startsWith('+')) ? 1 : 0;
    if (i == t.size())
        return std::nullopt;
    for (; i < t.size(); ++i)
        if (!isDigit(t[i]))
            return std::nullopt;
    bool ok = false;
    const int value = t.toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

std::optional<double> parseNumber(const QByteArray& text)
{
    const QByteArray t = text.trimmed();
    qsizetype i = (t.startsWith('-') || t.startsWith('+')) ? 1 : 0;
    int digits = 0;
    int points = 0;
    for (; i < t.size(); ++i) {
        if (isDigit(t[i]))
            ++digits;
        else if (t[i] == '.')
            ++points;
        else
            return std::nullopt;
    }
    if (digits == 0 || points > 1)
        return std::nullopt;
    bool ok = false;
    const double value = t.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

QByteArray formatAngle(double value)
{
    QByteArray text = QByteArray::number(value, 'f', 2);
    if (text == "-0.00")
        text = "0.00";
    return text;
}

QByteArray printable(const QByteArray& bytes)
{
    QByteArray out;
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\\')
            out += "\\\\";
        else if (u < 0x20 || u >= 0x7f)
            out += "\\x" + QByteArray::number(u, 16).rightJustified(2, '0');
        else
            out += c;
    }
    return out;
}

QByteArray unescape(const QByteArray& text)
{
    QByteArray out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\\' || i + 1 == text.size()) {
            out += c;
            continue;
        }
        const char e = text[++i];
        if (e == 'r') {
            out += '\r';
        } else if (e == 'n') {
            out += '\n';
        } else if (e == 'x' && i + 2 < text.size() && hexValue(text[i + 1]) >= 0
                   && hexValue(text[i + 2]) >= 0) {
            out += static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2]));
            i += 2;
        } else {
            out += e;
        }
    }
    return out;
}

}  // namespace sim
