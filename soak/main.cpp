// kap-soak: the drive panel of the point-input window against the simulated controller on a
// pty, with the controller's random faults on, for a number of minutes. It drives Operation
// mode with the I/O monitor running, moves (Start), returns to origin broken off with the
// stop character (Stop while "@ORG " waits, and the STOP dialog's button) and jogs in teaching
// playback, clicking only buttons the panel offers. After every fault a further command must
// work; a watchdog ends the run when no exchange ends for longer than any exchange may take;
// the drive panel's invariants I1-I5 (Invariants.h) are checked throughout, and a breach is
// reported with the seed and the round it came in.
//   kap-soak [MINUTES] [--chaos PERCENT] [--seed N] [--time-scale S] [--motion MS]
// Exit status: 0 passed, 1 a criterion failed, 2 usage or set-up, 3 hang.
#include "Controller.h"
#include "FaultOption.h"
#include "Invariants.h"
#include "PtyServer.h"
#include "SimulatorThread.h"
#include "link/ProgramState.h"
#include "operation/Drive.h"
#include "operation/OperationSteps.h"
#include "operation/Teaching.h"
#include "platform/Dialogs.h"
#include "session/Session.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using C = kap::Command;

struct Args {
    double minutes = 10.0;
    double chaosPercent = 1.0;
    quint32 seed = 0;
    double timeScale = 1.0;
    int motionMs = 1000;  // long enough for a stop to meet the motion now and then
};

constexpr const char* kUsage =
    "usage: kap-soak [MINUTES] [--chaos PERCENT] [--seed N] [--time-scale S] [--motion MS]\n";

bool parseArgs(const QStringList& list, Args& a)
{
    bool minutesSeen = false;
    for (qsizetype i = 0; i < list.size(); ++i) {
        const QString& arg = list[i];
        bool ok = true;
        const auto next = [&]() -> QString {
            ok = i + 1 < list.size();
            return ok ? list[++i] : QString();
        };
        if (arg == QLatin1String("--chaos")) {
            const QString v = next();
            a.chaosPercent = ok ? v.toDouble(&ok) : 0;
            ok = ok && a.chaosPercent >= 0 && a.chaosPercent <= 100;
        } else if (arg == QLatin1String("--seed")) {
            const QString v = next();
            a.seed = ok ? v.toUInt(&ok) : 0;
        } else if (arg == QLatin1String("--time-scale")) {
            const QString v = next();
            a.timeScale = ok ? v.toDouble(&ok) : 0;
            ok = ok && a.timeScale > 0 && a.timeScale <= 1;
        } else if (arg == QLatin1String("--motion")) {
            const QString v = next();
            a.motionMs = ok ? v.toInt(&ok) : 0;
            ok = ok && a.motionMs >= 0;
        } else if (!minutesSeen && !arg.startsWith(QLatin1Char('-'))) {
            a.minutes = arg.toDouble(&ok);
            ok = ok && a.minutes > 0;
            minutesSeen = true;
        } else {
            ok = false;
        }
        if (!ok)
            return false;
    }
    return true;
}

// Resident set size from /proc/self/statm (pages).
qint64 residentBytes()
{
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = f.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLongLong() * sysconf(_SC_PAGESIZE) : -1;
}

double mb(qint64 bytes)
{
    return double(bytes) / (1024.0 * 1024.0);
}

// Every question answered Yes, every box OK; the boxes are counted.
class YesDialogs : public kap::Dialogs {
public:
    kap::MsgAnswer message(const QString& text, const QString& title, kap::MsgIcon,
                           kap::MsgButtons buttons) override
    {
        ++boxes;
        if (buttons != kap::MsgButtons::Ok)
            return kap::MsgAnswer::Yes;
        ++notices[title + QStringLiteral(": ") + text];
        return kap::MsgAnswer::Ok;
    }
    void beep() override {}
    QString saveFileName(const kap::FileDialogOptions&) override { return {}; }
    QString openFileName(const kap::FileDialogOptions&) override { return {}; }
    bool choosePrinter(QPrinter&) override { return false; }
    int boxes = 0;
    QMap<QString, int> notices;  // the OK boxes, by title and text
};

using Clock = std::chrono::steady_clock;

// Ends the process when no exchange has ended for limitMs, or when the run overstays.
class Watchdog {
public:
    Watchdog(qint64 limitMs, qint64 runLimitMs) : limitMs_(limitMs), runLimitMs_(runLimitMs)
    {
        start_ = lastEnd_ = Clock::now();
        thread_ = std::thread([this] { watch(); });
    }
    ~Watchdog()
    {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            stop_ = true;
        }
        wake_.notify_all();
        thread_.join();
    }
    void exchangeEnded()
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        lastEnd_ = Clock::now();
    }
    void lineSent(const QString& line)
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        lastLine_ = kap::visibleControls(line).toStdString();
    }

private:
    static qint64 msSince(Clock::time_point t)
    {
        return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - t).count();
    }
    void watch()
    {
        std::unique_lock<std::mutex> lock(mutex_);
        while (!wake_.wait_for(lock, std::chrono::milliseconds(250), [this] { return stop_; })) {
            const qint64 quiet = msSince(lastEnd_);
            if (quiet > limitMs_)
                die("no exchange has ended for %lld ms (limit %lld ms); last line sent: %s", quiet,
                    limitMs_);
            if (msSince(start_) > runLimitMs_)
                die("the run has not ended %lld ms after its start (limit %lld ms); last line "
                    "sent: %s",
                    msSince(start_), runLimitMs_);
        }
    }
    [[noreturn]] void die(const char* format, qint64 a, qint64 b)
    {
        std::fprintf(stderr, "kap-soak: FAIL: hang: ");
        std::fprintf(stderr, format, static_cast<long long>(a), static_cast<long long>(b),
                     lastLine_.c_str());
        std::fprintf(stderr, "\n");
        std::fflush(stderr);
        std::_Exit(3);
    }

    const qint64 limitMs_;
    const qint64 runLimitMs_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false;
    Clock::time_point start_;
    Clock::time_point lastEnd_;
    std::string lastLine_;
    std::thread thread_;
};

// Times every exchange of the session's link, from its line to the end of the wait, against
// the longest time-out in force meanwhile plus the error-line bound.
class ExchangeMeter : public QObject {
public:
    ExchangeMeter(kap::Session& s, Watchdog& watchdog, double timeScale)
        : s_(s), watchdog_(watchdog), timeScale_(timeScale)
    {
        clock_.start();
        kap::Link& link = s.link();
        connect(&link, &kap::Link::lineSent, this, [this](const QString& line) {
            watchdog_.lineSent(line);
            if (open_)
                return;  // the stop character written while a motion waits
            open_ = true;
            line_ = line;
            start_ = clock_.elapsed();
            longestTimeout_ = s_.link().timeout().ms();
        });
        connect(&link.timeout(), &kap::ReplyTimeout::changed, this, [this] {
            if (open_)
                longestTimeout_ = std::max(longestTimeout_, s_.link().timeout().ms());
        });
        connect(&s_.programState(), &kap::ProgramState::busyCleared, this, [this] { ended(); });
    }

    int exchanges = 0;
    qint64 longestMs = 0;
    QString longestLine;
    int overruns = 0;
    QString firstOverrun;

private:
    void ended()
    {
        if (!open_)
            return;
        open_ = false;
        ++exchanges;
        watchdog_.exchangeEnded();
        const qint64 ms = clock_.elapsed() - start_;
        if (ms > longestMs) {
            longestMs = ms;
            longestLine = kap::visibleControls(line_);
        }
        // The bound of the wait, and a little for a busy machine's scheduling.
        const double bound = (double(longestTimeout_) + kap::Link::kErrorLineBoundMs) * timeScale_
                             + 500.0;
        if (double(ms) > bound) {
            if (overruns++ == 0)
                firstOverrun = QStringLiteral("%1 took %2 ms, bound %3 ms")
                                   .arg(kap::visibleControls(line_))
                                   .arg(ms)
                                   .arg(qRound(bound));
        }
    }

    kap::Session& s_;
    Watchdog& watchdog_;
    double timeScale_;
    QElapsedTimer clock_;
    bool open_ = false;
    QString line_;
    qint64 start_ = 0;
    float longestTimeout_ = 0;
};

// Runs action once from the event loop, no earlier than afterMs from now and only while
// ready() holds: a click on a button at a moment the user could make it. Dies with its scope.
class Click {
public:
    Click(int afterMs, std::function<bool()> ready, std::function<void()> action)
        : ready_(std::move(ready)), action_(std::move(action))
    {
        clock_.start();
        poll_.setInterval(10);
        QObject::connect(&poll_, &QTimer::timeout, [this, afterMs] {
            if (clock_.elapsed() < afterMs || !ready_())
                return;
            poll_.stop();
            fired = true;
            action_();
        });
        poll_.start();
    }
    bool fired = false;
    void cancel() { poll_.stop(); }

private:
    std::function<bool()> ready_;
    std::function<void()> action_;
    QElapsedTimer clock_;
    QTimer poll_;
};

class Soak : public QObject {
public:
    Soak(const Args& args, kap::Session& s, sim::SimulatorThread& simulator, ExchangeMeter& meter)
        : args_(args), s_(s), sim_(simulator), meter_(meter),
          random_(args.seed != 0 ? args.seed + 1 : QRandomGenerator::global()->generate()),
          invariants_(
              s,
              [this] {
                  bool moving = false;
                  sim_.run([&] { moving = sim_.controller().moving(); });
                  return moving;
              },
              [this] { return dialogs().boxes; })
    {
        connect(&simulator.controller(), &sim::Controller::chaosInjected, this, [this](int kind) {
            ++injected_[kind];
            ++pending_;
        });
        // The replies come from the simulator's thread, in the order they went out.
        connect(&simulator.controller(), &sim::Controller::replySent, this,
                [this](int, const QByteArray& entry, const QByteArray& bytes) {
                    invariants_.addReply(entry, bytes);
                });
        // Checked four times a second; a breach is reported with the round it came in.
        invariantTimer_.setInterval(250);
        connect(&invariantTimer_, &QTimer::timeout, this, [this] { checkInvariants(); });
    }

    int run()
    {
        const qint64 runMs = qint64(args_.minutes * 60000.0);
        // The resident size at every tenth of ten minutes (every minute; a shorter run every
        // tenth of its length). The first settles the tool (the allocator, the first log
        // lines); the judged one is ten such steps on (minute 10, or the end of a shorter
        // run) and must lie within 2 MB of it. Later samples are printed, not judged: the
        // log and the angle history keep filling their bounded stores for a while.
        const bool memoryCheck = runMs >= 120000;
        const qint64 checkpointMs = std::min<qint64>(60000, runMs / 10);
        std::vector<qint64> rssSeries;
        QTimer sampler;
        sampler.setInterval(int(checkpointMs));
        connect(&sampler, &QTimer::timeout, this, [&] { rssSeries.push_back(residentBytes()); });
        sampler.start();
        QElapsedTimer clock;
        clock.start();
        kap::operation::attach(s_);
        invariantTimer_.start();
        while (clock.elapsed() < runMs && failure_.isEmpty())
            round(clock, runMs);
        if (s_.drive().operationMode)
            kap::operation::EnterSettingMode(s_);
        invariantTimer_.stop();
        // Faults of the last steps: their notes are on their way from the simulator's thread.
        pause(300);
        for (int i = 0; i < 10 && pending_ > 0 && failure_.isEmpty(); ++i)
            checkRecovered();
        invariants_.finish();
        checkInvariants();
        sampler.stop();
        const qint64 rssEnd = residentBytes();
        const qint64 rssCheckpoint = rssSeries.empty() ? -1 : rssSeries.front();
        const qint64 rssJudged = rssSeries.size() > 9 ? rssSeries.at(9) : rssEnd;

        sim::Controller& c = sim_.controller();
        int simTotal = 0;
        QString simSummary;
        quint32 seed = 0;
        sim_.run([&] {
            simTotal = c.chaosTotal();
            simSummary = sim::chaosSummary(c);
            seed = c.chaosSeed();
        });
        int injected = 0;
        for (const int n : injected_)
            injected += n;

        if (failure_.isEmpty() && meter_.overruns > 0)
            failure_ = QStringLiteral("%1 exchanges overran their time-out; first: %2")
                           .arg(meter_.overruns)
                           .arg(meter_.firstOverrun);
        if (failure_.isEmpty() && recovered_ != injected)
            failure_ = QStringLiteral("%1 of %2 faults left the tool unusable")
                           .arg(injected - recovered_)
                           .arg(injected);
        const qint64 growth = rssJudged - rssCheckpoint;
        if (failure_.isEmpty() && memoryCheck && (rssCheckpoint < 0 || growth > 2LL * 1024 * 1024))
            failure_ = QStringLiteral("resident size grew by %1 MB after the checkpoint")
                           .arg(mb(growth), 0, 'f', 2);

        const double minutes = double(clock.elapsed()) / 60000.0;
        std::printf("kap-soak: %.1f minutes, chaos %g %% (seed %u), time scale %g\n", minutes,
                    args_.chaosPercent, unsigned(seed), args_.timeScale);
        std::printf("  exchanges          %d (longest %lld ms: %s)\n", meter_.exchanges,
                    static_cast<long long>(meter_.longestMs), qPrintable(meter_.longestLine));
        std::printf("  overran time-out   %d\n", meter_.overruns);
        std::printf("  faults injected    %d (%s)\n", simTotal, qPrintable(simSummary));
        std::printf("  faults recovered   %d\n", recovered_);
        std::printf(
            "  actions            %d rounds, %d moves, %d returns, %d stops, %d STOP dialog "
            "presses, %d jogs\n",
            rounds_, moves_, returns_, stops_, dialogStops_, jogs_);
        std::printf("  invariants I1-I5   %s\n",
                    breaches_.isEmpty()
                        ? "held"
                        : qPrintable(QStringLiteral("%1 breaches").arg(breaches_.size())));
        for (const QString& b : breaches_)
            std::printf("    %s\n", qPrintable(b));
        std::printf("  boxes shown        %d, questions included\n", dialogs().boxes);
        for (auto it = dialogs().notices.cbegin(); it != dialogs().notices.cend(); ++it)
            std::printf("    %4d x %s\n", it.value(), qPrintable(it.key()));
        if (memoryCheck) {
            const double step = double(checkpointMs) / 60000.0;
            std::printf("  resident size      %.2f MB at %.1f min, %.2f MB at %.1f min (%+.2f MB, "
                        "limit +2 MB); %.2f MB at the end\n",
                        mb(rssCheckpoint), step, mb(rssJudged),
                        rssSeries.size() > 9 ? 10 * step : minutes, mb(growth), mb(rssEnd));
            QString series;
            for (size_t i = 0; i < rssSeries.size(); i += 5)
                series += QStringLiteral(" %1:%2")
                              .arg(double(i + 1) * step, 0, 'f', 1)
                              .arg(mb(rssSeries[i]), 0, 'f', 2);
            std::printf("  resident series    (min:MB)%s; log lines kept %d\n", qPrintable(series),
                        int(s_.link().log().size()));
        } else
            std::printf("  resident size      %.2f MB at the end (not judged: the run is shorter "
                        "than 2 minutes)\n",
                        mb(rssEnd));
        if (!breaches_.isEmpty() && failure_.isEmpty())
            failure_ = QStringLiteral("invariants breached (seed %1); first: %2")
                           .arg(seed)
                           .arg(breaches_.first());
        if (simTotal != injected && failure_.isEmpty())
            failure_ = QStringLiteral("the simulator counted %1 faults, the soak %2")
                           .arg(simTotal)
                           .arg(injected);
        if (!failure_.isEmpty()) {
            std::printf("FAIL: %s\n", qPrintable(failure_));
            return 1;
        }
        std::printf("PASS\n");
        return 0;
    }

private:
    YesDialogs& dialogs() { return static_cast<YesDialogs&>(s_.dialogs()); }

    int between(int low, int high) { return int(random_.bounded(low, high + 1)); }
    bool coin(int percent) { return int(random_.bounded(100)) < percent; }

    static void pause(int ms)
    {
        QEventLoop wait;
        QTimer::singleShot(ms, &wait, &QEventLoop::quit);
        wait.exec();
    }

    void checkInvariants()
    {
        invariants_.check();
        const QStringList& all = invariants_.breaches();
        for (qsizetype i = reported_; i < all.size(); ++i)
            breaches_ << QStringLiteral("round %1, %2 s: %3")
                             .arg(rounds_)
                             .arg(double(runClock_.elapsed()) / 1000.0, 0, 'f', 1)
                             .arg(all[i]);
        reported_ = all.size();
    }

    bool linkIdle() const
    {
        return !s_.programState().busy() && !s_.link().waitingCommand()
               && !s_.drive().motionInProgress;
    }

    // After faults: the tool is idle again and a further command ("@?POS ") works. A probe
    // may meet a fault of its own, or the line being reopened, so it gets a few tries.
    void checkRecovered()
    {
        if (pending_ == 0)
            return;
        for (int attempt = 0; attempt < 6; ++attempt) {
            if (!linkIdle()) {
                failure_ = QStringLiteral(
                               "after a fault the tool is not idle (busy %1, waiting %2, "
                               "motion %3)")
                               .arg(s_.programState().busy())
                               .arg(s_.link().waitingCommand().value_or(-1))
                               .arg(s_.drive().motionInProgress);
                return;
            }
            const int before = pending_;
            if (kap::operation::RefreshCurrentAngle(s_)) {
                // Faults noted during the probe may have hit it; they get a probe of their own.
                recovered_ += before;
                pending_ -= before;
                return;
            }
            pause(300);
        }
        failure_ = QStringLiteral("a further \"@?POS \" failed six times after a fault");
    }

    bool timeUp(const QElapsedTimer& clock, qint64 runMs)
    {
        checkRecovered();
        return clock.elapsed() >= runMs || !failure_.isEmpty();
    }

    void round(const QElapsedTimer& clock, qint64 runMs)
    {
        ++rounds_;
        sim_.run([this] { sim_.controller().clearReceived(); });
        if (rounds_ % 2 == 0) {
            playback();
            if (timeUp(clock, runMs))
                return;
        }
        kap::operation::EnterOperationMode(s_);
        if (timeUp(clock, runMs) || !s_.drive().operationMode)
            return;
        pause(between(700, 2500));  // the monitor's cycles
        if (timeUp(clock, runMs))
            return;
        if (s_.panel().enabled(C::Start))
            start();
        if (timeUp(clock, runMs))
            return;
        pause(between(200, 1500));
        if (timeUp(clock, runMs))
            return;
        if (s_.panel().enabled(C::ReturnToOrigin))
            org();
        if (timeUp(clock, runMs))
            return;
        pause(between(200, 1500));
        timeUp(clock, runMs);
        kap::operation::EnterSettingMode(s_);
    }

    // Stop, clicked while the panel offers it and a line waits for its answer.
    std::unique_ptr<Click> stopClick(int afterMs, std::optional<qint16> during)
    {
        return std::make_unique<Click>(
            afterMs,
            [this, during] {
                const auto waiting = s_.link().waitingCommand();
                return s_.panel().enabled(C::Stop) && waiting && (!during || waiting == during);
            },
            [this] {
                ++stops_;
                kap::operation::PressStop(s_);
                invariants_.stopTaken();
                kap::operation::Stop(s_);
            });
    }

    void start()
    {
        ++moves_;
        std::unique_ptr<Click> stop;
        if (coin(40))
            stop = stopClick(between(0, args_.motionMs + 300), std::nullopt);
        kap::operation::PressStart(s_);
        kap::operation::Start(s_);
    }

    void org()
    {
        ++returns_;
        std::unique_ptr<Click> stop;
        if (coin(60))
            stop = stopClick(between(0, args_.motionMs + 300), kap::cmd::ORG);
        kap::operation::PressOrg(s_);
        kap::operation::Org(s_);
    }

    // Teaching playback: its return to origin (sometimes broken off with the STOP dialog),
    // then a few jogs, short clicks and held, and back to numeric input.
    void playback()
    {
        kap::TeachingState& f = s_.teachingState();
        kap::PanelState& p = s_.panel();
        Click stopDialog(
            between(0, args_.motionMs + 300), [&p] { return p.stopDialogShown(); },
            [this] {
                ++dialogStops_;
                invariants_.stopTaken();
                kap::operation::PressStopDialog(s_);
            });
        if (!coin(50))
            stopDialog.cancel();  // not this time
        const int jogCount = between(1, 3);
        int jogsDone = 0;
        bool pressed = false;
        QElapsedTimer phase;
        phase.start();
        int waitMs = between(50, 400);
        QElapsedTimer inLoop;
        QTimer script;
        script.setInterval(20);
        QObject::connect(&script, &QTimer::timeout, [&] {
            if (f.inputMode != 3 || !p.enabled(C::JogCw))
                return;  // the loop has not started (or has ended)
            if (!inLoop.isValid())
                inLoop.start();
            if (inLoop.elapsed() > 20000) {
                // A script that lost its way must not keep the round going for ever.
                kap::operation::ReleaseJog(s_);
                script.stop();
                kap::operation::ChooseInputMode(s_, 0);
                return;
            }
            if (phase.elapsed() < waitMs)
                return;
            phase.restart();
            if (!pressed && jogsDone < jogCount) {
                ++jogs_;
                pressed = true;
                kap::operation::PressJog(s_, coin(50));
                waitMs = coin(50) ? between(0, 100) : between(300, 1200);  // click or hold
            } else if (pressed) {
                pressed = false;
                ++jogsDone;
                if (f.jogSteps >= 4)
                    invariants_.stopTaken();
                kap::operation::ReleaseJog(s_);
                waitMs = between(100, 500);
            } else {
                script.stop();
                kap::operation::ChooseInputMode(s_, 0);
            }
        });
        script.start();
        kap::operation::ChooseInputMode(s_, 2);
        // The loop runs on the session's timer until the script chooses numeric input.
        while (f.loop != kap::TeachingLoop::Off)
            pause(20);
        script.stop();
        if (f.inputMode == 3 || p.inputOption() != 0)
            kap::operation::ChooseInputMode(s_, 0);  // the loop ended early (its return failed)
    }

    const Args& args_;
    kap::Session& s_;
    sim::SimulatorThread& sim_;
    ExchangeMeter& meter_;
    QRandomGenerator random_;
    std::array<int, sim::kFaultKindCount> injected_{};
    int pending_ = 0;
    int recovered_ = 0;
    QString failure_;
    int rounds_ = 0, moves_ = 0, returns_ = 0, stops_ = 0, dialogStops_ = 0, jogs_ = 0;
    kap::InvariantMonitor invariants_;
    QTimer invariantTimer_;
    QStringList breaches_;
    qsizetype reported_ = 0;
    QElapsedTimer runClock_ = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
};

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    Args args;
    if (!parseArgs(app.arguments().mid(1), args)) {
        std::fprintf(stderr, "%s", kUsage);
        return 2;
    }
    // Nothing of the user's: the settings file and the port's link live in a scratch folder.
    QTemporaryDir scratch;
    if (!scratch.isValid()) {
        std::fprintf(stderr, "kap-soak: no scratch folder: %s\n",
                     qPrintable(scratch.errorString()));
        return 2;
    }
    kap::ProgramState state;
    state.programFolder = scratch.path();
    // QSerialPort locks a device by its file name: a name of this run's own.
    const QString linkPath =
        scratch.filePath(QStringLiteral("tty") + QFileInfo(scratch.path()).fileName());

    sim::Options options;
    options.family = 0;
    options.pacing = true;
    options.motionMs = args.motionMs;
    options.chaosPercent = args.chaosPercent;
    options.chaosSeed = args.seed;
    // A point to move to; the link keeps its path when a fault closes and reopens the line.
    sim::SimulatorThread simulator(
        options,
        [](sim::Controller& c) {
            c.points[0] = {"A", "90.00", "50"};
        },
        linkPath);
    if (!simulator.started()) {
        std::fprintf(stderr, "kap-soak: the simulator did not start: %s\n",
                     qPrintable(simulator.errorString()));
        return 2;
    }
    qputenv("KAP_COM1", linkPath.toLocal8Bit());
    state.portName = QStringLiteral("COM1");

    // The longest wait an exchange may have: the return to origin, then its error line.
    const qint64 longestMs =
        qint64((kap::operation::timeouts::kReturnToOrigin + kap::Link::kErrorLineBoundMs)
               * args.timeScale);
    // Never below the soak's own quiet spells (a paused monitor, a held jog) on short scales.
    Watchdog watchdog(std::max<qint64>(longestMs + 1000, 5000),
                      qint64(args.minutes * 60000.0) + 2 * longestMs + 60000);

    YesDialogs dialogs;
    kap::Session session(kap::Family::PointInput, dialogs, state);
    session.setTimeScale(args.timeScale);
    ExchangeMeter meter(session, watchdog, args.timeScale);
    Soak soak(args, session, simulator, meter);
    return soak.run();
}
