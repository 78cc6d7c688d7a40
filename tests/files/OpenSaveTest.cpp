// Save As, Open, New File, Exit and closing: round trips, refused files, the question "Do you
// save data?" and saves that fail, on sessions; the File menu and the close event on the
// main windows.
#include "FileTestSupport.h"
#include "ScriptedDialogs.h"
#include "SessionRig.h"
#include "SimLine.h"
#include "data/Grid.h"
#include "data/ParameterTable.h"
#include "data/PointTable.h"
#include "files/SettingCommands.h"
#include "link/ProgramState.h"
#include "platform/Ini.h"
#include "session/Session.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace kap;
using namespace kap::test;

namespace {

class Files : public ::testing::Test {
protected:
    ScratchState clean;
    QTemporaryDir dir;

    static void saveTo(ViewedSession& v, const QString& path)
    {
        v.dialogs.file(path).ok();
        SettingCommands(v.session).saveAs();
        ASSERT_EQ(v.dialogs.boxes.last().text, "    Complete.");
    }
    // Opens a file into a session that has no unsaved changes; returns the boxes it showed.
    static QStringList openIn(ViewedSession& v, const QString& path)
    {
        const qsizetype before = v.dialogs.boxes.size();
        v.dialogs.file(path).ok();
        SettingCommands(v.session).open();
        QStringList shown;
        for (qsizetype i = before; i < v.dialogs.boxes.size(); ++i)
            shown << v.dialogs.boxes[i].text;
        return shown;
    }
};

void fill(Session& s)
{
    if (s.isPointInput())
        fillPoints(s);
    else
        fillZones(s);
}

QByteArray firstLines(const QByteArray& file, int count)
{
    const QList<QByteArray> lines = file.split('\n');
    QByteArray out;
    for (int i = 0; i < count; ++i)
        out += lines.at(i) + '\n';
    return out;
}

}  // namespace

TEST_F(Files, RoundTripReproducesEveryCellOfBothFamilies)
{
    for (Family family : {Family::PointInput, Family::PulseTrain}) {
        ViewedSession source(family);
        fill(source.session);
        const QString path = dir.filePath("round.csv");
        saveTo(source, path);
        ViewedSession target(family);
        EXPECT_EQ(openIn(target, path), QStringList{"    Complete."});
        EXPECT_EQ(target.dialogs.boxes.last().title, "Open");
        EXPECT_EQ(stateOf(target.session).data, stateOf(source.session).data);
        EXPECT_EQ(stateOf(target.session).parameters, stateOf(source.session).parameters);
        EXPECT_TRUE(target.session.isModified()) << "the values passed the change handling";
        EXPECT_EQ(target.dialogs.fileDialogs.last().title, "Open");
        // The setting files first; all files as a second choice.
        EXPECT_EQ(target.dialogs.fileDialogs.last().filter,
                  "Setting file(*.csv)|*.csv|All files(*)|*");
    }
}

TEST_F(Files, NotesThatWouldSplitAreQuotedAndTheRestIsPlain)
{
    ViewedSession v;
    fillPoints(v.session);
    saveTo(v, dir.filePath("notes.csv"));
    const QList<QByteArray> lines = readBytes(dir.filePath("notes.csv")).split('\n');
    EXPECT_EQ(lines[1], "P0=,A,10.00,50,plain,\r");
    EXPECT_EQ(lines[2], "P1=,I,-25.50,100,\"a, b\",\r");
    EXPECT_EQ(lines[3], "P2=,B,1.00,,say \"hi\",\r");
    EXPECT_EQ(lines[4], "P3=,,0.13,,caf\xe9 \x80,\r");
    EXPECT_EQ(lines[6], "P5=,A,359.99,1,,\r");
    EXPECT_EQ(lines[64], "P63=,I,720.00,7,\"end, \"\"q\"\"\",\r");
    EXPECT_EQ(lines[67], "PRM1=,100,,,,\r");
    EXPECT_EQ(lines[101], "PRM35=,-150,,,,\r");
}

TEST_F(Files, RowThresholds)
{
    struct Case {
        Family family;
        int lines;
        bool opens;
        QStringList said;  // on the status bar
    };
    const QString missing = "PRM 34, 35, 36 were not in the file; set to their initial values";
    // The pulse-train file's last line is PRM 63, which the window does not show.
    for (const Case& c :
         {Case{Family::PointInput, 96, false, {}}, Case{Family::PointInput, 97, true, {missing}},
          Case{Family::PulseTrain, 68, false, {}}, Case{Family::PulseTrain, 69, true, {}}}) {
        ViewedSession source(c.family);
        fill(source.session);
        saveTo(source, dir.filePath("full.csv"));
        const QString path = dir.filePath("short.csv");
        writeBytes(path, firstLines(readBytes(dir.filePath("full.csv")), c.lines));

        ViewedSession target(c.family);
        const GridState before = stateOf(target.session);
        target.dialogs.file(path).ok();
        SettingCommands(target.session).open();
        EXPECT_EQ(target.dialogs.boxes.last().text, c.opens ? "    Complete." : "Cannot open file.")
            << c.lines;
        EXPECT_EQ(target.view.statusMessages, c.said) << c.lines;
        if (!c.opens) {
            EXPECT_EQ(stateOf(target.session), before) << c.lines;
            continue;
        }
        EXPECT_EQ(stateOf(target.session).data, stateOf(source.session).data);
        if (c.family == Family::PointInput) {
            // PRM 0 to 30 came from the file; the later lines are missing and take their
            // initial values.
            const Grid& p = target.session.parameterGrid();
            EXPECT_EQ(p.text(0, kValueColumn), "100");  // PRM 1
            EXPECT_EQ(p.text(7, kValueColumn), "720");  // PRM 21
            EXPECT_EQ(p.text(14, kValueColumn), "0");   // PRM 35
        } else {
            EXPECT_EQ(stateOf(target.session).parameters, stateOf(source.session).parameters);
        }
    }
}

TEST_F(Files, AFileOfTheOtherFamilyIsRefusedAndChangesNothing)
{
    for (Family family : {Family::PointInput, Family::PulseTrain}) {
        const Family other = family == Family::PointInput ? Family::PulseTrain : Family::PointInput;
        ViewedSession source(other);
        fill(source.session);
        const QString path = dir.filePath("other.csv");
        saveTo(source, path);
        ViewedSession target(family);
        fill(target.session);
        target.dialogs.answer(MsgAnswer::No);  // the target has unsaved changes
        const GridState before = stateOf(target.session);
        target.dialogs.file(path).ok();
        SettingCommands(target.session).open();
        EXPECT_EQ(target.dialogs.boxes.last().text, "Cannot open file.");
        EXPECT_EQ(stateOf(target.session), before);
    }
}

TEST_F(Files, ValuesAreCheckedAgainstTheRangesOfTheFilesType)
{
    struct Case {
        const char* inertia;
        const char* shown;
    };
    // The window is at type 50 (inertia 0 to 300); the file's type 62 takes 0 to 3000 and
    // has 3000 for its initial value.
    for (const Case& c : {Case{"2000", "2000"}, Case{"250", "250"}, Case{"4000", "3000"}}) {
        QStringList lines = freshPointLines();
        lines[66] = "PRM0=,62,,,,";
        lines[69] = QStringLiteral("PRM3=,%1,,,,").arg(c.inertia);
        const QString path = dir.filePath("type62.csv");
        writeBytes(path, fileOf(lines));
        ViewedSession v;
        ASSERT_EQ(v.session.parameters().currentType(), "50");
        EXPECT_EQ(openIn(v, path), QStringList{"    Complete."});
        const Grid& p = v.session.parameterGrid();
        EXPECT_EQ(p.text(-1, kValueColumn), "62");
        EXPECT_EQ(p.text(2, kValueColumn), c.shown) << c.inertia;
        EXPECT_EQ(p.text(2, kRangeColumn), "0 to 3000 (*10^-6kg.m.m)");
        EXPECT_EQ(p.text(6, kRangeColumn), "1 to 50 (*0.01rps)");  // PRM 10
        EXPECT_EQ(v.session.parameters().currentType(), "62");
    }
}

TEST_F(Files, OpenNamesTheParametersThatTookTheirInitialValues)
{
    struct Case {
        QList<std::pair<int, QString>> values;  // PRM, value
        QString said;
        int lines = 0;  // lines kept, 0 for all
        Family family = Family::PointInput;
    };
    const QString one = "; set to its initial value";
    const QString more = "; set to their initial values";
    const Case cases[] = {
        {{{4, "+050."}, {1, "0.0"}}, {}},  // the same numbers, written plainly
        {{{4, "101"}}, "PRM 4 was out of range" + one},
        {{{30, "500"}, {4, "0"}}, "PRM 4, 30 were out of range" + more},
        {{{25, "**"}}, "PRM 25 was out of range" + one},
        {{{1, ""}}, "PRM 1 was not in the file" + one},
        {{{4, "0"}}, "PRM 34, 35, 36 were not in the file and PRM 4 was out of range" + more, 97},
        {{{38, "9"}}, "PRM 38 was out of range" + one, 0, Family::PulseTrain},
    };
    for (const Case& c : cases) {
        const bool points = c.family == Family::PointInput;
        QStringList lines = points ? freshPointLines() : freshPulseLines();
        for (const auto& [prm, value] : c.values)
            lines[(points ? 66 : 6) + prm] = QStringLiteral("PRM%1=,%2,,,,").arg(prm).arg(value);
        writeBytes(dir.filePath("named.csv"), fileOf(c.lines ? lines.mid(0, c.lines) : lines));
        ViewedSession v(c.family);
        EXPECT_EQ(openIn(v, dir.filePath("named.csv")), QStringList{"    Complete."});
        EXPECT_EQ(v.view.statusMessages.join(u'|'), c.said);
    }
}

TEST_F(Files, RefusedFilesLeaveTheGridsAlone)
{
    struct Case {
        const char* name;
        int line;  // replaced line (0 = first), -1 for none
        QString text;
        const char* box;
        const char* title;
        Family family = Family::PointInput;
    };
    const Case cases[] = {
        {"unknown type", 66, "PRM0=,55,,,,", "Controller type is different.", "Controller type"},
        {"type with decimals", 66, "PRM0=,50.5,,,,", "Controller type is different.",
         "Controller type"},
        {"type not a number", 66, "PRM0=,**,,,,", "Cannot open file.", ""},
        {"empty type", 66, "PRM0=,,,,,", "Cannot open file.", ""},
        {"wrong tag", 0, "KAB,,,,,", "Cannot open file.", ""},
        {"position not a number", 1, "P0=,A,abc,50,,", "Cannot open file.", ""},
        {"position with letters", 64, "P63=,A,12abc,50,,", "Cannot open file.", ""},
        {"position with exponent", 1, "P0=,A,1e3,50,,", "Cannot open file.", ""},
        {"speed not a number", 1, "P0=,A,10,5x,,", "Cannot open file.", ""},
        {"angle A not a number", 1, "Z0=,abc,20,,,", "Cannot open file.", "", Family::PulseTrain},
        {"angle B with letters", 4, "Z3=,10,12abc,,,", "Cannot open file.", "", Family::PulseTrain},
        {"parameter not a number", 67, "PRM1=,abc,,,,", "Cannot open file.", ""},
        {"parameter with a NUL", 101, QStringLiteral("PRM35=,12") + QChar(0) + "34,,,,",
         "Cannot open file.", ""},
        {"pulse-train parameter with letters", 44, "PRM38=,1x,,,,", "Cannot open file.", "",
         Family::PulseTrain},
    };
    for (const Case& c : cases) {
        const bool points = c.family == Family::PointInput;
        QStringList lines = points ? freshPointLines() : freshPulseLines();
        lines[c.line] = c.text;
        const QString path = dir.filePath("refused.csv");
        writeBytes(path, fileOf(lines));
        ViewedSession v(c.family);
        fill(v.session);
        v.dialogs.answer(MsgAnswer::No);
        const GridState before = stateOf(v.session);
        v.dialogs.file(path).ok();
        SettingCommands(v.session).open();
        EXPECT_EQ(v.dialogs.boxes.last().text, c.box) << c.name;
        EXPECT_EQ(v.dialogs.boxes.last().title, c.title) << c.name;
        EXPECT_EQ(stateOf(v.session), before) << c.name;
        EXPECT_EQ(v.session.parameters().currentType(), "50") << c.name;
    }
}

TEST_F(Files, FilesCutInsideALineOrPastTheLimitsAreRefused)
{
    const QByteArray point = fileOf(freshPointLines());
    const qint64 megabyte = 1024 * 1024;
    QStringList noted = freshPointLines();
    noted[1] = "P0=,A,10,50," + QString(1000, u'n') + ",";
    QStringList zoneNoted = freshPulseLines();
    zoneNoted[1] = "Z0=,10,20," + QString(1001, u'n') + ",,";
    const Family pulse = Family::PulseTrain;
    struct Case {
        QByteArray bytes;
        bool opens;
        Family family = Family::PointInput;
    };
    const Case cases[] = {
        {firstLines(point, 101) + "PRM35=,1", false},                          // cut inside a value
        {firstLines(fileOf(freshPulseLines()), 70).chopped(2), false, pulse},  // no last CR LF
        {point + QByteArray(megabyte - point.size(), '\n'), true},
        {point + QByteArray(megabyte - point.size() + 1, '\n'), false},
        {fileOf(noted), true},
        {fileOf(noted).replace(",A,10,50,", ",A,10,50,n"), false},
        {fileOf(zoneNoted), false, pulse},
    };
    for (const Case& c : cases) {
        writeBytes(dir.filePath("limits.csv"), c.bytes);
        ViewedSession v(c.family);
        const GridState before = stateOf(v.session);
        EXPECT_EQ(openIn(v, dir.filePath("limits.csv")),
                  QStringList{c.opens ? "    Complete." : "Cannot open file."})
            << c.bytes.size();
        if (!c.opens) {
            EXPECT_EQ(stateOf(v.session), before) << c.bytes.size();
        }
    }
}

TEST_F(Files, CancelledOpenDialogChangesNothing)
{
    ViewedSession v(Family::PulseTrain);
    const GridState before = stateOf(v.session);
    v.dialogs.file("");
    SettingCommands(v.session).open();
    EXPECT_TRUE(v.dialogs.boxes.isEmpty());
    EXPECT_EQ(stateOf(v.session), before);
}

TEST_F(Files, NewFileEmptiesTheDataAndResetsParametersButKeepsTheType)
{
    ViewedSession v;
    QStringList lines = freshPointLines();
    lines[66] = "PRM0=,62,,,,";
    writeBytes(dir.filePath("t.csv"), fileOf(lines));
    openIn(v, dir.filePath("t.csv"));
    fillPoints(v.session);
    v.dialogs.answer(MsgAnswer::No);
    SettingCommands(v.session).newFile();
    for (int n = 0; n < 64; ++n) {
        for (int c = 1; c <= 4; ++c)
            EXPECT_TRUE(v.session.tableGrid().text(n, c).isEmpty()) << n << "," << c;
    }
    const Grid& p = v.session.parameterGrid();
    EXPECT_EQ(p.text(-1, kValueColumn), "62");
    EXPECT_EQ(p.text(0, kValueColumn), "0");     // PRM 1
    EXPECT_EQ(p.text(2, kValueColumn), "3000");  // PRM 3 of type 62
    EXPECT_FALSE(v.session.isModified());
}

TEST_F(Files, NewFileWithAnUnknownTypeShowsTheBoxAndKeepsEverything)
{
    // The type row takes 50 to 66, though only 50 and 60 to 66 are actuator types.
    for (const char* type : {"51", "59"}) {
        ViewedSession v;
        QSignalSpy ended(&v.session, &Session::programEndRequested);
        fillPoints(v.session);
        v.session.parameterGrid().setText(-1, kValueColumn, type);
        const GridState before = stateOf(v.session);
        v.dialogs.answer(MsgAnswer::No).ok();
        SettingCommands(v.session).newFile();
        ASSERT_EQ(v.dialogs.boxes.size(), 2) << type;
        EXPECT_EQ(v.dialogs.boxes[1].text, "Controller type is different.");
        EXPECT_EQ(v.dialogs.boxes[1].title, "Controller type");
        EXPECT_EQ(v.dialogs.boxes[1].icon, MsgIcon::Exclamation);
        EXPECT_EQ(stateOf(v.session), before) << type;
        EXPECT_EQ(ended.count(), 0) << type;
    }
}

TEST(SaveQuestion, EveryCommandFollowsTheAnswer)
{
    enum class Command { NewFile, Open, Exit, Closing };
    const std::pair<Command, const char*> commands[] = {{Command::NewFile, "New File"},
                                                        {Command::Open, "Open"},
                                                        {Command::Exit, "Exit"},
                                                        {Command::Closing, "closing"}};
    for (const auto& [command, name] : commands) {
        for (const Asked& a : kAnswers) {
            const std::string label = std::string(name) + ", " + a.name;
            QTemporaryDir dir;
            ViewedSession v;
            v.state.portName = "COM3";
            SettingCommands files(v.session);
            v.session.tableGrid().setText(0, PointTable::ModeColumn, "A");
            ASSERT_TRUE(v.session.isModified());
            const QString path = dir.filePath("asked.csv");

            queueAnswer(v.dialogs, a.answer, path);
            if (a.goesOn() && command == Command::Open)
                v.dialogs.file("");  // the open dialog, cancelled

            switch (command) {
            case Command::NewFile:
                files.newFile();
                break;
            case Command::Open:
                files.open();
                break;
            case Command::Exit:
                files.exit();
                break;
            case Command::Closing:
                EXPECT_EQ(files.closing(), a.goesOn()) << label;
                break;
            }

            expectAsked(v.dialogs, a.answer, path, label);
            switch (command) {
            case Command::NewFile:
                EXPECT_EQ(v.session.tableGrid().text(0, PointTable::ModeColumn).isEmpty(),
                          a.goesOn())
                    << label;
                EXPECT_EQ(v.session.isModified(), !a.goesOn()) << label;
                break;
            case Command::Open:
                EXPECT_EQ(!v.dialogs.fileDialogs.isEmpty()
                              && v.dialogs.fileDialogs.last().title == "Open",
                          a.goesOn())
                    << label;
                EXPECT_EQ(v.session.tableGrid().text(0, PointTable::ModeColumn), "A") << label;
                break;
            case Command::Exit:
                EXPECT_EQ(v.view.closed, a.goesOn() ? 1 : 0) << label;
                break;
            case Command::Closing:
                EXPECT_EQ(ReadIniValue("COM", "Data", v.state.iniPath()),
                          a.goesOn() ? "3" : "ERROR")
                    << label;
                break;
            }
        }
    }
}

TEST_F(Files, AFailedSaveKeepsTheOldFileAndTheMark)
{
    const QString readOnly = dir.filePath("old.csv");
    writeBytes(readOnly, "old contents\r\n");
    QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.csv"));
    struct Case {
        const char* name;
        QString path;
        QString reason;  // the paragraph after the message: what really went wrong
    };
    for (const Case& c :
         {Case{"read-only file", readOnly, ""},
          Case{"a folder", dir.filePath("folder.csv"), " is not a regular file."},
          Case{"missing folder", dir.filePath("none/new.csv"), ": No such file or directory"}}) {
        ViewedSession v;
        fillPoints(v.session);
        v.dialogs.file(c.path).ok();
        EXPECT_FALSE(SettingCommands(v.session).saveAs()) << c.name;
        const QList<Box>& boxes = v.dialogs.boxes;
        ASSERT_EQ(boxes.size(), 1) << c.name;
        EXPECT_EQ(boxes[0].text,
                  c.path + " cannot be saved because it is read only or it is opened."
                      + (c.reason.isEmpty() ? QString() : "\n\n" + c.path + c.reason));
        EXPECT_EQ(boxes[0].title, "");
        EXPECT_EQ(boxes[0].buttons, MsgButtons::Ok);
        EXPECT_TRUE(v.session.isModified()) << c.name;
        EXPECT_EQ(v.view.title, "KAP Support-Software - " + QFileInfo(c.path).fileName()) << c.name;
    }
    EXPECT_EQ(readBytes(readOnly), "old contents\r\n");
    EXPECT_TRUE(QFileInfo(dir.filePath("folder.csv")).isDir());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"old.csv"})
        << "no temporary left";
}

// Open reads regular files only: a FIFO (which would wait for a writer for ever) and a folder
// are refused at once, and nothing changes.
TEST_F(Files, OnlyARegularFileIsOpened)
{
    const QString fifo = dir.filePath("fifo.csv");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0666), 0);
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder.csv"));
    for (const QString& path : {fifo, dir.filePath("folder.csv")}) {
        ViewedSession v;
        const GridState before = stateOf(v.session);
        QElapsedTimer clock;
        clock.start();
        EXPECT_EQ(openIn(v, path), QStringList{"Cannot open file."}) << path.toStdString();
        EXPECT_LT(clock.elapsed(), 2000);
        EXPECT_EQ(stateOf(v.session), before);
    }
}
