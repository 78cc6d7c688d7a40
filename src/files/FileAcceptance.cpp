#include "files/FileAcceptance.h"

#include "data/Numbers.h"
#include "data/TableHost.h"
#include "platform/SafeFile.h"

#include <QList>

#include <algorithm>
#include <cmath>
#include <span>

namespace kap::settingfile {

namespace {

// The point or zone fields that hold numbers: Position and Speed, or angles A and B.
QList<int> numberColumns(Family family)
{
    return family == Family::PointInput ? QList<int>{2, 3} : QList<int>{1, 2};
}

// A number field that is not a number means the file is damaged: taking "12abc" as 12 would
// load a value nobody wrote. Empty fields are empty cells.
bool numberFieldsReadable(const QList<QStringList>& rows, Family family)
{
    for (int n = 0; n < dataRows(family); ++n) {
        const QStringList& row = rows.at(kFirstDataRow + n);
        for (const int c : numberColumns(family)) {
            if (!row.at(c).isEmpty() && !numbers::isNumber(row.at(c)))
                return false;
        }
    }
    return true;
}

// The grids take no longer note, so a longer one is no note the tool wrote.
bool notesFit(const QList<QStringList>& rows, Family family)
{
    const int noteColumn = dataColumns(family);
    for (int n = 0; n < dataRows(family); ++n) {
        if (rows.at(kFirstDataRow + n).at(noteColumn).size() > kMaxNoteLength)
            return false;
    }
    return true;
}

// A parameter's value is a number, or empty or "**" for none. Anything else means the file is
// damaged: the parameter table would silently put the initial value in its place. PRM 0 is
// the type, checked on its own; PRMs the window does not show are not read.
bool parameterFieldsReadable(const QList<QStringList>& rows, Family family)
{
    const std::span<const ParameterRow> shown = familyLayout(family).rows;
    const int first = firstPrmRow(family);
    for (int prm = 1; prm < 64 && first + prm < rows.size(); ++prm) {
        if (std::none_of(shown.begin(), shown.end(),
                         [prm](const ParameterRow& r) { return r.prm == prm; }))
            continue;
        const QString& value = rows.at(first + prm).at(1);
        if (!value.isEmpty() && value != kNoValue && !numbers::isNumber(value))
            return false;
    }
    return true;
}

Acceptance acceptanceOf(ReadResult::Status status)
{
    switch (status) {
    case ReadResult::Ok:
        return Acceptance::Accepted;
    case ReadResult::NotTagged:
        return Acceptance::NotTagged;
    case ReadResult::TooFewRows:
        return Acceptance::TooFewRows;
    case ReadResult::CutShort:
        return Acceptance::CutShort;
    }
    return Acceptance::Unreadable;
}

}  // namespace

QString knownDefaultRow(Family family, const QString& type)
{
    const std::optional<double> v = numbers::readNumber(type);
    if (!v || *v != std::floor(*v) || std::fabs(*v) >= 1e6)
        return {};
    return defaultRow(family, int(*v));
}

Checked check(const QByteArray& bytes, Family family, codepage::Encoding encoding)
{
    Checked result;
    result.read = decode(bytes, family, encoding);
    result.acceptance = acceptanceOf(result.read.status);
    if (result.acceptance != Acceptance::Accepted)
        return result;
    const QList<QStringList>& rows = result.read.rows;
    const QString type = rows.at(firstPrmRow(family)).at(1);
    if (!numbers::readNumber(type) || !numberFieldsReadable(rows, family) || !notesFit(rows, family)
        || !parameterFieldsReadable(rows, family)) {
        result.acceptance = Acceptance::Damaged;
    } else if (knownDefaultRow(family, type).isNull()) {
        result.acceptance = Acceptance::UnknownType;
    }
    return result;
}

Checked checkFile(const QString& path, Family family, codepage::Encoding encoding)
{
    const safefile::ReadResult file = safefile::read(path, kMaxFileBytes);
    if (file.status != safefile::ReadResult::Ok)
        return {};
    return check(file.bytes, family, encoding);
}

}  // namespace kap::settingfile
