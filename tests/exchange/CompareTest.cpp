// Compare of the point or zone table and the parameters against the simulated controller.
#include "exchange/Compare.h"
#include "ExchangeRig.h"

#include <cctype>

using namespace kap;
using namespace kap::test;
using exchange::CompareFinding;
using exchange::Result;
namespace compare = exchange::compare;

namespace {

using Kind = sim::Fault::Kind;

constexpr int kMode = PointTable::ModeColumn;
constexpr int kPos = PointTable::PositionColumn;
constexpr int kSpeed = PointTable::SpeedColumn;
constexpr int kNote = PointTable::NoteColumn;
constexpr int kA = ZoneTable::AngleAColumn;
constexpr int kB = ZoneTable::AngleBColumn;

// Time-outs run at a twentieth of their length, for the cases that wait one out. Cases whose
// reads are answered keep the full windows: a line crosses the pty through the kernel's
// deferred work, which a loaded machine can hold up past 150 ms, and the reply then comes
// "late" (what made CompareFrame.ProgressBarsAndModifiedMark fail once in a loaded run).
constexpr double kShort = 0.05;

const Box kQuestion = question("Do you compare data?", "Compare");
const Box kEqualBox = okBox("Comparison of data has finished successfully.", "Compare");
const Box kLinkError = linkErrorBox("Compare");
const Box kStopBox = okBox("Stop", "Compare", MsgIcon::Exclamation);

Box resultBox(const char* text)
{
    return okBox(text, "Compare");
}

const QList<QByteArray> kPointReads = lines({"@READ PNT ,\r\n", "@READ PRM ,\r\n"});
const QList<QByteArray> kZoneReads = lines({"@READ ZON ,\r\n", "@READ PRM ,\r\n"});

// Every parameter row of the grid as the controller holds it, so the parameter pass finds
// nothing unless a case changes a value.
void mirrorParameters(ExchangeRig& rig)
{
    for (const ParameterRow& r : rig.session.parameters().layout().rows)
        rig.putParam(r.prm, QString::fromLatin1(rig.sim.controller.params.value(r.prm, "0")));
}

// Every cell of both grids, their tags (the modified mark) and the window flags the compare
// must leave alone.
QString gridSnapshot(ExchangeRig& rig)
{
    QString s;
    for (Grid* g : {&rig.table(), &rig.params()}) {
        for (int r = -g->fixedRows(); r < g->rows(); ++r)
            for (int c = 0; c < g->columns(); ++c)
                s += g->text(r, c) + QLatin1Char('|');
        s += QStringLiteral("tag=") + g->tag() + QLatin1Char('\n');
    }
    return s;
}

QByteArray controllerSnapshot(ExchangeRig& rig)
{
    QByteArray s;
    for (const sim::Point& p : rig.sim.controller.points)
        s += p.mode + ',' + p.pos + ',' + p.speed + ';';
    for (const sim::Zone& z : rig.sim.controller.zones)
        s += z.a + ',' + z.b + ';';
    for (const QByteArray& v : rig.sim.controller.params)
        s += v + ';';
    return s;
}

// Runs the compare, answering Yes and the given count of OK boxes, and checks what holds for
// every ending: the grids, the modified mark and the controller's data are as before, settei
// is left clear and the window is usable again.
Result runCompare(ExchangeRig& rig, int okBoxes, CompareFinding* finding = nullptr)
{
    const QString grids = gridSnapshot(rig);
    const QByteArray controller = controllerSnapshot(rig);
    const bool modified = rig.session.isModified();
    rig.dialogs.answer(MsgAnswer::Yes).ok(okBoxes);
    const Result result = exchange::Compare(rig.session, finding);
    EXPECT_EQ(gridSnapshot(rig), grids) << "grids untouched";
    EXPECT_EQ(controllerSnapshot(rig), controller) << "controller untouched";
    EXPECT_EQ(rig.session.isModified(), modified) << "modified mark as it was";
    EXPECT_FALSE(rig.session.silence().settingMode) << "settei stays clear";
    EXPECT_EQ(rig.dialogs.pendingAnswers(), 0) << "every expected box was shown";
    rig.expectRestored();
    return result;
}

std::string testName(const char* name)
{
    std::string out;
    bool upper = true;
    for (const char* p = name; *p; ++p) {
        if (std::isalnum(static_cast<unsigned char>(*p))) {
            out += upper ? char(std::toupper(static_cast<unsigned char>(*p))) : *p;
            upper = false;
        } else {
            upper = true;
        }
    }
    return out;
}

}  // namespace

// ---- The rules of one row ----------------------------------------------------------------

TEST(CompareRules, LeadingNumber)
{
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"**", 0.0},   {"", 0.0},        {"0", 0.0},   {"12", 12.0},   {"12abc", 12.0},
        {" 7", 7.0},   {"-1250", -1250}, {"+3", 3.0},  {".5", 0.5},    {"5.", 5.0},
        {"90.00", 90}, {"-", 0.0},       {"abc", 0.0}, {"1.2.3", 1.2}, {"0050", 50.0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(compare::leadingNumber(c.text), c.value) << c.text;
}

TEST(CompareRules, PointRow)
{
    const std::optional<QString> absent;
    const struct {
        const char* name;
        QStringList cells;  // Mode, Position, Speed, Note
        std::optional<QString> body;
        bool differs;
    } cases[] = {
        {"same text", {"A", "90.00", "50", ""}, QString("A,90.00,50"), false},
        {"90.0 is not 90.00 (text)", {"A", "90.0", "50", ""}, QString("A,90.00,50"), true},
        {"050 is not 50 (text)", {"A", "90.00", "050", ""}, QString("A,90.00,50"), true},
        {"blank kept", {"A", "90.00 ", "50", ""}, QString("A,90.00,50"), true},
        {"other mode", {"I", "90.00", "50", ""}, QString("A,90.00,50"), true},
        {"a note is not compared (the controller keeps none)",
         {"A", "90.00", "50", "memo"},
         QString("A,90.00,50"),
         false},
        {"a fourth field is not compared",
         {"A", "90.00", "50", ""},
         QString("A,90.00,50,x"),
         false},
        {"empty row, no record", {"", "", "", ""}, absent, false},
        {"no cells at all, no record", {}, absent, false},
        {"filled row, no record", {"A", "1.00", "5", ""}, absent, true},
        {"only a note, no record", {"", "", "", "memo"}, absent, false},
        {"empty row, a record", {"", "", "", ""}, QString("A,1.00,5"), true},
        {"B: 2.00 against 2", {"B", "2.00", "", ""}, QString("B,2"), false},
        {"B: 2 against 2", {"B", "2", "", ""}, QString("B,2"), false},
        {"B: 1.00 against 2", {"B", "1.00", "", ""}, QString("B,2"), true},
        {"B: only the first characters count", {"B", "2.50", "", ""}, QString("B,2.75"), false},
        {"B: a five-character cell counts whole", {"B", "12.00", "", ""}, QString("B,12"), true},
        {"B: speed and note not compared once equal",
         {"B", "1.00", "30", "memo"},
         QString("B,1"),
         false},
        {"B in the grid, A from the controller", {"B", "1.00", "", ""}, QString("A,1.00,5"), true},
        {"A in the grid, B from the controller", {"A", "1.00", "", ""}, QString("B,1"), true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(compare::pointDiffers(c.cells, c.body), c.differs) << c.name;
}

TEST(CompareRules, ZoneRow)
{
    const std::optional<QStringList> absent;
    const struct {
        const char* name;
        QStringList cells;  // A, B
        std::optional<QStringList> fields;
        bool differs;
    } cases[] = {
        {"same text", {"10.00", "20.00"}, QStringList{"10.00", "20.00"}, false},
        {"90.0 equals 90.00 (number)", {"90.0", "180"}, QStringList{"90.00", "180.00"}, false},
        {"B differs", {"90.00", "180.01"}, QStringList{"90.00", "180.00"}, true},
        {"beyond single precision", {"10.000000001", "20"}, QStringList{"10", "20"}, false},
        {"empty cells, no record", {"", ""}, absent, false},
        {"filled row, no record", {"1.00", "2.00"}, absent, true},
        {"half-filled row, no record", {"", "2.00"}, absent, true},
        {"empty cells, a record (mend: a difference)",
         {"", ""},
         QStringList{"0.00", "10.00"},
         true},
        {"empty A only, a record", {"", "10.00"}, QStringList{"0.00", "10.00"}, true},
        {"no number in the cell", {"abc", "10.00"}, QStringList{"0.00", "10.00"}, true},
        {"no number from the controller", {"0.00", "10.00"}, QStringList{"0.00", "x"}, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(compare::zoneDiffers(c.cells, c.fields), c.differs) << c.name;
}

TEST(CompareRules, Parameter)
{
    const struct {
        const char* cell;
        const char* received;
        bool differs;
    } cases[] = {
        {"**", "0", false},    {"**", "1", true},  {"50", "50", false}, {"50", "050", false},
        {"50.0", "50", false}, {"50", "51", true}, {"", "0", false},    {"-1250", "-1250", false},
        {"1", "1x", false},    {"0", "**", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(compare::parameterDiffers(c.cell, c.received), c.differs)
            << c.cell << " against " << c.received;
}

// ---- The command against the controller ----------------------------------------------

// The first finding a case expects.
struct Found {
    CompareFinding::Kind kind = CompareFinding::Kind::Equal;
    int number = -1;
};

struct PointCase {
    const char* name;
    QMap<int, sim::Point> controller;
    QMap<int, QStringList> grid;   // row: Mode, Position, Speed[, Note]
    QByteArray garbage;            // record lines put in front of the controller's reply
    QMap<int, QByteArray> params;  // changed controller parameters
    const char* result;
    Found finding;
    QList<QByteArray> sent;
};

void PrintTo(const PointCase& c, std::ostream* os)
{
    *os << c.name;
}

const PointCase kPointCases[] = {
    {"all equal",
     {{0, {"A", "90.00", "50"}},
      {1, {"I", "-5.25", "20"}},
      {3, {"B", "1", ""}},
      {63, {"A", "0.00", "1"}}},
     {{0, {"A", "90.00", "50"}},
      {1, {"I", "-5.25", "20"}},
      {3, {"B", "1.00", ""}},
      {63, {"A", "0.00", "1"}}},
     {},
     {},
     "Comparison of data has finished successfully.",
     {},
     kPointReads},
    {"empty table on both sides",
     {},
     {},
     {},
     {},
     "Comparison of data has finished successfully.",
     {},
     kPointReads},
    {"a note does not make the point differ",
     {{4, {"A", "90.00", "50"}}},
     {{4, {"A", "90.00", "50", "memo"}}},
     {},
     {},
     "Comparison of data has finished successfully.",
     {},
     kPointReads},
    {"a note on an otherwise empty row",
     {},
     {{9, {"", "", "", "memo"}}},
     {},
     {},
     "Comparison of data has finished successfully.",
     {},
     kPointReads},
    {"90.0 against 90.00 differs (text)",
     {{2, {"A", "90.00", "50"}}},
     {{2, {"A", "90.0", "50"}}},
     {},
     {},
     "Point_No2 NG",
     {CompareFinding::Kind::Row, 2},
     lines({"@READ PNT ,\r\n"})},
    {"B mode with a position written 2.00",
     {{5, {"B", "2", ""}}},
     {{5, {"B", "2.00", ""}}},
     {},
     {},
     "Comparison of data has finished successfully.",
     {},
     kPointReads},
    {"B mode with a note is not compared past the position",
     {{5, {"B", "2", ""}}},
     {{5, {"B", "2.00", "", "memo"}}},
     {},
     {},
     "Comparison of data has finished successfully.",
     {},
     kPointReads},
    {"B mode with another position",
     {{5, {"B", "2", ""}}},
     {{5, {"B", "1.00", ""}}},
     {},
     {},
     "Point_No5 NG",
     {CompareFinding::Kind::Row, 5},
     lines({"@READ PNT ,\r\n"})},
    {"a point only in the grid",
     {},
     {{12, {"A", "1.00", "5"}}},
     {},
     {},
     "Point_No12 NG",
     {CompareFinding::Kind::Row, 12},
     lines({"@READ PNT ,\r\n"})},
    {"a point only in the controller",
     {{40, {"A", "1.00", "5"}}},
     {},
     {},
     {},
     "Point_No40 NG",
     {CompareFinding::Kind::Row, 40},
     lines({"@READ PNT ,\r\n"})},
    {"points 3 and 7 differ: only 3 is reported, parameters unread",
     {{3, {"A", "1.00", "5"}}, {7, {"A", "2.00", "5"}}},
     {{3, {"A", "1.00", "6"}}, {7, {"A", "2.00", "6"}}},
     {},
     {{1, "99"}},
     "Point_No3 NG",
     {CompareFinding::Kind::Row, 3},
     lines({"@READ PNT ,\r\n"})},
    {"point 10 is not taken for point 1",
     {{10, {"A", "90.00", "50"}}},
     {{1, {"A", "90.00", "50"}}, {10, {"A", "90.00", "50"}}},
     {},
     {},
     "Point_No1 NG",
     {CompareFinding::Kind::Row, 1},
     lines({"@READ PNT ,\r\n"})},
    {"a record with an empty body counts as absent",
     {},
     {},
     "P6=\r\n",
     {},
     "Comparison of data has finished successfully.",
     {},
     kPointReads},
    {"a fourth field is not compared with the note",
     {},
     {{6, {"A", "1.00", "5", "memo"}}},
     "P6=A,1.00,5,memo\r\n",
     {},
     "Comparison of data has finished successfully.",
     {},
     kPointReads},
    {"a parameter differs",
     {},
     {},
     {},
     {{21, "720"}},
     "Parameter_No21 NG",
     {CompareFinding::Kind::Parameter, 21},
     kPointReads},
    {"the actuator type differs",
     {},
     {},
     {},
     {{0, "62"}},
     "Parameter_No0 NG",
     {CompareFinding::Kind::Parameter, 0},
     kPointReads},
    {"parameters 4 and 35 differ: only 4 is reported",
     {},
     {},
     {},
     {{4, "1"}, {35, "5"}},
     "Parameter_No4 NG",
     {CompareFinding::Kind::Parameter, 4},
     kPointReads},
    {"a parameter the grid has no row for is read over",
     {},
     {},
     {},
     {{7, "123"}, {13, "1"}, {63, "9"}},
     "Comparison of data has finished successfully.",
     {},
     kPointReads},
};

class ComparePoints : public ::testing::TestWithParam<PointCase> {};

TEST_P(ComparePoints, ReportsTheFirstDifference)
{
    const PointCase& c = GetParam();
    ExchangeRig rig;
    for (auto it = c.controller.begin(); it != c.controller.end(); ++it)
        rig.sim.controller.points[it.key()] = it.value();
    for (auto it = c.grid.begin(); it != c.grid.end(); ++it) {
        const QStringList& cells = it.value();
        rig.putPoint(it.key(), cells.value(0), cells.value(1), cells.value(2));
        rig.put(it.key(), kNote, cells.value(3));
    }
    mirrorParameters(rig);
    for (auto it = c.params.begin(); it != c.params.end(); ++it)
        rig.sim.controller.params[it.key()] = it.value();
    if (!c.garbage.isEmpty())
        rig.sim.controller.arm("@READ PNT ", {Kind::Garbage, c.garbage, 0});
    rig.watchLocking();

    CompareFinding finding;
    EXPECT_EQ(runCompare(rig, 1, &finding), Result::Done);
    EXPECT_EQ(rig.dialogs.boxes, (QList<Box>{kQuestion, resultBox(c.result)}));
    EXPECT_EQ(finding.kind, c.finding.kind);
    EXPECT_EQ(finding.number, c.finding.number);
    EXPECT_EQ(rig.sent(), c.sent) << "nothing but the reads";
    EXPECT_FALSE(rig.lockedWhileAsked.contains(false))
        << "window locked while the controller is asked";
}

INSTANTIATE_TEST_SUITE_P(Cases, ComparePoints, ::testing::ValuesIn(kPointCases),
                         [](const auto& info) { return testName(info.param.name); });

struct ZoneCase {
    const char* name;
    QMap<int, sim::Zone> controller;
    QMap<int, QStringList> grid;  // row: A, B[, Note]
    QMap<int, QByteArray> params;
    const char* result;
    Found finding;
    QList<QByteArray> sent;
};

void PrintTo(const ZoneCase& c, std::ostream* os)
{
    *os << c.name;
}

const ZoneCase kZoneCases[] = {
    {"all equal",
     {{0, {"10.00", "20.00"}}, {3, {"0.00", "359.99"}}},
     {{0, {"10.00", "20.00"}}, {3, {"0.00", "359.99"}}},
     {},
     "Comparison of data has finished successfully.",
     {},
     kZoneReads},
    {"90.0 against 90.00 is equal (number)",
     {{1, {"90.00", "180.00"}}},
     {{1, {"90.0", "180"}}},
     {},
     "Comparison of data has finished successfully.",
     {},
     kZoneReads},
    {"a note is not compared",
     {{1, {"90.00", "180.00"}}},
     {{1, {"90.00", "180.00", "memo"}}},
     {},
     "Comparison of data has finished successfully.",
     {},
     kZoneReads},
    {"empty and absent is equal",
     {},
     {{2, {"", "", "memo"}}},
     {},
     "Comparison of data has finished successfully.",
     {},
     kZoneReads},
    {"angle B differs",
     {{2, {"10.00", "20.00"}}},
     {{2, {"10.00", "20.01"}}},
     {},
     "Zone_No2 NG",
     {CompareFinding::Kind::Row, 2},
     lines({"@READ ZON ,\r\n"})},
    {"an empty zone the controller reports differs (mend)",
     {{1, {"0.00", "10.00"}}},
     {},
     {},
     "Zone_No1 NG",
     {CompareFinding::Kind::Row, 1},
     lines({"@READ ZON ,\r\n"})},
    {"a zone only in the grid",
     {},
     {{3, {"1.00", "2.00"}}},
     {},
     "Zone_No3 NG",
     {CompareFinding::Kind::Row, 3},
     lines({"@READ ZON ,\r\n"})},
    {"zones 0 and 2 differ: only 0 is reported",
     {{0, {"1.00", "2.00"}}, {2, {"1.00", "2.00"}}},
     {{0, {"1.00", "3.00"}}, {2, {"1.00", "3.00"}}},
     {{4, "1"}},
     "Zone_No0 NG",
     {CompareFinding::Kind::Row, 0},
     lines({"@READ ZON ,\r\n"})},
    {"a parameter differs",
     {},
     {},
     {{53, "1999"}},
     "Parameter_No53 NG",
     {CompareFinding::Kind::Parameter, 53},
     kZoneReads},
    {"a point-input parameter is read over",
     {},
     {},
     {{21, "720"}, {1, "5"}},
     "Comparison of data has finished successfully.",
     {},
     kZoneReads},
};

class CompareZones : public ::testing::TestWithParam<ZoneCase> {};

TEST_P(CompareZones, ReportsTheFirstDifference)
{
    const ZoneCase& c = GetParam();
    // Full reply windows, as in CompareFrame: every read here is answered.
    ExchangeRig rig(pulseOptions());
    for (auto it = c.controller.begin(); it != c.controller.end(); ++it)
        rig.sim.controller.zones[it.key()] = it.value();
    for (auto it = c.grid.begin(); it != c.grid.end(); ++it) {
        rig.put(it.key(), kA, it.value().value(0));
        rig.put(it.key(), kB, it.value().value(1));
        rig.put(it.key(), ZoneTable::NoteColumn, it.value().value(2));
    }
    mirrorParameters(rig);
    for (auto it = c.params.begin(); it != c.params.end(); ++it)
        rig.sim.controller.params[it.key()] = it.value();

    CompareFinding finding;
    EXPECT_EQ(runCompare(rig, 1, &finding), Result::Done);
    EXPECT_EQ(rig.dialogs.boxes, (QList<Box>{kQuestion, resultBox(c.result)}));
    EXPECT_EQ(finding.kind, c.finding.kind);
    EXPECT_EQ(finding.number, c.finding.number);
    EXPECT_EQ(rig.sent(), c.sent) << "nothing but the reads";
}

INSTANTIATE_TEST_SUITE_P(Cases, CompareZones, ::testing::ValuesIn(kZoneCases),
                         [](const auto& info) { return testName(info.param.name); });

TEST(CompareParameters, NotApplicableCountsAsZero)
{
    struct Case {
        const char* name;
        QByteArray controllerValue;
        const char* result;
    };
    const Case cases[] = {
        {"** against 0", "0", "Comparison of data has finished successfully."},
        {"** against 1", "1", "Parameter_No6 NG"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ExchangeRig rig;
        mirrorParameters(rig);
        rig.putParam(6, QStringLiteral("**"), QStringLiteral("**"));
        rig.sim.controller.params[6] = c.controllerValue;
        runCompare(rig, 1);
        EXPECT_EQ(rig.dialogs.boxes, (QList<Box>{kQuestion, resultBox(c.result)}));
    }
}

TEST(CompareParameters, ValuesCompareAsNumbers)
{
    ExchangeRig rig;
    mirrorParameters(rig);
    rig.putParam(21, QStringLiteral("360.0"));
    rig.sim.controller.params[21] = "360";
    rig.putParam(35, QStringLiteral("-0"));
    rig.sim.controller.params[35] = "0";
    runCompare(rig, 1);
    EXPECT_EQ(rig.dialogs.boxes.last(), kEqualBox);
}

TEST(CompareFrame, ProgressBarsAndModifiedMark)
{
    for (const bool modified : {false, true}) {
        SCOPED_TRACE(modified ? "modified" : "unmodified");
        ExchangeRig rig;
        mirrorParameters(rig);
        rig.session.setModified(modified);
        rig.session.silence().settingMode = true;
        QList<QPair<int, int>> ranges;
        QObject::connect(&rig.sim.controller, &sim::Controller::entryReceived,
                         [&](const QByteArray&) { ranges.append(rig.bar().range); });
        runCompare(rig, 1);
        EXPECT_EQ(ranges, (QList<QPair<int, int>>{{0, 63}, {0, 63}}));
        EXPECT_EQ(rig.bar().value, 63);
    }
    // Full reply windows: each read is answered, and a window cut to a few hundredths can
    // run out on a loaded machine before the controller's side has even been served.
    ExchangeRig rig(pulseOptions());
    mirrorParameters(rig);
    QList<QPair<int, int>> ranges;
    QObject::connect(&rig.sim.controller, &sim::Controller::entryReceived,
                     [&](const QByteArray&) { ranges.append(rig.bar().range); });
    runCompare(rig, 1);
    EXPECT_EQ(ranges, (QList<QPair<int, int>>{{0, 3}, {0, 63}}));
}

TEST(CompareFrame, NoSendsNothing)
{
    for (const sim::Options& o : {pointOptions(), pulseOptions()}) {
        ExchangeRig rig(o);
        rig.view.toolbarEnabled = false;
        rig.dialogs.answer(MsgAnswer::No);
        EXPECT_EQ(exchange::Compare(rig.session), Result::Declined);
        EXPECT_TRUE(rig.sent().isEmpty());
        EXPECT_EQ(rig.dialogs.boxes, QList<Box>{kQuestion});
        EXPECT_TRUE(rig.view.toolbarEnabled);
        EXPECT_FALSE(rig.session.silence().settingMode);
    }
}

// ---- Cancel -------------------------------------------------------------------------------

TEST(CompareCancel, StopsWithoutAResult)
{
    struct Case {
        const char* name;
        sim::Options options;
        // Cancel pressed when the bar reaches this step of this read.
        int read;  // 0 the table, 1 the parameters
        int step;
        QList<QByteArray> sent;
    };
    const Case cases[] = {
        {"points", pointOptions(), 0, 10, lines({"@READ PNT ,\r\n"})},
        {"zones", pulseOptions(), 0, 2, lines({"@READ ZON ,\r\n"})},
        {"point-input parameters", pointOptions(), 1, 30, kPointReads},
        {"pulse-train parameters", pulseOptions(), 1, 0, kZoneReads},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ExchangeRig rig(c.options);  // full reply windows: both reads are answered
        mirrorParameters(rig);
        int reads = 0;
        QObject::connect(&rig.sim.controller, &sim::Controller::entryReceived,
                         [&](const QByteArray&) { ++reads; });
        rig.bar().onValue = [&](int v) {
            if (reads == c.read + 1 && v == c.step) {
                rig.bar().tag = QStringLiteral("1");
                rig.bar().onValue = nullptr;
            }
        };
        EXPECT_EQ(runCompare(rig, 1), Result::Cancelled);
        EXPECT_EQ(rig.dialogs.boxes, (QList<Box>{kQuestion, kStopBox})) << "no result box";
        EXPECT_EQ(rig.bar().value, c.step) << "stopped at the step";
        EXPECT_EQ(rig.bar().tag, "0");
        EXPECT_EQ(rig.sent(), c.sent);
        EXPECT_FALSE(rig.view.commandsLocked);
    }
}

TEST(CompareCancel, AClickLeftFromAnEarlierOperationDoesNotStopIt)
{
    ExchangeRig rig;
    mirrorParameters(rig);
    rig.bar().tag = QStringLiteral("1");
    EXPECT_EQ(runCompare(rig, 1), Result::Done);
    EXPECT_EQ(rig.dialogs.boxes.last(), kEqualBox);
}

// ---- Failures -------------------------------------------------------------------------------

struct FailureCase {
    const char* name;
    int family;
    const char* word;
    sim::Fault fault;
    Box box;
    Result result;
    bool parametersRead;  // the failing read is the parameter read
};

void PrintTo(const FailureCase& c, std::ostream* os)
{
    *os << c.name;
}

const FailureCase kFailureCases[] = {
    {"point read time-out",
     0,
     "@READ PNT ",
     {Kind::NoReply, {}, 0},
     kLinkError,
     Result::LinkError,
     false},
    {"point read refused",
     0,
     "@READ PNT ",
     {Kind::Refuse, "E05", 0},
     refusalBox(),
     Result::Refused,
     false},
    {"point read cut short",
     0,
     "@READ PNT ",
     {Kind::CutReply, {}, 9},
     kLinkError,
     Result::LinkError,
     false},
    {"point read line closed mid-reply",
     0,
     "@READ PNT ",
     {Kind::HangupMidReply, {}, 8},
     kLinkError,
     Result::LinkError,
     false},
    {"point read with a stray byte",
     0,
     "@READ PNT ",
     {Kind::Garbage, "\x7f", 0},
     kLinkError,
     Result::LinkError,
     false},
    {"point read with a malformed record",
     0,
     "@READ PNT ",
     {Kind::Garbage, "P5=broken\r\n", 0},
     kLinkError,
     Result::LinkError,
     false},
    {"point read without OK",
     0,
     "@READ PNT ",
     {Kind::Garbage, "READY\r\n", 0},
     kLinkError,
     Result::LinkError,
     false},
    {"zone read time-out",
     1,
     "@READ ZON ",
     {Kind::NoReply, {}, 0},
     kLinkError,
     Result::LinkError,
     false},
    {"zone read refused",
     1,
     "@READ ZON ",
     {Kind::Refuse, {}, 0},
     refusalBox(),
     Result::Refused,
     false},
    {"zone read cut short",
     1,
     "@READ ZON ",
     {Kind::CutReply, {}, 6},
     kLinkError,
     Result::LinkError,
     false},
    {"zone read with a record that cannot be split",
     1,
     "@READ ZON ",
     {Kind::Garbage, "Z2=10.00\r\n", 0},
     kLinkError,
     Result::LinkError,
     false},
    {"parameter read time-out",
     0,
     "@READ PRM ",
     {Kind::NoReply, {}, 0},
     kLinkError,
     Result::LinkError,
     true},
    // "NG" to the parameter read is a reply without "OK": the communication-error box.
    {"parameter read refused",
     0,
     "@READ PRM ",
     {Kind::Refuse, "E05", 0},
     kLinkError,
     Result::LinkError,
     true},
    {"parameter read cut short",
     1,
     "@READ PRM ",
     {Kind::CutReply, {}, 40},
     kLinkError,
     Result::LinkError,
     true},
    {"parameter read line closed mid-reply",
     1,
     "@READ PRM ",
     {Kind::HangupMidReply, {}, 30},
     kLinkError,
     Result::LinkError,
     true},
    {"parameter read with garbage first",
     0,
     "@READ PRM ",
     {Kind::Garbage, "\x02\x7f", 0},
     kLinkError,
     Result::LinkError,
     true},
};

class CompareFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(CompareFailure, EndsWithItsBoxAndNoResult)
{
    const FailureCase& c = GetParam();
    ExchangeRig rig(c.family ? pulseOptions() : pointOptions());
    rig.session.setTimeScale(kShort);
    if (c.family == 0) {
        rig.putPoint(0, "A", "1.00", "1");
        rig.sim.controller.points[0] = {"A", "1.00", "1"};
    } else {
        rig.put(0, kA, "1.00");
        rig.put(0, kB, "2.00");
        rig.sim.controller.zones[0] = {"1.00", "2.00"};
    }
    mirrorParameters(rig);
    rig.sim.controller.arm(c.word, c.fault);
    rig.view.error.clear();
    rig.watchLocking();

    EXPECT_EQ(runCompare(rig, 1), c.result);
    EXPECT_EQ(rig.dialogs.boxes, (QList<Box>{kQuestion, c.box})) << "no result box";
    const QList<QByteArray> reads = c.family ? kZoneReads : kPointReads;
    EXPECT_EQ(rig.sent(), reads.mid(0, c.parametersRead ? 2 : 1));
    EXPECT_FALSE(rig.lockedWhileAsked.contains(false));
    if (c.box == refusalBox()) {
        EXPECT_TRUE(rig.view.error.startsWith("NG")) << rig.view.error.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, CompareFailure, ::testing::ValuesIn(kFailureCases),
                         [](const auto& info) { return testName(info.param.name); });

TEST(CompareFailures, StopReplyShowsNoRefusalBox)
{
    // A reply with "STOP" besides "NG" is shown, without the refusal box.
    ExchangeRig rig;
    rig.session.setTimeScale(kShort);
    rig.sim.controller.arm("@READ PNT ", {Kind::Refuse, "STOP", 0});
    EXPECT_EQ(runCompare(rig, 0), Result::Refused);
    EXPECT_EQ(rig.dialogs.boxes, QList<Box>{kQuestion});
    EXPECT_TRUE(rig.view.error.contains("STOP"));
}

TEST(CompareEvery, ListsEachDifferenceWithBothSidesAndGoesOnToTheParameters)
{
    ExchangeRig rig;
    mirrorParameters(rig);
    for (int k : {1, 4})
        rig.putPoint(k, QStringLiteral("A"), QStringLiteral("12.00"), QStringLiteral("50"));
    rig.sim.controller.points[1] = {"A", "12.00", "50"};
    rig.sim.controller.points[4] = {"A", "13.00", "50"};
    rig.putPoint(7, QStringLiteral("I"), QStringLiteral("5.00"), QStringLiteral("20"));
    // A brake point in the form of its record, and a Note that is never compared.
    rig.putPoint(9, QStringLiteral("B"), QStringLiteral("2.00"), QString());
    rig.put(9, kNote, QStringLiteral("memo"));
    rig.sim.controller.points[9] = {"B", "3", ""};
    rig.put(1, kNote, QStringLiteral("memo"));
    rig.putParam(21, QStringLiteral("180.0"));
    rig.sim.controller.params[21] = "360";

    CompareFinding first;
    QList<CompareFinding> every;
    rig.dialogs.answer(MsgAnswer::Yes).ok(1);
    EXPECT_EQ(exchange::Compare(rig.session, &first, &every), Result::Done);
    QStringList listed;
    for (const CompareFinding& f : every)
        listed << QStringLiteral("%1 %2: %3 | %4")
                      .arg(f.kind == CompareFinding::Kind::Row ? "row" : "prm")
                      .arg(f.number)
                      .arg(f.mine, f.theirs);
    EXPECT_EQ(listed,
              (QStringList{"row 4: A,12.00,50 | A,13.00,50", "row 7: I,5.00,20 | (no record)",
                           "row 9: B,2.00 | B,3", "prm 21: 180.0 | 360"}));
    EXPECT_EQ(first.kind, CompareFinding::Kind::Row);
    EXPECT_EQ(first.number, 4);
    EXPECT_EQ(rig.dialogs.boxes.last(), resultBox("Point_No4 NG"));
    EXPECT_EQ(rig.sent(), kPointReads) << "the parameters are read after a table difference";
}
