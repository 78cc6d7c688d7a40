// The frame both main windows share: menus, tool bar, status bar, the two grids, the drive
// panel and the link boxes. It is a view of its Session: the procedures work on the session,
// and the window shows what they ask it to show. What differs between the point-input and
// the pulse-train window is data (FrameTables), not code.
#pragma once

#include "data/ActuatorTypes.h"
#include "session/Commands.h"
#include "session/PanelState.h"
#include "session/Session.h"
#include "session/SessionView.h"

#include <QHash>
#include <QList>
#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <memory>

class QAction;
class QLabel;
class QTimer;
class QToolBar;

namespace kap {

class Dialogs;
class DrivePanel;
class EditHistory;
class EntryDialogs;
struct ExchangeEntry;
class GridView;
class AnglePlotWindow;
class CommLogWindow;
class ProgressDialog;
class SpeedCalculatorWindow;
class StopDialog;

// An event filter that hands every event to a function (the application-wide stop keys).
class KeyHook : public QObject {
    Q_OBJECT
public:
    KeyHook(std::function<bool(QObject*, QEvent*)> filter, QObject* parent);
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    std::function<bool(QObject*, QEvent*)> filter_;
};

class MainFrame : public QMainWindow, private SessionView {
    Q_OBJECT
public:
    MainFrame(Family family, Dialogs& dialogs, ProgramState& state, QWidget* parent = nullptr);
    ~MainFrame() override;

    Session& session() { return *session_; }
    Family family() const { return family_; }
    bool isPointInput() const { return family_ == Family::PointInput; }

    // Runs a command as its menu item does. A tool-bar click runs it the same way: the
    // command's own operation clears Setting mode's silence of communication errors.
    void run(Command command);
    void toolbarClick(Command command);
    // Whether the dispatcher has a handler for the command (every built command has one).
    static bool handles(Command command);

    // The progress dialog of data operations (it has no parent: see ProgressDialog).
    ProgressDialog& progressDialog() { return *progress_; }
    // Undo and redo of the setting data.
    EditHistory& history() { return *history_; }
    // The rotary operating speed calculator, once opened.
    SpeedCalculatorWindow* calculator() const { return calculator_.get(); }
    // The STOP dialog of a return to origin.
    StopDialog& stopDialog() { return *stopDialog_; }
    // The View menu's tool windows, once opened.
    AnglePlotWindow* anglePlot() const { return anglePlot_.get(); }
    CommLogWindow* commLog() const { return commLog_.get(); }

    // The PDF file Print proposes when the system has no printer. Empty: "Setting list.pdf"
    // in the documents folder.
    void setProposedPdfPath(const QString& path) { proposedPdfPath_ = path; }

    // The code page setting files are written in: the user's choice, else the one of the
    // interface language.
    static codepage::Encoding savedFileEncoding();

    // Opens a setting file named from outside (the command line, a drop, the recent files),
    // after the save question. True when it was opened.
    bool openFromOutside(const QString& path);

    // The recent files, newest first (at most 8), as kept in the user's settings.
    static QStringList recentFiles();

    // Why the port could not be opened (or its setting not read), in the first status panel
    // for a while.
    void showPortProblem(const QString& reason);

signals:
    // A command is about to run (menu item, tool-bar button or panel button).
    void commandStarted(Command command);

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* e) override;

private:
    using Handler = void (MainFrame::*)();
    static const QHash<Command, Handler>& handlers();

    // SessionView
    void showComS(const QString& text) override;
    void showComR(const QString& text) override;
    void showError(const QString& text) override;
    void setMainWindowEnabled(bool on) override;
    void setToolbarEnabled(bool on) override;
    void setCommandsLocked(bool locked) override;
    Progress& progress() override;
    bool numericInputSelected() const override;
    void focusNumericInput() override;
    void focusSettingPosition() override;
    void showTableGrid() override { showGrid(1); }
    void showOriginShift(const QString& hundredths) override;
    void showStatusMessage(const QString& text) override;
    void showPassingMessage(const QString& text) override;
    void showTitle(const QString& title) override;
    void closeWindow() override;

    // Handlers, one per built command.
    void newFile();
    void openFile();
    void saveAs();
    void save();
    void print();
    void printPreview();
    void exitProgram();
    void showPointGrid();
    void showParameterGrid();
    void switchGrid();
    void toggleToolbar();
    void toggleStatusBar();
    void showAnglePlot();
    void showCommLog();
    void transmitTable();
    void transmitParameters();
    void receiveTable();
    void receiveParameters();
    void portSetup();
    void speedCalculation();
    void showVersion();
    void enterSettingMode();
    void enterOperationMode();
    void start();
    void returnToOrigin();
    void stop();
    void toggleServo();
    void toggleBrake();
    void clearDeviation();
    void cancelAlarm();
    void compare();
    void errorHistory();
    void initTable();
    void initParameters();
    void initOrigin();
    void changeOrigin();
    void chooseOriginShiftTarget();
    void choosePositionTarget();
    void set();
    void pressJogCw();
    void pressJogCcw();

    void buildMenus();
    void buildLanguageMenu(QMenu* view);
    void buildEncodingMenu(QMenu* file);
    void buildEditMenu();
    // The platform's keys for the File, Tool and Help items.
    void addShortcuts();
    void buildRecentMenu(QMenu* file);
    void refreshRecentMenu();
    // After an open or a save: the file heads the recent files.
    void rememberFile();
    // Where the window's size and position are kept in the user's settings.
    QString geometryKey() const;
    void chooseFileEncoding(codepage::Encoding encoding);
    void chooseLanguage(const QString& code);
    void buildToolbar();
    void buildStatusBar();
    void buildCentral();
    // Binds a menu item's click to its command; an unbuilt or foreign command is disabled.
    void bind(QAction* action, Command command);
    bool commandEnabled(Command command) const;
    void showPort(const QString& portName);
    // The connection panel: the port, its device and how the last exchange ended.
    void recordExchange(const ExchangeEntry& entry);
    void refreshConnectionPanel();
    // The first status panel shows text, whole in its tool tip, until the product label comes
    // back after ms milliseconds (or a later message takes the panel).
    void showInFirstPanel(const QString& text, const QString& styleSheet, int ms);
    QString productLabel() const;
    void showGrid(int which);  // 1 points/zones, 2 parameters (point-input window)
    void tickClock();
    void refreshLockPanels();
    // Brings the drive panel, Exit and the STOP dialog in line with the session's panel state.
    void showPanel();
    // Esc and Pause anywhere in this window (or the STOP dialog) while Stop is offered: the
    // STOP dialog's button during a return to origin, the Stop button otherwise. True when
    // the key was taken.
    bool stopKey(QObject* watched, QEvent* e);

    Family family_;
    Dialogs& dialogs_;
    std::unique_ptr<Session> session_;
    std::unique_ptr<EditHistory> history_;
    std::unique_ptr<ProgressDialog> progress_;
    std::unique_ptr<EntryDialogs> entryDialogs_;
    std::unique_ptr<SpeedCalculatorWindow> calculator_;
    std::unique_ptr<StopDialog> stopDialog_;
    std::unique_ptr<AnglePlotWindow> anglePlot_;
    std::unique_ptr<CommLogWindow> commLog_;
    KeyHook* stopKeys_ = nullptr;
    QTimer* portProblemTimer_ = nullptr;  // puts the product label back
    QString proposedPdfPath_;

    QToolBar* toolbar_ = nullptr;
    QHash<Command, QList<QAction*>> actions_;  // menu items and tool-bar buttons
    QList<QAction*> toolActions_;
    QHash<QString, QAction*> menuItems_;  // by form name
    QList<QLabel*> panels_;
    QLabel* connectionPanel_ = nullptr;
    QMenu* recentMenu_ = nullptr;
    bool geometryRestored_ = false;
    qint64 lastAnswerMs_ = -1;  // when the controller last answered (epoch ms); -1 never
    bool lastFailed_ = false;   // the last exchange got no answer or no port
    QString lastReason_;
    QTimer* clock_ = nullptr;
    GridView* tableView_ = nullptr;
    GridView* parameterView_ = nullptr;
    // Deleted before the session goes (see the destructor).
    QPointer<DrivePanel> drivePanel_;
    bool exitEnabledShown_ = true;
    bool numLock_ = false;
    bool capsLock_ = false;
};

}  // namespace kap
