// The port dialog: modeless, one per menu choice. Choosing an option (it receives the
// focus) changes the port at once; OK shows it in the main windows, Cancel puts it back.
#pragma once

#include <QDialog>

#include <array>

class QRadioButton;

namespace kap {

class frmP : public QDialog {
    Q_OBJECT
public:
    explicit frmP(QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void reject() override;

private:
    void confirm();

    std::array<QRadioButton*, 8> portOptions_{};  // Opt_1: COM1 to COM8
    QString portBefore_;  // the port when the dialog opened; Cancel puts it back
};

}  // namespace kap
