#include "session/CommandOffer.h"

#include "session/Session.h"

namespace kap {
namespace {

using C = Command;

enum class Group { Mode, Drive, Stop, PanelCommand, Teaching, Jog, View, Data };

Group groupOf(Command c)
{
    switch (c) {
    case C::SettingMode:
    case C::OperationMode:
        return Group::Mode;
    case C::Start:
    case C::ReturnToOrigin:
        return Group::Drive;
    case C::Stop:
        return Group::Stop;
    case C::Servo:
    case C::Brake:
    case C::Positioning:
    case C::ClearDeviation:
    case C::CancelAlarm:
        return Group::PanelCommand;
    case C::OriginShiftTarget:
    case C::PositionTarget:
    case C::Set:
        return Group::Teaching;
    case C::JogCw:
    case C::JogCcw:
        return Group::Jog;
    case C::ShowPointGrid:
    case C::ShowParameterGrid:
    case C::SwitchGrid:
    case C::ToggleToolbar:
    case C::ToggleStatusBar:
    case C::ShowCommLog:
    case C::ShowAnglePlot:
    case C::Exit:
        return Group::View;
    default:
        return Group::Data;
    }
}

constexpr Offer P = Offer::AsPanelSays;
constexpr Offer O = Offer::Off;
constexpr Offer I = Offer::On;

// One row per activity; columns in the order of Group.
// clang-format off
struct Row {
    Activity activity;
    Offer mode, drive, stop, panelCommand, teaching, jog, view, data;
};
constexpr Row kTable[] = {
    //                          mode drive stop panel teach jog view data
    {Activity::ModeChange,      O,   O,    O,   O,    O,    O,  P,   O},
    {Activity::Start,           O,   O,    P,   O,    O,    O,  P,   O},
    {Activity::Move,            O,   O,    I,   O,    O,    O,  P,   O},
    {Activity::ReturnToOrigin,  O,   O,    I,   O,    O,    O,  P,   O},
    {Activity::Stop,            O,   O,    O,   O,    O,    O,  P,   O},
    {Activity::PanelCommand,    O,   O,    P,   O,    O,    O,  P,   O},
    {Activity::Refresh,         O,   O,    P,   O,    O,    P,  P,   O},
    {Activity::TeachingChoice,  O,   O,    P,   O,    O,    O,  P,   O},
    // The release of a held button must always arrive.
    {Activity::Jog,             O,   O,    P,   O,    O,    I,  P,   O},
    {Activity::Set,             O,   O,    P,   O,    O,    O,  P,   O},
    {Activity::DataCommand,     O,   O,    O,   O,    O,    O,  P,   O},
};
// clang-format on

}  // namespace

Offer offerWhile(Activity running, Command command)
{
    for (const Row& row : kTable) {
        if (row.activity != running)
            continue;
        switch (groupOf(command)) {
        case Group::Mode:
            return row.mode;
        case Group::Drive:
            return row.drive;
        case Group::Stop:
            return row.stop;
        case Group::PanelCommand:
            return row.panelCommand;
        case Group::Teaching:
            return row.teaching;
        case Group::Jog:
            return row.jog;
        case Group::View:
            return row.view;
        case Group::Data:
            return row.data;
        }
    }
    return Offer::AsPanelSays;
}

std::optional<bool> operationOverride(const Session& s, Command command)
{
    // Between the press and the release of a held jog nothing but the release, Stop and
    // Numeric Input may act.
    if (s.teachingState().loop == TeachingLoop::Held) {
        const Group g = groupOf(command);
        if (g == Group::Mode || g == Group::Teaching || g == Group::Data)
            return false;
    }
    if (s.operations().idle())
        return std::nullopt;
    switch (offerWhile(s.operations().current(), command)) {
    case Offer::AsPanelSays:
        return std::nullopt;
    case Offer::Off:
        return false;
    case Offer::On:
        return true;
    }
    return std::nullopt;
}

bool commandOffered(const Session& s, Command command)
{
    const bool panel = s.panel().hasButton(command) ? s.panel().enabled(command) : true;
    return operationOverride(s, command).value_or(panel);
}

bool isDataCommand(Command command)
{
    return groupOf(command) == Group::Data;
}

bool inputOptionOffered(const Session& s, int option)
{
    const bool panel = s.panel().optionEnabled(option);
    if (s.operations().idle())
        return panel && (option == 0 || s.teachingState().loop != TeachingLoop::Held);
    if (option != 0)
        return false;
    const Activity a = s.operations().current();
    return panel && (a == Activity::Jog || a == Activity::Refresh);
}

}  // namespace kap
