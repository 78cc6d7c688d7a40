// The printed setting list, rendered to PDF and read back as text.
#include "FileCommands.h"
#include "FileTestSupport.h"
#include "Grid.h"
#include "ParameterTable.h"
#include "PrintList.h"
#include "ScriptedDialogs.h"
#include "SimLine.h"
#include "frmMain.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

using namespace kap;
using namespace kap::test;

namespace {

// The pages of a PDF as pdftotext lays them out, each line reduced to its words (ligatures
// such as "fi" taken apart again).
QList<QList<QStringList>> pagesOf(const QString& pdf)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    EXPECT_TRUE(p.waitForFinished(30000));
    QStringList pages = QString::fromUtf8(p.readAllStandardOutput()).normalized(QString::NormalizationForm_KC).split(u'\f');
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    QList<QList<QStringList>> out;
    for (const QString& page : pages) {
        QList<QStringList> lines;
        for (const QString& line : page.split(u'\n'))
            lines << line.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
        out << lines;
    }
    return out;
}

QStringList words(const QString& text)
{
    return text.split(u' ', Qt::SkipEmptyParts);
}

::testing::AssertionResult hasLine(const QList<QStringList>& page, const QStringList& wanted)
{
    if (page.contains(wanted))
        return ::testing::AssertionSuccess();
    QString text;
    for (const QStringList& line : page)
        text += line.join(u'|') + u'\n';
    return ::testing::AssertionFailure() << "no line " << wanted.join(u'|').toStdString()
                                         << " in\n" << text.toStdString();
}

class PrintedList : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    }
    QString render(MainFrame& w, const QDateTime& when)
    {
        const QString path = dir.filePath(w.family() == Family::PointInput ? "point.pdf" : "pulse.pdf");
        QPdfWriter pdf(path);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setPageMargins(QMarginsF(5, 5, 5, 5), QPageLayout::Millimeter);
        pdf.setResolution(600);
        EXPECT_TRUE(printlist::print(pdf, w.family(), printlist::rows(w.family(), *w.Grid1, w.parameters()), when));
        // Kept for a look by eye when pictures are asked for.
        if (const QString shots = qEnvironmentVariable("KAP_SHOTS_DIR"); !shots.isEmpty())
            QFile::copy(path, shots + "/setting-list-" + QFileInfo(path).fileName());
        return path;
    }

    CleanModule clean;
    ScriptedDialogs dialogs;
    QTemporaryDir dir;
    const QDateTime when{QDate(2024, 3, 7), QTime(14, 5, 9)};
};

}  // namespace

TEST_F(PrintedList, PointListHasPointsThenParametersOnTwoPages)
{
    auto w = makeWindow(Family::PointInput, dialogs);
    for (int n = 0; n < 64; n += 3) {
        w->Grid1->setText(n, 1, n % 2 ? "I" : "A");
        w->Grid1->setText(n, 2, QString::number(n * 1.5));
        w->Grid1->setText(n, 3, QString::number(n + 1));
        w->Grid1->setText(n, 4, QStringLiteral("note%1").arg(n));
    }
    const auto pages = pagesOf(render(*w, when));
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
            if (!w->Grid1->text(n, c).isEmpty())
                row << w->Grid1->text(n, c);
        }
        EXPECT_TRUE(hasLine(pages[0], row)) << row.join(' ').toStdString();
        const int gridRow = w->parameters().rowOfPrm(n);
        const QString value = gridRow == -100 ? "**" : w->parameters().value(gridRow);
        EXPECT_TRUE(hasLine(pages[1], {QString::number(n), value})) << "PRM " << n;
    }
    EXPECT_TRUE(hasLine(pages[1], {"7", "**"}));
    EXPECT_TRUE(hasLine(pages[1], {"0", "50"}));
}

TEST_F(PrintedList, PulseListFitsOnOnePage)
{
    auto w = makeWindow(Family::PulseTrain, dialogs);
    w->Grid1->setText(0, 1, "10");
    w->Grid1->setText(0, 2, "20.5");
    w->Grid1->setText(0, 3, "first");
    w->Grid1->setText(2, 3, "third");
    const auto pages = pagesOf(render(*w, when));
    ASSERT_EQ(pages.size(), 1);
    const auto& page = pages[0];
    const QString stamp = printlist::stamp(when);
    EXPECT_TRUE(hasLine(page, words(printlist::dataHeading(Family::PulseTrain) + stamp)));
    EXPECT_TRUE(hasLine(page, words(printlist::parameterHeading(Family::PulseTrain) + stamp)));
    EXPECT_TRUE(hasLine(page, {"Data", "No.", "Start", "position", "End", "position", "Note"}));
    EXPECT_EQ(page.count(QStringList{QString(85, u'-')}), 4);
    EXPECT_TRUE(hasLine(page, {"0", w->Grid1->text(0, 1), w->Grid1->text(0, 2), "first"}));
    EXPECT_EQ(w->Grid1->text(0, 2), "20.50");
    EXPECT_TRUE(hasLine(page, {"1"}));
    EXPECT_TRUE(hasLine(page, {"2", "third"}));
    EXPECT_TRUE(hasLine(page, {"3"}));
    for (int n = 0; n < 64; ++n) {
        const int gridRow = w->parameters().rowOfPrm(n);
        const QString value = gridRow == -100 ? "**" : w->parameters().value(gridRow);
        EXPECT_TRUE(hasLine(page, {QString::number(n), value})) << "PRM " << n;
    }
    EXPECT_TRUE(hasLine(page, {"1", "**"}));
}

TEST_F(PrintedList, PrintCommandWritesThePdfOnlyWhenTheDialogIsAccepted)
{
    const QString pdf = dir.filePath("chosen.pdf");
    auto w = std::make_unique<frmMain>(dialogs);
    installFileCommands(*w, FileCommandOptions{pdf});
    dialogs.printer(false);
    w->menuItem("mnuFilePrint")->trigger();
    EXPECT_FALSE(QFile::exists(pdf));
    EXPECT_TRUE(dialogs.boxes.isEmpty());
    if (!QPrinterInfo::availablePrinterNames().isEmpty())
        GTEST_SKIP() << "a printer is installed; printing to it is not tested";
    dialogs.printer(true);
    w->toolButton("Print")->trigger();
    EXPECT_TRUE(dialogs.boxes.isEmpty());
    EXPECT_EQ(pagesOf(pdf).size(), 2);
    EXPECT_TRUE(w->isEnabled());
}

TEST_F(PrintedList, PreviewSitsUnderPrintAndShowsTheSamePages)
{
    auto w = makeWindow(Family::PointInput, dialogs);
    QMenu* file = w->menuItem("mnuFile")->menu();
    const QList<QAction*> items = file->actions();
    const qsizetype print = items.indexOf(w->menuItem("mnuFilePrint"));
    ASSERT_GE(print, 0);
    ASSERT_LT(print + 1, items.size());
    EXPECT_EQ(items[print + 1]->objectName(), "mnuFilePreview");
    EXPECT_EQ(items[print + 1]->text(), "Print preview");

    for (int n = 0; n < 64; n += 7) {
        w->Grid1->setText(n, 1, "A");
        w->Grid1->setText(n, 2, QString::number(n * 10));
        w->Grid1->setText(n, 3, "100");
        w->Grid1->setText(n, 4, QStringLiteral("point %1").arg(n));
    }
    int pages = -1;
    QTimer::singleShot(0, [&] {
        QPrintPreviewDialog* dialog = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (auto* d = qobject_cast<QPrintPreviewDialog*>(top); d && d->isVisible())
                dialog = d;
        }
        if (!dialog)
            return;
        auto* view = dialog->findChild<QPrintPreviewWidget*>();
        pages = view ? view->pageCount() : -2;
        const QString shots = qEnvironmentVariable("KAP_SHOTS_DIR");
        if (!shots.isEmpty()) {
            dialog->resize(1000, 1100);
            if (view)
                view->fitInView();
            QApplication::processEvents();
            dialog->grab().save(shots + "/print-preview-point.png");
            if (view) {
                view->setCurrentPage(2);
                QApplication::processEvents();
                dialog->grab().save(shots + "/print-preview-point-page2.png");
            }
        }
        dialog->reject();
    });
    items[print + 1]->trigger();
    EXPECT_EQ(pages, 2);

    // Locked with Print.
    w->menuItem("mnuFilePrint")->setEnabled(false);
    EXPECT_FALSE(items[print + 1]->isEnabled());
}
