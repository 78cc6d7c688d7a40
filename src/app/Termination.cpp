#include "app/Termination.h"

#include "session/SessionState.h"

#include <QSocketNotifier>
#include <QTimer>

#include <csignal>

#include <fcntl.h>
#include <unistd.h>

namespace kap {

namespace {

// The handler only writes a byte; the event loop does the rest.
int wakePipe[2] = {-1, -1};
struct sigaction previous {};

void onTerm(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(wakePipe[1], &byte, 1);
}

}  // namespace

TerminationWatch::TerminationWatch(std::function<QList<OperationTracker*>()> trackers,
                                   QObject* parent)
    : QObject(parent), trackers_(std::move(trackers))
{
}

TerminationWatch::~TerminationWatch()
{
    if (!installed_)
        return;
    ::sigaction(SIGTERM, &previous, nullptr);
    delete notifier_;
    ::close(wakePipe[0]);
    ::close(wakePipe[1]);
    wakePipe[0] = wakePipe[1] = -1;
}

bool TerminationWatch::install()
{
    if (installed_ || wakePipe[0] >= 0 || ::pipe2(wakePipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    struct sigaction action {};
    action.sa_handler = onTerm;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    if (::sigaction(SIGTERM, &action, &previous) != 0) {
        ::close(wakePipe[0]);
        ::close(wakePipe[1]);
        wakePipe[0] = wakePipe[1] = -1;
        return false;
    }
    installed_ = true;
    notifier_ = new QSocketNotifier(wakePipe[0], QSocketNotifier::Read);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        char bytes[16];
        while (::read(wakePipe[0], bytes, sizeof bytes) > 0) {
        }
        terminate();
    });
    return true;
}

void TerminationWatch::terminate()
{
    if (pending_)
        return;
    pending_ = true;
    checkIdle();
}

void TerminationWatch::checkIdle()
{
    for (const QMetaObject::Connection& c : std::as_const(waits_))
        disconnect(c);
    waits_.clear();
    bool busy = false;
    for (OperationTracker* tracker : trackers_()) {
        if (!tracker->idle())
            busy = true;
        waits_.append(connect(tracker, &OperationTracker::changed, this,
                              &TerminationWatch::checkIdle, Qt::QueuedConnection));
    }
    if (busy)
        return;
    for (const QMetaObject::Connection& c : std::as_const(waits_))
        disconnect(c);
    waits_.clear();
    // From the event loop, not from inside the operation's last steps.
    QTimer::singleShot(0, this, &TerminationWatch::quitRequested);
}

}  // namespace kap
