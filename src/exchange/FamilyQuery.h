// Which family a controller is: "@?PRM " 13 through a start-up link, the first character of
// the answer "0" point-input, "1" pulse-train. Asked before there is a session, since the
// session is made for the family: by the start-up window and by kap-cli.
#pragma once

#include "data/ActuatorTypes.h"

#include <QString>

namespace kap {
class Link;
class ProgramState;
class SerialLine;
}  // namespace kap

namespace kap::exchange {

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

// The reply time-out of the family query, in milliseconds.
inline constexpr float kFamilyQueryTimeoutMs = 2000.0f;

// The query through a start-up link, whose reply time-out it leaves at kFamilyQueryTimeoutMs.
FamilyAnswer queryFamily(Link& link);
// The same on a bare line, through a start-up link of its own; state: the port name the link
// logs; timeScale shortens the reply window as the session's time scale does.
FamilyAnswer queryFamily(SerialLine& line, ProgramState& state, double timeScale = 1.0);

}  // namespace kap::exchange
