#include "ui/dialogs/QtDialogs.h"

#include "ui/toolwindows/WindowPlacement.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
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

namespace {

QMessageBox::Icon qtIcon(MsgIcon icon)
{
    switch (icon) {
    case MsgIcon::Question:
        return QMessageBox::Question;
    case MsgIcon::Exclamation:
        return QMessageBox::Warning;
    case MsgIcon::Critical:
        return QMessageBox::Critical;
    case MsgIcon::Information:
        return QMessageBox::Information;
    case MsgIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

int QtDialogs::choose(const QString& text, const QString& title, MsgIcon icon,
                      const QStringList& buttons)
{
    QMessageBox box(parent_);
    box.setWindowTitle(title.isEmpty() ? programTitle() : title);
    box.setText(text);
    box.setIcon(qtIcon(icon));
    QList<QAbstractButton*> added;
    for (qsizetype i = 0; i < buttons.size(); ++i) {
        const bool escape = i == buttons.size() - 1;
        added << box.addButton(buttons.at(i),
                               escape ? QMessageBox::RejectRole : QMessageBox::AcceptRole);
    }
    if (!added.isEmpty()) {
        box.setDefaultButton(qobject_cast<QPushButton*>(added.first()));
        box.setEscapeButton(added.last());
    }
    box.setAccessibleName(box.windowTitle());
    box.setAccessibleDescription(text);
    widenForTitle(box);
    box.exec();
    const qsizetype index = added.indexOf(box.clickedButton());
    return int(index < 0 ? buttons.size() - 1 : index);
}

MsgAnswer QtDialogs::message(const QString& text, const QString& title, MsgIcon icon,
                             MsgButtons buttons)
{
    QMessageBox box(parent_);
    box.setWindowTitle(title.isEmpty() ? programTitle() : title);
    box.setText(text);
    box.setIcon(qtIcon(icon));
    switch (buttons) {
    case MsgButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
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
    widenForTitle(box);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return MsgAnswer::Yes;
    case QMessageBox::No:
        return MsgAnswer::No;
    case QMessageBox::Cancel:
        return MsgAnswer::Cancel;
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
    QFileDialog dialog(parent_, request.title, request.initialName, qtFilterFrom(request.filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.overwritePrompt);
    // The dialog adds the suffix before it asks about overwriting, so the question is about
    // the file that will be written.
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString QtDialogs::openFileName(const FileDialogOptions& request)
{
    QFileDialog dialog(parent_, request.title, request.initialName, qtFilterFrom(request.filter));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

bool QtDialogs::choosePrinter(QPrinter& printer)
{
    QPrintDialog dialog(&printer, parent_);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace kap
