#include "frmP.h"

#include "DialogButtons.h"
#include "MainFrame.h"
#include "Module1.h"
#include "PortName.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kap {

frmP::frmP(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmP"));
    setWindowTitle(tr("Com setup"));
    setModal(false);
    portBefore_ = module1().portName;

    auto* prompt = new QLabel(tr("Please choose a communication port."), this);
    prompt->setObjectName(QStringLiteral("Port_select"));
    auto* grid = new QGridLayout;
    for (int i = 0; i < 8; ++i) {
        portOptions_[i] = new QRadioButton(ports::nameOf(i + 1), this);
        portOptions_[i]->setObjectName(QStringLiteral("Opt_1_%1").arg(i));
        portOptions_[i]->installEventFilter(this);
        grid->addWidget(portOptions_[i], i % 4, i / 4);
    }
    // A port name selects its own option; any other text selects COM1.
    const int index = ports::numberOf(portBefore_).value_or(ports::kFirstPort) - 1;
    portOptions_[index]->setChecked(true);
    // Chosen without the focus too (assistive tools press an option): the checked option is
    // the port. Connected after the preselection, so opening the dialog changes no port.
    for (int i = 0; i < 8; ++i) {
        connect(portOptions_[i], &QRadioButton::toggled, this, [i](bool on) {
            if (on)
                module1().portName = ports::nameOf(i + 1);
        });
    }
    // The checked option takes the focus first, so opening the dialog changes no port.
    portOptions_[index]->setFocus();

    QPushButton* okButton = nullptr;
    QPushButton* cancelButton = nullptr;
    QDialogButtonBox* buttons = makeOkCancel(this, okButton, cancelButton);
    connect(okButton, &QPushButton::clicked, this, &frmP::confirm);
    connect(cancelButton, &QPushButton::clicked, this, &frmP::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addLayout(grid);
    layout->addWidget(buttons);
}

bool frmP::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        for (int i = 0; i < 8; ++i) {
            if (watched == portOptions_[i])
                module1().portName = ports::nameOf(i + 1);
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmP::confirm()
{
    MainFrame::showPortEverywhere(module1().portName);
    accept();
}

void frmP::reject()
{
    module1().portName = portBefore_;
    QDialog::reject();
}

}  // namespace kap
