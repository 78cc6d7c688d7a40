// The point-input type's main window.
#pragma once

#include "ui/frame/MainFrame.h"

namespace kap {

class PointInputWindow : public MainFrame {
    Q_OBJECT
public:
    PointInputWindow(Dialogs& dialogs, ProgramState& state, QWidget* parent = nullptr)
        : MainFrame(Family::PointInput, dialogs, state, parent)
    {
    }
};

}  // namespace kap
