// A window once shown keeps its native window when hidden, and with it its place among the
// application's windows that a screen reader lists. A window released on hiding leaves that
// list until it is shown again.
#pragma once

class QWidget;

namespace kap {

// From now on, each time the window hides it gives its native window back.
void releaseWhenHidden(QWidget* window);

}  // namespace kap
