// The link tests' fixture: the support rig's link on a real serial line.
#pragma once

#include "SessionRig.h"

namespace kap::test {

using LinkFixture = RigTest<LinkRig>;

}  // namespace kap::test
