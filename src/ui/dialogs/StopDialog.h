// The STOP dialog offered during a return to origin: one button that breaks the motion at
// once. Modeless and kept without a parent, so it stays usable whatever the main window's
// state; it only hides, and the window shows it again for the next return.
#pragma once

#include <QDialog>

class QPushButton;

namespace kap {

class StopDialog : public QDialog {
    Q_OBJECT
public:
    explicit StopDialog(QWidget* parent = nullptr);

signals:
    void stopPressed();  // the "STOP" button (Command1)

protected:
    void reject() override;  // Escape and the close box only hide it

private:
    QPushButton* stopButton_ = nullptr;
};

}  // namespace kap
