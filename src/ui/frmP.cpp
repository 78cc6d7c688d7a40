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
    remembered_ = module1().portName;

    Port_select = new QLabel(tr("Please choose a communication port."), this);
    Port_select->setObjectName(QStringLiteral("Port_select"));
    auto* grid = new QGridLayout;
    for (int i = 0; i < 8; ++i) {
        Opt_1[i] = new QRadioButton(ports::nameOf(i + 1), this);
        Opt_1[i]->setObjectName(QStringLiteral("Opt_1_%1").arg(i));
        Opt_1[i]->installEventFilter(this);
        grid->addWidget(Opt_1[i], i % 4, i / 4);
    }
    // A port name selects its own option; any other text selects COM1.
    const int index = ports::numberOf(remembered_).value_or(ports::kFirstPort) - 1;
    Opt_1[index]->setChecked(true);
    // The checked option takes the focus first, so opening the dialog changes no port.
    Opt_1[index]->setFocus();

    QDialogButtonBox* buttons = makeOkCancel(this, OKButton, CancelButton);
    connect(OKButton, &QPushButton::clicked, this, &frmP::OKButton_Click);
    connect(CancelButton, &QPushButton::clicked, this, &frmP::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Port_select);
    layout->addLayout(grid);
    layout->addWidget(buttons);
}

bool frmP::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        for (int i = 0; i < 8; ++i) {
            if (watched == Opt_1[i])
                module1().portName = ports::nameOf(i + 1);
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmP::OKButton_Click()
{
    MainFrame::showPortEverywhere(module1().portName);
    accept();
}

void frmP::reject()
{
    module1().portName = remembered_;
    QDialog::reject();
}

}  // namespace kap
