// The numeric keypad for positions, speeds and angles. It always starts from "0"; Enter
// returns the text shown (the user may also type into it), Cancel or closing empty text.
#pragma once

#include "Keypad.h"

#include <QDialog>
#include <QString>

class QLineEdit;
class QPushButton;

namespace kap {

class INPUTKEY : public QDialog {
    Q_OBJECT
public:
    explicit INPUTKEY(QWidget* parent = nullptr);

    QString result() const { return result_; }

    // Opens a fresh keypad modally and returns its result.
    static QString GetString(QWidget* parent = nullptr);

    QLineEdit* Text1 = nullptr;
    QPushButton* TENKEY[13] = {};  // "0" to "9", ".", "CLR", "-"
    QPushButton* kettei = nullptr;
    QPushButton* CancelButton = nullptr;

protected:
    void reject() override;

private:
    void TENKEY_Click(int index);
    void kettei_Click();

    Keypad keypad_;
    QString result_;
};

}  // namespace kap
