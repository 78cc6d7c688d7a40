// The recent course of the drive panel: every current-angle refresh as a sample, and the 14
// lamps as a bit mask each time one of them turns on or off. The angle plot draws from it;
// it keeps only the last few minutes so a session left running for days stays small.
#pragma once

#include "data/ActuatorTypes.h"

#include <QList>
#include <QObject>
#include <QString>

#include <deque>
#include <functional>

namespace kap {

class PanelState;

struct AngleSample {
    qint64 ms;  // on the history's monotonic clock
    double degrees;
};

struct LampChange {
    qint64 ms;
    quint16 mask;  // bit k: lamp k lit
};

struct LampRow {
    int index;  // lamp index in PanelState
    QString caption;
};

// The lamps a family's panel shows, top to bottom as the plot lists them.
QList<LampRow> plotLampRows(Family family);

class AngleHistory : public QObject {
    Q_OBJECT
public:
    // Milliseconds on a clock that never runs backwards.
    using Clock = std::function<qint64()>;

    static constexpr qint64 kDefaultKeepMs = 10LL * 60 * 1000;
    static constexpr int kDefaultMaxEntries = 30000;

    explicit AngleHistory(PanelState& panel, QObject* parent = nullptr);
    // With a clock of the caller's own (tests step it instead of sleeping).
    AngleHistory(PanelState& panel, Clock clock, QObject* parent = nullptr);

    qint64 now() const { return clock_(); }

    // How much is kept: entries older than keepMs before the newest are dropped, and at most
    // maxEntries samples (and as many lamp changes).
    void setLimits(qint64 keepMs, int maxEntries);

    int sampleCount() const { return int(samples_.size()); }
    // The samples with fromMs <= ms <= toMs, oldest first.
    QList<AngleSample> samples(qint64 fromMs, qint64 toMs) const;
    // The newest sample, if any.
    const AngleSample* latest() const { return samples_.empty() ? nullptr : &samples_.back(); }

    // The lamp mask in force at ms; before the first record, the earliest known mask.
    quint16 lampsAt(qint64 ms) const;
    // The lamp changes with fromMs < ms <= toMs, oldest first.
    QList<LampChange> lampChanges(qint64 fromMs, qint64 toMs) const;
    int lampChangeCount() const { return int(lamps_.size()); }

    // Readings beyond this size are taken as garbled, not as angles.
    static constexpr double kMaxDegrees = 1e9;
    // "76.56" -> 76.56; text that is not a finite number within kMaxDegrees -> false.
    static bool readAngle(const QString& text, double* degrees);

signals:
    void sampleAdded();
    void lampsChanged();

private:
    void addAngle(const QString& text);
    void checkLamps();
    qint64 stamp();
    void trim();

    PanelState& panel_;
    Clock clock_;
    qint64 lastStamp_ = 0;
    qint64 keepMs_ = kDefaultKeepMs;
    int maxEntries_ = kDefaultMaxEntries;
    std::deque<AngleSample> samples_;
    std::deque<LampChange> lamps_;  // never empty: the first entry is the state at the start
};

}  // namespace kap
