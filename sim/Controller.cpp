#include "Controller.h"

#include "ControllerText.h"
#include "Factory.h"
#include "Text.h"

#include <algorithm>
#include <cstring>

namespace sim {

namespace {

constexpr int kPointCount = 64;
constexpr int kZoneCount = 4;
constexpr qsizetype kMaxLine = 256;
constexpr qsizetype kMaxHistory = 20;

// Digits only: record and query numbers carry no sign and no blanks.
std::optional<int> recordNumber(const QByteArray& text, int count)
{
    if (text.isEmpty() || text.size() > 3)
        return std::nullopt;
    for (const char c : text)
        if (c < '0' || c > '9')
            return std::nullopt;
    const int n = text.toInt();
    return n < count ? std::optional<int>(n) : std::nullopt;
}

QByteArray pointRecord(int n, const Point& p)
{
    QByteArray line = "P" + QByteArray::number(n) + "=" + p.mode + "," + p.pos;
    if (p.mode != "B")
        line += "," + p.speed;
    return line;
}

}  // namespace

Controller::Controller(Options options, QObject* parent)
    : QObject(parent), options_(std::move(options))
{
    points.resize(kPointCount);
    zones.resize(kZoneCount);
    resetToFactory();
    originDone = options_.originEstablished;
    alarm = options_.alarm;
    // Never 0, so the seed reported can be given back to repeat the run.
    chaosSeed_ = options_.chaosSeed != 0 ? options_.chaosSeed
                                         : QRandomGenerator::global()->generate() | 1u;
    chaosRandom_.seed(chaosSeed_);
    clock_.start();
    outTimer_.setSingleShot(true);
    outTimer_.setTimerType(Qt::PreciseTimer);
    connect(&outTimer_, &QTimer::timeout, this, &Controller::flushDue);
    motionTimer_.setSingleShot(true);
    motionTimer_.setTimerType(Qt::PreciseTimer);
    connect(&motionTimer_, &QTimer::timeout, this, &Controller::finishPositioning);
    jogTimer_.setInterval(50);
    connect(&jogTimer_, &QTimer::timeout, this, &Controller::jogTick);
}

void Controller::resetToFactory()
{
    setParameters(factoryParameters(options_.family, options_.actuatorType, options_.shortDio));
}

void Controller::arm(const QByteArray& commandWord, Fault fault)
{
    faults_[commandWord] = std::move(fault);
}

void Controller::clearFaults()
{
    faults_.clear();
}

int Controller::chaosTotal() const
{
    int total = 0;
    for (const int n : chaosCounts_)
        total += n;
    return total;
}

std::optional<Fault> Controller::drawChaos()
{
    if (options_.chaosPercent <= 0.0
        || chaosRandom_.generateDouble() * 100.0 >= options_.chaosPercent)
        return std::nullopt;
    Fault fault;
    fault.chaos = true;
    fault.kind = Fault::Kind(chaosRandom_.bounded(kFaultKindCount));
    if (fault.kind == Fault::Garbage) {
        // Line noise: any byte values, a few of them.
        const int n = 1 + int(chaosRandom_.bounded(8));
        for (int i = 0; i < n; ++i)
            fault.data.append(char(chaosRandom_.bounded(256)));
    }
    return fault;
}

void Controller::noteChaos(const Fault& fault)
{
    if (!fault.chaos)
        return;
    ++chaosCounts_[fault.kind];
    emit chaosInjected(fault.kind);
}

// ---- framing -------------------------------------------------------------------------------

void Controller::receive(const QByteArray& bytes)
{
    for (const char c : bytes) {
        if (c == kBreak || c == kEndOfData) {
            // A control character stands alone; a fragment before it was cut off and gets
            // no answer, but is kept in the record of what arrived.
            if (!inbuf_.isEmpty()) {
                note(inbuf_);
                inbuf_.clear();
            }
            discarding_ = false;
            take(QByteArray(1, c));
            continue;
        }
        if (discarding_) {
            // inbuf_ holds only the previous character while the rest of a line is skipped.
            const bool lineEnd = c == '\n' && inbuf_ == "\r";
            inbuf_ = QByteArray(1, c);
            if (lineEnd) {
                discarding_ = false;
                inbuf_.clear();
            }
            continue;
        }
        inbuf_.append(c);
        if (inbuf_.endsWith("\r\n")) {
            const QByteArray entry = inbuf_;
            inbuf_.clear();
            take(entry);
        } else if (inbuf_.size() >= kMaxLine) {
            // Bounded input: the line is refused once and the rest of it skipped.
            const QByteArray entry = inbuf_;
            inbuf_ = entry.endsWith('\r') ? QByteArray("\r") : QByteArray();
            discarding_ = true;
            take(entry);
        }
    }
}

QByteArray Controller::faultKey(const QByteArray& entry)
{
    if (entry.size() == 1 && (entry[0] == kBreak || entry[0] == kEndOfData))
        return entry;
    QByteArray line = entry.endsWith("\r\n") ? entry.chopped(2) : entry;
    if (line.startsWith('@')) {
        for (const Command& c : commands())
            if (line.startsWith(c.word))
                return c.word;
        const qsizetype blank = line.indexOf(' ');
        return blank < 0 ? line : line.left(blank + 1);
    }
    for (const char* prefix : {"PRM", "P", "Z"})
        if (line.startsWith(prefix))
            return prefix;
    return line;
}

void Controller::note(const QByteArray& entry)
{
    received_.append(entry);
    ++entryCount_;
    emit entryReceived(entry);
}

void Controller::take(const QByteArray& entry)
{
    note(entry);
    current_ = {entryCount_ - 1, entry};

    std::optional<Fault> fault;
    const auto it = faults_.find(faultKey(entry));
    if (it != faults_.end()) {
        fault = *it;
        if (it->once)
            faults_.erase(it);
    } else {
        fault = drawChaos();
    }
    // These two keep the command from being carried out at all.
    if (fault && fault->kind == Fault::NoReply) {
        noteChaos(*fault);
        return;
    }
    if (fault && fault->kind == Fault::Refuse) {
        noteChaos(*fault);
        queue("NG\r\n" + (fault->data.isEmpty() ? QByteArray(kErrRefused) : fault->data) + "\r\n",
              false, current_);
        return;
    }
    fault_ = fault;
    dispatch(entry);
    fault_.reset();
}

void Controller::dispatch(const QByteArray& entry)
{
    if (entry.size() == 1 && entry[0] == kBreak)
        handleBreak();
    else if (entry.size() == 1 && entry[0] == kEndOfData)
        handleEndOfData();
    else if (!entry.endsWith("\r\n"))
        refuse(kErrFormat);  // overlong line
    else
        handleLine(entry.chopped(2));
}

const QList<Controller::Command>& Controller::commands()
{
    static const QList<Command> table = {
        {"@ORG ", &Controller::cmdOrg},
        {"@MOVP ", &Controller::cmdMovp},
        {"@X+ ", &Controller::cmdStepPlus},
        {"@X- ", &Controller::cmdStepMinus},
        {"@XINC ", &Controller::cmdHoldPlus},
        {"@XDEC ", &Controller::cmdHoldMinus},
        {"@SRVO ", &Controller::cmdSrvo},
        {"@BRK ", &Controller::cmdBrk},
        {"@ALR ", &Controller::cmdAlr},
        {"@CCLR ", &Controller::cmdCclr},
        {"@ORGC ", &Controller::cmdOrgc},
        {"@?VER ", &Controller::cmdVer},
        {"@?POS ", &Controller::cmdPos},
        {"@?PRM ", &Controller::cmdPrm},
        {"@?P ", &Controller::cmdPoint},
        {"@?ORG ", &Controller::cmdOrgQuery},
        {"@?SRVO ", &Controller::cmdSrvoQuery},
        {"@?BRK ", &Controller::cmdBrkQuery},
        {"@READ PNT ", &Controller::cmdReadPnt},
        {"@READ PRM ", &Controller::cmdReadPrm},
        {"@READ ERR ", &Controller::cmdReadErr},
        {"@READ ZON ", &Controller::cmdReadZon},
        {"@READ DIO ", &Controller::cmdReadDio},
        {"@WRITE PNT ", &Controller::cmdWritePnt},
        {"@WRITE PRM ", &Controller::cmdWritePrm},
        {"@WRITE ZON ", &Controller::cmdWriteZon},
        {"@INIT PNT ", &Controller::cmdInitPnt},
        {"@INIT PRM ", &Controller::cmdInitPrm},
        {"@INIT ZON ", &Controller::cmdInitZon},
        {"@INIT ORG ", &Controller::cmdInitOrg},
    };
    return table;
}

void Controller::handleLine(const QByteArray& line)
{
    if (block_ != Block::None) {
        if (!line.startsWith('@')) {
            handleRecord(line);
            return;
        }
        block_ = Block::None;  // a command line ends a block that was never closed
    }
    if (!line.startsWith('@')) {
        refuse(line.contains('=') ? kErrNoBlock : kErrUnknown);
        return;
    }
    for (const Command& c : commands()) {
        if (!line.startsWith(c.word))
            continue;
        const QByteArray rest = line.mid(qsizetype(std::strlen(c.word)));
        const qsizetype comma = rest.indexOf(',');
        if (comma < 0) {
            refuse(kErrFormat);
            return;
        }
        (this->*c.handler)(rest.left(comma).trimmed());
        return;
    }
    refuse(kErrUnknown);
}

void Controller::handleRecord(const QByteArray& line)
{
    const qsizetype eq = line.indexOf('=');
    if (eq < 0) {
        refuse(kErrFormat);
        return;
    }
    const QByteArray key = line.left(eq).trimmed();
    QList<QByteArray> fields = line.mid(eq + 1).split(',');
    for (QByteArray& f : fields)
        f = f.trimmed();

    if (key.startsWith("PRM")) {
        const auto n = recordNumber(key.mid(3), kParameterCount);
        // Filled in a statement of its own: the conditional-expression form made GCC's
        // optimiser warn that the value may be used uninitialised.
        std::optional<int> value;
        if (fields.size() == 1)
            value = parseInteger(fields[0]);
        if (block_ != Block::Params) {
            refuse(kErrFormat);
        } else if (!n || !value || (*n == 35 && (*value < -32768 || *value > 32767))) {
            refuse(kErrValue);
        } else {
            if (*n == 35)
                setOriginShift(*value);
            else
                params[*n] = QByteArray::number(*value);
            respond(options_.ackRecords ? kOk : QByteArray());
        }
    } else if (key.startsWith('P')) {
        if (block_ != Block::Points) {
            refuse(kErrFormat);
            return;
        }
        const auto n = recordNumber(key.mid(1), kPointCount);
        const QByteArray mode = fields.value(0);
        Point p;
        if (n && (mode == "A" || mode == "I") && fields.size() == 3) {
            const auto pos = parseNumber(fields[1]);
            const auto speed = parseNumber(fields[2]);
            if (pos && speed && std::abs(*pos) < 100000.0 && *speed >= 0.5 && *speed < 100.5)
                p = {mode, formatAngle(*pos), QByteArray::number(qRound(*speed))};
        } else if (n && mode == "B"
                   && (fields.size() == 2 || (fields.size() == 3 && fields[2].isEmpty()))) {
            const auto value = parseNumber(fields[1]);
            if (value && (*value == 0.0 || *value == 1.0))
                p = {mode, QByteArray::number(int(*value)), {}};
        }
        if (p.mode.isEmpty()) {
            refuse(kErrValue);
            return;
        }
        points[*n] = p;
        respond(options_.ackRecords ? kOk : QByteArray());
    } else if (key.startsWith('Z')) {
        if (block_ != Block::Zones) {
            refuse(kErrFormat);
            return;
        }
        const auto n = recordNumber(key.mid(1), kZoneCount);
        std::optional<double> a;
        std::optional<double> b;
        if (fields.size() == 2) {
            a = parseNumber(fields[0]);
            b = parseNumber(fields[1]);
        }
        const auto angle = [](const std::optional<double>& v) {
            return v && *v >= 0.0 && *v < 360.0;
        };
        if (!n || !angle(a) || !angle(b)) {
            refuse(kErrValue);
            return;
        }
        zones[*n] = {formatAngle(*a), formatAngle(*b)};
        respond(options_.ackRecords ? kOk : QByteArray());
    } else {
        refuse(kErrFormat);
    }
}

void Controller::handleBreak()
{
    if (motion_ != Motion::None) {
        stopMotion();
        respond(kStopReply);
        return;
    }
    block_ = Block::None;
    respond(kOk);
}

void Controller::handleEndOfData()
{
    if (block_ == Block::None) {
        refuse(kErrNoBlock);
        return;
    }
    block_ = Block::None;
    respond(options_.silentEndOfData ? QByteArray() : QByteArray(kOk));
}

// ---- output --------------------------------------------------------------------------------

void Controller::respond(const QByteArray& bytes, int delayMs)
{
    deliver(bytes, fault_, current_, delayMs);
}

void Controller::refuse(const QByteArray& errorLine)
{
    respond("NG\r\n" + errorLine + "\r\n");
}

void Controller::deliver(const QByteArray& bytes, const std::optional<Fault>& fault,
                         const Source& source, int delayMs)
{
    if (!fault) {
        queue(bytes, false, source, delayMs);
        return;
    }
    qsizetype count = std::max(0, fault->count);
    if (fault->chaos) {
        // A cut of nothing spoils nothing; otherwise at least the last byte is lost.
        if (fault->kind == Fault::CutReply && bytes.isEmpty())
            return;
        if (fault->kind == Fault::CutReply || fault->kind == Fault::HangupMidReply)
            count = chaosRandom_.bounded(int(std::max<qsizetype>(1, bytes.size())));
        noteChaos(*fault);
    }
    switch (fault->kind) {
    case Fault::NoReply:
        break;
    case Fault::Refuse:
        queue("NG\r\n" + (fault->data.isEmpty() ? QByteArray(kErrRefused) : fault->data) + "\r\n",
              false, source, delayMs);
        break;
    case Fault::Garbage:
        queue(fault->data + bytes, false, source, delayMs);
        break;
    case Fault::CutReply:
        queue(bytes.left(count), false, source, delayMs);
        break;
    case Fault::HangupMidReply:
        queue(bytes.left(count), true, source, delayMs);
        break;
    }
}

void Controller::queue(const QByteArray& bytes, bool hangupAfter, const Source& source, int delayMs)
{
    if (bytes.isEmpty() && !hangupAfter)
        return;
    // Replies never overtake each other, whatever the latency or extra delay was when each
    // was queued: a due time is never earlier than the one before it.
    qint64 due = clock_.elapsed() + std::max(0, options_.latencyMs) + std::max(0, delayMs);
    if (!outgoing_.isEmpty())
        due = std::max(due, outgoing_.last().due);
    outgoing_.append({due, bytes, hangupAfter, source});
    if (!outTimer_.isActive())
        outTimer_.start(int(std::max<qint64>(0, outgoing_.first().due - clock_.elapsed())));
}

void Controller::flushDue()
{
    while (!outgoing_.isEmpty() && outgoing_.first().due <= clock_.elapsed()) {
        const Outgoing out = outgoing_.takeFirst();
        if (!out.bytes.isEmpty()) {
            // Recorded as it goes out, so a cut reply is logged as cut.
            if (replyLog_.size() >= kReplyLogSize)
                replyLog_.removeFirst();
            replyLog_.append({out.source.index, out.source.entry, out.bytes});
            emit transmit(out.bytes);
            emit replySent(out.source.index, out.source.entry, out.bytes);
        }
        if (out.hangup) {
            // The line is gone: whatever was still to be said and any half line are lost.
            outgoing_.clear();
            inbuf_.clear();
            discarding_ = false;
            block_ = Block::None;
            emit hangup();
            return;
        }
    }
    if (!outgoing_.isEmpty())
        outTimer_.start(int(std::max<qint64>(0, outgoing_.first().due - clock_.elapsed())));
}

// ---- queries and data ----------------------------------------------------------------------

void Controller::cmdVer(const QByteArray&)
{
    respond(options_.version + "\r\n" + kOk);
}

void Controller::cmdPos(const QByteArray&)
{
    updatePosition();
    respond(positionReply() + "\r\n" + kOk);
}

void Controller::cmdPrm(const QByteArray& arg)
{
    const auto n = recordNumber(arg, kParameterCount);
    if (!n) {
        refuse(kErrValue);
        return;
    }
    respond(params.value(*n, "0") + "\r\n" + kOk);
}

void Controller::cmdPoint(const QByteArray& arg)
{
    const auto n = recordNumber(arg, kPointCount);
    if (!n)
        refuse(kErrValue);
    else if (points[*n].mode.isEmpty())
        refuse(kErrNoPoint);
    else
        respond(pointRecord(*n, points[*n]) + "\r\n" + kOk);
}

void Controller::cmdOrgQuery(const QByteArray&)
{
    respond(QByteArray(originDone ? "1" : "0") + "\r\n" + kOk);
}

void Controller::cmdSrvoQuery(const QByteArray&)
{
    respond(QByteArray(servoOn ? "1" : "0") + "\r\n" + kOk);
}

void Controller::cmdBrkQuery(const QByteArray&)
{
    respond(QByteArray(brakeOn ? "1" : "0") + "\r\n" + kOk);
}

void Controller::cmdReadPnt(const QByteArray&)
{
    QByteArray reply;
    for (int n = 0; n < points.size(); ++n)
        if (!points[n].mode.isEmpty())
            reply += pointRecord(n, points[n]) + "\r\n";
    respond(reply + kOk);
}

void Controller::cmdReadPrm(const QByteArray&)
{
    QByteArray reply;
    for (int n = 0; n < kParameterCount; ++n)
        reply += "PRM" + QByteArray::number(n) + "=" + params.value(n, "0") + "\r\n";
    respond(reply + kOk);
}

void Controller::cmdReadErr(const QByteArray&)
{
    QByteArray reply;
    for (const QByteArray& line :
         errorHistory.mid(std::max<qsizetype>(0, errorHistory.size() - kMaxHistory)))
        reply += line + "\r\n";
    respond(reply + kOk);
}

void Controller::cmdReadZon(const QByteArray&)
{
    QByteArray reply;
    for (int n = 0; n < zones.size(); ++n)
        if (!zones[n].a.isEmpty())
            reply += "Z" + QByteArray::number(n) + "=" + zones[n].a + "," + zones[n].b + "\r\n";
    respond(reply + kOk);
}

void Controller::cmdReadDio(const QByteArray&)
{
    updatePosition();
    respond(dioReply() + kOk);
}

void Controller::cmdWritePnt(const QByteArray&)
{
    block_ = Block::Points;
    respond(kReady);
}

void Controller::cmdWritePrm(const QByteArray&)
{
    block_ = Block::Params;
    respond(kReady);
}

void Controller::cmdWriteZon(const QByteArray&)
{
    block_ = Block::Zones;
    respond(kReady);
}

void Controller::cmdInitPnt(const QByteArray&)
{
    points.fill(Point{});
    respond(kOk);
}

void Controller::cmdInitZon(const QByteArray&)
{
    zones.fill(Zone{});
    respond(kOk);
}

void Controller::cmdInitPrm(const QByteArray& arg)
{
    const auto type = recordNumber(arg, 100);
    if (!type || !isActuatorType(*type)) {
        refuse(kErrValue);
        return;
    }
    setParameters(factoryParameters(options_.family, *type, options_.shortDio));
    respond(kOk);
}

void Controller::cmdInitOrg(const QByteArray&)
{
    setOriginShift(0);
    respond(kOk);
}

void Controller::cmdOrgc(const QByteArray&)
{
    if (moving()) {
        refuse(kErrBusy);
        return;
    }
    const long shift = params.value(35).toInt() + std::lround(position * 100.0);
    if (shift < -32768 || shift > 32767) {
        refuse(kErrValue);
        return;
    }
    setOriginShift(int(shift));
    respond(kOk);
}

void Controller::setOriginShift(int shift)
{
    const int old = params.value(35).toInt();
    params[35] = QByteArray::number(shift);
    position += (old - shift) / 100.0;
}

void Controller::setParameters(const QVector<QByteArray>& values)
{
    const int old = params.value(35).toInt();
    params = values;
    params.resize(kParameterCount, QByteArrayLiteral("0"));
    position += (old - params[35].toInt()) / 100.0;
}

}  // namespace sim
