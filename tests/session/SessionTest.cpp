// The session's own rules: port names, the controller version it keeps, the lines its link
// shows, and the end of the program after an unknown actuator type.
#include "SessionRig.h"
#include "SimLine.h"
#include "data/ParameterTable.h"
#include "exchange/Records.h"
#include "link/ProgramState.h"
#include "platform/PortName.h"

#include <QElapsedTimer>
#include <QSignalSpy>

using namespace kap;
using namespace kap::test;

TEST(PortNames, OneRuleForNamesAndSettingsValues)
{
    const struct {
        const char* text;
        const char* asName;     // usableOrFirst(text)
        const char* fromValue;  // fromSettingsValue(text)
    } cases[] = {
        {"COM3", "COM3", "COM1"},  {"COM8", "COM8", "COM1"},  {"COM9", "COM1", "COM1"},
        {"COM0", "COM1", "COM1"},  {"com2", "COM1", "COM1"},  {"COM3 ", "COM1", "COM1"},
        {"COM12", "COM1", "COM1"}, {"", "COM1", "COM1"},      {"3", "COM1", "COM3"},
        {"8", "COM1", "COM8"},     {" 5 ", "COM1", "COM5"},   {"9", "COM1", "COM1"},
        {"0", "COM1", "COM1"},     {"2.5", "COM1", "COM1"},   {"-2", "COM1", "COM1"},
        {"x3", "COM1", "COM1"},    {"ERROR", "COM1", "COM1"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ports::usableOrFirst(c.text), c.asName) << c.text;
        EXPECT_EQ(ports::fromSettingsValue(c.text), c.fromValue) << c.text;
    }
    EXPECT_EQ(ports::settingsValueOf("COM7"), "7");
    EXPECT_EQ(ports::settingsValueOf("LPT2"), "1");
}

TEST(ControllerFacts, VersionIsTheTrimmedFirstLine)
{
    const struct {
        const char* reply;
        const char* version;
        bool lacksNoLimitMode;
    } cases[] = {
        {"1.05\r\nOK\r\n", "1.05", true},
        {" 1.050 \r\nOK\r\n", "1.050", true},
        {"01.81\r\nOK\r\n", "01.81", true},
        {"1.10\r\nOK\r\n", "1.10", false},
        {"12345678\r\nOK\r\n", "12345678", false},
        {"OK\r\n", "", false},
        {"NG\r\nE-01\r\n", "", false},
        {"abc\r\nOK\r\n", "abc", false},
        {"", "", false},
    };
    for (const auto& c : cases) {
        const QString version = ControllerFacts::versionFromReply(QString::fromLatin1(c.reply));
        EXPECT_EQ(version, c.version) << c.reply;
        EXPECT_EQ(records::versionLacksNoLimitMode(version), c.lacksNoLimitMode) << c.reply;
    }
}

TEST(Session, LinkLinesReachTheViewSetAtTheTime)
{
    ScratchState clean;
    SimLine sim;
    ViewedSession w;
    Link& link = w.session.link();
    const auto query = [&link] { return link.exchange(cmd::QVER); };
    const Outcome out = query();
    EXPECT_EQ(w.view.comS, "@?VER ,\r\n");
    EXPECT_EQ(w.view.comR, out.reply);

    FakeView other;
    w.session.setView(&other);
    query();
    EXPECT_EQ(other.comS, "@?VER ,\r\n");
    w.session.setView(nullptr);  // no view: nothing is shown, nothing breaks
    w.view.comS.clear();
    EXPECT_FALSE(query().timedOut);
    EXPECT_TRUE(w.view.comS.isEmpty());
}

TEST(Session, TimeScaleShortensTheReplyDeadline)
{
    ScratchState clean;
    SimLine sim;
    sim.controller.arm("@?VER ", {sim::Fault::Kind::NoReply, {}, 0});
    ViewedSession w;
    w.session.setTimeScale(0.01);
    Link& link = w.session.link();
    w.state.replyTimeout.set(3000);
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(link.exchange(cmd::QVER).timedOut);
    EXPECT_LT(clock.elapsed(), 1000) << "3000 ms scaled by 0.01";
}

TEST(Session, UnknownActuatorTypeAsksToEndTheProgram)
{
    ViewedSession w;
    QSignalSpy ended(&w.session, &Session::programEndRequested);
    w.dialogs.ok();
    // 55 passes the type row's range "50 to 66" but is no actuator type.
    w.session.parameterGrid().setText(-1, kValueColumn, "55");
    EXPECT_EQ(w.session.parameters().ResetParametersToDefaults(),
              ParameterTable::TypeCheck::Unknown);
    ASSERT_EQ(w.dialogs.boxes.size(), 1);
    EXPECT_EQ(w.dialogs.boxes[0].text, "Controller type is different.");
    EXPECT_EQ(ended.count(), 1);
}
