// The serial line as the link sees it: opened by port name for one transaction, written,
// read as bytes arrive, closed again.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

namespace kap {

class SerialLine : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~SerialLine() override;

    // portName is "COM1" to "COM8". False when the device is missing, busy or not permitted,
    // or the server behind a network address cannot be reached.
    virtual bool open(const QString& portName) = 0;
    // Starts opening without waiting: a line that must first connect answers Pending and
    // tells the end with openFinished. A line that opens at once needs no override.
    enum class OpenStart { Opened, Failed, Pending };
    virtual OpenStart beginOpen(const QString& portName)
    {
        return open(portName) ? OpenStart::Opened : OpenStart::Failed;
    }
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    virtual bool write(const QByteArray& bytes) = 0;
    // Everything that has arrived and not been read yet.
    virtual QByteArray readAvailable() = 0;
    // Drops whatever waits in the receive and the transmit buffer.
    virtual void discardBuffers() = 0;
    // Drops only what has arrived: a line still on its way out is kept.
    virtual void discardInput() = 0;
    // Why the last open failed, for diagnostics.
    virtual QString errorString() const = 0;
    // The device open(portName) opens, for logs; empty when the line does not know one.
    virtual QString deviceFor(const QString& portName) const
    {
        Q_UNUSED(portName);
        return {};
    }

    // Every wait of the line's own (connecting, an idle connection's end) is multiplied by
    // this, as the link's waits are; tests shorten them with it.
    virtual void setTimeScale(double scale) { Q_UNUSED(scale); }

signals:
    // The end of an open that beginOpen left Pending; errorString() tells why it failed.
    void openFinished(bool opened);
    void bytesArrived();
    // The open device went away or failed (a USB adapter pulled, the peer hung up).
    void lineLost();
};

}  // namespace kap
