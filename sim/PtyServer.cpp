#include "PtyServer.h"

#include "Controller.h"

#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace sim {

namespace {

// One character of 9600 baud 8O1 is 11 bits.
constexpr qint64 kCharNs = 11LL * 1000000000LL / 9600;
// Before a fault closes the line, the tool gets this long to read what was sent...
constexpr qint64 kDropMinMs = 20;
// ...and no longer than this when nobody reads.
constexpr qint64 kDropMaxMs = 500;

QString systemError(const char* what)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what),
                                        QString::fromLocal8Bit(std::strerror(errno)));
}

}  // namespace

PtyServer::PtyServer(Controller& controller, QObject* parent)
    : QObject(parent), controller_(controller)
{
    writeTimer_ = new QTimer(this);
    writeTimer_->setInterval(1);
    writeTimer_->setTimerType(Qt::PreciseTimer);
    connect(writeTimer_, &QTimer::timeout, this, &PtyServer::flush);
    dropTimer_ = new QTimer(this);
    dropTimer_->setInterval(5);
    connect(dropTimer_, &QTimer::timeout, this, &PtyServer::awaitDrainThenDrop);
    connect(&controller_, &Controller::transmit, this, &PtyServer::send);
    connect(&controller_, &Controller::hangup, this, &PtyServer::lineDropRequested);
}

PtyServer::~PtyServer()
{
    stop();
}

bool PtyServer::start(const QString& linkPath)
{
    stop();
    link_ = linkPath;
    if (!openPty())
        return false;
    if (!pointLink()) {
        closePty();
        return false;
    }
    return true;
}

void PtyServer::stop()
{
    dropTimer_->stop();
    dropPending_ = false;
    closePty();
    removeLink();
    link_.clear();
}

QString PtyServer::path() const
{
    return link_.isEmpty() ? slaveName_ : link_;
}

bool PtyServer::openPty()
{
    const int master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (master < 0) {
        error_ = systemError("posix_openpt");
        return false;
    }
    char name[128] = {};
    if (grantpt(master) != 0 || unlockpt(master) != 0
        || ptsname_r(master, name, sizeof name) != 0) {
        error_ = systemError("pty set-up");
        ::close(master);
        return false;
    }
    const int slave = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (slave < 0) {
        error_ = systemError("open pty slave");
        ::close(master);
        return false;
    }
    // Raw: no echo (the tool would read its own lines back), no signal on 0x03, no
    // flow control on 0x11/0x13, no CR/LF translation.
    termios tio{};
    tcgetattr(slave, &tio);
    cfmakeraw(&tio);
    cfsetispeed(&tio, B9600);
    cfsetospeed(&tio, B9600);
    tio.c_cflag |= CREAD | CLOCAL;
    if (tcsetattr(slave, TCSANOW, &tio) != 0) {
        error_ = systemError("tcsetattr");
        ::close(slave);
        ::close(master);
        return false;
    }
    master_ = master;
    slave_ = slave;
    slaveName_ = QString::fromLocal8Bit(name);
    notifier_ = new QSocketNotifier(master_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &PtyServer::readMaster);
    return true;
}

void PtyServer::closePty()
{
    writeTimer_->stop();
    pending_.clear();
    delete notifier_;
    notifier_ = nullptr;
    if (master_ >= 0)
        ::close(master_);
    if (slave_ >= 0)
        ::close(slave_);
    master_ = slave_ = -1;
}

bool PtyServer::pointLink()
{
    if (link_.isEmpty())
        return true;
    // Made beside the link and renamed over it, so a client never finds the link missing.
    const QString temp = link_ + QStringLiteral(".new");
    QFile::remove(temp);
    if (::symlink(QFile::encodeName(slaveName_).constData(), QFile::encodeName(temp).constData())
            != 0
        || ::rename(QFile::encodeName(temp).constData(), QFile::encodeName(link_).constData())
               != 0) {
        error_ = systemError("symlink");
        QFile::remove(temp);
        return false;
    }
    return true;
}

void PtyServer::removeLink()
{
    // Only a link that still points at this server's pty is ours to remove.
    if (!link_.isEmpty() && QFileInfo(link_).isSymLink()
        && QFile::symLinkTarget(link_) == slaveName_)
        QFile::remove(link_);
}

void PtyServer::readMaster()
{
    QByteArray data;
    char buf[4096];
    for (;;) {
        const ssize_t n = ::read(master_, buf, sizeof buf);
        if (n > 0) {
            data.append(buf, n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK))
            notifier_->setEnabled(false);  // cannot happen while slave_ is open; never spin
        break;
    }
    if (!data.isEmpty()) {
        emit bytesReceived(data);
        controller_.receive(data);
    }
}

void PtyServer::send(const QByteArray& bytes)
{
    if (master_ < 0)
        return;
    emit bytesSent(bytes);
    if (pending_.isEmpty()) {
        burstClock_.start();
        burstSent_ = 0;
    }
    pending_ += bytes;
    flush();
}

// Writes what is due: everything at once, or with pacing the characters whose time on
// the line has come. A full pty buffer leaves the rest for the next tick.
void PtyServer::flush()
{
    if (master_ >= 0 && !pending_.isEmpty()) {
        qint64 allowed = pending_.size();
        if (controller_.options().pacing)
            allowed = std::min(allowed, burstClock_.nsecsElapsed() / kCharNs + 1 - burstSent_);
        if (allowed > 0) {
            const ssize_t n = ::write(master_, pending_.constData(), size_t(allowed));
            if (n > 0) {
                pending_.remove(0, n);
                burstSent_ += n;
            }
        }
    }
    if (pending_.isEmpty() || master_ < 0) {
        writeTimer_->stop();
        if (dropPending_ && !dropTimer_->isActive()) {
            dropClock_.start();
            dropTimer_->start();
        }
    } else if (!writeTimer_->isActive()) {
        writeTimer_->start();
    }
}

void PtyServer::lineDropRequested()
{
    dropPending_ = true;
    flush();  // starts the drop once everything before it has left
}

void PtyServer::awaitDrainThenDrop()
{
    const qint64 waited = dropClock_.elapsed();
    int unread = 0;
    if (slave_ >= 0 && ::ioctl(slave_, FIONREAD, &unread) != 0)
        unread = 0;
    if (waited < kDropMinMs || (unread > 0 && waited < kDropMaxMs))
        return;
    dropTimer_->stop();
    dropLine();
}

// The fault "line closed": the tool's open port sees the device go away. A fresh pty
// takes its place (and the link) so that later connections work again.
void PtyServer::dropLine()
{
    dropPending_ = false;
    closePty();
    if (!openPty() || !pointLink()) {
        qWarning("kap-sim: cannot reopen the line after a hangup: %s", qPrintable(error_));
        return;
    }
    emit reopened();
}

}  // namespace sim
