// The setting file on disk: what Save As writes and how the reader takes a file apart.
#include "files/SettingFile.h"
#include "FileTestSupport.h"
#include "SessionRig.h"
#include "SimLine.h"
#include "data/Grid.h"
#include "files/FileAcceptance.h"
#include "files/SettingCommands.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kap;
using namespace kap::test;

namespace {

struct FreshCase {
    Family family;
    QStringList (*lines)();
    int lineCount;
};

class FreshSave : public ::testing::TestWithParam<FreshCase> {
protected:
    ScratchState clean;
    QTemporaryDir dir;
};

}  // namespace

TEST_P(FreshSave, WritesEveryRowAndAllParameterNumbers)
{
    const FreshCase c = GetParam();
    ViewedSession v(c.family);
    ScriptedDialogs& dialogs = v.dialogs;
    const QString path = dir.filePath("fresh.csv");
    dialogs.file(path).ok();
    EXPECT_TRUE(SettingCommands(v.session).saveAs());

    ASSERT_EQ(dialogs.fileDialogs.size(), 1);
    EXPECT_EQ(dialogs.fileDialogs[0].title, "SaveAs");
    EXPECT_EQ(dialogs.fileDialogs[0].filter, "Setting file(*.csv)|*.csv|");
    EXPECT_TRUE(dialogs.fileDialogs[0].initialName.isEmpty());
    EXPECT_TRUE(dialogs.fileDialogs[0].overwritePrompt);
    ASSERT_EQ(dialogs.boxes.size(), 1);
    EXPECT_EQ(dialogs.boxes[0].text, "    Complete.");
    EXPECT_EQ(dialogs.boxes[0].title, "Save As");
    EXPECT_EQ(dialogs.boxes[0].icon, MsgIcon::None);
    EXPECT_EQ(v.view.title, "KAP Support-Software - " + QFileInfo(path).fileName());
    EXPECT_FALSE(v.session.isModified());

    const QByteArray bytes = readBytes(path);
    EXPECT_EQ(bytes, fileOf(c.lines()));
    // The lines plus the empty one, each closed by CR LF and nothing else.
    EXPECT_EQ(bytes.count("\r\n"), c.lineCount + 1);
    EXPECT_EQ(bytes.count('\n'), c.lineCount + 1);
    const QList<QByteArray> lines = bytes.split('\n');
    EXPECT_EQ(lines.size(), c.lineCount + 2);
    EXPECT_EQ(lines.value(0), "KAP,,,,,\r");
    EXPECT_EQ(lines.value(c.lineCount), "\r");
}

INSTANTIATE_TEST_SUITE_P(BothFamilies, FreshSave,
                         ::testing::Values(FreshCase{Family::PointInput, freshPointLines, 131},
                                           FreshCase{Family::PulseTrain, freshPulseLines, 70}),
                         [](const auto& info) {
                             return info.param.family == Family::PointInput ? "PointInput"
                                                                            : "PulseTrain";
                         });

TEST(FreshPointFile, CarriesTheParametersAtTheirLines)
{
    ScratchState clean;
    QTemporaryDir dir;
    ViewedSession v;
    v.dialogs.file(dir.filePath("p.csv")).ok();
    ASSERT_TRUE(SettingCommands(v.session).saveAs());
    const QList<QByteArray> lines = readBytes(dir.filePath("p.csv")).split('\n');
    ASSERT_EQ(lines.size(), 133);  // 131 lines, the empty one, and nothing after its CR LF
    struct Line {
        int number;
        const char* text;
    };
    for (const Line& l :
         {Line{1, "KAP,,,,,"}, Line{2, "P0=,,,,,"}, Line{65, "P63=,,,,,"}, Line{66, ",,,,,"},
          Line{67, "PRM0=,50,,,,"}, Line{68, "PRM1=,0,,,,"}, Line{73, "PRM6=,**,,,,"},
          Line{74, "PRM7=,**,,,,"}, Line{130, "PRM63=,**,,,,"}, Line{131, ",,,,,"}, Line{132, ""}})
        EXPECT_EQ(lines.at(l.number - 1), QByteArray(l.text) + "\r") << "line " << l.number;
}

TEST(SettingFileText, QuotesOnlyFieldsThatWouldSplit)
{
    struct Case {
        QString field;
        QByteArray written;
    };
    const Case cases[] = {
        {"plain note", "plain note"},
        {"a, b", "\"a, b\""},
        {"say \"hi\"", "say \"hi\""},
        {"a, \"b\"", "\"a, \"\"b\"\"\""},
        {"\"quoted\"", "\"\"\"quoted\"\"\""},  // a leading quote would open a quoted field
        {"two\r\nlines", "\"two\r\nlines\""},
        {"caf\u00e9 \u20ac5", "caf\xe9 \x80"
                              "5"},
        {"\u4e2d", "?"},
    };
    for (const Case& c : cases) {
        const QByteArray bytes = settingfile::encode({{"KAP", "", "", "", c.field, ""}});
        EXPECT_EQ(bytes, "KAP,,,," + c.written + ",\r\n\r\n") << c.field.toStdString();
    }
}

TEST(SettingFileText, CodePageKeepsEveryByte)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const auto western = codepage::Encoding::Windows1252;
    EXPECT_EQ(codepage::encode(codepage::decode(all, western), western), all);
    EXPECT_EQ(codepage::decode("\x80\x9f\xe9", western),
              QStringView(u"\u20ac\u0178\u00e9").toString());
}

TEST(SettingFileReader, TakesFieldsApartAsTheOldToolDid)
{
    struct Case {
        const char* name;
        QByteArray text;
        QStringList secondRow;  // row 1 of the result
    };
    const QByteArray tag = "KAP,,,,,\r\n";
    const Case cases[] = {
        {"plain", tag + "P0=,A,1.00,50,note,\r\n", {"P0=", "A", "1.00", "50", "note", ""}},
        {"leading blanks skipped",
         tag + "P0=,  A,\t1.00, 50,  n o ,\r\n",
         {"P0=", "A", "1.00", "50", "n o ", ""}},
        {"quoted comma", tag + "P0=,A,1,2,\"x, y\",\r\n", {"P0=", "A", "1", "2", "x, y", ""}},
        {"doubled quote",
         tag + "P0=,A,1,2,\"say \"\"hi\"\"\",\r\n",
         {"P0=", "A", "1", "2", "say \"hi\"", ""}},
        {"text after the closing quote dropped",
         tag + "P0=,\"A\"xyz,1,2,3,\r\n",
         {"P0=", "A", "1", "2", "3", ""}},
        {"quoted line break",
         tag + "P0=,A,1,2,\"a\r\nb\",\r\n",
         {"P0=", "A", "1", "2", "a\r\nb", ""}},
        {"fields flow across lines",
         tag + "P0=,A\r\n1,2\r\nn,\r\n",
         {"P0=", "A", "1", "2", "n", ""}},
        {"LF only", "KAP,,,,,\nP0=,I,2,3,4,\n", {"P0=", "I", "2", "3", "4", ""}},
        {"CR only", "KAP,,,,,\rP0=,I,2,3,4,\r", {"P0=", "I", "2", "3", "4", ""}},
    };
    for (const Case& c : cases) {
        const settingfile::ReadResult r = settingfile::decode(c.text, Family::PointInput);
        ASSERT_EQ(r.rows.size(), 2) << c.name;
        EXPECT_EQ(r.rows[0], QStringList({"KAP", "", "", "", "", ""})) << c.name;
        EXPECT_EQ(r.rows[1], c.secondRow) << c.name;
        EXPECT_EQ(r.status, settingfile::ReadResult::TooFewRows) << c.name;
    }
}

TEST(SettingFileReader, CountsOnlyCompleteRowsUpToTheLimit)
{
    struct Case {
        const char* name;
        QByteArray text;
        Family family;
        int rows;
        settingfile::ReadResult::Status status;
    };
    const QByteArray point = fileOf(freshPointLines());
    const QByteArray pulse = fileOf(freshPulseLines());
    const Case cases[] = {
        {"point file", point, Family::PointInput, 131, settingfile::ReadResult::Ok},
        {"pulse file", pulse, Family::PulseTrain, 70, settingfile::ReadResult::Ok},
        {"point file read as pulse stops at 70", point, Family::PulseTrain, 70,
         settingfile::ReadResult::Ok},
        {"pulse file read as point", pulse, Family::PointInput, 70,
         settingfile::ReadResult::TooFewRows},
        {"cut row not counted", "KAP,,,,,\r\nP0=,A,1", Family::PointInput, 1,
         settingfile::ReadResult::CutShort},
        {"last line without its line end", "KAP,,,,,\r\nP0=,A,1,2,3,", Family::PointInput, 2,
         settingfile::ReadResult::CutShort},
        {"last row short of fields", "KAP,,,,,\r\nP0=,A\r\n", Family::PointInput, 1,
         settingfile::ReadResult::CutShort},
        {"open quote at the end", "KAP,,,,,\r\n\"a\r\n", Family::PointInput, 1,
         settingfile::ReadResult::CutShort},
        {"blank lines at the end", "KAP,,,,,\r\n\r\n , \r\n", Family::PointInput, 1,
         settingfile::ReadResult::TooFewRows},
        {"end-of-file mark after the last line", "KAP,,,,,\r\n\x1a", Family::PointInput, 1,
         settingfile::ReadResult::TooFewRows},
        {"wrong tag", "KAB,,,,,\r\n", Family::PointInput, 0, settingfile::ReadResult::NotTagged},
        {"tag in quotes", "\"KAP\",,,,,\r\n", Family::PointInput, 1,
         settingfile::ReadResult::TooFewRows},
        {"tag after blanks", "  KAP,,,,,\r\n", Family::PointInput, 1,
         settingfile::ReadResult::TooFewRows},
        {"lower-case tag", "kap,,,,,\r\n", Family::PointInput, 0,
         settingfile::ReadResult::NotTagged},
        {"empty file", "", Family::PointInput, 0, settingfile::ReadResult::NotTagged},
    };
    for (const Case& c : cases) {
        const settingfile::ReadResult r = settingfile::decode(c.text, c.family);
        EXPECT_EQ(r.rows.size(), c.rows) << c.name;
        EXPECT_EQ(r.status, c.status) << c.name;
    }
}

// Which files a window of each family opens, decided before any grid changes: the answer Open
// shows its boxes from and kap-cli asks before it loads a file.
TEST(FileAcceptance, TellsWhyAFileIsNotOpened)
{
    using settingfile::Acceptance;
    const auto replaced = [](QStringList lines, const QString& from, const QString& to) {
        lines.replaceInStrings(from, to);
        return fileOf(lines);
    };
    QTemporaryDir dir;
    for (const Family family : {Family::PointInput, Family::PulseTrain}) {
        const bool point = family == Family::PointInput;
        const QStringList fresh = point ? freshPointLines() : freshPulseLines();
        const QByteArray good = fileOf(fresh);
        const struct {
            const char* name;
            QByteArray bytes;
            Acceptance expected;
        } cases[] = {
            {"as saved", good, Acceptance::Accepted},
            {"untagged", replaced(fresh, "KAP,", "KAB,"), Acceptance::NotTagged},
            {"cut inside a line", good.left(good.indexOf("PRM3=") + 2), Acceptance::CutShort},
            {"a number field that is none",
             point ? replaced(fresh, "P0=,,,,,", "P0=,A,12abc,,,")
                   : replaced(fresh, "Z0=,,,,,", "Z0=,12abc,,,,"),
             Acceptance::Damaged},
            {"a parameter that is no number", replaced(fresh, "PRM4=,100,", "PRM4=,1x0,"),
             Acceptance::Damaged},
            {"an unknown type", replaced(fresh, "PRM0=,50,", "PRM0=,51,"), Acceptance::UnknownType},
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(point ? "point-input, " : "pulse-train, ") + c.name);
            const QString path = dir.filePath(QStringLiteral("check.csv"));
            writeBytes(path, c.bytes);
            EXPECT_EQ(
                settingfile::checkFile(path, family, codepage::Encoding::Windows1252).acceptance,
                c.expected);
        }
        const QByteArray otherFamilys = fileOf(point ? freshPulseLines() : freshPointLines());
        EXPECT_NE(
            settingfile::check(otherFamilys, family, codepage::Encoding::Windows1252).acceptance,
            Acceptance::Accepted);
        EXPECT_EQ(settingfile::checkFile(dir.filePath(QStringLiteral("none.csv")), family,
                                         codepage::Encoding::Windows1252)
                      .acceptance,
                  Acceptance::Unreadable);
    }
}
