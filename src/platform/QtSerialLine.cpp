#include "QtSerialLine.h"

#include "PortName.h"

namespace kap {

QString devicePathFor(const QString& portName)
{
    const std::optional<int> number = ports::numberOf(portName);
    if (!number)
        return {};
    const QByteArray override = qgetenv("KAP_COM" + QByteArray::number(*number));
    if (!override.isEmpty())
        return QString::fromLocal8Bit(override);
#ifdef Q_OS_WIN
    return portName;
#else
    return QStringLiteral("/dev/ttyS") + QString::number(*number - 1);
#endif
}

namespace {

QString openFailureKind(QSerialPort::SerialPortError error)
{
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        return QStringLiteral("missing");
    case QSerialPort::PermissionError:
        return QStringLiteral("busy or not permitted");
    case QSerialPort::OpenError:
        return QStringLiteral("already open");
    case QSerialPort::UnsupportedOperationError:
        return QStringLiteral("settings not supported");
    default:
        return QStringLiteral("cannot open");
    }
}

}  // namespace

QtSerialLine::QtSerialLine(QObject* parent) : SerialLine(parent) {}

QtSerialLine::~QtSerialLine()
{
    close();
}

bool QtSerialLine::open(const QString& portName)
{
    close();
    const QString device = devicePathFor(portName);
    if (device.isEmpty()) {
        error_ = QStringLiteral("no device for %1").arg(portName);
        return false;
    }
    port_ = std::make_unique<QSerialPort>();
    QSerialPort* port = port_.get();
    connect(port, &QSerialPort::readyRead, this, &SerialLine::bytesArrived);
    connect(port, &QSerialPort::errorOccurred, this, [this, port](QSerialPort::SerialPortError e) {
        // A device that went away shows as a read, write or resource error (a pty whose peer
        // hung up gives ReadError). A refused modem-line call is no reason to drop the line.
        const bool lost = e == QSerialPort::ResourceError || e == QSerialPort::ReadError
                          || e == QSerialPort::WriteError;
        if (lost && port->isOpen())
            emit lineLost();
    });
    port->setPortName(device);
    port->setBaudRate(QSerialPort::Baud9600);
    port->setDataBits(QSerialPort::Data8);
    port->setParity(QSerialPort::OddParity);
    port->setStopBits(QSerialPort::OneStop);
    port->setFlowControl(QSerialPort::NoFlowControl);
    if (!port->open(QIODevice::ReadWrite)) {
        error_ = QStringLiteral("%1 (%2): %3: %4")
                     .arg(portName, device, openFailureKind(port->error()), port->errorString());
        return false;
    }
    error_.clear();
    return true;
}

void QtSerialLine::close()
{
    if (port_ && port_->isOpen())
        port_->close();
}

bool QtSerialLine::isOpen() const
{
    return port_ && port_->isOpen();
}

bool QtSerialLine::write(const QByteArray& bytes)
{
    if (!isOpen())
        return false;
    const bool queued = port_->write(bytes) == bytes.size();
    // Out now rather than at the next pass of the event loop: a stop character must not wait.
    port_->flush();
    return queued;
}

QByteArray QtSerialLine::readAvailable()
{
    return isOpen() ? port_->readAll() : QByteArray();
}

void QtSerialLine::discardInput()
{
    if (!isOpen())
        return;
    port_->clear(QSerialPort::Input);
    port_->readAll();
}

void QtSerialLine::discardBuffers()
{
    if (!isOpen())
        return;
    port_->clear(QSerialPort::AllDirections);
    port_->readAll();  // bytes QSerialPort had already taken in
}

}  // namespace kap
