#include "INPUTKEY.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>

namespace kap {

INPUTKEY::INPUTKEY(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("INPUTKEY"));
    setWindowTitle(tr("Input a numerical value."));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    Text1 = new QLineEdit(keypad_.value(), this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setAccessibleName(tr("Value"));
    Text1->setAlignment(Qt::AlignRight);
    QFont big = Text1->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    Text1->setFont(big);

    const QStringList captions{"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", ".", "CLR", "-"};
    for (int i = 0; i < 13; ++i) {
        TENKEY[i] = new QPushButton(captions.at(i), this);
        TENKEY[i]->setObjectName(QStringLiteral("TENKEY_%1").arg(i));
        TENKEY[i]->setAccessibleName(i == 11 ? tr("Clear") : i == 12 ? tr("Minus")
                                     : i == 10 ? tr("Decimal point") : captions.at(i));
        TENKEY[i]->setAutoDefault(false);
        TENKEY[i]->setFocusPolicy(Qt::TabFocus);  // the display keeps the focus
        TENKEY[i]->setMinimumSize(48, 40);
        TENKEY[i]->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        connect(TENKEY[i], &QPushButton::clicked, this, [this, i] { TENKEY_Click(i); });
    }
    kettei = new QPushButton(tr("Enter"), this);
    kettei->setObjectName(QStringLiteral("kettei"));
    kettei->setDefault(true);
    kettei->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    CancelButton = new QPushButton(tr("Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    CancelButton->setAutoDefault(false);

    auto* grid = new QGridLayout(this);
    grid->addWidget(Text1, 0, 0, 1, 3);
    grid->addWidget(CancelButton, 0, 3);
    const int digitRows[3][3] = {{7, 8, 9}, {4, 5, 6}, {1, 2, 3}};
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c)
            grid->addWidget(TENKEY[digitRows[r][c]], r + 1, c);
    }
    grid->addWidget(TENKEY[0], 4, 0, 1, 2);
    grid->addWidget(TENKEY[10], 4, 2);
    grid->addWidget(TENKEY[12], 1, 3);
    grid->addWidget(TENKEY[11], 2, 3);
    grid->addWidget(kettei, 3, 3, 2, 1);

    connect(kettei, &QPushButton::clicked, this, &INPUTKEY::kettei_Click);
    connect(CancelButton, &QPushButton::clicked, this, &INPUTKEY::reject);
    Text1->setFocus();
}

void INPUTKEY::TENKEY_Click(int index)
{
    keypad_.press(index);
    Text1->setText(keypad_.value());
}

void INPUTKEY::kettei_Click()
{
    result_ = Text1->text();
    accept();
}

void INPUTKEY::reject()
{
    result_.clear();
    QDialog::reject();
}

QString INPUTKEY::GetString(QWidget* parent)
{
    INPUTKEY dialog(parent);
    dialog.exec();
    return dialog.result();
}

}  // namespace kap
