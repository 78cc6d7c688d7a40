#include "frmMode.h"

#include "DialogButtons.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

namespace kap {

frmMode::frmMode(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmMode"));
    setWindowTitle(tr("Selection in operation mode"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    Mode_select = new QLabel(this);
    Mode_select->setObjectName(QStringLiteral("Mode_select"));

    auto* frame = new QGroupBox(this);
    auto* options = new QVBoxLayout(frame);
    for (int i = 0; i < 3; ++i) {
        Opt_1[i] = new QRadioButton(frame);
        Opt_1[i]->setObjectName(QStringLiteral("Opt_1_%1").arg(i));
        Opt_1[i]->installEventFilter(this);
        options->addWidget(Opt_1[i]);
    }

    QDialogButtonBox* buttons = makeOkCancel(this, OKButton, CancelButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Mode_select);
    layout->addWidget(frame);
    layout->addWidget(buttons);

    connect(OKButton, &QPushButton::clicked, this, &frmMode::OKButton_Click);
    connect(CancelButton, &QPushButton::clicked, this, &frmMode::reject);

    // Form load.
    Mode_select->setText(tr("Please choose the operation mode."));
    Opt_1[0]->setText(tr("A:Positioning operation (Absolute position)"));
    Opt_1[1]->setText(tr("I:Positioning operation (Increment position)"));
    Opt_1[2]->setText(tr("B :Brake"));
    for (QRadioButton* o : Opt_1)
        o->setAccessibleName(o->text());
    Opt_1[0]->setChecked(true);
    Opt_1[0]->setFocus();
}

QString frmMode::letterOf(const QRadioButton* option)
{
    return option->text().left(1);
}

bool frmMode::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn && isVisible()) {
        for (const QRadioButton* o : Opt_1) {
            if (watched == o)
                result_ = letterOf(o);
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmMode::OKButton_Click()
{
    // A short pause before closing, as the controller-side tool always gave; the buttons
    // wait with it so nothing is clicked twice.
    OKButton->setEnabled(false);
    CancelButton->setEnabled(false);
    QTimer::singleShot(100, this, [this] {
        for (const QRadioButton* o : Opt_1) {
            if (o->isChecked())
                result_ = letterOf(o);
        }
        accept();
    });
}

void frmMode::reject()
{
    // Cancel, Escape and closing the window.
    result_.clear();
    QDialog::reject();
}

QString frmMode::GetString(QWidget* parent)
{
    frmMode dialog(parent);
    // Focus can still arrive while a closing dialog hides; only OK hands out a letter.
    return dialog.exec() == QDialog::Accepted ? dialog.result() : QString();
}

}  // namespace kap
