#include "ui/toolwindows/ErrorHistoryWindow.h"

#include "session/Session.h"
#include "ui/toolwindows/WindowPlacement.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <cstddef>
#include <optional>

namespace kap {

namespace {

constexpr int kCloseDelayMs = 100;

}  // namespace

ErrorHistoryWindow::ErrorHistoryWindow(Session& session, const exchange::ErrorLines& lines,
                                       QWidget* parent)
    : QDialog(parent), session_(&session), lines_(lines)
{
    setObjectName(QStringLiteral("errorRecord"));
    setWindowTitle(tr("Error history display"));
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);

    auto* heading = new QLabel(tr("The oldest error message is shown at the top of lists."), this);
    heading->setObjectName(QStringLiteral("Label2"));

    auto* list = new QVBoxLayout;
    list->setSpacing(2);
    const int lineWidth = fontMetrics().averageCharWidth() * 48;
    for (int k = 0; k < exchange::kErrorSlots; ++k) {
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("Label1_%1").arg(k));
        // The controller's text, never markup.
        label->setTextFormat(Qt::PlainText);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setMinimumWidth(lineWidth);
        label->setText(lines_.at(std::size_t(k)));
        list->addWidget(label);
    }

    okButton_ = new QPushButton(tr("OK"), this);
    okButton_->setObjectName(QStringLiteral("OK"));
    okButton_->setDefault(true);
    connect(okButton_, &QPushButton::clicked, this, &ErrorHistoryWindow::okClicked);
    saveButton_ = new QPushButton(tr("Save"), this);
    saveButton_->setObjectName(QStringLiteral("e_hozon"));
    connect(saveButton_, &QPushButton::clicked, this, &ErrorHistoryWindow::saveClicked);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(okButton_);
    buttons->addWidget(saveButton_);

    auto* all = new QVBoxLayout(this);
    all->addWidget(heading);
    all->addLayout(list);
    all->addLayout(buttons);
    all->setSizeConstraint(QLayout::SetFixedSize);
}

void ErrorHistoryWindow::okClicked()
{
    // The short pause the tool has always made before closing; nothing is clicked meanwhile.
    okButton_->setEnabled(false);
    saveButton_->setEnabled(false);
    QTimer::singleShot(kCloseDelayMs, this, &QWidget::close);
}

void ErrorHistoryWindow::saveClicked()
{
    if (session_)
        exchange::SaveErrorRecord(*session_, lines_);
}

ErrorHistoryWindow* showErrorHistoryWindow(Session& session, QWidget* mainWindow)
{
    const std::optional<exchange::ErrorLines> lines = exchange::ReadErrorHistory(session);
    if (!lines)
        return nullptr;

    // One history window per main window: the previous read's goes.
    const QList<QWidget*> windows = QApplication::topLevelWidgets();
    for (QWidget* w : windows) {
        if (qobject_cast<ErrorHistoryWindow*>(w) && w->parentWidget() == mainWindow)
            w->close();
    }
    auto* window = new ErrorHistoryWindow(session, *lines, mainWindow);
    placeBeside(window, mainWindow);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

}  // namespace kap
