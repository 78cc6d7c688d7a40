// Whatever a reply holds: the reply-word test that ends a wait, the error line after "NG" or
// "STOP", the verdict, and the values read out of query replies.
#include "exchange/ExchangeSteps.h"
#include "exchange/Records.h"
#include "link/Link.h"
#include "session/Session.h"

#include <QString>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString reply = QString::fromLatin1(reinterpret_cast<const char*>(data), qsizetype(size));

    kap::hasReplyWord(reply);
    bool found = false;
    kap::errorLineOf(reply, &found);

    kap::Outcome outcome;
    outcome.reply = reply;
    outcome.verdict();

    using namespace kap::records;
    replyValue(reply);
    queryValue(reply);
    actuatorTypeOf(reply);
    isPreviousController(reply);
    versionLacksNoLimitMode(replyValue(reply));
    kap::ControllerFacts::versionFromReply(reply);
    return 0;
}
