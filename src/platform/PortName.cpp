#include "platform/PortName.h"

namespace kap::ports {

std::optional<int> numberOf(const QString& name)
{
    if (name.size() != 4 || !name.startsWith(QLatin1String("COM")))
        return std::nullopt;
    const QChar digit = name.at(3);
    if (digit < QLatin1Char('0' + kFirstPort) || digit > QLatin1Char('0' + kLastPort))
        return std::nullopt;
    return digit.digitValue();
}

QString nameOf(int number)
{
    return QStringLiteral("COM%1").arg(number);
}

QString usableOrFirst(const QString& name)
{
    return numberOf(name) ? name : nameOf(kFirstPort);
}

QString fromSettingsValue(const QString& value)
{
    return usableOrFirst(QStringLiteral("COM") + value.trimmed());
}

QString settingsValueOf(const QString& name)
{
    return QString::number(numberOf(name).value_or(kFirstPort));
}

}  // namespace kap::ports
