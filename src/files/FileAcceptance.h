// Whether a family's window opens a setting file, decided from the file alone before any grid
// changes: the window's Open shows its boxes from the answer, and kap-cli asks it before it
// loads a file into a controller's session.
#pragma once

#include "data/ActuatorTypes.h"
#include "files/SettingFile.h"
#include "platform/CodePage.h"

#include <QByteArray>
#include <QString>

namespace kap::settingfile {

// A full setting file is about 3 KB, notes of 1,000 characters included still well under
// this; a bigger file is not one of ours.
constexpr qint64 kMaxFileBytes = qint64(1024) * 1024;

enum class Acceptance {
    Accepted,
    Unreadable,   // missing, not a regular file, over kMaxFileBytes, or not read
    NotTagged,    // the first field is not "KAP"
    TooFewRows,   // fewer complete rows than the family's layout (the other family's file)
    CutShort,     // the data ends inside a line
    Damaged,      // a number field, note, type or parameter value no setting file holds
    UnknownType,  // an actuator type the type table does not know
};

struct Checked {
    Acceptance acceptance = Acceptance::Unreadable;
    ReadResult read;  // the rows and the encoding they were read in
};

// The checks on bytes already read.
Checked check(const QByteArray& bytes, Family family, codepage::Encoding encoding);
// Reads the file (only a regular file: a FIFO would wait for a writer for ever), then checks it.
Checked checkFile(const QString& path, Family family, codepage::Encoding encoding);

// The default row of a type text, or a null text when the type is not one of the table's.
QString knownDefaultRow(Family family, const QString& type);

}  // namespace kap::settingfile
