// Plugs receive and transmit into a main window: the menu commands "mnuToolsRecP",
// "mnuToolsRecA", "mnuToolsTranP" and "mnuToolsTranA", the window's progress dialog frmbar,
// and the start-up reading.
#pragma once

namespace kap {

class ExchangeHost;
class MainFrame;
class frmbar;

// Once per window; a second call changes nothing.
void installExchangeCommands(MainFrame& window);

// The window's exchange side (created on first use): its host and its progress dialog.
ExchangeHost& exchangeHostOf(MainFrame& window);
frmbar& progressDialogOf(MainFrame& window);

// Start-up reads the controller's data into the window it is about to show (no questions;
// a failure ends the reading silently). Returns true when everything was read.
bool runStartupReading(MainFrame& window);

}  // namespace kap
