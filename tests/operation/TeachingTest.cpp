// Teaching in Setting mode against the simulated controller: jogging in playback, SET with
// its ranges and the virtual origin, the taught setting position, and direct teaching.
#include "operation/Teaching.h"
#include "OperationRig.h"
#include "data/ParameterTable.h"
#include "data/PointTable.h"
#include "data/ZoneTable.h"
#include "link/ProgramState.h"
#include "session/Commands.h"

#include <QTimer>

using namespace kap;
using namespace kap::test;
using C = Command;
using Kind = sim::Fault::Kind;
using Target = TeachingTarget;
using Style = sim::Options::PositionStyle;

namespace {

const QString kOriginQuestion =
    QStringLiteral("Return to origin? Please push stop switch if you stop operating.");
const QString kMotorOff = QStringLiteral(
    "Servo|Do you turn off the power of motor? Cannot change the mode during turning off the "
    "power of motor.");
const QString kSendOrigin = QStringLiteral("Parameter|Do you send virtual origin data?");
const QString kTerminate = QStringLiteral("Teaching|Terminate teaching setting?");
const QString kFinished = QStringLiteral("ok|Transmitting and receiving has finished.");
const QString kRefusal = QStringLiteral("Error|Cannot receive data from controller.");

QString origin(const char* title)
{
    return title + ("|" + kOriginQuestion);
}

// The angle query and the teaching update's parameter query after it.
const QList<QByteArray> kRefresh = lines({"@?POS ,\r\n", "@?PRM 35,\r\n"});
// A teaching loop's start: the return to origin, its refresh, the origin-shift read-out.
const QList<QByteArray> kStart = lines({"@ORG ,\r\n"}) + kRefresh + lines({"@?PRM 35,\r\n"});

// fn runs from the event loop later; a table case's leftovers die with its session.
void later(OperationRig& r, int ms, std::function<void()> fn)
{
    QTimer::singleShot(ms, &r.session, std::move(fn));
}

// A loop that never ends fails the case instead of hanging the run.
void guard(OperationRig& r)
{
    later(r, 4000, [&r] {
        ADD_FAILURE() << "teaching loop still running";
        operation::ReleaseJog(r.session);
        operation::ChooseInputMode(r.session, 0);
    });
}

// A teaching choice, run until its loop has ended (the loop runs on the session's timer).
void teach(OperationRig& r, int option)
{
    operation::ChooseInputMode(r.session, option);
    waitUntil([&r] { return r.session.teachingState().loop == TeachingLoop::Off; }, 4500);
}

// A Setting-mode rig with the teaching update installed.
struct TeachingRig : OperationRig {
    explicit TeachingRig(sim::Options o = simOptions(0, 50)) : OperationRig(o)
    {
        operation::attach(session);
        guard(*this);
    }
};

}  // namespace

TEST(Playback, JogButtonsStepHoldAndStop)
{
    const QList<QByteArray> plus = lines({"@X+ ,\r\n"}) + kRefresh;
    const QList<QByteArray> minus = lines({"@X- ,\r\n"}) + kRefresh;
    const struct {
        const char* name;
        bool clockwise;
        QByteArray refusal;         // the step's error line; empty: accepted
        const char* releaseOn;      // released as this reaches the controller
        int holdMs;                 // ... and this much later
        QList<QByteArray> lines;    // after the loop's start
        QStringList boxes;          // after the origin question
        float timeoutAfterRelease;  // 0: not a held move
    } cases[] = {
        {"short click on CW", true, {}, "@X+ ", 0, plus, {}, 0.0f},
        {"CCW held",
         false,
         {},
         "@XDEC ",
         100,
         minus + minus + minus + lines({"@XDEC ,\r\n", "\x03"}) + kRefresh,
         {},
         300.0f},
        {"CW at the software limit", true, "E-37 SOFTWARE LIMIT", "@X+ ", 0, plus, {}, 0.0f},
        {"CW refused", true, "E-04 BUSY", "@X+ ", 0, plus, {kRefusal}, 0.0f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TeachingRig r;
        if (!c.refusal.isEmpty())
            r.line.controller.arm("@X+ ", {Kind::Refuse, c.refusal, 0});
        r.dialogs.answer(MsgAnswer::Yes).ok(int(c.boxes.size()));
        int readOuts = 0;
        bool cyan = false;
        r.whenReceived("@?PRM ", [&] {
            if (++readOuts == 2)  // the read-out: the loop starts next
                later(r, 30, [&] {
                    const PanelState& p = r.panel();
                    cyan = p.enabled(C::JogCw) && p.shade(C::JogCcw) == Shade::LightCyan;
                    operation::PressJog(r.session, c.clockwise);
                });
        });
        // Txt_Error once the first step's answer is in: the refresh after it goes out.
        QString errorAfterStep;
        r.whenReceived("@?POS ", [&] {
            if (r.session.teachingState().jogSteps == 1)
                errorAfterStep = r.view.error;
        });
        float afterRelease = 0.0f;
        r.whenReceived(c.releaseOn, [&] {
            later(r, c.holdMs, [&] {
                operation::ReleaseJog(r.session);
                if (c.timeoutAfterRelease > 0.0f)
                    afterRelease = r.session.link().timeout().ms();
                later(r, 150, [&] { operation::ChooseInputMode(r.session, 0); });
            });
        });

        teach(r, 2);
        EXPECT_TRUE(cyan);
        EXPECT_EQ(r.sent(), kStart + c.lines);
        EXPECT_EQ(boxes(r.dialogs), QStringList{origin("Teaching Playback")} + c.boxes);
        EXPECT_FLOAT_EQ(afterRelease, c.timeoutAfterRelease);
        if (c.refusal.isEmpty())
            EXPECT_EQ(errorAfterStep, "");
        else
            EXPECT_TRUE(errorAfterStep.contains(c.refusal)) << errorAfterStep.toStdString();
        EXPECT_FALSE(r.panel().enabled(C::JogCw));
        // No motion is left marked as running: Org asks its question again.
        r.dialogs.answer(MsgAnswer::No);
        operation::Org(r.session);
        EXPECT_EQ(boxes(r.dialogs).last(), origin("Org"));
    }
}

// SET in numeric input: the value goes where the target says, or a box says why not.
TEST(Set, StoresTheSettingPositionWithinItsRange)
{
    const auto yes = MsgAnswer::Yes, no = MsgAnswer::No, ok = MsgAnswer::Ok;
    const QString within360 = QStringLiteral("error|Please set a value within -360 to 360");
    const QString range = QStringLiteral("error|Please set a value as -327.68 to 327.67mm.");
    const Target Position = Target::Position, Shift = Target::OriginShift;
    const auto sendsShift = [](const char* record) {
        return lines({"@WRITE PRM ,\r\n", record, "\x1a", "@?PRM 35,\r\n"});
    };
    const struct {
        const char* name;
        Target target;
        const char *angle, *value;
        QList<MsgAnswer> answers;
        QStringList boxes;
        QList<QByteArray> lines;
        const char* cell;   // the selected row's Position afterwards
        const char* shift;  // parameter 35 in the controller afterwards
        bool stored;
    } cases[] = {
        {"beyond the angle", Position, "360", "360.01", {ok}, {within360}, {}, "", "0", false},
        {"below the angle", Position, "360", "-400", {ok}, {within360}, {}, "", "0", false},
        {"edge of the angle", Position, "360", "-360", {}, {}, {}, "-360.00", "0", true},
        {"wider angle", Position, "720", "400.5", {}, {}, {}, "400.50", "0", true},
        {"shift inside the angle, too big", Shift, "360", "350", {ok}, {range}, {}, "", "0", false},
        {"shift too small", Shift, "360", "-327.69", {ok}, {range}, {}, "", "0", false},
        {"shift sent",
         Shift,
         "360",
         "-2.5",
         {yes, ok},
         {kSendOrigin, kFinished},
         sendsShift("PRM35=-250\r\n"),
         "",
         "-250",
         true},
        {"lowest shift sent",
         Shift,
         "360",
         "-327.68",
         {yes, ok},
         {kSendOrigin, kFinished},
         sendsShift("PRM35=-32768\r\n"),
         "",
         "-32768",
         true},
        {"shift not sent", Shift, "360", "327.67", {no}, {kSendOrigin}, {}, "", "0", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TeachingRig r;
        ParameterTable& table = r.session.parameters();
        table.grid().setText(table.rowOfPrm(21).value(), kValueColumn, c.angle);
        r.session.setModified(false);
        r.session.tableGrid().setCurrentRow(5);
        r.session.teachingState().target = c.target;
        r.panel().setSettingPosition(c.value);
        for (MsgAnswer a : c.answers)
            r.dialogs.answer(a);

        operation::Set(r.session);
        EXPECT_EQ(boxes(r.dialogs), c.boxes);
        EXPECT_EQ(r.sent(), c.lines);
        EXPECT_EQ(r.session.tableGrid().text(5, PointTable::PositionColumn), c.cell);
        EXPECT_EQ(r.line.controller.params[35], c.shift);
        EXPECT_EQ(table.value(table.rowOfPrm(35).value()), c.shift);
        EXPECT_EQ(r.session.isModified(), c.stored);
        EXPECT_EQ(r.view.positionFocused, c.stored ? 0 : 1);
        EXPECT_EQ(r.session.teachingState().inputMode, 1);
        if (c.stored) {
            const QString shown = QString::number(QString(c.value).toDouble(), 'f', 2);
            EXPECT_EQ(r.panel().settingPosition(), shown);
        }
    }
}

// SET while a teaching loop runs asks whether teaching ends; the value is unsaved data on
// every path.
TEST(Set, DuringPlaybackEndsOrGoesOnTeaching)
{
    const auto yes = MsgAnswer::Yes, no = MsgAnswer::No;
    const QString start = origin("Teaching Playback"), end = origin("Transmit");
    const struct {
        const char* name;
        Target target;
        QList<MsgAnswer> answers;  // after the first origin question
        QStringList boxes;         // ... likewise
        QList<int> inputModes;     // as each of these boxes came up
        const char* cell;
        bool settingModeAgain;
        int returns;  // to origin, the teaching start's included
    } cases[] = {
        {"ended", Target::Position, {yes, yes}, {kTerminate, end}, {3, 3}, "45.00", true, 2},
        // No to sending the shift is back to numeric input at once, with nothing more asked.
        {"shift not sent", Target::OriginShift, {no}, {kSendOrigin}, {3}, "", true, 1},
        {"teaching goes on",
         Target::Position,
         {no, yes},
         {kTerminate, start},
         {3, 3},
         "45.00",
         false,
         2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TeachingRig r;
        r.session.tableGrid().setCurrentRow(4);
        operation::ChooseTarget(r.session, c.target);
        r.dialogs.answer(yes);
        for (MsgAnswer a : c.answers)
            r.dialogs.answer(a);
        QList<int> modes;
        r.dialogs.onBox = [&] { modes << r.session.teachingState().inputMode; };
        int readOuts = 0;
        r.whenReceived("@?PRM ", [&] {
            if (++readOuts == 2)
                later(r, 30, [&] {
                    r.panel().setSettingPosition("45");
                    operation::Set(r.session);
                });
        });
        int returns = 0;
        r.whenReceived("@ORG ", [&] {
            if (++returns == 2 && !c.settingModeAgain)
                later(r, 150, [&] { operation::ChooseInputMode(r.session, 0); });
        });

        teach(r, 2);
        EXPECT_EQ(boxes(r.dialogs), QStringList{start} + c.boxes);
        EXPECT_EQ(modes.mid(1), c.inputModes);
        EXPECT_EQ(returns, c.returns);
        EXPECT_EQ(r.count("@WRITE PRM ,\r\n"), 0);
        EXPECT_EQ(r.session.tableGrid().text(4, PointTable::PositionColumn), c.cell);
        EXPECT_TRUE(r.session.isModified());
        EXPECT_EQ(r.session.teachingState().inputMode, 1);
        EXPECT_EQ(r.panel().inputOption(), 0);
        EXPECT_FALSE(r.session.silence().settingMode);  // no silence outlives the teaching
    }
}

TEST(Set, PulseTrainZoneAngle)
{
    const QString range = QStringLiteral("error|Please set a value as 0 to 359.99.");
    const struct {
        const char* value;
        int column;
        const char *a, *b;  // the row's angles afterwards
        QStringList boxes;
    } cases[] = {
        {"0", ZoneTable::AngleAColumn, "0.00", "200.00", {}},
        {"359.99", ZoneTable::AngleAColumn, "359.99", "200.00", {}},
        {"12.5", ZoneTable::AngleBColumn, "100.00", "12.50", {}},
        {"-0.01", ZoneTable::AngleAColumn, "100.00", "200.00", {range}},
        {"360", ZoneTable::AngleAColumn, "100.00", "200.00", {range}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        TeachingRig r(simOptions(1));
        Grid& zones = r.session.tableGrid();
        zones.setText(2, ZoneTable::AngleAColumn, "100");
        zones.setText(2, ZoneTable::AngleBColumn, "200");
        r.session.setModified(false);
        zones.setCurrentCell(2, c.column);
        r.session.teachingState().target = Target::Position;
        r.panel().setSettingPosition(c.value);
        r.dialogs.ok(int(c.boxes.size()));

        operation::Set(r.session);
        EXPECT_EQ(boxes(r.dialogs), c.boxes);  // no "Terminate teaching setting?" outside teaching
        EXPECT_EQ(zones.text(2, ZoneTable::AngleAColumn), c.a);
        EXPECT_EQ(zones.text(2, ZoneTable::AngleBColumn), c.b);
        EXPECT_EQ(r.session.isModified(), c.boxes.isEmpty());
        EXPECT_TRUE(r.sent().isEmpty());
    }
}

// The origin-shift target proposes the shift that makes the present position zero; the
// position target gives the position in the coordinates in force when teaching began.
TEST(TeachingUpdate, TaughtPositionFromAPositionReply)
{
    const QString signByte = QChar(0xA5);
    const struct {
        Target target;
        QString reply;
        const char *shift, *atStart, *taught;
    } cases[] = {
        {Target::OriginShift, "?12.50\r\nOK\r\n", "1000", "1000", "-2.50"},
        {Target::OriginShift, signByte + "12.50\r\nOK\r\n", "-1000", "0", "2.50"},
        {Target::Position, signByte + "5.00\r\nOK\r\n", "500", "1000", "10.00"},
        {Target::Position, "?-5.00\r\nOK\r\n", "500", "1000", "0.00"},
        {Target::Position, "?3.25\r\nOK\r\n", "-250", "0", "-0.75"},
        // Halves round away from zero, on the decimal value rather than the binary one.
        {Target::Position, "0.125\r\nOK\r\n", "0", "0", "0.13"},
        {Target::OriginShift, "-0.125\r\nOK\r\n", "0", "0", "-0.13"},
        {Target::OriginShift, "0.145\r\nOK\r\n", "1", "1", "0.16"},
        {Target::OriginShift, "?0.015\r\nOK\r\n", "1", "1", "-0.01"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.reply));
        const QString t = operation::teachingValueOf(c.reply);
        EXPECT_EQ(operation::taughtPosition(c.target, t, c.shift, c.atStart), c.taught);
    }
}

TEST(DirectTeaching, ReturnsToOriginSwitchesTheMotorOffAndFollowsTheHand)
{
    const auto yes = MsgAnswer::Yes, no = MsgAnswer::No;
    const QString start = origin("Direct Teach");
    const QStringList asked = {start, kMotorOff};
    const QList<QByteArray> off = kStart + lines({"@SRVO 0,\r\n"});
    const Target Shift = Target::OriginShift;
    const struct {
        const char* name;
        Style style;
        Target target;
        double hand, held;  // degrees per second turned by hand; where the hand stops
        QList<MsgAnswer> answers;
        QStringList boxes;
        QList<QByteArray> lines;  // before the loop
        bool loops;
        const char* taught;  // Txt_Pos afterwards
    } cases[] = {
        {"return declined", Style::Plain, Shift, 0, 0, {no}, {start}, {}, false, "0.00"},
        // The return's own refresh teaches with the shift known before the read-out.
        {"motor left on", Style::Plain, Shift, 0, 0, {yes, no}, asked, kStart, false, "0.00"},
        {"negative angle as ?",
         Style::Question,
         Shift,
         -20,
         -12.5,
         {yes, yes},
         asked,
         off,
         true,
         "-2.50"},
        {"signed angle as ?",
         Style::QuestionSigned,
         Target::Position,
         -20,
         -3.25,
         {yes, yes},
         asked,
         off,
         true,
         "-3.25"},
        {"sign byte", Style::SignByte, Shift, 20, 12.5, {yes, yes}, asked, off, true, "22.50"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        sim::Options o = simOptions(0, 50);
        o.positionStyle = c.style;
        o.handTurnDegPerSec = c.hand;
        TeachingRig r(o);
        r.line.controller.params[35] = "1000";
        r.line.controller.position = 30.0;
        r.session.teachingState().target = c.target;
        r.panel().setSettingPosition("5.00");
        for (MsgAnswer a : c.answers)
            r.dialogs.answer(a);
        bool stopDialog = false;
        r.whenReceived("@ORG ", [&] { stopDialog = r.panel().stopDialogShown(); });
        QStringList taught;
        QObject::connect(&r.panel(), &PanelState::changed, &r.session, [&] {
            if (taught.value(taught.size() - 1) != r.panel().settingPosition())
                taught << r.panel().settingPosition();
        });
        int refreshes = 0;
        r.whenReceived("@?POS ", [&] {
            if (r.count("@SRVO 0,\r\n") == 0 || ++refreshes != 4)
                return;
            r.line.controller.options().handTurnDegPerSec = 0.0;  // the hand stops here
            r.line.controller.position = c.held;
            later(r, 80, [&] { operation::ChooseInputMode(r.session, 0); });
        });

        teach(r, 1);
        EXPECT_EQ(boxes(r.dialogs), c.boxes);
        EXPECT_EQ(stopDialog, !c.lines.isEmpty());
        EXPECT_FALSE(r.panel().stopDialogShown());
        EXPECT_EQ(r.line.controller.servoOn, !c.loops);
        EXPECT_EQ(r.panel().settingPosition(), c.taught);
        EXPECT_TRUE(r.panel().enabled(C::Set));
        if (c.lines.isEmpty()) {
            EXPECT_EQ(r.line.controller.position, 30.0);  // not moved
        }
        if (!c.loops) {
            EXPECT_EQ(r.sent(), c.lines);
            continue;
        }
        const QList<QByteArray> sent = r.sent();
        EXPECT_EQ(sent.mid(0, c.lines.size()), c.lines);
        const QList<QByteArray> loop = sent.mid(c.lines.size());
        EXPECT_GE(loop.size(), 10);
        for (qsizetype i = 0; i < loop.size(); ++i)
            EXPECT_EQ(loop[i], kRefresh[i % 2]) << "refresh line " << i;
        // No pair count: the mode change may land inside a refresh's "@?POS " wait, and that
        // refresh then leaves out its "@?PRM 35" (another operation ran meanwhile).
        EXPECT_GE(taught.size(), 4) << taught.join(' ').toStdString();  // it moved with the hand
        EXPECT_EQ(r.session.teachingState().inputMode, 1);
    }
}
