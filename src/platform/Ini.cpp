#include "platform/Ini.h"

#include "platform/SafeFile.h"

#include <QStringList>

Q_LOGGING_CATEGORY(lcIni, "kap.ini", QtWarningMsg)

namespace kap {
namespace {

constexpr int kMaxValueLength = 254;  // a 255-byte buffer with its terminating zero

// The file as lines. *status tells whether it could be read; anything but a regular file of
// at most kMaxIniBytes reads as no lines.
QStringList readLines(const QString& file, safefile::ReadResult::Status* status)
{
    const safefile::ReadResult read = safefile::read(file, kMaxIniBytes);
    *status = read.status;
    if (read.status != safefile::ReadResult::Ok)
        return {};
    // The file is 8-bit text; Latin-1 keeps every byte as one character.
    QString text = QString::fromLatin1(read.bytes);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

bool isSectionLine(const QString& line, QString* name)
{
    const QString t = line.trimmed();
    if (!t.startsWith(QLatin1Char('[')))
        return false;
    const qsizetype close = t.indexOf(QLatin1Char(']'));
    if (close < 0)
        return false;
    *name = t.mid(1, close - 1).trimmed();
    return true;
}

bool isKeyLine(const QString& line, QString* key, QString* value)
{
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq < 0)
        return false;
    const QString k = line.left(eq).trimmed();
    if (k.isEmpty() || k.startsWith(QLatin1Char(';')))
        return false;
    *key = k;
    if (value)
        *value = line.mid(eq + 1).trimmed();
    return true;
}

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

}  // namespace

QString ReadIniValue(const QString& key, const QString& section, const QString& file)
{
    safefile::ReadResult::Status status{};
    const QStringList lines = readLines(file, &status);
    bool inSection = false;
    for (const QString& line : lines) {
        QString name;
        if (isSectionLine(line, &name)) {
            inSection = sameName(name, section.trimmed());
            continue;
        }
        QString k, v;
        if (inSection && isKeyLine(line, &k, &v) && sameName(k, key.trimmed())) {
            // A value in matching quotes is read without them, as the platform call did.
            if (v.size() >= 2 && (v.startsWith(QLatin1Char('"')) || v.startsWith(QLatin1Char('\'')))
                && v.endsWith(v.front()))
                v = v.mid(1, v.size() - 2);
            const qsizetype zero = v.indexOf(QChar(0));
            if (zero >= 0)
                v.truncate(zero);
            return v.left(kMaxValueLength);
        }
    }
    return QStringLiteral("ERROR");
}

bool WriteIniValue(const QString& value, const QString& key, const QString& section,
                   const QString& file)
{
    if (key.trimmed().isEmpty() || section.trimmed().isEmpty())
        return false;
    safefile::ReadResult::Status status{};
    QStringList lines = readLines(file, &status);
    // A file that is there but cannot be read whole would lose everything else it holds.
    if (status != safefile::ReadResult::Ok && status != safefile::ReadResult::Missing) {
        qCWarning(lcIni) << "not writing" << key << "to" << file << "- it is there but not read";
        return false;
    }
    const QString entry = key.trimmed() + QLatin1Char('=') + value;

    qsizetype sectionLine = -1;
    qsizetype insertAt = -1;  // after the last non-blank line of the section
    bool written = false;
    for (qsizetype i = 0; i < lines.size() && !written; ++i) {
        QString name;
        if (isSectionLine(lines[i], &name)) {
            if (sectionLine >= 0)
                break;  // left our section without finding the key
            if (sameName(name, section.trimmed())) {
                sectionLine = i;
                insertAt = i + 1;
            }
            continue;
        }
        if (sectionLine < 0)
            continue;
        QString k;
        if (isKeyLine(lines[i], &k, nullptr) && sameName(k, key.trimmed())) {
            lines[i] = entry;
            written = true;
        } else if (!lines[i].trimmed().isEmpty()) {
            insertAt = i + 1;
        }
    }
    if (!written) {
        if (sectionLine >= 0) {
            lines.insert(insertAt, entry);
        } else {
            lines << QLatin1Char('[') + section.trimmed() + QLatin1Char(']') << entry;
        }
    }

    const QByteArray bytes = (lines.join(QLatin1String("\r\n")) + QLatin1String("\r\n")).toLatin1();
    const safefile::SaveResult saved = safefile::save(file, bytes);
    if (!saved.ok)
        qCWarning(lcIni) << "cannot write" << key << "to" << file << "-" << saved.error;
    return saved.ok;
}

QString IniProblem(const QString& file)
{
    const safefile::ReadResult read = safefile::read(file, kMaxIniBytes);
    if (read.status == safefile::ReadResult::Ok || read.status == safefile::ReadResult::Missing)
        return {};
    qCInfo(lcIni) << file << "is not read:" << safefile::describe(read);
    return safefile::describe(read);
}

}  // namespace kap
