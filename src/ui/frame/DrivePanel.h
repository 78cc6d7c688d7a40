// The lower part of a main window: the mode buttons, the teaching, quick-parameter, drive and
// view frames with their lamps, and the boxes of the last line sent and received. It shows the
// session's PanelState; a click on a command button asks the window to run the command
// (commandRequested), while the presses that only colour a button and the teaching options
// go to the session directly.
#pragma once

#include "session/Commands.h"
#include "session/PanelState.h"

#include <QHash>
#include <QList>
#include <QWidget>

#include <functional>
#include <memory>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace kap {

class QuickParameterBoxes;
class Session;

class DrivePanel : public QWidget {
    Q_OBJECT
public:
    // commandEnabled: whether the window runs a command at all; a button whose command it
    // does not run stays disabled whatever the panel state says.
    DrivePanel(Session& session, std::function<bool(Command)> commandEnabled,
               QWidget* parent = nullptr);
    ~DrivePanel() override;

    // The button of a command, or null when this window's panel has none.
    QPushButton* buttonFor(Command command) const { return buttons_.value(command); }

    // Brings the widgets in line with the session's panel state.
    void showState();
    // The last line sent, the last reply and the controller's error line (Txt_ComS,
    // Txt_ComR, Txt_Error), control characters made visible.
    void showSent(const QString& text);
    void showReply(const QString& text);
    void showControllerError(const QString& text);
    // The load inertia's unit from its exponents of ten and of the metre ("-6      2").
    void showInertiaUnit(const QString& exponents);

    // The teaching options (point-input window): "Numeric Input" chosen, or no options.
    bool numericInputSelected() const;
    void focusNumericInput();
    void focusSettingPosition();

signals:
    // A command button was clicked (a jog button pressed).
    void commandRequested(Command command);

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    // A button under its form name, bound to its command when it has one.
    QPushButton* addCommandButton(QWidget* parent, const char* name, const QString& caption);
    void bind(QPushButton* button, Command command);
    // The Alt keys of the mode, drive and teaching controls, with their tool tips.
    void addKeys();
    // The teaching options' keys: arrows move the focus, Space and Enter choose.
    bool inputOptionKey(QObject* watched, QEvent* e);

    Session& session_;
    std::function<bool(Command)> commandEnabled_;
    QHash<Command, QPushButton*> buttons_;
    QList<QRadioButton*> inputOptions_;  // Opt_Num
    QRadioButton* numericInput_ = nullptr;
    QHash<PanelFrame, QGroupBox*> frames_;
    QHash<int, QLabel*> lamps_;
    QLineEdit* currentAngle_ = nullptr;     // Txt_NowPosi
    QLineEdit* settingPosition_ = nullptr;  // Txt_Pos
    QLineEdit* sentBox_ = nullptr;          // Txt_ComS
    QLineEdit* replyBox_ = nullptr;         // Txt_ComR
    QLineEdit* errorBox_ = nullptr;         // Txt_Error
    QLabel* inertiaUnit_ = nullptr;         // Label10
    // Gone before the widgets it works on.
    std::unique_ptr<QuickParameterBoxes> quickBoxes_;
};

}  // namespace kap
