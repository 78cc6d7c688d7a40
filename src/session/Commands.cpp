#include "session/Commands.h"

#include "data/ActuatorTypes.h"

namespace kap {
namespace {

struct CommandInfo {
    Command command;
    const char* name;
};

// One row per command, in the enumeration's order.
constexpr CommandInfo kCommands[] = {
    {Command::NewFile, "NewFile"},
    {Command::Open, "Open"},
    {Command::SaveAs, "SaveAs"},
    {Command::Save, "Save"},
    {Command::Print, "Print"},
    {Command::PrintPreview, "PrintPreview"},
    {Command::Exit, "Exit"},
    {Command::ShowPointGrid, "ShowPointGrid"},
    {Command::ShowParameterGrid, "ShowParameterGrid"},
    {Command::SwitchGrid, "SwitchGrid"},
    {Command::ToggleToolbar, "ToggleToolbar"},
    {Command::ToggleStatusBar, "ToggleStatusBar"},
    {Command::ShowCommLog, "ShowCommLog"},
    {Command::ShowAnglePlot, "ShowAnglePlot"},
    {Command::TransmitTable, "TransmitTable"},
    {Command::TransmitParameters, "TransmitParameters"},
    {Command::ReceiveTable, "ReceiveTable"},
    {Command::ReceiveParameters, "ReceiveParameters"},
    {Command::PortSetup, "PortSetup"},
    {Command::ErrorHistory, "ErrorHistory"},
    {Command::SpeedCalculation, "SpeedCalculation"},
    {Command::ChangeOrigin, "ChangeOrigin"},
    {Command::Compare, "Compare"},
    {Command::InitTable, "InitTable"},
    {Command::InitParameters, "InitParameters"},
    {Command::InitOrigin, "InitOrigin"},
    {Command::Version, "Version"},
    {Command::SettingMode, "SettingMode"},
    {Command::OperationMode, "OperationMode"},
    {Command::Start, "Start"},
    {Command::ReturnToOrigin, "ReturnToOrigin"},
    {Command::Stop, "Stop"},
    {Command::OriginShiftTarget, "OriginShiftTarget"},
    {Command::PositionTarget, "PositionTarget"},
    {Command::Set, "Set"},
    {Command::JogCw, "JogCw"},
    {Command::JogCcw, "JogCcw"},
    {Command::Servo, "Servo"},
    {Command::Brake, "Brake"},
    {Command::Positioning, "Positioning"},
    {Command::ClearDeviation, "ClearDeviation"},
    {Command::CancelAlarm, "CancelAlarm"},
};

constexpr bool inEnumerationOrder()
{
    int i = 0;
    for (const CommandInfo& c : kCommands) {
        if (int(c.command) != i++)
            return false;
    }
    return true;
}
static_assert(inEnumerationOrder(), "kCommands lists every command in the enumeration's order");
static_assert(int(std::size(kCommands)) == int(Command::CancelAlarm) + 1,
              "kCommands lists every command");

}  // namespace

const QList<Command>& allCommands()
{
    static const QList<Command> all = [] {
        QList<Command> list;
        for (const CommandInfo& c : kCommands)
            list.append(c.command);
        return list;
    }();
    return all;
}

const char* commandName(Command command)
{
    return kCommands[int(command)].name;
}

bool hasNoAction(Command command)
{
    return command == Command::Positioning;
}

bool isAvailable(Command command, Family family)
{
    switch (command) {
    case Command::ShowPointGrid:
    case Command::ShowParameterGrid:
    case Command::SwitchGrid:
    case Command::Start:
        return family == Family::PointInput;
    case Command::SpeedCalculation:
    case Command::Servo:
    case Command::Brake:
    case Command::Positioning:
    case Command::ClearDeviation:
    case Command::CancelAlarm:
        return family == Family::PulseTrain;
    default:
        return true;
    }
}

}  // namespace kap
