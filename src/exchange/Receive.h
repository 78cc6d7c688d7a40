// Receive: the controller's setting data into the window's grids, from the menu commands
// "Receive(Point)" / "Receive(Zones)" and "Receive(Parameters)", and once at start-up.
#pragma once

#include "exchange/ExchangeSteps.h"
#include "session/Session.h"

namespace kap::exchange {

// mnuToolsRecP: the point table (point-input window) or the zone table (pulse-train window).
Result ReceiveTable(Session& session);
// mnuToolsRecA: the parameters; the point-input window first reads the controller's version
// and I/O layout, which decide how parameters 6 and 28 are shown.
Result ReceiveParameters(Session& session);

// The reading start-up runs into the window it is about to show, once the family is known:
// the same reading, table first, without confirmation or closing boxes. A time-out, or a
// refusal of any step but the version query, ends it silently; Cancel in the progress dialog
// shows "Stop" titled "Data not received." and leaves that table as it was. Once the table
// step has been reached
// the window ends up with the actuator type read in parameter 0, its ranges and the origin
// shift in the status bar.
Result StartupReading(Session& session);

}  // namespace kap::exchange
