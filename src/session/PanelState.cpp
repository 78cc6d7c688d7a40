#include "session/PanelState.h"

#include <QCoreApplication>

namespace kap {

PanelState::PanelState()
{
    // Setting mode, as the window opens.
    using C = Command;
    for (Command c : {C::SettingMode, C::OperationMode, C::Start, C::ReturnToOrigin, C::Stop,
                      C::OriginShiftTarget, C::PositionTarget, C::Set, C::JogCw, C::JogCcw,
                      C::Servo, C::Brake, C::Positioning, C::ClearDeviation, C::CancelAlarm})
        buttons_.insert(c, Button{});
    for (Command c :
         {C::SettingMode, C::OperationMode, C::OriginShiftTarget, C::PositionTarget, C::Set})
        buttons_[c].enabled = true;
    buttons_[C::SettingMode].shade = Shade::Green;
    buttons_[C::OperationMode].shade = Shade::LightGrey;
    buttons_[C::OriginShiftTarget].shade = Shade::LightCyan;
    buttons_[C::PositionTarget].shade = Shade::LightGrey;
    buttons_[C::Set].shade = Shade::LightOrange;
    buttons_[C::Servo].caption = QCoreApplication::translate("Operation", "Servo ON");
    buttons_[C::Brake].caption = QCoreApplication::translate("Operation", "Brake OFF");
    frames_[int(PanelFrame::Setup)] = true;
    frames_[int(PanelFrame::Parameters)] = true;
}

const PanelState::Button& PanelState::button(Command c) const
{
    static const Button none;
    const auto it = buttons_.constFind(c);
    return it == buttons_.cend() ? none : it.value();
}

void PanelState::setEnabled(Command c, bool on)
{
    const auto it = buttons_.find(c);
    if (it == buttons_.end() || it->enabled == on)
        return;
    it->enabled = on;
    emit changed();
}

void PanelState::setEnabled(const QList<Command>& commands, bool on)
{
    for (Command c : commands)
        setEnabled(c, on);
}

void PanelState::setShade(Command c, Shade shade)
{
    const auto it = buttons_.find(c);
    if (it == buttons_.end() || it->shade == shade)
        return;
    it->shade = shade;
    emit changed();
}

void PanelState::setCaption(Command c, const QString& caption)
{
    const auto it = buttons_.find(c);
    if (it == buttons_.end() || it->caption == caption)
        return;
    it->caption = caption;
    emit changed();
}

void PanelState::setFrameEnabled(PanelFrame f, bool on)
{
    if (frames_[int(f)] == on)
        return;
    frames_[int(f)] = on;
    emit changed();
}

void PanelState::setLamp(int index, bool on)
{
    if (index < 0 || index >= kLampCount || lamps_[index] == on)
        return;
    lamps_[index] = on;
    emit changed();
}

void PanelState::setCurrentAngle(const QString& text)
{
    if (currentAngle_ != text) {
        currentAngle_ = text;
        emit changed();
    }
    emit angleRefreshed(text);
}

void PanelState::setSettingPosition(const QString& text)
{
    if (settingPosition_ == text)
        return;
    settingPosition_ = text;
    emit changed();
}

void PanelState::setStopDialogShown(bool on)
{
    if (stopDialogShown_ == on)
        return;
    stopDialogShown_ = on;
    emit changed();
}

void PanelState::setInputOption(int option)
{
    if (inputOption_ == option || option < 0 || option > 2)
        return;
    inputOption_ = option;
    emit changed();
}

void PanelState::setOptionEnabled(int option, bool on)
{
    if (option < 0 || option > 2 || options_[option] == on)
        return;
    options_[option] = on;
    emit changed();
}

void PanelState::setExitEnabled(bool on)
{
    if (exitEnabled_ == on)
        return;
    exitEnabled_ = on;
    emit changed();
}

}  // namespace kap
