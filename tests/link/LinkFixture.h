// A link on a real serial line in a clean program state, and one exchange through it.
#pragma once

#include "SimLine.h"
#include "link/Link.h"
#include "platform/QtSerialLine.h"

#include <gtest/gtest.h>

namespace kap::test {

class LinkFixture : public ::testing::Test {
public:  // table-driven tests act on the fixture from lambdas
    ScratchState clean;
    QtSerialLine serial;
    Link link{serial, clean, clean.replyTimeout};

    Outcome send(qint16 code, const QString& second = {}, float timeoutMs = 3000)
    {
        return link.exchange(code, second, timeoutMs);
    }
};

}  // namespace kap::test
