#include "link/Link.h"

#include "link/ProgramState.h"
#include "platform/PortName.h"
#include "platform/SerialLine.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <memory>
#include <utility>

// Quiet unless asked for: QT_LOGGING_RULES="kap.link=true" shows every line, time-out and
// port failure.
Q_LOGGING_CATEGORY(lcLink, "kap.link", QtWarningMsg)

namespace kap {
namespace {

double nowMs()
{
    static const QElapsedTimer clock = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return double(clock.nsecsElapsed()) / 1e6;
}

// Length of the head that ends two characters after "NG" (or, without "NG", after "STOP");
// -1 when the reply holds neither word.
qsizetype errorHeadLength(const QString& reply)
{
    qsizetype at = reply.indexOf(QLatin1String("NG"));
    if (at >= 0)
        return qMin(reply.size(), at + 4);
    at = reply.indexOf(QLatin1String("STOP"));
    if (at >= 0)
        return qMin(reply.size(), at + 6);
    return -1;
}

// The port as the log names it: the port name, and the device behind it where that differs.
QString portLabel(const SerialLine& line, const QString& portName)
{
    const QString device = line.deviceFor(portName);
    return device.isEmpty() || device == portName ? portName
                                                  : QStringLiteral("%1 (%2)").arg(portName, device);
}

// The first complete answer in text at or after from: its reply word and, after "NG" or
// "STOP", the error line. nullopt while none is complete.
struct Answer {
    qsizetype end = 0;  // one past its last byte
    bool stop = false;  // the word is "STOP"
};
std::optional<Answer> firstAnswer(const QString& text, qsizetype from)
{
    qsizetype best = -1;
    QLatin1String word;
    for (const char* w : {"OK\r\n", "NG\r\n", "STOP\r\n", "READY\r\n"}) {
        const qsizetype at = text.indexOf(QLatin1String(w), from);
        if (at >= 0 && (best < 0 || at < best)) {
            best = at;
            word = QLatin1String(w);
        }
    }
    if (best < 0)
        return std::nullopt;
    const bool stop = word.startsWith(QLatin1String("STOP"));
    qsizetype end = best + word.size();
    if (stop || word.startsWith(QLatin1String("NG"))) {
        const qsizetype lineEnd = text.indexOf(QLatin1String("\r\n"), end);
        if (lineEnd < 0)
            return std::nullopt;
        end = lineEnd + 2;
    }
    return Answer{end, stop};
}

}  // namespace

QString visibleControls(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (c == QLatin1Char('\r'))
            out += QStringLiteral("<CR>");
        else if (c == QLatin1Char('\n'))
            out += QStringLiteral("<LF>");
        else if (c.unicode() < 0x20)
            out += QStringLiteral("<%1>").arg(c.unicode(), 2, 16, QLatin1Char('0')).toUpper();
        else
            out += c;
    }
    return out;
}

bool hasReplyWord(const QString& text)
{
    for (const char* word : {"OK\r\n", "NG\r\n", "STOP\r\n", "READY\r\n"}) {
        if (text.contains(QLatin1String(word)))
            return true;
    }
    return false;
}

QString errorLineOf(const QString& reply, bool* found)
{
    QString line;
    bool any = false;
    // The line after the word ends at the first LF past the word's own CR LF.
    const auto partFrom = [&](qsizetype at, qsizetype skip) {
        const qsizetype lf = reply.indexOf(QLatin1Char('\n'), at + skip);
        return lf < 0 ? QString() : reply.mid(at, lf - at + 1);
    };
    const qsizetype stop = reply.indexOf(QLatin1String("STOP"));
    if (stop >= 0) {
        any = true;
        line = partFrom(stop, 6);
    }
    const qsizetype ng = reply.indexOf(QLatin1String("NG"));
    if (ng >= 0) {
        any = true;
        line = partFrom(ng, 4);
    }
    if (found)
        *found = any;
    return line;
}

// One exchange, from the written line to the end of the reply. It is driven by events (bytes
// arrived, the deadline, the error-line bound, a lost line, a changed time-out); the nested
// event loop only sleeps between them.
class Transaction {
public:
    enum class State {
        Connecting,           // the line connects before the line can be written
        Settling,             // the last exchange failed: its late answer may still come
        Collecting,           // reading until a reply word or the deadline
        AwaitingErrorLine,    // "NG" or "STOP" came; its error line is still on its way
        AwaitingBreakAnswer,  // this exchange is answered; a stop character's answer is not
        Done,
    };
    // How the exchange ended.
    enum class Ending {
        Reply,  // a reply word, or the deadline
        OpenFailed,
        WriteFailed,
        LineLost,
        Abandoned,  // the application left the wait
    };

    Transaction(Link& link, bool mainWindow, const QString& line)
        : link_(link), mainWindow_(mainWindow), alive_(link.alive_), line_(line)
    {
        deadlineTimer_.setSingleShot(true);
        deadlineTimer_.setTimerType(Qt::PreciseTimer);
        errorLineTimer_.setSingleShot(true);
        breakAnswerTimer_.setSingleShot(true);
        settleTimer_.setSingleShot(true);
        QObject::connect(&link.line_, &SerialLine::bytesArrived, &context_,
                         [this] { onBytesArrived(); });
        QObject::connect(&link.line_, &SerialLine::lineLost, &context_, [this] { onLineLost(); });
        QObject::connect(&deadlineTimer_, &QTimer::timeout, &context_, [this] { onDeadline(); });
        QObject::connect(&errorLineTimer_, &QTimer::timeout, &context_,
                         [this] { onErrorLineBound(); });
        QObject::connect(&breakAnswerTimer_, &QTimer::timeout, &context_,
                         [this] { finish(Ending::Reply); });
        QObject::connect(&settleTimer_, &QTimer::timeout, &context_, [this] { onSettled(); });
        QObject::connect(&link.line_, &SerialLine::openFinished, &context_,
                         [this](bool opened) { onOpenFinished(opened); });
        link.running_ = this;
    }
    ~Transaction()
    {
        if (*alive_ && link_.running_ == this)
            link_.running_ = nullptr;
    }

    // A new reply time-out for this wait (the STOP dialog's): the deadline moves with it.
    void retime(float ms)
    {
        timeoutMs_ = ms;
        wake();
    }
    // This wait ends no later than ms from now.
    void limit(float ms)
    {
        const double waited = (nowMs() - sendTime_) / link_.timeScale_;
        timeoutMs_ = std::min(timeoutMs_, float(waited) + ms);
        wake();
    }

    // A stop character went out during this wait. The controller answers it as well: with
    // "STOP" alone when it stopped this exchange's motion, or after this exchange's own answer
    // (a refusal, a move that had just ended). This exchange ends only once both are read, so
    // the stop's answer is never taken for the next command's. droppedAnswer: the input thrown
    // away before the stop character held a reply word, this exchange's own answer.
    void noteBreak(bool droppedAnswer)
    {
        if (state_ == State::Settling) {
            // Stopped before its line went out: the line is never written (it may be a
            // motion), and the stop character's answer is this exchange's reply.
            settleTimer_.stop();
            breakWritten_ = true;
            breakTime_ = nowMs();
            qCInfo(lcLink) << "stopped before it was sent:" << visibleControls(line_);
            startCollecting(breakTime_);
            return;
        }
        if (!breakWritten_)
            stopAnswersBoth_ = !droppedAnswer && !hasReplyWord(outcome_.reply);
        breakWritten_ = true;
        breakTime_ = nowMs();
        if (!droppedAnswer)
            ++answersExpected_;
    }

    bool connecting() const { return state_ == State::Connecting; }
    // A stop character asked for while the line connects: written once it is open, in place
    // of this exchange's line.
    void stopWhenOpen() { stopBeforeWrite_ = true; }
    void abandon() { finish(Ending::Abandoned); }

    // Opens the line (unless portToOpen is empty: it is open), writes the line and waits for
    // the end. After an exchange that ended without its answer, the line goes out only once a
    // late answer had time to come, and that answer is dropped.
    Outcome run(const QString& portToOpen)
    {
        sendTime_ = nowMs();
        if (portToOpen.isEmpty()) {
            opened();
        } else {
            switch (link_.line_.beginOpen(portToOpen)) {
            case SerialLine::OpenStart::Opened:
                opened();
                break;
            case SerialLine::OpenStart::Failed:
                finish(Ending::OpenFailed);
                break;
            case SerialLine::OpenStart::Pending:
                state_ = State::Connecting;
                break;
            }
        }
        if (state_ != State::Done)
            loop_.exec();
        // Leaving the wait without an end means the application is shutting down.
        if (state_ != State::Done && *alive_)
            finish(Ending::Abandoned);
        return outcome_;
    }

private:
    void onOpenFinished(bool ok)
    {
        if (state_ != State::Connecting)
            return;
        if (ok)
            opened();
        else
            finish(Ending::OpenFailed);
    }

    void opened()
    {
        // Bytes that came while nobody waited (a late reply, a second answer) must not be
        // read as the answer to this line: they are dropped, and the log says so.
        link_.dropStrayInput();
        link_.line_.discardBuffers();
        state_ = State::Settling;  // open, its line not written yet
        if (stopBeforeWrite_) {
            link_.writeBreakNow();  // its answer ends the settle
            if (state_ == State::Settling)
                finish(Ending::WriteFailed);
            return;
        }
        if (std::exchange(link_.lateAnswerPossible_, false))
            settleTimer_.start(Link::kLateAnswerSettleMs);
        else
            write();
    }

    void onSettled()
    {
        if (state_ != State::Settling)
            return;
        link_.dropStrayInput();
        write();
    }

    void write()
    {
        if (link_.variant_ == Link::Variant::MainWindow)
            emit link_.lineSent(line_);
        qCDebug(lcLink) << "sent" << visibleControls(line_);
        const QByteArray bytes = line_.toLatin1();
        link_.log_.addSent(link_.portLabel_, bytes);
        if (!link_.line_.write(bytes)) {
            qCInfo(lcLink) << "write failed:" << link_.line_.errorString();
            link_.log_.addPortError(link_.portLabel_,
                                    QStringLiteral("write failed: ") + link_.line_.errorString());
            finish(Ending::WriteFailed);
            return;
        }
        startCollecting(nowMs());
    }

    void startCollecting(double from)
    {
        state_ = State::Collecting;
        sendTime_ = from;
        lastRead_ = from;
        writeEnd_ = from;
        lastByte_ = from;
        collect();
    }

    // The time-out in force when the line was written: a handler that runs inside the wait
    // and sets another for its own exchange does not move this one's deadline.
    double deadline() const { return sendTime_ + double(timeoutMs_) * link_.timeScale_; }

    void onBytesArrived() { wake(); }
    // The deadline timer fires in Collecting only; reading then finds the reply late.
    void onDeadline() { wake(); }
    void onErrorLineBound() { finish(Ending::Reply); }
    void onLineLost()
    {
        qCInfo(lcLink) << "line lost during the wait";
        finish(Ending::LineLost);
    }

    void wake()
    {
        if (state_ == State::Collecting)
            collect();
        else if (state_ == State::AwaitingErrorLine)
            awaitErrorLine();
        else if (state_ == State::AwaitingBreakAnswer) {
            readArrived();
            if (answersHeld() >= answersExpected_)
                finish(Ending::Reply);
        }
    }

    void collect()
    {
        readArrived();
        lastRead_ = nowMs();
        if (hasReplyWord(outcome_.reply)) {
            headLength_ = errorHeadLength(outcome_.reply);
            if (headLength_ >= 0 && !errorLineComplete()) {
                // The controller sends its error line right after "NG" / "STOP"; wait for it,
                // past the deadline if need be, but not for ever.
                state_ = State::AwaitingErrorLine;
                deadlineTimer_.stop();
                errorLineTimer_.start(int(std::ceil(Link::kErrorLineBoundMs * link_.timeScale_)));
                return;
            }
            answered();
            return;
        }
        if (lastRead_ > deadline()) {
            finish(Ending::Reply);
            return;
        }
        deadlineTimer_.start(int(std::ceil(deadline() - lastRead_)) + 1);
    }

    void awaitErrorLine()
    {
        readArrived();
        if (errorLineComplete())
            answered();
    }

    // The reply word (and its error line) is in. After a stop character the exchange may
    // still owe that character's answer; it waits for it, bounded from the stop character on.
    void answered()
    {
        if (breakWritten_ && answersHeld() < answersExpected_) {
            const double left = breakTime_ + Link::kBreakAnswerBoundMs * link_.timeScale_ - nowMs();
            if (left > 0) {
                state_ = State::AwaitingBreakAnswer;
                deadlineTimer_.stop();
                errorLineTimer_.stop();
                breakAnswerTimer_.start(int(std::ceil(left)));
                return;
            }
        }
        finish(Ending::Reply);
    }

    // Complete answers in the reply; a "STOP" after the stop character counts for the
    // exchange's own answer too when that had not begun.
    int answersHeld() const
    {
        int held = 0;
        bool stopCounted = false;
        for (auto a = firstAnswer(outcome_.reply, 0); a; a = firstAnswer(outcome_.reply, a->end)) {
            held += a->stop && stopAnswersBoth_ && !stopCounted ? 2 : 1;
            stopCounted = stopCounted || a->stop;
        }
        return held;
    }

    void readArrived()
    {
        const QByteArray bytes = link_.line_.readAvailable();
        if (bytes.isEmpty())
            return;
        outcome_.reply += QString::fromLatin1(bytes);
        lastByte_ = nowMs();
    }

    bool errorLineComplete() const
    {
        return outcome_.reply.indexOf(QLatin1String("\r\n"), headLength_) >= 0;
    }

    // The steps after the reply is complete or the line failed. They run right where the
    // exchange ends, not after the wait returns, so a command queued behind the busy flag in
    // a nested handler can go out at once.
    void finish(Ending how)
    {
        if (state_ == State::Done)
            return;
        const bool lost = how != Ending::Reply;
        const bool wasOpen = state_ != State::Connecting && how != Ending::OpenFailed;
        state_ = State::Done;
        deadlineTimer_.stop();
        errorLineTimer_.stop();
        breakAnswerTimer_.stop();
        settleTimer_.stop();
        heard_ = outcome_.reply.toLatin1();
        // The stop character's answer behind this exchange's own is logged, not judged.
        if (breakWritten_ && answersHeld() > 1) {
            if (const auto own = firstAnswer(outcome_.reply, 0))
                outcome_.reply.truncate(own->end);
        }
        outcome_.lineFailed = lost;
        ProgramState& m = link_.state_;
        if (!*alive_) {  // the window went away during the wait: touch nothing of it
            if (mainWindow_)
                m.setBusy(false);
            loop_.quit();
            return;
        }
        const qint16 code = link_.waiting_.value_or(-1);
        link_.waiting_.reset();
        if (!wasOpen) {
            // The port could not be opened: nothing was written, nothing is late.
            link_.last_ = outcome_;
            if (mainWindow_)
                m.setBusy(false);
            if (how == Ending::OpenFailed && !link_.closed_) {
                const QString why = link_.line_.errorString();
                qCInfo(lcLink) << "cannot open the port:" << why;
                link_.log_.addPortError(link_.portLabel_, why);
                emit link_.portFailed(why);
            }
            loop_.quit();
            return;
        }
        if (!lost) {
            outcome_.timedOut = lastRead_ > deadline();
            outcome_.errorLine = errorLineOf(outcome_.reply, &outcome_.hasErrorWord);
            qCDebug(lcLink) << "received" << visibleControls(outcome_.reply);
            if (outcome_.timedOut)
                qCInfo(lcLink) << "no reply word within" << timeoutMs_ * link_.timeScale_ << "ms";
            logReply();
            if (mainWindow_) {
                emit link_.replyReceived(outcome_.reply);
                if (outcome_.hasErrorWord)
                    emit link_.errorLineReceived(outcome_.errorLine);
            }
        } else if (how == Ending::LineLost) {
            link_.log_.addLineLost(link_.portLabel_, outcome_.reply.toLatin1(),
                                   link_.line_.errorString());
        }
        link_.last_ = outcome_;
        // An exchange that ended without its answer may still get it late.
        link_.lateAnswerPossible_ = how == Ending::LineLost || (!lost && outcome_.timedOut);
        // A held jog keeps the port open for the stop character its release sends: reopening
        // costs milliseconds (the port's lock file) that the stop must not wait for.
        link_.heldOpen_ = !lost && (code == cmd::XINC || code == cmd::XDEC);
        if (!link_.heldOpen_)
            link_.line_.close();
        if (mainWindow_)
            m.setBusy(false);
        loop_.quit();
    }

    void logReply()
    {
        const QByteArray& bytes = heard_;
        if (outcome_.timedOut) {
            link_.log_.addTimeout(link_.portLabel_, qRound(double(timeoutMs_) * link_.timeScale_),
                                  bytes);
            return;
        }
        link_.log_.addReceived(link_.portLabel_, bytes, qMax(0, qRound(lastByte_ - writeEnd_)));
    }

    Link& link_;
    bool mainWindow_;
    std::shared_ptr<bool> alive_;
    // The line as it was built: a handler inside the wait may build the next one meanwhile.
    const QString line_;
    float timeoutMs_ = link_.timeout_.ms();
    State state_ = State::Collecting;
    Outcome outcome_;
    QEventLoop loop_;
    QObject context_;
    QTimer deadlineTimer_;
    QTimer errorLineTimer_;
    QTimer breakAnswerTimer_;
    QTimer settleTimer_;
    bool stopBeforeWrite_ = false;  // a stop character was asked for while connecting
    bool breakWritten_ = false;
    bool stopAnswersBoth_ = false;
    int answersExpected_ = 1;
    double breakTime_ = 0;
    QByteArray heard_;  // every byte read, as the log shows it
    double sendTime_ = 0;
    double lastRead_ = 0;
    double writeEnd_ = 0;  // the reply time runs from here...
    double lastByte_ = 0;  // ...to here
    qsizetype headLength_ = -1;
};

Link::Link(SerialLine& line, ProgramState& state, ReplyTimeout& timeout, Variant variant)
    : line_(line), state_(state), timeout_(timeout), variant_(variant),
      alive_(std::make_shared<bool>(true))
{
}

Link::~Link()
{
    *alive_ = false;
    // An exchange still waiting (for its reply, or for its line to connect) ends now: nothing
    // of this link will answer it any more.
    if (running_)
        running_->abandon();
}

void Link::setTimeScale(double scale)
{
    timeScale_ = scale;
    line_.setTimeScale(scale);
}

void Link::waitWhileBusy()
{
    ProgramState& m = state_;
    const auto alive = alive_;
    while (m.busy() && *alive) {
        QEventLoop wait;
        bool cleared = false;
        QObject::connect(&m, &ProgramState::busyCleared, &wait, [&] {
            cleared = true;
            wait.quit();
        });
        wait.exec();
        if (!cleared)
            break;  // the application is leaving its event loops
    }
}

Outcome Link::exchange(qint16 code, const QString& argument, std::optional<float> timeoutMs)
{
    lastCommand_ = code;
    const auto alive = alive_;
    if (variant_ == Variant::MainWindow)
        waitWhileBusy();
    if (!*alive)
        return {};
    if (timeoutMs)
        timeout_.set(*timeoutMs);
    // Built only now: a request made while this one waited has built and sent its own.
    CommandRequest request;
    request.code = code;
    request.argument = argument;
    request.build(variant_ == Variant::Startup);
    return runTransaction(request);
}

Outcome Link::awaitBreakAnswer()
{
    lastCommand_ = cmd::Break;
    if (variant_ == Variant::MainWindow)
        waitWhileBusy();
    return last_;
}

Outcome Link::runTransaction(const CommandRequest& request)
{
    const bool mainWindow = variant_ == Variant::MainWindow;
    const auto alive = alive_;
    ProgramState& m = state_;
    if (mainWindow)
        waitWhileBusy();
    if (!*alive)
        return {};

    m.portName = ports::usableOrFirst(m.portName);
    const bool reuse = std::exchange(heldOpen_, false) && line_.isOpen();
    if (!reuse) {
        line_.close();
        portLabel_ = portLabel(line_, m.portName);
    }
    if (closed_) {
        // Every caller, also one that reads the last outcome, sees the lost line.
        last_ = Outcome{};
        last_.lineFailed = true;
        return last_;
    }
    // Raised before the open: a line that connects waits inside the exchange, and a command
    // clicked meanwhile queues behind it.
    if (mainWindow)
        m.setBusy(true);
    Transaction transaction(*this, mainWindow, request.line);
    ++transactions_;
    waiting_ = request.code;
    Outcome out = transaction.run(reuse ? QString() : m.portName);
    if (!*alive && mainWindow && m.busy())
        m.setBusy(false);
    return out;
}

QByteArray Link::dropStrayInput()
{
    const QByteArray stray = line_.readAvailable();
    if (!stray.isEmpty()) {
        qCInfo(lcLink) << "stray input dropped:" << visibleControls(QString::fromLatin1(stray));
        log_.addStray(portLabel_, stray);
    }
    return stray;
}

void Link::setWaitTimeout(float ms)
{
    timeout_.set(ms);
    if (running_)
        running_->retime(ms);
}

void Link::limitWait(float ms)
{
    if (running_)
        running_->limit(ms);
}

void Link::writeBreakNow()
{
    if (running_ && running_->connecting()) {
        running_->stopWhenOpen();
        return;
    }
    if (!line_.isOpen())
        return;
    // The input only: the motion's own line may still be on its way out. What came in before
    // the break is dropped (and logged): the answer that counts is the one to the break.
    const bool droppedAnswer = hasReplyWord(QString::fromLatin1(dropStrayInput()));
    line_.discardInput();
    const QString breakLine(QChar::fromLatin1(kBreakByte));
    emit lineSent(breakLine);
    qCDebug(lcLink) << "sent" << visibleControls(breakLine);
    log_.addBreak(portLabel_, breakLine.toLatin1());
    if (!line_.write(breakLine.toLatin1())) {
        log_.addPortError(portLabel_, QStringLiteral("write failed: ") + line_.errorString());
        return;
    }
    if (running_)
        running_->noteBreak(droppedAnswer);
}

}  // namespace kap
