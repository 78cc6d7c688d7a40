// The pulse-train-input type's main window.
#pragma once

#include "ui/frame/MainFrame.h"

namespace kap {

class PulseTrainWindow : public MainFrame {
    Q_OBJECT
public:
    PulseTrainWindow(Dialogs& dialogs, ProgramState& state, QWidget* parent = nullptr)
        : MainFrame(Family::PulseTrain, dialogs, state, parent)
    {
    }
};

}  // namespace kap
