// One main window's session, without widgets: the link and its settings, the parameter,
// point and zone tables with the modified mark, what is known of the controller, and the
// window's state objects (SessionState.h). Every procedure (receive, transmit, files, version, and
// the operation commands) works on a Session; the window is a view of it, and the command line runs
// the same procedures on a session without a view.
#pragma once

#include "data/ActuatorTypes.h"
#include "data/Grid.h"
#include "data/TableHost.h"
#include "link/Link.h"
#include "platform/CodePage.h"
#include "platform/SerialLine.h"
#include "session/AngleHistory.h"
#include "session/PanelState.h"
#include "session/SessionState.h"
#include "session/SessionView.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>

namespace kap {

class Dialogs;
class ParameterTable;
class PointTable;
class ProgramState;
class ReplyTimeout;
class ZoneTable;

// What the session knows of its controller.
struct ControllerFacts {
    // As the controller reports it to "@?VER ": the first line, blanks removed at both ends
    // ("1.05"); empty until read, or when the controller refused or stayed silent. Compared
    // as a decimal where it decides something; the version window shows its first 4
    // characters.
    QString version;
    bool previous = false;  // previous-generation controller (short DIO reply)

    // The version text of a "@?VER " reply; empty for a reply without a version line (empty,
    // or one that starts with a reply word such as "NG").
    static QString versionFromReply(const QString& reply);
};

class Session : public QObject, public TableHost {
    Q_OBJECT
public:
    // state: the program's, shared with the other windows (kept by the caller while the
    // session lives); line: the serial line of this window, a QSerialPort line when none is
    // given.
    Session(Family family, Dialogs& dialogs, ProgramState& state,
            std::unique_ptr<SerialLine> line = {}, QObject* parent = nullptr);
    ~Session() override;

    Family family() const { return family_; }
    bool isPointInput() const { return family_ == Family::PointInput; }

    // The view is not owned; without one (or after clearView) nothing is shown.
    void setView(SessionView* view);
    SessionView& view() { return *view_; }

    Link& link() { return *link_; }
    SerialLine& serialLine() { return *line_; }
    ProgramState& programState() { return state_; }
    // Every protocol wait of this session is multiplied by it (tests shorten them).
    void setTimeScale(double scale) { link_->setTimeScale(scale); }
    double timeScale() const { return link_->timeScale(); }

    LinkErrorSilence& silence() { return silence_; }
    DriveState& drive() { return drive_; }
    const DriveState& drive() const { return drive_; }
    TeachingState& teachingState() { return teaching_; }
    const TeachingState& teachingState() const { return teaching_; }
    EditGuards& guards() { return guards_; }
    OperationTracker& operations() { return operations_; }
    const OperationTracker& operations() const { return operations_; }
    ControllerFacts& controller() { return controller_; }

    // Grid1: points (point-input) or zones (pulse-train); its tag holds the modified mark.
    Grid& tableGrid() { return tableGrid_; }
    // Grid2: parameters.
    Grid& parameterGrid() { return parameterGrid_; }
    ParameterTable& parameters() { return *parameters_; }
    PointTable* points() { return points_.get(); }  // point-input only
    ZoneTable* zones() { return zones_.get(); }     // pulse-train only
    // The current actuator type, as text ("50").
    QString actuatorType() const;

    bool isModified() const;
    void setModified(bool on);

    // The setting file last saved or opened; empty for new data.
    QString currentFile() const { return currentFile_; }
    void setCurrentFile(const QString& path) { currentFile_ = path; }

    // The code page setting files are written in (and read in first).
    codepage::Encoding fileEncoding() const { return fileEncoding_; }
    void setFileEncoding(codepage::Encoding encoding) { fileEncoding_ = encoding; }

    // The drive panel's buttons, lamps and boxes.
    PanelState& panel() { return panel_; }
    const PanelState& panel() const { return panel_; }
    // Every current-angle refresh and lamp change of the panel, for the angle plot.
    AngleHistory& angleHistory() { return angleHistory_; }

    // Runs after every current-angle refresh in Setting mode with the taught value; the
    // teaching procedures install it. Without one the refresh ends with the display.
    using TeachingUpdate = std::function<void(const QString& teachingValue)>;
    void setTeachingUpdate(TeachingUpdate update) { teachingUpdate_ = std::move(update); }
    const TeachingUpdate& teachingUpdate() const { return teachingUpdate_; }

    // The I/O monitor's timer (700 ms); runs only in Operation mode.
    QTimer& ioMonitorTimer() { return ioMonitor_; }
    // The teaching loops' cadence: one pass 20 ms after the last one ended (single shot).
    QTimer& teachingTimer() { return teachingTimer_; }
    // Tim_Rs_Over, the receive guard.
    void stopReceiveGuard() { rsOver_.stop(); }

    // The view's parts, for the procedures.
    void showError(const QString& text) { view_->showError(text); }
    void setMainWindowEnabled(bool on) { view_->setMainWindowEnabled(on); }
    void setToolbarEnabled(bool on) { view_->setToolbarEnabled(on); }
    void setCommandsLocked(bool locked) { view_->setCommandsLocked(locked); }
    Progress& progress() { return view_->progress(); }
    void hideProgress() { view_->progress().hide(); }
    void showOriginShift(const QString& hundredths) { view_->showOriginShift(hundredths); }

    // The quick-parameter boxes of the operation panel follow the parameter grid.
    void refreshQuickBoxes() override { emit quickBoxRefreshRequested(); }
    void showStatusMessage(const QString& text) override { view_->showStatusMessage(text); }
    void showPassingMessage(const QString& text) override { view_->showPassingMessage(text); }
    // The window is about to close: the timers stop, a motion in progress gets one Stop, and
    // then the link writes nothing more and no box is shown. Once; later calls do nothing.
    void prepareToClose();

    // TableHost
    Dialogs& dialogs() override { return dialogs_; }
    bool settingUp() const override { return guards_.settingUp; }
    bool bulkFilling() const override { return guards_.bulkFill; }
    bool angleCheckHeld() const override { return guards_.angleCheckHold; }
    bool teaching() const override { return guards_.teaching; }
    bool parameterGridShown() const override { return parameterGrid_.isVisible(); }
    // Entry dialogs are offered while the SET button is enabled.
    bool setButtonEnabled() const override { return panel_.enabled(Command::Set); }
    void restoreIdle() override;
    void endProgram() override;

signals:
    void quickBoxRefreshRequested();
    void stopRequested();
    // After "Controller type is different.": the program ends through its normal quit path.
    void programEndRequested();

private:
    Family family_;
    Dialogs& dialogs_;
    ProgramState& state_;
    NoView noView_;
    SessionView* view_ = &noView_;
    std::unique_ptr<SerialLine> line_;
    // The pulse-train window keeps its own reply timeout; the point-input window shares the
    // program-wide one with the start-up window.
    std::unique_ptr<ReplyTimeout> ownTimeout_;
    std::unique_ptr<Link> link_;
    LinkErrorSilence silence_;
    DriveState drive_;
    TeachingState teaching_;
    EditGuards guards_;
    OperationTracker operations_;
    ControllerFacts controller_;
    codepage::Encoding fileEncoding_ = codepage::Encoding::Windows1252;
    QString currentFile_;
    PanelState panel_;
    AngleHistory angleHistory_{panel_};
    TeachingUpdate teachingUpdate_;
    Grid tableGrid_;
    Grid parameterGrid_;
    std::unique_ptr<ParameterTable> parameters_;
    std::unique_ptr<PointTable> points_;
    std::unique_ptr<ZoneTable> zones_;
    QTimer ioMonitor_;
    QTimer teachingTimer_;
    QTimer rsOver_;
};

}  // namespace kap
