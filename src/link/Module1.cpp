#include "Module1.h"

#include "Ini.h"
#include "PortName.h"

#include <QCoreApplication>
#include <QDir>

namespace kap {

Module1& module1()
{
    // One per thread: the windows all live in the main thread and share it, as the busy flag
    // and the shared time-out need; a command-line session in a thread of its own gets its
    // own and never waits for another port's exchange.
    thread_local Module1 instance;
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
