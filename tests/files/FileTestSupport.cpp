#include "FileTestSupport.h"

#include "FileCommands.h"
#include "Grid.h"
#include "frmMain.h"
#include "frmpulseMaindemo.h"

#include <QFile>
#include <QMap>

#include <gtest/gtest.h>

namespace kap::test {

namespace {

QList<QStringList> cellsOf(const Grid& g)
{
    QList<QStringList> out;
    for (int r = -g.fixedRows(); r < g.rows(); ++r) {
        QStringList row;
        for (int c = 0; c < g.columns(); ++c)
            row << g.text(r, c);
        out << row;
    }
    return out;
}

QStringList linesWith(const QStringList& dataLines, const QMap<int, QString>& shown, bool closingBlank)
{
    QStringList lines{QStringLiteral("KAP,,,,,")};
    lines << dataLines << QStringLiteral(",,,,,");
    for (int n = 0; n < 64; ++n)
        lines << QStringLiteral("PRM%1=,%2,,,,").arg(n).arg(shown.value(n, QStringLiteral("**")));
    if (closingBlank)
        lines << QStringLiteral(",,,,,");
    return lines;
}

}  // namespace

std::unique_ptr<MainFrame> makeWindow(Family family, Dialogs& dialogs)
{
    std::unique_ptr<MainFrame> w;
    if (family == Family::PointInput)
        w = std::make_unique<frmMain>(dialogs);
    else
        w = std::make_unique<frmpulseMaindemo>(dialogs);
    installFileCommands(*w);
    return w;
}

GridState stateOf(MainFrame& w)
{
    return {cellsOf(*w.Grid1), cellsOf(*w.Grid2), w.Grid1->tag()};
}

QByteArray readBytes(const QString& path)
{
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return f.readAll();
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(f.write(bytes), bytes.size());
}

QByteArray fileOf(const QStringList& lines)
{
    QByteArray out;
    for (const QString& l : lines)
        out += l.toLatin1() + "\r\n";
    return out + "\r\n";
}

QStringList freshPointLines()
{
    QStringList points;
    for (int n = 0; n < 64; ++n)
        points << QStringLiteral("P%1=,,,,,").arg(n);
    const QMap<int, QString> shown{{0, "50"},  {1, "0"},   {2, "0"},   {3, "300"}, {4, "100"}, {5, "1"},
                                   {6, "**"},  {10, "50"}, {21, "360"}, {22, "1"}, {24, "50"}, {25, "50"},
                                   {28, "0"},  {30, "100"}, {34, "50"}, {35, "0"}, {36, "50"}};
    return linesWith(points, shown, true);
}

QStringList freshPulseLines()
{
    QStringList zones;
    for (int n = 0; n < 4; ++n)
        zones << QStringLiteral("Z%1=,,,,,").arg(n);
    const QMap<int, QString> shown{{0, "50"}, {4, "100"}, {5, "1"},  {10, "50"}, {22, "1"},   {35, "0"},
                                   {36, "50"}, {38, "1"}, {39, "1"}, {43, "0"},  {53, "1000"}};
    return linesWith(zones, shown, false);
}

}  // namespace kap::test
