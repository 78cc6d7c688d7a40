// Every operation against a controller that fails at one of its steps: time-outs, "NG",
// replies cut short, garbage and a line closed mid-reply. Whatever the ending, the window
// stays disabled with its commands locked while the controller is asked (the origin commands
// leave it enabled), and it is usable again afterwards.
#include "ExchangeRig.h"
#include "exchange/Initialise.h"
#include "files/SettingCommands.h"

#include <cctype>

using namespace kap;
using namespace kap::test;

namespace {

using Kind = sim::Fault::Kind;

// Time-outs run at a twentieth of their length. A case whose record must be answered within
// the record's 100 ms window runs at full length: it waits for no time-out.
constexpr double kShort = 0.05;

// The data commands of the menu, and the initialisations that fail the same ways.
enum class Operation {
    ReceiveTable,
    ReceiveParameters,
    TransmitTable,
    TransmitParameters,
    InitTable,
    InitOrigin,
    ChangeOrigin,
};

const char* operationName(Operation op)
{
    switch (op) {
    case Operation::ReceiveTable:
        return "ReceiveTable";
    case Operation::ReceiveParameters:
        return "ReceiveParameters";
    case Operation::TransmitTable:
        return "TransmitTable";
    case Operation::TransmitParameters:
        return "TransmitParameters";
    case Operation::InitTable:
        return "InitTable";
    case Operation::InitOrigin:
        return "InitOrigin";
    case Operation::ChangeOrigin:
        return "ChangeOrigin";
    }
    return "?";
}

bool isOriginCommand(Operation op)
{
    return op == Operation::InitOrigin || op == Operation::ChangeOrigin;
}

exchange::Result run(ExchangeRig& rig, Operation op)
{
    switch (op) {
    case Operation::ReceiveTable:
        return rig.run(Op::ReceiveTable);
    case Operation::ReceiveParameters:
        return rig.run(Op::ReceiveParameters);
    case Operation::TransmitTable:
        return rig.run(Op::TransmitTable);
    case Operation::TransmitParameters:
        return rig.run(Op::TransmitParameters);
    case Operation::InitTable:
        return exchange::InitTable(rig.session,
                                   [&rig] { return SettingCommands(rig.session).askToSave(); });
    case Operation::InitOrigin:
        return exchange::InitOrigin(rig.session);
    case Operation::ChangeOrigin:
        return exchange::ChangeOrigin(rig.session);
    }
    return exchange::Result::LinkError;
}

struct FaultCase {
    const char* name;
    Operation op;
    int family;
    const char* word;  // fault key: command word or record prefix
    sim::Fault fault;
    QList<Box> boxesAfterQuestion;
    bool tableChanged = false;  // the fault is harmless and the data goes through
    double timeScale = kShort;
};

void PrintTo(const FaultCase& c, std::ostream* os)
{
    *os << operationName(c.op) << ": " << c.name;
}

const Box kPointLinkError = linkErrorBox("Point reception");

// A failure after the controller's table was erased: the box goes on to say so.
Box erased(Box box, int family)
{
    box.text +=
        family == 0
            ? "\n\nThe controller's point data was erased and is now incomplete. Transmit again."
            : "\n\nThe controller's zone data was erased and is now incomplete. Transmit again.";
    return box;
}

const FaultCase kCases[] = {
    // Receive points / zones.
    {"point read refused",
     Operation::ReceiveTable,
     0,
     "@READ PNT ",
     {Kind::Refuse, "E05", 0},
     {refusalBox()}},
    {"point read line closed mid-reply",
     Operation::ReceiveTable,
     0,
     "@READ PNT ",
     {Kind::HangupMidReply, {}, 8},
     {kPointLinkError}},
    // Garbage glued to the first record damages that line: the whole reply is unreadable.
    {"point read with garbage first",
     Operation::ReceiveTable,
     0,
     "@READ PNT ",
     {Kind::Garbage, "\x01\xfe#?", 0},
     {kPointLinkError}},
    {"point read with a stray byte",
     Operation::ReceiveTable,
     0,
     "@READ PNT ",
     {Kind::Garbage, "\x7f", 0},
     {kPointLinkError}},
    {"point read with an empty record",
     Operation::ReceiveTable,
     0,
     "@READ PNT ",
     {Kind::Garbage, "P5=\r\n", 0},
     {okBox("Receiving has finished.", "Receive Point")},
     true},
    {"zone read with a stray byte",
     Operation::ReceiveTable,
     1,
     "@READ ZON ",
     {Kind::Garbage, "#", 0},
     {linkErrorBox("Zone reception")}},
    {"point read with a malformed record",
     Operation::ReceiveTable,
     0,
     "@READ PNT ",
     {Kind::Garbage, "P5=broken\r\n", 0},
     {kPointLinkError}},
    {"zone read cut short",
     Operation::ReceiveTable,
     1,
     "@READ ZON ",
     {Kind::CutReply, {}, 6},
     {linkErrorBox("Zone reception")}},
    {"point read cut short",
     Operation::ReceiveTable,
     0,
     "@READ PNT ",
     {Kind::CutReply, {}, 9},
     {kPointLinkError}},
    // Receive parameters.
    {"version query unanswered",
     Operation::ReceiveParameters,
     0,
     "@?VER ",
     {Kind::NoReply, {}, 0},
     {linkErrorBox("Parameter reception")}},
    {"DIO refused",
     Operation::ReceiveParameters,
     0,
     "@READ DIO ",
     {Kind::Refuse, {}, 0},
     {refusalBox()}},
    {"parameter read line closed",
     Operation::ReceiveParameters,
     0,
     "@READ PRM ",
     {Kind::HangupMidReply, {}, 30},
     {linkErrorBox("Parameter reception")}},
    {"parameter read cut short",
     Operation::ReceiveParameters,
     1,
     "@READ PRM ",
     {Kind::CutReply, {}, 40},
     {linkErrorBox("Parameter reception")}},
    {"parameter read with garbage first",
     Operation::ReceiveParameters,
     1,
     "@READ PRM ",
     {Kind::Garbage, "\x02\x7f", 0},
     {linkErrorBox("Parameter reception")}},
    {"parameter read with a stray byte",
     Operation::ReceiveParameters,
     0,
     "@READ PRM ",
     {Kind::Garbage, "x", 0},
     {linkErrorBox("Parameter reception")}},
    {"parameter read with an unreadable type",
     Operation::ReceiveParameters,
     1,
     "@READ PRM ",
     {Kind::Garbage, "X=??\r\n", 0},
     {linkErrorBox("Parameter reception")}},
    // Transmit points / zones. Once the erase is answered, every failure says the table is
    // now incomplete; a failed erase does not.
    {"stroke query refused",
     Operation::TransmitTable,
     0,
     "@?PRM ",
     {Kind::Refuse, {}, 0},
     {refusalBox()}},
    {"stroke query garbage",
     Operation::TransmitTable,
     0,
     "@?PRM ",
     {Kind::Garbage, "zz", 0},
     {linkErrorBox("Transmit Point")}},
    {"point erase refused",
     Operation::TransmitTable,
     0,
     "@INIT PNT ",
     {Kind::Refuse, {}, 0},
     {refusalBox()}},
    {"write block refused",
     Operation::TransmitTable,
     0,
     "@WRITE PNT ",
     {Kind::Refuse, {}, 0},
     {erased(refusalBox(), 0)}},
    {"write block unanswered",
     Operation::TransmitTable,
     0,
     "@WRITE PNT ",
     {Kind::NoReply, {}, 0},
     {erased(linkErrorBox("Transmit Point"), 0)}},
    {"write block line closed",
     Operation::TransmitTable,
     0,
     "@WRITE PNT ",
     {Kind::HangupMidReply, {}, 2},
     {erased(linkErrorBox("Transmit Point"), 0)}},
    {"point record refused",
     Operation::TransmitTable,
     0,
     "P",
     {Kind::Refuse, {}, 0},
     {erased(refusalBox(), 0)},
     false,
     1.0},
    {"line closed after a record",
     Operation::TransmitTable,
     0,
     "P",
     {Kind::HangupMidReply, {}, 1},
     {erased(linkErrorBox("Transmit Point"), 0)},
     false,
     1.0},
    // Silence after the end-of-data byte is normal; a refusal of it is not, nor an answer
    // without its reply word.
    {"end of data unanswered",
     Operation::TransmitTable,
     0,
     "\x1a",
     {Kind::NoReply, {}, 0},
     {okBox("Transmitting has finished.", "Transmit Point")}},
    {"end of data refused",
     Operation::TransmitTable,
     1,
     "\x1a",
     {Kind::Refuse, {}, 0},
     {erased(refusalBox(), 1)}},
    {"end of data answered with one byte",
     Operation::TransmitTable,
     0,
     "\x1a",
     {Kind::CutReply, {}, 1},
     {erased(linkErrorBox("Transmit Point"), 0)}},
    {"end of data answer without its line end",
     Operation::TransmitTable,
     1,
     "\x1a",
     {Kind::CutReply, {}, 3},
     {erased(linkErrorBox("Transmit Zone"), 1)}},
    {"zone erase refused",
     Operation::TransmitTable,
     1,
     "@INIT ZON ",
     {Kind::Refuse, {}, 0},
     {refusalBox()}},
    {"zone write block refused",
     Operation::TransmitTable,
     1,
     "@WRITE ZON ",
     {Kind::Refuse, {}, 0},
     {erased(refusalBox(), 1)}},
    {"zone write block line closed",
     Operation::TransmitTable,
     1,
     "@WRITE ZON ",
     {Kind::HangupMidReply, {}, 3},
     {erased(linkErrorBox("Transmit Zone"), 1)}},
    {"zone record refused",
     Operation::TransmitTable,
     1,
     "Z",
     {Kind::Refuse, {}, 0},
     {erased(refusalBox(), 1)},
     false,
     1.0},
    {"zone erase unanswered",
     Operation::TransmitTable,
     1,
     "@INIT ZON ",
     {Kind::NoReply, {}, 0},
     {linkErrorBox("Transmit Zone")}},
    {"point erase cut short",
     Operation::TransmitTable,
     0,
     "@INIT PNT ",
     {Kind::CutReply, {}, 1},
     {linkErrorBox("Transmit Point")}},
    // Transmit parameters.
    {"stored points refused",
     Operation::TransmitParameters,
     0,
     "@READ PNT ",
     {Kind::Refuse, {}, 0},
     {refusalBox()}},
    {"stored points line closed",
     Operation::TransmitParameters,
     0,
     "@READ PNT ",
     {Kind::HangupMidReply, {}, 5},
     {linkErrorBox("Parameter reception")}},
    {"parameter block line closed",
     Operation::TransmitParameters,
     1,
     "@WRITE PRM ",
     {Kind::HangupMidReply, {}, 2},
     {linkErrorBox("Parameter reception")}},
    {"parameter record refused",
     Operation::TransmitParameters,
     1,
     "PRM",
     {Kind::Refuse, {}, 0},
     {refusalBox()},
     false,
     1.0},
    {"stored points unanswered",
     Operation::TransmitParameters,
     0,
     "@READ PNT ",
     {Kind::NoReply, {}, 0},
     {linkErrorBox("Parameter reception")}},
    {"stored points cut short",
     Operation::TransmitParameters,
     0,
     "@READ PNT ",
     {Kind::CutReply, {}, 7},
     {linkErrorBox("Parameter reception")}},
    {"stored points with a stray byte",
     Operation::TransmitParameters,
     0,
     "@READ PNT ",
     {Kind::Garbage, "\x01", 0},
     {linkErrorBox("Parameter reception")}},
    {"parameter block unanswered",
     Operation::TransmitParameters,
     1,
     "@WRITE PRM ",
     {Kind::NoReply, {}, 0},
     {linkErrorBox("Parameter reception")}},
    {"parameter end of data cut short",
     Operation::TransmitParameters,
     1,
     "\x1a",
     {Kind::CutReply, {}, 2},
     {linkErrorBox("Parameter reception")}},
    {"parameter end of data answered with garbage",
     Operation::TransmitParameters,
     0,
     "\x1a",
     {Kind::Garbage, "\x7f#", 0},
     {linkErrorBox("Parameter reception")}},
    // Init Point / Zones: the rows stay as they were.
    {"points unanswered",
     Operation::InitTable,
     0,
     "@INIT PNT ",
     {Kind::NoReply, {}, 0},
     {linkErrorBox("Point initialization")}},
    {"points refused",
     Operation::InitTable,
     0,
     "@INIT PNT ",
     {Kind::Refuse, "E07", 0},
     {refusalBoxWithReply("Point initialization", "NG\nE07")}},
    {"points reply cut short",
     Operation::InitTable,
     0,
     "@INIT PNT ",
     {Kind::CutReply, {}, 1},
     {linkErrorBox("Point initialization")}},
    {"points line closed mid-reply",
     Operation::InitTable,
     0,
     "@INIT PNT ",
     {Kind::HangupMidReply, {}, 2},
     {linkErrorBox("Point initialization")}},
    {"zones unanswered",
     Operation::InitTable,
     1,
     "@INIT ZON ",
     {Kind::NoReply, {}, 0},
     {linkErrorBox("Zone initialization")}},
    {"zones refused",
     Operation::InitTable,
     1,
     "@INIT ZON ",
     {Kind::Refuse, "E07", 0},
     {refusalBoxWithReply("Zone initialization", "NG\nE07")}},
    {"zones reply cut short",
     Operation::InitTable,
     1,
     "@INIT ZON ",
     {Kind::CutReply, {}, 2},
     {linkErrorBox("Zone initialization")}},
    // Init ORG and Changing Origin, on both families.
    {"point input unanswered",
     Operation::InitOrigin,
     0,
     "@INIT ORG ",
     {Kind::NoReply, {}, 0},
     {linkErrorBox("Initialization of the origin")}},
    {"point input refused",
     Operation::InitOrigin,
     0,
     "@INIT ORG ",
     {Kind::Refuse, "E09", 0},
     {refusalBox()}},
    {"point input reply cut short",
     Operation::InitOrigin,
     0,
     "@INIT ORG ",
     {Kind::CutReply, {}, 1},
     {linkErrorBox("Initialization of the origin")}},
    {"point input line closed mid-reply",
     Operation::InitOrigin,
     0,
     "@INIT ORG ",
     {Kind::HangupMidReply, {}, 2},
     {linkErrorBox("Initialization of the origin")}},
    {"pulse train unanswered",
     Operation::InitOrigin,
     1,
     "@INIT ORG ",
     {Kind::NoReply, {}, 0},
     {linkErrorBox("Initialization of the origin")}},
    {"pulse train refused",
     Operation::InitOrigin,
     1,
     "@INIT ORG ",
     {Kind::Refuse, "E09", 0},
     {refusalBox()}},
    {"pulse train reply cut short",
     Operation::InitOrigin,
     1,
     "@INIT ORG ",
     {Kind::CutReply, {}, 1},
     {linkErrorBox("Initialization of the origin")}},
    {"pulse train line closed mid-reply",
     Operation::InitOrigin,
     1,
     "@INIT ORG ",
     {Kind::HangupMidReply, {}, 2},
     {linkErrorBox("Initialization of the origin")}},
    {"point input unanswered",
     Operation::ChangeOrigin,
     0,
     "@ORGC ",
     {Kind::NoReply, {}, 0},
     {linkErrorBox("Change the origin")}},
    {"point input refused",
     Operation::ChangeOrigin,
     0,
     "@ORGC ",
     {Kind::Refuse, "E09", 0},
     {refusalBox()}},
    {"point input reply cut short",
     Operation::ChangeOrigin,
     0,
     "@ORGC ",
     {Kind::CutReply, {}, 1},
     {linkErrorBox("Change the origin")}},
    {"point input line closed mid-reply",
     Operation::ChangeOrigin,
     0,
     "@ORGC ",
     {Kind::HangupMidReply, {}, 2},
     {linkErrorBox("Change the origin")}},
    {"pulse train unanswered",
     Operation::ChangeOrigin,
     1,
     "@ORGC ",
     {Kind::NoReply, {}, 0},
     {linkErrorBox("Changing the origin")}},
    {"pulse train refused",
     Operation::ChangeOrigin,
     1,
     "@ORGC ",
     {Kind::Refuse, "E09", 0},
     {refusalBox()}},
    {"pulse train reply cut short",
     Operation::ChangeOrigin,
     1,
     "@ORGC ",
     {Kind::CutReply, {}, 1},
     {linkErrorBox("Changing the origin")}},
    {"pulse train line closed mid-reply",
     Operation::ChangeOrigin,
     1,
     "@ORGC ",
     {Kind::HangupMidReply, {}, 2},
     {linkErrorBox("Changing the origin")}},
};

// "point read cut short" -> "ReceiveTable_PointReadCutShort".
std::string caseName(const ::testing::TestParamInfo<FaultCase>& info)
{
    std::string name = std::string(operationName(info.param.op)) + '_';
    bool upper = true;
    for (const char* p = info.param.name; *p; ++p) {
        if (std::isalnum(static_cast<unsigned char>(*p))) {
            name += upper ? char(std::toupper(static_cast<unsigned char>(*p))) : *p;
            upper = false;
        } else {
            upper = true;
        }
    }
    return name;
}

// Puts known data into the session and different data into the controller, so that a
// receive that went through and one that left the grids alone can be told apart.
void prepare(ExchangeRig& rig)
{
    if (rig.session.family() == Family::PointInput) {
        rig.putPoint(0, "A", "1.00", "1");
        rig.sim.controller.points[0] = {"A", "2.00", "2"};
        rig.sim.controller.points[1] = {"I", "3.00", "3"};
    } else {
        rig.put(0, ZoneTable::AngleAColumn, "1.00");
        rig.put(0, ZoneTable::AngleBColumn, "2.00");
        rig.sim.controller.zones[0] = {"3.00", "4.00"};
    }
    rig.sim.controller.params[4] = "42";
}

QString snapshot(ExchangeRig& rig)
{
    QString s;
    for (Grid* g : {&rig.table(), &rig.params()}) {
        for (int r = -1; r < g->rows(); ++r)
            for (int c = 0; c < g->columns(); ++c)
                s += g->text(r, c) + QLatin1Char('|');
    }
    return s;
}

class ExchangeFault : public ::testing::TestWithParam<FaultCase> {};

}  // namespace

TEST_P(ExchangeFault, EndsWithItsBoxAndAUsableWindow)
{
    const FaultCase& c = GetParam();
    sim::Options o = c.family ? pulseOptions() : pointOptions();
    o.ackRecords = c.fault.kind == Kind::HangupMidReply && QByteArray(c.word).size() <= 3;
    // Garbage instead of an answer to the end-of-data byte: from a controller that gives none.
    o.silentEndOfData = c.fault.kind == Kind::Garbage && QByteArray(c.word) == "\x1a";
    ExchangeRig rig(o);
    rig.session.setTimeScale(c.timeScale);
    prepare(rig);
    rig.sim.controller.arm(c.word, c.fault);
    const QString before = snapshot(rig);
    rig.watchLocking();
    const bool origin = isOriginCommand(c.op);
    if (origin) {
        // Their end step sets settei and enables the Setting button, whatever the ending.
        rig.view.toolbarEnabled = true;
        rig.session.silence().settingMode = true;
        rig.session.panel().setEnabled(Command::SettingMode, false);
    }
    rig.dialogs.answer(MsgAnswer::Yes).ok(int(c.boxesAfterQuestion.size()));
    const exchange::Result result = run(rig, c.op);

    const QString& lastBox = c.boxesAfterQuestion.last().text;
    const exchange::Result expected = lastBox.startsWith("Cannot receive data from controller.")
                                          ? exchange::Result::Refused
                                      : lastBox.startsWith("The communication error.")
                                          ? exchange::Result::LinkError
                                          : exchange::Result::Done;
    EXPECT_EQ(result, expected);
    ASSERT_FALSE(rig.lockedWhileAsked.isEmpty());
    if (origin) {
        EXPECT_FALSE(rig.lockedWhileAsked.contains(true)) << "the main window stays enabled";
        EXPECT_TRUE(rig.session.silence().settingMode);
        EXPECT_TRUE(rig.session.panel().enabled(Command::SettingMode));
    } else {
        EXPECT_FALSE(rig.lockedWhileAsked.contains(false))
            << "window usable while the controller is asked";
    }
    if (c.op == Operation::InitTable) {
        EXPECT_TRUE(rig.bar().cancelEnabled);
    }
    ASSERT_EQ(rig.dialogs.boxes.size(), 1 + c.boxesAfterQuestion.size());
    EXPECT_EQ(rig.dialogs.boxes.mid(1), c.boxesAfterQuestion);
    if (!c.tableChanged) {
        EXPECT_EQ(snapshot(rig), before) << "grids unchanged";
    } else {
        EXPECT_NE(snapshot(rig), before);
    }
    if (c.boxesAfterQuestion.first().text.startsWith("Cannot receive data from controller.")) {
        EXPECT_TRUE(rig.view.error.startsWith("NG")) << rig.view.error.toStdString();
    }
    rig.expectRestored();
}

INSTANTIATE_TEST_SUITE_P(EveryOperation, ExchangeFault, ::testing::ValuesIn(kCases), caseName);

TEST(ExchangeFaults, FailedTransmitStopsAtTheFailingStep)
{
    struct Case {
        const char* name;
        const char* word;
        QList<QByteArray> sent;
    };
    const Case cases[] = {
        {"erase refused", "@INIT PNT ", lines({"@?PRM 21,\r\n", "@INIT PNT ,\r\n"})},
        {"block refused", "@WRITE PNT ",
         lines({"@?PRM 21,\r\n", "@INIT PNT ,\r\n", "@WRITE PNT ,\r\n"})},
        {"record refused", "P",
         lines({"@?PRM 21,\r\n", "@INIT PNT ,\r\n", "@WRITE PNT ,\r\n", "P0=A,1.00,1\r\n"})},
    };
    for (const Case& c : cases) {
        ExchangeRig rig;
        rig.putPoint(0, "A", "1.00", "1");
        rig.putPoint(1, "A", "2.00", "2");
        rig.sim.controller.arm(c.word, {Kind::Refuse, "E07", 0});
        rig.dialogs.answer(MsgAnswer::Yes).ok();
        rig.run(Op::TransmitTable);
        EXPECT_EQ(rig.sent(), c.sent) << c.name;
        EXPECT_EQ(rig.view.error, "NG\r\nE07\r\n") << c.name;
        rig.expectRestored();
    }
}
