#include "ui/frame/QuickParameterBoxes.h"

#include "platform/Dialogs.h"
#include "session/Session.h"

#include <QColor>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>

#include <array>
#include <functional>

namespace kap {

namespace {

using operation::QuickBox;

constexpr std::array kQuickBoxes{QuickBox::LoadInertia, QuickBox::Acceleration,
                                 QuickBox::OriginReturnSpeed};

const QColor kWithFocus(255, 128, 255);     // pink
const QColor kWithoutFocus(128, 128, 255);  // light blue

void paint(QLineEdit* e, const QColor& colour)
{
    if (!e)
        return;
    // Dark text whatever the desktop's theme: the fills are light.
    const QString style = QStringLiteral("QLineEdit { background-color: %1; color: black; }"
                                         "QLineEdit:disabled { color: #707070; }")
                              .arg(colour.name());
    if (e->styleSheet() != style)
        e->setStyleSheet(style);
}

// Whether the key may reach the box. Only keys that type characters are judged; arrows,
// Delete and the editing shortcuts keep their usual roles (pasted text is checked on Enter).
bool keyAllowed(const QKeyEvent* k, const std::function<bool(QChar)>& accepts)
{
    if (k->key() == Qt::Key_Backspace)
        return accepts(QChar(8));
    const QString typed = k->text();
    for (QChar ch : typed) {
        if (ch.isPrint() && !accepts(ch))
            return false;
    }
    return true;
}

bool isEnter(const QKeyEvent* k)
{
    return k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter;
}

// Focus that leaves for another window or a context menu comes back unchanged: the boxes
// react only to focus moving within the window.
bool withinWindow(const QEvent* event)
{
    const Qt::FocusReason r = static_cast<const QFocusEvent*>(event)->reason();
    return r != Qt::ActiveWindowFocusReason && r != Qt::PopupFocusReason;
}

// Selects the whole text; after a click also once the click has placed the cursor.
void selectAllOnFocus(QLineEdit* e, const QEvent* event)
{
    e->selectAll();
    if (static_cast<const QFocusEvent*>(event)->reason() == Qt::MouseFocusReason)
        QTimer::singleShot(0, e, &QLineEdit::selectAll);
}

}  // namespace

QuickParameterBoxes::QuickParameterBoxes(Session& session, const QuickParameterWidgets& widgets)
    : session_(session)
{
    for (std::size_t i = 0; i < boxes_.size(); ++i) {
        boxes_[i] = widgets.boxes[i];
        if (boxes_[i])
            boxes_[i]->installEventFilter(this);
    }
    position_ = widgets.position;
    if (position_) {
        position_->installEventFilter(this);
        // The panel owns the setting position; the window copies it back into the box.
        connect(position_, &QLineEdit::textEdited, this,
                [this](const QString& text) { session_.panel().setSettingPosition(text); });
    }
    for (std::size_t i = 0; i < directions_.size(); ++i) {
        directions_[i] = widgets.directions[i];
        // clicked, not toggled: the refresh checks a button without writing the row back.
        if (directions_[i])
            connect(directions_[i], &QRadioButton::clicked, this,
                    [this, i] { chooseDirection(i == 1); });
    }
    paintAllWithoutFocus();
    connect(&session_, &Session::quickBoxRefreshRequested, this, &QuickParameterBoxes::refresh);
}

QuickParameterBoxes::~QuickParameterBoxes() = default;

void QuickParameterBoxes::refresh()
{
    for (QuickBox b : kQuickBoxes) {
        // The pulse-train window's table has no load inertia row.
        if (box(b) && operation::rowOf(session_, b)) {
            box(b)->setText(operation::shownValue(session_, b));
            // The range of the actuator type now in the table.
            box(b)->setToolTip(operation::rangeOf(session_, b).message);
        }
    }
    const bool ccw = operation::directionIsCcw(session_);
    if (QRadioButton* chosen = directions_[ccw ? 1 : 0].data())
        chosen->setChecked(true);
    session_.showOriginShift(operation::originShift(session_));
}

bool QuickParameterBoxes::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == position_ && positionEvent(event))
        return true;
    for (QuickBox b : kQuickBoxes) {
        if (watched == box(b) && quickBoxEvent(b, event))
            return true;
    }
    return QObject::eventFilter(watched, event);
}

bool QuickParameterBoxes::quickBoxEvent(QuickBox b, QEvent* event)
{
    QLineEdit* e = box(b);
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto* k = static_cast<const QKeyEvent*>(event);
        if (isEnter(k)) {
            enter(b);
            return true;
        }
        if (k->key() == Qt::Key_Down || k->key() == Qt::Key_Up) {
            takeFocus(k->key() == Qt::Key_Down ? operation::nextBox(b) : operation::previousBox(b));
            return true;
        }
        return !keyAllowed(k, [b](QChar ch) { return operation::acceptsKey(b, ch); });
    }
    case QEvent::FocusIn:
        if (withinWindow(event)) {
            paint(e, kWithFocus);
            const QString text = operation::focusText(b, e->text());
            if (text != e->text())
                e->setText(text);
            selectAllOnFocus(e, event);
        }
        return false;
    case QEvent::FocusOut:
        if (withinWindow(event))
            paint(e, kWithoutFocus);
        return false;
    default:
        return false;
    }
}

bool QuickParameterBoxes::positionEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto* k = static_cast<const QKeyEvent*>(event);
        if (isEnter(k)) {
            formatPosition();
            return true;
        }
        return !keyAllowed(k, &operation::positionAcceptsKey);
    }
    case QEvent::FocusIn:
        // While teaching, the box shows the taught angle and stays as it is.
        if (withinWindow(event) && session_.teachingState().inputMode == 1) {
            paint(position_, kWithFocus);
            formatPosition();
            selectAllOnFocus(position_, event);
        }
        return false;
    case QEvent::FocusOut:
        if (withinWindow(event)) {
            formatPosition();
            paint(position_, kWithoutFocus);
        }
        return false;
    default:
        return false;
    }
}

void QuickParameterBoxes::enter(QuickBox b)
{
    QLineEdit* e = box(b);
    paint(e, kWithoutFocus);
    const QString message = operation::refusal(session_, b, e->text());
    if (!message.isEmpty()) {
        session_.dialogs().message(message, tr("error"), MsgIcon::Exclamation, MsgButtons::Ok);
        e->setText(operation::restoredValue(session_, b));
        e->setFocus(Qt::OtherFocusReason);
        e->selectAll();
        paint(e, kWithFocus);
        return;
    }
    operation::store(session_, b, e->text());
    // The table's own range may still turn the value back (a type-50 actuator returns to
    // origin at 0.50 rps only): the box shows what the row holds now.
    e->setText(operation::shownValue(session_, b));
    takeFocus(operation::nextBox(b));
}

void QuickParameterBoxes::takeFocus(QuickBox b)
{
    if (QLineEdit* e = box(b))
        e->setFocus(Qt::OtherFocusReason);
}

void QuickParameterBoxes::formatPosition()
{
    const QString text = operation::formattedPosition(position_->text());
    // The box first, so the window finds the panel's value already shown.
    if (position_->text() != text)
        position_->setText(text);
    session_.panel().setSettingPosition(text);
}

void QuickParameterBoxes::paintAllWithoutFocus()
{
    for (QuickBox b : kQuickBoxes)
        paint(box(b), kWithoutFocus);
    paint(position_, kWithoutFocus);
}

void QuickParameterBoxes::chooseDirection(bool ccw)
{
    paintAllWithoutFocus();
    operation::storeDirection(session_, ccw);
}

}  // namespace kap
