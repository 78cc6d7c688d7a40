#include "frmType.h"

#include "ActuatorTypes.h"
#include "DialogButtons.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kap {

namespace {

// Index of the Typename array for each type number, and the frames' top-to-bottom order.
constexpr int kTypeOfIndex[8] = {61, 62, 63, 64, 60, 50, 65, 66};
constexpr int kTalorOrder[7] = {5, 0, 1, 2, 3, 6, 7};
constexpr int kMovaIndex = 4;

}  // namespace

frmType::frmType(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmType"));
    setWindowTitle(tr("Actuator type"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    TypeSelect = new QLabel(this);
    TypeSelect->setObjectName(QStringLiteral("TypeSelect"));

    // One button group across both frames makes them a single exclusive choice.
    choice_ = new QButtonGroup(this);
    choice_->setExclusive(true);
    for (int i = 0; i < 8; ++i) {
        const ActuatorType* t = findActuatorType(kTypeOfIndex[i]);
        Typename[i] = new QRadioButton(QString::fromLatin1(t->caption), this);
        Typename[i]->setObjectName(QStringLiteral("Typename_%1").arg(i));
        Typename[i]->setAccessibleName(QString::fromLatin1(t->caption));
        choice_->addButton(Typename[i], i);
    }

    Frame1 = new QGroupBox(tr("TALOR"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    auto* talor = new QVBoxLayout(Frame1);
    for (const int i : kTalorOrder)
        talor->addWidget(Typename[i]);

    Frame2 = new QGroupBox(tr("MOVA"), this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    auto* mova = new QVBoxLayout(Frame2);
    mova->addWidget(Typename[kMovaIndex]);
    mova->addStretch();

    // OK is the default button: Enter on an option acts as OK.
    QDialogButtonBox* buttons = makeOkCancel(this, OKButton, CancelButton);

    auto* frames = new QHBoxLayout;
    frames->addWidget(Frame1, 1);
    frames->addWidget(Frame2, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(TypeSelect);
    layout->addLayout(frames);
    layout->addWidget(buttons);

    connect(OKButton, &QPushButton::clicked, this, &frmType::OKButton_Click);
    connect(CancelButton, &QPushButton::clicked, this, &frmType::CancelButton_Click);

    // Form load.
    TypeSelect->setText(tr("Please input an actuator type."));
    Typename[5]->setChecked(true);
    Typename[5]->setFocus();
}

void frmType::preselect(const QString& type)
{
    for (int i = 0; i < 8; ++i) {
        if (type.trimmed() == QString::number(kTypeOfIndex[i])) {
            Typename[i]->setChecked(true);
            Typename[i]->setFocus();
        }
    }
}

void frmType::hideFrame2()
{
    if (Typename[kMovaIndex]->isChecked())
        Typename[5]->setChecked(true);
    Frame2->hide();
}

QString frmType::selectedType() const
{
    const QAbstractButton* b = choice_->checkedButton();
    return b ? b->text().left(2) : QString();
}

void frmType::OKButton_Click()
{
    confirmed_ = true;
    accept();
}

void frmType::CancelButton_Click()
{
    confirmed_ = false;
    reject();
}

QString frmType::GetString(QWidget* parent, const QString& preselectType, bool withoutFrame2)
{
    frmType dialog(parent);
    if (withoutFrame2)
        dialog.hideFrame2();
    if (!preselectType.isEmpty())
        dialog.preselect(preselectType);
    dialog.exec();
    return dialog.confirmed() ? dialog.selectedType() : QString();
}

}  // namespace kap
