// The numeric keypad for positions, speeds and angles. It always starts from "0"; Enter
// returns the text shown (the user may also type into it), Cancel or closing empty text.
#pragma once

#include "data/Keypad.h"

#include <QDialog>
#include <QString>

class QLineEdit;

namespace kap {

class KeypadDialog : public QDialog {
    Q_OBJECT
public:
    explicit KeypadDialog(QWidget* parent = nullptr);

    QString result() const { return result_; }

    // Opens a fresh keypad modally and returns its result.
    static QString enterValue(QWidget* parent = nullptr);

protected:
    void reject() override;

private:
    void pressKey(int key);
    void enter();

    QLineEdit* display_ = nullptr;  // Text1
    Keypad keypad_;
    QString result_;
};

}  // namespace kap
