// The record of one link's exchanges with the controller: every line sent, every reply with
// its reply time, time-outs, port errors, lost lines and break bytes, one text line each.
//
// A log keeps its last kMaxLines lines for the communication-log window. When the program
// traces (kap --trace FILE), every log of the program also writes each line to that file at
// once, so a support case survives a crash. The simulator writes its side with the same
// formatting, so the two traces read alike.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTime>

#include <deque>

namespace kap {

struct ExchangeEntry {
    enum class Kind {
        Sent,       // PC -> controller
        Received,   // controller -> PC, a reply as it ended
        Timeout,    // no reply word in time; bytes holds what came
        PortError,  // cannot open or write the port; note holds the reason
        LineLost,   // the open line went away during a wait; bytes holds what came
        Break,      // the break byte written while a motion waits
        Stray,      // bytes that arrived while no exchange waited for them, dropped
    };
    QTime time;
    QString port;  // "COM1 (/dev/ttyUSB0)", or the simulator's device
    Kind kind = Kind::Sent;
    QByteArray bytes;
    int replyMs = -1;  // Received: from the end of the write to the last byte; -1 unknown
    QString note;      // Timeout: the wait; PortError: the reason
};

// Bytes with control characters by their ASCII names (<CR>, <LF>, <ETX>, <SUB>) and bytes
// from 0x80 up as hex (<A5>).
QString namedControls(const QByteArray& bytes);
// The name namedControls gives a control character below 0x20 ("ESC" for 0x1B).
QLatin1String controlName(unsigned char c);

// The one text line of an entry:
//   "12:03:04.567 COM1 --> @?PRM 13,<CR><LF>"
//   "12:03:04.634 COM1 <-- [67 ms] 1<CR><LF>OK<CR><LF>"
//   "12:03:05.601 COM1 !! time-out: no reply word within 1000 ms; partial reply: 1<CR><LF>"
QString formatEntry(const ExchangeEntry& entry);

class ExchangeLog : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxLines = 10000;

    explicit ExchangeLog(QObject* parent = nullptr);

    void add(const ExchangeEntry& entry);
    // Shorthands that stamp the current time.
    void addSent(const QString& port, const QByteArray& bytes);
    void addReceived(const QString& port, const QByteArray& bytes, int replyMs = -1);
    void addTimeout(const QString& port, int waitedMs, const QByteArray& partial);
    void addPortError(const QString& port, const QString& reason);
    // reason: why the line went, when the line knows ("connection lost").
    void addLineLost(const QString& port, const QByteArray& partial, const QString& reason = {});
    void addBreak(const QString& port, const QByteArray& bytes);
    void addStray(const QString& port, const QByteArray& bytes);

    // The kept lines, oldest first.
    QStringList lines() const;
    int size() const { return int(lines_.size()); }
    // Lines added since the log was made, the dropped and cleared ones included.
    qint64 totalAdded() const { return total_; }
    void clear();

    // The program-wide trace file. Opened for appending (an earlier run's trace stays);
    // false with the reason in *why when it cannot be opened.
    static bool startTrace(const QString& path, QString* why = nullptr);
    static void stopTrace();
    static bool tracing();
    // Writes one line to the trace file, if any, at once. For the simulator's own lines too.
    static void trace(const QString& line);

signals:
    void entryAdded(const QString& line);
    // The same entry as it was added, for a reader that needs its bytes.
    void entryRecorded(const kap::ExchangeEntry& entry);
    void cleared();

private:
    std::deque<QString> lines_;
    qint64 total_ = 0;
};

}  // namespace kap
