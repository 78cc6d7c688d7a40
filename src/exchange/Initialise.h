// Initialise data and change the origin, from the Init sub-menu ("Point" / "Zones",
// "Parameters", "ORG"), "Changing Origin" and the tool-bar buttons "Init(Point)" /
// "Init(Zone)" and "Changing_Origin". The grids change only after the controller answered
// "OK"; a time-out or a refusal leaves them as they were. A refused initialisation shows its
// box, titled as the operation, with the controller's reply.
#pragma once

#include "exchange/ExchangeSteps.h"
#include "session/Session.h"

#include <QString>

#include <functional>
#include <optional>

namespace kap::exchange {

// The actuator type dialog (ActuatorTypeDialog) as the parameter initialisation sees it: the window
// offers one over the dialog, the tests a scripted one.
class TypeChooser {
public:
    virtual ~TypeChooser() = default;
    // current: the controller's own type, preselected when it is one of the dialog's options
    // (empty: the dialog's default). withoutMova: the dialog leaves out its MOVA frame
    // (Frame2). The chosen type number as text ("50"), or nothing after Cancel.
    virtual std::optional<QString> chooseType(const QString& current, bool withoutMova) = 0;
};

// The save question ("Do you save data?") the window asks while its data is marked modified,
// and the save it leads to; false when the command is to end there (Cancel, or a save that
// did not complete). The window hands in its own; this layer knows no files.
using SaveQuestion = std::function<bool()>;

// mnuToolsIniPo: erases the controller's point table ("@INIT PNT ", point-input window) or
// zone table ("@INIT ZON ", pulse-train window), then empties every row of the grid.
// Declined: No to the confirmation, or the save question ended the command (Cancel, or a
// save that did not complete); nothing was sent then.
Result InitTable(Session& session, const SaveQuestion& askToSave);

// mnuToolsIniPa: reads the controller's version and I/O layout (point-input window) and its
// actuator type, lets the user choose a type, sends "@INIT PRM " with it and fills the grid
// with that type's factory values; then offers to switch the controller to English
// (parameter 22). Declined also for Cancel in the type dialog (nothing sent). Done once the
// parameters are initialised and the language question is answered No or written; a failed
// language write returns its own Result.
Result InitParameters(Session& session, TypeChooser& chooser, const SaveQuestion& askToSave);

// mnuToolsIniORG: "@INIT ORG ". Ignored (Declined, nothing asked) while a motion runs.
Result InitOrigin(Session& session);
// mnuToolsC_Org: "@ORGC ", the present position becomes the origin. Ignored (Declined,
// nothing asked) while a motion runs.
Result ChangeOrigin(Session& session);

}  // namespace kap::exchange
