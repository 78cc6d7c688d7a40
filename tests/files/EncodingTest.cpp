// Setting files in either code page: round trips of the characters where the two differ,
// reading a file of the other code page, and the question before a note would lose a
// character.
#include "FileTestSupport.h"
#include "SessionRig.h"
#include "SimLine.h"
#include "data/Grid.h"
#include "files/SettingCommands.h"
#include "files/SettingFile.h"
#include "platform/CodePage.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kap;
using namespace kap::test;

namespace {

constexpr auto kWestern = codepage::Encoding::Windows1252;
constexpr auto kJapanese = codepage::Encoding::ShiftJis;

// The rows of a file whose only non-ASCII text is the note of point 3.
QList<QStringList> rowsWithNote(const QString& note)
{
    ViewedSession v;
    v.session.tableGrid().setText(3, 4, note);
    return settingfile::buildRows(Family::PointInput, v.session.tableGrid(), v.session.parameters(),
                                  settingfile::Labels::File);
}

TEST(FileEncoding, RoundTripsTheCharactersEachCodePageHolds)
{
    struct Case {
        codepage::Encoding encoding;
        QString note;
        QByteArray bytes;  // as the code page writes the note
    };
    const Case cases[] = {
        {kWestern, QString::fromUtf16(u"€‰Œšÿé£ ¤"), "\x80\x89\x8c\x9a\xff\xe9\xa3 \xa4"},
        {kJapanese, QString::fromUtf16(u"日本語ノート"),
         "\x93\xfa\x96\x7b\x8c\xea\x83\x6d\x81\x5b\x83\x67"},
        // Microsoft's table: backslash and tilde stay ASCII, the full-width forms are their
        // own, NEC's circled digits and half-width katakana are there.
        {kJapanese, QString::fromUtf16(u"\\~～－①ｱｲ"), "\\~\x81\x60\x81\x7c\x87\x40\xb1\xb2"},
    };
    for (const Case& c : cases) {
        const QByteArray file = settingfile::encode(rowsWithNote(c.note), c.encoding);
        EXPECT_TRUE(file.contains("P3=,,,," + c.bytes + ",\r\n")) << c.note.toStdString();
        const settingfile::ReadResult read = settingfile::decode(file, Family::PointInput,
                                                                 c.encoding);
        ASSERT_EQ(read.status, settingfile::ReadResult::Ok);
        EXPECT_EQ(read.rows.at(4).at(4), c.note);
        EXPECT_EQ(read.encodingNote, settingfile::ReadResult::AsAsked);
    }
}

TEST(FileEncoding, ReadsAFileOfTheOtherCodePageInThatOne)
{
    struct Case {
        const char* name;
        QByteArray noteBytes;
        codepage::Encoding asked;
        settingfile::ReadResult::EncodingNote note;
        codepage::Encoding readIn;
        QString text;
    };
    const Case cases[] = {
        {"Japanese punctuation, asked Western", "\x92\x8d\x88\xd3\x81\x41\x8e\x8e\x8c\xb1",
         kWestern, settingfile::ReadResult::OtherEncoding, kJapanese,
         QString::fromUtf16(u"注意、試験")},
        {"Western accent before a comma, asked Japanese", "Caf\xe9", kJapanese,
         settingfile::ReadResult::OtherEncoding, kWestern, QString::fromUtf16(u"Café")},
        {"plain ASCII", "Valve 3", kJapanese, settingfile::ReadResult::AsAsked, kJapanese,
         QString::fromUtf16(u"Valve 3")},
        {"neither", "\x81\x20", kWestern, settingfile::ReadResult::NeitherEncoding, kWestern,
         QString::fromUtf16(u"\u0081 ")},
    };
    for (const Case& c : cases) {
        QByteArray file = settingfile::encode(rowsWithNote(QStringLiteral("@@")));
        file.replace("@@", c.noteBytes);
        const settingfile::ReadResult read = settingfile::decode(file, Family::PointInput, c.asked);
        ASSERT_EQ(read.status, settingfile::ReadResult::Ok) << c.name;
        EXPECT_EQ(read.encodingNote, c.note) << c.name;
        EXPECT_EQ(read.encoding, c.readIn) << c.name;
        EXPECT_EQ(read.rows.at(4).at(4), c.text) << c.name;
    }
}

class EncodingOnSave : public ::testing::Test {
protected:
    ScratchState clean;
    QTemporaryDir dir;
};

// A file as a Japanese Windows machine writes it: Shift_JIS notes, CR LF, opened with the
// Japanese setting and with the Western one (which falls back, the "、" being no Windows-1252
// text) and saved again byte for byte.
TEST_F(EncodingOnSave, AFileFromAJapaneseMachineOpensAndSavesUnchanged)
{
    QStringList lines = freshPointLines();
    lines[1] = "P0=,A,90.00,50,@@,";
    const QString path = dir.filePath("jp.csv");
    QByteArray bytes = fileOf(lines);
    bytes.replace("@@", "\x83\x6f\x83\x8b\x83\x75\x81\x41\x8a\x4a");
    writeBytes(path, bytes);
    for (const codepage::Encoding asked : {kJapanese, kWestern}) {
        ViewedSession v;
        v.session.setFileEncoding(asked);
        v.dialogs.file(path).ok();
        ASSERT_EQ(SettingCommands(v.session).open(), SettingCommands::OpenResult::Opened);
        EXPECT_EQ(v.session.tableGrid().text(0, 4), QString::fromUtf16(u"バルブ、開"));
        EXPECT_EQ(v.view.statusMessages.isEmpty(), asked == kJapanese);
        // Saving with the Western setting asks; "Save as Shift_JIS" keeps the file as it was.
        const QString again = dir.filePath("again.csv");
        if (asked == kWestern)
            v.dialogs.pick(0);
        v.dialogs.file(again).ok();
        ASSERT_TRUE(SettingCommands(v.session).saveAs());
        EXPECT_EQ(readBytes(again), bytes);
        EXPECT_EQ(v.dialogs.pendingAnswers(), 0);
    }
}

TEST_F(EncodingOnSave, NeverReplacesACharacterWithoutAsking)
{
    struct Case {
        const char* name;
        codepage::Encoding setting;
        QString note;
        QStringList buttons;  // empty: no question
        QString named;        // the character the question names
        int pick;
        QByteArray written;  // empty: nothing written
    };
    const QString sjis = "Save as Shift_JIS", w1252 = "Save as Windows-1252";
    const QString replaceW = "Save as Windows-1252 (replace with ?)";
    const QString replaceJ = "Save as Shift_JIS (replace with ?)";
    const Case cases[] = {
        {"Japanese note, Western setting: Shift_JIS",
         kWestern,
         QString::fromUtf16(u"日本"),
         {sjis, replaceW, "Cancel"},
         QString::fromUtf16(u"日"),
         0,
         "\x93\xfa\x96\x7b"},
        {"Japanese note, Western setting: replaced",
         kWestern,
         QString::fromUtf16(u"日本"),
         {sjis, replaceW, "Cancel"},
         QString::fromUtf16(u"日"),
         1,
         "??"},
        {"Japanese note, Western setting: cancelled",
         kWestern,
         QString::fromUtf16(u"日本"),
         {sjis, replaceW, "Cancel"},
         QString::fromUtf16(u"日"),
         2,
         ""},
        {"accent, Japanese setting: Windows-1252",
         kJapanese,
         QString::fromUtf16(u"é"),
         {w1252, replaceJ, "Cancel"},
         QString::fromUtf16(u"é"),
         0,
         "\xe9"},
        {"held by neither: only the replacement",
         kWestern,
         QString::fromUtf16(u"é日"),
         {replaceW, "Cancel"},
         QString::fromUtf16(u"日"),
         0,
         "\xe9?"},
        {"beyond the BMP counts as one character",
         kJapanese,
         QString::fromUtf16(u"a😀"),
         {replaceJ, "Cancel"},
         QString::fromUtf16(u"😀"),
         0,
         "a?"},
        {"held: no question", kWestern, QString::fromUtf16(u"é"), {}, {}, -1, "\xe9"},
    };
    for (const Case& c : cases) {
        ViewedSession v;
        v.session.setFileEncoding(c.setting);
        v.session.tableGrid().setText(3, 4, c.note);
        const QString path = dir.filePath(QString::fromLatin1(c.name) + ".csv");
        if (!c.buttons.isEmpty())
            v.dialogs.pick(c.pick);
        v.dialogs.file(path);
        if (!c.written.isEmpty())
            v.dialogs.ok();
        const bool saved = SettingCommands(v.session).saveAs();
        EXPECT_EQ(saved, !c.written.isEmpty()) << c.name;
        EXPECT_EQ(v.dialogs.pendingAnswers(), 0) << c.name;
        if (!c.buttons.isEmpty()) {
            ASSERT_FALSE(v.dialogs.boxes.isEmpty()) << c.name;
            const Box& asked = v.dialogs.boxes.first();
            EXPECT_EQ(v.dialogs.choices.value(0), c.buttons) << c.name;
            EXPECT_EQ(asked.text, QString("The note of point 3 holds \"%1\", which %2 cannot hold.")
                                      .arg(c.named, codepage::name(c.setting)))
                << c.name;
        }
        if (saved) {
            EXPECT_TRUE(readBytes(path).contains("P3=,,,," + c.written + ",\r\n")) << c.name;
        }
    }
}

}  // namespace
