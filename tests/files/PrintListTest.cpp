// The printed setting list's layout: every row of the list on its page as one line, its fields
// left to right. The painted output is read back from a PDF in SettingListPrintingTest.
#include "files/PrintList.h"
#include "ScriptedDialogs.h"
#include "SimLine.h"
#include "data/Grid.h"
#include "files/SettingFile.h"
#include "session/Session.h"

#include <QMap>
#include <QPair>

#include <gtest/gtest.h>

using namespace kap;
using namespace kap::test;

namespace {

QStringList withoutTrailingEmpties(QStringList fields)
{
    while (!fields.isEmpty() && fields.last().isEmpty())
        fields.removeLast();
    return fields;
}

// The page's texts grouped by the line they stand on, each line left to right.
QList<QStringList> linesOf(const printlist::PrintedPage& page)
{
    QMap<QPair<int, int>, QMap<int, QString>> lines;
    for (const printlist::PrintedText& t : page)
        lines[{t.yTwips, t.lines}].insert(t.xTwips, t.text);
    QList<QStringList> out;
    for (const auto& line : lines)
        out << withoutTrailingEmpties(line.values());
    return out;
}

}  // namespace

TEST(PrintListLayout, EveryRowIsOneLineOnItsPage)
{
    const struct {
        Family family;
        int pages;
        int prmPage;  // the parameters' page
    } cases[] = {{Family::PointInput, 2, 1}, {Family::PulseTrain, 1, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.family == Family::PointInput ? "point" : "pulse");
        ScratchState clean;
        ScriptedDialogs dialogs;
        Session s(c.family, dialogs, clean);
        s.tableGrid().setText(2, settingfile::dataColumns(c.family), QStringLiteral("a note"));
        const QList<QStringList> rows = printlist::rows(c.family, s.tableGrid(), s.parameters());
        const auto pages = printlist::layOut(c.family, rows, QDateTime::currentDateTime());
        ASSERT_EQ(pages.size(), c.pages);
        const QList<QStringList> data = linesOf(pages[0]);
        const QList<QStringList> prms = linesOf(pages[c.prmPage]);
        for (int n = 0; n < settingfile::dataRows(c.family); ++n) {
            const QStringList row = rows[settingfile::kFirstDataRow + n];
            EXPECT_TRUE(data.contains(withoutTrailingEmpties(row))) << "data row " << n;
        }
        for (int prm = 0; prm < 64; ++prm) {
            const QStringList row = rows[settingfile::firstPrmRow(c.family) + prm];
            EXPECT_TRUE(prms.contains(withoutTrailingEmpties(row))) << "PRM " << prm;
        }
        QStringList noted(settingfile::dataColumns(c.family) + 1);
        noted.first() = QStringLiteral("2");
        noted.last() = QStringLiteral("a note");
        EXPECT_TRUE(data.contains(noted)) << "the note stays in its row";
    }
}
