#include "ui/dialogs/KeypadDialog.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>

namespace kap {

KeypadDialog::KeypadDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("INPUTKEY"));
    setWindowTitle(tr("Input a numerical value."));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    display_ = new QLineEdit(keypad_.value(), this);
    display_->setObjectName(QStringLiteral("Text1"));
    display_->setAccessibleName(tr("Value"));
    display_->setAlignment(Qt::AlignRight);
    QFont big = display_->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    display_->setFont(big);

    // The keys by the keypad's numbering (TENKEY): "0" to "9", ".", "CLR", "-".
    const QStringList captions{"0", "1", "2", "3", "4",       "5", "6",
                               "7", "8", "9", ".", tr("CLR"), "-"};
    QPushButton* keys[13] = {};
    for (int i = 0; i < 13; ++i) {
        keys[i] = new QPushButton(captions.at(i), this);
        keys[i]->setObjectName(QStringLiteral("TENKEY_%1").arg(i));
        keys[i]->setAccessibleName(i == 11   ? tr("Clear")
                                   : i == 12 ? tr("Minus")
                                   : i == 10 ? tr("Decimal point")
                                             : captions.at(i));
        keys[i]->setAutoDefault(false);
        keys[i]->setFocusPolicy(Qt::TabFocus);  // the display keeps the focus
        keys[i]->setMinimumSize(48, 40);
        keys[i]->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        connect(keys[i], &QPushButton::clicked, this, [this, i] { pressKey(i); });
    }
    auto* enterButton = new QPushButton(tr("Enter"), this);
    enterButton->setObjectName(QStringLiteral("kettei"));
    enterButton->setDefault(true);
    enterButton->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    auto* cancelButton = new QPushButton(tr("Cancel"), this);
    cancelButton->setObjectName(QStringLiteral("CancelButton"));
    cancelButton->setAutoDefault(false);

    auto* grid = new QGridLayout(this);
    grid->addWidget(display_, 0, 0, 1, 3);
    grid->addWidget(cancelButton, 0, 3);
    const int digitRows[3][3] = {{7, 8, 9}, {4, 5, 6}, {1, 2, 3}};
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c)
            grid->addWidget(keys[digitRows[r][c]], r + 1, c);
    }
    grid->addWidget(keys[0], 4, 0, 1, 2);
    grid->addWidget(keys[10], 4, 2);
    grid->addWidget(keys[12], 1, 3);
    grid->addWidget(keys[11], 2, 3);
    grid->addWidget(enterButton, 3, 3, 2, 1);

    connect(enterButton, &QPushButton::clicked, this, &KeypadDialog::enter);
    connect(cancelButton, &QPushButton::clicked, this, &KeypadDialog::reject);
    display_->setFocus();
}

void KeypadDialog::pressKey(int key)
{
    keypad_.press(key);
    display_->setText(keypad_.value());
}

void KeypadDialog::enter()
{
    result_ = display_->text();
    accept();
}

void KeypadDialog::reject()
{
    result_.clear();
    QDialog::reject();
}

QString KeypadDialog::enterValue(QWidget* parent)
{
    KeypadDialog dialog(parent);
    dialog.exec();
    return dialog.result();
}

}  // namespace kap
