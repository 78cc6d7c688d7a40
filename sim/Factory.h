// The controller's factory parameter set for each actuator type and family.
#pragma once

#include <QByteArray>
#include <QVector>

namespace sim {

inline constexpr int kParameterCount = 64;

// 50 and 60 to 66.
bool isActuatorType(int type);

// Parameters 0 to 63 as text. Parameter 0 is `type`, parameter 13 the family (0 point-input,
// 1 pulse-train). A type the controller does not know keeps its number in parameter 0 and
// otherwise takes the values of type 61, so a mismatched controller can be simulated.
// Parameter 6 is 1 on a previous-generation controller (where it applies), else 0.
QVector<QByteArray> factoryParameters(int family, int type, bool previousController);

}  // namespace sim
