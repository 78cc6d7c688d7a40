#include "link/ExchangeLog.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>

#include <memory>
#include <mutex>
#include <utility>

namespace kap {
namespace {

constexpr const char* kControlNames[0x20] = {
    "NUL", "SOH", "STX", "ETX", "EOT", "ENQ", "ACK", "BEL", "BS",  "HT",  "LF",
    "VT",  "FF",  "CR",  "SO",  "SI",  "DLE", "DC1", "DC2", "DC3", "DC4", "NAK",
    "SYN", "ETB", "CAN", "EM",  "SUB", "ESC", "FS",  "GS",  "RS",  "US",
};

std::unique_ptr<QFile>& traceFile()
{
    static std::unique_ptr<QFile> file;
    return file;
}

// Links in several threads (the command line's ports) may trace into the one file.
std::mutex& traceLock()
{
    static std::mutex lock;
    return lock;
}

QString partialText(const QByteArray& bytes)
{
    return bytes.isEmpty() ? QStringLiteral("; nothing received")
                           : QStringLiteral("; partial reply: ") + namedControls(bytes);
}

}  // namespace

QLatin1String controlName(unsigned char c)
{
    return c < 0x20 ? QLatin1String(kControlNames[c]) : QLatin1String();
}

QString namedControls(const QByteArray& bytes)
{
    QString out;
    out.reserve(bytes.size() + 8);
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x20)
            out += QLatin1Char('<') + QLatin1String(kControlNames[b]) + QLatin1Char('>');
        else if (b == 0x7F)
            out += QLatin1String("<DEL>");
        else if (b >= 0x80)
            out += QStringLiteral("<%1>").arg(b, 2, 16, QLatin1Char('0')).toUpper();
        else
            out += QLatin1Char(ch);
    }
    return out;
}

QString formatEntry(const ExchangeEntry& entry)
{
    using Kind = ExchangeEntry::Kind;
    QString line = entry.time.toString(QStringLiteral("hh:mm:ss.zzz"));
    if (!entry.port.isEmpty())
        line += QLatin1Char(' ') + entry.port;
    // A reason text must not break the one-line-per-entry rule.
    const QString note = entry.note.simplified();
    switch (entry.kind) {
    case Kind::Sent:
        line += QLatin1String(" --> ") + namedControls(entry.bytes);
        break;
    case Kind::Break:
        line += QLatin1String(" --> ") + namedControls(entry.bytes) + QLatin1String(" (break)");
        break;
    case Kind::Received:
        // The reply time before the bytes, where a long reply cannot push it out of sight.
        line += QLatin1String(" <--");
        if (entry.replyMs >= 0)
            line += QStringLiteral(" [%1 ms]").arg(entry.replyMs);
        line += QLatin1Char(' ') + namedControls(entry.bytes);
        break;
    case Kind::Timeout:
        line += QLatin1String(" !! time-out: ") + note + partialText(entry.bytes);
        break;
    case Kind::PortError:
        line += QLatin1String(" !! port error: ") + note;
        break;
    case Kind::LineLost:
        line += QLatin1String(" !! line lost")
                + (note.isEmpty() ? QString() : QLatin1String(": ") + note)
                + partialText(entry.bytes);
        break;
    case Kind::Stray:
        line += QLatin1String(" <-- (stray, dropped) ") + namedControls(entry.bytes);
        break;
    }
    return line;
}

ExchangeLog::ExchangeLog(QObject* parent) : QObject(parent) {}

void ExchangeLog::add(const ExchangeEntry& entry)
{
    QString line = formatEntry(entry);
    trace(line);
    if (lines_.size() >= size_t(kMaxLines))
        lines_.pop_front();
    lines_.push_back(line);
    ++total_;
    emit entryAdded(line);
    emit entryRecorded(entry);
}

void ExchangeLog::addSent(const QString& port, const QByteArray& bytes)
{
    add({QTime::currentTime(), port, ExchangeEntry::Kind::Sent, bytes, -1, {}});
}

void ExchangeLog::addReceived(const QString& port, const QByteArray& bytes, int replyMs)
{
    add({QTime::currentTime(), port, ExchangeEntry::Kind::Received, bytes, replyMs, {}});
}

void ExchangeLog::addTimeout(const QString& port, int waitedMs, const QByteArray& partial)
{
    add({QTime::currentTime(), port, ExchangeEntry::Kind::Timeout, partial, -1,
         QStringLiteral("no reply word within %1 ms").arg(waitedMs)});
}

void ExchangeLog::addPortError(const QString& port, const QString& reason)
{
    add({QTime::currentTime(), port, ExchangeEntry::Kind::PortError, {}, -1, reason});
}

void ExchangeLog::addLineLost(const QString& port, const QByteArray& partial, const QString& reason)
{
    add({QTime::currentTime(), port, ExchangeEntry::Kind::LineLost, partial, -1, reason});
}

void ExchangeLog::addBreak(const QString& port, const QByteArray& bytes)
{
    add({QTime::currentTime(), port, ExchangeEntry::Kind::Break, bytes, -1, {}});
}

void ExchangeLog::addStray(const QString& port, const QByteArray& bytes)
{
    add({QTime::currentTime(), port, ExchangeEntry::Kind::Stray, bytes, -1, {}});
}

QStringList ExchangeLog::lines() const
{
    return QStringList(lines_.begin(), lines_.end());
}

void ExchangeLog::clear()
{
    lines_.clear();
    emit cleared();
}

bool ExchangeLog::startTrace(const QString& path, QString* why)
{
    stopTrace();
    // Unbuffered: every line goes to the system as it is written, so nothing waits in the
    // process for a crash to take with it.
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text
                    | QIODevice::Unbuffered)) {
        if (why)
            *why = file->errorString();
        return false;
    }
    {
        const std::lock_guard<std::mutex> lock(traceLock());
        traceFile() = std::move(file);
    }
    // Runs appended to one file stay apart, and the lines' times get their date.
    trace(
        QStringLiteral("# %1 trace started %2")
            .arg(QCoreApplication::applicationName(),
                 QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz"))));
    return true;
}

void ExchangeLog::stopTrace()
{
    const std::lock_guard<std::mutex> lock(traceLock());
    traceFile().reset();
}

bool ExchangeLog::tracing()
{
    const std::lock_guard<std::mutex> lock(traceLock());
    return traceFile() != nullptr;
}

void ExchangeLog::trace(const QString& line)
{
    const std::lock_guard<std::mutex> lock(traceLock());
    QFile* file = traceFile().get();
    if (!file)
        return;
    const QByteArray bytes = (line + QLatin1Char('\n')).toUtf8();
    static bool warned = false;
    if (file->write(bytes) != bytes.size() && !warned) {
        warned = true;  // once: a full disk would otherwise flood the console
        qWarning("cannot write the trace file %s: %s", qPrintable(file->fileName()),
                 qPrintable(file->errorString()));
    }
}

}  // namespace kap
