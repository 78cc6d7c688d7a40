// The settings file as the program reads it at start: the input is written to a file of its
// own (the reader takes a path) and the port entry and a few others are looked up.
#include "platform/Ini.h"

#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

QString iniPath()
{
    static QTemporaryDir dir;
    if (!dir.isValid())
        std::abort();
    return dir.filePath(QStringLiteral("TALOR.ini"));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = iniPath();
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        f.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    kap::ReadIniValue(QStringLiteral("COM"), QStringLiteral("Data"), path);
    kap::ReadIniValue(QStringLiteral(" com "), QStringLiteral("data"), path);
    kap::ReadIniValue(QStringLiteral("Long"), QStringLiteral("Data"), path);
    return 0;
}
