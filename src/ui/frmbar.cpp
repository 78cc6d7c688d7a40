#include "frmbar.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace kap {

frmbar::frmbar(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmbar"));
    setWindowTitle(tr("Forwarding"));
    setModal(false);

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setMinimumWidth(300);

    Com_Cancel = new QPushButton(tr("Cancel"), this);
    Com_Cancel->setObjectName(QStringLiteral("Com_Cancel"));
    Com_Cancel->setAutoDefault(false);
    connect(Com_Cancel, &QPushButton::clicked, this, [this] { tag_ = QStringLiteral("1"); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ProgressBar1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Com_Cancel);
    layout->addLayout(buttons);
}

void frmbar::setRange(int minimum, int maximum)
{
    ProgressBar1->setRange(minimum, maximum);
}

void frmbar::setValue(int value)
{
    ProgressBar1->setValue(value);
}

void frmbar::show()
{
    QDialog::show();
    raise();
}

void frmbar::hide()
{
    QDialog::hide();
}

void frmbar::setCancelEnabled(bool on)
{
    Com_Cancel->setEnabled(on);
}

void frmbar::closeEvent(QCloseEvent* event)
{
    tag_ = QStringLiteral("0");
    event->accept();
}

void frmbar::reject()
{
    // Escape closes the dialog like its close button.
    tag_ = QStringLiteral("0");
    QDialog::reject();
}

}  // namespace kap
