// The printed setting list: the row buffer of the setting file laid out on pages, each text at
// an absolute position in twips (1/1440 inch) from the printable area's top left corner. The
// painting on a printer, a PDF file or a print preview belongs to the windows
// (SettingListPrinting).
#pragma once

#include "data/ActuatorTypes.h"

#include <QDateTime>
#include <QList>
#include <QStringList>

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

// One text of the list and its place: xTwips from the left, yTwips from the top and then
// lines lines further down (a line is as high as the list's 8 pt font on the device, which
// only the painter knows).
struct PrintedText {
    int xTwips = 0;
    int yTwips = 0;
    int lines = 0;
    QString text;
    bool operator==(const PrintedText&) const = default;
};
using PrintedPage = QList<PrintedText>;

// The list's pages in painting order: two for the point list (points, then parameters), one
// for the pulse list.
QList<PrintedPage> layOut(Family family, const QList<QStringList>& rows, const QDateTime& when);

}  // namespace printlist
}  // namespace kap
