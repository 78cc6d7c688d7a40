// Which commands stay offered while an operation holds the session. What would conflict with
// the running operation is disabled, not merely ignored; Stop stays offered while anything
// may move.
#pragma once

#include "session/Commands.h"
#include "session/SessionState.h"

#include <optional>

namespace kap {

class Session;

enum class Offer {
    AsPanelSays,  // the drive panel's own state decides
    Off,
    On,  // offered whatever the panel says (Stop during a motion, the jog buttons' release)
};

// The table: what the innermost running operation leaves of a command.
Offer offerWhile(Activity running, Command command);

// What the running operation says of a command: nothing (the panel decides), or offered /
// not offered whatever the panel says.
std::optional<bool> operationOverride(const Session& s, Command command);

// The command as the window offers it now: the panel's state for panel buttons (true for
// menu commands), overruled by the running operation. The I/O monitor's cycle never takes a
// command away: a user operation begun inside it makes the cycle give way.
bool commandOffered(const Session& s, Command command);

// Menu and tool-bar commands that talk to the controller or change the data (not the view
// switches, not Exit).
bool isDataCommand(Command command);

// The teaching frame's input options: 0 "Numeric Input " (which ends a teaching loop and
// stops a jog), 1 and 2 the teaching loops.
bool inputOptionOffered(const Session& s, int option);

}  // namespace kap
