// The serial device server users run: ser2net, started on loopback ports with a generated
// configuration that serves each device twice, through RFC 2217 and as a raw socket. Stopped
// by its pid. The tests and the benchmarks use it.
#pragma once

#include <QList>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace kap::test {

class Ser2net {
public:
    // Where the program is; empty when it is not installed.
    static QString program();

    explicit Ser2net(const QString& device) : Ser2net(QStringList{device}) {}
    explicit Ser2net(const QStringList& devices);
    ~Ser2net();
    Ser2net(const Ser2net&) = delete;
    Ser2net& operator=(const Ser2net&) = delete;

    bool started() const { return started_; }
    QString errorString() const { return error_; }
    // The addresses of the device of that index.
    QString rfc2217Address(int device = 0) const;
    QString tcpAddress(int device = 0) const;
    // Ends the server at once (SIGKILL), as a server that crashes or loses power.
    void kill();

private:
    QTemporaryDir dir_;
    QProcess process_;
    QList<quint16> rfcPorts_;
    QList<quint16> tcpPorts_;
    bool started_ = false;
    QString error_;
};

// A loopback TCP port nobody listens on now.
quint16 freeLoopbackPort();

}  // namespace kap::test
