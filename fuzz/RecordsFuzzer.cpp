// A read reply as it comes off the line: taken apart into records, then searched the way the
// receive operations search it.
#include "exchange/Records.h"

#include <QString>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString reply = QString::fromLatin1(reinterpret_cast<const char*>(data), qsizetype(size));
    using namespace kap::records;
    if (const auto records = readRecords(reply)) {
        for (const int n : {0, 1, 3, 10, 63, 64}) {
            findPointRecord(*records, n);
            findZoneRecord(*records, n);
        }
        parameterValues(*records);
    }
    for (const int n : {0, 1, 21, 63})
        parameterByName(reply, n);
    return 0;
}
