#include "operation/OperationSteps.h"

#include "platform/Dialogs.h"
#include "session/Reactions.h"

Q_LOGGING_CATEGORY(lcOperation, "kap.operation", QtWarningMsg)

namespace kap::operation {

namespace {

// The title and the reply time-out of the running operation, put back after a wait in which
// other handlers may have run.
class KeepContext {
public:
    explicit KeepContext(Session& s)
        : s_(s), title_(s.operations().title), timeoutMs_(s.link().timeout().ms())
    {
    }
    ~KeepContext() { restore(); }
    float timeoutMs() const { return timeoutMs_; }
    void restore()
    {
        s_.operations().title = title_;
        if (s_.link().timeout().ms() != timeoutMs_)
            s_.link().timeout().set(timeoutMs_);
    }

private:
    Session& s_;
    QString title_;
    float timeoutMs_;
};

}  // namespace

bool ask(Session& s, const QString& text)
{
    KeepContext keep(s);
    return s.dialogs().message(text, s.operations().title, MsgIcon::Question, MsgButtons::YesNo)
           == MsgAnswer::Yes;
}

void reportNoAnswer(Session& s, bool hideProgress)
{
    qCInfo(lcOperation) << s.operations().title << "- no usable answer";
    s.setMainWindowEnabled(true);
    if (hideProgress)
        s.hideProgress();
    ReportLinkError(s);
}

const QList<Command>& pulsePanel()
{
    using C = Command;
    static const QList<Command> buttons = {C::ReturnToOrigin, C::Start,          C::Stop,
                                           C::Servo,          C::ClearDeviation, C::Brake,
                                           C::CancelAlarm,    C::Positioning};
    return buttons;
}

Outcome exchange(Session& s, qint16 code, const QString& argument)
{
    KeepContext keep(s);
    // Handlers that run while this waits its turn set time-outs of their own; this exchange
    // keeps the one in force when it was asked for.
    return s.link().exchange(code, argument, keep.timeoutMs());
}

}  // namespace kap::operation
