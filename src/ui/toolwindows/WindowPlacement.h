#pragma once

class QMessageBox;
class QWidget;

namespace kap {

// Puts a top-level window beside its owner: to the right of it where there is room, else to
// the left, else over its edge; always inside the available area of the owner's screen, and no
// larger than it. Call before the window is shown; a visible window stays where it is.
void placeBeside(QWidget* window, const QWidget* owner);

// Makes a message box at least as wide as its title needs in the title bar, next to the
// frame's icon and buttons, so the title is not cut.
void widenForTitle(QMessageBox& box);

// The width a window needs for its title in the title bar.
int titleBarWidth(const QWidget& window);

}  // namespace kap
