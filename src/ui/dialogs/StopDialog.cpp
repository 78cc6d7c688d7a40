#include "ui/dialogs/StopDialog.h"

#include "ui/toolwindows/HiddenWindow.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kap {

StopDialog::StopDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmstop"));
    releaseWhenHidden(this);  // hidden, it leaves the accessibility tree
    setWindowTitle(tr("STOP"));
    setModal(false);
    setWindowFlag(Qt::WindowStaysOnTopHint);
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(tr("Press STOP to pause return to origin."), this);
    label->setObjectName(QStringLiteral("Label1"));
    layout->addWidget(label);
    stopButton_ = new QPushButton(tr("STOP"), this);
    stopButton_->setObjectName(QStringLiteral("Command1"));
    stopButton_->setDefault(true);
    // Big enough to hit in a hurry.
    stopButton_->setMinimumHeight(stopButton_->sizeHint().height() * 2);
    QFont f = stopButton_->font();
    f.setBold(true);
    stopButton_->setFont(f);
    layout->addWidget(stopButton_);
    connect(stopButton_, &QPushButton::clicked, this, &StopDialog::stopPressed);
    setFixedSize(sizeHint());
}

void StopDialog::reject()
{
    hide();
}

}  // namespace kap
