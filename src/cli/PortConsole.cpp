#include "cli/PortConsole.h"

#include "session/Session.h"

#include <utility>

namespace kap::cli {

void PortDialogs::say(const QString& text)
{
    if (!verbose_)
        held_.append(text);
    else if (console_)
        console_->say(slot_, text);
}

void PortDialogs::endStep(bool failed)
{
    const QStringList held = std::exchange(held_, {});
    if (failed && console_) {
        for (const QString& text : held)
            console_->say(slot_, text);
    }
}

MsgAnswer PortDialogs::message(const QString& text, const QString& title, MsgIcon,
                               MsgButtons buttons)
{
    boxes.append({text, title});
    // Some texts are indented for the box; a line needs no blanks in front.
    const QString line = (title.isEmpty() ? QString() : title + QStringLiteral(": "))
                         + text.trimmed();
    switch (buttons) {
    case MsgButtons::Ok:
        say(line);
        return MsgAnswer::Ok;
    case MsgButtons::YesNoCancel:
        say(line + QStringLiteral(" No"));
        return MsgAnswer::No;
    case MsgButtons::YesNo:
        break;
    }
    if (!confirming_ || assumeYes_) {
        say(line + QStringLiteral(" Yes"));
        return MsgAnswer::Yes;
    }
    // The question comes with what led to it.
    endStep(true);
    const std::optional<bool> answer = console_ ? console_->ask(slot_, line) : std::nullopt;
    if (answer.value_or(false))
        return MsgAnswer::Yes;
    declined_ = true;
    return MsgAnswer::No;
}

void PortView::showError(const QString& text)
{
    // Cleared at the start of each operation; only a line the controller sent is news.
    if (!text.isEmpty())
        console_.say(slot_, QStringLiteral("controller: ") + text.trimmed());
}

void PortView::showStatusMessage(const QString& text)
{
    console_.say(slot_, text);
}

void PortView::setRange(int minimum, int maximum)
{
    minimum_ = minimum;
    maximum_ = maximum;
    if (shown_)
        console_.progressRange(slot_, minimum, maximum);
}

void PortView::setValue(int value)
{
    value_ = value;
    if (shown_)
        console_.progressValue(slot_, value);
}

void PortView::show()
{
    shown_ = true;
    console_.progressShown(slot_, session_.operations().title, minimum_, maximum_, value_);
}

void PortView::hide()
{
    if (!shown_)
        return;
    shown_ = false;
    console_.progressHidden(slot_);
}

}  // namespace kap::cli
