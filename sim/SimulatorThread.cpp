#include "SimulatorThread.h"

namespace sim {

SimulatorThread::SimulatorThread(const Options& options,
                                 const std::function<void(Controller&)>& setUp,
                                 const QString& linkPath)
{
    inThread_.moveToThread(&thread_);
    thread_.start();
    run([&] {
        controller_ = std::make_unique<Controller>(options);
        server_ = std::make_unique<PtyServer>(*controller_);
        if (setUp)
            setUp(*controller_);
        started_ = server_->start(linkPath);
        error_ = server_->errorString();
        path_ = server_->path();
    });
}

SimulatorThread::~SimulatorThread()
{
    run([&] {
        server_.reset();
        controller_.reset();
    });
    thread_.quit();
    thread_.wait();
}

void SimulatorThread::run(const std::function<void()>& f)
{
    QMetaObject::invokeMethod(&inThread_, f, Qt::BlockingQueuedConnection);
}

}  // namespace sim
