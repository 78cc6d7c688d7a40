// Which device each of "COM1" to "COM8" stands for on this machine.
//
// In this order: the environment variable KAP_COM1 .. KAP_COM8 (for the simulator and for
// scripts), then the device the user assigned to the port in the port dialog, then the
// default: the name itself on Windows, /dev/ttyS0 to /dev/ttyS7 elsewhere.
//
// Assignments belong to the user, not to the program folder: they live in the user's own
// settings (organisation "KAP", application "KAP Support-Software"; on Linux
// ~/.config/KAP/KAP Support-Software.conf), group "Ports", key "COM4" = "/dev/ttyUSB0".
#pragma once

#include <QList>
#include <QMap>
#include <QString>

namespace kap {

// A serial device the system offers.
struct SerialDeviceInfo {
    QString path;  // what QSerialPort opens: /dev/ttyUSB0, or COM3 on Windows
    QString description;
    QString manufacturer;
    QString serialNumber;

    friend bool operator==(const SerialDeviceInfo&, const SerialDeviceInfo&) = default;
};

class SerialDeviceSource {
public:
    virtual ~SerialDeviceSource();
    virtual QList<SerialDeviceInfo> devices() const = 0;
};

// The devices QSerialPortInfo finds.
class SystemSerialDevices : public SerialDeviceSource {
public:
    QList<SerialDeviceInfo> devices() const override;
};

// The devices in the order the port dialog lists them: by path, ttyS2 before ttyS10.
void sortDevices(QList<SerialDeviceInfo>& devices);

enum class DeviceOrigin { Environment, Assigned, Default };

struct PortDevice {
    QString path;  // empty for a name that is not COM1..COM8
    DeviceOrigin origin = DeviceOrigin::Default;
};

// The device of port number 1 to 8 when nothing else is set.
QString defaultDevicePath(int number);
// The device of the environment variable KAP_COMn; empty when unset.
QString environmentDevicePath(int number);
// The device a port name stands for and where that comes from.
PortDevice portDeviceFor(const QString& portName);
// portDeviceFor(portName).path.
QString devicePathFor(const QString& portName);

// The user's assignments, read once on first use and kept in memory, so that opening a port
// does not read a file.
class PortAssignments {
public:
    // The assigned device of port number 1 to 8; empty when none.
    QString deviceOf(int number) const;
    // Assigns device to port number 1 to 8, in memory and in the settings; an empty device
    // removes the assignment. False when the settings could not be written: the assignment
    // then holds for this run only.
    bool assign(int number, const QString& device);

    // Keeps the assignments in this INI file instead of the user's settings (tests); an empty
    // path goes back to the user's settings. What was loaded is dropped.
    void useFile(const QString& iniPath);
    QString fileName() const;

private:
    void load() const;

    QString iniPath_;
    mutable bool loaded_ = false;
    mutable QMap<int, QString> devices_;
};

// The one store of the program.
PortAssignments& portAssignments();

}  // namespace kap
