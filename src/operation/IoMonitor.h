// The I/O monitor of Operation mode: every 700 ms one cycle reads the controller's digital
// I/O into the lamps, refreshes the current angle and, on the pulse-train window, the servo
// and brake captions. Cycles never overlap; one that fails pauses the monitor until
// Operation mode is entered again.
#pragma once

#include <QString>

namespace kap {
class PanelState;
class Session;
}  // namespace kap

namespace kap::operation {

// The tick of Tim_IO_Mon.
void MonitorTick(Session& s);
// One cycle; the tick has set the cycle mark.
void MonitorCycle(Session& s);

// The two layouts of the "@READ DIO " reply: Long "DO:0hbir,DI:0000543210" and the previous
// controller's Short "DO:hbir" CR LF "DI:00043210".
enum class DioLayout { Long, Short };
// Sets the lamps from a reply that begins with "DO" and is long enough for its layout; any
// other reply leaves them as they are (false).
bool applyDioReply(const QString& reply, DioLayout layout, PanelState& panel);

}  // namespace kap::operation
