// Number texts from cells, files and the controller: the strict reader and every formatter,
// on the text itself and on the double it reads as, with a few counts of decimals. The bits of
// the first eight bytes are also taken as a double, to reach infinities, NaN and subnormals.
#include "data/Numbers.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace kap::numbers;
    const char* bytes = reinterpret_cast<const char*>(data);
    const QString text = QString::fromUtf8(bytes, qsizetype(size));
    const int counts[] = {-1, 0, 1, 2, 3, 17};

    static_cast<void>(isNumber(text));  // run for what it may trip over, not for the answer
    format2(text);
    roundHalfEven(text);
    plainNumber(text);
    for (const int decimals : counts)
        formatFixed(text, decimals);
    if (const auto value = readNumber(text)) {
        format2(*value);
        shortestDecimal(*value);
        for (const int decimals : counts)
            formatFixed(*value, decimals);
    }
    if (size >= sizeof(double)) {
        double bits;
        std::memcpy(&bits, bytes, sizeof bits);
        format2(bits);
        shortestDecimal(bits);
        for (const int decimals : counts)
            formatFixed(bits, decimals);
    }
    return 0;
}
