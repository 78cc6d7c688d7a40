// A setting file as it is opened, read as a file of either family: the field reader and the
// code page.
#include "files/SettingFile.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    // Run for what they may trip over, not for the answer.
    static_cast<void>(kap::settingfile::decode(bytes, kap::Family::PointInput));
    static_cast<void>(kap::settingfile::decode(bytes, kap::Family::PulseTrain));
    kap::settingfile::fromCodePage(bytes);
    return 0;
}
