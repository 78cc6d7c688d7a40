// The version window: the program's title and version beside the controller's name and the
// version the last query read. Modeless; OK closes it.
#pragma once

#include <QDialog>

class QLabel;

namespace kap {

class Session;

class VersionWindow : public QDialog {
    Q_OBJECT
public:
    explicit VersionWindow(QWidget* parent = nullptr);

    // Fills the labels; the controller version as the last query read it.
    void showVersions(const QString& controllerVersion = QString());

private:
    QLabel* programIcon_ = nullptr;        // picIcon
    QLabel* programTitle_ = nullptr;       // lblTitle
    QLabel* programVersion_ = nullptr;     // lblVersion
    QLabel* description_ = nullptr;        // lblDescription
    QLabel* disclaimer_ = nullptr;         // lblDisclaimer
    QLabel* controllerTitle_ = nullptr;    // ConTitle
    QLabel* controllerVersion_ = nullptr;  // ConVersion
};

// "Version(&A)" of either main window: asks the controller for its version, then shows the
// version window (one per parent window, created on first use) and returns it. A silent
// controller shows no box; the window then reads "Ver " alone.
VersionWindow* showVersionWindow(Session& session, QWidget* parent);

}  // namespace kap
