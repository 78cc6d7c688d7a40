// The promises of the drive panel and teaching, checked while a session runs against the
// simulator (the model-based test and the fault soak):
//   I1  no motion command ("@MOVP ", "@ORG ", "@X+ ", "@X- ", "@XINC ", "@XDEC ") goes out
//       outside its mode (the panel's in Operation mode, teaching's while its loop runs) or
//       after Stop was pressed for the operation that sends it;
//   I2  after Stop, a jog release or the STOP dialog the actuator stands still within the
//       grace time, or the user has been shown a box;
//   I3  every failed exchange (time-out, lost line, port error) is shown to the user, or
//       falls inside the silence of the operation that is running;
//   I4  every reply is read by the exchange whose command caused it (or, for a motion the
//       stop character broke, by that motion's exchange); bytes nobody waited for are
//       dropped as stray;
//   I5  some control leads back to Setting mode, or an operation is running that ends by
//       itself.
#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

namespace kap {

class Session;
struct ExchangeEntry;

// I1 for one line about to be written: empty when the line may go out now, else what is
// wrong with it.
QString motionBreach(const Session& s, const QString& line);

class InvariantMonitor : public QObject {
    Q_OBJECT
public:
    // moving: whether the controller's actuator turns now; boxesShown: boxes shown so far.
    InvariantMonitor(Session& s, std::function<bool()> moving, std::function<int()> boxesShown,
                     int graceMs = 1000);

    // A reply as the controller sent it, with the entry (command line) it answers.
    void addReply(const QByteArray& entry, const QByteArray& bytes);
    // The user pressed Stop, released a held jog or pressed STOP in the STOP dialog.
    void stopTaken();

    // Checks what is due now (I2 whose grace time is over, I4 as far as the replies go, I5).
    void check();
    // At the end of a run, with nothing running: every remaining check.
    void finish();

    const QStringList& breaches() const { return breaches_; }

private:
    struct Chunk {
        QByteArray entry;
        QByteArray bytes;
    };
    struct Read {
        QByteArray line;      // the exchange's line; empty for stray input
        bool broken = false;  // the stop character was written during it
        QByteArray bytes;
    };
    struct PendingStop {
        qint64 at;
        int boxes;
        int motions;
    };
    struct PendingFailure {
        int boxes;
        QString what;
    };

    void onEntry(const ExchangeEntry& e);
    void onLineSent(const QString& line);
    void onOperationsChanged();
    void checkReplies(bool final);
    void checkStops(bool final);
    void checkWayBack();
    void breach(const QString& what);

    Session& s_;
    std::function<bool()> moving_;
    std::function<int()> boxes_;
    int graceMs_;
    QElapsedTimer clock_;
    QStringList breaches_;

    // I4: the controller's output as one stream, each byte with its entry, and the tool's
    // reads in order.
    QByteArray stream_;
    QList<QByteArray> streamEntry_;  // per chunk
    QList<qsizetype> chunkEnd_;
    qsizetype consumed_ = 0;
    QList<Read> reads_;
    QStringList lastReads_;  // the last few reads, to tell a breach's story
    QByteArray currentLine_;
    bool currentBroken_ = false;

    QList<PendingStop> stops_;
    int motionsSent_ = 0;
    QList<PendingFailure> failures_;
};

}  // namespace kap
