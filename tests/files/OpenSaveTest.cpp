// Save As, Open, New File, Exit and closing on the main windows: round trips, refused files,
// the question "Do you save data?" and saves that fail.
#include "FileTestSupport.h"
#include "Grid.h"
#include "Ini.h"
#include "Module1.h"
#include "ParameterTable.h"
#include "PointTable.h"
#include "ScriptedDialogs.h"
#include "SettingCommands.h"
#include "SimLine.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kap;
using namespace kap::test;

namespace {

class Files : public ::testing::Test {
protected:
    CleanModule clean;
    ScriptedDialogs dialogs;
    QTemporaryDir dir;

    void saveTo(MainFrame& w, const QString& path)
    {
        dialogs.file(path).ok();
        w.menuItem("mnuFileSave")->trigger();
        ASSERT_EQ(dialogs.boxes.last().text, "    Complete.");
    }
    // Opens a file into a window that has no unsaved changes; returns the boxes it showed.
    QStringList openIn(MainFrame& w, const QString& path)
    {
        const qsizetype before = dialogs.boxes.size();
        dialogs.file(path).ok();
        w.menuItem("mnuFileOpen")->trigger();
        QStringList shown;
        for (qsizetype i = before; i < dialogs.boxes.size(); ++i)
            shown << dialogs.boxes[i].text;
        return shown;
    }
};

// Every kind of cell: the three modes, empty rows, negative and rounded positions, notes with
// commas, quotes and characters beyond ASCII, changed parameters.
void fillPoints(MainFrame& w)
{
    Grid& g = *w.Grid1;
    const QStringList rows[] = {
        {"0", "A", "10", "50", "plain"},
        {"1", "I", "-25.5", "100", "a, b"},
        {"2", "B", "1", "", "say \"hi\""},
        {"3", "", "0.125", "", "caf\u00e9 \u20ac"},
        {"5", "a", "359.99", "1", ""},
        {"63", "I", "720", "7", "end, \"q\""},
    };
    for (const QStringList& r : rows) {
        for (int c = 1; c <= 4; ++c)
            g.setText(r[0].toInt(), c, r[c]);
    }
    Grid& p = *w.Grid2;
    p.setText(0, kValueColumn, "100");   // PRM 1
    p.setText(2, kValueColumn, "200");   // PRM 3
    p.setText(7, kValueColumn, "720");   // PRM 21
    p.setText(14, kValueColumn, "-150"); // PRM 35
}

void fillZones(MainFrame& w)
{
    Grid& g = *w.Grid1;
    const QStringList rows[] = {
        {"0", "10", "20.5", "z, one"},
        {"1", "0", "359.99", "\"quoted\""},
        {"3", "100.25", "", "last"},
    };
    for (const QStringList& r : rows) {
        for (int c = 1; c <= 3; ++c)
            g.setText(r[0].toInt(), c, r[c]);
    }
    Grid& p = *w.Grid2;
    p.setText(0, kValueColumn, "50");   // PRM 4
    p.setText(6, kValueColumn, "3");    // PRM 38
    p.setText(9, kValueColumn, "500");  // PRM 53
}

void fill(MainFrame& w)
{
    if (w.family() == Family::PointInput)
        fillPoints(w);
    else
        fillZones(w);
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
        auto source = makeWindow(family, dialogs);
        fill(*source);
        const QString path = dir.filePath("round.csv");
        saveTo(*source, path);
        auto target = makeWindow(family, dialogs);
        EXPECT_EQ(openIn(*target, path), QStringList{"    Complete."});
        EXPECT_EQ(dialogs.boxes.last().title, "Open");
        EXPECT_EQ(stateOf(*target).data, stateOf(*source).data);
        EXPECT_EQ(stateOf(*target).parameters, stateOf(*source).parameters);
        EXPECT_TRUE(target->isModified()) << "the values passed the change handling";
        EXPECT_EQ(dialogs.fileDialogs.last().title, "Open");
        EXPECT_EQ(dialogs.fileDialogs.last().filter, "Setting file(*.csv)|*.csv");
    }
}

TEST_F(Files, NotesThatWouldSplitAreQuotedAndTheRestIsPlain)
{
    auto w = makeWindow(Family::PointInput, dialogs);
    fillPoints(*w);
    saveTo(*w, dir.filePath("notes.csv"));
    const QList<QByteArray> lines = readBytes(dir.filePath("notes.csv")).split('\n');
    EXPECT_EQ(lines[1], "P0=,A,10.00,50,plain,\r");
    EXPECT_EQ(lines[2], "P1=,I,-25.50,100,\"a, b\",\r");
    EXPECT_EQ(lines[3], "P2=,B,1.00,,\"say \"\"hi\"\"\",\r");
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
    };
    for (const Case& c : {Case{Family::PointInput, 96, false}, Case{Family::PointInput, 97, true},
                          Case{Family::PulseTrain, 68, false}, Case{Family::PulseTrain, 69, true}}) {
        ScriptedDialogs d;
        auto source = makeWindow(c.family, d);
        fill(*source);
        d.file(dir.filePath("full.csv")).ok();
        ASSERT_TRUE(source->saveAs());
        const QString path = dir.filePath("short.csv");
        writeBytes(path, firstLines(readBytes(dir.filePath("full.csv")), c.lines));

        auto target = makeWindow(c.family, d);
        const GridState before = stateOf(*target);
        d.file(path).ok();
        target->menuItem("mnuFileOpen")->trigger();
        EXPECT_EQ(d.boxes.last().text, c.opens ? "    Complete." : "Cannot open file.") << c.lines;
        if (!c.opens) {
            EXPECT_EQ(stateOf(*target), before) << c.lines;
            continue;
        }
        EXPECT_EQ(stateOf(*target).data, stateOf(*source).data);
        if (c.family == Family::PointInput) {
            // PRM 0 to 30 came from the file; the later lines are missing and take their
            // initial values.
            EXPECT_EQ(target->Grid2->text(0, kValueColumn), "100");   // PRM 1
            EXPECT_EQ(target->Grid2->text(7, kValueColumn), "720");   // PRM 21
            EXPECT_EQ(target->Grid2->text(14, kValueColumn), "0");    // PRM 35
        } else {
            EXPECT_EQ(stateOf(*target).parameters, stateOf(*source).parameters);
        }
    }
}

TEST_F(Files, AFileOfTheOtherFamilyIsRefusedAndChangesNothing)
{
    for (Family family : {Family::PointInput, Family::PulseTrain}) {
        const Family other = family == Family::PointInput ? Family::PulseTrain : Family::PointInput;
        auto source = makeWindow(other, dialogs);
        fill(*source);
        const QString path = dir.filePath("other.csv");
        saveTo(*source, path);
        auto target = makeWindow(family, dialogs);
        fill(*target);
        dialogs.answer(MsgAnswer::No);  // the target has unsaved changes
        const GridState before = stateOf(*target);
        dialogs.file(path).ok();
        target->menuItem("mnuFileOpen")->trigger();
        EXPECT_EQ(dialogs.boxes.last().text, "Cannot open file.");
        EXPECT_EQ(stateOf(*target), before);
    }
}

TEST_F(Files, ANewTypeBringsItsFactoryValuesBeforeTheFileValuesAreChecked)
{
    struct Case {
        const char* inertia;
        const char* shown;
    };
    // The load inertia is checked against the old type's range (0 to 300) and falls back to
    // the new type's initial value.
    for (const Case& c : {Case{"2000", "3000"}, Case{"250", "250"}, Case{"x", "3000"}}) {
        QStringList lines = freshPointLines();
        lines[66] = "PRM0=,62,,,,";
        lines[69] = QStringLiteral("PRM3=,%1,,,,").arg(c.inertia);
        const QString path = dir.filePath("type62.csv");
        writeBytes(path, fileOf(lines));
        auto w = makeWindow(Family::PointInput, dialogs);
        ASSERT_EQ(w->parameters().currentType(), "50");
        EXPECT_EQ(openIn(*w, path), QStringList{"    Complete."});
        EXPECT_EQ(w->Grid2->text(-1, kValueColumn), "62");
        EXPECT_EQ(w->Grid2->text(2, kValueColumn), c.shown) << c.inertia;
        EXPECT_EQ(w->Grid2->text(2, kRangeColumn), "0 to 3000 (*10^-6kg.m.m)");
        EXPECT_EQ(w->Grid2->text(6, kRangeColumn), "1 to 50 (*0.01rps)");  // PRM 10
        EXPECT_EQ(w->parameters().currentType(), "62");
    }
}

TEST_F(Files, RefusedFilesLeaveTheGridsAlone)
{
    struct Case {
        const char* name;
        int line;  // replaced line (0 = first), -1 for none
        const char* text;
        const char* box;
        const char* title;
    };
    const Case cases[] = {
        {"unknown type", 66, "PRM0=,55,,,,", "Controller type is different.", "Controller type"},
        {"type with decimals", 66, "PRM0=,50.5,,,,", "Controller type is different.", "Controller type"},
        {"type not a number", 66, "PRM0=,**,,,,", "Cannot open file.", ""},
        {"empty type", 66, "PRM0=,,,,,", "Cannot open file.", ""},
        {"wrong tag", 0, "KAB,,,,,", "Cannot open file.", ""},
    };
    for (const Case& c : cases) {
        QStringList lines = freshPointLines();
        lines[c.line] = c.text;
        const QString path = dir.filePath("refused.csv");
        writeBytes(path, fileOf(lines));
        auto w = makeWindow(Family::PointInput, dialogs);
        fillPoints(*w);
        dialogs.answer(MsgAnswer::No);
        const GridState before = stateOf(*w);
        dialogs.file(path).ok();
        w->menuItem("mnuFileOpen")->trigger();
        EXPECT_EQ(dialogs.boxes.last().text, c.box) << c.name;
        EXPECT_EQ(dialogs.boxes.last().title, c.title) << c.name;
        EXPECT_EQ(stateOf(*w), before) << c.name;
        EXPECT_EQ(w->parameters().currentType(), "50") << c.name;
    }
}

TEST_F(Files, CancelledOpenDialogChangesNothing)
{
    auto w = makeWindow(Family::PulseTrain, dialogs);
    const GridState before = stateOf(*w);
    dialogs.file("");
    w->menuItem("mnuFileOpen")->trigger();
    EXPECT_TRUE(dialogs.boxes.isEmpty());
    EXPECT_EQ(stateOf(*w), before);
}

TEST_F(Files, NewFileEmptiesTheDataAndResetsParametersButKeepsTheType)
{
    auto w = makeWindow(Family::PointInput, dialogs);
    QStringList lines = freshPointLines();
    lines[66] = "PRM0=,62,,,,";
    writeBytes(dir.filePath("t.csv"), fileOf(lines));
    openIn(*w, dir.filePath("t.csv"));
    fillPoints(*w);
    dialogs.answer(MsgAnswer::No);
    w->menuItem("mnuFileNew")->trigger();
    for (int n = 0; n < 64; ++n) {
        for (int c = 1; c <= 4; ++c)
            EXPECT_TRUE(w->Grid1->text(n, c).isEmpty()) << n << "," << c;
    }
    EXPECT_EQ(w->Grid2->text(-1, kValueColumn), "62");
    EXPECT_EQ(w->Grid2->text(0, kValueColumn), "0");     // PRM 1
    EXPECT_EQ(w->Grid2->text(2, kValueColumn), "3000");  // PRM 3 of type 62
    EXPECT_FALSE(w->isModified());
}

namespace {

enum class Command { NewFile, Open, Exit, Closing };
enum class Answer { No, Cancel, YesCancelledDialog, YesSaved };

}  // namespace

TEST(SaveQuestion, EveryCommandFollowsTheAnswer)
{
    const std::pair<Command, const char*> commands[] = {{Command::NewFile, "mnuFileNew"},
                                                         {Command::Open, "mnuFileOpen"},
                                                         {Command::Exit, "mnuFileExit"},
                                                         {Command::Closing, ""}};
    for (const auto& [command, menu] : commands) {
        for (Answer answer : {Answer::No, Answer::Cancel, Answer::YesCancelledDialog, Answer::YesSaved}) {
            const std::string label = std::string(menu) + " answer " + std::to_string(int(answer));
            CleanModule clean;
            QTemporaryDir dir;
            module1().portName = "COM3";
            ScriptedDialogs d;
            auto w = makeWindow(Family::PointInput, d);
            w->show();
            w->Grid1->setText(0, PointTable::ModeColumn, "A");
            ASSERT_TRUE(w->isModified());
            const QString path = dir.filePath("asked.csv");

            const bool goesOn = answer == Answer::No || answer == Answer::YesSaved;
            d.answer(answer == Answer::No       ? MsgAnswer::No
                     : answer == Answer::Cancel ? MsgAnswer::Cancel
                                                : MsgAnswer::Yes);
            if (answer == Answer::YesCancelledDialog)
                d.file("");
            if (answer == Answer::YesSaved)
                d.file(path).ok();
            if (goesOn && command == Command::Open)
                d.file("");  // the open dialog, cancelled

            if (command == Command::Closing)
                w->close();
            else
                w->menuItem(menu)->trigger();

            EXPECT_EQ(d.boxes.value(0).text, "Do you save data?") << label;
            EXPECT_EQ(d.boxes.value(0).buttons, MsgButtons::YesNoCancel) << label;
            EXPECT_EQ(d.pendingAnswers(), 0) << label;
            EXPECT_EQ(QFile::exists(path), answer == Answer::YesSaved) << label;
            switch (command) {
            case Command::NewFile:
                EXPECT_EQ(w->Grid1->text(0, PointTable::ModeColumn).isEmpty(), goesOn) << label;
                EXPECT_EQ(w->isModified(), !goesOn) << label;
                break;
            case Command::Open:
                EXPECT_EQ(!d.fileDialogs.isEmpty() && d.fileDialogs.last().title == "Open", goesOn) << label;
                EXPECT_EQ(w->Grid1->text(0, PointTable::ModeColumn), "A") << label;
                break;
            case Command::Exit:
            case Command::Closing:
                EXPECT_EQ(w->isVisible(), !goesOn) << label;
                EXPECT_EQ(ReadIniValue("COM", "Data", module1().iniPath()), goesOn ? "3" : "ERROR")
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
    };
    for (const Case& c : {Case{"read-only file", readOnly}, Case{"a folder", dir.filePath("folder.csv")},
                          Case{"missing folder", dir.filePath("none/new.csv")}}) {
        ScriptedDialogs d;
        auto w = makeWindow(Family::PointInput, d);
        fillPoints(*w);
        d.file(c.path).ok();
        EXPECT_FALSE(w->saveAs()) << c.name;
        ASSERT_EQ(d.boxes.size(), 1) << c.name;
        EXPECT_EQ(d.boxes[0].text, c.path + " cannot be saved because it is read only or it is opened.");
        EXPECT_EQ(d.boxes[0].title, "");
        EXPECT_EQ(d.boxes[0].buttons, MsgButtons::Ok);
        EXPECT_TRUE(w->isModified()) << c.name;
        EXPECT_EQ(w->windowTitle(), "KAP Support-Software" + c.path) << c.name;
    }
    EXPECT_EQ(readBytes(readOnly), "old contents\r\n");
    EXPECT_TRUE(QFileInfo(dir.filePath("folder.csv")).isDir());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"old.csv"}) << "no temporary left";
}

TEST_F(Files, ClosingAfterAFailedSaveStaysOpen)
{
    auto w = makeWindow(Family::PulseTrain, dialogs);
    w->show();
    fillZones(*w);
    dialogs.answer(MsgAnswer::Yes).file(dir.path()).ok();
    EXPECT_FALSE(w->close());
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(dialogs.boxes.last().text, dir.path() + " cannot be saved because it is read only or it is opened.");
}
