// Serves a sim::Controller on a pseudo-terminal: the tool opens the slave side like any
// serial device. Output is paced at 9600 8O1 when the controller's options ask for it.
#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>

class QSocketNotifier;
class QTimer;

namespace sim {

class Controller;

class PtyServer : public QObject {
    Q_OBJECT
public:
    explicit PtyServer(Controller& controller, QObject* parent = nullptr);
    ~PtyServer() override;

    // Opens a new pty in raw mode; when linkPath is given, a symbolic link to the slave
    // is made there (replacing an old one). Returns false with errorString() on failure.
    bool start(const QString& linkPath = {});
    void stop();

    // The path a client opens: the link when one was made, else the slave device.
    QString path() const;
    QString errorString() const { return error_; }

signals:
    // A fault closed the line and a fresh pty now serves path().
    void reopened();
    // The bytes crossing the line, for a trace: what the tool wrote as it was read, and each
    // reply as it is handed to the line (before any pacing).
    void bytesReceived(const QByteArray& bytes);
    void bytesSent(const QByteArray& bytes);

private:
    // (implementation details are the simulator's own)
    bool openPty();
    void closePty();
    bool pointLink();
    void removeLink();
    void readMaster();
    void send(const QByteArray& bytes);
    void flush();
    void lineDropRequested();
    void awaitDrainThenDrop();
    void dropLine();

    Controller& controller_;
    QString error_;
    QString link_;
    QString slaveName_;
    int master_ = -1;
    int slave_ = -1;  // held open so the master never reads EIO between the tool's opens
    QSocketNotifier* notifier_ = nullptr;
    QTimer* writeTimer_ = nullptr;
    QTimer* dropTimer_ = nullptr;
    QByteArray pending_;
    QElapsedTimer burstClock_;
    qint64 burstSent_ = 0;
    bool dropPending_ = false;
    QElapsedTimer dropClock_;
};

}  // namespace sim
