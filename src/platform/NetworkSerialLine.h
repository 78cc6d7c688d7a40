// SerialLine over a TCP connection to a serial device server.
//
// rfc2217:// speaks Telnet with the Com Port Control option: binary transmission both ways,
// suppress-go-ahead, then 9600 baud, 8 data bits, odd parity, 1 stop bit and no flow control,
// each checked against the server's answer. 0xFF in data is doubled both ways, and emptying
// the input also purges the server's receive buffer. tcp:// is the bare byte stream; its server
// is set to 9600 8O1 by its owner.
//
// The link opens and closes its line around every exchange so that another program can take a
// local port in between. A connection is dearer than a local open, and nobody else can take
// it while it stands, so close() only releases it: the connection stays while exchanges follow
// one another and goes after kIdleCloseMs without one.
//
// Connecting (name lookup included) waits in a nested event loop, so the window stays
// responsive, and gives up after kConnectTimeoutMs. A server that hangs up while the line
// negotiates is tried again within that bound: ser2net turns clients away for a moment after
// the last one let go of the device.
#pragma once

#include "platform/NetworkAddress.h"
#include "platform/SerialLine.h"

#include <QAbstractSocket>
#include <QTimer>

#include <bitset>
#include <optional>

class QEventLoop;
class QTcpSocket;

namespace kap {

class NetworkSerialLine : public SerialLine {
    Q_OBJECT
public:
    static constexpr int kConnectTimeoutMs = 3000;
    static constexpr int kIdleCloseMs = 5000;
    // Pause before connecting again to a server that hung up while the line was negotiating.
    static constexpr int kRetryMs = 100;
    // How long a raw connection must stand before it counts as served.
    static constexpr int kRawSettleMs = 50;

    explicit NetworkSerialLine(QObject* parent = nullptr);
    ~NetworkSerialLine() override;

    // address is "rfc2217://HOST:PORT" or "tcp://HOST:PORT"; a held connection to the same
    // address is taken up again.
    // open() waits for the connection in an event loop of its own; beginOpen() does not, and
    // tells the end with openFinished (the link waits inside its exchange instead).
    bool open(const QString& address) override;
    OpenStart beginOpen(const QString& address) override;
    // Releases the line; the connection stays for kIdleCloseMs.
    void close() override;
    bool isOpen() const override { return inUse_; }
    bool write(const QByteArray& bytes) override;
    QByteArray readAvailable() override;
    void discardBuffers() override;
    void discardInput() override;
    QString errorString() const override { return error_; }
    void setTimeScale(double scale) override { timeScale_ = scale; }

    // Whether a connection stands now (in use or held between exchanges).
    bool isConnected() const;
    // Ends the connection at once.
    void disconnectNow();

private:
    enum class Phase { Idle, Connecting, Negotiating, Ready };
    // The settings the line needs, asked for and checked one by one.
    enum Setting { Baud, DataSize, Parity, StopSize, Control, SettingCount };

    void startConnecting();
    void onConnected();
    void onSocketError(QAbstractSocket::SocketError error);
    void onDisconnected();
    void onReadyRead();
    QString closedByServer();
    void hungUpWhileConnecting();
    void dropSocket();
    void fail(const QString& reason);
    void lose(const QString& reason);
    void finishWaiting();
    bool endOpen();
    bool peerHasClosed() const;
    int scaled(int ms) const;
    bool telnet() const { return address_.kind == NetworkAddress::Kind::Rfc2217; }

    // Telnet
    void takeBytes(const QByteArray& bytes);
    void onOption(quint8 verb, quint8 option);
    void onSubnegotiation(const QByteArray& body);
    void sendOption(quint8 verb, quint8 option);
    void sendComPort(quint8 command, const QByteArray& value);
    void askSettings();
    void checkReady();
    void purgeServerInput();
    bool pull();

    QTcpSocket* socket_ = nullptr;
    QTimer idleTimer_;
    QTimer connectTimer_;
    QTimer retryTimer_;
    QString hangUp_;  // why the server last hung up while connecting; reported at the bound
    QEventLoop* waiting_ = nullptr;  // open()'s wait while connecting
    bool openPending_ = false;       // beginOpen() answered Pending; openFinished is owed
    NetworkAddress address_;
    Phase phase_ = Phase::Idle;
    bool inUse_ = false;
    double timeScale_ = 1.0;
    QString error_;
    QByteArray input_;  // data received and not read yet

    // Telnet parser state: the bytes of a command or subnegotiation still being collected.
    enum class Parse { Data, Iac, Verb, Sub, SubIac };
    Parse parse_ = Parse::Data;
    quint8 verb_ = 0;
    QByteArray sub_;
    // Negotiated options: what the server agreed to do (we send BINARY) and to let us do.
    std::bitset<256> sentWill_;
    std::bitset<256> sentDo_;
    bool weBinary_ = false;
    bool theyBinary_ = false;
    bool weComPort_ = false;
    bool settingsAsked_ = false;
    std::optional<quint32> answers_[SettingCount];
};

}  // namespace kap
