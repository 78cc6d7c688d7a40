// The actuator type dialog: eight options in two frames ("TALOR", "MOVA") that act as one
// exclusive choice. chooseType returns the chosen type number as text, empty on Cancel.
#pragma once

#include <QDialog>
#include <QString>

class QButtonGroup;
class QGroupBox;
class QRadioButton;

namespace kap {

class ActuatorTypeDialog : public QDialog {
    Q_OBJECT
public:
    explicit ActuatorTypeDialog(QWidget* parent = nullptr);

    // Selects the option of a type number ("61"); an unknown number changes nothing.
    void preselect(const QString& type);
    // The pulse-train window offers no MOVA actuator.
    void hideMovaFrame();

    // The type number of the selected option ("50").
    QString selectedType() const;
    // OK raised the confirmation; Cancel or closing leaves it clear.
    bool confirmed() const { return confirmed_; }

    // Opens a fresh dialog modally: the chosen type after OK, empty text otherwise.
    static QString chooseType(QWidget* parent = nullptr, const QString& preselectType = {},
                              bool withoutMova = false);

private:
    void confirm();
    void cancel();

    QRadioButton* typeOptions_[8] = {};  // Typename: type numbers 61, 62, 63, 64, 60, 50, 65, 66
    QGroupBox* movaFrame_ = nullptr;     // Frame2
    QButtonGroup* choice_ = nullptr;
    bool confirmed_ = false;
};

}  // namespace kap
