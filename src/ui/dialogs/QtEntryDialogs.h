// The entry dialogs a table's double-click opens, shown for real over a parent window.
#pragma once

#include "data/TableHost.h"
#include "ui/dialogs/KeypadDialog.h"
#include "ui/dialogs/PointModeDialog.h"

#include <QPointer>
#include <QWidget>

namespace kap {

class QtEntryDialogs : public EntryDialogs {
public:
    explicit QtEntryDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    QString operationMode() override { return PointModeDialog::chooseMode(parent_); }
    QString numericValue() override { return KeypadDialog::enterValue(parent_); }

private:
    QPointer<QWidget> parent_;
};

}  // namespace kap
