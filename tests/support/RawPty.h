// A bare pseudo-terminal peer for tests that need bytes at exact moments: every line the tool
// writes is recorded, and a test-supplied responder decides what to send back and when.
#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

#include <functional>

class QSocketNotifier;

namespace kap::test {

class RawPty : public QObject {
    Q_OBJECT
public:
    RawPty();
    ~RawPty() override;

    bool ok() const { return master_ >= 0; }
    QString path() const { return path_; }

    // Called with every chunk the tool wrote.
    std::function<void(const QByteArray&)> onReceive;

    void send(const QByteArray& bytes);
    void sendAfter(int ms, const QByteArray& bytes);

    QByteArray received;

private:
    int master_ = -1;
    int slaveKeepAlive_ = -1;
    QString path_;
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace kap::test
