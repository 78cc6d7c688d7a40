#include "ui/dialogs/PortDialog.h"

#include "link/ProgramState.h"
#include "platform/NetworkAddress.h"
#include "platform/PortName.h"
#include "platform/QtSerialLine.h"
#include "ui/dialogs/DialogButtons.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kap {

namespace {

constexpr int kScanIntervalMs = 1000;

}  // namespace

PortDialog::PortDialog(ProgramState& state, QWidget* parent, const SerialDeviceSource* devices)
    : QDialog(parent), state_(state), devices_(devices ? devices : &systemDevices_)
{
    setObjectName(QStringLiteral("frmP"));
    setWindowTitle(tr("Com setup"));
    setModal(false);
    portBefore_ = state_.portName;
    // Every main window listens to the program state, whichever window opened the dialog.
    connect(this, &PortDialog::portChosen, &state_, &ProgramState::portChosen);

    auto* prompt = new QLabel(tr("Please choose a communication port."), this);
    prompt->setObjectName(QStringLiteral("Port_select"));
    auto* grid = new QGridLayout;
    grid->setColumnStretch(1, 1);
    for (int i = 0; i < 8; ++i) {
        portOptions_[i] = new QRadioButton(ports::nameOf(i + 1), this);
        portOptions_[i]->setObjectName(QStringLiteral("Opt_1_%1").arg(i));
        portOptions_[i]->installEventFilter(this);
        deviceLabels_[i] = new QLabel(this);
        deviceLabels_[i]->setObjectName(QStringLiteral("Lbl_Device_%1").arg(i));
        testLabels_[i] = new QLabel(this);
        testLabels_[i]->setObjectName(QStringLiteral("Lbl_Test_%1").arg(i));
        grid->addWidget(portOptions_[i], i, 0);
        grid->addWidget(deviceLabels_[i], i, 1);
        grid->addWidget(testLabels_[i], i, 2);
    }
    // A port name selects its own option; any other text selects COM1.
    const int index = ports::numberOf(portBefore_).value_or(ports::kFirstPort) - 1;
    portOptions_[index]->setChecked(true);
    // Chosen without the focus too (assistive tools press an option): the checked option is
    // the port. Connected after the preselection, so opening the dialog changes no port.
    for (int i = 0; i < 8; ++i) {
        connect(portOptions_[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (!on)
                return;
            state_.portName = ports::nameOf(i + 1);
            updateButtons();
        });
    }

    deviceList_ = new QTreeWidget(this);
    deviceList_->setObjectName(QStringLiteral("Lst_Devices"));
    deviceList_->setHeaderLabels(
        {tr("Device"), tr("Description"), tr("Manufacturer"), tr("Serial number")});
    deviceList_->setRootIsDecorated(false);
    deviceList_->setUniformRowHeights(true);
    deviceList_->setAllColumnsShowFocus(true);
    // The description gives way (elided) so path, maker and serial number stay readable.
    QHeaderView* header = deviceList_->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    header->setSectionResizeMode(1, QHeaderView::Stretch);
    deviceList_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(deviceList_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item)
            deviceField_->setText(item->text(0));
    });
    connect(deviceList_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) {
        deviceField_->setText(item->text(0));
        if (assignButton_->isEnabled())
            setPending(chosenPort(), item->text(0));
    });

    // Editable, for a device the system does not list (a pseudo-terminal such as /dev/pts/5).
    deviceField_ = new QLineEdit(this);
    deviceField_->setObjectName(QStringLiteral("Txt_Device"));
    deviceField_->setPlaceholderText(tr("Device path, rfc2217://HOST:PORT or tcp://HOST:PORT"));
    deviceField_->installEventFilter(this);
    connect(deviceField_, &QLineEdit::textChanged, this, &PortDialog::updateButtons);
    assignButton_ = new QPushButton(this);
    assignButton_->setObjectName(QStringLiteral("Cmd_Assign"));
    assignButton_->setAutoDefault(false);
    connect(assignButton_, &QPushButton::clicked, this,
            [this] { setPending(chosenPort(), deviceField_->text().trimmed()); });
    defaultButton_ = new QPushButton(tr("Use default"), this);
    defaultButton_->setObjectName(QStringLiteral("Cmd_Default"));
    defaultButton_->setAutoDefault(false);
    connect(defaultButton_, &QPushButton::clicked, this,
            [this] { setPending(chosenPort(), QString()); });
    testButton_ = new QPushButton(tr("Test"), this);
    testButton_->setObjectName(QStringLiteral("Cmd_Test"));
    testButton_->setAutoDefault(false);
    connect(testButton_, &QPushButton::clicked, this, &PortDialog::testChosenPort);
    fieldError_ = new QLabel(this);
    fieldError_->setObjectName(QStringLiteral("Lbl_DeviceError"));
    fieldError_->setWordWrap(true);
    fieldError_->setVisible(false);

    scanTimer_ = new QTimer(this);
    scanTimer_->setObjectName(QStringLiteral("Tim_DeviceScan"));
    scanTimer_->setInterval(kScanIntervalMs);
    connect(scanTimer_, &QTimer::timeout, this, &PortDialog::refreshDevices);

    // The checked option takes the focus first, so opening the dialog changes no port.
    portOptions_[index]->setFocus();

    QPushButton* okButton = nullptr;
    QPushButton* cancelButton = nullptr;
    QDialogButtonBox* buttons = makeOkCancel(this, okButton, cancelButton);
    connect(okButton, &QPushButton::clicked, this, &PortDialog::confirm);
    connect(cancelButton, &QPushButton::clicked, this, &PortDialog::reject);

    auto* deviceBox = new QGroupBox(tr("Devices"), this);
    // The field has a row of its own: a network address is longer than a device path.
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addWidget(assignButton_);
    buttonRow->addWidget(defaultButton_);
    buttonRow->addStretch(1);
    buttonRow->addWidget(testButton_);
    auto* deviceLayout = new QVBoxLayout(deviceBox);
    deviceLayout->addWidget(deviceList_);
    deviceLayout->addWidget(deviceField_);
    deviceLayout->addWidget(fieldError_);
    deviceLayout->addLayout(buttonRow);

    auto* middle = new QHBoxLayout;
    middle->setSpacing(12);
    middle->addLayout(grid);
    middle->addWidget(deviceBox, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addLayout(middle);
    layout->addWidget(buttons);

    for (int number = ports::kFirstPort; number <= ports::kLastPort; ++number)
        showPortDevice(number);
    refreshDevices();
    updateButtons();
    // Room for a path and a short description without a scroll bar.
    deviceList_->setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('x')) * 64);
}

void PortDialog::refreshDevices()
{
    QList<SerialDeviceInfo> found = devices_->devices();
    sortDevices(found);
    // Rebuilt only on a change, so the list neither flickers nor loses its scroll position.
    if (found == listed_)
        return;
    listed_ = found;
    const QTreeWidgetItem* current = deviceList_->currentItem();
    const QString selected = current ? current->text(0) : QString();
    // The field keeps what the user typed: putting the selection back is no new choice.
    const QSignalBlocker blocker(deviceList_);
    deviceList_->clear();
    for (const SerialDeviceInfo& device : listed_) {
        auto* item = new QTreeWidgetItem(deviceList_, {device.path, device.description,
                                                       device.manufacturer, device.serialNumber});
        if (device.path == selected)
            deviceList_->setCurrentItem(item);
    }
}

bool PortDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        for (int i = 0; i < 8; ++i) {
            if (watched == portOptions_[i])
                state_.portName = ports::nameOf(i + 1);
        }
    }
    // Enter in the device field assigns the device instead of pressing OK.
    if (watched == deviceField_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (assignButton_->isEnabled())
                assignButton_->click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void PortDialog::showEvent(QShowEvent* event)
{
    refreshDevices();
    scanTimer_->start();
    QDialog::showEvent(event);
}

void PortDialog::hideEvent(QHideEvent* event)
{
    scanTimer_->stop();
    QDialog::hideEvent(event);
}

int PortDialog::chosenPort() const
{
    for (int i = 0; i < 8; ++i) {
        if (portOptions_[i]->isChecked())
            return i + 1;
    }
    return ports::kFirstPort;
}

PortDevice PortDialog::deviceAfterOk(int number) const
{
    const QString name = ports::nameOf(number);
    if (!pending_.contains(number) || !environmentDevicePath(number).isEmpty())
        return portDeviceFor(name);
    const QString device = pending_.value(number);
    if (device.isEmpty())
        return {defaultDevicePath(number), DeviceOrigin::Default};
    return {device, DeviceOrigin::Assigned};
}

void PortDialog::setPending(int number, const QString& device)
{
    // The default device named by hand is no assignment.
    pending_.insert(number, device == defaultDevicePath(number) ? QString() : device);
    showPortDevice(number);
    updateButtons();
}

void PortDialog::showPortDevice(int number)
{
    const PortDevice device = deviceAfterOk(number);
    QLabel* label = deviceLabels_[number - 1];
    switch (device.origin) {
    case DeviceOrigin::Environment:
        label->setText(tr("%1 (set by KAP_COM%2)").arg(device.path).arg(number));
        label->setToolTip(tr("The environment variable KAP_COM%1 names this device; it "
                             "overrides any choice made here.")
                              .arg(number));
        break;
    case DeviceOrigin::Assigned:
        label->setText(device.path);
        label->setToolTip(QString());
        break;
    case DeviceOrigin::Default:
        label->setText(tr("%1 (default)").arg(device.path));
        label->setToolTip(QString());
        break;
    }
}

void PortDialog::updateButtons()
{
    const int number = chosenPort();
    const bool fixed = !environmentDevicePath(number).isEmpty();
    // A malformed address says what is wrong with it and cannot be assigned.
    const QString malformed = parseNetworkAddress(deviceField_->text().trimmed()).error;
    fieldError_->setText(malformed);
    fieldError_->setVisible(!malformed.isEmpty());
    assignButton_->setText(tr("Assign to %1").arg(ports::nameOf(number)));
    assignButton_->setEnabled(!fixed && malformed.isEmpty()
                              && !deviceField_->text().trimmed().isEmpty());
    testButton_->setText(tr("Test %1").arg(ports::nameOf(number)));
    testButton_->setEnabled(!testLine_);
    defaultButton_->setEnabled(!fixed && deviceAfterOk(number).origin == DeviceOrigin::Assigned);
    const QString why = fixed ? tr("KAP_COM%1 is set; it names the device of %2.")
                                    .arg(number)
                                    .arg(ports::nameOf(number))
                              : QString();
    assignButton_->setToolTip(why);
    defaultButton_->setToolTip(why);
}

void PortDialog::testChosenPort()
{
    const int number = chosenPort();
    const QString device = deviceAfterOk(number).path;
    testLabels_[number - 1]->setText(tr("testing..."));
    // A network port connects without waiting here: the dialog stays live meanwhile, and the
    // line goes with the dialog if that is closed first.
    testLine_ = QtSerialLine::forDevice(device).release();
    testLine_->setParent(this);
    updateButtons();
    connect(testLine_, &SerialLine::openFinished, this,
            [this, number, device](bool opened) { showTestResult(number, device, opened); });
    const SerialLine::OpenStart start = testLine_->beginOpen(ports::nameOf(number));
    if (start != SerialLine::OpenStart::Pending)
        showTestResult(number, device, start == SerialLine::OpenStart::Opened);
}

void PortDialog::showTestResult(int number, const QString& device, bool opened)
{
    QString why = testLine_->errorString();
    testLine_->close();
    // Gone once the line's own signal has returned.
    testLine_->disconnect(this);
    testLine_->deleteLater();
    testLine_ = nullptr;
    // The device stands beside the port already: the reason alone.
    if (why.startsWith(device + QStringLiteral(": ")))
        why = why.mid(device.size() + 2);
    QLabel* result = testLabels_[number - 1];
    result->setText(opened ? (looksLikeNetworkAddress(device) ? tr("connected") : tr("opened"))
                           : why);
    result->setToolTip(result->text());
    updateButtons();
}

void PortDialog::confirm()
{
    for (auto it = pending_.cbegin(); it != pending_.cend(); ++it) {
        if (portAssignments().deviceOf(it.key()) == it.value())
            continue;
        // The assignment holds for this run even when it cannot be kept for the next.
        if (!portAssignments().assign(it.key(), it.value())) {
            qWarning("Cannot save the port assignments in %s",
                     qPrintable(portAssignments().fileName()));
        }
    }
    emit portChosen(state_.portName);
    accept();
}

void PortDialog::reject()
{
    state_.portName = portBefore_;
    QDialog::reject();
}

}  // namespace kap
