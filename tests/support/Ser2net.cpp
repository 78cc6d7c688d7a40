#include "Ser2net.h"

#include <QFile>
#include <QStandardPaths>
#include <QTcpServer>
#include <QThread>

#include <algorithm>
#include <csignal>

#include <sys/prctl.h>

namespace kap::test {

quint16 freeLoopbackPort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

namespace {

// Whether a socket listens on this loopback port, from the kernel's table.
bool listening(quint16 port)
{
    QFile table(QStringLiteral("/proc/net/tcp"));
    if (!table.open(QIODevice::ReadOnly))
        return false;
    // "  0: 0100007F:1F90 00000000:0000 0A ...": local address, remote address, state 0A LISTEN.
    const QByteArray local = "0100007F:"
                             + QByteArray::number(port, 16).toUpper().rightJustified(4, '0');
    for (const QByteArray& line : table.readAll().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() > 3 && fields[1] == local && fields[3] == "0A")
            return true;
    }
    return false;
}

}  // namespace

QString Ser2net::program()
{
    return QStandardPaths::findExecutable(QStringLiteral("ser2net"),
                                          {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin"),
                                           QStringLiteral("/sbin"), QStringLiteral("/bin")});
}

Ser2net::Ser2net(const QStringList& devices)
{
    QString config = QStringLiteral("%YAML 1.1\n---\n");
    QList<quint16> taken;
    const auto freshPort = [&taken] {
        quint16 port = freeLoopbackPort();
        while (taken.contains(port))
            port = freeLoopbackPort();
        taken << port;
        return port;
    };
    for (const QString& device : devices) {
        rfcPorts_ << freshPort();
        tcpPorts_ << freshPort();
        // "local": a pty has no modem lines to wait for.
        config += QStringLiteral("connection: &rfc%1\n"
                                 "  accepter: telnet(rfc2217),tcp,127.0.0.1,%1\n"
                                 "  connector: serialdev,%3,9600o81,local\n"
                                 "connection: &raw%2\n"
                                 "  accepter: tcp,127.0.0.1,%2\n"
                                 "  connector: serialdev,%3,9600o81,local\n")
                      .arg(rfcPorts_.last())
                      .arg(tcpPorts_.last())
                      .arg(device);
    }
    const QString configPath = dir_.filePath(QStringLiteral("ser2net.yaml"));
    QFile file(configPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(config.toUtf8()) < 0) {
        error_ = QStringLiteral("cannot write %1").arg(configPath);
        return;
    }
    file.close();
    process_.setProcessChannelMode(QProcess::MergedChannels);
    // Goes with us should we crash, rather than hold loopback ports and ptys for good.
    process_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    // -n: stay in the foreground, our child; -u: no UUCP lock files for the pty.
    process_.start(program(),
                   {QStringLiteral("-n"), QStringLiteral("-u"), QStringLiteral("-c"), configPath,
                    QStringLiteral("-P"), dir_.filePath(QStringLiteral("ser2net.pid"))});
    if (!process_.waitForStarted(2000)) {
        error_ = process_.errorString();
        return;
    }
    // Asked of the kernel, not by connecting: a client makes ser2net open the device, and a
    // second client right after would find it still being closed.
    for (int attempt = 0; attempt < 200; ++attempt) {
        if (std::all_of(taken.cbegin(), taken.cend(), listening)) {
            started_ = true;
            return;
        }
        if (process_.state() != QProcess::Running)
            break;
        QThread::msleep(10);
    }
    error_ = QStringLiteral("ser2net did not listen: ")
             + QString::fromLocal8Bit(process_.readAll());
}

Ser2net::~Ser2net()
{
    if (process_.state() == QProcess::Running) {
        ::kill(pid_t(process_.processId()), SIGTERM);
        if (!process_.waitForFinished(2000))
            kill();
    }
}

void Ser2net::kill()
{
    if (process_.state() != QProcess::Running)
        return;
    ::kill(pid_t(process_.processId()), SIGKILL);
    process_.waitForFinished(2000);
}

QString Ser2net::rfc2217Address(int device) const
{
    return QStringLiteral("rfc2217://127.0.0.1:%1").arg(rfcPorts_.value(device));
}

QString Ser2net::tcpAddress(int device) const
{
    return QStringLiteral("tcp://127.0.0.1:%1").arg(tcpPorts_.value(device));
}

}  // namespace kap::test
