#include "SettingListPrinting.h"

#include "Dialogs.h"
#include "PrintList.h"
#include "Reactions.h"
#include "Session.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QPageLayout>
#include <QPageSize>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>

namespace kap {
namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("SettingListPrinting", text);
}

QString proposedPdfPath(const QString& proposed)
{
    if (!proposed.isEmpty())
        return proposed;
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir(folder.isEmpty() ? QDir::homePath() : folder).filePath(QStringLiteral("Setting list.pdf"));
}

// A PDF page has no unprintable border of its own; the list needs about 11 inches.
void setUpPdf(QPrinter& printer, const QString& path)
{
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageMargins(QMarginsF(5, 5, 5, 5), QPageLayout::Millimeter);
}

bool paint(Session& session, QPrinter& printer)
{
    return printlist::print(printer, session.family(),
                            printlist::rows(session.family(), session.tableGrid(), session.parameters()),
                            QDateTime::currentDateTime());
}

}  // namespace

void PrintSettingList(Session& session, const QString& proposedPdf)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("Setting list"));
    Dialogs& dialogs = session.dialogs();
    if (QPrinterInfo::availablePrinterNames().isEmpty()) {
        const QString path = dialogs.saveFileName(
            {tr("Print"), QStringLiteral("PDF file(*.pdf)|*.pdf|"), proposedPdfPath(proposedPdf), true});
        if (!path.isEmpty()) {
            setUpPdf(printer, path);
            if (!paint(session, printer))
                dialogs.ok(path + tr(" cannot be saved because it is read only or it is opened."), QString());
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
    printer.setDocName(QStringLiteral("Setting list"));
    if (QPrinterInfo::availablePrinterNames().isEmpty())
        setUpPdf(printer, QString());  // the page a PDF would get
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setObjectName(QStringLiteral("printPreview"));
    dialog.setWindowTitle(tr("Print preview"));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&session](QPrinter* p) { paint(session, *p); });
    dialog.exec();
    RestoreWindow(session);
}

}  // namespace kap
