// SIGTERM for the window program: it ends as the application's quit path ends it, but never in
// the middle of an operation. A transmit that is writing its block to the controller finishes
// it first; cut off there, the controller would keep part of a table it had just erased.
#pragma once

#include <QList>
#include <QObject>

#include <functional>

class QSocketNotifier;

namespace kap {

class OperationTracker;

class TerminationWatch : public QObject {
    Q_OBJECT
public:
    // trackers: the operation trackers of the sessions that exist when the signal comes.
    explicit TerminationWatch(std::function<QList<OperationTracker*>()> trackers,
                              QObject* parent = nullptr);
    // Puts the previous SIGTERM handling back.
    ~TerminationWatch() override;

    // Catches SIGTERM from now on; false (with the program as it was) when that failed.
    bool install();

    // What a SIGTERM does: quitRequested now when no user operation runs, else once every
    // session is idle again.
    void terminate();

signals:
    void quitRequested();

private:
    void checkIdle();

    std::function<QList<OperationTracker*>()> trackers_;
    QList<QMetaObject::Connection> waits_;
    QSocketNotifier* notifier_ = nullptr;
    bool installed_ = false;
    bool pending_ = false;
};

}  // namespace kap
