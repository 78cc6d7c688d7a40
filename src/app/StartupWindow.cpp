#include "app/StartupWindow.h"

#include "app/AppWindows.h"
#include "exchange/FamilyQuery.h"
#include "exchange/Receive.h"
#include "link/Link.h"
#include "link/ProgramState.h"
#include "session/Session.h"
#include "ui/frame/EditHistory.h"
#include "ui/frame/PointInputWindow.h"
#include "ui/frame/PulseTrainWindow.h"
#include "ui/toolwindows/HiddenWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QEventLoop>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

namespace kap {

StartupWindow::StartupWindow(AppWindows& windows, QWidget* parent)
    : QWidget(parent), windows_(windows)
{
    setObjectName(QStringLiteral("frmselect"));
    releaseWhenHidden(this);  // hidden, it leaves the accessibility tree
    setWindowTitle(tr("KAP Support-Software"));

    statusLabel_ = new QLabel(tr("Retrieving controller type"), this);
    statusLabel_->setObjectName(QStringLiteral("Label1"));
    statusLabel_->setAlignment(Qt::AlignCenter);

    familyFrame_ = new QGroupBox(tr("Select controller type."), this);
    familyFrame_->setObjectName(QStringLiteral("Frame1"));
    auto* options = new QVBoxLayout(familyFrame_);
    familyOptions_[0] = new QRadioButton(tr("Point input type"), familyFrame_);
    familyOptions_[1] = new QRadioButton(tr("Pulse train input type"), familyFrame_);
    for (int i = 0; i < 2; ++i) {
        familyOptions_[i]->setObjectName(QStringLiteral("Option1_%1").arg(i));
        familyOptions_[i]->installEventFilter(this);
        options->addWidget(familyOptions_[i]);
    }
    familyOptions_[0]->setChecked(true);
    familyFrame_->hide();

    reasonLabel_ = new QLabel(this);
    reasonLabel_->setObjectName(QStringLiteral("Label_Reason"));
    reasonLabel_->setWordWrap(true);
    reasonLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    reasonLabel_->hide();

    okButton_ = new QPushButton(tr("OK"), this);
    okButton_->setObjectName(QStringLiteral("Command1"));
    okButton_->hide();
    connect(okButton_, &QPushButton::clicked, this, &StartupWindow::okClicked);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(statusLabel_);
    layout->addWidget(familyFrame_);
    layout->addWidget(reasonLabel_);
    layout->addWidget(okButton_, 0, Qt::AlignRight);
    setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('M')) * 28);

    // The family query runs on the point-input window's serial line.
    Session& session = windows_.pointInput().session();
    link_ = std::make_unique<Link>(session.serialLine(), windows_.programState(),
                                   windows_.programState().replyTimeout, Link::Variant::Startup);
    link_->setTimeScale(session.timeScale());
    connect(link_.get(), &Link::portFailed, this, &StartupWindow::portFailed);
}

QString StartupWindow::portLabel() const
{
    const QString port = windows_.programState().portName;
    const QString device = windows_.pointInput().session().serialLine().deviceFor(port);
    return device.isEmpty() || device == port ? port : tr("%1 (%2)").arg(port, device);
}

void StartupWindow::portFailed(const QString& reason)
{
    portFailure_ = reason;
    // The windows' communication logs keep it, as they keep their own exchanges.
    windows_.pointInput().session().link().log().addPortError(portLabel(), reason);
    windows_.pulseTrain().session().link().log().addPortError(portLabel(), reason);
}

StartupWindow::~StartupWindow() = default;

void StartupWindow::start()
{
    ProgramState& m = windows_.programState();
    QString settingsProblem;
    m.portName = m.readPortName(&settingsProblem);
    if (!settingsProblem.isEmpty()) {
        windows_.pointInput().showPortProblem(settingsProblem);
        windows_.pulseTrain().showPortProblem(settingsProblem);
    }

    show();
    QCoreApplication::processEvents();
    m.setBusy(false);

    sendTime_ = QDateTime::currentMSecsSinceEpoch();
    const exchange::FamilyAnswer answer = exchange::queryFamily(*link_);

    using Status = exchange::FamilyAnswer::Status;
    if (answer.status == Status::Silent) {
        failureDisplay();
    } else {
        statusLabel_->setText(tr("Controller type found"));
        m.replyTimeout.set(300.0f);
        pause();
        // The controller's setting data goes into the window before it is shown.
        if (answer.status == Status::Known && answer.family == Family::PointInput) {
            exchange::StartupReading(windows_.pointInput().session());
            openPointInput();
        } else if (answer.status == Status::Known && answer.family == Family::PulseTrain) {
            exchange::StartupReading(windows_.pulseTrain().session());
            openPulseTrain();
        } else {
            failureDisplay();
        }
    }
}

void StartupWindow::openPointInput()
{
    hide();
    windows_.pointInput().session().guards().bulkFill = false;
    // What the controller held at start is where undo stops.
    windows_.pointInput().history().reset();
    windows_.pointInput().show();
    openFileIn(windows_.pointInput());
}

void StartupWindow::openFileIn(MainFrame& window)
{
    if (fileToOpen_.isEmpty())
        return;
    // Once the window is up: the save question and the boxes belong to it.
    const QString path = std::exchange(fileToOpen_, QString());
    QTimer::singleShot(0, &window, [&window, path] { window.openFromOutside(path); });
}

void StartupWindow::openPulseTrain()
{
    hide();
    windows_.pulseTrain().session().guards().typeDialogWithoutFrame2 = true;
    windows_.pulseTrain().session().guards().bulkFill = false;
    windows_.pulseTrain().history().reset();
    windows_.pulseTrain().show();
    openFileIn(windows_.pulseTrain());
}

void StartupWindow::failureDisplay()
{
    statusLabel_->setText(tr("Controller type cannot be obtained."));
    pause();
    statusLabel_->hide();
    // Why, under the choice: the port could not be opened, or nobody answered on it.
    reasonLabel_->setText(portFailure_.isEmpty() ? tr("%1: no answer").arg(portLabel())
                                                 : tr("%1: %2").arg(portLabel(), portFailure_));
    reasonLabel_->show();
    familyFrame_->show();
    okButton_->show();
    familyOptions_[0]->setFocus();
}

void StartupWindow::pause()
{
    const float timeoutMs = windows_.programState().replyTimeout.ms();
    const qint64 until = sendTime_ + qint64(double(timeoutMs) * link_->timeScale());
    const qint64 left = until - QDateTime::currentMSecsSinceEpoch();
    if (left <= 0)
        return;
    QEventLoop loop;
    QTimer::singleShot(int(left) + 1, &loop, &QEventLoop::quit);
    loop.exec();
}

void StartupWindow::okClicked()
{
    if (familyOptions_[0]->isChecked())
        openPointInput();
    else
        openPulseTrain();
}

bool StartupWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == familyOptions_[0])
                openPointInput();
            else if (watched == familyOptions_[1])
                openPulseTrain();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void StartupWindow::closeEvent(QCloseEvent* event)
{
    event->accept();
    QApplication::quit();
}

}  // namespace kap
