#include "ui/dialogs/PointModeDialog.h"

#include "ui/dialogs/DialogButtons.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

namespace kap {

PointModeDialog::PointModeDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmMode"));
    setWindowTitle(tr("Selection in operation mode"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto* prompt = new QLabel(this);
    prompt->setObjectName(QStringLiteral("Mode_select"));

    auto* frame = new QGroupBox(this);
    auto* options = new QVBoxLayout(frame);
    for (int i = 0; i < 3; ++i) {
        modeOptions_[i] = new QRadioButton(frame);
        modeOptions_[i]->setObjectName(QStringLiteral("Opt_1_%1").arg(i));
        modeOptions_[i]->installEventFilter(this);
        options->addWidget(modeOptions_[i]);
    }

    QDialogButtonBox* buttons = makeOkCancel(this, okButton_, cancelButton_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addWidget(frame);
    layout->addWidget(buttons);

    connect(okButton_, &QPushButton::clicked, this, &PointModeDialog::confirm);
    connect(cancelButton_, &QPushButton::clicked, this, &PointModeDialog::reject);

    // The texts and the preselected option.
    prompt->setText(tr("Please choose the operation mode."));
    modeOptions_[0]->setText(tr("A:Positioning operation (Absolute position)"));
    modeOptions_[1]->setText(tr("I:Positioning operation (Increment position)"));
    modeOptions_[2]->setText(tr("B :Brake"));
    for (QRadioButton* o : modeOptions_)
        o->setAccessibleName(o->text());
    modeOptions_[0]->setChecked(true);
    modeOptions_[0]->setFocus();
}

QString PointModeDialog::letterOf(const QRadioButton* option) const
{
    static const char* const letters[3] = {"A", "I", "B"};
    for (int i = 0; i < 3; ++i) {
        if (option == modeOptions_[i])
            return QLatin1String(letters[i]);
    }
    return {};
}

bool PointModeDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn && isVisible()) {
        for (const QRadioButton* o : modeOptions_) {
            if (watched == o)
                result_ = letterOf(o);
        }
    }
    return QDialog::eventFilter(watched, event);
}

void PointModeDialog::confirm()
{
    // A short pause before closing, as the controller-side tool always gave; the buttons
    // wait with it so nothing is clicked twice.
    okButton_->setEnabled(false);
    cancelButton_->setEnabled(false);
    QTimer::singleShot(100, this, [this] {
        for (const QRadioButton* o : modeOptions_) {
            if (o->isChecked())
                result_ = letterOf(o);
        }
        accept();
    });
}

void PointModeDialog::reject()
{
    // Cancel, Escape and closing the window.
    result_.clear();
    QDialog::reject();
}

QString PointModeDialog::chooseMode(QWidget* parent)
{
    PointModeDialog dialog(parent);
    // Focus can still arrive while a closing dialog hides; only OK hands out a letter.
    return dialog.exec() == QDialog::Accepted ? dialog.result() : QString();
}

}  // namespace kap
