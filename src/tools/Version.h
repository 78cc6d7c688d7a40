// Asking the controller for its firmware version, and the program's own version.
// No widgets: the version window only shows what this leaves in module1().
#pragma once

#include <QString>

namespace kap {

class Link;
class WindowSide;

// The program version shown as "Ver 3.0.2".
struct ProgramVersion {
    int major;
    int minor;
    int revision;
};
ProgramVersion programVersion();
QString programVersionText();

// The controller version text of a reply: the reply's first line with blanks removed at both
// ends, cut to its first 4 characters. A reply that carries no version line (empty, or one
// that starts with a reply word such as "NG") gives an empty text.
QString versionFromReply(const QString& reply);

// The version query of a main window: clears settei, sets the link's reply timeout to 500 ms,
// sends "@?VER " and stores the controller version text in module1().controllerVersion (empty
// when the controller stayed silent or refused). Never shows a box. A lost line or any other
// unexpected failure runs RestoreWindow. Returns the stored text.
QString QueryControllerVersion(Link& link, WindowSide& window);

}  // namespace kap
