// The state a main window's procedures share, as small objects that each own one concern:
// which reasons keep the communication-error box quiet, where the drive panel stands, where
// teaching stands, the guards of the tables' change handling, and which operation holds the
// session.
#pragma once

#include <QList>
#include <QObject>
#include <QString>

namespace kap {

class Session;

// Why a communication error is not shown right now. Every reason belongs to the operation
// that set it: when the outermost operation ends (or a new one starts) all of them end.
struct LinkErrorSilence {
    bool settingMode = true;   // Setting mode's rule: quiet until an operation clears it
    bool stopPressed = false;  // the user stopped the running motion: its failure is expected
    bool motion = false;       // a confirmed start, a return to origin or a teaching loop runs
    bool closing = false;      // the window is closing: nothing is reported any more

    void clear()
    {
        settingMode = false;
        stopPressed = false;
        motion = false;
    }
};

// The I/O monitor's cycle mark: Idle lets the next tick start a cycle; a running cycle, and
// one that failed or met a motion, keep the mark until Operation mode is entered again.
enum class MonitorState { Idle, Cycling, Paused };

struct DriveState {
    bool operationMode = false;     // false: Setting mode
    bool motionInProgress = false;  // a return to origin, a point move or a held jog runs
    MonitorState monitor = MonitorState::Idle;
};

enum class TeachingTarget { OriginShift, Position };

// Where a teaching loop stands. Direct and Playback loops are driven by a 20 ms timer; the
// other states are the steps between their events.
enum class TeachingLoop {
    Off,       // numeric input
    Starting,  // the return-to-origin question, the return, the read-out, the motor
    Direct,    // following the hand: refreshes on every tick
    Playback,  // the jog buttons: a step per tick while one is held
    Held,      // a held jog command runs until the release
};

struct TeachingState {
    int inputMode = 1;  // 1 numeric input, 2 direct teaching, 3 teaching playback
    TeachingTarget target = TeachingTarget::OriginShift;
    TeachingLoop loop = TeachingLoop::Off;
    int jogSteps = 0;         // passes of the playback loop since a jog button went down
    bool cwHeld = false;      // the mouse is down on CW
    bool ccwHeld = false;     // ... on CCW
    bool buttonHeld = false;  // ... on either
    // A held jog command went out and no stop has been answered with "STOP" since: the
    // actuator may still be turning, so the jog buttons and Numeric Input send a stop.
    bool mayBeMoving = false;
    QString originShift;          // parameter 35 as last read, 0.01 degree
    QString originShiftAtStart;   // ... when the teaching loop started
    int teachRefreshCounter = 0;  // skips the next teaching updates after a parameter query
};

// The tables' change handling stands aside while these hold.
struct EditGuards {
    bool settingUp = false;       // the window is being built: no change handling runs
    bool bulkFill = false;        // the parameter grid is filled wholesale
    bool angleCheckHold = false;  // the Operating angle check waits for the next edit
    bool teaching = false;        // SET writes a taught angle into the zone grid
    // The actuator type dialog leaves out its MOVA frame (the pulse-train window, once
    // start-up has opened it).
    bool typeDialogWithoutFrame2 = false;
};

// What can hold a session. A user operation holds it from its first line to its end. The
// background ones (an I/O-monitor cycle, a teaching pass) hold it too, but give way to any
// user operation begun inside their waits: that one counts as outermost, and the background
// step drops what it read.
enum class Activity {
    ModeChange,      // entering Operation or Setting mode
    Start,           // Start: the origin query and its questions
    Move,            // a confirmed start: the point query and the point move
    ReturnToOrigin,  // "@ORG " until it is answered
    Stop,            // the stop character and its answer
    PanelCommand,    // servo, brake, alarm, deviation
    Refresh,         // a current-angle refresh of its own (choosing a teaching target)
    TeachingChoice,  // an input mode chosen: a loop's start (question, return, read-out,
                     // motor) or its end (which stops a jog that may still turn)
    TeachingStep,    // one pass of a teaching loop
    Jog,             // a jog press or release with its commands
    Set,             // SET, with the virtual-origin transmission
    DataCommand,     // a menu or tool-bar command
    Monitor,         // one I/O-monitor cycle
};
const char* activityName(Activity a);
bool isBackground(Activity a);

// Which operations hold the session, innermost last. Nested entries are the events a
// running operation lets in (Stop during a move, the release of a held jog, SET during a
// teaching pass).
class OperationTracker : public QObject {
    Q_OBJECT
public:
    // No user operation holds the session (a background step may).
    bool idle() const { return userDepth() == 0; }
    // The innermost user operation; only meaningful when not idle.
    Activity current() const;
    bool holds(Activity a) const { return stack_.contains(a); }
    const QList<Activity>& stack() const { return stack_; }
    int userDepth() const;

    // Counts user operations begun; a step that waited compares it to tell whether another
    // operation ran inside its wait (its result is then stale).
    quint64 generation() const { return generation_; }

    // Stop was pressed (or the window is closing) during the outermost operation: it sends
    // no further motion command.
    bool stopRequested() const { return stopRequested_; }
    void requestStop() { stopRequested_ = true; }

    // The title of the running operation's boxes.
    QString title;

signals:
    // An operation began or ended: the window offers its commands anew.
    void changed();
    // The outermost user operation is ending; its silence still holds.
    void ending();

private:
    friend class OperationScope;
    QList<Activity> stack_;
    quint64 generation_ = 0;
    bool stopRequested_ = false;
};

// Holds the session for one operation. The outermost user operation begins and ends with no
// silence and no pending Stop, whatever path it takes out; the title and the reply time-out
// in force before a nested operation are back when it ends.
class OperationScope {
public:
    OperationScope(Session& s, Activity a);
    ~OperationScope();
    OperationScope(const OperationScope&) = delete;
    OperationScope& operator=(const OperationScope&) = delete;
    bool outermost() const { return outermost_; }

private:
    Session& s_;
    bool outermost_ = false;
    QString title_;
    float timeoutMs_ = 0.0f;
};

}  // namespace kap
