// The progress dialog of data operations: "Forwarding", a bar and a Cancel button. Cancel
// only leaves "1" in the button's tag for the running operation to find; closing the dialog
// leaves "0". Shown modeless and hidden, never destroyed, at the end of each operation.
#pragma once

#include "session/Progress.h"

#include <QDialog>

class QProgressBar;
class QPushButton;

namespace kap {

class ProgressDialog : public QDialog, public Progress {
    Q_OBJECT
public:
    // Kept without a parent: a child of the main window would be disabled with it, and
    // Cancel must stay usable while the window is disabled.
    explicit ProgressDialog(QWidget* parent = nullptr);

    // Progress
    void setRange(int minimum, int maximum) override;
    void setValue(int value) override;
    void show() override;
    void hide() override;
    QString cancelTag() const override { return tag_; }
    void setCancelTag(const QString& tag) override { tag_ = tag; }
    void setCancelEnabled(bool on) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    QProgressBar* bar_ = nullptr;          // ProgressBar1
    QPushButton* cancelButton_ = nullptr;  // Com_Cancel
    QString tag_ = QStringLiteral("0");
};

}  // namespace kap
