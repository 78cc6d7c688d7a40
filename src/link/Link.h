// One window's link to the controller: its command request, its serial line and the
// transactions that send one line and collect the reply.
//
// A transaction waits in a nested event loop woken by arriving bytes and by its deadline, so
// the window stays responsive and the process sleeps while the controller is silent. Only one
// transaction is in flight program-wide (the busy flag): a command requested from an event
// handler during a wait is built and written only after the waiting one has ended, and each
// caller gets the outcome of its own transaction.
#pragma once

#include "CommandRequest.h"

#include <QPointer>
#include <QString>

#include <memory>

namespace kap {

class ReplyTimeout;
class SerialLine;
class WindowSide;

struct Outcome {
    QString reply;
    bool Timeout = false;
    bool lineFailed = false;  // the port could not be opened or was lost during the wait
};

class Link {
public:
    enum class Variant { MainWindow, Startup };

    // side is null for the start-up window (it has no link boxes).
    Link(SerialLine& line, ReplyTimeout& timeout, WindowSide* side,
         Variant variant = Variant::MainWindow);
    ~Link();
    Link(const Link&) = delete;
    Link& operator=(const Link&) = delete;

    CommandRequest request;

    // The window variables of the last transaction.
    QString reply;
    bool Timeout = false;

    void ClearCommand() { request.ClearCommand(); }
    // Main windows first let a transaction in flight run to its end.
    void BuildCommand();
    // Sends request.line and collects the reply; also stores it in reply / Timeout.
    Outcome RunTransaction();

    // The STOP dialog's break: written straight to the port the waiting transaction holds
    // open, without queueing behind the busy flag.
    void WriteBreakNow();

    ReplyTimeout& timeout() { return timeout_; }
    SerialLine& line() { return line_; }

    // Longest wait for the controller's error line after "NG" or "STOP", past the deadline.
    static constexpr int kErrorLineBoundMs = 1000;

private:
    void waitWhileBusy();

    SerialLine& line_;
    ReplyTimeout& timeout_;
    WindowSide* side_;
    Variant variant_;
    // Cleared by the destructor, so a transaction still waiting knows its window is gone.
    std::shared_ptr<bool> alive_;
};

// Txt_Error text for a reply: the "STOP" part, replaced by the "NG" part when both occur;
// empty when neither word has its following line.
QString ErrorLineOf(const QString& reply, bool* found = nullptr);

// True when the text holds "OK", "NG", "STOP" or "READY" directly followed by CR LF.
bool HasReplyWord(const QString& text);

}  // namespace kap
