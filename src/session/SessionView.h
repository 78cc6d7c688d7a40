// What a session shows. The main window implements it over its widgets; a session without a
// screen (the command line, most tests) shows nothing and keeps the progress dialog's state
// in memory.
#pragma once

#include "session/Progress.h"

#include <QString>

namespace kap {

class SessionView {
public:
    virtual ~SessionView() = default;

    // The three link boxes: last line sent, last reply, the controller's last error line.
    virtual void showComS(const QString& text) = 0;
    virtual void showComR(const QString& text) = 0;
    virtual void showError(const QString& text) = 0;

    virtual void setMainWindowEnabled(bool on) = 0;
    virtual void setToolbarEnabled(bool on) = 0;
    // Disables (locked) or enables every tool-bar button and the data menu items.
    virtual void setCommandsLocked(bool locked) = 0;
    virtual Progress& progress() = 0;

    // The "Numeric Input " option of the teaching frame.
    virtual bool numericInputSelected() const = 0;
    virtual void focusNumericInput() = 0;
    // The point grid comes to the front (the teaching target "Position").
    virtual void showTableGrid() = 0;
    // Txt_Pos takes the focus with its text selected (after a refused SET).
    virtual void focusSettingPosition() = 0;

    // The status bar's "Origin point shift: " panel, given parameter 35 in 0.01 degree.
    virtual void showOriginShift(const QString& hundredths) = 0;
    // A message the status bar shows for a while, such as what an Open could not take.
    virtual void showStatusMessage(const QString& text) = 0;
    // A short note, for a few seconds (a typed value put back). A view without a status bar
    // has no use for it.
    virtual void showPassingMessage(const QString& text) { (void)text; }
    virtual void showTitle(const QString& title) = 0;
    virtual void closeWindow() = 0;
};

// The view of a session without a screen: nothing is shown; the progress dialog is never
// cancelled.
class NoView : public SessionView, private Progress {
public:
    void showComS(const QString&) override {}
    void showComR(const QString&) override {}
    void showError(const QString&) override {}
    void setMainWindowEnabled(bool) override {}
    void setToolbarEnabled(bool) override {}
    void setCommandsLocked(bool) override {}
    Progress& progress() override { return *this; }
    bool numericInputSelected() const override { return true; }
    void focusNumericInput() override {}
    void focusSettingPosition() override {}
    void showTableGrid() override {}
    void showOriginShift(const QString&) override {}
    void showStatusMessage(const QString&) override {}
    void showTitle(const QString&) override {}
    void closeWindow() override {}

private:
    void setRange(int, int) override {}
    void setValue(int) override {}
    void show() override {}
    void hide() override {}
    QString cancelTag() const override { return tag_; }
    void setCancelTag(const QString& tag) override { tag_ = tag; }
    void setCancelEnabled(bool) override {}

    QString tag_ = QStringLiteral("0");
};

}  // namespace kap
