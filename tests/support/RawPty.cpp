#include "RawPty.h"

#include <QSocketNotifier>
#include <QTimer>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cstdlib>

namespace kap::test {

RawPty::RawPty()
{
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (master_ < 0)
        return;
    if (grantpt(master_) != 0 || unlockpt(master_) != 0) {
        ::close(master_);
        master_ = -1;
        return;
    }
    path_ = QString::fromLocal8Bit(ptsname(master_));
    // Keep one slave descriptor open so the master never reads EIO between transactions,
    // and make the line raw so nothing is echoed back.
    slaveKeepAlive_ = ::open(path_.toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
    if (slaveKeepAlive_ >= 0) {
        termios t{};
        tcgetattr(slaveKeepAlive_, &t);
        cfmakeraw(&t);
        tcsetattr(slaveKeepAlive_, TCSANOW, &t);
    }
    notifier_ = new QSocketNotifier(master_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        char buf[512];
        const ssize_t n = ::read(master_, buf, sizeof buf);
        if (n <= 0)
            return;
        const QByteArray chunk(buf, int(n));
        received += chunk;
        if (onReceive)
            onReceive(chunk);
    });
}

RawPty::~RawPty()
{
    delete notifier_;
    if (slaveKeepAlive_ >= 0)
        ::close(slaveKeepAlive_);
    if (master_ >= 0)
        ::close(master_);
}

void RawPty::send(const QByteArray& bytes)
{
    if (master_ >= 0 && !bytes.isEmpty())
        (void)!::write(master_, bytes.constData(), size_t(bytes.size()));
}

void RawPty::sendAfter(int ms, const QByteArray& bytes)
{
    QTimer::singleShot(ms, this, [this, bytes] { send(bytes); });
}

}  // namespace kap::test
