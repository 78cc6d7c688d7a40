// The pulse-train window's servo, brake, alarm and pulse-deviation buttons.
#include "operation/ServoBrake.h"
#include "OperationRig.h"

using namespace kap;
using namespace kap::test;
using C = Command;

namespace {

const QString kRefusal = QStringLiteral("Cannot receive data from controller.");

struct PulseRig : OperationRig {
    PulseRig() : OperationRig(simOptions(1)) { enterOperation(); }

    void expectRefused(const QString& question, const QString& reply)
    {
        EXPECT_EQ(view.error, reply);
        EXPECT_EQ(dialogs.texts(), QStringList({question, kRefusal}));
        ASSERT_EQ(dialogs.boxes.size(), 2);
        EXPECT_EQ(dialogs.boxes[1].title, "Error");
        EXPECT_EQ(dialogs.boxes[1].icon, MsgIcon::Critical);
        view.expectRestored();
    }
};

}  // namespace

// The caption names what the next press does; a stale caption is corrected from the
// controller before the question.
TEST(ServoBrake, ToggleAsksFromTheControllersState)
{
    const auto yes = MsgAnswer::Yes, no = MsgAnswer::No;
    const struct {
        const char* name;
        C button;
        bool on, alarm;  // servo on or brake engaged before; an alarm standing
        const char* staleCaption;
        MsgAnswer answer;
        const char* question;
        const char* setLine;  // null: nothing but the query
        const char* caption;  // after
    } cases[] = {
        {"already on", C::Servo, true, false, "Servo ON", yes, "Execute servo OFF?", "@SRVO 0,\r\n",
         "Servo ON"},
        {"servo off", C::Servo, false, false, "Servo OFF", yes, "Execute servo ON?", "@SRVO 1,\r\n",
         "Servo OFF"},
        {"declined", C::Servo, true, false, "Servo OFF", no, "Execute servo OFF?", nullptr,
         "Servo OFF"},
        {"alarm", C::Servo, false, true, "Servo ON", yes, "Execute servo ON?", "@SRVO 1,\r\n",
         "Servo ON"},
        {"engaged", C::Brake, true, false, "Brake ON", yes, "Turn OFF brake?", "@BRK 0,\r\n",
         "Brake ON"},
        {"released", C::Brake, false, false, "Brake OFF", yes, "Turn ON brake?", "@BRK 1,\r\n",
         "Brake OFF"},
        {"kept", C::Brake, false, false, "Brake ON", no, "Turn ON brake?", nullptr, "Brake ON"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PulseRig r;
        const bool servo = c.button == C::Servo;
        bool& state = servo ? r.line.controller.servoOn : r.line.controller.brakeOn;
        state = c.on;
        r.line.controller.alarm = c.alarm;
        r.panel().setCaption(c.button, c.staleCaption);
        r.dialogs.answer(c.answer);
        if (c.alarm)
            r.dialogs.ok();

        servo ? operation::ToggleServo(r.session) : operation::ToggleBrake(r.session);
        QList<QByteArray> expected = lines({servo ? "@?SRVO ,\r\n" : "@?BRK ,\r\n"});
        if (c.setLine)
            expected << c.setLine;
        EXPECT_EQ(r.sent(), expected);
        EXPECT_EQ(state, c.setLine && !c.alarm ? !c.on : c.on);
        EXPECT_EQ(r.panel().caption(c.button), c.caption);
        if (c.alarm)
            r.expectRefused(c.question, "NG\r\nE-08 ALARM ACTIVE\r\n");
        else
            EXPECT_EQ(r.dialogs.texts(), QStringList{c.question});
    }
}

TEST(ServoBrake, AlarmAndDeviationAreConfirmedFirst)
{
    const auto yes = MsgAnswer::Yes, no = MsgAnswer::No;
    const struct {
        const char* name;
        void (*press)(Session&);
        const char* question;
        MsgAnswer answer;
        const char* line;  // null: nothing sent
        bool refused;
    } cases[] = {
        {"cancel alarm", operation::CancelAlarm, "Cancel alarm?", yes, "@ALR ,\r\n", false},
        {"alarm kept", operation::CancelAlarm, "Cancel alarm?", no, nullptr, false},
        {"alarm cancel refused", operation::CancelAlarm, "Cancel alarm?", yes, "@ALR ,\r\n", true},
        {"clear", operation::ClearDeviation, "Clear pulse-deviation?", yes, "@CCLR ,\r\n", false},
        {"keep", operation::ClearDeviation, "Clear pulse-deviation?", no, nullptr, false},
        {"clear refused", operation::ClearDeviation, "Clear pulse-deviation?", yes, "@CCLR ,\r\n",
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PulseRig r;
        r.line.controller.alarm = true;
        if (c.refused)
            r.line.controller.arm(QByteArray(c.line).chopped(3), {sim::Fault::Refuse, {}, 0});
        r.dialogs.answer(c.answer);
        if (c.refused)
            r.dialogs.ok();

        c.press(r.session);
        EXPECT_EQ(r.sent(), c.line ? lines({c.line}) : QList<QByteArray>{});
        if (c.press == operation::CancelAlarm) {
            EXPECT_EQ(r.line.controller.alarm, !c.line || c.refused);
        }
        if (c.refused)
            r.expectRefused(c.question, "NG\r\nE-99 REFUSED\r\n");
        else
            EXPECT_EQ(r.dialogs.texts(), QStringList{c.question});
    }
}
