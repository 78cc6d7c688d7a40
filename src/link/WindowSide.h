// What the link and its shared error reactions need of a main window. The windows implement
// it; procedures and tests can run against a plain implementation without a screen.
#pragma once

#include <QString>

namespace kap {

class Dialogs;

// Flags of a main window that the error reactions read or clear.
struct OperationFlags {
    bool settei = true;           // set while no operation runs: link-error boxes stay silent
    int STOPCHECK = 0;            // 1 after the user pressed Stop
    int orgpos = 0;               // 1 while a return to origin runs
    bool motionInProgress = false;
    int inputMode = 1;            // 1 numeric input, 2 direct teaching, 3 teaching playback
    QString operationTitle;       // title of the running operation's boxes
};

class WindowSide {
public:
    virtual ~WindowSide() = default;

    OperationFlags flags;

    virtual Dialogs& dialogs() = 0;

    // The three link boxes: last line sent, last reply, the controller's last error line.
    virtual void showComS(const QString& text) = 0;
    virtual void showComR(const QString& text) = 0;
    virtual void showError(const QString& text) = 0;

    virtual void setMainWindowEnabled(bool on) = 0;
    virtual void hideProgress() = 0;
    virtual void setToolbarEnabled(bool on) = 0;
    // Disables (locked) or enables every tool-bar button and the data menu items.
    virtual void setCommandsLocked(bool locked) = 0;

    // The "Numeric Input " option of the teaching frame.
    virtual bool numericInputSelected() const = 0;
    virtual void focusNumericInput() = 0;
};

}  // namespace kap
