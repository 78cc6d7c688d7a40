#include "files/SettingFile.h"

#include "data/Grid.h"
#include "data/ParameterTable.h"

#include <algorithm>

Q_LOGGING_CATEGORY(lcFiles, "kap.files", QtWarningMsg)

namespace kap::settingfile {

namespace {

// Only what would split the field, or a field that starts with a quote (the reader would take
// that quote as opening a quoted field and drop it). A quote inside stays as it is, so that a
// reader without doubled quotes (older versions of the tool) still reads the field whole.
bool needsQuotes(const QString& field)
{
    if (field.startsWith(u'"'))
        return true;
    for (const QChar ch : field) {
        if (ch == u',' || ch == u'\r' || ch == u'\n')
            return true;
    }
    return false;
}

bool isBlank(QChar ch)
{
    return ch == u' ' || ch == u'\t';
}

// Walks the decoded text one field at a time.
class FieldReader {
public:
    explicit FieldReader(const QString& text) : text_(text) {}

    // False when the data has ended before this field began.
    bool next(QString& field)
    {
        const qsizetype n = text_.size();
        if (pos_ >= n && !afterComma_)
            return false;
        afterComma_ = false;
        field.clear();
        while (pos_ < n && isBlank(text_.at(pos_)))
            ++pos_;
        if (pos_ < n && text_.at(pos_) == u'"') {
            ++pos_;
            bool closed = false;
            while (pos_ < n) {
                const QChar ch = text_.at(pos_++);
                if (ch != u'"') {
                    field.append(ch);
                } else if (pos_ < n && text_.at(pos_) == u'"') {
                    field.append(ch);
                    ++pos_;
                } else {
                    closed = true;
                    break;
                }
            }
            if (!closed) {
                openQuote_ = true;
                return false;  // an open quote at the end of the data is no field
            }
            // Anything between the closing quote and the delimiter is dropped.
            while (pos_ < n && !isDelimiter(text_.at(pos_)))
                ++pos_;
        } else {
            const qsizetype start = pos_;
            while (pos_ < n && !isDelimiter(text_.at(pos_)))
                ++pos_;
            field = text_.mid(start, pos_ - start);
        }
        skipDelimiter();
        return true;
    }

    // The data ended inside a quoted field.
    bool endedInQuotes() const { return openQuote_; }

private:
    static bool isDelimiter(QChar ch) { return ch == u',' || ch == u'\r' || ch == u'\n'; }

    void skipDelimiter()
    {
        const qsizetype n = text_.size();
        if (pos_ >= n)
            return;
        const QChar ch = text_.at(pos_++);
        if (ch == u',')
            afterComma_ = true;  // an empty field may still follow at the very end
        else if (ch == u'\r' && pos_ < n && text_.at(pos_) == u'\n')
            ++pos_;
    }

    const QString& text_;
    qsizetype pos_ = 0;
    bool afterComma_ = false;
    bool openQuote_ = false;
};

bool endsWithLineEnd(const QByteArray& bytes)
{
    return bytes.endsWith('\n') || bytes.endsWith('\r');
}

}  // namespace

int rowCount(Family family)
{
    return family == Family::PointInput ? 131 : 70;
}

int minimumRows(Family family)
{
    return family == Family::PointInput ? 97 : 69;
}

int firstPrmRow(Family family)
{
    return family == Family::PointInput ? 66 : 6;
}

int dataRows(Family family)
{
    return family == Family::PointInput ? 64 : 4;
}

int dataColumns(Family family)
{
    return family == Family::PointInput ? 4 : 3;
}

QList<QStringList> buildRows(Family family, const Grid& data, const ParameterTable& parameters,
                             Labels labels)
{
    const bool file = labels == Labels::File;
    QList<QStringList> rows(rowCount(family), QStringList(kFields, QString()));
    rows[0][0] = QStringLiteral("KAP");
    const QString prefix = family == Family::PointInput ? QStringLiteral("P") : QStringLiteral("Z");
    for (int n = 0; n < dataRows(family); ++n) {
        QStringList& row = rows[kFirstDataRow + n];
        row[0] = file ? prefix + QString::number(n) + u'=' : data.text(n, 0);
        for (int c = 1; c <= dataColumns(family); ++c)
            row[c] = data.text(n, c);
    }
    for (int prm = 0; prm < 64; ++prm) {
        QStringList& row = rows[firstPrmRow(family) + prm];
        row[0] = file ? QStringLiteral("PRM") + QString::number(prm) + u'=' : QString::number(prm);
        const std::optional<int> gridRow = parameters.rowOfPrm(prm);
        row[1] = gridRow ? parameters.value(*gridRow) : kNoValue;
    }
    return rows;
}

QByteArray encode(const QList<QStringList>& rows, codepage::Encoding encoding)
{
    QString text;
    for (const QStringList& row : rows) {
        for (int f = 0; f < kFields; ++f) {
            if (f > 0)
                text += u',';
            const QString field = row.value(f);
            if (needsQuotes(field))
                text += u'"' + QString(field).replace(u'"', QStringLiteral("\"\"")) + u'"';
            else
                text += field;
        }
        text += QStringLiteral("\r\n");
    }
    text += QStringLiteral("\r\n");
    return codepage::encode(text, encoding);
}

ReadResult decode(const QByteArray& fileBytes, Family family, codepage::Encoding chosen)
{
    // An end-of-file mark (Ctrl-Z) after the last line, as old DOS tools left it, is no data.
    QByteArray bytes = fileBytes;
    while (bytes.endsWith('\x1a'))
        bytes.chop(1);
    ReadResult result;
    result.encoding = chosen;
    if (!codepage::isValid(bytes, chosen)) {
        if (codepage::isValid(bytes, codepage::other(chosen))) {
            result.encoding = codepage::other(chosen);
            result.encodingNote = ReadResult::OtherEncoding;
        } else {
            result.encodingNote = ReadResult::NeitherEncoding;
        }
    }
    const QString text = codepage::decode(bytes, result.encoding);
    FieldReader reader(text);
    const int limit = rowCount(family);
    QString field;
    bool first = true;
    bool cutInRow = false;
    while (result.rows.size() < limit) {
        QStringList row;
        while (row.size() < kFields && reader.next(field)) {
            if (first && field != QLatin1String("KAP")) {
                result.status = ReadResult::NotTagged;
                result.rows.clear();
                return result;
            }
            first = false;
            row.append(field);
        }
        if (row.size() < kFields) {
            // Cut short by the end of the data. Blank lines at the end leave empty fields.
            cutInRow = reader.endedInQuotes()
                       || std::any_of(row.cbegin(), row.cend(),
                                      [](const QString& f) { return !f.isEmpty(); });
            break;
        }
        result.rows.append(row);
    }
    if (first) {
        // Not even one field: there is no tag either.
        result.status = ReadResult::NotTagged;
        return result;
    }
    if (cutInRow || !endsWithLineEnd(bytes))
        result.status = ReadResult::CutShort;
    else if (result.rows.size() < minimumRows(family))
        result.status = ReadResult::TooFewRows;
    else
        result.status = ReadResult::Ok;
    return result;
}

std::optional<Unheld> firstUnheld(const QList<QStringList>& rows, codepage::Encoding encoding)
{
    for (int r = 0; r < rows.size(); ++r) {
        for (int f = 0; f < rows.at(r).size(); ++f) {
            const QString& field = rows.at(r).at(f);
            if (const std::optional<qsizetype> at = codepage::firstUnheld(field, encoding)) {
                const qsizetype units = field.at(*at).isHighSurrogate() ? 2 : 1;
                return Unheld{r, f, field.mid(*at, units)};
            }
        }
    }
    return std::nullopt;
}

}  // namespace kap::settingfile
