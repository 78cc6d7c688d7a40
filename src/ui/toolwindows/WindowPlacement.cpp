#include "ui/toolwindows/WindowPlacement.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QScreen>
#include <QSpacerItem>
#include <QWidget>

#include <algorithm>

namespace kap {

namespace {

// Frame sizes are known only once a window is mapped; the owner's stand in for the new
// window's, since the window manager draws both alike.
QMargins frameOf(const QWidget* owner)
{
    const QRect frame = owner->frameGeometry();
    const QRect inner = owner->geometry();
    return {inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
            frame.bottom() - inner.bottom()};
}

QSize sizeAtShow(const QWidget* window)
{
    // A window nobody has sized gets its size hint when it is shown.
    if (window->testAttribute(Qt::WA_Resized))
        return window->size();
    return window->sizeHint().expandedTo(window->minimumSize()).boundedTo(window->maximumSize());
}

}  // namespace

void placeBeside(QWidget* window, const QWidget* owner)
{
    if (!window || !owner || window->isVisible())
        return;
    const QScreen* screen = owner->screen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QMargins frame = frameOf(owner);
    const QSize extra(frame.left() + frame.right(), frame.top() + frame.bottom());

    QSize inner = sizeAtShow(window);
    const QSize fits = (area.size() - extra).expandedTo(window->minimumSize());
    if (inner.width() > fits.width() || inner.height() > fits.height()) {
        inner = inner.boundedTo(fits);
        window->resize(inner);
    }
    const QSize outer = inner + extra;

    const QRect beside = owner->frameGeometry();
    int x;
    if (beside.right() + 1 + outer.width() <= area.right() + 1)
        x = beside.right() + 1;
    else if (beside.left() - outer.width() >= area.left())
        x = beside.left() - outer.width();
    else
        x = beside.right() + 1 - outer.width();  // over the owner's right edge
    int y = beside.top();
    x = std::clamp(x, area.left(), std::max(area.left(), area.right() + 1 - outer.width()));
    y = std::clamp(y, area.top(), std::max(area.top(), area.bottom() + 1 - outer.height()));
    window->move(x, y);
}

int titleBarWidth(const QWidget& window)
{
    // Window managers draw titles in a bold face, mostly no smaller than the application's,
    // beside an icon and three buttons about a line high each.
    QFont font = QApplication::font("QMdiSubWindowTitleBar");
    if (font.pointSizeF() < window.font().pointSizeF())
        font.setPointSizeF(window.font().pointSizeF());
    font.setBold(true);
    const QFontMetrics metrics(font);
    return metrics.horizontalAdvance(window.windowTitle()) + 6 * metrics.height();
}

void widenForTitle(QMessageBox& box)
{
    // The box fixes its own size from its layout each time it is shown, so the room goes into
    // the layout as a spacer across the whole width.
    QLayout* layout = box.layout();
    if (!layout)
        return;
    int width = titleBarWidth(box);
    if (const QScreen* screen = box.screen())
        width = std::min(width, screen->availableGeometry().width());
    const QMargins margins = layout->contentsMargins();
    width -= margins.left() + margins.right();
    auto* room = new QSpacerItem(width, 0, QSizePolicy::Fixed, QSizePolicy::Minimum);
    if (auto* grid = qobject_cast<QGridLayout*>(layout))
        grid->addItem(room, grid->rowCount(), 0, 1, grid->columnCount());
    else
        layout->addItem(room);
}

}  // namespace kap
