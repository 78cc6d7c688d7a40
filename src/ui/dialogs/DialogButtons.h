// The "OK" / "Cancel" pair of the small dialogs; the two buttons keep their form names.
#pragma once

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QPushButton>

namespace kap {

struct DialogButtonsText {
    Q_DECLARE_TR_FUNCTIONS(DialogButtons)
};

// Makes the OK button (the default; "OKButton") and the Cancel button ("CancelButton") in a
// button box owned by parent.
inline QDialogButtonBox* makeOkCancel(QWidget* parent, QPushButton*& ok, QPushButton*& cancel)
{
    ok = new QPushButton(DialogButtonsText::tr("OK"), parent);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    cancel = new QPushButton(DialogButtonsText::tr("Cancel"), parent);
    cancel->setObjectName(QStringLiteral("CancelButton"));
    auto* box = new QDialogButtonBox(parent);
    box->addButton(ok, QDialogButtonBox::AcceptRole);
    box->addButton(cancel, QDialogButtonBox::RejectRole);
    return box;
}

}  // namespace kap
