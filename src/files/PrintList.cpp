#include "files/PrintList.h"

#include "files/SettingFile.h"

#include <QCoreApplication>
#include <QLocale>

#include <array>

namespace kap::printlist {

namespace {

struct Text {
    Q_DECLARE_TR_FUNCTIONS(PrintList)
};

// The print position and the operations of a line printer: move to (x, y) in twips, print a
// text where the position stands (optionally ending the line), an empty line, a new page.
// The position below the last move is counted in lines; the painter knows their height.
class Cursor {
public:
    void moveTo(int xTwips, int yTwips)
    {
        x_ = xTwips;
        y_ = yTwips;
        lines_ = 0;
    }
    void moveToY(int yTwips) { moveTo(0, yTwips); }
    void put(const QString& text) { pages_.last().append(PrintedText{x_, y_, lines_, text}); }
    void line(const QString& text = QString())
    {
        if (!text.isEmpty())
            put(text);
        x_ = 0;
        ++lines_;
    }
    void newPage()
    {
        pages_.append(PrintedPage{});
        moveTo(0, 0);
    }
    QList<PrintedPage> pages() const { return pages_; }

private:
    QList<PrintedPage> pages_{PrintedPage{}};
    int x_ = 0;
    int y_ = 0;
    int lines_ = 0;
};

constexpr std::array<int, 6> kPointColumns{1000, 2000, 3000, 4300, 5600, 6900};
constexpr std::array<int, 5> kPulseColumns{1500, 3000, 4500, 6000, 7500};

void putRow(Cursor& c, Family family, const QStringList& fields, int y)
{
    if (family == Family::PointInput) {
        for (size_t f = 0; f < kPointColumns.size(); ++f) {
            c.moveTo(kPointColumns[f], y);
            c.put(fields.value(int(f)));
        }
    } else {
        for (size_t f = 0; f < kPulseColumns.size(); ++f) {
            c.moveTo(kPulseColumns[f], y);
            c.put(fields.value(int(f)));
        }
    }
}

void heading(Cursor& c, const QString& text, const QString& when)
{
    c.line(text + when);
}

}  // namespace

QList<QStringList> rows(Family family, const Grid& data, const ParameterTable& parameters)
{
    return settingfile::buildRows(family, data, parameters, settingfile::Labels::List);
}

QString dataHeading(Family family)
{
    return family == Family::PointInput ? Text::tr("               --- TALOR Support software "
                                                   "Setting list (Point Data) Printing time: ")
                                        : Text::tr("               --- TALOR Support software "
                                                   "Setting list (Zone Data) Printing time: ");
}

QString parameterHeading(Family family)
{
    return family == Family::PointInput ? Text::tr("            --- TALOR Support software Setting "
                                                   "list (Parameter Data) Printing time: ")
                                        : Text::tr("               --- TALOR Support software "
                                                   "Setting list (Parameter Data) Printing time: ");
}

QString separator()
{
    return QString(15, u' ') + QString(85, u'-');
}

QString stamp(const QDateTime& when)
{
    const QLocale locale = QLocale::system();
    // The long time format carries the time zone, which the list never showed.
    QString timeFormat = locale.timeFormat(QLocale::LongFormat);
    timeFormat.remove(u't');
    return locale.toString(when.date(), QLocale::ShortFormat) + u' '
           + locale.toString(when.time(), timeFormat.trimmed());
}

QList<PrintedPage> layOut(Family family, const QList<QStringList>& rows, const QDateTime& when)
{
    Cursor c;
    const bool point = family == Family::PointInput;
    const QString time = stamp(when);
    const int dataCount = settingfile::dataRows(family);
    const int firstPrm = settingfile::firstPrmRow(family);
    const QStringList tag = rows.value(0);

    // The data part.
    c.line();
    c.line();
    heading(c, dataHeading(family), time);
    c.moveTo(1000, 600);
    c.line(tag.value(0));
    const QStringList dataTitles =
        point ? QStringList{Text::tr("No."), Text::tr("Mode"), Text::tr("Position(deg)"),
                            Text::tr("Speed(%)"), Text::tr("Note")}
              : QStringList{Text::tr("Data No."), Text::tr("Start position"),
                            Text::tr("End position"), Text::tr("Note")};
    putRow(c, family, dataTitles, point ? 1200 : 800);
    c.line();
    c.line(separator());
    const int dataTop = point ? 1600 : 1200;
    for (int n = 0; n < dataCount; ++n)
        putRow(c, family, rows.value(settingfile::kFirstDataRow + n), dataTop + 200 * n);
    c.line();
    c.moveToY(point ? 14600 : 2000);
    c.line(separator());

    // The parameter part: a page of its own for the point list, below the zones otherwise.
    const QStringList prmTitles{Text::tr("PRM NO."), Text::tr("Setting Data")};
    int prmTop = 0;
    if (point) {
        c.newPage();
        c.line();
        c.line();
        heading(c, parameterHeading(family), time);
        c.moveTo(1000, 600);
        c.line(tag.value(0));
        putRow(c, family, prmTitles, 1200);
        prmTop = 1600;
    } else {
        c.line();
        heading(c, parameterHeading(family), time);
        putRow(c, family, prmTitles, 2600);
        prmTop = 3000;
    }
    c.line();
    c.line(separator());
    for (int prm = 0; prm < 64; ++prm)
        putRow(c, family, rows.value(firstPrm + prm), prmTop + 200 * prm);
    c.line();
    c.moveToY(point ? 14600 : 15800);
    c.line(separator());
    c.line();
    return c.pages();
}

}  // namespace kap::printlist
