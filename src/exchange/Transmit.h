// Transmit: the window's setting data into the controller, from "Transmit(Point)" /
// "Transmit(Zones)" and "Transmit(Parameters)". The table is checked first, partly against
// what the controller reports; then it is written in one write block.
#pragma once

#include "exchange/ExchangeSteps.h"
#include "session/Session.h"

namespace kap::exchange {

// mnuToolsTranP: the point table (point-input window) or the zone table (pulse-train window).
// The controller's table is erased before the block, so it ends up holding exactly the
// records written. When the block does not complete after the erase, its box says so
// (erasedTableText()) and leftIncomplete, when given, is set.
Result TransmitTable(Session& session, bool* leftIncomplete = nullptr);
// "The controller's point data was erased and is now incomplete. Transmit again." (zone data
// for the pulse-train window).
QString erasedTableText(Family family);
// mnuToolsTranA: parameters 1 and up ("**" rows are skipped; the actuator type never goes).
// The point-input window first re-checks every row and refuses when the controller holds
// points outside the grid's operating angle.
Result TransmitParameters(Session& session);

}  // namespace kap::exchange
