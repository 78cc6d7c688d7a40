// The frame both main windows share: menus, tool bar, status bar, the two grids, the drive
// panel and the link boxes. What differs between the point-input and the pulse-train window
// is data (FrameTables), not code.
#pragma once

#include "ActuatorTypes.h"
#include "Link.h"
#include "TableHost.h"
#include "WindowSide.h"

#include <QHash>
#include <QMainWindow>

#include <functional>
#include <memory>

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTimer;
class QToolBar;

namespace kap {

class Dialogs;
class Grid;
class GridView;
class ParameterTable;
class PointTable;
class QtSerialLine;
class ReplyTimeout;
class ZoneTable;
class frmkeisan;

class MainFrame : public QMainWindow, public WindowSide, public TableHost {
    Q_OBJECT
public:
    MainFrame(Family family, Dialogs& dialogs, QWidget* parent = nullptr);
    ~MainFrame() override;

    Family family() const { return family_; }
    bool isPointInput() const { return family_ == Family::PointInput; }
    Link& link() { return *link_; }
    QtSerialLine& serialLine() { return *MSComm1; }

    // Menu items by their names (`mnuFileNew`); null for a name the window does not have.
    QAction* menuItem(const QString& name) const { return menu_.value(name); }
    QAction* toolButton(const QString& key) const { return tools_.value(key); }
    QToolBar* Toolbar1 = nullptr;

    // A tool-bar click: clears settei, runs the menu command of the key, sets settei again.
    void toolbarClick(const QString& key);

    // The seven panels of StatusBar1, in order.
    enum Panel { ProductPanel, OriginShiftPanel, PortPanel, NumPanel, CapsPanel, DatePanel, TimePanel };
    QLabel* statusPanel(Panel p) const { return panels_.at(p); }
    void showOriginShift(const QString& hundredthsOfDegree);
    void showPort(const QString& portName);
    // Every open main window shows the port in its port panel.
    static void showPortEverywhere(const QString& portName);

    Grid* Grid1 = nullptr;  // points (point-input) or zones (pulse-train)
    Grid* Grid2 = nullptr;  // parameters
    GridView* Grid1View = nullptr;
    GridView* Grid2View = nullptr;

    // The modified mark, kept as Grid1's tag.
    bool isModified() const;
    void setModified(bool on);

    // Save As; true when the file was written.
    bool saveAs();

    // The setting tables of this window.
    ParameterTable& parameters() { return *parameters_; }
    PointTable* points() { return points_.get(); }  // point-input window only
    ZoneTable* zones() { return zones_.get(); }     // pulse-train window only

    // Window flags the tables read (TableHost).
    bool setupFlag = false;
    bool bulkFillFlag = false;
    bool angleCheckHold = false;
    bool teachingFlag = false;
    bool settingUp() const override { return setupFlag; }
    bool bulkFilling() const override { return bulkFillFlag; }
    bool angleCheckHeld() const override { return angleCheckHold; }
    bool teaching() const override { return teachingFlag; }
    bool parameterGridShown() const override;
    bool setButtonEnabled() const override;
    void restoreIdle() override;
    void endProgram() override;

    // The actuator type dialog leaves out its MOVA frame (set by start-up for the pulse-train
    // window); every use of frmType::GetString passes it on.
    bool typeDialogWithoutFrame2 = false;

    // The progress dialog of data operations, once one is installed; hideProgress hides it.
    QWidget* progressDialog = nullptr;
    // Save As as the file commands provide it; without them Save As reports itself cancelled.
    std::function<bool()> saveAsHandler;
    // Exit and the closing steps as the file commands provide them (the save question, Stop
    // while a run is in progress, the port stored). Without them the window just closes.
    std::function<void()> exitHandler;
    std::function<bool()> closeHandler;  // true: the window may close

    // WindowSide
    Dialogs& dialogs() override { return dialogs_; }
    void showComS(const QString& text) override;
    void showComR(const QString& text) override;
    void showError(const QString& text) override;
    void setMainWindowEnabled(bool on) override;
    void hideProgress() override;
    void setToolbarEnabled(bool on) override;
    void setCommandsLocked(bool locked) override;
    bool numericInputSelected() const override;
    void focusNumericInput() override;

    QLineEdit* Txt_ComS = nullptr;
    QLineEdit* Txt_ComR = nullptr;
    QLineEdit* Txt_Error = nullptr;
    QLineEdit* Txt_NowPosi = nullptr;
    QLineEdit* Txt_Pos = nullptr;
    QLineEdit* Txt_spd = nullptr;
    QLineEdit* Txt_Dist = nullptr;
    QLineEdit* Txt_Limit = nullptr;
    QLabel* Label10 = nullptr;
    QPushButton* Cmd_Setup = nullptr;
    QPushButton* Cmd_driv = nullptr;
    QPushButton* Cmd_Start = nullptr;
    QPushButton* Cmd_Return = nullptr;
    QPushButton* Cmd_Stop = nullptr;
    QPushButton* Cmd_Op = nullptr;
    QPushButton* Cmd_Cl = nullptr;
    QPushButton* Cmd_Set = nullptr;
    QTimer* Tim_IO_Mon = nullptr;
    QTimer* Tim_Rs_Over = nullptr;

    // Opens a new, modeless port dialog.
    void mnuToolsCom_Click();
    // The rotary operating speed calculator (pulse-train window).
    void openCalculator();
    frmkeisan* calculator() const { return calculator_.get(); }

signals:
    // A menu command ran (for the commands later parts of the tool plug in).
    void commandRequested(const QString& menuName);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* e) override;
    // Hooks for the window-specific commands; the default does nothing.
    virtual void runCommand(const QString& menuName);

private:
    void buildMenus();
    void buildToolbar();
    void buildStatusBar();
    void buildCentral();
    QWidget* buildDrivePanel();
    void showInertiaUnit(const QString& exponents);
    void showGrid(int which);  // 1 points/zones, 2 parameters (point-input window)
    void tickClock();
    void refreshLockPanels();

    Family family_;
    Dialogs& dialogs_;
    QtSerialLine* MSComm1;
    // The pulse-train window keeps its own reply timeout; the point-input window shares the
    // program-wide one with the start-up window.
    std::unique_ptr<ReplyTimeout> ownTimeout_;
    std::unique_ptr<Link> link_;
    std::unique_ptr<frmkeisan> calculator_;
    std::unique_ptr<ParameterTable> parameters_;
    std::unique_ptr<PointTable> points_;
    std::unique_ptr<ZoneTable> zones_;
    std::unique_ptr<EntryDialogs> entryDialogs_;
    QHash<QString, QAction*> menu_;
    QHash<QString, QAction*> tools_;
    QList<QLabel*> panels_;
    QTimer* clock_ = nullptr;
    QRadioButton* numericInput_ = nullptr;
    bool numLock_ = false;
    bool capsLock_ = false;
};

// Shows a reply or line in a one-line box with its control characters visible.
QString visibleControls(const QString& text);

}  // namespace kap
