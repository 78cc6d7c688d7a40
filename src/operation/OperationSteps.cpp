#include "OperationSteps.h"

#include "Dialogs.h"
#include "Reactions.h"

namespace kap::operation {

bool ask(Session& s, const QString& text)
{
    return s.dialogs().message(text, s.flags().operationTitle, MsgIcon::Question, MsgButtons::YesNo)
           == MsgAnswer::Yes;
}

void reportNoAnswer(Session& s)
{
    s.setMainWindowEnabled(true);
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
    Link& link = s.link();
    link.ClearCommand();
    link.request.P_Command = code;
    link.request.P_second = argument;
    link.BuildCommand();
    return link.RunTransaction();
}

}  // namespace kap::operation
