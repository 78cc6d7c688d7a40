// The operation mode dialog: A, I or B for a point. chooseMode returns the letter, or empty
// text on Cancel or close.
#pragma once

#include <QDialog>
#include <QString>

class QPushButton;
class QRadioButton;

namespace kap {

class PointModeDialog : public QDialog {
    Q_OBJECT
public:
    explicit PointModeDialog(QWidget* parent = nullptr);

    QString result() const { return result_; }

    // Opens a fresh dialog modally and returns its result.
    static QString chooseMode(QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void reject() override;

private:
    void confirm();
    // The option's mode letter, by its place: the caption is translated text.
    QString letterOf(const QRadioButton* option) const;

    QRadioButton* modeOptions_[3] = {};  // Opt_1: A, I, B
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    QString result_;
};

}  // namespace kap
