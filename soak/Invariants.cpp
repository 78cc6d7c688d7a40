#include "Invariants.h"

#include "link/ExchangeLog.h"
#include "link/Link.h"
#include "session/CommandOffer.h"
#include "session/Session.h"

namespace kap {
namespace {

bool isRecordLine(const QByteArray& line)
{
    // Write-block records and the end-of-data byte: the controller may stay silent to them.
    return line.startsWith('P') || line.startsWith('Z') || line == "\x1a";
}

const QByteArray kBreak("\x03");

}  // namespace

QString motionBreach(const Session& s, const QString& line)
{
    const TeachingState& t = s.teachingState();
    const bool operation = s.drive().operationMode;
    const bool teaching = !operation && t.loop != TeachingLoop::Off
                          && (t.inputMode == 2 || t.inputMode == 3);
    bool allowed = true;
    if (line.startsWith(QLatin1String("@MOVP ")))
        allowed = operation;
    else if (line.startsWith(QLatin1String("@ORG ")))
        allowed = operation || teaching;
    else if (line.startsWith(QLatin1String("@X")))
        allowed = teaching && t.inputMode == 3;
    else
        return {};
    if (allowed && !s.operations().stopRequested())
        return {};
    return QStringLiteral("I1: %1 in %2 mode, input mode %3%4")
        .arg(visibleControls(line),
             operation ? QStringLiteral("Operation") : QStringLiteral("Setting"))
        .arg(t.inputMode)
        .arg(s.operations().stopRequested() ? QStringLiteral(", after Stop") : QString());
}

InvariantMonitor::InvariantMonitor(Session& s, std::function<bool()> moving,
                                   std::function<int()> boxesShown, int graceMs)
    : s_(s), moving_(std::move(moving)), boxes_(std::move(boxesShown)), graceMs_(graceMs)
{
    clock_.start();
    connect(&s.link(), &Link::lineSent, this, &InvariantMonitor::onLineSent);
    connect(&s.link().log(), &ExchangeLog::entryRecorded, this, &InvariantMonitor::onEntry);
    connect(&s.operations(), &OperationTracker::changed, this,
            &InvariantMonitor::onOperationsChanged);
    // A failure that the operation's own silence covers by its end (the user pressed Stop
    // meanwhile) was meant to stay quiet.
    connect(&s.operations(), &OperationTracker::ending, this, [this] {
        const LinkErrorSilence& q = s_.silence();
        if (q.settingMode || q.stopPressed || q.motion || q.closing
            || s_.operations().stopRequested())
            failures_.clear();
    });
}

void InvariantMonitor::breach(const QString& what)
{
    if (breaches_.size() < 20)
        breaches_ << what;
}

void InvariantMonitor::addReply(const QByteArray& entry, const QByteArray& bytes)
{
    stream_ += bytes;
    streamEntry_ << entry;
    chunkEnd_ << stream_.size();
}

void InvariantMonitor::stopTaken()
{
    stops_ << PendingStop{clock_.elapsed(), boxes_(), motionsSent_};
}

void InvariantMonitor::onLineSent(const QString& line)
{
    const QString wrong = motionBreach(s_, line);
    if (!wrong.isEmpty())
        breach(wrong);
    if (line.startsWith(QLatin1String("@MOVP ")) || line.startsWith(QLatin1String("@ORG "))
        || line.startsWith(QLatin1String("@X")))
        ++motionsSent_;
}

void InvariantMonitor::onEntry(const ExchangeEntry& e)
{
    using Kind = ExchangeEntry::Kind;
    switch (e.kind) {
    case Kind::Sent:
        currentLine_ = e.bytes;
        currentBroken_ = false;
        return;
    case Kind::Break:
        currentBroken_ = true;
        return;
    case Kind::Stray:
        reads_ << Read{{}, false, e.bytes};
        return;
    case Kind::Received:
        reads_ << Read{currentLine_, currentBroken_, e.bytes};
        return;
    case Kind::Timeout:
    case Kind::LineLost:
    case Kind::PortError:
        if (e.kind != Kind::PortError)
            reads_ << Read{currentLine_, currentBroken_, e.bytes};
        if (e.kind == Kind::Timeout && e.bytes.isEmpty() && isRecordLine(currentLine_))
            return;  // a record the controller does not answer
        {
            const LinkErrorSilence& q = s_.silence();
            if (q.settingMode || q.stopPressed || q.motion || q.closing)
                return;  // inside the running operation's silence
            failures_ << PendingFailure{
                boxes_(), QStringLiteral("%1 of %2")
                              .arg(e.kind == Kind::Timeout    ? "time-out"
                                   : e.kind == Kind::LineLost ? "lost line"
                                                              : "port error",
                                   visibleControls(QString::fromLatin1(currentLine_)))};
        }
        return;
    }
}

void InvariantMonitor::onOperationsChanged()
{
    if (!s_.operations().stack().isEmpty())
        return;
    // The operation has ended: each failure in it has had its box by now.
    for (const PendingFailure& f : failures_) {
        if (boxes_() <= f.boxes)
            breach(QStringLiteral("I3: %1 shown to nobody").arg(f.what));
    }
    failures_.clear();
}

void InvariantMonitor::checkReplies(bool final)
{
    while (!reads_.isEmpty()) {
        const Read& r = reads_.first();
        if (r.bytes.isEmpty()) {
            reads_.removeFirst();
            continue;
        }
        qsizetype at = consumed_;
        if (stream_.mid(at, r.bytes.size()) != r.bytes) {
            // Bytes the port discarded unread (a flush) are skipped.
            at = stream_.indexOf(r.bytes, consumed_);
            if (at < 0) {
                if (!final)
                    return;  // the controller's side has not told of them yet
                breach(QStringLiteral("I4: %1 read bytes the controller never sent: %2")
                           .arg(visibleControls(QString::fromLatin1(r.line)),
                                visibleControls(QString::fromLatin1(r.bytes))));
                reads_.removeFirst();
                continue;
            }
        }
        const qsizetype end = at + r.bytes.size();
        if (!r.line.isEmpty()) {
            for (qsizetype i = 0, start = 0; i < chunkEnd_.size(); start = chunkEnd_[i++]) {
                if (chunkEnd_[i] <= at || start >= end)
                    continue;
                const QByteArray& entry = streamEntry_[i];
                if (entry != r.line && !(r.broken && entry == kBreak))
                    breach(QStringLiteral("I4: the answer to %1 was read by %2 (read %3; before "
                                          "it: %4)")
                               .arg(visibleControls(QString::fromLatin1(entry)),
                                    visibleControls(QString::fromLatin1(r.line)),
                                    visibleControls(QString::fromLatin1(r.bytes)),
                                    lastReads_.join(QStringLiteral(" | "))));
            }
        }
        consumed_ = end;
        lastReads_ << visibleControls(QString::fromLatin1(r.line)) + QStringLiteral(" <- ")
                          + visibleControls(QString::fromLatin1(r.bytes));
        if (lastReads_.size() > 4)
            lastReads_.removeFirst();
        reads_.removeFirst();
    }
    // What has been read is checked: a long run keeps only the rest.
    qsizetype done = 0;
    while (done < chunkEnd_.size() && chunkEnd_[done] <= consumed_)
        ++done;
    if (done < 256)
        return;
    const qsizetype cut = chunkEnd_[done - 1];
    stream_.remove(0, cut);
    streamEntry_.remove(0, done);
    chunkEnd_.remove(0, done);
    for (qsizetype& e : chunkEnd_)
        e -= cut;
    consumed_ -= cut;
}

void InvariantMonitor::checkStops(bool final)
{
    const qint64 now = clock_.elapsed();
    while (!stops_.isEmpty() && (final || now - stops_.first().at >= graceMs_)) {
        const PendingStop p = stops_.takeFirst();
        if (motionsSent_ != p.motions)
            continue;  // a new motion began since: this stop cannot be judged
        if (moving_() && boxes_() == p.boxes)
            breach(QStringLiteral("I2: still moving %1 ms after a stop, and nothing said")
                       .arg(now - p.at));
    }
}

void InvariantMonitor::checkWayBack()
{
    if (!s_.operations().idle())
        return;  // a running operation ends by itself (every wait has its time-out)
    const bool back =
        commandOffered(s_, Command::SettingMode)
        || (!s_.drive().operationMode
            && (s_.teachingState().loop == TeachingLoop::Off || inputOptionOffered(s_, 0)));
    if (!back)
        breach(QStringLiteral("I5: no way back to Setting mode (%1 mode, teaching %2)")
                   .arg(s_.drive().operationMode ? "Operation" : "Setting")
                   .arg(int(s_.teachingState().loop)));
}

void InvariantMonitor::check()
{
    checkReplies(false);
    checkStops(false);
    checkWayBack();
}

void InvariantMonitor::finish()
{
    onOperationsChanged();
    checkReplies(true);
    checkStops(true);
    checkWayBack();
}

}  // namespace kap
