// Asking the controller for its firmware version, and the program's own version.
// No widgets: the version window only shows what this leaves in the session.
#pragma once

#include <QString>

namespace kap {

class Session;

// The program version shown as "Ver 3.0.2".
struct ProgramVersion {
    int major;
    int minor;
    int revision;
};
ProgramVersion programVersion();
QString programVersionText();

// The version query of a main window: turns the setting-mode silence off, sets the link's reply
// timeout to 500 ms, sends "@?VER " and stores the controller version in the session's controller
// facts (empty when the controller stayed silent or refused). Never shows a box. A lost line or any
// other unexpected failure runs RestoreWindow. Returns the stored text.
QString QueryControllerVersion(Session& session);

// The part of the controller version the version window shows: its first 4 characters.
QString shownControllerVersion(const QString& version);

}  // namespace kap
