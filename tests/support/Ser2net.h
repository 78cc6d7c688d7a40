// The serial device server users run: ser2net, started on loopback ports with a generated
// configuration that serves one device twice, through RFC 2217 and as a raw socket. Stopped
// by its pid.
#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

namespace kap::test {

class Ser2net {
public:
    // Where the program is; empty when it is not installed.
    static QString program();

    explicit Ser2net(const QString& device);
    ~Ser2net();
    Ser2net(const Ser2net&) = delete;
    Ser2net& operator=(const Ser2net&) = delete;

    bool started() const { return started_; }
    QString errorString() const { return error_; }
    QString rfc2217Address() const;
    QString tcpAddress() const;
    // Ends the server at once (SIGKILL), as a server that crashes or loses power.
    void kill();

private:
    QTemporaryDir dir_;
    QProcess process_;
    quint16 rfcPort_ = 0;
    quint16 tcpPort_ = 0;
    bool started_ = false;
    QString error_;
};

// A loopback TCP port nobody listens on now.
quint16 freeLoopbackPort();

}  // namespace kap::test
