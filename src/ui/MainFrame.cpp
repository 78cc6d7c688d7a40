#include "MainFrame.h"

#include "Dialogs.h"
#include "LinkReactions.h"
#include "FrameTables.h"
#include "Grid.h"
#include "GridView.h"
#include "Module1.h"
#include "Numbers.h"
#include "ParameterTable.h"
#include "PointTable.h"
#include "QtEntryDialogs.h"
#include "ZoneTable.h"
#include "QtSerialLine.h"
#include "frmP.h"
#include "frmVer.h"
#include "frmkeisan.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include <cstdlib>

namespace kap {
namespace {

QList<QPointer<MainFrame>>& liveFrames()
{
    static QList<QPointer<MainFrame>> frames;
    return frames;
}

QIcon themeIcon(const QString& name, QStyle::StandardPixmap fallback, QStyle* style)
{
    return QIcon::fromTheme(name, style->standardIcon(fallback));
}

QStyle::StandardPixmap fallbackFor(const QString& key)
{
    static const QHash<QString, QStyle::StandardPixmap> map = {
        {"NewFile", QStyle::SP_FileIcon},
        {"Open", QStyle::SP_DialogOpenButton},
        {"SaveAS", QStyle::SP_DialogSaveButton},
        {"Print", QStyle::SP_FileDialogDetailedView},
        {"ComSetup", QStyle::SP_ComputerIcon},
        {"Init(Point)", QStyle::SP_DialogResetButton},
        {"Init(Zone)", QStyle::SP_DialogResetButton},
        {"Transmit(Point)", QStyle::SP_ArrowRight},
        {"Transmit(Zone)", QStyle::SP_ArrowRight},
        {"Transmit(Parameters)", QStyle::SP_MediaSeekForward},
        {"Receive(Point)", QStyle::SP_ArrowLeft},
        {"Receive(Zone)", QStyle::SP_ArrowLeft},
        {"Receive(Parameters)", QStyle::SP_MediaSeekBackward},
        {"Cmpare", QStyle::SP_FileDialogContentsView},
        {"Errorhistorydisplay", QStyle::SP_MessageBoxWarning},
        {"Window", QStyle::SP_BrowserReload},
        {"SpeedCalculation", QStyle::SP_DesktopIcon},
        {"Exit", QStyle::SP_DialogCloseButton},
    };
    return map.value(key, QStyle::SP_FileIcon);
}

}  // namespace

QString visibleControls(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (c == QLatin1Char('\r'))
            out += QStringLiteral("<CR>");
        else if (c == QLatin1Char('\n'))
            out += QStringLiteral("<LF>");
        else if (c.unicode() < 0x20)
            out += QStringLiteral("<%1>").arg(c.unicode(), 2, 16, QLatin1Char('0')).toUpper();
        else
            out += c;
    }
    return out;
}

MainFrame::MainFrame(Family family, Dialogs& dialogs, QWidget* parent)
    : QMainWindow(parent), family_(family), dialogs_(dialogs), MSComm1(new QtSerialLine(this))
{
    setObjectName(isPointInput() ? QStringLiteral("frmMain") : QStringLiteral("frmpulseMaindemo"));
    setWindowTitle(QStringLiteral("PQ_Series KAP Support-Software "));
    ReplyTimeout* timeout = &module1().replyTimeout;
    if (!isPointInput()) {
        ownTimeout_ = std::make_unique<ReplyTimeout>(3000.0f);
        timeout = ownTimeout_.get();
    }
    link_ = std::make_unique<Link>(*MSComm1, *timeout, this);
    liveFrames().append(this);
    // Qt's own tool-bar menu would hide the tool bar behind the View menu's back.
    setContextMenuPolicy(Qt::NoContextMenu);

    Tim_IO_Mon = new QTimer(this);
    Tim_IO_Mon->setObjectName(QStringLiteral("Tim_IO_Mon"));
    Tim_Rs_Over = new QTimer(this);
    Tim_Rs_Over->setObjectName(QStringLiteral("Tim_Rs_Over"));

    buildMenus();
    buildToolbar();
    buildStatusBar();
    buildCentral();

    // Creation steps, in their order.
    showPort(module1().portName);
    Tim_Rs_Over->stop();
    setupFlag = true;
    entryDialogs_ = std::make_unique<QtEntryDialogs>(this);
    if (isPointInput()) {
        points_ = std::make_unique<PointTable>(*Grid1, *this, this);
        points_->setEntryDialogs(entryDialogs_.get());
        points_->setUp();
    } else {
        zones_ = std::make_unique<ZoneTable>(*Grid1, *this, this);
        zones_->setEntryDialogs(entryDialogs_.get());
        zones_->setUp();
    }
    Txt_spd->setText(QStringLiteral("1000"));
    Txt_Dist->setText(QStringLiteral("100"));
    Txt_Limit->setText(QStringLiteral("0.10"));
    Txt_Pos->setText(QStringLiteral("0.00"));
    Cmd_Op->setEnabled(false);
    Cmd_Cl->setEnabled(false);
    Tim_IO_Mon->setInterval(700);
    parameters_ = std::make_unique<ParameterTable>(family_, *Grid2, *Grid1, *this, this);
    connect(parameters_.get(), &ParameterTable::inertiaLabelChanged, this, [this](const QString& t) {
        showInertiaUnit(t);
    });
    parameters_->setUp();
    showInertiaUnit(parameters_->inertiaLabel());
    setupFlag = false;
    showOriginShift(QStringLiteral("0"));
    setModified(false);
    resize(1100, 760);
}

MainFrame::~MainFrame()
{
    liveFrames().removeAll(this);
}

void MainFrame::openCalculator()
{
    // The calculator has no parent: disabling this window would disable it too.
    if (!calculator_) {
        calculator_ = std::make_unique<frmkeisan>(dialogs_);
        connect(calculator_.get(), &frmkeisan::closed, this, [this] { setEnabled(true); });
    }
    setEnabled(false);
    calculator_->openFor(Grid2->text(-1, 1));
}

void MainFrame::buildMenus()
{
    QList<QMenu*> stack;
    for (const MenuEntry& e : frameTablesFor(family_).menu) {
        switch (e.kind) {
        case MenuEntry::SubMenu: {
            QMenu* m = stack.isEmpty() ? menuBar()->addMenu(e.caption) : stack.last()->addMenu(e.caption);
            m->setObjectName(e.name);
            m->menuAction()->setObjectName(e.name);
            menu_.insert(e.name, m->menuAction());
            stack.append(m);
            break;
        }
        case MenuEntry::EndSubMenu:
            stack.removeLast();
            break;
        case MenuEntry::Separator: {
            QAction* sep = stack.last()->addSeparator();
            sep->setObjectName(e.name);
            break;
        }
        case MenuEntry::Item: {
            QAction* a = stack.last()->addAction(e.caption);
            a->setObjectName(e.name);
            a->setCheckable(e.checkable);
            a->setChecked(e.checked);
            const QString name = e.name;
            connect(a, &QAction::triggered, this, [this, name] { runCommand(name); });
            menu_.insert(e.name, a);
            break;
        }
        }
    }
}

void MainFrame::buildToolbar()
{
    Toolbar1 = addToolBar(tr("Tool bar"));
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setMovable(false);
    Toolbar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (const ToolButtonSpec& t : frameTablesFor(family_).toolbar) {
        QAction* a = Toolbar1->addAction(themeIcon(t.iconName, fallbackFor(t.key), style()), t.toolTip);
        a->setObjectName(QStringLiteral("Toolbar1_") + t.key);
        a->setToolTip(t.toolTip);
        a->setData(t.key);
        const QString key = t.key;
        connect(a, &QAction::triggered, this, [this, key] { toolbarClick(key); });
        tools_.insert(t.key, a);
    }
}

void MainFrame::toolbarClick(const QString& key)
{
    flags.settei = false;
    if (key == QLatin1String("Window")) {
        if (isPointInput())
            runCommand(Grid2->isVisible() ? QStringLiteral("mnuViewGrid1")
                                              : QStringLiteral("mnuViewGrid2"));
    } else {
        const QString menuName = menuForToolKey(key, family_);
        if (!menuName.isEmpty())
            runCommand(menuName);
    }
    flags.settei = true;
}

void MainFrame::runCommand(const QString& name)
{
    if (name == QLatin1String("mnuViewGrid1")) {
        showGrid(1);
    } else if (name == QLatin1String("mnuViewGrid2")) {
        showGrid(2);
    } else if (name == QLatin1String("mnuViewToolbar")) {
        // A menu click has toggled the mark already; a programmatic run toggles it here.
        QAction* a = menu_.value(name);
        if (sender() != a)
            a->setChecked(!a->isChecked());
        Toolbar1->setVisible(a->isChecked());
    } else if (name == QLatin1String("mnuViewStatusBar")) {
        QAction* a = menu_.value(name);
        if (sender() != a)
            a->setChecked(!a->isChecked());
        statusBar()->setVisible(a->isChecked());
    } else if (name == QLatin1String("mnuToolsCom")) {
        mnuToolsCom_Click();
    } else if (name == QLatin1String("mnuFileExit")) {
        if (exitHandler)
            exitHandler();
        else
            close();
    } else if (name == QLatin1String("mnuHelpAbout")) {
        ShowVersionDialog(*link_, *this, this);
    } else if (name == QLatin1String("mnuToolsTime") && !isPointInput()) {
        openCalculator();
    }
    emit commandRequested(name);
}

void MainFrame::showGrid(int which)
{
    if (!isPointInput())
        return;
    menu_.value(QStringLiteral("mnuViewGrid1"))->setChecked(which == 1);
    menu_.value(QStringLiteral("mnuViewGrid2"))->setChecked(which == 2);
    Grid1->setVisible(which == 1);
    Grid2->setVisible(which == 2);
}

void MainFrame::buildStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    const QStringList names = {"Panel1_Product", "Panel2_OriginShift", "Panel3_Port",
                               "Panel4_Num", "Panel5_Caps", "Panel6_Date", "Panel7_Time"};
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
    panels_[ProductPanel]->setText(tr("KAP Support-Software  %1")
                                       .arg(isPointInput() ? tr("Point input type")
                                                           : tr("Pulse train input type")));
    panels_[NumPanel]->setText(QStringLiteral("NUM"));
    panels_[CapsPanel]->setText(QStringLiteral("CAPS"));
    refreshLockPanels();
    clock_ = new QTimer(this);
    connect(clock_, &QTimer::timeout, this, &MainFrame::tickClock);
    clock_->start(1000);
    tickClock();
}

void MainFrame::tickClock()
{
    const QDateTime now = QDateTime::currentDateTime();
    const QLocale locale;
    panels_[DatePanel]->setText(locale.toString(now.date(), QLocale::ShortFormat));
    panels_[TimePanel]->setText(locale.toString(now.time(), QLocale::ShortFormat));
}

void MainFrame::refreshLockPanels()
{
    // The lock keys' state is known from the key presses this window sees.
    panels_[NumPanel]->setEnabled(numLock_);
    panels_[CapsPanel]->setEnabled(capsLock_);
}

bool MainFrame::event(QEvent* e)
{
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

void MainFrame::showOriginShift(const QString& hundredthsOfDegree)
{
    const std::optional<double> v = numbers::readNumber(hundredthsOfDegree);
    panels_[OriginShiftPanel]->setText(QStringLiteral("Origin point shift: ")
                                       + numbers::formatFixed(v ? *v / 100.0 : 0.0, 2));
}

void MainFrame::showPort(const QString& portName)
{
    panels_[PortPanel]->setText(portName);
}

void MainFrame::showPortEverywhere(const QString& portName)
{
    for (const QPointer<MainFrame>& f : liveFrames()) {
        if (f)
            f->showPort(portName);
    }
}

void MainFrame::buildCentral()
{
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);

    Grid1 = new Grid(this);
    Grid1->setObjectName(QStringLiteral("Grid1"));
    Grid2 = new Grid(this);
    Grid2->setObjectName(QStringLiteral("Grid2"));
    Grid1View = new GridView(Grid1, central);
    Grid1View->setGridName(QStringLiteral("Grid1"));
    Grid1View->setAccessibleName(isPointInput() ? tr("Point table") : tr("Zone table"));
    Grid2View = new GridView(Grid2, central);
    Grid2View->setGridName(QStringLiteral("Grid2"));
    Grid2View->setAccessibleName(tr("Parameter table"));

    if (isPointInput()) {
        layout->addWidget(Grid1View, 1);
        layout->addWidget(Grid2View, 1);
    } else {
        auto* zoneFrame = new QGroupBox(ZoneTable::frameCaption(), central);
        zoneFrame->setObjectName(QStringLiteral("Frame_Zone"));
        auto* zl = new QVBoxLayout(zoneFrame);
        zl->addWidget(Grid1View);
        auto* grids = new QHBoxLayout;
        grids->addWidget(zoneFrame, 1);
        grids->addWidget(Grid2View, 1);
        layout->addLayout(grids, 1);
    }
    layout->addWidget(buildDrivePanel());
    setCentralWidget(central);
}

void MainFrame::setModified(bool on)
{
    Grid1->setTag(on ? QStringLiteral("Change") : QString());
}

bool MainFrame::isModified() const
{
    return Grid1->tag() == QLatin1String("Change");
}

bool MainFrame::saveAs()
{
    return saveAsHandler ? saveAsHandler() : false;
}

bool MainFrame::parameterGridShown() const
{
    return Grid2->isVisible();
}

bool MainFrame::setButtonEnabled() const
{
    return Cmd_Set->isEnabled();
}

void MainFrame::restoreIdle()
{
    RestoreWindow(*this);
}

void MainFrame::endProgram()
{
    // Only after "Controller type is different.": nothing is saved.
    QApplication::exit(1);
    std::exit(1);
}

void MainFrame::showInertiaUnit(const QString& exponents)
{
    // "-6      2": the exponent of ten and of the metre, shown as superscripts.
    const QStringList parts = exponents.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const QString ten = parts.value(0, QStringLiteral("-6"));
    const QString metre = parts.value(1, QStringLiteral("2"));
    Label10->setText(QStringLiteral("*10<sup>%1</sup> kg.m<sup>%2</sup>").arg(ten, metre));
    Label10->setAccessibleName(exponents);
}

void MainFrame::mnuToolsCom_Click()
{
    if (module1().portName.isEmpty())
        module1().portName = QStringLiteral("COM1");
    auto* dialog = new frmP(this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
}

void MainFrame::showComS(const QString& text)
{
    Txt_ComS->setText(visibleControls(text));
    Txt_ComS->setCursorPosition(0);  // a long reply shows from its start
}

void MainFrame::showComR(const QString& text)
{
    Txt_ComR->setText(visibleControls(text));
    Txt_ComR->setCursorPosition(0);  // a long reply shows from its start
}

void MainFrame::showError(const QString& text)
{
    Txt_Error->setText(visibleControls(text));
    Txt_Error->setCursorPosition(0);  // a long reply shows from its start
}

void MainFrame::setMainWindowEnabled(bool on)
{
    setEnabled(on);
}

void MainFrame::hideProgress()
{
    if (progressDialog)
        progressDialog->hide();
}

void MainFrame::setToolbarEnabled(bool on)
{
    Toolbar1->setEnabled(on);
}

void MainFrame::setCommandsLocked(bool locked)
{
    for (QAction* a : std::as_const(tools_))
        a->setEnabled(!locked);
    for (const char* name : {"mnuViewGrid1", "mnuViewGrid2", "mnuFileNew", "mnuFileOpen",
                             "mnuFileSave", "mnuFilePrint", "mnuToolsTranP", "mnuToolsTranA",
                             "mnuToolsRecP", "mnuToolsRecA", "mnuToolsCom", "mnuToolsComp",
                             "mnuToolsC_Org", "mnuToolsIni", "mnuToolsBag", "mnuHelpAbout"}) {
        if (QAction* a = menu_.value(QLatin1String(name)))
            a->setEnabled(!locked);
    }
}

bool MainFrame::numericInputSelected() const
{
    return !numericInput_ || numericInput_->isChecked();
}

void MainFrame::focusNumericInput()
{
    if (numericInput_)
        numericInput_->setFocus();
}

void MainFrame::closeEvent(QCloseEvent* event)
{
    if (closeHandler) {
        if (!closeHandler()) {
            event->ignore();
            return;
        }
    } else {
        Tim_IO_Mon->stop();
        StorePortNumber();
    }
    event->accept();
    QApplication::quit();
}

}  // namespace kap
