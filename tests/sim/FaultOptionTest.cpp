// The --fault option of kap-sim.
#include "FaultOption.h"

#include <gtest/gtest.h>

namespace {

struct OptionCase {
    const char* text;
    QByteArray word;
    sim::Fault::Kind kind;
    QByteArray data;
    int count;
    bool once;
};

class ParseFault : public ::testing::TestWithParam<OptionCase> {};

TEST_P(ParseFault, Accepts)
{
    const OptionCase& c = GetParam();
    QString error;
    const auto option = sim::parseFaultOption(QString::fromLatin1(c.text), &error);
    ASSERT_TRUE(option.has_value()) << qPrintable(error);
    EXPECT_EQ(option->word, c.word);
    EXPECT_EQ(option->fault.kind, c.kind);
    EXPECT_EQ(option->fault.data, c.data);
    EXPECT_EQ(option->fault.count, c.count);
    EXPECT_EQ(option->fault.once, c.once);
}

INSTANTIATE_TEST_SUITE_P(
    FaultOption, ParseFault,
    ::testing::Values(
        OptionCase{"@?VER :noreply", "@?VER ", sim::Fault::NoReply, {}, 0, false},
        OptionCase{"@?VER:noreply:once", "@?VER ", sim::Fault::NoReply, {}, 0, true},
        OptionCase{"@READ PNT:refuse:E-12 TEST", "@READ PNT ", sim::Fault::Refuse, "E-12 TEST", 0,
                   false},
        OptionCase{"@INIT PNT :refuse", "@INIT PNT ", sim::Fault::Refuse, {}, 0, false},
        OptionCase{"@?POS :garbage:\\xff\\r\\n", "@?POS ", sim::Fault::Garbage, "\xff\r\n", 0,
                   false},
        OptionCase{"@READ PRM :cut:12", "@READ PRM ", sim::Fault::CutReply, {}, 12, false},
        OptionCase{"@ORG :hangup", "@ORG ", sim::Fault::HangupMidReply, {}, 0, false},
        OptionCase{"@ORG :hangup:3:once", "@ORG ", sim::Fault::HangupMidReply, {}, 3, true},
        OptionCase{"BREAK:noreply", "\x03", sim::Fault::NoReply, {}, 0, false},
        OptionCase{"eod:refuse:E-1", "\x1a", sim::Fault::Refuse, "E-1", 0, false},
        OptionCase{"PRM:refuse:E-9 A:B", "PRM", sim::Fault::Refuse, "E-9 A:B", 0, false}));

class RejectFault : public ::testing::TestWithParam<const char*> {};

TEST_P(RejectFault, SaysWhy)
{
    QString error;
    EXPECT_FALSE(sim::parseFaultOption(QString::fromLatin1(GetParam()), &error).has_value());
    EXPECT_FALSE(error.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(FaultOption, RejectFault,
                         ::testing::Values("@?VER ", ":noreply", "@?VER :explode", "@?VER :cut",
                                           "@?VER :cut:x", "@?VER :hangup:-1", "@?VER :garbage"));

}  // namespace
