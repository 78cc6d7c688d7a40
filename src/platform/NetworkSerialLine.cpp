#include "platform/NetworkSerialLine.h"

#include <QEventLoop>
#include <QPointer>
#include <QTcpSocket>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <utility>

#ifdef Q_OS_UNIX
#include <sys/socket.h>
#endif

namespace kap {

namespace {

// Telnet
constexpr quint8 IAC = 255;
constexpr quint8 DONT = 254;
constexpr quint8 DO = 253;
constexpr quint8 WONT = 252;
constexpr quint8 WILL = 251;
constexpr quint8 SB = 250;
constexpr quint8 SE = 240;
constexpr quint8 kBinary = 0;
constexpr quint8 kSuppressGoAhead = 3;
constexpr quint8 kComPort = 44;

// Com Port Control commands; the server answers each with the command + 100.
constexpr quint8 kSetBaudRate = 1;
constexpr quint8 kPurgeData = 12;
constexpr quint8 kServerOffset = 100;
constexpr quint8 kPurgeReceiveBuffer = 1;

// What the line needs, in the order of the commands SET-BAUDRATE to SET-CONTROL.
constexpr quint32 kWanted[] = {9600, 8, 2 /* odd */, 1 /* one stop bit */, 1 /* no flow control */};

QString settingText(int setting, quint32 value)
{
    switch (setting) {
    case 0:
        return NetworkSerialLine::tr("server set %1 baud").arg(value);
    case 1:
        return NetworkSerialLine::tr("server set %1 data bits").arg(value);
    case 2: {
        static const char* const names[] = {"no", "odd", "even", "mark", "space"};
        const QString name = value >= 1 && value <= 5 ? QString::fromLatin1(names[value - 1])
                                                      : QString::number(value);
        return NetworkSerialLine::tr("server set %1 parity").arg(name);
    }
    case 3: {
        const QString bits = value == 3 ? QStringLiteral("1.5") : QString::number(value);
        return NetworkSerialLine::tr("server set %1 stop bits").arg(bits);
    }
    default: {
        const QString how = value == 2   ? QStringLiteral("XON/XOFF")
                            : value == 3 ? QStringLiteral("hardware")
                                         : QString::number(value);
        return NetworkSerialLine::tr("server set %1 flow control").arg(how);
    }
    }
}

QByteArray doubledIac(const QByteArray& bytes)
{
    if (!bytes.contains(char(IAC)))
        return bytes;
    QByteArray out;
    out.reserve(bytes.size() + 8);
    for (char c : bytes) {
        out += c;
        if (quint8(c) == IAC)
            out += c;
    }
    return out;
}

}  // namespace

NetworkSerialLine::NetworkSerialLine(QObject* parent) : SerialLine(parent)
{
    idleTimer_.setSingleShot(true);
    connectTimer_.setSingleShot(true);
    connect(&idleTimer_, &QTimer::timeout, this, [this] {
        if (!inUse_)
            disconnectNow();
    });
    connect(&connectTimer_, &QTimer::timeout, this, [this] {
        if (!hangUp_.isEmpty())
            fail(hangUp_);
        else if (phase_ == Phase::Negotiating)
            fail(tr("server did not answer the RFC 2217 negotiation"));
        else
            fail(tr("connection timed out"));
    });
    retryTimer_.setSingleShot(true);
    connect(&retryTimer_, &QTimer::timeout, this, [this] {
        if (phase_ == Phase::Connecting && !socket_)
            startConnecting();
    });
}

NetworkSerialLine::~NetworkSerialLine()
{
    if (waiting_)
        waiting_->quit();
    openPending_ = false;  // nobody is told any more
    disconnectNow();
}

int NetworkSerialLine::scaled(int ms) const
{
    return std::max(1, int(std::ceil(ms * timeScale_)));
}

bool NetworkSerialLine::isConnected() const
{
    return phase_ == Phase::Ready && socket_ && socket_->state() == QAbstractSocket::ConnectedState;
}

SerialLine::OpenStart NetworkSerialLine::beginOpen(const QString& address)
{
    inUse_ = false;
    if (waiting_ || openPending_) {
        error_ = tr("%1: still connecting").arg(address);
        return OpenStart::Failed;
    }
    const ParsedAddress parsed = parseNetworkAddress(address);
    if (!parsed.address) {
        error_ = parsed.error.isEmpty() ? tr("%1: no network address").arg(address) : parsed.error;
        return OpenStart::Failed;
    }
    idleTimer_.stop();
    if (isConnected() && *parsed.address == address_ && !peerHasClosed()) {
        inUse_ = true;
        error_.clear();
        return OpenStart::Opened;
    }
    disconnectNow();
    address_ = *parsed.address;
    error_.clear();
    hangUp_.clear();
    connectTimer_.start(scaled(kConnectTimeoutMs));
    startConnecting();
    if (phase_ == Phase::Connecting || phase_ == Phase::Negotiating) {
        openPending_ = true;
        return OpenStart::Pending;
    }
    return endOpen() ? OpenStart::Opened : OpenStart::Failed;
}

bool NetworkSerialLine::open(const QString& address)
{
    const OpenStart start = beginOpen(address);
    if (start != OpenStart::Pending)
        return start == OpenStart::Opened;
    const QPointer<NetworkSerialLine> self(this);
    QEventLoop loop;
    waiting_ = &loop;
    loop.exec();
    if (!self)
        return false;  // the line went away while it connected
    waiting_ = nullptr;
    openPending_ = false;
    return endOpen();
}

// The connection is ready or has failed: the line is in use, or the reason is set.
bool NetworkSerialLine::endOpen()
{
    connectTimer_.stop();
    if (phase_ != Phase::Ready) {
        if (error_.isEmpty())
            error_ = address_.text() + QStringLiteral(": ") + tr("connection lost");
        disconnectNow();
        return false;
    }
    inUse_ = true;
    return true;
}

void NetworkSerialLine::close()
{
    if (!inUse_)
        return;
    inUse_ = false;
    if (isConnected())
        idleTimer_.start(scaled(kIdleCloseMs));
    else
        disconnectNow();
}

void NetworkSerialLine::disconnectNow()
{
    if (std::exchange(openPending_, false)) {
        // The exchange waiting for this open learns of its end once this call is over.
        if (error_.isEmpty())
            error_ = address_.text() + QStringLiteral(": ") + tr("connection lost");
        QMetaObject::invokeMethod(
            this, [this] { emit openFinished(false); }, Qt::QueuedConnection);
    }
    inUse_ = false;
    idleTimer_.stop();
    connectTimer_.stop();
    retryTimer_.stop();
    phase_ = Phase::Idle;
    input_.clear();
    dropSocket();
}

void NetworkSerialLine::dropSocket()
{
    if (socket_) {
        // Deleted later: this may run inside one of the socket's own signals.
        socket_->disconnect(this);
        socket_->abort();
        socket_->deleteLater();
        socket_ = nullptr;
    }
}

void NetworkSerialLine::startConnecting()
{
    phase_ = Phase::Connecting;
    parse_ = Parse::Data;
    sub_.clear();
    sentWill_.reset();
    sentDo_.reset();
    weBinary_ = theyBinary_ = weComPort_ = settingsAsked_ = false;
    for (auto& answer : answers_)
        answer.reset();
    socket_ = new QTcpSocket(this);
    connect(socket_, &QTcpSocket::connected, this, &NetworkSerialLine::onConnected);
    connect(socket_, &QTcpSocket::readyRead, this, &NetworkSerialLine::onReadyRead);
    connect(socket_, &QTcpSocket::disconnected, this, &NetworkSerialLine::onDisconnected);
    connect(socket_, &QTcpSocket::errorOccurred, this, &NetworkSerialLine::onSocketError);
    // The name is looked up without blocking; the wait in open() keeps the events going.
    socket_->connectToHost(address_.host, address_.port);
}

void NetworkSerialLine::onConnected()
{
    // A stop character must not wait for the acknowledgement of the line before it.
    socket_->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    socket_->setSocketOption(QAbstractSocket::KeepAliveOption, 1);
    phase_ = Phase::Negotiating;
    if (!telnet()) {
        // Nothing to negotiate, but a server that turns the client away does so at once:
        // ready once it has not, so a turned-away connect is tried again like one that
        // negotiates, instead of failing the first exchange.
        const QPointer<QTcpSocket> socket(socket_);
        QTimer::singleShot(scaled(kRawSettleMs), this, [this, socket] {
            if (phase_ == Phase::Negotiating && socket && socket == socket_) {
                phase_ = Phase::Ready;
                finishWaiting();
            }
        });
        return;
    }
    for (quint8 option : {kBinary, kSuppressGoAhead}) {
        sendOption(WILL, option);
        sendOption(DO, option);
    }
    sendOption(WILL, kComPort);
}

void NetworkSerialLine::onSocketError(QAbstractSocket::SocketError error)
{
    QString reason;
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
        reason = tr("connection refused");
        break;
    case QAbstractSocket::HostNotFoundError:
        reason = tr("name not found");
        break;
    case QAbstractSocket::NetworkError:
        reason = tr("no route to host");
        break;
    case QAbstractSocket::RemoteHostClosedError:
        if (phase_ != Phase::Ready) {
            hungUpWhileConnecting();
            return;
        }
        reason = tr("connection lost");
        break;
    case QAbstractSocket::SocketTimeoutError:
        reason = tr("connection timed out");
        break;
    default: {
        reason = socket_ ? socket_->errorString() : QString();
        if (!reason.isEmpty())
            reason[0] = reason[0].toLower();
        break;
    }
    }
    if (phase_ == Phase::Ready)
        lose(reason);
    else
        fail(reason);
}

void NetworkSerialLine::onDisconnected()
{
    if (phase_ == Phase::Ready)
        lose(tr("connection lost"));
    else if (phase_ != Phase::Idle)
        hungUpWhileConnecting();
}

void NetworkSerialLine::hungUpWhileConnecting()
{
    // ser2net turns a client away for a moment after the last one let go of the device (the
    // previous command of a script, the dialog's Test): try again while the bound allows.
    hangUp_ = closedByServer();
    input_.clear();
    dropSocket();
    phase_ = Phase::Connecting;
    retryTimer_.start(scaled(kRetryMs));
}

QString NetworkSerialLine::closedByServer()
{
    // ser2net says why before it hangs up ("Port's device already in use").
    pull();
    QString said = QString::fromLatin1(input_).simplified();
    said.truncate(80);
    const QString reason = tr("connection closed by the server");
    return said.isEmpty() ? reason : reason + QStringLiteral(": ") + said;
}

void NetworkSerialLine::fail(const QString& reason)
{
    if (phase_ == Phase::Idle || phase_ == Phase::Ready)
        return;
    error_ = address_.text() + QStringLiteral(": ") + reason;
    phase_ = Phase::Idle;
    finishWaiting();
}

void NetworkSerialLine::lose(const QString& reason)
{
    const bool wasInUse = inUse_;
    error_ = address_.text() + QStringLiteral(": ") + reason;
    disconnectNow();
    // Between exchanges the next open simply connects again.
    if (wasInUse)
        emit lineLost();
}

void NetworkSerialLine::finishWaiting()
{
    connectTimer_.stop();
    retryTimer_.stop();
    if (waiting_)
        waiting_->quit();
    else if (std::exchange(openPending_, false))
        emit openFinished(endOpen());
}

bool NetworkSerialLine::peerHasClosed() const
{
#ifdef Q_OS_UNIX
    // The server may have gone while nobody ran the event loop (a command-line thread between
    // exchanges): the socket has not been told yet, the kernel has.
    char c = 0;
    const auto n = ::recv(int(socket_->socketDescriptor()), &c, 1, MSG_PEEK | MSG_DONTWAIT);
    return n == 0 || (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK);
#else
    return false;
#endif
}

bool NetworkSerialLine::write(const QByteArray& bytes)
{
    if (!inUse_ || !socket_)
        return false;
    const QByteArray wire = telnet() ? doubledIac(bytes) : bytes;
    const bool queued = socket_->write(wire) == wire.size();
    // Out now, not at the next pass of the event loop: a stop character must not wait.
    socket_->flush();
    return queued;
}

bool NetworkSerialLine::pull()
{
    if (!socket_)
        return false;
    const qsizetype before = input_.size();
    const QByteArray bytes = socket_->readAll();
    if (telnet())
        takeBytes(bytes);
    else
        input_ += bytes;
    return input_.size() > before;
}

void NetworkSerialLine::onReadyRead()
{
    if (pull() && inUse_)
        emit bytesArrived();
}

QByteArray NetworkSerialLine::readAvailable()
{
    if (!inUse_)
        return {};
    pull();
    return std::exchange(input_, QByteArray());
}

void NetworkSerialLine::discardInput()
{
    if (!inUse_)
        return;
    pull();
    input_.clear();
    purgeServerInput();
}

void NetworkSerialLine::discardBuffers()
{
    // Every write leaves at once, so only the input waits anywhere.
    discardInput();
}

void NetworkSerialLine::purgeServerInput()
{
    if (telnet() && phase_ == Phase::Ready)
        sendComPort(kPurgeData, QByteArray(1, char(kPurgeReceiveBuffer)));
}

void NetworkSerialLine::takeBytes(const QByteArray& bytes)
{
    for (char ch : bytes) {
        const auto b = quint8(ch);
        switch (parse_) {
        case Parse::Data:
            if (b == IAC)
                parse_ = Parse::Iac;
            else
                input_ += ch;
            break;
        case Parse::Iac:
            if (b == IAC) {
                input_ += ch;
                parse_ = Parse::Data;
            } else if (b >= WILL && b <= DONT) {
                verb_ = b;
                parse_ = Parse::Verb;
            } else if (b == SB) {
                sub_.clear();
                parse_ = Parse::Sub;
            } else {
                parse_ = Parse::Data;  // NOP, go-ahead and the like carry nothing for us
            }
            break;
        case Parse::Verb:
            parse_ = Parse::Data;
            onOption(verb_, b);
            break;
        case Parse::Sub:
            if (b == IAC)
                parse_ = Parse::SubIac;
            else
                sub_ += ch;
            break;
        case Parse::SubIac:
            if (b == SE) {
                parse_ = Parse::Data;
                onSubnegotiation(sub_);
            } else {
                sub_ += ch;  // IAC IAC inside a subnegotiation is one 0xFF
                parse_ = Parse::Sub;
            }
            break;
        }
        if (phase_ == Phase::Idle)
            return;  // the negotiation failed; the rest is of no use
    }
}

void NetworkSerialLine::onOption(quint8 verb, quint8 option)
{
    const bool ours = option == kBinary || option == kSuppressGoAhead || option == kComPort;
    switch (verb) {
    case DO:
        if (!ours) {
            sendOption(WONT, option);
            break;
        }
        if (!sentWill_[option])
            sendOption(WILL, option);
        weBinary_ = weBinary_ || option == kBinary;
        if (option == kComPort) {
            weComPort_ = true;
            askSettings();
        }
        break;
    case DONT:
        if (option == kComPort)
            fail(tr("server does not support RFC 2217"));
        else if (option == kBinary)
            fail(tr("server refuses binary transmission"));
        break;
    case WILL:
        if (option != kBinary && option != kSuppressGoAhead) {
            sendOption(DONT, option);
            break;
        }
        if (!sentDo_[option])
            sendOption(DO, option);
        theyBinary_ = theyBinary_ || option == kBinary;
        break;
    case WONT:
        if (option == kBinary)
            fail(tr("server refuses binary transmission"));
        break;
    default:
        break;
    }
    checkReady();
}

void NetworkSerialLine::onSubnegotiation(const QByteArray& body)
{
    if (body.size() < 3 || quint8(body.at(0)) != kComPort)
        return;
    const int setting = quint8(body.at(1)) - kServerOffset - kSetBaudRate;
    if (setting < 0 || setting >= SettingCount)
        return;  // line and modem state, purge answers
    quint32 value = 0;
    if (setting == Baud) {
        if (body.size() < 6)
            return;
        for (int i = 2; i < 6; ++i)
            value = value << 8 | quint8(body.at(i));
    } else {
        value = quint8(body.at(2));
    }
    answers_[setting] = value;
    if (phase_ == Phase::Negotiating && value != kWanted[setting]) {
        fail(settingText(setting, value));
        return;
    }
    checkReady();
}

void NetworkSerialLine::sendOption(quint8 verb, quint8 option)
{
    if (!socket_ || socket_->state() != QAbstractSocket::ConnectedState)
        return;
    if (verb == WILL)
        sentWill_.set(option);
    if (verb == DO)
        sentDo_.set(option);
    const char bytes[] = {char(IAC), char(verb), char(option)};
    socket_->write(bytes, sizeof bytes);
    socket_->flush();
}

void NetworkSerialLine::sendComPort(quint8 command, const QByteArray& value)
{
    if (!socket_ || socket_->state() != QAbstractSocket::ConnectedState)
        return;
    QByteArray out;
    out += char(IAC);
    out += char(SB);
    out += char(kComPort);
    out += char(command);
    out += doubledIac(value);
    out += char(IAC);
    out += char(SE);
    socket_->write(out);
    socket_->flush();
}

void NetworkSerialLine::askSettings()
{
    if (settingsAsked_)
        return;
    settingsAsked_ = true;
    for (int setting = 0; setting < SettingCount; ++setting) {
        QByteArray value;
        if (setting == Baud) {
            for (int shift = 24; shift >= 0; shift -= 8)
                value += char((kWanted[Baud] >> shift) & 0xFF);
        } else {
            value += char(kWanted[setting]);
        }
        sendComPort(quint8(kSetBaudRate + setting), value);
    }
}

void NetworkSerialLine::checkReady()
{
    if (phase_ != Phase::Negotiating || !weBinary_ || !theyBinary_ || !weComPort_)
        return;
    for (const auto& answer : answers_) {
        if (!answer)
            return;
    }
    phase_ = Phase::Ready;
    finishWaiting();
}

}  // namespace kap
