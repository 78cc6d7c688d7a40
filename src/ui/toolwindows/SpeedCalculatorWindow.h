// The rotary operating speed calculator window. Offline: it never talks to the controller.
// The calculation itself lives in SpeedCalculation; this window reads the boxes, shows the
// messages and the results, and applies the box resets.
//
// Created once and hidden, not destroyed, when closed; its inputs persist between openings
// except for the reset on closing. It has no parent window on purpose: the window that opens
// it disables itself meanwhile, and a disabled window disables its child windows too.
#pragma once

#include "tools/SpeedCalculation.h"

#include <QWidget>

#include <array>
#include <optional>

class QLabel;
class QLineEdit;
class QRadioButton;

namespace kap {

class Dialogs;

class SpeedCalculatorWindow : public QWidget {
    Q_OBJECT
public:
    explicit SpeedCalculatorWindow(Dialogs& dialogs, QWidget* parent = nullptr);

    // Opening from the pulse-train window: selects the model of the actuator type text of the
    // parameter grid ("61", "50", ...; any other text keeps the current model), then shows
    // and raises the window. The caller disables itself and re-enables on closed().
    void openFor(const QString& actuatorType);

    // Option index of the selected model (0..6).
    int selectedModel() const;

    // The last successful calculation, moving time and both profiles included; nullopt
    // before the first. The result boxes show its speed and acceleration.
    const std::optional<speed::SpeedResult>& lastResult() const { return lastResult_; }

signals:
    // The window was closed (Close or the window's close button) and has been reset; the
    // window that opened it enables itself again.
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Choosing a model offers its largest load inertia and shows its unit and limit.
    void modelChosen(int index);
    void calculate();
    // Shows the run's box and writes its box resets; false when the run showed a box.
    bool report(const speed::SpeedRun& run);
    void showResults();
    void resetInputs();

    Dialogs& dialogs_;
    std::optional<speed::SpeedResult> lastResult_;

    std::array<QRadioButton*, speed::kModelCount> modelOptions_{};  // Option1

    QLineEdit* inertiaBox_ = nullptr;       // Text1
    QLineEdit* rangeBox_ = nullptr;         // Text2
    QLineEdit* speedBox_ = nullptr;         // Text3
    QLineEdit* accelerationBox_ = nullptr;  // Text4
    QLabel* inertiaUnit_ = nullptr;         // beside the load inertia, by model
    QLabel* inertiaLimit_ = nullptr;        // "Max. input value for load inertia is ..."

    QLineEdit* maxSpeedBox_ = nullptr;         // Text13
    QLineEdit* maxAccelerationBox_ = nullptr;  // Text15
};

}  // namespace kap
