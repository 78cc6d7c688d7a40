#include "platform/PortAssignments.h"

#include "platform/PortName.h"

#include <QCollator>
#include <QSerialPortInfo>
#include <QSettings>

#include <algorithm>
#include <memory>

namespace kap {

namespace {

const QString kGroup = QStringLiteral("Ports");

std::unique_ptr<QSettings> openSettings(const QString& iniPath)
{
    if (!iniPath.isEmpty())
        return std::make_unique<QSettings>(iniPath, QSettings::IniFormat);
    // Named here rather than taken from the application object, so every program of the
    // tool (and every test of it) agrees on the place.
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QStringLiteral("KAP"),
                                       QStringLiteral("KAP Support-Software"));
}

}  // namespace

SerialDeviceSource::~SerialDeviceSource() = default;

QList<SerialDeviceInfo> SystemSerialDevices::devices() const
{
    QList<SerialDeviceInfo> found;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        found.append(
            {info.systemLocation(), info.description(), info.manufacturer(), info.serialNumber()});
    }
    sortDevices(found);
    return found;
}

void sortDevices(QList<SerialDeviceInfo>& devices)
{
    QCollator collator;
    collator.setNumericMode(true);
    std::stable_sort(devices.begin(), devices.end(),
                     [&collator](const SerialDeviceInfo& a, const SerialDeviceInfo& b) {
                         return collator.compare(a.path, b.path) < 0;
                     });
}

QString defaultDevicePath(int number)
{
#ifdef Q_OS_WIN
    return ports::nameOf(number);
#else
    return QStringLiteral("/dev/ttyS") + QString::number(number - 1);
#endif
}

QString environmentDevicePath(int number)
{
    return QString::fromLocal8Bit(qgetenv("KAP_COM" + QByteArray::number(number)));
}

PortDevice portDeviceFor(const QString& portName)
{
    const std::optional<int> number = ports::numberOf(portName);
    if (!number)
        return {};
    // The environment first: it is read without touching the user's settings.
    if (QString path = environmentDevicePath(*number); !path.isEmpty())
        return {path, DeviceOrigin::Environment};
    if (QString path = portAssignments().deviceOf(*number); !path.isEmpty())
        return {path, DeviceOrigin::Assigned};
    return {defaultDevicePath(*number), DeviceOrigin::Default};
}

QString devicePathFor(const QString& portName)
{
    return portDeviceFor(portName).path;
}

QString PortAssignments::deviceOf(int number) const
{
    load();
    return devices_.value(number);
}

bool PortAssignments::assign(int number, const QString& device)
{
    if (number < ports::kFirstPort || number > ports::kLastPort)
        return false;
    load();
    const QString key = kGroup + QLatin1Char('/') + ports::nameOf(number);
    const std::unique_ptr<QSettings> settings = openSettings(iniPath_);
    if (device.isEmpty()) {
        devices_.remove(number);
        settings->remove(key);
    } else {
        devices_.insert(number, device);
        settings->setValue(key, device);
    }
    settings->sync();
    return settings->status() == QSettings::NoError;
}

void PortAssignments::useFile(const QString& iniPath)
{
    iniPath_ = iniPath;
    loaded_ = false;
    devices_.clear();
}

QString PortAssignments::fileName() const
{
    return openSettings(iniPath_)->fileName();
}

void PortAssignments::load() const
{
    if (loaded_)
        return;
    loaded_ = true;
    const std::unique_ptr<QSettings> settings = openSettings(iniPath_);
    settings->beginGroup(kGroup);
    // Keys other than COM1..COM8 and empty values are someone's hand edits: ignored.
    for (const QString& key : settings->childKeys()) {
        const std::optional<int> number = ports::numberOf(key);
        const QString device = settings->value(key).toString().trimmed();
        if (number && !device.isEmpty())
            devices_.insert(*number, device);
    }
}

PortAssignments& portAssignments()
{
    static PortAssignments store;
    return store;
}

}  // namespace kap
