// The drive panel and teaching under random use. Each seed drives a real session against the
// simulator with a sequence of clicks, mode changes, data commands and controller faults at
// random moments (inside waits and boxes too), and checks after every step:
//   I1  no motion command outside its mode or after Stop (MotionWatch);
//   I2  after Stop, a jog release or the STOP dialog the actuator stands still soon, or the
//       user has been shown a box;
//   I3  every failed exchange is shown, or falls inside the silence of the running operation;
//   I4  every reply is read by the exchange whose command caused it;
//   I5  some control leads back to Setting mode, or an operation runs that ends by itself.
#include "ModelCheck.h"

#include <gtest/gtest.h>

using namespace kap::test;

namespace {

// Seeds that found faults while this test was written (a monitor cycle or a refresh that
// dropped its own failure when a user operation overtook it; a Stop's silence seen too
// early); then the plain run of seeds.
const quint32 kKeptSeeds[] = {2, 73, 132};

// 200 seeds in CI; KAP_MODEL_SEEDS=N runs seeds 1 to N for a longer search.
quint32 seedCount()
{
    bool ok = false;
    const quint32 n = qEnvironmentVariable("KAP_MODEL_SEEDS").toUInt(&ok);
    return ok && n > 0 ? n : 200;
}

class ModelTest : public ::testing::TestWithParam<quint32> {};

}  // namespace

TEST_P(ModelTest, InvariantsHoldUnderRandomUse)
{
    const ModelReport report = runModel(GetParam(), 10);
    EXPECT_TRUE(report.breaches.isEmpty())
        << "seed " << GetParam() << ", " << report.breaches.join("\n").toStdString();
    EXPECT_GT(report.actionsTaken, 0) << "seed " << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Kept, ModelTest, ::testing::ValuesIn(kKeptSeeds));
INSTANTIATE_TEST_SUITE_P(Seeds, ModelTest, ::testing::Range(quint32(1), seedCount() + 1));
