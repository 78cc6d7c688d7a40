#include "ui/dialogs/ActuatorTypeDialog.h"

#include "data/ActuatorTypes.h"
#include "ui/dialogs/DialogButtons.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kap {

namespace {

// Type number of each option, and the frames' top-to-bottom order.
constexpr int kTypeOfIndex[8] = {61, 62, 63, 64, 60, 50, 65, 66};
constexpr int kTalorOrder[7] = {5, 0, 1, 2, 3, 6, 7};
constexpr int kMovaIndex = 4;
constexpr int kDefaultIndex = 5;  // type 50

}  // namespace

ActuatorTypeDialog::ActuatorTypeDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmType"));
    setWindowTitle(tr("Actuator type"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto* prompt = new QLabel(this);
    prompt->setObjectName(QStringLiteral("TypeSelect"));

    // One button group across both frames makes them a single exclusive choice.
    choice_ = new QButtonGroup(this);
    choice_->setExclusive(true);
    for (int i = 0; i < 8; ++i) {
        const ActuatorType* t = findActuatorType(kTypeOfIndex[i]);
        const QString caption = QCoreApplication::translate("ActuatorTypes", t->caption);
        typeOptions_[i] = new QRadioButton(caption, this);
        typeOptions_[i]->setObjectName(QStringLiteral("Typename_%1").arg(i));
        typeOptions_[i]->setAccessibleName(caption);
        choice_->addButton(typeOptions_[i], i);
    }

    auto* talorFrame = new QGroupBox(tr("TALOR"), this);
    talorFrame->setObjectName(QStringLiteral("Frame1"));
    auto* talor = new QVBoxLayout(talorFrame);
    for (const int i : kTalorOrder)
        talor->addWidget(typeOptions_[i]);

    movaFrame_ = new QGroupBox(tr("MOVA"), this);
    movaFrame_->setObjectName(QStringLiteral("Frame2"));
    auto* mova = new QVBoxLayout(movaFrame_);
    mova->addWidget(typeOptions_[kMovaIndex]);
    mova->addStretch();

    // OK is the default button: Enter on an option acts as OK.
    QPushButton* okButton = nullptr;
    QPushButton* cancelButton = nullptr;
    QDialogButtonBox* buttons = makeOkCancel(this, okButton, cancelButton);

    auto* frames = new QHBoxLayout;
    frames->addWidget(talorFrame, 1);
    frames->addWidget(movaFrame_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addLayout(frames);
    layout->addWidget(buttons);

    connect(okButton, &QPushButton::clicked, this, &ActuatorTypeDialog::confirm);
    connect(cancelButton, &QPushButton::clicked, this, &ActuatorTypeDialog::cancel);

    // The texts and the preselected option.
    prompt->setText(tr("Please input an actuator type."));
    typeOptions_[kDefaultIndex]->setChecked(true);
    typeOptions_[kDefaultIndex]->setFocus();
}

void ActuatorTypeDialog::preselect(const QString& type)
{
    for (int i = 0; i < 8; ++i) {
        if (type.trimmed() == QString::number(kTypeOfIndex[i])) {
            typeOptions_[i]->setChecked(true);
            typeOptions_[i]->setFocus();
        }
    }
}

void ActuatorTypeDialog::hideMovaFrame()
{
    if (typeOptions_[kMovaIndex]->isChecked())
        typeOptions_[kDefaultIndex]->setChecked(true);
    movaFrame_->hide();
}

QString ActuatorTypeDialog::selectedType() const
{
    // By the option's place, not its caption: the caption is translated text.
    const int i = choice_->checkedId();
    return i >= 0 && i < 8 ? QString::number(kTypeOfIndex[i]) : QString();
}

void ActuatorTypeDialog::confirm()
{
    confirmed_ = true;
    accept();
}

void ActuatorTypeDialog::cancel()
{
    confirmed_ = false;
    reject();
}

QString ActuatorTypeDialog::chooseType(QWidget* parent, const QString& preselectType,
                                       bool withoutMova)
{
    ActuatorTypeDialog dialog(parent);
    if (withoutMova)
        dialog.hideMovaFrame();
    if (!preselectType.isEmpty())
        dialog.preselect(preselectType);
    dialog.exec();
    return dialog.confirmed() ? dialog.selectedType() : QString();
}

}  // namespace kap
