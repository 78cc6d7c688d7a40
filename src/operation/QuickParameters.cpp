#include "operation/QuickParameters.h"

#include "data/ActuatorTypes.h"
#include "data/Grid.h"
#include "data/Numbers.h"
#include "data/ParameterTable.h"
#include "operation/Drive.h"
#include "operation/OperationSteps.h"

#include <algorithm>
#include <array>

namespace kap::operation {

namespace {

constexpr int kBoxCount = 3;
constexpr QChar kBackspace(8);
constexpr QChar kEnter(13);

struct InertiaLimit {
    int type;
    int maximum;
    int exponent;  // of the unit 10^n kg m^2
};

constexpr std::array<InertiaLimit, 8> kInertiaLimits{{
    {50, 300, -6},
    {60, 1000, -6},
    {61, 1000, -6},
    {62, 3000, -6},
    {63, 2000, -6},
    {64, 20000, -6},
    {65, 50, -3},
    {66, 100, -3},
}};

const InertiaLimit* findLimit(double type)
{
    const auto it = std::find_if(kInertiaLimits.cbegin(), kInertiaLimits.cend(),
                                 [type](const InertiaLimit& l) { return l.type == type; });
    return it == kInertiaLimits.cend() ? nullptr : &*it;
}

// A type outside the table takes 64's limit, as the parameter table's range does.
const InertiaLimit& inertiaLimit(const QString& actuatorType)
{
    const std::optional<double> n = numbers::readNumber(actuatorType.left(2));
    const InertiaLimit* l = n ? findLimit(*n) : nullptr;
    return l ? *l : *findLimit(64);
}

bool isAsciiDigit(QChar ch)
{
    return ch >= QLatin1Char('0') && ch <= QLatin1Char('9');
}

// The number text with its decimal point moved by places (2 multiplies by 100), digit by
// digit, so no binary fraction creeps in. Null when the text is not a number.
QString shifted(const QString& numberText, int places)
{
    QString digits = numbers::plainNumber(numberText);
    if (digits.isNull())
        return {};
    const bool negative = digits.startsWith(QLatin1Char('-'));
    if (negative)
        digits.remove(0, 1);
    qsizetype point = digits.indexOf(QLatin1Char('.'));
    if (point < 0)
        point = digits.size();
    else
        digits.remove(point, 1);
    point += places;
    if (point < 1) {
        digits.prepend(QString(1 - point, QLatin1Char('0')));
        point = 1;
    }
    if (point > digits.size())
        digits.append(QString(point - digits.size(), QLatin1Char('0')));
    return (negative ? QStringLiteral("-") : QString()) + digits.left(point) + QLatin1Char('.')
           + digits.mid(point);
}

// A number text formatted, or the text itself when it is none (the row shows as it is).
QString formattedOr(const QString& numberText, int decimals, const QString& fallback)
{
    const QString f = numbers::formatFixed(numberText, decimals);
    return f.isNull() ? fallback : f;
}

QString rowText(Session& s, std::optional<int> row)
{
    return row ? s.parameterGrid().text(*row, kValueColumn) : QString();
}

}  // namespace

QuickBox nextBox(QuickBox box)
{
    return QuickBox((int(box) + 1) % kBoxCount);
}

QuickBox previousBox(QuickBox box)
{
    return QuickBox((int(box) + kBoxCount - 1) % kBoxCount);
}

bool acceptsKey(QuickBox box, QChar ch)
{
    if (isAsciiDigit(ch) || ch == QLatin1Char('/') || ch == kBackspace || ch == kEnter)
        return true;
    return box == QuickBox::OriginReturnSpeed && ch == QLatin1Char('.');
}

bool positionAcceptsKey(QChar ch)
{
    return acceptsKey(QuickBox::OriginReturnSpeed, ch) || ch == QLatin1Char('-');
}

QuickRange rangeOf(Session& s, QuickBox box)
{
    switch (box) {
    case QuickBox::LoadInertia: {
        const InertiaLimit& l = inertiaLimit(s.actuatorType());
        return {0.0, double(l.maximum),
                OperationText::tr("Please set a value as 0 to %1 *10^%2 kg･m^2.")
                    .arg(l.maximum)
                    .arg(l.exponent)};
    }
    case QuickBox::Acceleration:
        return {1.0, 100.0, OperationText::tr("Please set a value within 1 to 100%.")};
    case QuickBox::OriginReturnSpeed:
        break;
    }
    return {0.01, 1.00, OperationText::tr("Please set a value within 0.01 to 1.00rps.")};
}

std::optional<int> rowOf(Session& s, QuickBox box)
{
    constexpr std::array<int, kBoxCount> prms{kLoadInertiaPrm, kAccelerationPrm,
                                              kOriginReturnSpeedPrm};
    return s.parameters().rowOfPrm(prms[std::size_t(box)]);
}

QString refusal(Session& s, QuickBox box, const QString& text)
{
    const QuickRange range = rangeOf(s, box);
    // Only what the keys let through counts: a pasted "-5", " 5" or "1e3" is refused rather
    // than read loosely, and so is an empty box or a "/".
    const bool typeable = std::all_of(text.cbegin(), text.cend(), [box](QChar ch) {
        return ch != kBackspace && ch != kEnter && acceptsKey(box, ch);
    });
    const std::optional<double> v = typeable ? numbers::readNumber(text) : std::nullopt;
    if (!v || *v < range.low || *v > range.high)
        return range.message;
    return {};
}

bool store(Session& s, QuickBox box, const QString& text)
{
    if (!refusal(s, box, text).isEmpty())
        return false;
    // Whole 0.01 rps: a third decimal is rounded on its digits, half away from zero.
    const QString stored = box == QuickBox::OriginReturnSpeed
                               ? numbers::formatFixed(shifted(text, 2), 0)
                               : text;
    const std::optional<int> row = rowOf(s, box);
    return row && s.parameterGrid().setText(*row, kValueColumn, stored);
}

QString shownValue(Session& s, QuickBox box)
{
    QString row = rowText(s, rowOf(s, box));
    if (box == QuickBox::LoadInertia)
        return row;
    if (box == QuickBox::Acceleration)
        return formattedOr(row, 0, row);
    return formattedOr(shifted(row, -2), 2, row);
}

QString restoredValue(Session& s, QuickBox box)
{
    if (box == QuickBox::LoadInertia) {
        const QString row = rowText(s, rowOf(s, box));
        return formattedOr(row, 0, row);
    }
    return shownValue(s, box);
}

QString focusText(QuickBox box, const QString& text)
{
    if (box == QuickBox::LoadInertia)
        return text;
    return formattedOr(text, box == QuickBox::Acceleration ? 0 : 2, text);
}

bool directionIsCcw(Session& s)
{
    const std::optional<int> row = s.parameters().rowOfPrm(kOriginReturnDirectionPrm);
    return numbers::readNumber(rowText(s, row)).value_or(0.0) != 0.0;
}

void storeDirection(Session& s, bool ccw)
{
    if (const std::optional<int> row = s.parameters().rowOfPrm(kOriginReturnDirectionPrm))
        s.parameterGrid().setText(*row, kValueColumn,
                                  ccw ? QStringLiteral("1") : QStringLiteral("0"));
}

QString originShift(Session& s)
{
    return rowText(s, s.parameters().rowOfPrm(kOriginShiftPrm));
}

QString formattedPosition(const QString& text)
{
    return numbers::format2(leadingNumber(text));
}

}  // namespace kap::operation
