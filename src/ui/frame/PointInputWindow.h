// The point-input type's main window.
#pragma once

#include "MainFrame.h"

namespace kap {

class PointInputWindow : public MainFrame {
    Q_OBJECT
public:
    explicit PointInputWindow(Dialogs& dialogs, QWidget* parent = nullptr)
        : MainFrame(Family::PointInput, dialogs, parent)
    {
    }
};

}  // namespace kap
