// The communication log of a main window's link: every exchange as it happens, one line each,
// with Pause, Clear, a find box and Save as. A modeless tool window; it follows the log only
// while it is shown, so a closed window costs nothing.
#pragma once

#include <QMetaObject>
#include <QPointer>
#include <QWidget>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace kap {

class Dialogs;
class ExchangeLog;

class CommLogWindow : public QWidget {
    Q_OBJECT
public:
    CommLogWindow(ExchangeLog& log, Dialogs& dialogs, QWidget* parent = nullptr);
    ~CommLogWindow() override;

    bool paused() const { return paused_; }
    void setPaused(bool on);
    // Moves to the next (or previous) match of the find box, wrapping at the ends, and
    // selects it; false when the text holds none.
    bool find(bool backwards = false);
    void saveAs();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void follow(bool on);
    void reload();
    void append(const QString& line);
    void showMissed();

    QPointer<ExchangeLog> log_;
    Dialogs& dialogs_;
    QPlainTextEdit* text_ = nullptr;      // Txt_Log
    QPushButton* pauseButton_ = nullptr;  // Cmd_Pause
    QPushButton* clearButton_ = nullptr;  // Cmd_Clear
    QLineEdit* findBox_ = nullptr;        // Txt_Find
    QPushButton* nextButton_ = nullptr;   // Cmd_FindNext
    QPushButton* prevButton_ = nullptr;   // Cmd_FindPrev
    QPushButton* saveButton_ = nullptr;   // Cmd_Save
    QLabel* status_ = nullptr;            // Lbl_Status
    bool paused_ = false;
    int missed_ = 0;
    QMetaObject::Connection added_;
    QMetaObject::Connection cleared_;
};

}  // namespace kap
