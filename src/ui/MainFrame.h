// The frame both main windows share. What differs between the point-input and the
// pulse-train window is data (captions, keys, panels), not code.
#pragma once

#include "Link.h"
#include "WindowSide.h"

#include <QMainWindow>

#include <memory>

class QLineEdit;

namespace kap {

class Dialogs;
class QtSerialLine;
class ReplyTimeout;

enum class Family { PointInput, PulseTrain };

class MainFrame : public QMainWindow, public WindowSide {
    Q_OBJECT
public:
    MainFrame(Family family, Dialogs& dialogs, QWidget* parent = nullptr);
    ~MainFrame() override;

    Family family() const { return family_; }
    Link& link() { return *link_; }
    QtSerialLine& serialLine() { return *MSComm1; }

    // WindowSide
    Dialogs& dialogs() override { return dialogs_; }
    void showComS(const QString& text) override;
    void showComR(const QString& text) override;
    void showError(const QString& text) override;
    void setMainWindowEnabled(bool on) override;
    void hideProgress() override;
    void setToolbarEnabled(bool on) override;
    void setCommandsLocked(bool locked) override;
    bool numericInputSelected() const override;
    void focusNumericInput() override;

    QLineEdit* Txt_ComS = nullptr;
    QLineEdit* Txt_ComR = nullptr;
    QLineEdit* Txt_Error = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    Family family_;
    Dialogs& dialogs_;
    QtSerialLine* MSComm1;
    // The pulse-train window keeps its own reply timeout; the point-input window shares the
    // program-wide one with the start-up window.
    std::unique_ptr<ReplyTimeout> ownTimeout_;
    std::unique_ptr<Link> link_;
};

// Shows a reply or line in a one-line box with its control characters visible.
QString visibleControls(const QString& text);

}  // namespace kap
