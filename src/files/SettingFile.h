// The CSV setting file of both main windows: the row buffer built from the grids, its text
// form on disk, and the field reader that takes a file apart again. Files written by older
// versions of the tool must keep opening, so the format is fixed to the byte.
#pragma once

#include "data/ActuatorTypes.h"
#include "platform/CodePage.h"

#include <QByteArray>
#include <QList>
#include <QLoggingCategory>
#include <QString>
#include <QStringList>

#include <optional>

// Setting files that could not be saved or read; quiet unless asked for (the user has a box).
Q_DECLARE_LOGGING_CATEGORY(lcFiles)

namespace kap {

class Grid;
class ParameterTable;

namespace settingfile {

constexpr int kFields = 6;

// What the file holds for a parameter that has no value (one the window does not show, or one
// that does not apply to the actuator type).
inline const QString kNoValue = QStringLiteral("**");

// Rows of the file: point-input 131 (tag, 64 points, blank, 64 PRM, blank), pulse-train 70
// (tag, 4 zones, blank, 64 PRM).
int rowCount(Family family);
// Fewest complete rows a file needs to be opened (97 / 69).
int minimumRows(Family family);
// Row of the first point or zone (1) and of PRM 0 (66 / 6).
constexpr int kFirstDataRow = 1;
int firstPrmRow(Family family);
// Points or zones in the data part (64 / 4).
int dataRows(Family family);
// Columns of the data grid that a row carries after its label (4 / 3).
int dataColumns(Family family);

// How the first field of the data and PRM rows is labelled: the file writes "P0=" and
// "PRM0=", the printed list the bare numbers as the grids show them.
enum class Labels { File, List };

// The row buffer: every row padded to six fields. PRM numbers the window's parameter table
// does not show carry "**".
QList<QStringList> buildRows(Family family, const Grid& data, const ParameterTable& parameters,
                             Labels labels);

// The file's bytes: six comma-separated fields per row, CR LF after each, one more CR LF at
// the end. A field holding a comma or a line break, or starting with a double quote, is
// written quoted (inner quotes doubled) so that it reads back whole; every other field goes
// out as it is. A character the encoding cannot hold is written "?": see firstUnheld().
QByteArray encode(const QList<QStringList>& rows,
                  codepage::Encoding encoding = codepage::Encoding::Windows1252);

// The first character of the rows the encoding cannot hold, with where it stands.
struct Unheld {
    int row = 0;
    int field = 0;
    QString character;  // one character (two code units outside the BMP)
};
[[nodiscard]] std::optional<Unheld> firstUnheld(const QList<QStringList>& rows,
                                                codepage::Encoding encoding);

// What the reader found.
struct ReadResult {
    enum Status {
        Ok,
        NotTagged,   // the first field is not "KAP"
        TooFewRows,  // fewer complete rows than minimumRows()
        CutShort,    // the data ends inside a line: see decode()
    };
    Status status = TooFewRows;
    QList<QStringList> rows;  // complete rows only, at most rowCount()
    // The encoding the text was read in, and why it is not the one asked for.
    enum EncodingNote {
        AsAsked,
        OtherEncoding,    // not text in the one asked for, but in the other: read in that
        NeitherEncoding,  // text in neither: read in the one asked for, as well as it goes
    };
    codepage::Encoding encoding = codepage::Encoding::Windows1252;
    EncodingNote encodingNote = AsAsked;
};

// Reads fields one after another: a field ends at a comma or a line end, leading blanks are
// skipped, a field starting with a double quote runs to its closing quote ("" inside stands
// for one quote) and whatever follows the closing quote up to the delimiter is dropped. Rows
// are simply the next six fields, across line ends; a row cut short by the end of the data
// is not counted.
//
// Every line of a file ends with a line end, so data that does not end with one was cut
// inside a line, and so was data whose last row stops short holding anything but empty
// fields (blank lines at the end are fine): both are CutShort, whatever was read before the
// cut. A file cut between two lines reads as the shorter layouts of older versions did.
//
// The bytes are read in the encoding asked for; bytes that are no text in it but are in the
// other encoding are read in that one (a file from a machine of the other language).
[[nodiscard]] ReadResult decode(const QByteArray& bytes, Family family,
                                codepage::Encoding chosen = codepage::Encoding::Windows1252);

}  // namespace settingfile
}  // namespace kap
