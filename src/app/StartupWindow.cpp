#include "frmselect.h"

#include "AppWindows.h"
#include "CommandRequest.h"
#include "ExchangeCommands.h"
#include "Ini.h"
#include "Link.h"
#include "Module1.h"
#include "Numbers.h"
#include "Records.h"
#include "QtSerialLine.h"
#include "frmMain.h"
#include "frmpulseMaindemo.h"

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

QString frmselect::PortNameFromIni(const QString& value)
{
    const std::optional<double> n = numbers::readNumber(value);
    if (n && *n >= 1 && *n <= 8)
        return QStringLiteral("COM") + value;
    return QStringLiteral("COM1");
}

frmselect::frmselect(AppWindows& windows, QWidget* parent)
    : QWidget(parent), windows_(windows)
{
    setObjectName(QStringLiteral("frmselect"));
    setWindowTitle(tr("KAP Support-Software"));

    Label1 = new QLabel(tr("Retrieving controller type"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignCenter);

    Frame1 = new QGroupBox(tr("Select controller type."), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    auto* options = new QVBoxLayout(Frame1);
    Option1[0] = new QRadioButton(tr("Point input type"), Frame1);
    Option1[1] = new QRadioButton(tr("Pulse train input type"), Frame1);
    for (int i = 0; i < 2; ++i) {
        Option1[i]->setObjectName(QStringLiteral("Option1_%1").arg(i));
        Option1[i]->installEventFilter(this);
        options->addWidget(Option1[i]);
    }
    Option1[0]->setChecked(true);
    Frame1->hide();

    Command1 = new QPushButton(tr("OK"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->hide();
    connect(Command1, &QPushButton::clicked, this, &frmselect::Command1_Click);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Frame1);
    layout->addWidget(Command1, 0, Qt::AlignRight);
    setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('M')) * 28);

    // The family query runs on the point-input window's serial line.
    link_ = std::make_unique<Link>(windows_.pointInput().serialLine(), module1().replyTimeout,
                                   nullptr, Link::Variant::Startup);
}

frmselect::~frmselect() = default;

void frmselect::start()
{
    Module1& m = module1();
    m.portName = PortNameFromIni(
        ReadIniValue(QStringLiteral("COM"), QStringLiteral("Data"), m.iniPath()));

    show();
    QCoreApplication::processEvents();
    m.setBusy(false);

    // Family query: parameter 13.
    m.replyTimeout.set(2000.0f);
    link_->ClearCommand();
    link_->request.P_Command = cmd::QPRM;
    link_->request.setSecond(13);
    link_->BuildCommand();
    sendTime_ = QDateTime::currentMSecsSinceEpoch();
    const Outcome outcome = link_->RunTransaction();

    if (outcome.Timeout) {
        failureDisplay();
    } else {
        const QString answer = records::replyValue(outcome.reply);
        Label1->setText(tr("Controller type found"));
        m.replyTimeout.set(300.0f);
        pause();
        const QChar family = answer.isEmpty() ? QChar() : answer.front();
        // The controller's setting data goes into the window before it is shown.
        if (family == QLatin1Char('0')) {
            runStartupReading(windows_.pointInput());
            openPointInput();
        } else if (family == QLatin1Char('1')) {
            runStartupReading(windows_.pulseTrain());
            openPulseTrain();
        } else {
            failureDisplay();
        }
    }
}

void frmselect::openPointInput()
{
    hide();
    windows_.pointInput().bulkFillFlag = false;
    windows_.pointInput().show();
}

void frmselect::openPulseTrain()
{
    hide();
    windows_.pulseTrain().typeDialogWithoutFrame2 = true;
    windows_.pulseTrain().bulkFillFlag = false;
    windows_.pulseTrain().show();
}

void frmselect::failureDisplay()
{
    Label1->setText(tr("Controller type cannot be obtained."));
    pause();
    Label1->hide();
    Frame1->show();
    Command1->show();
    Option1[0]->setFocus();
}

void frmselect::pause()
{
    const qint64 until = sendTime_ + qint64(module1().replyTimeout.ms());
    const qint64 left = until - QDateTime::currentMSecsSinceEpoch();
    if (left <= 0)
        return;
    QEventLoop loop;
    QTimer::singleShot(int(left) + 1, &loop, &QEventLoop::quit);
    loop.exec();
}

void frmselect::Command1_Click()
{
    if (Option1[0]->isChecked())
        openPointInput();
    else
        openPulseTrain();
}

bool frmselect::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == Option1[0])
                openPointInput();
            else if (watched == Option1[1])
                openPulseTrain();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmselect::closeEvent(QCloseEvent* event)
{
    event->accept();
    QApplication::quit();
}

}  // namespace kap
