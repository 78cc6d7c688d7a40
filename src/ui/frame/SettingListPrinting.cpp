#include "ui/frame/SettingListPrinting.h"

#include "files/PrintList.h"
#include "platform/Dialogs.h"
#include "platform/SafeFile.h"
#include "session/Reactions.h"
#include "session/Session.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>

namespace kap {
namespace {

struct Text {
    Q_DECLARE_TR_FUNCTIONS(SettingListPrinting)
};

QString proposedPdfPath(const QString& proposed)
{
    if (!proposed.isEmpty())
        return proposed;
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir(folder.isEmpty() ? QDir::homePath() : folder)
        .filePath(Text::tr("Setting list") + QStringLiteral(".pdf"));
}

// A PDF page has no unprintable border of its own; the list needs about 11 inches.
void setUpPdf(QPrinter& printer, const QString& path)
{
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageMargins(QMarginsF(5, 5, 5, 5), QPageLayout::Millimeter);
}

QList<printlist::PrintedPage> pagesOf(Session& session)
{
    return printlist::layOut(
        session.family(),
        printlist::rows(session.family(), session.tableGrid(), session.parameters()),
        QDateTime::currentDateTime());
}

bool paint(Session& session, QPrinter& printer)
{
    return paintSettingList(printer, pagesOf(session));
}

// The list as a PDF into out: the page PDF printing gets, through a writer that streams, so the
// file is saved like every other (complete or not at all).
bool writePdf(Session& session, QIODevice& out)
{
    QPdfWriter pdf(&out);
    pdf.setTitle(Text::tr("Setting list"));
    pdf.setResolution(QPrinter(QPrinter::HighResolution).resolution());
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageMargins(QMarginsF(5, 5, 5, 5), QPageLayout::Millimeter);
    return paintSettingList(pdf, pagesOf(session));
}

}  // namespace

bool paintSettingList(QPagedPaintDevice& device, const QList<printlist::PrintedPage>& pages)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    QFont font = painter.font();
    font.setPointSizeF(8);  // the rows stand 200 twips (10 pt) apart
    painter.setFont(font);
    const QFontMetricsF metrics(painter.font(), &device);
    for (qsizetype p = 0; p < pages.size(); ++p) {
        if (p > 0 && !device.newPage()) {
            painter.end();
            return false;
        }
        for (const printlist::PrintedText& t : pages[p]) {
            const qreal x = t.xTwips * device.logicalDpiX() / 1440.0;
            qreal y = t.yTwips * device.logicalDpiY() / 1440.0;
            for (int n = 0; n < t.lines; ++n)
                y += metrics.height();  // line by line, as a line printer moves down
            painter.drawText(QPointF(x, y + metrics.ascent()), t.text);
        }
    }
    return painter.end();
}

void PrintSettingList(Session& session, const QString& proposedPdf)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(Text::tr("Setting list"));
    Dialogs& dialogs = session.dialogs();
    if (QPrinterInfo::availablePrinterNames().isEmpty()) {
        const QString path = dialogs.saveFileName(
            {Text::tr("Print"),
             //: File dialog filter: description|pattern|; keep the |*.pdf| part.
             Text::tr("PDF file(*.pdf)|*.pdf|"), proposedPdfPath(proposedPdf), true,
             QStringLiteral("pdf")});
        if (!path.isEmpty()) {
            const safefile::SaveResult saved =
                safefile::save(path, [&session](QIODevice& out) { return writePdf(session, out); });
            if (!saved.ok)
                dialogs.ok(Text::tr("%1 cannot be saved because it is read only or it is opened.")
                                   .arg(path)
                               + safefile::detail(path, saved),
                           QString());
        }
    } else if (dialogs.choosePrinter(printer)) {
        // A cancelled dialog and a failing printer end the command alike, without a message.
        printer.setCopyCount(1);  // the list is printed once, whatever the dialog says
        paint(session, printer);
    }
    RestoreWindow(session);
}

void PreviewSettingList(Session& session, QWidget* parent)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(Text::tr("Setting list"));
    if (QPrinterInfo::availablePrinterNames().isEmpty())
        setUpPdf(printer, QString());  // the page a PDF would get
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setObjectName(QStringLiteral("printPreview"));
    dialog.setWindowTitle(Text::tr("Print preview"));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&session](QPrinter* p) { paint(session, *p); });
    dialog.exec();
    RestoreWindow(session);
}

}  // namespace kap
