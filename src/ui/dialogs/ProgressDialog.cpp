#include "ui/dialogs/ProgressDialog.h"

#include "ui/toolwindows/HiddenWindow.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace kap {

ProgressDialog::ProgressDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmbar"));
    releaseWhenHidden(this);  // hidden, it leaves the accessibility tree
    setWindowTitle(tr("Forwarding"));
    setModal(false);

    bar_ = new QProgressBar(this);
    bar_->setObjectName(QStringLiteral("ProgressBar1"));
    bar_->setTextVisible(false);
    bar_->setMinimumWidth(300);

    cancelButton_ = new QPushButton(tr("Cancel"), this);
    cancelButton_->setObjectName(QStringLiteral("Com_Cancel"));
    cancelButton_->setAutoDefault(false);
    connect(cancelButton_, &QPushButton::clicked, this, [this] { tag_ = QStringLiteral("1"); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(bar_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancelButton_);
    layout->addLayout(buttons);
}

void ProgressDialog::setRange(int minimum, int maximum)
{
    bar_->setRange(minimum, maximum);
}

void ProgressDialog::setValue(int value)
{
    bar_->setValue(value);
}

void ProgressDialog::show()
{
    QDialog::show();
    raise();
}

void ProgressDialog::hide()
{
    QDialog::hide();
}

void ProgressDialog::setCancelEnabled(bool on)
{
    cancelButton_->setEnabled(on);
}

void ProgressDialog::closeEvent(QCloseEvent* event)
{
    tag_ = QStringLiteral("0");
    event->accept();
}

void ProgressDialog::reject()
{
    // Escape closes the dialog like its close button.
    tag_ = QStringLiteral("0");
    QDialog::reject();
}

}  // namespace kap
