// The printed setting list: the row buffer of the setting file laid out on paged output by
// absolute positions in twips (1/1440 inch) from the printable area's top left corner.
// Any paged device will do: a printer, a PDF file or a print preview.
#pragma once

#include "ActuatorTypes.h"

#include <QDateTime>
#include <QList>
#include <QStringList>

class QPagedPaintDevice;

namespace kap {

class Grid;
class ParameterTable;

namespace printlist {

// The rows as the list prints them (numbers, not file labels).
QList<QStringList> rows(Family family, const Grid& data, const ParameterTable& parameters);

// "Setting list" heading lines, without the date and time that follow them.
QString dataHeading(Family family);
QString parameterHeading(Family family);
QString separator();

// Date and time as the headings show them, in the system's formats.
QString stamp(const QDateTime& when);

// Prints the list; false when the device could not be painted on.
bool print(QPagedPaintDevice& device, Family family, const QList<QStringList>& rows,
           const QDateTime& when);

}  // namespace printlist
}  // namespace kap
