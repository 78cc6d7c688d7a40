// The drive panel's readers of controller replies: the "@READ DIO " reply into the lamps, in
// both layouts, and the "@?POS " reply into the shown angle and the teaching value. Replies
// are read as Latin-1, as the link reads them, so the sign byte 0xA5 arrives as U+00A5.
#include "operation/Drive.h"
#include "operation/IoMonitor.h"
#include "session/PanelState.h"

#include <QString>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace kap::operation;
    const QString reply = QString::fromLatin1(reinterpret_cast<const char*>(data), qsizetype(size));

    for (const DioLayout layout : {DioLayout::Long, DioLayout::Short}) {
        kap::PanelState panel;
        applyDioReply(reply, layout, panel);
    }
    shownAngle(reply);
    leadingNumber(reply);
    teachingValueOf(reply);
    return 0;
}
