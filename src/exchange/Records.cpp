#include "exchange/Records.h"

#include <QRegularExpression>

#include <algorithm>

namespace kap::records {

namespace {

constexpr QChar kCr = QLatin1Char('\r');
constexpr QChar kLf = QLatin1Char('\n');

// The first occurrence of key at the start of a line (reply start, or after CR or LF); -1 if
// none. Matching anywhere would let a key be found inside other text on a line.
qsizetype findAtLineStart(const QString& reply, const QString& key)
{
    qsizetype at = reply.indexOf(key);
    while (at > 0) {
        const QChar before = reply.at(at - 1);
        if (before == kCr || before == kLf)
            break;
        at = reply.indexOf(key, at + 1);
    }
    return at;
}

// End of the line holding position from: its CR (a bare LF also ends it), or the reply's end.
qsizetype lineEnd(const QString& reply, qsizetype from)
{
    for (qsizetype i = from; i < reply.size(); ++i) {
        if (reply.at(i) == kCr || reply.at(i) == kLf)
            return i;
    }
    return reply.size();
}

RecordFields findRecord(const QList<Record>& records, const QString& key)
{
    RecordFields result;
    const auto it = std::find_if(records.cbegin(), records.cend(),
                                 [&key](const Record& r) { return r.key == key; });
    if (it == records.cend() || it->body.isEmpty())
        return result;
    if (!it->body.contains(QLatin1Char(','))) {
        result.state = RecordState::Malformed;
        return result;
    }
    // Split at most into three; a fourth field and beyond is dropped.
    result.state = RecordState::Found;
    result.fields = it->body.split(QLatin1Char(',')).mid(0, 3);
    return result;
}

// A plain decimal ([sign] digits [. digits]) in its shortest form; nullopt otherwise.
std::optional<QString> canonicalDecimal(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral(R"(^([+-]?)([0-9]*)(?:\.([0-9]*))?$)"));
    const auto m = pattern.match(text);
    if (!m.hasMatch() || (m.capturedLength(2) == 0 && m.capturedLength(3) == 0))
        return std::nullopt;
    QString whole = m.captured(2);
    QString frac = m.captured(3);
    while (whole.size() > 1 && whole.front() == QLatin1Char('0'))
        whole.remove(0, 1);
    if (whole.isEmpty())
        whole = QStringLiteral("0");
    while (!frac.isEmpty() && frac.back() == QLatin1Char('0'))
        frac.chop(1);
    QString value = frac.isEmpty() ? whole : whole + QLatin1Char('.') + frac;
    if (m.captured(1) == QLatin1String("-") && value != QLatin1String("0"))
        value.prepend(QLatin1Char('-'));
    return value;
}

}  // namespace

std::optional<QString> pointRecord(const QString& no, const QString& mode, const QString& position,
                                   const QString& speed)
{
    if (mode.isEmpty())
        return std::nullopt;
    if (mode == QLatin1String("B"))
        return QLatin1Char('P') + no + QLatin1String("=B,") + position;
    return QLatin1Char('P') + no + QLatin1Char('=') + mode + QLatin1Char(',') + position
           + QLatin1Char(',') + speed;
}

std::optional<QString> parameterRecord(const QString& no, const QString& value)
{
    if (value == QLatin1String("**"))
        return std::nullopt;
    return QLatin1String("PRM") + no + QLatin1Char('=') + value;
}

std::optional<QString> zoneRecord(const QString& no, const QString& angleA, const QString& angleB)
{
    if (angleA.isEmpty())
        return std::nullopt;
    return QLatin1Char('Z') + no + QLatin1Char('=') + angleA + QLatin1Char(',') + angleB;
}

std::optional<QList<Record>> readRecords(const QString& reply)
{
    // A body is printable text without a second "=", which would mean two lines run together.
    static const QRegularExpression recordLine(QRegularExpression::anchoredPattern(
        QStringLiteral(R"(((?:PRM|P|Z)[0-9]+)=([\x20-\x3c\x3e-\x7e]*))")));
    const QString closing = QStringLiteral("OK\r\n");
    if (!reply.endsWith(closing))
        return std::nullopt;
    QList<Record> records;
    const QString body = reply.chopped(closing.size());
    if (body.isEmpty())
        return records;
    if (!body.endsWith(QLatin1String("\r\n")))
        return std::nullopt;
    for (const QString& line : body.chopped(2).split(QLatin1String("\r\n"))) {
        const auto m = recordLine.match(line);
        if (!m.hasMatch())
            return std::nullopt;
        records.append({m.captured(1), m.captured(2)});
    }
    return records;
}

RecordFields findPointRecord(const QList<Record>& records, int number)
{
    return findRecord(records, QLatin1Char('P') + QString::number(number));
}

RecordFields findZoneRecord(const QList<Record>& records, int number)
{
    return findRecord(records, QLatin1Char('Z') + QString::number(number));
}

QStringList parameterValues(const QList<Record>& records)
{
    QStringList values;
    for (const Record& r : records.mid(0, 64))
        values.append(r.body);
    return values;
}

std::optional<QString> parameterByName(const QString& reply, int number)
{
    const QString key = QLatin1String("PRM") + QString::number(number) + QLatin1Char('=');
    const qsizetype at = findAtLineStart(reply, key);
    if (at < 0)
        return std::nullopt;
    const qsizetype start = at + key.size();
    return reply.mid(start, lineEnd(reply, start) - start);
}

QString replyValue(const QString& reply)
{
    qsizetype drop = 0;
    if (reply.endsWith(QLatin1Char('K')))
        drop = 4;
    else if (reply.endsWith(kCr))
        drop = 5;
    else if (reply.size() >= 7)
        drop = 6;
    return reply.size() > drop ? reply.chopped(drop) : QString();
}

QString queryValue(const QString& reply)
{
    return reply.size() > 6 ? reply.chopped(6) : QString();
}

QString actuatorTypeOf(const QString& reply)
{
    return reply.left(2);
}

std::optional<Family> familyOfReply(const QString& reply)
{
    const QString value = replyValue(reply);
    if (value.startsWith(QLatin1Char('0')))
        return Family::PointInput;
    if (value.startsWith(QLatin1Char('1')))
        return Family::PulseTrain;
    return std::nullopt;
}

bool isPreviousController(const QString& dioReply)
{
    return dioReply.size() >= 8 && dioReply.at(7) == kCr;
}

bool versionLacksNoLimitMode(const QString& version)
{
    static const char* const kVersions[] = {"1.02", "1.03", "1.04", "1.05", "1.06", "1.81", "1.82"};
    const auto value = canonicalDecimal(version.trimmed());
    if (!value)
        return false;
    for (const char* listed : kVersions) {
        if (*value == QLatin1String(listed))
            return true;
    }
    return false;
}

}  // namespace kap::records
