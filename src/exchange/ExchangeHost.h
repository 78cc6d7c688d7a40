// What receive and transmit need of a main window. The window side implements it over its
// own widgets; the procedures stay free of widget headers and run the same from a menu
// command, at start-up or from a test.
#pragma once

#include "ActuatorTypes.h"

#include <QString>

namespace kap {

class Grid;
class Link;
class ParameterTable;
class WindowSide;

// The progress dialog of data operations (frmbar): a bar, and a Cancel button whose tag
// reads "1" after a click and "0" after the dialog was closed. Operations poll the tag.
class Progress {
public:
    virtual ~Progress() = default;
    virtual void setRange(int minimum, int maximum) = 0;
    virtual void setValue(int value) = 0;
    // Shown modeless over the main window; hidden, never destroyed, at the end.
    virtual void show() = 0;
    virtual void hide() = 0;
    virtual QString cancelTag() const = 0;
    virtual void setCancelTag(const QString& tag) = 0;
    virtual void setCancelEnabled(bool on) = 0;
};

// What the window remembers of the controller between operations.
struct ControllerFacts {
    QString version;          // "@?VER " as a decimal, e.g. "1.05"; empty until read
    bool previous = false;    // previous-generation controller (short DIO reply)
};

class ExchangeHost {
public:
    virtual ~ExchangeHost() = default;

    virtual Family family() const = 0;
    virtual WindowSide& side() = 0;
    virtual Link& link() = 0;
    // Grid1: points (point-input) or zones (pulse-train); its tag holds the modified mark.
    virtual Grid& table() = 0;
    virtual ParameterTable& parameters() = 0;
    virtual Progress& progress() = 0;

    // Raised while the parameter grid is filled wholesale, so its change handling is silent.
    virtual void setBulkFill(bool on) = 0;
    virtual void setAngleCheckHold(bool on) = 0;

    // The quick-parameter boxes of the operation panel follow the parameter grid.
    virtual void refreshQuickBoxes() = 0;
    // The status bar's "Origin point shift: " panel, given parameter 35 in 0.01 degree.
    virtual void showOriginShift(const QString& hundredths) = 0;

    ControllerFacts controller;
};

}  // namespace kap
