#include "Module1.h"

#include "Ini.h"
#include "PortName.h"

#include <QCoreApplication>
#include <QDir>

namespace kap {

Module1& module1()
{
    static Module1 instance;
    return instance;
}

QString Module1::iniPath() const
{
    const QString folder = programFolder.isEmpty() ? QCoreApplication::applicationDirPath()
                                                   : programFolder;
    return QDir(folder).filePath(QStringLiteral("TALOR.ini"));
}

void Module1::reset()
{
    portName = QStringLiteral("COM1");
    replyTimeout.set(3000.0f);
    busy_ = false;
}

QString ReadPortName()
{
    return ports::fromSettingsValue(
        ReadIniValue(QStringLiteral("COM"), QStringLiteral("Data"), module1().iniPath()));
}

bool StorePortNumber()
{
    return WriteIniValue(ports::settingsValueOf(module1().portName), QStringLiteral("COM"),
                         QStringLiteral("Data"), module1().iniPath());
}

}  // namespace kap
