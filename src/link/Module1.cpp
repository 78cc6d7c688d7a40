#include "Module1.h"

#include "Ini.h"

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
    controllerVersion.clear();
    busy_ = false;
}

int portNumber(const QString& portName)
{
    if (portName.size() < 4 || !portName.at(3).isDigit())
        return 0;
    return portName.at(3).digitValue();
}

bool StorePortNumber()
{
    return WriteIniValue(QString::number(portNumber(module1().portName)), QStringLiteral("COM"),
                         QStringLiteral("Data"), module1().iniPath());
}

}  // namespace kap
