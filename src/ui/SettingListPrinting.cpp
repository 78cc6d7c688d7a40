#include "FileCommands.h"

#include "Grid.h"
#include "MainFrame.h"
#include "Module1.h"
#include "ParameterTable.h"
#include "PrintList.h"
#include "SettingCommands.h"

#include <QAction>
#include <QDateTime>
#include <QDir>
#include <QMenu>
#include <QPageLayout>
#include <QPageSize>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>
#include <QTimer>

namespace kap {

namespace {

// The window as the file commands see it.
class FileUi : public QObject, public FileHost {
public:
    FileUi(MainFrame& window, const FileCommandOptions& options)
        : QObject(&window), window_(window), options_(options), commands_(*this)
    {
    }

    SettingCommands& commands() { return commands_; }

    Family family() const override { return window_.family(); }
    Grid& dataGrid() override { return *window_.Grid1; }
    ParameterTable& parameters() override { return window_.parameters(); }
    Dialogs& dialogs() override { return window_.dialogs(); }
    void setTitle(const QString& title) override { window_.setWindowTitle(title); }
    void refreshQuickBoxes() override { window_.refreshQuickBoxes(); }
    void stopIoMonitor() override { window_.Tim_IO_Mon->stop(); }
    bool positioningRunning() const override { return window_.flags.motionInProgress; }
    // The drive panel's Stop fills this in; until then a run cannot be in progress.
    void runStop() override {}
    void storePortNumber() override { StorePortNumber(); }
    void restoreIdle() override { window_.restoreIdle(); }
    void closeWindow() override { window_.close(); }
    void suspendChangeHandling(bool on) override
    {
        if (on)
            setupBefore_ = window_.setupFlag;
        window_.setupFlag = on || setupBefore_;
    }

    void print();
    void preview();

private:
    // A printer set up for the list; without any printer on the system it writes a PDF file.
    void prepare(QPrinter& printer) const;
    bool paint(QPrinter& printer);

    MainFrame& window_;
    FileCommandOptions options_;
    SettingCommands commands_;
    bool setupBefore_ = false;
};

void FileUi::prepare(QPrinter& printer) const
{
    printer.setDocName(QStringLiteral("Setting list"));
    if (!QPrinterInfo::availablePrinterNames().isEmpty())
        return;
    QString path = options_.pdfPath;
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

bool FileUi::paint(QPrinter& printer)
{
    return printlist::print(printer, window_.family(),
                            printlist::rows(window_.family(), *window_.Grid1, window_.parameters()),
                            QDateTime::currentDateTime());
}

void FileUi::print()
{
    QPrinter printer(QPrinter::HighResolution);
    prepare(printer);
    // A cancelled dialog and a failing printer end the command alike, without a message.
    if (window_.dialogs().choosePrinter(printer)) {
        printer.setCopyCount(1);  // the list is printed once, whatever the dialog says
        paint(printer);
    }
    window_.restoreIdle();
}

void FileUi::preview()
{
    QPrinter printer(QPrinter::HighResolution);
    prepare(printer);
    QPrintPreviewDialog dialog(&printer, &window_);
    dialog.setObjectName(QStringLiteral("printPreview"));
    dialog.setWindowTitle(tr("Print preview"));
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* p) { paint(*p); });
    dialog.exec();
    window_.restoreIdle();
}

}  // namespace

void installFileCommands(MainFrame& window, const FileCommandOptions& options)
{
    auto* ui = new FileUi(window, options);
    window.saveAsHandler = [ui] { return ui->commands().saveAs(); };
    window.exitHandler = [ui] { ui->commands().exit(); };
    window.closeHandler = [ui] { return ui->commands().closing(); };
    QObject::connect(&window, &MainFrame::commandRequested, ui, [ui](const QString& name) {
        if (name == QLatin1String("mnuFileNew"))
            ui->commands().newFile();
        else if (name == QLatin1String("mnuFileOpen"))
            ui->commands().open();
        else if (name == QLatin1String("mnuFileSave"))
            ui->commands().saveAs();
        else if (name == QLatin1String("mnuFilePrint"))
            ui->print();
    });

    // "Print preview" right below Print, locked and unlocked with it.
    QAction* print = window.menuItem(QStringLiteral("mnuFilePrint"));
    QMenu* file = window.menuItem(QStringLiteral("mnuFile"))->menu();
    const QList<QAction*> items = file->actions();
    const qsizetype at = items.indexOf(print);
    QAction* before = at >= 0 && at + 1 < items.size() ? items.at(at + 1) : nullptr;
    auto* preview = new QAction(QObject::tr("Print preview"), file);
    preview->setObjectName(QStringLiteral("mnuFilePreview"));
    file->insertAction(before, preview);
    preview->setEnabled(print->isEnabled());
    QObject::connect(print, &QAction::enabledChanged, preview, &QAction::setEnabled);
    QObject::connect(preview, &QAction::triggered, ui, [ui] { ui->preview(); });
}

}  // namespace kap
