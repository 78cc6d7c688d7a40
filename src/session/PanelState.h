// What the drive panel shows, without widgets: each panel button's enable state, shade and
// caption, the frames, the lamps, the current angle and the STOP dialog. The operation
// procedures read and write it; the window mirrors it.
#pragma once

#include "session/Commands.h"

#include <QHash>
#include <QObject>
#include <QString>

#include <array>

namespace kap {

// The fixed colours of the panel's buttons; ButtonFace is the system's own.
enum class Shade {
    ButtonFace,
    Green,        // 0, 255, 0: the Setting button in Setting mode
    Magenta,      // 255, 0, 255: the Operation button in Operation mode
    LightGrey,    // 224, 224, 224
    LightGreen,   // 128, 255, 128: Start while pressed
    LightYellow,  // 255, 255, 128: Org while pressed
    Pink,         // 255, 128, 255
    LightPink,    // 255, 192, 255: Stop during a confirmed start
    LightOrange,  // 255, 192, 128
    LightCyan,    // 128, 255, 255
};

enum class PanelFrame { Setup, Parameters, Drive, View };

class PanelState : public QObject {
    Q_OBJECT
public:
    struct Button {
        bool enabled = false;
        Shade shade = Shade::ButtonFace;
        QString caption;  // kept for the buttons whose caption changes (servo, brake)
    };
    static constexpr int kLampCount = 14;

    PanelState();

    const Button& button(Command c) const;
    // Whether c is one of the panel's buttons (menu commands are not).
    bool hasButton(Command c) const { return buttons_.contains(c); }
    bool enabled(Command c) const { return button(c).enabled; }
    Shade shade(Command c) const { return button(c).shade; }
    QString caption(Command c) const { return button(c).caption; }
    void setEnabled(Command c, bool on);
    void setEnabled(const QList<Command>& commands, bool on);
    void setShade(Command c, Shade shade);
    void setCaption(Command c, const QString& caption);

    bool frameEnabled(PanelFrame f) const { return frames_[int(f)]; }
    void setFrameEnabled(PanelFrame f, bool on);

    bool lamp(int index) const { return lamps_.at(index); }
    void setLamp(int index, bool on);

    // Txt_NowPosi, Txt_Pos.
    QString currentAngle() const { return currentAngle_; }
    void setCurrentAngle(const QString& text);
    QString settingPosition() const { return settingPosition_; }
    void setSettingPosition(const QString& text);

    bool stopDialogShown() const { return stopDialogShown_; }
    void setStopDialogShown(bool on);

    // The teaching frame's input options: 0 "Numeric Input ", 1 "Direct Teaching ",
    // 2 "Teaching Playback" (point-input window).
    int inputOption() const { return inputOption_; }
    void setInputOption(int option);
    bool optionEnabled(int option) const { return options_.at(option); }
    void setOptionEnabled(int option, bool on);

    // The tool bar's Exit button, which stays offered while a teaching loop locks the rest.
    bool exitEnabled() const { return exitEnabled_; }
    void setExitEnabled(bool on);

signals:
    // Anything above changed; the window brings its widgets in line.
    void changed();
    // Every setCurrentAngle, also when the text stays the same: a history of the angle has
    // to see each refresh, not only the ones that moved the shown value.
    void angleRefreshed(const QString& text);

private:
    QHash<Command, Button> buttons_;
    std::array<bool, 4> frames_{};
    std::array<bool, kLampCount> lamps_{};
    QString currentAngle_;
    QString settingPosition_ = QStringLiteral("0.00");
    bool stopDialogShown_ = false;
    int inputOption_ = 0;
    std::array<bool, 3> options_{true, true, true};
    bool exitEnabled_ = true;
};

}  // namespace kap
