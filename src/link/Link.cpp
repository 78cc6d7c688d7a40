#include "Link.h"

#include "Module1.h"
#include "SerialLine.h"
#include "WindowSide.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <cmath>
#include <memory>

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

bool isValidPortName(const QString& name)
{
    return name.size() == 4 && name.startsWith(QLatin1String("COM")) && name.at(3) >= QLatin1Char('1')
           && name.at(3) <= QLatin1Char('8');
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

}  // namespace

bool HasReplyWord(const QString& text)
{
    for (const char* word : {"OK\r\n", "NG\r\n", "STOP\r\n", "READY\r\n"}) {
        if (text.contains(QLatin1String(word)))
            return true;
    }
    return false;
}

QString ErrorLineOf(const QString& reply, bool* found)
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

Link::Link(SerialLine& line, ReplyTimeout& timeout, WindowSide* side, Variant variant)
    : line_(line), timeout_(timeout), side_(side), variant_(variant),
      alive_(std::make_shared<bool>(true))
{
}

Link::~Link()
{
    *alive_ = false;
}

void Link::waitWhileBusy()
{
    Module1& m = module1();
    const auto alive = alive_;
    while (m.busy() && *alive) {
        QEventLoop wait;
        bool cleared = false;
        QObject::connect(&m, &Module1::busyCleared, &wait, [&] {
            cleared = true;
            wait.quit();
        });
        wait.exec();
        if (!cleared)
            break;  // the application is leaving its event loops
    }
}

void Link::BuildCommand()
{
    if (variant_ == Variant::MainWindow)
        waitWhileBusy();
    request.BuildCommand(variant_ == Variant::Startup);
}

Outcome Link::RunTransaction()
{
    const bool mainWindow = variant_ == Variant::MainWindow;
    const auto alive = alive_;
    Module1& m = module1();
    if (mainWindow)
        waitWhileBusy();
    if (!*alive)
        return {};

    Outcome out;
    line_.close();
    if (!isValidPortName(m.portName))
        m.portName = QStringLiteral("COM1");

    const auto store = [this, &out] {
        reply = out.reply;
        Timeout = out.Timeout;
    };
    if (!line_.open(m.portName)) {
        out.lineFailed = true;
        store();
        return out;
    }
    line_.discardBuffers();
    if (mainWindow) {
        m.setBusy(true);
        if (side_)
            side_->showComS(request.line);
    }

    // The whole exchange is driven by arriving bytes and timers; the wait below only sleeps.
    QEventLoop loop;
    QObject context;
    QTimer deadlineTimer;
    QTimer errorLineTimer;
    deadlineTimer.setSingleShot(true);
    deadlineTimer.setTimerType(Qt::PreciseTimer);
    errorLineTimer.setSingleShot(true);

    enum class Phase { Collect, ErrorLine, Done } phase = Phase::Collect;
    const double sendTime = nowMs();
    double lastRead = sendTime;
    qsizetype headLength = -1;
    const auto deadline = [&] { return sendTime + double(timeout_.ms()); };

    // Steps after the reply is complete (or the line failed). They run right where the
    // exchange ends, not after the wait returns, so a command queued behind the busy flag in
    // a nested handler can go out at once.
    const auto finish = [&](bool lost) {
        if (phase == Phase::Done)
            return;
        phase = Phase::Done;
        deadlineTimer.stop();
        errorLineTimer.stop();
        out.lineFailed = lost;
        if (!*alive) {  // the window went away during the wait: touch nothing of it
            if (mainWindow)
                m.setBusy(false);
            loop.quit();
            return;
        }
        if (!lost) {
            if (mainWindow && side_) {
                side_->showComR(out.reply);
                bool found = false;
                const QString error = ErrorLineOf(out.reply, &found);
                if (found)
                    side_->showError(error);
            }
            out.Timeout = lastRead > deadline();
        }
        line_.close();
        store();
        if (mainWindow)
            m.setBusy(false);
        loop.quit();
    };

    const auto pump = [&] {
        if (phase == Phase::Done)
            return;
        const QByteArray got = line_.readAvailable();
        if (phase == Phase::ErrorLine) {
            out.reply += QString::fromLatin1(got);
            if (out.reply.indexOf(QLatin1String("\r\n"), headLength) >= 0)
                finish(false);
            return;
        }
        out.reply += QString::fromLatin1(got);
        lastRead = nowMs();
        if (HasReplyWord(out.reply)) {
            headLength = errorHeadLength(out.reply);
            if (headLength >= 0 && out.reply.indexOf(QLatin1String("\r\n"), headLength) < 0) {
                // The controller sends its error line right after "NG" / "STOP"; wait for it,
                // past the deadline if need be, but not for ever.
                phase = Phase::ErrorLine;
                deadlineTimer.stop();
                errorLineTimer.start(kErrorLineBoundMs);
                return;
            }
            finish(false);
            return;
        }
        if (lastRead > deadline()) {
            finish(false);
            return;
        }
        deadlineTimer.start(int(std::ceil(deadline() - lastRead)) + 1);
    };

    QObject::connect(&line_, &SerialLine::bytesArrived, &context, pump);
    QObject::connect(&line_, &SerialLine::lineLost, &context, [&] { finish(true); });
    QObject::connect(&deadlineTimer, &QTimer::timeout, &context, pump);
    QObject::connect(&errorLineTimer, &QTimer::timeout, &context, [&] { finish(false); });
    QObject::connect(&timeout_, &ReplyTimeout::changed, &context, pump);

    if (!line_.write(request.line.toLatin1())) {
        finish(true);
    } else {
        pump();
        if (phase != Phase::Done)
            loop.exec();
        // Leaving the wait without an end means the application is shutting down.
        if (phase != Phase::Done && *alive)
            finish(true);
    }
    if (!*alive) {
        if (mainWindow && m.busy())
            m.setBusy(false);
        return out;
    }
    store();
    return out;
}

void Link::WriteBreakNow()
{
    if (!line_.isOpen())
        return;
    line_.discardBuffers();
    const QString breakLine(QChar::fromLatin1(kBreakByte));
    if (side_)
        side_->showComS(breakLine);
    line_.write(breakLine.toLatin1());
}

}  // namespace kap
