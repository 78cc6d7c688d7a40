// SerialLine on QSerialPort: 9600 baud, odd parity, 8 data bits, 1 stop bit, no flow control.
//
// "COM1" to "COM8" are used as they are on Windows. Elsewhere they stand for /dev/ttyS0 to
// /dev/ttyS7, unless the environment variable KAP_COM1 .. KAP_COM8 names another device
// (a USB adapter such as /dev/ttyUSB0, or the simulator's pseudo-terminal).
#pragma once

#include "SerialLine.h"

#include <QSerialPort>

#include <memory>

namespace kap {

// The device a port name stands for on this machine; empty for a name that is not COM1..COM8.
QString devicePathFor(const QString& portName);

class QtSerialLine : public SerialLine {
    Q_OBJECT
public:
    explicit QtSerialLine(QObject* parent = nullptr);
    ~QtSerialLine() override;

    bool open(const QString& portName) override;
    void close() override;
    bool isOpen() const override;
    bool write(const QByteArray& bytes) override;
    QByteArray readAvailable() override;
    void discardBuffers() override;
    void discardInput() override;
    QString errorString() const override { return error_; }

    // The port of the current (or last) transaction, for checking its line settings where a
    // pty ignores them; null before the first open.
    const QSerialPort* port() const { return port_.get(); }

private:
    // A fresh QSerialPort per open: reopening one object on a pty fails once it has
    // restored its saved settings on close.
    std::unique_ptr<QSerialPort> port_;
    QString error_;
};

}  // namespace kap
