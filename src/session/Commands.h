// Every command a user can give a main window: menu items, tool-bar buttons and drive-panel
// buttons. The window's tables bind each control to one of these, and one dispatcher runs
// them.
#pragma once

#include <QList>

namespace kap {

enum class Family;

enum class Command {
    // File
    NewFile,
    Open,
    SaveAs,
    Save,  // to the file last saved or opened; Save As while there is none
    Print,
    PrintPreview,
    Exit,
    // View
    ShowPointGrid,
    ShowParameterGrid,
    SwitchGrid,  // the tool bar's "Window": the other of the two grids
    ToggleToolbar,
    ToggleStatusBar,
    ShowCommLog,    // the window's communication log
    ShowAnglePlot,  // the strip chart of the current angle and the lamps
    // Tools
    TransmitTable,
    TransmitParameters,
    ReceiveTable,
    ReceiveParameters,
    PortSetup,
    ErrorHistory,
    SpeedCalculation,
    ChangeOrigin,
    Compare,
    InitTable,
    InitParameters,
    InitOrigin,
    // Help
    Version,
    // Drive panel
    SettingMode,
    OperationMode,
    Start,
    ReturnToOrigin,
    Stop,
    OriginShiftTarget,
    PositionTarget,
    Set,
    JogCw,
    JogCcw,
    Servo,
    Brake,
    Positioning,
    ClearDeviation,
    CancelAlarm,
};

// Every command, in the enumeration's order.
const QList<Command>& allCommands();
// A name for messages and logs ("ReceiveTable").
const char* commandName(Command command);

// The pulse-train window's "Positioning operation" button has no action of its own; it is
// shown, disabled.
bool hasNoAction(Command command);
// Whether the family's window offers the command at all (the grid switch and the speed
// calculator belong to one family each).
bool isAvailable(Command command, Family family);

}  // namespace kap
