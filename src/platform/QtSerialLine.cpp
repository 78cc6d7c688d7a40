#include "platform/QtSerialLine.h"

#include "platform/NetworkSerialLine.h"

#include <QFile>
#include <QPointer>

#include <cerrno>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace kap {

namespace {

QString lowerFirst(QString text)
{
    if (!text.isEmpty())
        text[0] = text[0].toLower();
    return text;
}

// The file QSerialPort opens for a device name: a bare "ttyUSB0" is looked for in /dev.
QString systemPath(const QString& device)
{
#ifdef Q_OS_UNIX
    if (!device.startsWith(QLatin1Char('/')))
        return QStringLiteral("/dev/") + device;
#endif
    return device;
}

}  // namespace

QString openFailureReason(const QString& device, QSerialPort::SerialPortError error, int savedErrno,
                          const QString& portError)
{
    if (savedErrno == EACCES || savedErrno == EPERM) {
        return QtSerialLine::tr(
                   "%1: permission denied. Add your user to the dialout group, then log "
                   "in again.")
            .arg(device);
    }
    // QSerialPort refuses with PermissionError and no such errno when another program holds
    // the device's lock file.
    if (savedErrno == EBUSY || error == QSerialPort::PermissionError)
        return QtSerialLine::tr("%1: in use by another program").arg(device);
    // EIO: a built-in port node without a UART behind it, or an adapter that failed.
    if (savedErrno == ENOENT || savedErrno == ENODEV || savedErrno == ENXIO || savedErrno == EIO
        || error == QSerialPort::DeviceNotFoundError)
        return QtSerialLine::tr("%1: no such device").arg(device);
    // Opened, but the line settings cannot be applied: a file or a device that is no terminal.
    if (savedErrno == ENOTTY)
        return QtSerialLine::tr("%1: not a serial port").arg(device);
    const QString why = savedErrno != 0 ? qt_error_string(savedErrno) : portError;
    return device + QStringLiteral(": ") + lowerFirst(why);
}

QtSerialLine::QtSerialLine(QObject* parent) : SerialLine(parent) {}

QtSerialLine::~QtSerialLine()
{
    close();
}

QString QtSerialLine::errorString() const
{
    return onNetwork_ ? network_->errorString() : error_;
}

void QtSerialLine::setTimeScale(double scale)
{
    timeScale_ = scale;
    if (network_)
        network_->setTimeScale(scale);
}

std::unique_ptr<QtSerialLine> QtSerialLine::forDevice(const QString& device)
{
    auto line = std::make_unique<QtSerialLine>();
    line->fixedDevice_ = device;
    return line;
}

void QtSerialLine::prepareNetwork()
{
    if (!network_) {
        network_ = std::make_unique<NetworkSerialLine>();
        connect(network_.get(), &SerialLine::bytesArrived, this, &SerialLine::bytesArrived);
        connect(network_.get(), &SerialLine::lineLost, this, &SerialLine::lineLost);
        connect(network_.get(), &SerialLine::openFinished, this, &SerialLine::openFinished);
    }
    network_->setTimeScale(timeScale_);
}

SerialLine::OpenStart QtSerialLine::beginOpen(const QString& portName)
{
    const QString device = deviceFor(portName);
    if (device.isEmpty() || !looksLikeNetworkAddress(device))
        return open(portName) ? OpenStart::Opened : OpenStart::Failed;
    close();
    onNetwork_ = true;
    prepareNetwork();
    return network_->beginOpen(device);
}

QString QtSerialLine::deviceFor(const QString& portName) const
{
    return fixedDevice_.isEmpty() ? devicePathFor(portName) : fixedDevice_;
}

bool QtSerialLine::open(const QString& portName)
{
    close();
    const QString device = deviceFor(portName);
    if (device.isEmpty()) {
        error_ = tr("no device for %1").arg(portName);
        return false;
    }
    // A network address, also a malformed one: it is never taken for a file.
    onNetwork_ = looksLikeNetworkAddress(device);
    if (onNetwork_) {
        prepareNetwork();
        const QPointer<QtSerialLine> self(this);
        const bool opened = network_->open(device);
        if (!self)
            return false;  // its owner went away while it connected
        error_ = opened ? QString() : network_->errorString();
        return opened;
    }
    if (network_)
        network_->disconnectNow();  // the port was moved off the network
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
    errno = 0;
    const bool opened = port->open(QIODevice::ReadWrite);
    int savedErrno = errno;
    if (!opened) {
        const QString path = systemPath(device);
#ifdef Q_OS_UNIX
        // A lock file held by another user's program leaves EPERM or EACCES behind (from
        // looking at that program), yet the device itself is open to us: that is "in use".
        if (port->error() == QSerialPort::PermissionError
            && (savedErrno == EACCES || savedErrno == EPERM)
            && ::access(QFile::encodeName(path).constData(), R_OK | W_OK) == 0)
            savedErrno = EBUSY;
#endif
        error_ = openFailureReason(path, port->error(), savedErrno, port->errorString());
        return false;
    }
    error_.clear();
    return true;
}

void QtSerialLine::close()
{
    if (onNetwork_)
        network_->close();
    if (port_ && port_->isOpen())
        port_->close();
}

bool QtSerialLine::isOpen() const
{
    if (onNetwork_)
        return network_->isOpen();
    return port_ && port_->isOpen();
}

bool QtSerialLine::write(const QByteArray& bytes)
{
    if (onNetwork_)
        return network_->write(bytes);
    if (!isOpen())
        return false;
    const bool queued = port_->write(bytes) == bytes.size();
    // Out now rather than at the next pass of the event loop: a stop character must not wait.
    port_->flush();
    return queued;
}

QByteArray QtSerialLine::readAvailable()
{
    if (onNetwork_)
        return network_->readAvailable();
    return isOpen() ? port_->readAll() : QByteArray();
}

void QtSerialLine::discardInput()
{
    if (onNetwork_) {
        network_->discardInput();
        return;
    }
    if (!isOpen())
        return;
    port_->clear(QSerialPort::Input);
    port_->readAll();
}

void QtSerialLine::discardBuffers()
{
    if (onNetwork_) {
        network_->discardBuffers();
        return;
    }
    if (!isOpen())
        return;
    port_->clear(QSerialPort::AllDirections);
    port_->readAll();  // bytes QSerialPort had already taken in
}

}  // namespace kap
