#include "link/CommandRequest.h"

#include <QList>

#include <gtest/gtest.h>

using namespace kap;

namespace {

struct LineCase {
    qint16 code;
    QString second;
    QString third;
    QString line;
};

QString built(qint16 code, const QString& second = {}, const QString& third = {},
              bool startup = false)
{
    CommandRequest r;
    r.clear();
    r.code = code;
    r.argument = second;
    r.trailer = third;
    r.build(startup);
    return r.line;
}

}  // namespace

TEST(CommandBuilder, EveryCommandLineOfTheTable)
{
    const QList<LineCase> cases = {
        {0, "", "", "@ORG ,\r\n"},
        {1, "", "", "@MOVD ,\r\n"},
        {2, "5", "", "@MOVP 5,\r\n"},
        {3, "", "", "@X+ ,\r\n"},
        {4, "", "", "@X- ,\r\n"},
        {5, "", "", "@XINC ,\r\n"},
        {6, "", "", "@XDEC ,\r\n"},
        {7, "0", "", "@SRVO 0,\r\n"},
        {8, "1", "", "@BRK 1,\r\n"},
        {9, "", "", "@ALR ,\r\n"},
        {10, "", "", "@CCLR ,\r\n"},
        {11, "", "", "@PRESS ,\r\n"},
        {12, "", "", "@GMIN ,\r\n"},
        {13, "", "", "@GMAX ,\r\n"},
        {14, "", "", "@ORGC ,\r\n"},
        {100, "", "", "@?VER ,\r\n"},
        {101, "", "", "@?POS ,\r\n"},
        {102, "", "", "@?PNO ,\r\n"},
        {103, "13", "", "@?PRM 13,\r\n"},
        {104, "63", "", "@?P 63,\r\n"},
        {105, "", "", "@?ORG ,\r\n"},
        {106, "", "", "@?SRVO ,\r\n"},
        {107, "", "", "@?BRK ,\r\n"},
        {108, "", "", "@?PRS ,\r\n"},
        {200, "", "", "@READ PNT ,\r\n"},
        {201, "", "", "@READ PRM ,\r\n"},
        {202, "", "", "@READ ERR ,\r\n"},
        {203, "", "", "@WRITE PNT ,\r\n"},
        {204, "", "", "@WRITE PRM ,\r\n"},
        {205, "", "", "@PDEL ,\r\n"},
        {206, "", "", "@INIT PNT ,\r\n"},
        {207, "61", "", "@INIT PRM 61,\r\n"},
        {208, "", "", "@READ ZON ,\r\n"},
        {209, "", "", "@INIT ZON ,\r\n"},
        {210, "", "", "@WRITE ZON ,\r\n"},
        {211, "", "", "@READ DIO ,\r\n"},
        {212, "", "", "@INIT ORG ,\r\n"},
        // Both arguments, when given, go out around the one comma.
        {103, "35", "x", "@?PRM 35,x\r\n"},
    };
    for (const LineCase& c : cases)
        EXPECT_EQ(built(c.code, c.second, c.third), c.line) << "code " << c.code;
}

TEST(CommandBuilder, RecordLinesHaveNoComma)
{
    EXPECT_EQ(built(301, "", "22=0"), "PRM22=0\r\n");
    EXPECT_EQ(built(300, "", "3=A,90.00,50"), "P3=A,90.00,50\r\n");
    EXPECT_EQ(built(302, "1", "=10.00,20.00"), "Z1=10.00,20.00\r\n");
}

TEST(CommandBuilder, ControlCharactersAreOneByteAlone)
{
    EXPECT_EQ(built(400, "x", "y"), QString(QChar(0x03)));
    EXPECT_EQ(built(401), QString(QChar(0x1a)));
    EXPECT_EQ(built(401).toLatin1(), QByteArray("\x1a", 1));
}

TEST(CommandBuilder, IntegerArgumentsArePlainDecimal)
{
    CommandRequest r;
    r.clear();
    r.code = 103;
    r.setArgument(35);
    r.build();
    EXPECT_EQ(r.line, "@?PRM 35,\r\n");
    // The builder appends its separators to the arguments in place.
    EXPECT_EQ(r.argument, "35,");
    EXPECT_EQ(r.trailer, "\r\n");
    EXPECT_EQ(r.word, "@?PRM ");
}

TEST(CommandBuilder, UnknownCodeKeepsTheCommandWordItHas)
{
    CommandRequest r;
    r.clear();
    r.code = 999;
    r.build();
    EXPECT_EQ(r.line, ",\r\n");

    r.clear();
    r.word = "@?VER ";
    r.code = 500;
    r.build();
    EXPECT_EQ(r.line, "@?VER ,\r\n");
}

TEST(CommandBuilder, StartupBuilderKnowsNoMotionCodes)
{
    EXPECT_EQ(built(0, "", "", true), ",\r\n");
    EXPECT_EQ(built(7, "1", "", true), "1,\r\n");
    EXPECT_EQ(built(103, "13", "", true), "@?PRM 13,\r\n");
    EXPECT_EQ(built(211, "", "", true), "@READ DIO ,\r\n");
    EXPECT_EQ(built(301, "", "35=0", true), "PRM35=0\r\n");
    EXPECT_EQ(built(400, "", "", true), QString(QChar(0x03)));
}

TEST(CommandBuilder, ClearEmptiesEverything)
{
    CommandRequest r;
    r.word = "a";
    r.argument = "b";
    r.trailer = "c";
    r.line = "d";
    r.clear();
    EXPECT_TRUE(r.word.isEmpty() && r.argument.isEmpty() && r.trailer.isEmpty()
                && r.line.isEmpty());
}
