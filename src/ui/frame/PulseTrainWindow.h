// The pulse-train-input type's main window.
#pragma once

#include "MainFrame.h"

namespace kap {

class PulseTrainWindow : public MainFrame {
    Q_OBJECT
public:
    explicit PulseTrainWindow(Dialogs& dialogs, QWidget* parent = nullptr)
        : MainFrame(Family::PulseTrain, dialogs, parent)
    {
    }
};

}  // namespace kap
