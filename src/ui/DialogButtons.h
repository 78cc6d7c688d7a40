// The "OK" / "Cancel" pair of the small dialogs; the two buttons keep their form names.
#pragma once

#include <QDialogButtonBox>
#include <QPushButton>

namespace kap {

// Makes the OK button (the default; "OKButton") and the Cancel button ("CancelButton") in a
// button box owned by parent.
inline QDialogButtonBox* makeOkCancel(QWidget* parent, QPushButton*& ok, QPushButton*& cancel)
{
    ok = new QPushButton(QObject::tr("OK"), parent);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    cancel = new QPushButton(QObject::tr("Cancel"), parent);
    cancel->setObjectName(QStringLiteral("CancelButton"));
    auto* box = new QDialogButtonBox(parent);
    box->addButton(ok, QDialogButtonBox::AcceptRole);
    box->addButton(cancel, QDialogButtonBox::RejectRole);
    return box;
}

}  // namespace kap
