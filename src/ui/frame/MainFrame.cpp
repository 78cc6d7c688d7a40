#include "ui/frame/MainFrame.h"

#include "session/CommandOffer.h"

#include "data/Grid.h"
#include "data/Numbers.h"
#include "data/ParameterTable.h"
#include "data/PointTable.h"
#include "data/ZoneTable.h"
#include "exchange/Compare.h"
#include "exchange/Initialise.h"
#include "exchange/Receive.h"
#include "exchange/Transmit.h"
#include "files/SettingCommands.h"
#include "language/Language.h"
#include "link/ExchangeLog.h"
#include "link/ProgramState.h"
#include "operation/Drive.h"
#include "operation/ServoBrake.h"
#include "operation/Teaching.h"
#include "platform/Dialogs.h"
#include "platform/PortName.h"
#include "session/Session.h"
#include "ui/dialogs/PortDialog.h"
#include "ui/dialogs/ProgressDialog.h"
#include "ui/dialogs/QtEntryDialogs.h"
#include "ui/dialogs/QtTypeChooser.h"
#include "ui/dialogs/StopDialog.h"
#include "ui/frame/DrivePanel.h"
#include "ui/frame/EditHistory.h"
#include "ui/frame/FrameTables.h"
#include "ui/frame/SettingListPrinting.h"
#include "ui/grid/GridView.h"
#include "ui/toolwindows/AnglePlotWindow.h"
#include "ui/toolwindows/CommLogWindow.h"
#include "ui/toolwindows/ErrorHistoryWindow.h"
#include "ui/toolwindows/SpeedCalculatorWindow.h"
#include "ui/toolwindows/VersionWindow.h"
#include "ui/toolwindows/WindowPlacement.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QUndoStack>
#include <QUrl>
#include <QVBoxLayout>

#include <optional>

namespace kap {

KeyHook::KeyHook(std::function<bool(QObject*, QEvent*)> filter, QObject* parent)
    : QObject(parent), filter_(std::move(filter))
{
}

bool KeyHook::eventFilter(QObject* watched, QEvent* e)
{
    return filter_(watched, e);
}

namespace {

QStyle::StandardPixmap fallbackIcon(Command command)
{
    switch (command) {
    case Command::NewFile:
        return QStyle::SP_FileIcon;
    case Command::Open:
        return QStyle::SP_DialogOpenButton;
    case Command::SaveAs:
        return QStyle::SP_DialogSaveButton;
    case Command::Print:
        return QStyle::SP_FileDialogDetailedView;
    case Command::PortSetup:
        return QStyle::SP_ComputerIcon;
    case Command::InitTable:
        return QStyle::SP_DialogResetButton;
    case Command::TransmitTable:
        return QStyle::SP_ArrowRight;
    case Command::TransmitParameters:
        return QStyle::SP_MediaSeekForward;
    case Command::ReceiveTable:
        return QStyle::SP_ArrowLeft;
    case Command::ReceiveParameters:
        return QStyle::SP_MediaSeekBackward;
    case Command::Compare:
        return QStyle::SP_FileDialogContentsView;
    case Command::ErrorHistory:
        return QStyle::SP_MessageBoxWarning;
    case Command::SwitchGrid:
        return QStyle::SP_BrowserReload;
    case Command::SpeedCalculation:
        return QStyle::SP_DesktopIcon;
    case Command::Exit:
        return QStyle::SP_DialogCloseButton;
    default:
        return QStyle::SP_FileIcon;
    }
}

// The menu items a running data operation locks, with the whole tool bar.
const QStringList& lockedMenuItems()
{
    static const QStringList names = {
        "mnuViewGrid1",       "mnuViewGrid2", "mnuFileNew",     "mnuFileOpen",   "mnuFileSave",
        "mnuFileSaveCurrent", "mnuFilePrint", "mnuFilePreview", "mnuToolsTranP", "mnuToolsTranA",
        "mnuToolsRecP",       "mnuToolsRecA", "mnuToolsCom",    "mnuToolsComp",  "mnuToolsC_Org",
        "mnuToolsIni",        "mnuToolsBag",  "mnuHelpAbout",
    };
    return names;
}

}  // namespace

const QHash<Command, MainFrame::Handler>& MainFrame::handlers()
{
    using C = Command;
    static const QHash<Command, Handler> table = {
        {C::NewFile, &MainFrame::newFile},
        {C::Open, &MainFrame::openFile},
        {C::SaveAs, &MainFrame::saveAs},
        {C::Save, &MainFrame::save},
        {C::Print, &MainFrame::print},
        {C::PrintPreview, &MainFrame::printPreview},
        {C::Exit, &MainFrame::exitProgram},
        {C::ShowPointGrid, &MainFrame::showPointGrid},
        {C::ShowParameterGrid, &MainFrame::showParameterGrid},
        {C::SwitchGrid, &MainFrame::switchGrid},
        {C::ToggleToolbar, &MainFrame::toggleToolbar},
        {C::ToggleStatusBar, &MainFrame::toggleStatusBar},
        {C::ShowCommLog, &MainFrame::showCommLog},
        {C::ShowAnglePlot, &MainFrame::showAnglePlot},
        {C::TransmitTable, &MainFrame::transmitTable},
        {C::TransmitParameters, &MainFrame::transmitParameters},
        {C::ReceiveTable, &MainFrame::receiveTable},
        {C::ReceiveParameters, &MainFrame::receiveParameters},
        {C::PortSetup, &MainFrame::portSetup},
        {C::SpeedCalculation, &MainFrame::speedCalculation},
        {C::Version, &MainFrame::showVersion},
        {C::SettingMode, &MainFrame::enterSettingMode},
        {C::OperationMode, &MainFrame::enterOperationMode},
        {C::Start, &MainFrame::start},
        {C::ReturnToOrigin, &MainFrame::returnToOrigin},
        {C::Stop, &MainFrame::stop},
        {C::Servo, &MainFrame::toggleServo},
        {C::Brake, &MainFrame::toggleBrake},
        {C::ClearDeviation, &MainFrame::clearDeviation},
        {C::CancelAlarm, &MainFrame::cancelAlarm},
        {C::Compare, &MainFrame::compare},
        {C::ErrorHistory, &MainFrame::errorHistory},
        {C::InitTable, &MainFrame::initTable},
        {C::InitParameters, &MainFrame::initParameters},
        {C::InitOrigin, &MainFrame::initOrigin},
        {C::ChangeOrigin, &MainFrame::changeOrigin},
        {C::OriginShiftTarget, &MainFrame::chooseOriginShiftTarget},
        {C::PositionTarget, &MainFrame::choosePositionTarget},
        {C::Set, &MainFrame::set},
        {C::JogCw, &MainFrame::pressJogCw},
        {C::JogCcw, &MainFrame::pressJogCcw},
    };
    return table;
}

bool MainFrame::handles(Command command)
{
    return handlers().contains(command);
}

MainFrame::MainFrame(Family family, Dialogs& dialogs, ProgramState& state, QWidget* parent)
    : QMainWindow(parent), family_(family), dialogs_(dialogs),
      session_(std::make_unique<Session>(family, dialogs, state)),
      history_(std::make_unique<EditHistory>(*session_)),
      progress_(std::make_unique<ProgressDialog>()), stopDialog_(std::make_unique<StopDialog>())
{
    setObjectName(isPointInput() ? QStringLiteral("frmMain") : QStringLiteral("frmpulseMaindemo"));
    // "[*]": Qt shows the modified mark there while the data is marked modified.
    setWindowTitle(tr("PQ_Series KAP Support-Software ") + QStringLiteral("[*]"));
    // Qt's own tool-bar menu would hide the tool bar behind the View menu's back.
    setContextMenuPolicy(Qt::NoContextMenu);

    buildMenus();
    buildToolbar();
    buildStatusBar();
    buildCentral();

    entryDialogs_ = std::make_unique<QtEntryDialogs>(this);
    if (PointTable* points = session_->points())
        points->setEntryDialogs(entryDialogs_.get());
    if (ZoneTable* zones = session_->zones())
        zones->setEntryDialogs(entryDialogs_.get());
    connect(&session_->parameters(), &ParameterTable::inertiaLabelChanged, drivePanel_,
            &DrivePanel::showInertiaUnit);
    drivePanel_->showInertiaUnit(session_->parameters().inertiaLabel());
    showPort(state.portName);
    // The port dialog's OK and View > File encoding, from whichever window, hold for all.
    connect(&state, &ProgramState::portChosen, this, &MainFrame::showPort);
    connect(&state, &ProgramState::fileEncodingChosen, this,
            [this](codepage::Encoding encoding) { session_->setFileEncoding(encoding); });
    showOriginShift(QStringLiteral("0"));
    connect(&session_->tableGrid(), &Grid::tagChanged, this,
            [this] { setWindowModified(session_->isModified()); });
    session_->setView(this);
    operation::attach(*session_);
    connect(&session_->panel(), &PanelState::changed, this, &MainFrame::showPanel);
    connect(&session_->operations(), &OperationTracker::changed, this, &MainFrame::showPanel);
    connect(&session_->link(), &Link::portFailed, this, &MainFrame::showPortProblem);
    connect(&session_->link().log(), &ExchangeLog::entryRecorded, this, &MainFrame::recordExchange);
    connect(stopDialog_.get(), &StopDialog::stopPressed, this,
            [this] { operation::PressStopDialog(*session_); });
    showPanel();
    // The stop keys must work whatever has the focus, before any widget or shortcut sees them.
    stopKeys_ = new KeyHook([this](QObject* o, QEvent* e) { return stopKey(o, e); }, this);
    qApp->installEventFilter(stopKeys_);
    setAcceptDrops(true);
    resize(1100, 760);
}

MainFrame::~MainFrame()
{
    qApp->removeEventFilter(stopKeys_);
    // The views let go of the session's grids before the session goes.
    tableView_->setGrid(nullptr);
    parameterView_->setGrid(nullptr);
    session_->setView(nullptr);
    // The panel's widgets hand their last focus and edits to the session: they go first.
    delete drivePanel_;
}

// --- Commands ------------------------------------------------------------------------------

void MainFrame::bind(QAction* action, Command command)
{
    actions_[command].append(action);
    action->setEnabled(commandEnabled(command));
    connect(action, &QAction::triggered, this, [this, command] { run(command); });
}

bool MainFrame::commandEnabled(Command command) const
{
    return handles(command) && isAvailable(command, family_);
}

void MainFrame::run(Command command)
{
    const Handler handler = handlers().value(command);
    if (!handler || !isAvailable(command, family_))
        return;
    // A command the running operation does not offer is disabled on screen; a click that
    // reaches it anyway (a queued event, a shortcut) is refused here.
    if (operationOverride(*session_, command) == false)
        return;
    emit commandStarted(command);
    // Menu and tool-bar commands hold the session like the panel's operations do (those
    // hold it themselves).
    std::optional<OperationScope> scope;
    if (!session_->panel().hasButton(command) && isDataCommand(command))
        scope.emplace(*session_, Activity::DataCommand);
    (this->*handler)();
}

void MainFrame::toolbarClick(Command command)
{
    // Setting mode's silence of communication errors ends with the command: the command's
    // own scope starts with it cleared.
    run(command);
}

void MainFrame::newFile()
{
    if (SettingCommands(*session_).newFile())
        history_->reset();
}

void MainFrame::openFile()
{
    if (SettingCommands(*session_).open() == SettingCommands::OpenResult::Opened)
        rememberFile();
}

void MainFrame::saveAs()
{
    if (SettingCommands(*session_).saveAs()) {
        history_->markSaved();
        rememberFile();
    }
}

void MainFrame::save()
{
    if (SettingCommands(*session_).save()) {
        history_->markSaved();
        rememberFile();
    }
}

bool MainFrame::openFromOutside(const QString& path)
{
    // Held like a menu command: nothing else may start while it asks and loads.
    if (!session_->operations().idle() || !commandEnabled(Command::Open)
        || !menuItems_.value(QStringLiteral("mnuFileOpen"))->isEnabled())
        return false;
    const OperationScope scope(*session_, Activity::DataCommand);
    if (SettingCommands(*session_).openPath(path) != SettingCommands::OpenResult::Opened)
        return false;
    rememberFile();
    return true;
}

namespace {

const QString kRecentKey = QStringLiteral("RecentFiles");
constexpr int kRecentCount = 8;

}  // namespace

QStringList MainFrame::recentFiles()
{
    return language::userValue(kRecentKey).toStringList().mid(0, kRecentCount);
}

void MainFrame::rememberFile()
{
    const QString path = QFileInfo(session_->currentFile()).absoluteFilePath();
    QStringList files = recentFiles();
    files.removeAll(path);
    files.prepend(path);
    language::setUserValue(kRecentKey, files.mid(0, kRecentCount));
}

// File > "Recent files": the last 8 files opened or saved, newest first. A file that has gone
// is taken off the list, and the status bar says so.
void MainFrame::buildRecentMenu(QMenu* file)
{
    recentMenu_ = new QMenu(tr("Recent files"), file);
    recentMenu_->setObjectName(QStringLiteral("mnuFileRecent"));
    recentMenu_->menuAction()->setObjectName(QStringLiteral("mnuFileRecent"));
    file->insertMenu(menuItems_.value(QStringLiteral("mnuFileSaveCurrent")), recentMenu_);
    connect(recentMenu_, &QMenu::aboutToShow, this, &MainFrame::refreshRecentMenu);
    refreshRecentMenu();
}

void MainFrame::refreshRecentMenu()
{
    recentMenu_->clear();
    const QStringList files = recentFiles();
    for (int i = 0; i < files.size(); ++i) {
        const QString path = files.at(i);
        //: A recent file: its number as the menu key, and its name.
        QAction* a =
            recentMenu_->addAction(tr("&%1 %2").arg(i + 1).arg(QFileInfo(path).fileName()));
        a->setObjectName(QStringLiteral("mnuFileRecent_%1").arg(i + 1));
        a->setStatusTip(path);
        connect(a, &QAction::triggered, this, [this, path] {
            if (QFileInfo(path).isFile()) {
                openFromOutside(path);
                return;
            }
            QStringList kept = recentFiles();
            kept.removeAll(path);
            language::setUserValue(kRecentKey, kept);
            showStatusMessage(tr("%1 is no longer there; taken off the recent files").arg(path));
        });
    }
    recentMenu_->setEnabled(!files.isEmpty());
}

void MainFrame::addShortcuts()
{
    const struct {
        const char* item;
        QKeySequence keys;
    } keys[] = {
        {"mnuFileNew", QKeySequence::New},
        {"mnuFileOpen", QKeySequence::Open},
        {"mnuFileSaveCurrent", QKeySequence::Save},
        {"mnuFileSave", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)},
        {"mnuFilePrint", QKeySequence::Print},
        {"mnuFileExit", QKeySequence(Qt::CTRL | Qt::Key_Q)},
        {"mnuToolsRecP", QKeySequence(Qt::CTRL | Qt::Key_R)},
        {"mnuToolsRecA", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_R)},
        {"mnuToolsTranP", QKeySequence(Qt::CTRL | Qt::Key_T)},
        {"mnuToolsTranA", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T)},
        {"mnuHelpAbout", QKeySequence(Qt::Key_F1)},
    };
    for (const auto& k : keys) {
        if (QAction* a = menuItems_.value(QLatin1String(k.item)))
            a->setShortcut(k.keys);
    }
}

void MainFrame::dragEnterEvent(QDragEnterEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() == 1 && urls.first().isLocalFile())
        event->acceptProposedAction();
}

void MainFrame::dropEvent(QDropEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() != 1 || !urls.first().isLocalFile())
        return;
    event->acceptProposedAction();
    // After the drop has ended: the save question and the boxes are modal.
    const QString path = urls.first().toLocalFile();
    QTimer::singleShot(0, this, [this, path] { openFromOutside(path); });
}
void MainFrame::exitProgram()
{
    SettingCommands(*session_).exit();
}
void MainFrame::print()
{
    PrintSettingList(*session_, proposedPdfPath_);
}
void MainFrame::printPreview()
{
    PreviewSettingList(*session_, this);
}
void MainFrame::transmitTable()
{
    exchange::TransmitTable(*session_);
}
void MainFrame::transmitParameters()
{
    exchange::TransmitParameters(*session_);
}
void MainFrame::receiveTable()
{
    exchange::ReceiveTable(*session_);
}
void MainFrame::receiveParameters()
{
    exchange::ReceiveParameters(*session_);
}
void MainFrame::showVersion()
{
    showVersionWindow(*session_, this);
}
void MainFrame::showPointGrid()
{
    showGrid(1);
}
void MainFrame::enterSettingMode()
{
    operation::EnterSettingMode(*session_);
}
void MainFrame::enterOperationMode()
{
    operation::EnterOperationMode(*session_);
}
void MainFrame::start()
{
    operation::Start(*session_);
}
void MainFrame::returnToOrigin()
{
    operation::Org(*session_);
}
void MainFrame::stop()
{
    operation::Stop(*session_);
}
void MainFrame::toggleServo()
{
    operation::ToggleServo(*session_);
}
void MainFrame::toggleBrake()
{
    operation::ToggleBrake(*session_);
}
void MainFrame::clearDeviation()
{
    operation::ClearDeviation(*session_);
}
void MainFrame::cancelAlarm()
{
    operation::CancelAlarm(*session_);
}
void MainFrame::set()
{
    operation::Set(*session_);
}
void MainFrame::compare()
{
    exchange::Compare(*session_);
}
void MainFrame::errorHistory()
{
    showErrorHistoryWindow(*session_, this);
}
void MainFrame::initTable()
{
    exchange::InitTable(*session_, [this] { return SettingCommands(*session_).askToSave(); });
}
void MainFrame::initOrigin()
{
    exchange::InitOrigin(*session_);
}
void MainFrame::changeOrigin()
{
    exchange::ChangeOrigin(*session_);
}

void MainFrame::initParameters()
{
    QtTypeChooser chooser(this);
    exchange::InitParameters(*session_, chooser,
                             [this] { return SettingCommands(*session_).askToSave(); });
}
void MainFrame::pressJogCw()
{
    operation::PressJog(*session_, true);
}
void MainFrame::pressJogCcw()
{
    operation::PressJog(*session_, false);
}

void MainFrame::chooseOriginShiftTarget()
{
    operation::ChooseTarget(*session_, TeachingTarget::OriginShift);
}

void MainFrame::choosePositionTarget()
{
    operation::ChooseTarget(*session_, TeachingTarget::Position);
}
void MainFrame::showParameterGrid()
{
    showGrid(2);
}

void MainFrame::switchGrid()
{
    showGrid(session_->parameterGrid().isVisible() ? 1 : 2);
}

void MainFrame::toggleToolbar()
{
    // A menu click has toggled the mark already; any other caller toggles it here.
    QAction* a = menuItems_.value(QStringLiteral("mnuViewToolbar"));
    if (sender() != a)
        a->setChecked(!a->isChecked());
    toolbar_->setVisible(a->isChecked());
}

void MainFrame::toggleStatusBar()
{
    QAction* a = menuItems_.value(QStringLiteral("mnuViewStatusBar"));
    if (sender() != a)
        a->setChecked(!a->isChecked());
    statusBar()->setVisible(a->isChecked());
}

void MainFrame::portSetup()
{
    ProgramState& state = session_->programState();
    state.portName = ports::usableOrFirst(state.portName);
    auto* dialog = new PortDialog(state, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    placeBeside(dialog, this);
    dialog->show();
}

void MainFrame::speedCalculation()
{
    // The calculator has no parent: disabling this window would disable it too.
    if (!calculator_) {
        calculator_ = std::make_unique<SpeedCalculatorWindow>(dialogs_);
        connect(calculator_.get(), &SpeedCalculatorWindow::closed, this,
                [this] { setEnabled(true); });
    }
    setEnabled(false);
    placeBeside(calculator_.get(), this);
    calculator_->openFor(session_->actuatorType());
}

void MainFrame::showAnglePlot()
{
    // Without a parent, so it stays usable while a data operation disables this window.
    if (!anglePlot_) {
        anglePlot_ = std::make_unique<AnglePlotWindow>(session_->angleHistory(), family_, dialogs_);
    }
    placeBeside(anglePlot_.get(), this);
    anglePlot_->show();
    anglePlot_->raise();
}

void MainFrame::showCommLog()
{
    // Without a parent, like the plot: the log is most wanted while an operation runs.
    if (!commLog_)
        commLog_ = std::make_unique<CommLogWindow>(session_->link().log(), dialogs_);
    placeBeside(commLog_.get(), this);
    commLog_->show();
    commLog_->raise();
}

void MainFrame::showGrid(int which)
{
    if (!isPointInput())
        return;
    menuItems_.value(QStringLiteral("mnuViewGrid1"))->setChecked(which == 1);
    menuItems_.value(QStringLiteral("mnuViewGrid2"))->setChecked(which == 2);
    // The grid now shown takes the focus: keys must never go on to the one hidden (it
    // could keep the focus while a menu had the keyboard).
    Grid& shown = which == 1 ? session_->tableGrid() : session_->parameterGrid();
    Grid& hidden = which == 1 ? session_->parameterGrid() : session_->tableGrid();
    shown.setVisible(true);
    hidden.setVisible(false);
    (which == 1 ? tableView_ : parameterView_)->setFocus(Qt::OtherFocusReason);
}

// --- Frame ---------------------------------------------------------------------------------

void MainFrame::buildMenus()
{
    QList<QMenu*> stack;
    const FrameTables tables = frameTablesFor(family_);
    for (const MenuEntry& e : tables.menu) {
        switch (e.kind) {
        case MenuEntry::SubMenu: {
            QMenu* m = stack.isEmpty() ? menuBar()->addMenu(e.caption)
                                       : stack.last()->addMenu(e.caption);
            m->setObjectName(e.name);
            m->menuAction()->setObjectName(e.name);
            menuItems_.insert(e.name, m->menuAction());
            stack.append(m);
            break;
        }
        case MenuEntry::EndSubMenu:
            stack.removeLast();
            break;
        case MenuEntry::Separator:
            stack.last()->addSeparator()->setObjectName(e.name);
            break;
        case MenuEntry::Item: {
            QAction* a = stack.last()->addAction(e.caption);
            a->setObjectName(e.name);
            a->setCheckable(e.checkable);
            a->setChecked(e.checked);
            menuItems_.insert(e.name, a);
            bind(a, e.command);
            break;
        }
        }
    }
    buildEncodingMenu(menuItems_.value(QStringLiteral("mnuFile"))->menu());
    buildEditMenu();
    buildRecentMenu(menuItems_.value(QStringLiteral("mnuFile"))->menu());
    addShortcuts();
    buildLanguageMenu(menuItems_.value(QStringLiteral("mnuView"))->menu());
}

// Edit, between File and View: undo and redo of the setting data, with the platform's keys.
void MainFrame::buildEditMenu()
{
    auto* menu = new QMenu(tr("Edit(&I)"), this);
    menu->setObjectName(QStringLiteral("mnuEdit"));
    menu->menuAction()->setObjectName(QStringLiteral("mnuEdit"));
    menuBar()->insertMenu(menuItems_.value(QStringLiteral("mnuView")), menu);
    QAction* undo = menu->addAction(tr("&Undo"));
    undo->setObjectName(QStringLiteral("mnuEditUndo"));
    undo->setShortcut(QKeySequence::Undo);
    QAction* redo = menu->addAction(tr("&Redo"));
    redo->setObjectName(QStringLiteral("mnuEditRedo"));
    // Ctrl+Shift+Z everywhere; the platform's own key (Ctrl+Y on some) as well.
    QList<QKeySequence> redoKeys{QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)};
    for (const QKeySequence& k : QKeySequence::keyBindings(QKeySequence::Redo)) {
        if (!redoKeys.contains(k))
            redoKeys << k;
    }
    redo->setShortcuts(redoKeys);
    connect(undo, &QAction::triggered, this, [this] { history_->undo(); });
    connect(redo, &QAction::triggered, this, [this] { history_->redo(); });
    const auto refresh = [this, undo, redo] {
        undo->setEnabled(history_->stack().canUndo() && history_->canChange());
        redo->setEnabled(history_->stack().canRedo() && history_->canChange());
    };
    connect(&history_->stack(), &QUndoStack::indexChanged, this, refresh);
    connect(&session_->operations(), &OperationTracker::changed, this, refresh);
    connect(&session_->tableGrid(), &Grid::readOnlyChanged, this, refresh);
    refresh();
}

codepage::Encoding MainFrame::savedFileEncoding()
{
    const std::optional<codepage::Encoding> saved =
        codepage::fromName(language::userValue(QStringLiteral("FileEncoding")).toString());
    return saved.value_or(codepage::forLanguage(language::current()));
}

// File > File encoding: the code page setting files are written in, and read in first. It
// is the user's, kept in the settings, and every open window takes it at once.
void MainFrame::buildEncodingMenu(QMenu* file)
{
    QAction* before = menuItems_.value(QStringLiteral("mnuFileSave"));
    const QList<QAction*> actions = file->actions();
    const qsizetype next = actions.indexOf(before) + 1;
    QMenu* menu = new QMenu(tr("File encoding"), file);
    menu->setObjectName(QStringLiteral("mnuFileEncoding"));
    menu->menuAction()->setObjectName(QStringLiteral("mnuFileEncoding"));
    file->insertMenu(actions.value(next), menu);
    auto* group = new QActionGroup(menu);
    const struct {
        codepage::Encoding encoding;
        QString caption;
    } choices[] = {
        {codepage::Encoding::Windows1252, tr("Windows-1252 (Western)")},
        {codepage::Encoding::ShiftJis, tr("Shift_JIS (Japanese)")},
    };
    for (const auto& choice : choices) {
        QAction* a = menu->addAction(choice.caption);
        a->setObjectName(QStringLiteral("mnuFileEncoding_") + codepage::name(choice.encoding));
        a->setCheckable(true);
        group->addAction(a);
        const codepage::Encoding encoding = choice.encoding;
        connect(a, &QAction::triggered, this, [this, encoding] { chooseFileEncoding(encoding); });
    }
    session_->setFileEncoding(savedFileEncoding());
    const auto refresh = [this, menu] {
        const QString current = codepage::name(session_->fileEncoding());
        for (QAction* a : menu->actions())
            a->setChecked(a->objectName().endsWith(u'_' + current));
    };
    connect(menu, &QMenu::aboutToShow, this, refresh);
    refresh();
}

void MainFrame::chooseFileEncoding(codepage::Encoding encoding)
{
    emit session_->programState().fileEncodingChosen(encoding);
    if (!language::setUserValue(QStringLiteral("FileEncoding"), codepage::name(encoding))) {
        dialogs_.message(tr("The file encoding could not be kept in your settings."),
                         tr("File encoding"), MsgIcon::Exclamation, MsgButtons::Ok);
    }
}

// View > Language: English or Japanese, each in its own language. The choice is the user's
// and takes effect at the next start; the check mark shows the language the next start uses.
void MainFrame::buildLanguageMenu(QMenu* view)
{
    view->addSeparator()->setObjectName(QStringLiteral("mnuViewBar2"));
    QMenu* menu = view->addMenu(tr("Language"));
    menu->setObjectName(QStringLiteral("mnuViewLanguage"));
    menu->menuAction()->setObjectName(QStringLiteral("mnuViewLanguage"));
    auto* group = new QActionGroup(menu);
    for (const QString& code : language::codes()) {
        QAction* a = menu->addAction(language::nativeName(code));
        a->setObjectName(QStringLiteral("mnuViewLanguage_") + code);
        a->setCheckable(true);
        group->addAction(a);
        connect(a, &QAction::triggered, this, [this, code] { chooseLanguage(code); });
    }
    const auto refresh = [menu] {
        const QString next = language::resolve(language::savedChoice(), QLocale::system());
        for (QAction* a : menu->actions())
            a->setChecked(a->objectName().endsWith(u'_' + next));
    };
    connect(menu, &QMenu::aboutToShow, this, refresh);
    refresh();
}

void MainFrame::chooseLanguage(const QString& code)
{
    Dialogs& dialogs = session_->dialogs();
    if (!language::saveChoice(code)) {
        dialogs.message(tr("The language could not be kept in your settings."), tr("Language"),
                        MsgIcon::Exclamation, MsgButtons::Ok);
        return;
    }
    if (code == language::current())
        return;
    dialogs.message(tr("The windows will be in %1 from the next start of the program.")
                        .arg(language::nativeName(code)),
                    tr("Language"), MsgIcon::Information, MsgButtons::Ok);
}

void MainFrame::buildToolbar()
{
    toolbar_ = addToolBar(tr("Tool bar"));
    toolbar_->setObjectName(QStringLiteral("Toolbar1"));
    toolbar_->setMovable(false);
    toolbar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    const FrameTables tables = frameTablesFor(family_);
    for (const ToolButtonSpec& t : tables.toolbar) {
        const QIcon icon = QIcon::fromTheme(t.iconName,
                                            style()->standardIcon(fallbackIcon(t.command)));
        QAction* a = toolbar_->addAction(icon, t.toolTip);
        a->setObjectName(QStringLiteral("Toolbar1_") + t.key);
        a->setToolTip(t.toolTip);
        actions_[t.command].append(a);
        toolActions_.append(a);
        a->setEnabled(commandEnabled(t.command));
        const Command command = t.command;
        connect(a, &QAction::triggered, this, [this, command] { toolbarClick(command); });
    }
}

void MainFrame::buildStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    const QStringList names = {"Panel1_Product", "Panel2_OriginShift", "Panel3_Port", "Panel4_Num",
                               "Panel5_Caps",    "Panel6_Date",        "Panel7_Time"};
    for (int i = 0; i < names.size(); ++i) {
        auto* label = new QLabel(bar);
        label->setObjectName(names[i]);
        label->setFrameShape(QFrame::StyledPanel);
        label->setFrameShadow(QFrame::Sunken);
        label->setMargin(2);
        if (i < 2)
            bar->addWidget(label, i == 0 ? 1 : 0);
        else
            bar->addPermanentWidget(label);
        panels_.append(label);
    }
    panels_[0]->setText(productLabel());
    // A long reason is cut at the window's edge rather than widening the window.
    panels_[0]->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    portProblemTimer_ = new QTimer(this);
    portProblemTimer_->setObjectName(QStringLiteral("tmrPortProblem"));
    portProblemTimer_->setSingleShot(true);
    portProblemTimer_->setInterval(10'000);
    connect(portProblemTimer_, &QTimer::timeout, this, [this] {
        panels_[0]->setText(productLabel());
        panels_[0]->setToolTip({});
        panels_[0]->setStyleSheet({});
    });
    // Beside the port: its device and how the last exchange went.
    connectionPanel_ = new QLabel(bar);
    connectionPanel_->setObjectName(QStringLiteral("Panel_Connection"));
    connectionPanel_->setFrameShape(QFrame::StyledPanel);
    connectionPanel_->setFrameShadow(QFrame::Sunken);
    connectionPanel_->setMargin(2);
    bar->insertPermanentWidget(bar->children().indexOf(panels_[2]), connectionPanel_);
    panels_[3]->setText(tr("NUM"));
    panels_[4]->setText(tr("CAPS"));
    refreshLockPanels();
    clock_ = new QTimer(this);
    connect(clock_, &QTimer::timeout, this, &MainFrame::tickClock);
    clock_->start(1000);
    tickClock();
}

void MainFrame::tickClock()
{
    refreshConnectionPanel();
    const QDateTime now = QDateTime::currentDateTime();
    const QLocale locale = language::locale();
    panels_[5]->setText(locale.toString(now.date(), QLocale::ShortFormat));
    panels_[6]->setText(locale.toString(now.time(), QLocale::ShortFormat));
}

void MainFrame::refreshLockPanels()
{
    // The lock keys' state is known from the key presses this window sees.
    panels_[3]->setEnabled(numLock_);
    panels_[4]->setEnabled(capsLock_);
}

bool MainFrame::event(QEvent* e)
{
    // A file dropped anywhere on the window; the main window's own handling of drops is for
    // its tool bars.
    if (e->type() == QEvent::DragEnter) {
        dragEnterEvent(static_cast<QDragEnterEvent*>(e));
        return true;
    }
    if (e->type() == QEvent::Drop) {
        dropEvent(static_cast<QDropEvent*>(e));
        return true;
    }
    if (e->type() == QEvent::ShortcutOverride || e->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(e)->key();
        if (e->type() == QEvent::KeyPress && key == Qt::Key_NumLock)
            numLock_ = !numLock_;
        if (e->type() == QEvent::KeyPress && key == Qt::Key_CapsLock)
            capsLock_ = !capsLock_;
        refreshLockPanels();
    }
    return QMainWindow::event(e);
}

QString MainFrame::productLabel() const
{
    return tr("KAP Support-Software  %1")
        .arg(isPointInput() ? tr("Point input type") : tr("Pulse train input type"));
}

void MainFrame::showPortProblem(const QString& reason)
{
    // A repeated failure keeps it up for another ten seconds.
    showInFirstPanel(reason, QStringLiteral("color: #b00000;"), 10'000);
}

void MainFrame::showInFirstPanel(const QString& text, const QString& styleSheet, int ms)
{
    panels_[0]->setText(text);
    panels_[0]->setToolTip(text);
    panels_[0]->setStyleSheet(styleSheet);
    portProblemTimer_->start(ms);
}

void MainFrame::showPort(const QString& portName)
{
    panels_[2]->setText(portName);
    refreshConnectionPanel();
}

void MainFrame::recordExchange(const ExchangeEntry& entry)
{
    using Kind = ExchangeEntry::Kind;
    switch (entry.kind) {
    case Kind::Received:
        lastAnswerMs_ = QDateTime::currentMSecsSinceEpoch();
        lastFailed_ = false;
        break;
    case Kind::Timeout:
        lastFailed_ = true;
        lastReason_ = tr("The controller did not answer in time.");
        break;
    case Kind::PortError:
    case Kind::LineLost:
        lastFailed_ = true;
        lastReason_ = entry.kind == Kind::LineLost ? tr("The line was lost") : entry.note;
        break;
    default:
        return;
    }
    refreshConnectionPanel();
}

void MainFrame::refreshConnectionPanel()
{
    if (!connectionPanel_)
        return;
    const QString port = session_->programState().portName;
    const QString device = session_->serialLine().deviceFor(port);
    //: The connection panel: the port and the device it stands for, "COM3 /dev/ttyUSB0".
    const QString where = device.isEmpty() || device == port ? port : tr("%1 %2").arg(port, device);
    QString text = where;
    if (lastFailed_) {
        text = tr("%1 · no answer").arg(port);
    } else if (lastAnswerMs_ >= 0) {
        const qint64 ago = (QDateTime::currentMSecsSinceEpoch() - lastAnswerMs_) / 1000;
        text = tr("%1 · answered %2 s ago").arg(where).arg(ago);
    }
    connectionPanel_->setText(text);
    connectionPanel_->setStyleSheet(lastFailed_ ? QStringLiteral("color: #b00000;") : QString());
    connectionPanel_->setToolTip(lastFailed_ ? where + u'\n' + lastReason_ : where);
}

void MainFrame::showEvent(QShowEvent* event)
{
    if (!geometryRestored_) {
        geometryRestored_ = true;
        // Where the user left it, else the default size; never larger than the screen.
        const QByteArray saved = language::userValue(geometryKey()).toByteArray();
        if (saved.isEmpty() || !restoreGeometry(saved)) {
            // Room for the panels without scrolling where the screen has it.
            QSize want = size();
            if (auto* scroller = qobject_cast<QScrollArea*>(centralWidget())) {
                layout()->activate();
                const QSize bars = size() - scroller->size();
                want = want.expandedTo(scroller->widget()->minimumSizeHint() + bars);
            }
            // The frame, where the window system has told it yet, counts against the room.
            const QSize frame = frameGeometry().size() - size();
            if (const QScreen* s = screen())
                want = want.boundedTo(s->availableGeometry().size() - frame);
            resize(want);
        }
    }
    // The window may have been built before start-up read the port from the settings file.
    showPort(session_->programState().portName);
    QMainWindow::showEvent(event);
}

void MainFrame::buildCentral()
{
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);

    tableView_ = new GridView(&session_->tableGrid(), central);
    tableView_->setGridName(QStringLiteral("Grid1"));
    tableView_->setAccessibleName(isPointInput() ? tr("Point table") : tr("Zone table"));
    parameterView_ = new GridView(&session_->parameterGrid(), central);
    parameterView_->setGridName(QStringLiteral("Grid2"));
    parameterView_->setAccessibleName(tr("Parameter table"));

    if (isPointInput()) {
        layout->addWidget(tableView_, 1);
        layout->addWidget(parameterView_, 1);
    } else {
        auto* zoneFrame = new QGroupBox(ZoneTable::frameCaption(), central);
        zoneFrame->setObjectName(QStringLiteral("Frame_Zone"));
        auto* zl = new QVBoxLayout(zoneFrame);
        zl->addWidget(tableView_);
        auto* grids = new QHBoxLayout;
        // The parameters take the larger share: their names should show whole at 1280 pixels,
        // while the zone table scrolls its wide Note column.
        grids->addWidget(zoneFrame, 2);
        grids->addWidget(parameterView_, 3);
        layout->addLayout(grids, 1);
    }
    drivePanel_ = new DrivePanel(
        *session_, [this](Command command) { return commandEnabled(command); }, central);
    connect(drivePanel_, &DrivePanel::commandRequested, this, &MainFrame::run);
    layout->addWidget(drivePanel_);
    // On a small screen or at a large scale the panels scroll rather than push the window
    // past the screen's edges.
    auto* scroller = new QScrollArea(this);
    scroller->setObjectName(QStringLiteral("CentralScroller"));
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setFocusPolicy(Qt::NoFocus);  // the panels' own controls take the keys
    scroller->setWidgetResizable(true);
    scroller->setWidget(central);
    setCentralWidget(scroller);
}

// --- SessionView ---------------------------------------------------------------------------

void MainFrame::showComS(const QString& text)
{
    drivePanel_->showSent(text);
}

void MainFrame::showComR(const QString& text)
{
    drivePanel_->showReply(text);
}

void MainFrame::showError(const QString& text)
{
    drivePanel_->showControllerError(text);
}

void MainFrame::setMainWindowEnabled(bool on)
{
    setEnabled(on);
}

void MainFrame::setToolbarEnabled(bool on)
{
    toolbar_->setEnabled(on);
}

void MainFrame::setCommandsLocked(bool locked)
{
    for (auto it = actions_.cbegin(); it != actions_.cend(); ++it) {
        for (QAction* a : it.value()) {
            if (toolActions_.contains(a) || lockedMenuItems().contains(a->objectName()))
                a->setEnabled(!locked && commandEnabled(it.key()));
        }
    }
    menuItems_.value(QStringLiteral("mnuToolsIni"))->setEnabled(!locked);
}

Progress& MainFrame::progress()
{
    return *progress_;
}

bool MainFrame::numericInputSelected() const
{
    return drivePanel_->numericInputSelected();
}

void MainFrame::focusNumericInput()
{
    drivePanel_->focusNumericInput();
}

void MainFrame::focusSettingPosition()
{
    drivePanel_->focusSettingPosition();
}

void MainFrame::showOriginShift(const QString& hundredths)
{
    const std::optional<double> v = numbers::readNumber(hundredths);
    panels_[1]->setText(
        tr("Origin point shift: %1").arg(numbers::formatFixed(v ? *v / 100.0 : 0.0, 2)));
}

void MainFrame::showStatusMessage(const QString& text)
{
    // Long enough to read a list of parameters after closing the box that may follow.
    showInFirstPanel(text, QString(), 30'000);
}

void MainFrame::showPassingMessage(const QString& text)
{
    showInFirstPanel(text, QString(), 5'000);
}

void MainFrame::showTitle(const QString& title)
{
    setWindowTitle(title + QStringLiteral("[*]"));
}

void MainFrame::closeWindow()
{
    close();
}

QString MainFrame::geometryKey() const
{
    return QStringLiteral("Geometry/") + objectName();
}

void MainFrame::closeEvent(QCloseEvent* event)
{
    if (!SettingCommands(*session_).closing()) {
        event->ignore();
        return;
    }
    language::setUserValue(geometryKey(), saveGeometry());
    event->accept();
    QApplication::quit();
}

// --- Drive panel ---------------------------------------------------------------------------

void MainFrame::showPanel()
{
    if (!drivePanel_)
        return;  // the window is going
    drivePanel_->showState();
    const PanelState& state = session_->panel();
    // Exit follows the panel only when the panel changes it: the command lock owns it
    // otherwise.
    if (state.exitEnabled() != exitEnabledShown_) {
        exitEnabledShown_ = state.exitEnabled();
        for (QAction* a : actions_.value(Command::Exit)) {
            if (toolActions_.contains(a))
                a->setEnabled(exitEnabledShown_);
        }
    }
    if (stopDialog_->isVisible() != state.stopDialogShown()) {
        if (state.stopDialogShown()) {
            stopDialog_->show();
            stopDialog_->raise();
        } else {
            stopDialog_->hide();
        }
    }
}

bool MainFrame::stopKey(QObject* watched, QEvent* e)
{
    if (e->type() != QEvent::ShortcutOverride && e->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(e);
    if ((key->key() != Qt::Key_Escape && key->key() != Qt::Key_Pause)
        || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || (widget->window() != this && widget->window() != stopDialog_.get()))
        return false;
    const bool dialogStop = session_->panel().stopDialogShown() && stopDialog_->isVisible();
    QPushButton* stopButton = drivePanel_ ? drivePanel_->buttonFor(Command::Stop) : nullptr;
    const bool buttonStop = stopButton && stopButton->isVisibleTo(this) && stopButton->isEnabled();
    if (!dialogStop && !buttonStop)
        return false;  // nothing may move: Esc keeps its usual meaning
    // Taken before any shortcut or editor; the press itself stops.
    e->accept();
    if (e->type() == QEvent::KeyPress && !key->isAutoRepeat()) {
        if (dialogStop) {
            operation::PressStopDialog(*session_);
        } else {
            operation::PressStop(*session_);
            run(Command::Stop);
        }
    }
    return true;
}

}  // namespace kap
