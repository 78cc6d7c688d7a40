// The pulse-train-input type's main window.
#pragma once

#include "MainFrame.h"

namespace kap {

class frmpulseMaindemo : public MainFrame {
    Q_OBJECT
public:
    explicit frmpulseMaindemo(Dialogs& dialogs, QWidget* parent = nullptr)
        : MainFrame(Family::PulseTrain, dialogs, parent)
    {
    }
};

}  // namespace kap
