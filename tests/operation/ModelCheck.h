// One seeded run of random use against the simulator, with the invariants checked after
// every step (see Invariants.h).
#pragma once

#include <QStringList>

namespace kap::test {

struct ModelReport {
    QStringList breaches;  // with the step at which each was found
    int actionsTaken = 0;  // clicks the window took (offered ones)
};

ModelReport runModel(quint32 seed, int steps);

}  // namespace kap::test
