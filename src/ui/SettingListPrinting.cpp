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

// A printer set up for the list; without any printer on the system it writes a PDF file.
void prepare(QPrinter& printer, const QString& fallbackPdf)
{
    printer.setDocName(QStringLiteral("Setting list"));
    if (!QPrinterInfo::availablePrinterNames().isEmpty())
        return;
    QString path = fallbackPdf;
    if (path.isEmpty()) {
        const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        path = QDir(folder.isEmpty() ? QDir::homePath() : folder).filePath(QStringLiteral("Setting list.pdf"));
    }
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    // A PDF page has no unprintable border of its own; the list needs about 11 inches.
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

void PrintSettingList(Session& session, const QString& fallbackPdf)
{
    QPrinter printer(QPrinter::HighResolution);
    prepare(printer, fallbackPdf);
    // A cancelled dialog and a failing printer end the command alike, without a message.
    if (session.dialogs().choosePrinter(printer)) {
        printer.setCopyCount(1);  // the list is printed once, whatever the dialog says
        paint(session, printer);
    }
    RestoreWindow(session);
}

void PreviewSettingList(Session& session, const QString& fallbackPdf, QWidget* parent)
{
    QPrinter printer(QPrinter::HighResolution);
    prepare(printer, fallbackPdf);
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setObjectName(QStringLiteral("printPreview"));
    dialog.setWindowTitle(QCoreApplication::translate("SettingListPrinting", "Print preview"));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&session](QPrinter* p) { paint(session, *p); });
    dialog.exec();
    RestoreWindow(session);
}

}  // namespace kap
