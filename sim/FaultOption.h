// The --fault option of kap-sim: WORD:KIND[:ARG][:once].
#pragma once

#include "Controller.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace sim {

struct FaultOption {
    QByteArray word;
    Fault fault;
};

// WORD is a command word ("@?VER", the trailing blank may be left out), a record prefix
// ("P", "PRM", "Z"), BREAK (0x03) or EOD (0x1A); escapes \r \n \xHH are understood.
// KIND is noreply, refuse[:LINE], garbage:BYTES, cut:N or hangup[:N]. A final ":once"
// disarms the fault after it fired. On failure returns nothing and sets *error.
std::optional<FaultOption> parseFaultOption(const QString& text, QString* error);

// The KIND of a fault as the option names it: "noreply", "refuse", "garbage", "cut", "hangup".
const char* faultKindName(Fault::Kind kind);
// The chaos counts as "noreply 3, refuse 1, garbage 0, cut 2, hangup 1".
QString chaosSummary(const Controller& controller);

}  // namespace sim
