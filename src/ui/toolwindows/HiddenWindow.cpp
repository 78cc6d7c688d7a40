#include "ui/toolwindows/HiddenWindow.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace kap {
namespace {

// QWidget::destroy is protected; its address is not.
struct WidgetAccess : QWidget {
    using QWidget::destroy;
};

class Releaser : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (e->type() != QEvent::Hide)
            return false;
        auto* window = static_cast<QWidget*>(watched);
        // After the hide has run its course; a window shown again meanwhile keeps its own.
        QTimer::singleShot(0, window, [window] {
            if (window->isWindow() && !window->isVisible()
                && window->testAttribute(Qt::WA_WState_Created)) {
                const auto destroy = &WidgetAccess::destroy;
                (window->*destroy)(true, true);
            }
        });
        return false;
    }
};

}  // namespace

void releaseWhenHidden(QWidget* window)
{
    window->installEventFilter(new Releaser(window));
}

}  // namespace kap
