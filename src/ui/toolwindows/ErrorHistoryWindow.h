// The error history window: the controller's messages one per line, oldest at the top, and
// Save to write them to an error record file. Modeless; each read replaces it.
#pragma once

#include "exchange/ErrorHistory.h"

#include <QDialog>
#include <QPointer>

class QPushButton;

namespace kap {

class Session;

class ErrorHistoryWindow : public QDialog {
    Q_OBJECT
public:
    ErrorHistoryWindow(Session& session, const exchange::ErrorLines& lines,
                       QWidget* parent = nullptr);

private:
    void okClicked();
    void saveClicked();

    QPointer<Session> session_;
    exchange::ErrorLines lines_;
    QPushButton* okButton_ = nullptr;    // OK
    QPushButton* saveButton_ = nullptr;  // e_hozon
};

// "Error history display" of either main window: reads the history and, unless the read
// failed, closes the window of the previous read and opens a new one over mainWindow.
// Returns the new window, or nullptr when none was opened.
ErrorHistoryWindow* showErrorHistoryWindow(Session& session, QWidget* mainWindow);

}  // namespace kap
