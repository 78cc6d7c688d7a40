// Init Point / Zones, Init Parameters, Init ORG and Changing Origin against the simulated
// controller: their texts, what they send, what the grids hold afterwards, and every step's
// time-out, refusal and cut reply.
#include "exchange/Initialise.h"
#include "ExchangeRig.h"
#include "files/SettingCommands.h"

#include <QTemporaryDir>

using namespace kap;
using namespace kap::test;

namespace {

using Kind = sim::Fault::Kind;

// Time-outs at a twentieth of their length; the controller leaves records unanswered, so no
// record needs its whole window.
constexpr double kShort = 0.05;

constexpr int kMode = PointTable::ModeColumn;
constexpr int kPos = PointTable::PositionColumn;
constexpr int kSpeed = PointTable::SpeedColumn;
constexpr int kNote = PointTable::NoteColumn;

// The actuator type dialog with its answers queued in advance.
class ScriptedTypeChooser : public exchange::TypeChooser {
public:
    std::optional<QString> chooseType(const QString& current, bool withoutMova) override
    {
        asked.append({current, withoutMova});
        if (answers.isEmpty()) {
            ADD_FAILURE() << "unexpected actuator type dialog";
            return std::nullopt;
        }
        return answers.takeFirst();
    }

    struct Call {
        QString current;
        bool withoutMova;
    };
    QList<std::optional<QString>> answers;
    QList<Call> asked;
};

// Boxes with texts made at run time.
Box okText(const QString& text, const QString& title)
{
    return {text, title, MsgIcon::None, MsgButtons::Ok};
}

Box saveQuestion()
{
    return {QStringLiteral("Do you save data?"), QString(), MsgIcon::Question,
            MsgButtons::YesNoCancel};
}

Box englishQuestion()
{
    return {QStringLiteral("Do you change to English?"), QStringLiteral("Parameter"), MsgIcon::None,
            MsgButtons::YesNo};
}

const char* kParamTitle = "Parameter initialization";

struct InitRig : ExchangeRig {
    explicit InitRig(sim::Options options = pointOptions()) : ExchangeRig(options)
    {
        session.setTimeScale(kShort);
        QObject::connect(&session, &Session::quickBoxRefreshRequested, [this] { ++refreshes; });
    }

    // The window's own save question, as the window hands it in.
    const exchange::SaveQuestion askToSave = [this] {
        return SettingCommands(session).askToSave();
    };

    bool points() const { return session.family() == Family::PointInput; }
    QString tableTitle() const { return points() ? "Point initialization" : "Zone initialization"; }
    Box tableQuestion() const
    {
        return points() ? question("Do you initialize point data?", "Point initialization")
                        : question("Do you initialize zone data?", "Zone initialization");
    }

    // Every row filled, the Note column too; the controller holds data of its own.
    void fillTable()
    {
        for (int row = 0; row < table().rows(); ++row) {
            if (points()) {
                putPoint(row, "A", QString::number(row) + ".00", "10");
            } else {
                put(row, ZoneTable::AngleAColumn, "1.00");
                put(row, ZoneTable::AngleBColumn, "2.00");
            }
            put(row, points() ? kNote : ZoneTable::NoteColumn, "note " + QString::number(row));
        }
        sim.controller.points[5] = {"A", "5.00", "5"};
        sim.controller.zones[1] = {"3.00", "4.00"};
    }
    bool tableEmpty()
    {
        for (int row = 0; row < table().rows(); ++row)
            for (int column = 1; column < table().columns(); ++column)
                if (!cell(row, column).isEmpty())
                    return false;
        return true;
    }

    // A parameter grid that differs from every type's factory values.
    void spoilParameters()
    {
        putParam(0, "61", "61");
        putParam(4, "42");
        putParam(22, "1");
        putParam(35, "250");
        session.parameters().setCurrentType(QStringLiteral("61"));
    }

    QString gridText()
    {
        QString s;
        for (int r = -1; r < params().rows(); ++r)
            for (int c = 0; c < params().columns(); ++c)
                s += params().text(r, c) + QLatin1Char('|');
        return s;
    }

    QString tableText()
    {
        QString s;
        for (int r = 0; r < table().rows(); ++r)
            for (int c = 0; c < table().columns(); ++c)
                s += table().text(r, c) + QLatin1Char('|');
        return s;
    }

    int refreshes = 0;
    ScriptedTypeChooser chooser;
};

// A fresh grid of the family, reset to a type's factory values.
struct FactoryGrid {
    FactoryGrid(Family family, const QString& type) : viewed(family)
    {
        Session& s = viewed.session;
        s.guards().settingUp = true;
        s.parameterGrid().setText(-1, kValueColumn, type);
        EXPECT_EQ(s.parameters().ResetParametersToDefaults(), ParameterTable::TypeCheck::Ok);
        s.guards().settingUp = false;
    }
    QString text(int row, int column) { return viewed.session.parameterGrid().text(row, column); }
    ViewedSession viewed;
};

// Every cell of every row but those of the given parameters equals the factory grid of the type.
void expectFactoryValues(InitRig& rig, const QString& type, QList<int> except = {})
{
    FactoryGrid factory(rig.session.family(), type);
    const ParameterTable& table = rig.session.parameters();
    for (const ParameterRow& r : table.layout().rows) {
        if (except.contains(r.prm))
            continue;
        for (int c = 0; c < 5; ++c)
            EXPECT_EQ(rig.params().text(r.row, c), factory.text(r.row, c))
                << "type " << type.toStdString() << ", PRM " << r.prm << ", column " << c;
    }
}

struct RowTexts {
    QString initial, value, range;
};

RowTexts rowOf(InitRig& rig, int prm)
{
    const int row = rig.session.parameters().rowOfPrm(prm).value();
    return {rig.params().text(row, kInitialColumn), rig.params().text(row, kValueColumn),
            rig.params().text(row, kRangeColumn)};
}

void expectRow(InitRig& rig, int prm, const RowTexts& expected)
{
    const RowTexts got = rowOf(rig, prm);
    EXPECT_EQ(got.initial, expected.initial) << "PRM " << prm << " initial";
    EXPECT_EQ(got.value, expected.value) << "PRM " << prm << " value";
    EXPECT_EQ(got.range, expected.range) << "PRM " << prm << " range";
}

// The grid's change handling runs again: a value typed outside its row's range falls back to
// the row's initial value.
void expectEditsChecked(InitRig& rig)
{
    const std::optional<int> row = rig.session.parameters().rowOfPrm(4);
    ASSERT_TRUE(row.has_value());
    rig.params().setText(*row, kValueColumn, QStringLiteral("99999"));
    EXPECT_EQ(rig.value(4), rig.params().text(*row, kInitialColumn));
    EXPECT_FALSE(rig.session.guards().angleCheckHold);
}

}  // namespace

// ---- Init Point / Zones -------------------------------------------------------------------

TEST(InitTable, ErasesTheControllerThenEmptiesEveryRow)
{
    for (const sim::Options& o : {pointOptions(), pulseOptions()}) {
        InitRig rig(o);
        SCOPED_TRACE(rig.tableTitle().toStdString());
        rig.fillTable();
        rig.session.setModified(false);
        rig.watchLocking();
        bool cancelUsable = true;
        bool shown = false;
        bool stillFilled = false;
        QObject::connect(&rig.sim.controller, &sim::Controller::entryReceived,
                         [&](const QByteArray&) {
                             cancelUsable = rig.bar().cancelEnabled;
                             shown = rig.bar().visible;
                             stillFilled = !rig.cell(0, 1).isEmpty();
                         });
        rig.dialogs.answer(MsgAnswer::Yes).ok();
        EXPECT_EQ(exchange::InitTable(rig.session, rig.askToSave), exchange::Result::Done);

        EXPECT_EQ(rig.sent(), lines({rig.points() ? "@INIT PNT ,\r\n" : "@INIT ZON ,\r\n"}));
        EXPECT_EQ(rig.dialogs.boxes,
                  (QList<Box>{rig.tableQuestion(),
                              okText("Initializing has completed.", rig.tableTitle())}));
        EXPECT_TRUE(rig.tableEmpty()) << "every row empty, Note included";
        EXPECT_TRUE(stillFilled) << "rows emptied only after the controller's OK";
        EXPECT_EQ(rig.lockedWhileAsked, QList<bool>{true});
        EXPECT_FALSE(cancelUsable) << "Cancel disabled while the line waits";
        EXPECT_TRUE(shown);
        EXPECT_EQ(rig.bar().range, (QPair<int, int>{0, rig.points() ? 63 : 3}));
        EXPECT_EQ(rig.bar().value, rig.points() ? 63 : 3);
        EXPECT_TRUE(rig.bar().cancelEnabled);
        EXPECT_FALSE(rig.session.silence().settingMode) << "settei stays clear";
        if (rig.points()) {
            EXPECT_EQ(rig.sim.controller.points[5].mode, "");
        } else {
            EXPECT_EQ(rig.sim.controller.zones[1].a, "");
        }
        rig.expectRestored();
    }
}

TEST(InitTable, NoSendsNothing)
{
    for (const sim::Options& o : {pointOptions(), pulseOptions()}) {
        InitRig rig(o);
        rig.fillTable();
        const QString before = rig.tableText();
        rig.view.toolbarEnabled = false;
        rig.dialogs.answer(MsgAnswer::No);
        EXPECT_EQ(exchange::InitTable(rig.session, rig.askToSave), exchange::Result::Declined);
        EXPECT_TRUE(rig.sent().isEmpty());
        EXPECT_EQ(rig.dialogs.boxes, QList<Box>{rig.tableQuestion()});
        EXPECT_EQ(rig.tableText(), before);
        EXPECT_TRUE(rig.view.toolbarEnabled);
    }
}

TEST(InitTable, TheSaveQuestion)
{
    struct Case {
        const char* name;
        MsgAnswer answer;
        const char* file;  // nullptr: no save dialog; "": the dialog cancelled; "x": a file
        bool goesOn;
    };
    const Case cases[] = {
        {"Cancel sends nothing", MsgAnswer::Cancel, nullptr, false},
        {"No goes on unsaved", MsgAnswer::No, nullptr, true},
        {"Yes with the save dialog cancelled", MsgAnswer::Yes, "", false},
        {"Yes and saved", MsgAnswer::Yes, "x", true},
        {"Yes and the file cannot be written", MsgAnswer::Yes, "missing/x.csv", false},
    };
    for (const sim::Options& o : {pointOptions(), pulseOptions()}) {
        for (const Case& c : cases) {
            InitRig rig(o);
            SCOPED_TRACE(rig.tableTitle().toStdString() + ": " + c.name);
            QTemporaryDir dir;
            rig.fillTable();
            rig.session.setModified(true);
            const QString before = rig.tableText();
            rig.dialogs.answer(MsgAnswer::Yes).answer(c.answer);
            QList<Box> boxes{rig.tableQuestion(), saveQuestion()};
            if (c.file) {
                const QString path = QString::fromLatin1(c.file);
                rig.dialogs.file(path.isEmpty() ? path : dir.filePath(path + ".csv"));
                if (path == "x") {
                    rig.dialogs.ok();
                    boxes << okBox("    Complete.", "Save As");
                } else if (!path.isEmpty()) {
                    rig.dialogs.ok();
                    const QString file = dir.filePath(path + ".csv");
                    boxes << okText(file
                                        + " cannot be saved because it is read only or it is "
                                          "opened.\n\n"
                                        + file + ": No such file or directory",
                                    QString());
                }
            }
            if (c.goesOn) {
                rig.dialogs.ok();
                boxes << okText("Initializing has completed.", rig.tableTitle());
            }
            const exchange::Result result = exchange::InitTable(rig.session, rig.askToSave);

            EXPECT_EQ(rig.dialogs.boxes, boxes);
            EXPECT_EQ(rig.dialogs.pendingAnswers(), 0);
            if (c.goesOn) {
                EXPECT_EQ(result, exchange::Result::Done);
                EXPECT_EQ(rig.sent().size(), 1);
                EXPECT_TRUE(rig.tableEmpty());
            } else {
                EXPECT_EQ(result, exchange::Result::Declined);
                EXPECT_TRUE(rig.sent().isEmpty()) << "nothing sent";
                EXPECT_EQ(rig.tableText(), before);
            }
            rig.expectRestored();
        }
    }
}

// ---- Init Parameters ----------------------------------------------------------------------

TEST(InitParameters, PointInputType50FillsTheFactoryValues)
{
    InitRig rig;
    rig.spoilParameters();
    rig.watchLocking();
    rig.chooser.answers = {QStringLiteral("50")};
    rig.dialogs.answer(MsgAnswer::Yes).ok().answer(MsgAnswer::No);
    EXPECT_EQ(exchange::InitParameters(rig.session, rig.chooser, rig.askToSave),
              exchange::Result::Done);

    EXPECT_EQ(rig.sent(),
              lines({"@?VER ,\r\n", "@READ DIO ,\r\n", "@?PRM 0,\r\n", "@INIT PRM 50,\r\n"}));
    EXPECT_FALSE(rig.lockedWhileAsked.contains(false));
    EXPECT_EQ(rig.dialogs.boxes,
              (QList<Box>{question("Do you initialize parameter data?", kParamTitle),
                          okBox("Initializing has completed.", kParamTitle), englishQuestion()}));
    ASSERT_EQ(rig.chooser.asked.size(), 1);
    EXPECT_EQ(rig.chooser.asked[0].current, "61") << "the controller's own type preselected";
    EXPECT_FALSE(rig.chooser.asked[0].withoutMova);

    expectFactoryValues(rig, "50", {6, 28});
    expectRow(rig, 0, {"50", "50", "50 to 66 (PRM No.)"});
    expectRow(rig, 3, {"300", "300", "0 to 300 (*10^-6kg.m.m)"});
    expectRow(rig, 10, {"50", "50", "50 to 50 (*0.01rps)"});
    expectRow(rig, 4, {"100", "100", "1 to 100 (%)"});
    expectRow(rig, 22, {"1", "1", "0: English  1: Japanese"});  // No keeps the type's language
    // A current controller of version 1.10.
    expectRow(rig, 6, {"**", "**", ""});
    expectRow(rig, 28, {"0", "0", "0: ON  1: OFF"});
    EXPECT_EQ(rig.session.parameters().currentType(), "50");
    EXPECT_EQ(rig.sim.controller.params[0], "50");

    EXPECT_EQ(rig.view.originShift, "0");
    EXPECT_GE(rig.refreshes, 1);
    EXPECT_EQ(rig.bar().range, (QPair<int, int>{0, 16}));
    EXPECT_EQ(rig.bar().value, 16);
    EXPECT_TRUE(rig.bar().cancelEnabled);
    EXPECT_FALSE(rig.session.silence().settingMode);
    EXPECT_FALSE(rig.view.commandsLocked) << "error history (with the other commands) enabled";
    expectEditsChecked(rig);
    rig.expectRestored();
}

TEST(InitParameters, TheTypeDecidesValuesAndRanges)
{
    struct Case {
        sim::Options options;
        const char* type;
        RowTexts speed;  // parameter 10, "Org return speed"
    };
    const Case cases[] = {
        {pointOptions(), "61", {"10", "10", "1 to 50 (*0.01rps)"}},
        {pointOptions(), "66", {"10", "10", "1 to 50 (*0.01rps)"}},
        {pulseOptions(), "50", {"50", "50", "50 to 50 (*0.01rps)"}},
        {pulseOptions(), "64", {"10", "10", "1 to 50 (*0.01rps)"}},
    };
    for (const Case& c : cases) {
        InitRig rig(c.options);
        SCOPED_TRACE(std::string(rig.points() ? "points " : "zones ") + c.type);
        rig.spoilParameters();
        rig.chooser.answers = {QString::fromLatin1(c.type)};
        rig.dialogs.answer(MsgAnswer::Yes).ok().answer(MsgAnswer::No);
        EXPECT_EQ(exchange::InitParameters(rig.session, rig.chooser, rig.askToSave),
                  exchange::Result::Done);
        EXPECT_EQ(rig.sent().last(), "@INIT PRM " + QByteArray(c.type) + ",\r\n");
        expectFactoryValues(rig, c.type, rig.points() ? QList<int>{6, 28} : QList<int>{});
        expectRow(rig, 10, c.speed);
        if (QByteArray(c.type) == "66") {
            EXPECT_EQ(rig.session.parameters().inertiaLabel(), "-3      2");
        }
        EXPECT_EQ(rig.bar().range, (QPair<int, int>{0, rig.points() ? 16 : 10}));
        expectEditsChecked(rig);
        rig.expectRestored();
    }
}

TEST(InitParameters, PulseTrainSkipsVersionAndLayoutAndLeavesMovaOut)
{
    InitRig rig(pulseOptions());
    rig.session.guards().typeDialogWithoutFrame2 = true;
    rig.spoilParameters();
    rig.chooser.answers = {QStringLiteral("62")};
    rig.dialogs.answer(MsgAnswer::Yes).ok().answer(MsgAnswer::No);
    EXPECT_EQ(exchange::InitParameters(rig.session, rig.chooser, rig.askToSave),
              exchange::Result::Done);

    EXPECT_EQ(rig.sent(), lines({"@?PRM 0,\r\n", "@INIT PRM 62,\r\n"}));
    ASSERT_EQ(rig.chooser.asked.size(), 1);
    EXPECT_EQ(rig.chooser.asked[0].current, "61");
    EXPECT_TRUE(rig.chooser.asked[0].withoutMova);
    expectFactoryValues(rig, "62");
    EXPECT_EQ(rig.view.originShift, "0");
    rig.expectRestored();
}

TEST(InitParameters, EnglishWritesParameter22)
{
    struct Case {
        sim::Options options;
        QByteArray record;
    };
    const Case cases[] = {
        {pointOptions(), "PRM22=0\r\n"},
        {pulseOptions(), "PRM22 = 0\r\n"},
    };
    for (const Case& c : cases) {
        InitRig rig(c.options);
        SCOPED_TRACE(c.record.toStdString());
        rig.spoilParameters();
        rig.chooser.answers = {QStringLiteral("50")};
        rig.view.error = QStringLiteral("E99");
        rig.dialogs.answer(MsgAnswer::Yes).ok().answer(MsgAnswer::Yes).ok();
        EXPECT_EQ(exchange::InitParameters(rig.session, rig.chooser, rig.askToSave),
                  exchange::Result::Done);

        const QList<QByteArray> sent = rig.sent();
        ASSERT_GE(sent.size(), 3);
        EXPECT_EQ(sent.mid(sent.size() - 3),
                  (QList<QByteArray>{"@WRITE PRM ,\r\n", c.record, "\x1a"}));
        EXPECT_EQ(rig.dialogs.boxes.mid(1),
                  (QList<Box>{okBox("Initializing has completed.", kParamTitle), englishQuestion(),
                              okBox("    Complete.", "Parameter")}));
        EXPECT_EQ(rig.value(22), "0");
        EXPECT_EQ(rig.sim.controller.params[22], "0");
        EXPECT_EQ(rig.view.error, "");
        EXPECT_EQ(rig.bar().range, (QPair<int, int>{0, 2}));
        EXPECT_FALSE(rig.session.silence().settingMode);
        expectEditsChecked(rig);
        rig.expectRestored();
    }
}

TEST(InitParameters, ControllerGenerationAndVersionDecideParameters6And28)
{
    struct Case {
        const char* name;
        bool shortDio;
        QByteArray version;
        RowTexts prm6;
        RowTexts prm28;
    };
    const RowTexts absent{"**", "**", ""};
    const Case cases[] = {
        {"current controller", false, "1.10", absent, {"0", "0", "0: ON  1: OFF"}},
        {"version without no-limit mode", false, "1.05", absent, absent},
        {"version 1.82", false, "1.82", absent, absent},
        {"previous controller", true, "1.10", {"1", "1", "0: Invalid 1: Valid"}, absent},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim::Options o = pointOptions();
        o.shortDio = c.shortDio;
        o.version = c.version;
        InitRig rig(o);
        rig.chooser.answers = {QStringLiteral("63")};
        rig.dialogs.answer(MsgAnswer::Yes).ok().answer(MsgAnswer::No);
        EXPECT_EQ(exchange::InitParameters(rig.session, rig.chooser, rig.askToSave),
                  exchange::Result::Done);
        expectRow(rig, 6, c.prm6);
        expectRow(rig, 28, c.prm28);
    }
}

TEST(InitParameters, CancelInTheTypeDialogSendsNothingMore)
{
    for (const sim::Options& o : {pointOptions(), pulseOptions()}) {
        InitRig rig(o);
        SCOPED_TRACE(rig.points() ? "points" : "zones");
        rig.spoilParameters();
        const QString before = rig.gridText();
        rig.chooser.answers = {std::nullopt};
        rig.dialogs.answer(MsgAnswer::Yes);
        EXPECT_EQ(exchange::InitParameters(rig.session, rig.chooser, rig.askToSave),
                  exchange::Result::Declined);

        EXPECT_EQ(rig.sent(), rig.points()
                                  ? lines({"@?VER ,\r\n", "@READ DIO ,\r\n", "@?PRM 0,\r\n"})
                                  : lines({"@?PRM 0,\r\n"}));
        EXPECT_EQ(rig.dialogs.boxes.size(), 1) << "no box after Cancel";
        EXPECT_EQ(rig.gridText(), before);
        EXPECT_EQ(rig.sim.controller.params[0], "61");
        EXPECT_GE(rig.refreshes, 1) << "the end step refreshes the quick boxes";
        EXPECT_TRUE(rig.bar().cancelEnabled);
        EXPECT_FALSE(rig.view.commandsLocked);
        expectEditsChecked(rig);
        rig.expectRestored();
    }
}

TEST(InitParameters, NoAndTheSaveQuestionSendNothing)
{
    struct Case {
        const char* name;
        QList<MsgAnswer> answers;
        bool modified;
        const char* file;
    };
    const Case cases[] = {
        {"No to the confirmation", {MsgAnswer::No}, true, nullptr},
        {"Cancel to the save question", {MsgAnswer::Yes, MsgAnswer::Cancel}, true, nullptr},
        {"save dialog cancelled", {MsgAnswer::Yes, MsgAnswer::Yes}, true, ""},
    };
    for (const sim::Options& o : {pointOptions(), pulseOptions()}) {
        for (const Case& c : cases) {
            InitRig rig(o);
            SCOPED_TRACE(std::string(rig.points() ? "points: " : "zones: ") + c.name);
            rig.spoilParameters();
            rig.session.setModified(c.modified);
            const QString before = rig.gridText();
            for (MsgAnswer a : c.answers)
                rig.dialogs.answer(a);
            if (c.file)
                rig.dialogs.file(QString::fromLatin1(c.file));
            EXPECT_EQ(exchange::InitParameters(rig.session, rig.chooser, rig.askToSave),
                      exchange::Result::Declined);
            EXPECT_TRUE(rig.sent().isEmpty());
            EXPECT_TRUE(rig.chooser.asked.isEmpty());
            EXPECT_EQ(rig.gridText(), before);
            EXPECT_EQ(rig.dialogs.pendingAnswers(), 0);
            EXPECT_TRUE(rig.view.toolbarEnabled);
        }
    }
}

struct ParameterFault {
    const char* name;
    int family;
    const char* word;  // fault key: command word or record prefix
    sim::Fault fault;
    QList<Box> boxesAfterQuestion;
    exchange::Result result;
    bool chooserAsked;
    bool initialised;      // the controller said "OK" to "@INIT PRM "
    bool english = false;  // Yes to "Do you change to English?"
    double timeScale = kShort;
};

const Box kParamLinkError = linkErrorBox(kParamTitle);
const Box kInitDone = okBox("Initializing has completed.", kParamTitle);

const ParameterFault kParameterFaults[] = {
    {"version unanswered",
     0,
     "@?VER ",
     {Kind::NoReply, {}, 0},
     {kParamLinkError},
     exchange::Result::LinkError,
     false,
     false},
    {"version refused",
     0,
     "@?VER ",
     {Kind::Refuse, "E01", 0},
     {refusalBox()},
     exchange::Result::Refused,
     false,
     false},
    {"version reply cut short",
     0,
     "@?VER ",
     {Kind::CutReply, {}, 3},
     {kParamLinkError},
     exchange::Result::LinkError,
     false,
     false},
    {"layout unanswered",
     0,
     "@READ DIO ",
     {Kind::NoReply, {}, 0},
     {kParamLinkError},
     exchange::Result::LinkError,
     false,
     false},
    {"layout refused",
     0,
     "@READ DIO ",
     {Kind::Refuse, {}, 0},
     {refusalBox()},
     exchange::Result::Refused,
     false,
     false},
    {"layout reply cut short",
     0,
     "@READ DIO ",
     {Kind::CutReply, {}, 4},
     {kParamLinkError},
     exchange::Result::LinkError,
     false,
     false},
    {"type query unanswered",
     0,
     "@?PRM ",
     {Kind::NoReply, {}, 0},
     {kParamLinkError},
     exchange::Result::LinkError,
     false,
     false},
    {"type query refused",
     1,
     "@?PRM ",
     {Kind::Refuse, {}, 0},
     {refusalBox()},
     exchange::Result::Refused,
     false,
     false},
    {"type query cut short",
     1,
     "@?PRM ",
     {Kind::CutReply, {}, 2},
     {kParamLinkError},
     exchange::Result::LinkError,
     false,
     false},
    {"init unanswered",
     0,
     "@INIT PRM ",
     {Kind::NoReply, {}, 0},
     {kParamLinkError},
     exchange::Result::LinkError,
     true,
     false},
    // "NG" to the INIT line: the box says so, with the reply.
    {"init refused",
     0,
     "@INIT PRM ",
     {Kind::Refuse, "E05", 0},
     {refusalBoxWithReply(kParamTitle, "NG\nE05")},
     exchange::Result::Refused,
     true,
     false},
    {"init refused (pulse train)",
     1,
     "@INIT PRM ",
     {Kind::Refuse, "E05 TYPE", 0},
     {refusalBoxWithReply(kParamTitle, "NG\nE05 TYPE")},
     exchange::Result::Refused,
     true,
     false},
    {"init reply cut short",
     1,
     "@INIT PRM ",
     {Kind::CutReply, {}, 1},
     {kParamLinkError},
     exchange::Result::LinkError,
     true,
     false},
    {"init line closed mid-reply",
     0,
     "@INIT PRM ",
     {Kind::HangupMidReply, {}, 1},
     {kParamLinkError},
     exchange::Result::LinkError,
     true,
     false},
    {"language block unanswered",
     0,
     "@WRITE PRM ",
     {Kind::NoReply, {}, 0},
     {kInitDone, englishQuestion(), kParamLinkError},
     exchange::Result::LinkError,
     true,
     true,
     true},
    {"language block refused",
     1,
     "@WRITE PRM ",
     {Kind::Refuse, {}, 0},
     {kInitDone, englishQuestion(), refusalBox()},
     exchange::Result::Refused,
     true,
     true,
     true},
    {"language block reply cut short",
     0,
     "@WRITE PRM ",
     {Kind::CutReply, {}, 3},
     {kInitDone, englishQuestion(), kParamLinkError},
     exchange::Result::LinkError,
     true,
     true,
     true},
    {"language record refused",
     0,
     "PRM",
     {Kind::Refuse, {}, 0},
     {kInitDone, englishQuestion(), refusalBox()},
     exchange::Result::Refused,
     true,
     true,
     true,
     1.0},
    {"language end of data refused",
     1,
     "\x1a",
     {Kind::Refuse, {}, 0},
     {kInitDone, englishQuestion(), refusalBox()},
     exchange::Result::Refused,
     true,
     true,
     true},
};

TEST(InitParameters, EveryStepTimedOutRefusedOrCut)
{
    for (const ParameterFault& c : kParameterFaults) {
        SCOPED_TRACE(c.name);
        InitRig rig(c.family ? pulseOptions() : pointOptions());
        rig.session.setTimeScale(c.timeScale);
        rig.spoilParameters();
        const QString before = rig.gridText();
        rig.sim.controller.arm(c.word, c.fault);
        rig.chooser.answers = {QStringLiteral("50")};
        rig.watchLocking();
        rig.dialogs.answer(MsgAnswer::Yes);
        for (const Box& b : c.boxesAfterQuestion)
            rig.dialogs.answer(b.buttons == MsgButtons::Ok ? MsgAnswer::Ok
                               : c.english                 ? MsgAnswer::Yes
                                                           : MsgAnswer::No);
        EXPECT_EQ(exchange::InitParameters(rig.session, rig.chooser, rig.askToSave), c.result);

        EXPECT_EQ(rig.dialogs.boxes.mid(1), c.boxesAfterQuestion);
        EXPECT_EQ(rig.chooser.asked.size(), c.chooserAsked ? 1 : 0);
        if (c.initialised) {
            EXPECT_EQ(rig.session.parameters().currentType(), "50");
            EXPECT_EQ(rig.value(22), "1") << "the language write did not complete";
        } else {
            EXPECT_EQ(rig.gridText(), before) << "grid unchanged";
            EXPECT_EQ(rig.session.parameters().currentType(), "61");
        }
        if (c.boxesAfterQuestion.last().text.startsWith("Cannot receive data from controller.")) {
            EXPECT_TRUE(rig.view.error.startsWith("NG")) << rig.view.error.toStdString();
        }
        EXPECT_FALSE(rig.lockedWhileAsked.isEmpty());
        expectEditsChecked(rig);
        EXPECT_FALSE(rig.view.commandsLocked);
        rig.expectRestored();
    }
}

// ---- Init ORG and Changing Origin -------------------------------------------------------

namespace {

enum class OriginOp { InitOrigin, ChangeOrigin };

struct OriginCase {
    const char* name;
    OriginOp op;
    int family;
    const char* title;
    const char* question;
    const char* line;
    const char* done;
    const char* word;  // fault key
};

const OriginCase kOriginCases[] = {
    {"ORG, point input", OriginOp::InitOrigin, 0, "Initialization of the origin",
     " Do you initialize the origin?", "@INIT ORG ,\r\n",
     "Initialization of the origin has finished.", "@INIT ORG "},
    {"ORG, pulse train", OriginOp::InitOrigin, 1, "Initialization of the origin",
     " Do you initialize the origin?", "@INIT ORG ,\r\n",
     "Initialization of the origin has finished.", "@INIT ORG "},
    {"Changing Origin, point input", OriginOp::ChangeOrigin, 0, "Change the origin",
     "Do you change the origin?", "@ORGC ,\r\n", "Change of the origin has finished.", "@ORGC "},
    {"Changing Origin, pulse train", OriginOp::ChangeOrigin, 1, "Changing the origin",
     " Do you changing the origin?", "@ORGC ,\r\n", "Changing of the origin has finished.",
     "@ORGC "},
};

exchange::Result runOrigin(OriginOp op, Session& session)
{
    return op == OriginOp::InitOrigin ? exchange::InitOrigin(session)
                                      : exchange::ChangeOrigin(session);
}

// The rig of an origin command: the window usable, the Setting button disabled, so that the
// end step shows.
struct OriginRig : InitRig {
    explicit OriginRig(const OriginCase& c) : InitRig(c.family ? pulseOptions() : pointOptions())
    {
        view.windowEnabled = true;
        view.toolbarEnabled = true;
        view.commandsLocked = false;
        session.silence().settingMode = true;
        session.panel().setEnabled(Command::SettingMode, false);
    }
    void expectEndStep()
    {
        EXPECT_TRUE(session.silence().settingMode);
        EXPECT_TRUE(session.panel().enabled(Command::SettingMode));
        EXPECT_FALSE(bar().visible);
        EXPECT_TRUE(view.windowEnabled);
        EXPECT_FALSE(view.commandsLocked);
    }
};

}  // namespace

TEST(OriginCommands, SendTheirLineWithTheirTexts)
{
    for (const OriginCase& c : kOriginCases) {
        SCOPED_TRACE(c.name);
        OriginRig rig(c);
        rig.sim.controller.position = 12.5;
        rig.view.error = QStringLiteral("E99");
        bool windowEnabled = false;
        bool shown = false;
        QObject::connect(&rig.sim.controller, &sim::Controller::entryReceived,
                         [&](const QByteArray&) {
                             windowEnabled = rig.view.windowEnabled;
                             shown = rig.bar().visible;
                         });
        rig.dialogs.answer(MsgAnswer::Yes).ok();
        EXPECT_EQ(runOrigin(c.op, rig.session), exchange::Result::Done);

        EXPECT_EQ(rig.sent(), lines({c.line}));
        EXPECT_EQ(rig.dialogs.boxes,
                  (QList<Box>{question(c.question, c.title), okBox(c.done, c.title)}));
        EXPECT_TRUE(windowEnabled) << "the main window stays enabled";
        EXPECT_TRUE(shown);
        EXPECT_EQ(rig.bar().range, (QPair<int, int>{0, 1}));
        EXPECT_EQ(rig.bar().value, 1);
        EXPECT_EQ(rig.view.error, "");
        if (c.op == OriginOp::ChangeOrigin) {
            EXPECT_EQ(rig.sim.controller.params[35], "1250")
                << "the present position is the origin";
        }
        rig.expectEndStep();
    }
}

TEST(OriginCommands, NoSendsNothingButEndsAsUsual)
{
    for (const OriginCase& c : kOriginCases) {
        SCOPED_TRACE(c.name);
        OriginRig rig(c);
        rig.dialogs.answer(MsgAnswer::No);
        EXPECT_EQ(runOrigin(c.op, rig.session), exchange::Result::Declined);
        EXPECT_TRUE(rig.sent().isEmpty());
        EXPECT_EQ(rig.dialogs.boxes, QList<Box>{question(c.question, c.title)});
        rig.expectEndStep();
    }
}

TEST(OriginCommands, IgnoredWhileAMotionRuns)
{
    for (const OriginCase& c : kOriginCases) {
        SCOPED_TRACE(c.name);
        OriginRig rig(c);
        rig.session.drive().motionInProgress = true;
        rig.session.silence().motion = 1;
        EXPECT_EQ(runOrigin(c.op, rig.session), exchange::Result::Declined);
        EXPECT_TRUE(rig.sent().isEmpty());
        EXPECT_TRUE(rig.dialogs.boxes.isEmpty());
        EXPECT_FALSE(rig.session.panel().enabled(Command::SettingMode)) << "nothing at all happens";
        EXPECT_TRUE(rig.session.drive().motionInProgress);
    }
}
