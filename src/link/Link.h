// One window's link to the controller: its command request, its serial line and the
// transactions that send one line and collect the reply.
//
// A transaction waits in a nested event loop woken by arriving bytes and by its deadline, so
// the window stays responsive and the process sleeps while the controller is silent. Only one
// transaction is in flight program-wide (the busy flag): a command requested from an event
// handler during a wait is built and written only after the waiting one has ended, and each
// caller gets the outcome of its own transaction.
#pragma once

#include "link/CommandRequest.h"
#include "link/ExchangeLog.h"
#include "link/Outcome.h"

#include <QLoggingCategory>
#include <QObject>
#include <QString>

#include <memory>
#include <optional>

Q_DECLARE_LOGGING_CATEGORY(lcLink)

namespace kap {

class ProgramState;
class ReplyTimeout;
class SerialLine;
class Transaction;

class Link : public QObject {
    Q_OBJECT
public:
    // A main window's link waits behind the busy flag, raises it and shows its lines; the
    // start-up window's link does neither.
    enum class Variant { MainWindow, Startup };

    // state: the program's port name and busy flag; timeout: the reply time-out this link
    // waits by (the state's shared one, or a window's own).
    Link(SerialLine& line, ProgramState& state, ReplyTimeout& timeout,
         Variant variant = Variant::MainWindow);
    ~Link() override;
    Link(const Link&) = delete;
    Link& operator=(const Link&) = delete;

    // One exchange: the line of code with its argument (for a record code, the record's text
    // after its prefix, "3=A,90.00,50" for "P3=A,90.00,50") is written and the reply
    // collected. A main window's link first lets an exchange in flight run to its end, and
    // a request made meanwhile still sends its own line. timeoutMs, when given, becomes the
    // reply time-out once that wait is over; otherwise the time-out in force then applies.
    Outcome exchange(qint16 code, const QString& argument = {},
                     std::optional<float> timeoutMs = {});
    // After writeBreakNow into an exchange that waits: the end of that exchange, whose reply
    // carries the stop character's answer. No line of its own is written.
    Outcome awaitBreakAnswer();
    // The code of the last exchange asked of this link (a stop character awaited counts),
    // from the moment it was asked, while it still waits its turn.
    std::optional<qint16> lastCommand() const { return lastCommand_; }

    // Sets the reply time-out and gives it to the exchange waiting now as well (the STOP
    // dialog's for the running return). Any other change of the time-out applies to the next
    // exchange only.
    void setWaitTimeout(float ms);

    // The exchange waiting now ends no later than ms from now (a held jog's command when its
    // release must send the stop character).
    void limitWait(float ms);
    // Transactions this link has begun; tells one wait from the next.
    quint64 transactionCount() const { return transactions_; }

    // The STOP dialog's break: written straight to the port the waiting transaction holds
    // open, without queueing behind the busy flag. That transaction then also reads the
    // break's answer before it ends.
    void writeBreakNow();

    // The window is closing: no further line is written; every later transaction ends at
    // once as a lost line.
    void shutDown() { closed_ = true; }
    bool isShutDown() const { return closed_; }

    // The command code of this link's transaction while it waits for its reply.
    std::optional<qint16> waitingCommand() const { return waiting_; }
    // What this link's last finished transaction brought back.
    const Outcome& lastOutcome() const { return last_; }

    ReplyTimeout& timeout() { return timeout_; }
    SerialLine& line() { return line_; }
    // Every line written and every reply, time-out and port failure of this link.
    ExchangeLog& log() { return log_; }

    // Every protocol wait (reply deadlines, the error-line bound, the line's own waits) is
    // multiplied by this; tests shorten time-outs with it instead of waiting them out.
    void setTimeScale(double scale);
    double timeScale() const { return timeScale_; }

    // Longest wait for the controller's error line after "NG" or "STOP", past the deadline.
    static constexpr int kErrorLineBoundMs = 1000;
    // Longest wait for the answer to a stop character written during an exchange, from the
    // stop character on; shorter than the drive panel's stop time-out, so an exchange answered
    // by its own refusal has ended before a missing stop answer is reported.
    static constexpr int kBreakAnswerBoundMs = 1000;
    // After an exchange that timed out or lost its line, the next one writes its line only
    // after this long (real time, whatever the time scale) and drops what came meanwhile, so
    // a late answer is not read as its own. The wait is part of the exchange: handlers run
    // inside it, and a stop character written during it means the line is never written.
    static constexpr int kLateAnswerSettleMs = 50;

signals:
    // A main window's link boxes: the line written, the reply as it ended, and the
    // controller's error line when the reply carried "NG" or "STOP".
    void lineSent(const QString& line);
    void replyReceived(const QString& reply);
    void errorLineReceived(const QString& line);
    // The port could not be opened; reason is the line's own explanation.
    void portFailed(const QString& reason);

private:
    friend class Transaction;
    void waitWhileBusy();
    Outcome runTransaction(const CommandRequest& request);
    QByteArray dropStrayInput();

    SerialLine& line_;
    ProgramState& state_;
    ReplyTimeout& timeout_;
    Variant variant_;
    double timeScale_ = 1.0;
    std::optional<qint16> waiting_;
    std::optional<qint16> lastCommand_;
    bool heldOpen_ = false;            // the port stays open after a held jog
    bool lateAnswerPossible_ = false;  // the last exchange ended without its answer
    bool closed_ = false;
    Transaction* running_ = nullptr;  // the exchange waiting now
    quint64 transactions_ = 0;
    Outcome last_;
    ExchangeLog log_;
    QString portLabel_;  // the port of the last transaction as the log shows it
    // Cleared by the destructor, so a transaction still waiting knows its window is gone.
    std::shared_ptr<bool> alive_;
};

// Txt_Error text for a reply: the "STOP" part, replaced by the "NG" part when both occur;
// empty when neither word has its following line.
QString errorLineOf(const QString& reply, bool* found = nullptr);

// True when the text holds "OK", "NG", "STOP" or "READY" directly followed by CR LF.
bool hasReplyWord(const QString& text);

// A line or reply with its control characters visible ("<CR><LF>"), for boxes and logs.
QString visibleControls(const QString& text);

}  // namespace kap
