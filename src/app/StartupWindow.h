// The start-up window: reads the port from the settings file, asks the controller for its
// family and opens the matching main window, or lets the user choose when nobody answers.
#pragma once

#include <QWidget>

#include <array>
#include <memory>

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace kap {

class AppWindows;
class Link;

class frmselect : public QWidget {
    Q_OBJECT
public:
    explicit frmselect(AppWindows& windows, QWidget* parent = nullptr);
    ~frmselect() override;

    // The start-up sequence; runs once, after the window is constructed.
    void start();

    // The port name for a settings value: "COM" + value for 1 to 8, else "COM1".
    static QString PortNameFromIni(const QString& value);

    QLabel* Label1;
    QGroupBox* Frame1;
    std::array<QRadioButton*, 2> Option1;
    QPushButton* Command1;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Command1_Click();
    void openPointInput();
    void openPulseTrain();
    void failureDisplay();
    // Keeps processing events until sendTime + the current reply timeout has passed.
    void pause();

    AppWindows& windows_;
    std::unique_ptr<Link> link_;
    qint64 sendTime_ = 0;
};

}  // namespace kap
