// The type choice of the parameter initialisation over the actuator type dialog ActuatorTypeDialog:
// a fresh modal dialog each time, the controller's type preselected, the MOVA frame left out
// when asked. The main window hands one to exchange::InitParameters.
#pragma once

#include "exchange/Initialise.h"
#include "ui/dialogs/ActuatorTypeDialog.h"

#include <QPointer>
#include <QWidget>

namespace kap {

class QtTypeChooser : public exchange::TypeChooser {
public:
    // parent: the window the dialog opens over (none: a window of its own). A dialog made
    // after its parent was disabled is enabled, so the disabled main window is a fine parent.
    explicit QtTypeChooser(QWidget* parent = nullptr) : parent_(parent) {}

    std::optional<QString> chooseType(const QString& current, bool withoutMova) override
    {
        const QString chosen = ActuatorTypeDialog::chooseType(parent_.data(), current, withoutMova);
        if (chosen.isEmpty())
            return std::nullopt;
        return chosen;
    }

private:
    QPointer<QWidget> parent_;
};

}  // namespace kap
