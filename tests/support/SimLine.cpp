#include "SimLine.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <gtest/gtest.h>

namespace kap::test {

PortOverride::PortOverride(int n, const QString& device) : name_("KAP_COM" + QByteArray::number(n))
{
    had_ = qEnvironmentVariableIsSet(name_.constData());
    previous_ = qgetenv(name_.constData());
    qputenv(name_.constData(), device.toLocal8Bit());
}

PortOverride::~PortOverride()
{
    if (had_)
        qputenv(name_.constData(), previous_);
    else
        qunsetenv(name_.constData());
}

SimLine::SimLine(sim::Options options, int port) : controller(options)
{
    if (!server.start(linkDir.filePath(QStringLiteral("tty"))))
        ADD_FAILURE() << "simulator pty: " << server.errorString().toStdString();
    override = std::make_unique<PortOverride>(port, server.path());
}

bool waitUntil(const std::function<bool()>& pred, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    while (!pred() && clock.elapsed() < timeoutMs) {
        QEventLoop loop;
        QTimer::singleShot(5, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return pred();
}

}  // namespace kap::test
