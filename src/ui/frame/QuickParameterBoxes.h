// The quick-parameter boxes of a main window's drive panel (Txt_spd, Txt_Dist, Txt_Limit and
// the origin-return direction OP1) and the typed setting position Txt_Pos: key filters, focus
// colours, Enter and the arrows, and the copy of the parameter rows into the boxes. The
// widgets are the drive panel's; it hands them over.
#pragma once

#include "operation/QuickParameters.h"

#include <QLineEdit>
#include <QObject>
#include <QPointer>
#include <QRadioButton>

#include <array>

namespace kap {

// The widgets the boxes work on.
struct QuickParameterWidgets {
    std::array<QLineEdit*, 3> boxes{};          // by operation::QuickBox
    QLineEdit* position = nullptr;              // Txt_Pos
    std::array<QRadioButton*, 2> directions{};  // OP1: CW, CCW
};

class QuickParameterBoxes : public QObject {
    Q_OBJECT
public:
    QuickParameterBoxes(Session& session, const QuickParameterWidgets& widgets);
    ~QuickParameterBoxes() override;

    // The quick-box refresh: the parameter rows into the boxes, parameter 35 into the status bar.
    void refresh();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using QuickBox = operation::QuickBox;

    QLineEdit* box(QuickBox b) const { return boxes_[std::size_t(b)].data(); }
    bool quickBoxEvent(QuickBox b, QEvent* event);
    bool positionEvent(QEvent* event);
    void enter(QuickBox b);
    void takeFocus(QuickBox b);
    void formatPosition();
    void chooseDirection(bool ccw);
    void paintAllWithoutFocus();

    Session& session_;
    // The panel's widgets; guarded, as the panel may drop them first.
    std::array<QPointer<QLineEdit>, 3> boxes_;          // by QuickBox
    QPointer<QLineEdit> position_;                      // Txt_Pos
    std::array<QPointer<QRadioButton>, 2> directions_;  // OP1: CW, CCW
};

}  // namespace kap
