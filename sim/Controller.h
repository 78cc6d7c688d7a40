// The controller's side of the serial protocol: command lines, reply words, records and
// write blocks, with enough state to answer every query the tool makes. No I/O here: bytes
// come in through receive() and leave through the transmit() signal; PtyServer puts the
// two on a pseudo-terminal.
#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QMap>
#include <QObject>
#include <QRandomGenerator>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QVector>

#include <array>
#include <optional>

namespace sim {

struct Point {
    QByteArray mode;   // "A", "I", "B" or empty (not defined)
    QByteArray pos;    // as the controller reports it, e.g. "90.00"
    QByteArray speed;  // e.g. "50"; empty for a brake point
};

struct Zone {
    QByteArray a;  // empty: zone not defined
    QByteArray b;
};

struct Options {
    int family = 0;                // 0 point-input, 1 pulse-train (answer to "@?PRM 13,")
    int actuatorType = 61;         // parameter 0
    QByteArray version = "1.10";   // answer to "@?VER "
    bool shortDio = false;         // previous-controller "@READ DIO " layout (8th char CR)
    bool ackRecords = false;       // answer "OK" to each record line of a write block
    bool silentEndOfData = false;  // close a write block on 0x1A without answering it
    bool pacing = false;           // emit output at the real 9600 8O1 rate (about 1.15 ms/char)
    int latencyMs = 0;             // delay before a reply starts
    int motionMs = 300;            // how long "@ORG " and "@MOVP " take
    int heldReplyDelayMs = 0;      // extra delay of a held jog's "OK" (the motion starts at once)

    // How "@?POS " writes the angle: some controllers put a sign character in front of it.
    enum class PositionStyle {
        Plain,           // "-12.50", "12.50"
        Question,        // a negative angle as "?" and its magnitude: "?12.50"
        QuestionSigned,  // a negative angle as "?" and the signed value: "?-12.50"
        SignByte,        // the byte 0xA5 before every angle: "\xa5" "12.50"
    };
    PositionStyle positionStyle = PositionStyle::Plain;
    bool originEstablished = false;  // "@?ORG " answers "1" from the start
    bool originRequired = false;     // "@MOVP " refused until a return to origin has ended
    bool alarm = false;              // start with an alarm standing (cleared by "@ALR ")
    double handTurnDegPerSec = 0.0;  // the hand that turns the actuator while the motor is off

    // Random faults for soak runs: this percentage of entries meets a fault of a kind drawn
    // at random (lost, refused, garbage first, cut, line closed); 0 is off. An armed fault
    // takes precedence. The same seed gives the same draws; 0 draws one (chaosSeed()).
    double chaosPercent = 0.0;
    quint32 chaosSeed = 0;
};

// A fault armed for one command word (for example "@?PRM " or "@READ PNT ").
// The record prefixes "P", "PRM", "Z" and the bytes "\x03" / "\x1a" may be named too.
// NoReply and Refuse keep the entry from being carried out; the others let it run and
// spoil only its reply (a motion's reply when the motion ends).
struct Fault {
    enum Kind {
        NoReply,         // the entry is lost: not carried out, nothing said
        Refuse,          // "NG" CR LF, then `data` as the error line (CR LF added)
        Garbage,         // send `data` (raw bytes) before the normal reply
        CutReply,        // send only the first `count` bytes of the normal reply, then nothing
        HangupMidReply,  // send the first `count` bytes, then close the line
    };
    Kind kind = NoReply;
    QByteArray data;
    int count = 0;
    bool once = false;   // disarm after firing once
    bool chaos = false;  // drawn by the chaos mode: a cut falls at random inside the reply
};
constexpr int kFaultKindCount = Fault::HangupMidReply + 1;

class Controller : public QObject {
    Q_OBJECT
public:
    explicit Controller(Options options = {}, QObject* parent = nullptr);

    Options& options() { return options_; }

    // Setting data, as the controller stores it.
    QVector<Point> points;           // 64
    QVector<Zone> zones;             // 4
    QVector<QByteArray> params;      // 64, parameter n at index n, as text
    QList<QByteArray> errorHistory;  // up to 20 lines, oldest first

    // Live state.
    double position = 0.0;  // degrees
    bool originDone = false;
    bool servoOn = true;
    bool brakeOn = false;
    bool alarm = false;
    bool moving() const;

    // Reset setting data to the factory values of the configured actuator type and family.
    void resetToFactory();

    void arm(const QByteArray& commandWord, Fault fault);
    void clearFaults();

    // The chaos mode's faults so far, by kind, counted as they took effect (a fault on a
    // motion that a stop ends never does); and the seed in use.
    const std::array<int, kFaultKindCount>& chaosCounts() const { return chaosCounts_; }
    int chaosTotal() const;
    quint32 chaosSeed() const { return chaosSeed_; }

    // Every line the controller received, byte for byte, including its CR LF; the break and
    // end-of-data characters appear as one-byte entries.
    const QList<QByteArray>& receivedLines() const { return received_; }
    void clearReceived() { received_.clear(); }
    // Entries received since the controller was made (clearReceived() does not reset it).
    int entryCount() const { return entryCount_; }

    // Every reply as it was sent, with the index (into receivedLines() as counted since the
    // controller was made, i.e. not reset by clearReceived) and the text of the entry it answers.
    struct ReplyRecord {
        int entryIndex;
        QByteArray entry;
        QByteArray bytes;
    };
    // The last kReplyLogSize replies only: a simulator that serves for hours keeps its size.
    static constexpr int kReplyLogSize = 1000;
    const QList<ReplyRecord>& replyLog() const { return replyLog_; }
    void clearReplyLog() { replyLog_.clear(); }

public slots:
    void receive(const QByteArray& bytes);

signals:
    void transmit(const QByteArray& bytes);
    void hangup();  // the line is to be closed (fault)
    // One entry as it is added to receivedLines() (for logging).
    void entryReceived(const QByteArray& entry);
    // A chaos fault of this kind takes effect (before any of its bytes go out).
    void chaosInjected(int kind);
    // Right after transmit(): the same bytes, with the entry they answer (see replyLog()).
    void replySent(int entryIndex, const QByteArray& entry, const QByteArray& bytes);

private:
    // (implementation details are the simulator's own)
    using Handler = void (Controller::*)(const QByteArray& argument);
    struct Command {
        const char* word;
        Handler handler;
    };
    enum class Block { None, Points, Params, Zones };
    enum class Motion { None, Positioning, Jog };
    // The entry a reply answers.
    struct Source {
        int index = -1;
        QByteArray entry;
    };
    struct Outgoing {
        qint64 due;
        QByteArray bytes;
        bool hangup;
        Source source;
    };

    static const QList<Command>& commands();
    static QByteArray faultKey(const QByteArray& entry);

    void note(const QByteArray& entry);
    void take(const QByteArray& entry);
    void dispatch(const QByteArray& entry);
    void handleLine(const QByteArray& line);
    void handleRecord(const QByteArray& line);
    void handleBreak();
    void handleEndOfData();

    // Replies: respond() answers the entry being handled; deliver() applies a fault.
    // delayMs comes on top of the latency.
    void respond(const QByteArray& bytes, int delayMs = 0);
    void refuse(const QByteArray& errorLine);
    void deliver(const QByteArray& bytes, const std::optional<Fault>& fault, const Source& source,
                 int delayMs = 0);
    std::optional<Fault> drawChaos();
    void noteChaos(const Fault& fault);
    void queue(const QByteArray& bytes, bool hangupAfter, const Source& source, int delayMs = 0);
    void flushDue();

    // Commands.
    void cmdOrg(const QByteArray&);
    void cmdMovp(const QByteArray& arg);
    void cmdStepPlus(const QByteArray&);
    void cmdStepMinus(const QByteArray&);
    void cmdHoldPlus(const QByteArray&);
    void cmdHoldMinus(const QByteArray&);
    void cmdSrvo(const QByteArray& arg);
    void cmdBrk(const QByteArray& arg);
    void cmdAlr(const QByteArray&);
    void cmdCclr(const QByteArray&);
    void cmdOrgc(const QByteArray&);
    void cmdVer(const QByteArray&);
    void cmdPos(const QByteArray&);
    void cmdPrm(const QByteArray& arg);
    void cmdPoint(const QByteArray& arg);
    void cmdOrgQuery(const QByteArray&);
    void cmdSrvoQuery(const QByteArray&);
    void cmdBrkQuery(const QByteArray&);
    void cmdReadPnt(const QByteArray&);
    void cmdReadPrm(const QByteArray&);
    void cmdReadErr(const QByteArray&);
    void cmdReadZon(const QByteArray&);
    void cmdReadDio(const QByteArray&);
    void cmdWritePnt(const QByteArray&);
    void cmdWritePrm(const QByteArray&);
    void cmdWriteZon(const QByteArray&);
    void cmdInitPnt(const QByteArray&);
    void cmdInitPrm(const QByteArray& arg);
    void cmdInitZon(const QByteArray&);
    void cmdInitOrg(const QByteArray&);

    // Motion.
    bool refuseMotion();
    void startPositioning(double target, bool toOrigin);
    void finishPositioning();
    void step(int direction);
    void startHold(int direction);
    void jogTick();
    void stopMotion();
    void updatePosition();
    bool withinLimits(double target) const;
    double clampToLimits(double target) const;

    // Parameter 35 (origin shift, 0.01 degree) moves the reported position with it.
    void setOriginShift(int shift);
    void setParameters(const QVector<QByteArray>& values);
    QByteArray dioReply() const;
    QByteArray positionReply() const;

    Options options_;
    QList<QByteArray> received_;
    int entryCount_ = 0;
    Source current_;  // the entry being handled
    QList<ReplyRecord> replyLog_;
    QByteArray inbuf_;
    bool discarding_ = false;  // skipping the rest of an overlong line
    QMap<QByteArray, Fault> faults_;
    std::optional<Fault> fault_;  // fault of the entry being handled
    quint32 chaosSeed_ = 0;
    QRandomGenerator chaosRandom_;
    std::array<int, kFaultKindCount> chaosCounts_{};

    Block block_ = Block::None;
    int lastPoint_ = 0;

    Motion motion_ = Motion::None;
    double motionFrom_ = 0.0;
    double motionTo_ = 0.0;
    bool motionToOrigin_ = false;
    int jogDirection_ = 0;
    std::optional<Fault> motionFault_;
    Source motionSource_;  // the entry a positioning answers when it ends
    QElapsedTimer motionClock_;
    QElapsedTimer handClock_;  // since the hand-turned angle was last brought up to date
    QTimer motionTimer_;
    QTimer jogTimer_;

    QList<Outgoing> outgoing_;
    QElapsedTimer clock_;
    QTimer outTimer_;

    friend class ControllerPrivateAccess;
};

}  // namespace sim
