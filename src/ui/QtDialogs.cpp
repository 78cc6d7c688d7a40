#include "QtDialogs.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QStringList>

namespace kap {

namespace {

struct Text {
    Q_DECLARE_TR_FUNCTIONS(Dialogs)
};

}  // namespace

QString programTitle()
{
    return Text::tr("KAP Support-Software");
}

QString qtFilterFrom(const QString& classicFilter)
{
    // The classic form alternates description and pattern: "Desc|*.ext|Desc2|*.x".
    const QStringList parts = classicFilter.split(QLatin1Char('|'), Qt::SkipEmptyParts);
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString desc = parts[i];
        if (!desc.contains(QLatin1Char('(')))
            desc += QLatin1String(" (") + parts[i + 1] + QLatin1Char(')');
        filters << desc;
    }
    return filters.join(QLatin1String(";;"));
}

MsgAnswer QtDialogs::message(const QString& text, const QString& title, MsgIcon icon,
                             MsgButtons buttons)
{
    QMessageBox box(parent_);
    box.setWindowTitle(title.isEmpty() ? programTitle() : title);
    box.setText(text);
    switch (icon) {
    case MsgIcon::None: box.setIcon(QMessageBox::NoIcon); break;
    case MsgIcon::Question: box.setIcon(QMessageBox::Question); break;
    case MsgIcon::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case MsgIcon::Critical: box.setIcon(QMessageBox::Critical); break;
    case MsgIcon::Information: box.setIcon(QMessageBox::Information); break;
    }
    switch (buttons) {
    case MsgButtons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case MsgButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        break;
    case MsgButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    }
    box.setAccessibleName(box.windowTitle());
    box.setAccessibleDescription(text);
    switch (box.exec()) {
    case QMessageBox::Yes: return MsgAnswer::Yes;
    case QMessageBox::No: return MsgAnswer::No;
    case QMessageBox::Cancel: return MsgAnswer::Cancel;
    default:
        // Closing a question box by its frame counts as its escape answer.
        if (buttons == MsgButtons::YesNo)
            return MsgAnswer::No;
        if (buttons == MsgButtons::YesNoCancel)
            return MsgAnswer::Cancel;
        return MsgAnswer::Ok;
    }
}

void QtDialogs::beep()
{
    QApplication::beep();
}

QString QtDialogs::saveFileName(const FileDialogOptions& request)
{
    QFileDialog::Options options;
    if (!request.overwritePrompt)
        options |= QFileDialog::DontConfirmOverwrite;
    return QFileDialog::getSaveFileName(parent_, request.title, request.initialName,
                                        qtFilterFrom(request.filter), nullptr, options);
}

QString QtDialogs::openFileName(const FileDialogOptions& request)
{
    return QFileDialog::getOpenFileName(parent_, request.title, request.initialName,
                                        qtFilterFrom(request.filter));
}

bool QtDialogs::choosePrinter(QPrinter& printer)
{
    QPrintDialog dialog(&printer, parent_);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace kap
