// The port dialog: modeless, one per menu choice. Choosing an option (it receives the
// focus) changes the port at once; OK announces it (portChosen, which the program state passes
// on to every main window), Cancel puts it back.
//
// Beside each option stands the device the port opens. The device list shows what the system
// offers, refreshed once a second while the dialog is shown; a listed or typed device can be
// assigned to the chosen port; so can the address of a serial device server
// ("rfc2217://HOST:PORT", "tcp://HOST:PORT"). Assignments wait in the dialog: OK saves them for
// the user, Cancel drops them. Test opens the chosen port's device (or connects to its
// address) once and shows the result beside the port.
#pragma once

#include "platform/PortAssignments.h"

#include <QDialog>
#include <QMap>
#include <QPointer>

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTimer;
class QTreeWidget;

namespace kap {

class ProgramState;
class QtSerialLine;

class PortDialog : public QDialog {
    Q_OBJECT
public:
    // state: whose port the dialog chooses; devices: where the device list comes from, null
    // for the system's serial devices. Both kept by the caller while the dialog lives.
    explicit PortDialog(ProgramState& state, QWidget* parent = nullptr,
                        const SerialDeviceSource* devices = nullptr);

    // Reads the device list again; touches the list only when it changed.
    void refreshDevices();

signals:
    // OK: the port now chosen, for the windows to show; passed on as the program state's
    // portChosen.
    void portChosen(const QString& portName);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void reject() override;

private:
    void confirm();
    int chosenPort() const;  // 1 to 8
    PortDevice deviceAfterOk(int number) const;
    void setPending(int number, const QString& device);
    void showPortDevice(int number);
    void updateButtons();
    void testChosenPort();
    void showTestResult(int number, const QString& device, bool opened);

    std::array<QRadioButton*, 8> portOptions_{};  // Opt_1: COM1 to COM8
    std::array<QLabel*, 8> deviceLabels_{};       // Lbl_Device: the device of each port
    std::array<QLabel*, 8> testLabels_{};         // Lbl_Test: the last test of each port
    QTreeWidget* deviceList_ = nullptr;           // Lst_Devices
    QLineEdit* deviceField_ = nullptr;            // Txt_Device
    QPushButton* assignButton_ = nullptr;         // Cmd_Assign
    QPushButton* defaultButton_ = nullptr;        // Cmd_Default
    QPushButton* testButton_ = nullptr;           // Cmd_Test
    QLabel* fieldError_ = nullptr;                // Lbl_DeviceError: a malformed address
    // The line of the test running now (it may connect for up to 3 s); null between tests.
    QPointer<QtSerialLine> testLine_;
    QTimer* scanTimer_ = nullptr;  // Tim_DeviceScan

    ProgramState& state_;
    SystemSerialDevices systemDevices_;
    const SerialDeviceSource* devices_ = nullptr;
    QList<SerialDeviceInfo> listed_;
    QMap<int, QString> pending_;  // port number to device, empty for the default; saved at OK
    QString portBefore_;          // the port when the dialog opened; Cancel puts it back
};

}  // namespace kap
