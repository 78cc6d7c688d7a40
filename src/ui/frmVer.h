// The version window: the program's title and version beside the controller's name and the
// version the last query read. Modeless; OK closes it.
#pragma once

#include <QDialog>

class QLabel;
class QFrame;
class QPushButton;

namespace kap {

class Session;

class frmVer : public QDialog {
    Q_OBJECT
public:
    explicit frmVer(QWidget* parent = nullptr);

    // Fills the labels; the controller version as the last query read it.
    void Form_Load(const QString& controllerVersion = QString());

    QLabel* picIcon = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblDescription = nullptr;
    QLabel* lblDisclaimer = nullptr;
    QLabel* ConTitle = nullptr;
    QLabel* ConVersion = nullptr;
    QFrame* Line1[2] = {nullptr, nullptr};
    QPushButton* cmdOK = nullptr;

private:
    void cmdOK_Click();
};

// "Version(&A)" of either main window: asks the controller for its version, then shows the
// version window (one per parent window, created on first use) and returns it. A silent
// controller shows no box; the window then reads "Ver " alone.
frmVer* ShowVersionDialog(Session& session, QWidget* parent);

}  // namespace kap
