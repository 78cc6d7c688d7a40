#include "session/AngleHistory.h"

#include "session/PanelState.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cmath>
#include <memory>

namespace kap {

QList<LampRow> plotLampRows(Family family)
{
    if (family == Family::PointInput)
        return {{3, QStringLiteral("READY")},  {2, QStringLiteral("BUSY")},
                {1, QStringLiteral("INPOS")},  {0, QStringLiteral("HOLD")},
                {13, QStringLiteral("Pos 0")}, {12, QStringLiteral("Pos 1")},
                {11, QStringLiteral("Pos 2")}, {10, QStringLiteral("Pos 3")},
                {9, QStringLiteral("Pos 4")},  {8, QStringLiteral("Pos 5")}};
    return {{3, QStringLiteral("READY")},      {2, QStringLiteral("ENABLE")},
            {1, QStringLiteral("INPOS/HOLD")}, {0, QStringLiteral("ZONE")},
            {13, QStringLiteral("ALR")},       {12, QStringLiteral("CCLR")},
            {11, QStringLiteral("BRK")},       {8, QStringLiteral("Pos 5")},
            {9, QStringLiteral("Pos 4")},      {10, QStringLiteral("Pos 3")}};
}

namespace {

AngleHistory::Clock monotonicClock()
{
    auto timer = std::make_shared<QElapsedTimer>();
    timer->start();
    return [timer] { return timer->elapsed(); };
}

quint16 lampMask(const PanelState& panel)
{
    quint16 mask = 0;
    for (int k = 0; k < PanelState::kLampCount; ++k)
        if (panel.lamp(k))
            mask |= quint16(1u << k);
    return mask;
}

}  // namespace

AngleHistory::AngleHistory(PanelState& panel, QObject* parent)
    : AngleHistory(panel, monotonicClock(), parent)
{
}

AngleHistory::AngleHistory(PanelState& panel, Clock clock, QObject* parent)
    : QObject(parent), panel_(panel), clock_(std::move(clock))
{
    lastStamp_ = clock_();
    lamps_.push_back({lastStamp_, lampMask(panel_)});
    connect(&panel_, &PanelState::angleRefreshed, this, &AngleHistory::addAngle);
    connect(&panel_, &PanelState::changed, this, &AngleHistory::checkLamps);
}

void AngleHistory::setLimits(qint64 keepMs, int maxEntries)
{
    keepMs_ = std::max<qint64>(keepMs, 1);
    maxEntries_ = std::max(maxEntries, 1);
    trim();
}

bool AngleHistory::readAngle(const QString& text, double* degrees)
{
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    // toDouble takes "nan" and "inf"; neither can be plotted, nor can a value far beyond any
    // angle (a garbled reply), whose axis would run out of double precision.
    if (!ok || !std::isfinite(v) || std::abs(v) > kMaxDegrees)
        return false;
    *degrees = v;
    return true;
}

qint64 AngleHistory::stamp()
{
    // The samples are searched by time, so they must stay in order whatever the clock does.
    lastStamp_ = std::max(lastStamp_, clock_());
    return lastStamp_;
}

void AngleHistory::addAngle(const QString& text)
{
    double degrees = 0;
    if (!readAngle(text, &degrees))
        return;
    samples_.push_back({stamp(), degrees});
    trim();
    emit sampleAdded();
}

void AngleHistory::checkLamps()
{
    const quint16 mask = lampMask(panel_);
    if (mask == lamps_.back().mask)
        return;
    lamps_.push_back({stamp(), mask});
    trim();
    emit lampsChanged();
}

void AngleHistory::trim()
{
    const qint64 cutoff = lastStamp_ - keepMs_;
    while (!samples_.empty()
           && (samples_.front().ms < cutoff || int(samples_.size()) > maxEntries_))
        samples_.pop_front();
    // The newest change at or before the cutoff stays: it is the state the kept span starts in.
    while (lamps_.size() > 1 && (lamps_[1].ms <= cutoff || int(lamps_.size()) > maxEntries_))
        lamps_.pop_front();
}

QList<AngleSample> AngleHistory::samples(qint64 fromMs, qint64 toMs) const
{
    const auto byTime = [](const AngleSample& s, qint64 t) { return s.ms < t; };
    const auto first = std::lower_bound(samples_.cbegin(), samples_.cend(), fromMs, byTime);
    QList<AngleSample> out;
    for (auto it = first; it != samples_.cend() && it->ms <= toMs; ++it)
        out.append(*it);
    return out;
}

quint16 AngleHistory::lampsAt(qint64 ms) const
{
    const auto after = std::upper_bound(lamps_.cbegin(), lamps_.cend(), ms,
                                        [](qint64 t, const LampChange& c) { return t < c.ms; });
    return after == lamps_.cbegin() ? lamps_.front().mask : std::prev(after)->mask;
}

QList<LampChange> AngleHistory::lampChanges(qint64 fromMs, qint64 toMs) const
{
    const auto first = std::upper_bound(lamps_.cbegin(), lamps_.cend(), fromMs,
                                        [](qint64 t, const LampChange& c) { return t < c.ms; });
    QList<LampChange> out;
    for (auto it = first; it != lamps_.cend() && it->ms <= toMs; ++it)
        out.append(*it);
    return out;
}

}  // namespace kap
