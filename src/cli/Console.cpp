#include "cli/Console.h"

#include "link/ExchangeLog.h"

#include <QMutexLocker>

#include <algorithm>

namespace kap::cli {

namespace {

constexpr int kBarWidth = 30;

}  // namespace

QString terminalSafe(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'\n' || u == u'\t')
            out += c;
        else if (u < 0x20)
            out += QLatin1Char('<') + controlName(static_cast<unsigned char>(u)) + QLatin1Char('>');
        else if (u == 0x7F)
            out += QLatin1String("<DEL>");
        else if (u >= 0x80 && u <= 0x9F)  // C1 controls: 0x9B starts a sequence as ESC [ does
            out += QStringLiteral("<%1>").arg(int(u), 2, 16, QLatin1Char('0')).toUpper();
        else
            out += c;
    }
    return out;
}

Console::Console(Sink out, Sink err, LineSource in, bool terminal, bool echo)
    : out_(std::move(out)), err_(std::move(err)), in_(std::move(in)), terminal_(terminal),
      echo_(echo)
{
}

int Console::addPort(const QString& label)
{
    QMutexLocker lock(&mutex_);
    Slot s;
    s.label = label;
    slots_.append(s);
    labelWidth_ = std::max(labelWidth_, int(label.size()));
    return int(slots_.size()) - 1;
}

void Console::writeErr(const QString& text)
{
    err_(text.toUtf8());
}

void Console::say(int slot, const QString& text)
{
    QMutexLocker lock(&mutex_);
    eraseBars();
    writeErr(terminalSafe(slots_.at(slot).label + QStringLiteral(": ") + text) + QLatin1Char('\n'));
    drawBars();
}

void Console::sayPlain(const QString& text)
{
    QMutexLocker lock(&mutex_);
    eraseBars();
    writeErr(terminalSafe(text) + QLatin1Char('\n'));
    drawBars();
}

void Console::print(const QString& text)
{
    QMutexLocker lock(&mutex_);
    // stdout may be the same terminal: the bars must not end up in the middle of a result.
    eraseBars();
    out_(terminalSafe(text).toUtf8());
    drawBars();
}

int Console::percentOf(const Slot& s) const
{
    if (s.maximum <= s.minimum)
        return 0;
    const int v = std::clamp(s.value, s.minimum, s.maximum);
    return int(qint64(v - s.minimum) * 100 / (s.maximum - s.minimum));
}

QString Console::barLine(const Slot& s) const
{
    const int percent = percentOf(s);
    const int filled = percent * kBarWidth / 100;
    return s.label.leftJustified(labelWidth_) + QStringLiteral(" [")
           + QString(filled, QLatin1Char('#')) + QString(kBarWidth - filled, QLatin1Char('-'))
           + QStringLiteral("] ") + QString::number(percent).rightJustified(3)
           + QStringLiteral("% ") + s.title;
}

void Console::eraseBars()
{
    if (!terminal_ || drawnLines_ == 0)
        return;
    // Up to the first bar, then clear to the end of the screen.
    writeErr(QStringLiteral("\x1b[%1A\r\x1b[J").arg(drawnLines_));
    drawnLines_ = 0;
}

void Console::drawBars()
{
    if (!terminal_ || released_)
        return;
    QString text;
    int lines = 0;
    for (const Slot& s : std::as_const(slots_)) {
        if (s.title.isEmpty())
            continue;  // no operation has started on that port yet
        text += barLine(s) + QLatin1Char('\n');
        ++lines;
    }
    if (lines > 0)
        writeErr(text);
    drawnLines_ = lines;
}

void Console::update(Slot& s)
{
    const int percent = percentOf(s);
    if (percent == s.percent || !progressShown_ || (!terminal_ && !progressLines_))
        return;
    if (terminal_) {
        s.percent = percent;
        eraseBars();
        drawBars();
        return;
    }
    // Plain lines: the start and every further quarter.
    const int quarter = percent / 25 * 25;
    if (s.percent >= 0 && quarter <= s.percent)
        return;
    s.percent = quarter;
    writeErr(QStringLiteral("%1: %2 %3%\n").arg(s.label, s.title).arg(s.percent));
}

void Console::progressShown(int slot, const QString& title, int minimum, int maximum, int value)
{
    QMutexLocker lock(&mutex_);
    Slot& s = slots_[slot];
    const bool titleChanged = s.title != title;
    s.title = title.isEmpty() ? QStringLiteral("working") : title;
    s.minimum = minimum;
    s.maximum = maximum;
    s.value = value;
    if (!s.shown || titleChanged)
        s.percent = -1;
    s.shown = true;
    update(s);
}

void Console::progressRange(int slot, int minimum, int maximum)
{
    QMutexLocker lock(&mutex_);
    Slot& s = slots_[slot];
    s.minimum = minimum;
    s.maximum = maximum;
    if (s.shown)
        update(s);
}

void Console::progressValue(int slot, int value)
{
    QMutexLocker lock(&mutex_);
    Slot& s = slots_[slot];
    s.value = value;
    if (s.shown)
        update(s);
}

void Console::progressHidden(int slot)
{
    QMutexLocker lock(&mutex_);
    slots_[slot].shown = false;
}

std::optional<bool> Console::ask(int slot, const QString& question)
{
    // Held while the user thinks: other ports wait with their output rather than write
    // into the question.
    QMutexLocker lock(&mutex_);
    eraseBars();
    writeErr(terminalSafe(slots_.at(slot).label + QStringLiteral(": ") + question)
             + QStringLiteral(" [y/N] "));
    const std::optional<QString> line = in_ ? in_() : std::nullopt;
    if (!line || echo_)
        writeErr(line.value_or(QString()) + QLatin1Char('\n'));
    drawBars();
    if (!line)
        return std::nullopt;
    const QString answer = line->trimmed().toLower();
    return answer == u"y" || answer == u"yes";
}

void Console::releaseBars()
{
    QMutexLocker lock(&mutex_);
    released_ = true;
    drawnLines_ = 0;
}

}  // namespace kap::cli
