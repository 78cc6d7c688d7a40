#include "exchange/Records.h"

#include <gtest/gtest.h>

using namespace kap::records;

namespace {

const char* const kNone = nullptr;

std::optional<QString> text(const char* s)
{
    return s ? std::optional<QString>(QString::fromLatin1(s)) : std::nullopt;
}

}  // namespace

TEST(Records, PointRecordLines)
{
    const struct {
        const char *no, *mode, *position, *speed, *line;
    } cases[] = {
        {"0", "A", "90.00", "50", "P0=A,90.00,50"},
        {"9", "I", "-12.50", "100", "P9=I,-12.50,100"},
        {"10", "A", "0.00", "1", "P10=A,0.00,1"},
        {"63", "I", "720.00", "100", "P63=I,720.00,100"},
        // Brake mode carries no speed, even when the cell holds one.
        {"3", "B", "2", "", "P3=B,2"},
        {"3", "B", "2", "80", "P3=B,2"},
        // An empty mode sends nothing, whatever the other cells hold.
        {"5", "", "90.00", "50", kNone},
        {"5", "", "", "", kNone},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.no);
        EXPECT_EQ(pointRecord(QString::fromLatin1(c.no), QString::fromLatin1(c.mode),
                              QString::fromLatin1(c.position), QString::fromLatin1(c.speed)),
                  text(c.line));
    }
}

TEST(Records, ParameterAndZoneRecordLines)
{
    EXPECT_EQ(parameterRecord(QStringLiteral("1"), QStringLiteral("5")), text("PRM1=5"));
    EXPECT_EQ(parameterRecord(QStringLiteral("21"), QStringLiteral("360.00")),
              text("PRM21=360.00"));
    EXPECT_EQ(parameterRecord(QStringLiteral("6"), QStringLiteral("**")), std::nullopt);

    EXPECT_EQ(zoneRecord(QStringLiteral("0"), QStringLiteral("10.00"), QStringLiteral("20.00")),
              text("Z0=10.00,20.00"));
    EXPECT_EQ(zoneRecord(QStringLiteral("3"), QStringLiteral("0.00"), QStringLiteral("359.99")),
              text("Z3=0.00,359.99"));
    EXPECT_EQ(zoneRecord(QStringLiteral("1"), QString(), QStringLiteral("5.00")), std::nullopt);
}

TEST(Records, NotApplicableParameterIsSkippedAndTheNextFollows)
{
    const struct {
        const char *no, *value;
    } rows[] = {{"1", "2"}, {"5", "0"}, {"6", "**"}, {"10", "30"}};
    QStringList sent;
    for (const auto& row : rows) {
        const auto line = parameterRecord(QString::fromLatin1(row.no),
                                          QString::fromLatin1(row.value));
        if (line)
            sent << *line;
    }
    EXPECT_EQ(sent, (QStringList{"PRM1=2", "PRM5=0", "PRM10=30"}));
}

namespace {

struct FindCase {
    const char* what;
    bool zone;
    const char* reply;
    int number;
    RecordState state;
    QStringList fields;
};

const FindCase kFindCases[] = {
    {"P10 found",
     false,
     "P1=A,1.00,10\r\nP10=A,90.00,50\r\nOK\r\n",
     10,
     RecordState::Found,
     {"A", "90.00", "50"}},
    {"P1 not taken from P10",
     false,
     "P1=A,1.00,10\r\nP10=A,90.00,50\r\nOK\r\n",
     1,
     RecordState::Found,
     {"A", "1.00", "10"}},
    {"P10 alone is not P1", false, "P10=A,90.00,50\r\nOK\r\n", 1, RecordState::Absent, {}},
    {"P63 is not P6", false, "P63=I,-5.00,100\r\nOK\r\n", 6, RecordState::Absent, {}},
    {"P63",
     false,
     "P0=A,0.00,1\r\nP63=I,-5.00,100\r\nOK\r\n",
     63,
     RecordState::Found,
     {"I", "-5.00", "100"}},
    {"brake record", false, "P2=A,1.00,5\r\nP3=B,2\r\nOK\r\n", 3, RecordState::Found, {"B", "2"}},
    {"fourth comma ignored",
     false,
     "P4=A,1.00,50,xyz\r\nOK\r\n",
     4,
     RecordState::Found,
     {"A", "1.00", "50"}},
    {"fields as they stand",
     false,
     "P7= A , 1.00 ,50\r\nOK\r\n",
     7,
     RecordState::Found,
     {" A ", " 1.00 ", "50"}},
    {"empty fields", false, "P8=,,\r\nOK\r\n", 8, RecordState::Found, {"", "", ""}},
    {"empty body is no record", false, "P5=\r\nP6=A,1.00,2\r\nOK\r\n", 5, RecordState::Absent, {}},
    {"empty zone body is no record", true, "Z2=\r\nOK\r\n", 2, RecordState::Absent, {}},
    {"no comma", false, "P5=A\r\nOK\r\n", 5, RecordState::Malformed, {}},
    {"no comma on its own line",
     false,
     "P5=A\r\nP6=A,1.00,2\r\nOK\r\n",
     5,
     RecordState::Malformed,
     {}},
    {"only OK", false, "OK\r\n", 0, RecordState::Absent, {}},
    {"other kinds read over",
     false,
     "PRM1=5\r\nZ1=1.00,2.00\r\nP1=I,3.00,4\r\nOK\r\n",
     1,
     RecordState::Found,
     {"I", "3.00", "4"}},
    {"zone",
     true,
     "Z0=10.00,20.00\r\nZ1=30.00,40.00\r\nOK\r\n",
     1,
     RecordState::Found,
     {"30.00", "40.00"}},
    {"zone absent", true, "Z0=10.00,20.00\r\nOK\r\n", 3, RecordState::Absent, {}},
    {"zone key is not a point key", true, "P0=A,1.00,2\r\nOK\r\n", 0, RecordState::Absent, {}},
    {"point key is not a zone key", false, "Z0=10.00,20.00\r\nOK\r\n", 0, RecordState::Absent, {}},
};

}  // namespace

TEST(Records, FindAndSplitPointAndZoneRecords)
{
    for (const FindCase& c : kFindCases) {
        SCOPED_TRACE(c.what);
        const auto read = readRecords(QString::fromLatin1(c.reply));
        ASSERT_TRUE(read.has_value());
        const RecordFields got = c.zone ? findZoneRecord(*read, c.number)
                                        : findPointRecord(*read, c.number);
        EXPECT_EQ(got.state, c.state);
        EXPECT_EQ(got.fields, c.fields);
    }
}

TEST(Records, ParameterValuesByPosition)
{
    const struct {
        const char* what;
        const char* reply;
        QStringList values;
    } cases[] = {
        {"three records", "PRM0=61\r\nPRM1=2\r\nPRM2=3\r\nOK\r\n", {"61", "2", "3"}},
        {"number not examined", "PRM0=61\r\nPRM5=7\r\nOK\r\n", {"61", "7"}},
        {"empty value", "PRM0=\r\nPRM1=4\r\nOK\r\n", {"", "4"}},
        {"only OK", "OK\r\n", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto read = readRecords(QString::fromLatin1(c.reply));
        ASSERT_TRUE(read.has_value());
        EXPECT_EQ(parameterValues(*read), c.values);
    }
}

// A damaged line anywhere makes the whole reply unreadable; the closing "OK" is required.
TEST(Records, DamagedRepliesAreUnreadable)
{
    const char* const damaged[] = {
        "\x01P0=A,1.00,2\r\nOK\r\n",  // stray byte glued to the first key
        "P0=A,1.00,2\r\nXP1=A,1.00,2\r\nOK\r\n",
        "P0=A,1.00,2\r\nP1=A,1.\xfe"
        "00,2\r\nOK\r\n",
        "P0=A,1.00,2P1=A,1.00,2\r\nOK\r\n",  // two lines run together
        "P0=A,1.00,2\rP1=A,1.00,2\r\nOK\r\n",
        "P0=A,1.00,2\r\n\r\nOK\r\n",  // empty line
        "P=A,1.00,2\r\nOK\r\n",
        "P0=A,1.00,2\r\nREADY\r\n",  // no closing "OK"
    };
    for (const char* reply : damaged)
        EXPECT_FALSE(readRecords(QString::fromLatin1(reply)).has_value()) << reply;
}

TEST(Records, ParameterValuesStopAtSixtyFour)
{
    QString reply;
    for (int k = 0; k < 70; ++k)
        reply += QStringLiteral("PRM%1=v%1\r\n").arg(k);
    reply += QStringLiteral("OK\r\n");
    const QStringList values = parameterValues(readRecords(reply).value());
    ASSERT_EQ(values.size(), 64);
    EXPECT_EQ(values.front(), QStringLiteral("v0"));
    EXPECT_EQ(values.at(21), QStringLiteral("v21"));
    EXPECT_EQ(values.back(), QStringLiteral("v63"));
}

TEST(Records, ParameterByName)
{
    const QString reply = QStringLiteral("PRM1=5\r\nPRM10=7\r\nPRM21=360.00\r\nOK\r\n");
    EXPECT_EQ(parameterByName(reply, 1), text("5"));
    EXPECT_EQ(parameterByName(reply, 10), text("7"));
    EXPECT_EQ(parameterByName(reply, 21), text("360.00"));
    EXPECT_EQ(parameterByName(reply, 2), std::nullopt);
    EXPECT_EQ(parameterByName(QStringLiteral("XPRM1=9\r\nPRM1=5\r\nOK\r\n"), 1), text("5"));
    EXPECT_EQ(parameterByName(QStringLiteral("PRM3=\r\nOK\r\n"), 3), text(""));
}

TEST(Records, ReplyValueRemovesTheClosingOkLine)
{
    const struct {
        const char *reply, *value;
    } cases[] = {
        {"1\r\nOK\r\n", "1"},          // seven characters: drop 6
        {"12345\r\nOK\r\n", "12345"},  // longer: drop 6
        {"1\r\nOK", "1"},              // ends in "K": drop 4
        {"360.00\r\nOK\r", "360.00"},  // ends in CR: drop 5
        {"ABCDEF", "ABCDEF"},          // six characters: whole
        {"OK\r\n", "OK\r\n"},          // short: whole
        {"K", ""},                     // shorter than the part to drop
        {"\r", ""},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(replyValue(QString::fromLatin1(c.reply)), QString::fromLatin1(c.value))
            << c.value;
}

TEST(Records, QueryValueAndActuatorType)
{
    EXPECT_EQ(queryValue(QStringLiteral("360.00\r\nOK\r\n")), QStringLiteral("360.00"));
    EXPECT_EQ(queryValue(QStringLiteral("5\r\nOK\r\n")), QStringLiteral("5"));
    EXPECT_EQ(queryValue(QStringLiteral("OK\r\n")), QString());
    EXPECT_EQ(actuatorTypeOf(QStringLiteral("61\r\nOK\r\n")), QStringLiteral("61"));
    EXPECT_EQ(actuatorTypeOf(QStringLiteral("6")), QStringLiteral("6"));
}

TEST(Records, PreviousControllerByEighthCharacter)
{
    const struct {
        const char* reply;
        bool previous;
    } cases[] = {
        {"0100100\r\nOK\r\n", true},
        {"01001001\r\nOK\r\n", false},
        {"0100100", false},
        {"", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(isPreviousController(QString::fromLatin1(c.reply)), c.previous) << c.reply;
}

TEST(Records, VersionsWithoutNoLimitModeCompareAsDecimals)
{
    const struct {
        const char* version;
        bool listed;
    } cases[] = {
        {"1.02", true}, {"1.03", true},   {"1.04", true},  {"1.05", true},  {"1.06", true},
        {"1.81", true}, {"1.82", true},   {"1.050", true}, {"01.82", true}, {"1.07", false},
        {"1.8", false}, {"1.1", false},   {"1.5", false},  {"2", false},    {"", false},
        {"abc", false}, {"-1.05", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(versionLacksNoLimitMode(QString::fromLatin1(c.version)), c.listed) << c.version;
}
