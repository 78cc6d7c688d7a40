// SerialLine on QSerialPort: 9600 baud, odd parity, 8 data bits, 1 stop bit, no flow control.
//
// "COM1" to "COM8" open the device PortAssignments.h gives for them (/dev/ttyS0 to
// /dev/ttyS7 unless the user or KAP_COMn named another one). A port assigned a network
// address ("rfc2217://HOST:PORT", "tcp://HOST:PORT") goes through a NetworkSerialLine instead.
#pragma once

#include "platform/PortAssignments.h"
#include "platform/SerialLine.h"

#include <QSerialPort>

#include <memory>

namespace kap {

// Why device could not be opened, in words a user can act on. error and portError are what
// QSerialPort reported, savedErrno the errno its open left behind (0 when it set none).
QString openFailureReason(const QString& device, QSerialPort::SerialPortError error, int savedErrno,
                          const QString& portError = {});

class NetworkSerialLine;

class QtSerialLine : public SerialLine {
    Q_OBJECT
public:
    explicit QtSerialLine(QObject* parent = nullptr);
    // A line that opens this device whatever port name it is asked for (the command line's
    // --port /dev/ttyUSB0).
    static std::unique_ptr<QtSerialLine> forDevice(const QString& device);
    ~QtSerialLine() override;

    bool open(const QString& portName) override;
    // A network port connects without waiting here; a local one opens at once.
    OpenStart beginOpen(const QString& portName) override;
    QString deviceFor(const QString& portName) const override;
    void close() override;
    bool isOpen() const override;
    bool write(const QByteArray& bytes) override;
    QByteArray readAvailable() override;
    void discardBuffers() override;
    void discardInput() override;
    // After a failed open: the reason, as openFailureReason gives it; on a network port also
    // why its connection went.
    QString errorString() const override;
    void setTimeScale(double scale) override;

    // The port of the current (or last) transaction, for checking its line settings where a
    // pty ignores them; null before the first open.
    const QSerialPort* port() const { return port_.get(); }
    // The line of a port on a network address, while the port is on one; null otherwise.
    const NetworkSerialLine* network() const { return onNetwork_ ? network_.get() : nullptr; }

private:
    // The network line, made on first use, with this line's signals and time scale.
    void prepareNetwork();

    QString fixedDevice_;  // set by forDevice
    // A fresh QSerialPort per open: reopening one object on a pty fails once it has
    // restored its saved settings on close.
    std::unique_ptr<QSerialPort> port_;
    QString error_;
    // The line of a port assigned a network address, kept while the port stays on it.
    std::unique_ptr<NetworkSerialLine> network_;
    bool onNetwork_ = false;
    double timeScale_ = 1.0;
};

}  // namespace kap
