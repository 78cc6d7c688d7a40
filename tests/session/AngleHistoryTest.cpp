// The angle history: which refreshes become samples, when the lamps are recorded, and what
// the history keeps.
#include "session/AngleHistory.h"
#include "session/PanelState.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace kap;

TEST(AngleHistory, EveryRefreshThatReadsAsANumberIsASample)
{
    PanelState panel;
    qint64 t = 1000;
    AngleHistory history(panel, [&] { return t; });
    QSignalSpy added(&history, &AngleHistory::sampleAdded);
    const struct {
        const char* text;
        bool kept;
        double degrees;
    } cases[] = {
        {"76.56", true, 76.56},  {"76.56", true, 76.56},  // unchanged text is still a reading
        {"-12.30", true, -12.3}, {"0.00", true, 0.0},    {" 5.00 ", true, 5.0}, {"", false, 0},
        {"?", false, 0},         {"12.3x", false, 0},    {"nan", false, 0},     {"inf", false, 0},
        {"STOP", false, 0},      {"1e12", false, 0},
    };
    int expected = 0;
    for (const auto& c : cases) {
        t += 100;
        panel.setCurrentAngle(QString::fromLatin1(c.text));
        if (c.kept)
            ++expected;
        ASSERT_EQ(history.sampleCount(), expected) << c.text;
        if (c.kept) {
            EXPECT_EQ(history.latest()->ms, t) << c.text;
            EXPECT_DOUBLE_EQ(history.latest()->degrees, c.degrees) << c.text;
        }
    }
    EXPECT_EQ(added.count(), expected);
}

TEST(AngleHistory, LampsAreRecordedOnlyWhenTheyChange)
{
    PanelState panel;
    qint64 t = 0;
    AngleHistory history(panel, [&] { return t; });
    const struct {
        qint64 at;
        int lamp;  // -1: some other change of the panel
        bool on;
        quint16 mask;
        int records;  // including the state at the start
    } steps[] = {
        {100, 3, true, 0x0008, 2},  {200, 3, true, 0x0008, 2},  {300, -1, false, 0x0008, 2},
        {400, 13, true, 0x2008, 3}, {500, 3, false, 0x2000, 4}, {600, 20, true, 0x2000, 4},
    };
    for (const auto& s : steps) {
        t = s.at;
        if (s.lamp == -1) {
            panel.setCurrentAngle(QStringLiteral("1.00"));
            panel.setEnabled(Command::Start, true);
        } else {
            panel.setLamp(s.lamp, s.on);
        }
        EXPECT_EQ(history.lampChangeCount(), s.records) << s.at;
        EXPECT_EQ(history.lampsAt(s.at), s.mask) << s.at;
    }
    const struct {
        qint64 at;
        quint16 mask;
    } queries[] = {{-50, 0}, {99, 0}, {100, 0x0008}, {399, 0x0008}, {450, 0x2008}, {9999, 0x2000}};
    for (const auto& q : queries)
        EXPECT_EQ(history.lampsAt(q.at), q.mask) << q.at;
    const QList<LampChange> changes = history.lampChanges(100, 500);  // (from, to]
    ASSERT_EQ(changes.size(), 2);
    EXPECT_EQ(changes[0].ms, 400);
    EXPECT_EQ(changes[1].ms, 500);
}

TEST(AngleHistory, SpanQueryAndBounds)
{
    PanelState panel;
    qint64 t = 0;
    AngleHistory history(panel, [&] { return t; });
    panel.setLamp(0, true);  // at 0, and never again
    for (t = 0; t <= 20'000; t += 1000)
        panel.setCurrentAngle(QString::number(t / 1000.0, 'f', 2));

    const QList<AngleSample> span = history.samples(5000, 8000);  // both ends included
    ASSERT_EQ(span.size(), 4);
    EXPECT_EQ(span.front().ms, 5000);
    EXPECT_EQ(span.back().ms, 8000);
    EXPECT_TRUE(history.samples(20'001, 30'000).isEmpty());

    // Ten minutes on, only the last ten minutes are left; the lamp lit before them still is.
    t = 20'000 + AngleHistory::kDefaultKeepMs - 5500;
    panel.setCurrentAngle(QStringLiteral("1.00"));
    t += 500;
    panel.setCurrentAngle(QStringLiteral("2.00"));
    EXPECT_EQ(history.samples(0, t).front().ms, 15'000);
    EXPECT_EQ(history.sampleCount(), 8);
    EXPECT_EQ(history.lampsAt(t - AngleHistory::kDefaultKeepMs), 0x0001);

    // And never more than the count allows, the oldest going first.
    history.setLimits(AngleHistory::kDefaultKeepMs, 3);
    EXPECT_EQ(history.sampleCount(), 3);
    EXPECT_EQ(history.samples(0, t).front().ms, 20'000);

    // A clock that steps back cannot put a sample before the newest.
    t -= 1000;
    panel.setCurrentAngle(QStringLiteral("3.00"));
    EXPECT_EQ(history.latest()->ms, t + 1000);
}
