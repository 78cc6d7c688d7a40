// The printed setting list, rendered to PDF and read back as text.
#include "ui/frame/SettingListPrinting.h"
#include "FakeView.h"
#include "FileTestSupport.h"
#include "ScratchState.h"
#include "ScriptedDialogs.h"
#include "SimLine.h"
#include "data/Grid.h"
#include "data/ParameterTable.h"
#include "files/PrintList.h"
#include "session/Reactions.h"
#include "session/Session.h"

#include <QFile>
#include <QFileInfo>
#include <QPdfWriter>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kap;
using namespace kap::test;

namespace {

class PrintedList : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    }
    QString render(Session& s, const QDateTime& when)
    {
        const QString path = dir.filePath(s.isPointInput() ? "point.pdf" : "pulse.pdf");
        QPdfWriter pdf(path);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setPageMargins(QMarginsF(5, 5, 5, 5), QPageLayout::Millimeter);
        pdf.setResolution(600);
        EXPECT_TRUE(paintSettingList(
            pdf,
            printlist::layOut(s.family(),
                              printlist::rows(s.family(), s.tableGrid(), s.parameters()), when)));
        // Kept for a look by eye when pictures are asked for.
        if (const QString shots = qEnvironmentVariable("KAP_SHOTS_DIR"); !shots.isEmpty())
            QFile::copy(path, shots + "/setting-list-" + QFileInfo(path).fileName());
        return path;
    }

    ScratchState clean;
    ScriptedDialogs dialogs;
    QTemporaryDir dir;
    const QDateTime when{QDate(2024, 3, 7), QTime(14, 5, 9)};
};

}  // namespace

TEST_F(PrintedList, PointListHasPointsThenParametersOnTwoPages)
{
    Session s(Family::PointInput, dialogs, clean);
    Grid& g = s.tableGrid();
    for (int n = 0; n < 64; n += 3) {
        g.setText(n, 1, n % 2 ? "I" : "A");
        g.setText(n, 2, QString::number(n * 1.5));
        g.setText(n, 3, QString::number(n + 1));
        g.setText(n, 4, QStringLiteral("note%1").arg(n));
    }
    const auto pages = pagesOf(render(s, when));
    ASSERT_EQ(pages.size(), 2);
    const QString stamp = printlist::stamp(when);
    EXPECT_TRUE(hasLine(pages[0], words(printlist::dataHeading(Family::PointInput) + stamp)));
    EXPECT_TRUE(hasLine(pages[1], words(printlist::parameterHeading(Family::PointInput) + stamp)));
    for (const auto& page : pages) {
        EXPECT_TRUE(hasLine(page, {"KAP"}));
        EXPECT_EQ(page.count(QStringList{QString(85, u'-')}), 2);
    }
    EXPECT_TRUE(hasLine(pages[0], {"No.", "Mode", "Position(deg)", "Speed(%)", "Note"}));
    EXPECT_TRUE(hasLine(pages[1], {"PRM", "NO.", "Setting", "Data"}));
    for (int n = 0; n < 64; ++n) {
        QStringList row{QString::number(n)};
        for (int c = 1; c <= 4; ++c) {
            if (!g.text(n, c).isEmpty())
                row << g.text(n, c);
        }
        EXPECT_TRUE(hasLine(pages[0], row)) << row.join(' ').toStdString();
        const std::optional<int> gridRow = s.parameters().rowOfPrm(n);
        const QString value = gridRow ? s.parameters().value(*gridRow) : "**";
        EXPECT_TRUE(hasLine(pages[1], {QString::number(n), value})) << "PRM " << n;
    }
    EXPECT_TRUE(hasLine(pages[1], {"7", "**"}));
    EXPECT_TRUE(hasLine(pages[1], {"0", "50"}));
}

TEST_F(PrintedList, PulseListFitsOnOnePage)
{
    Session s(Family::PulseTrain, dialogs, clean);
    Grid& g = s.tableGrid();
    g.setText(0, 1, "10");
    g.setText(0, 2, "20.5");
    g.setText(0, 3, "first");
    g.setText(2, 3, "third");
    const auto pages = pagesOf(render(s, when));
    ASSERT_EQ(pages.size(), 1);
    const auto& page = pages[0];
    const QString stamp = printlist::stamp(when);
    EXPECT_TRUE(hasLine(page, words(printlist::dataHeading(Family::PulseTrain) + stamp)));
    EXPECT_TRUE(hasLine(page, words(printlist::parameterHeading(Family::PulseTrain) + stamp)));
    EXPECT_TRUE(hasLine(page, {"Data", "No.", "Start", "position", "End", "position", "Note"}));
    EXPECT_EQ(page.count(QStringList{QString(85, u'-')}), 4);
    EXPECT_TRUE(hasLine(page, {"0", g.text(0, 1), g.text(0, 2), "first"}));
    EXPECT_EQ(g.text(0, 2), "20.50");
    EXPECT_TRUE(hasLine(page, {"1"}));
    EXPECT_TRUE(hasLine(page, {"2", "third"}));
    EXPECT_TRUE(hasLine(page, {"3"}));
    for (int n = 0; n < 64; ++n) {
        const std::optional<int> gridRow = s.parameters().rowOfPrm(n);
        const QString value = gridRow ? s.parameters().value(*gridRow) : "**";
        EXPECT_TRUE(hasLine(page, {QString::number(n), value})) << "PRM " << n;
    }
    EXPECT_TRUE(hasLine(page, {"1", "**"}));
}
