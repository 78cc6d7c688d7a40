// The start-up window (frmselect): reads the port from the settings file, asks the controller
// for its family and opens the matching main window, or lets the user choose when nobody
// answers.
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
class MainFrame;

class StartupWindow : public QWidget {
    Q_OBJECT
public:
    explicit StartupWindow(AppWindows& windows, QWidget* parent = nullptr);
    ~StartupWindow() override;

    // The start-up sequence; runs once, after the window is constructed.
    void start();
    // A setting file to open in the main window once it is shown (kap FILE.csv).
    void setFileToOpen(const QString& path) { fileToOpen_ = path; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void okClicked();
    void openPointInput();
    void openPulseTrain();
    void openFileIn(MainFrame& window);
    void failureDisplay();
    // The port the query went to, with the device behind it: "COM6 (/dev/ttyS5)".
    QString portLabel() const;
    void portFailed(const QString& reason);
    // Keeps processing events until sendTime + the current reply timeout has passed.
    void pause();

    AppWindows& windows_;
    QLabel* statusLabel_;                         // Label1
    QGroupBox* familyFrame_;                      // Frame1
    std::array<QRadioButton*, 2> familyOptions_;  // Option1: point input, pulse train
    QPushButton* okButton_;                       // Command1
    QLabel* reasonLabel_;                         // why there is no controller
    QString portFailure_;                         // why the port could not be opened
    QString fileToOpen_;
    std::unique_ptr<Link> link_;
    qint64 sendTime_ = 0;
};

}  // namespace kap
