// The port dialog: modeless, one per menu choice. Choosing an option (it receives the
// focus) changes the port at once; OK shows it in the main windows, Cancel puts it back.
#pragma once

#include <QDialog>

#include <array>

class QLabel;
class QPushButton;
class QRadioButton;

namespace kap {

class frmP : public QDialog {
    Q_OBJECT
public:
    explicit frmP(QWidget* parent = nullptr);

    QLabel* Port_select;
    std::array<QRadioButton*, 8> Opt_1;
    QPushButton* OKButton;
    QPushButton* CancelButton;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void reject() override;

private:
    void OKButton_Click();
    QString remembered_;
};

}  // namespace kap
