// Which family a controller is, asked as the start-up window asks it: "@?PRM " 13 through a
// start-up link, the first character of the answer "0" point-input, "1" pulse-train. Done
// on the bare serial line, before there is a session: the session is made for the family.
#pragma once

#include "ActuatorTypes.h"

#include <QString>

namespace kap {
class ProgramState;
class SerialLine;
}

namespace kap::cli {

struct FamilyAnswer {
    enum class Status {
        Known,       // family holds the answer
        Unknown,     // the controller answered something else (answer)
        Silent,      // no reply in time
        PortFailed,  // the port did not open, or was lost (reason)
    };
    Status status = Status::Silent;
    Family family = Family::PointInput;
    QString answer;  // the reply's value
    QString reason;
};

// state: the port name the link logs; timeScale shortens the reply window as the session's
// time scale does.
FamilyAnswer QueryFamily(SerialLine& line, ProgramState& state, double timeScale = 1.0);

}  // namespace kap::cli
