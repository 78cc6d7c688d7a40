// The angle plot window: lamp rows per family, the time span, Export PNG, and no timer while
// hidden. The pictures are read back pixel by pixel, so the tests see what the user sees.
#include "ui/toolwindows/AnglePlotWindow.h"
#include "FakeView.h"
#include "session/PanelState.h"

#include <QComboBox>
#include <QImage>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

using namespace kap;
using namespace kap::test;

namespace {

// A horizontal run of the lit-lamp green in the picture, one per lit lamp row.
struct Band {
    int yCentre;
    int xMin, xMax;
};

QList<Band> greenBands(const QImage& image)
{
    QList<Band> bands;
    int first = -1;
    Band band{};
    for (int y = 0; y <= image.height(); ++y) {
        int xMin = -1, xMax = -1;
        for (int x = 0; y < image.height() && x < image.width(); ++x)
            if (image.pixel(x, y) == qRgb(40, 160, 60)) {
                if (xMin < 0)
                    xMin = x;
                xMax = x;
            }
        if (xMin >= 0 && first < 0) {
            first = y;
            band = {0, xMin, xMax};
        } else if (xMin < 0 && first >= 0) {
            band.yCentre = (first + y - 1) / 2;
            bands.append(band);
            first = -1;
        }
    }
    return bands;
}

struct Plot {
    explicit Plot(Family family)
        : history(panel, [this] { return t; }), window(history, family, dialogs)
    {
    }
    PanelState panel;
    qint64 t = 0;
    AngleHistory history;
    ScriptedDialogs dialogs;
    AnglePlotWindow window;
};

}  // namespace

TEST(AnglePlotWindow, LampRowsFollowTheFamilyAndBarsFollowTheSpan)
{
    const struct {
        Family family;
        int pos5Row;  // row of "Pos 5" (lamp 8) below READY
    } families[] = {{Family::PointInput, 9}, {Family::PulseTrain, 7}};
    const struct {
        const char* span;
        double litShare;  // of a lamp lit 30 s ago, of the plot's width
    } spans[] = {{"10 s", 1.0}, {"60 s", 0.5}, {"2 min", 0.25}};
    for (const auto& f : families) {
        Plot plot(f.family);
        plot.window.resize(800, 560);
        plot.panel.setLamp(2, true);  // row 1: lit since the start
        plot.panel.setLamp(8, true);
        plot.t = 570'000;
        plot.panel.setLamp(3, true);  // row 0: lit for the last 30 s
        plot.panel.setCurrentAngle(QStringLiteral("12.50"));
        plot.t = 600'000;
        auto* spanBox = child<QComboBox>(&plot.window, "cboSpan");
        ASSERT_TRUE(spanBox);
        for (const auto& s : spans) {
            spanBox->setCurrentText(QString::fromLatin1(s.span));
            const QList<Band> bands = greenBands(plot.window.chart()->grab().toImage());
            ASSERT_EQ(bands.size(), 3) << s.span;
            const Band& ready = bands[0];
            const Band& always = bands[1];
            const double rowH = always.yCentre - ready.yCentre;
            EXPECT_NEAR((bands[2].yCentre - ready.yCentre) / rowH, f.pos5Row, 0.1);
            EXPECT_EQ(ready.xMax, always.xMax);
            EXPECT_NEAR(double(ready.xMax - ready.xMin) / (always.xMax - always.xMin), s.litShare,
                        0.02)
                << s.span;
        }
    }
}

TEST(AnglePlotWindow, ExportWritesTheChartAndReportsAFailure)
{
    Plot plot(Family::PulseTrain);
    ScriptedDialogs& dialogs = plot.dialogs;
    plot.window.resize(900, 600);
    QTemporaryDir dir;
    const QString good = dir.filePath(QStringLiteral("plot.png"));
    const QString bad = dir.filePath(QStringLiteral("missing/plot.png"));
    auto* button = child<QPushButton>(&plot.window, "cmdExport");
    ASSERT_TRUE(button);

    dialogs.file(good);
    button->click();
    const QImage saved(good, "PNG");
    EXPECT_FALSE(saved.isNull());
    EXPECT_EQ(saved.size(), plot.window.chart()->size());
    EXPECT_TRUE(dialogs.boxes.isEmpty());

    dialogs.file(bad).ok();
    button->click();
    EXPECT_FALSE(QFile::exists(bad));
    ASSERT_EQ(dialogs.boxes.size(), 1);
    EXPECT_EQ(dialogs.boxes[0].icon, MsgIcon::Exclamation);
    EXPECT_TRUE(dialogs.boxes[0].text.contains(bad));

    dialogs.file(QString());  // cancelled: nothing written, no box
    button->click();
    EXPECT_EQ(dialogs.boxes.size(), 1);
    EXPECT_EQ(dialogs.pendingAnswers(), 0);
}

TEST(AnglePlotWindow, TheTimeAxisTimerRunsOnlyWhileShown)
{
    Plot plot(Family::PointInput);
    auto* timer = plot.window.findChild<QTimer*>(QStringLiteral("tmrScroll"));
    ASSERT_TRUE(timer);
    EXPECT_FALSE(timer->isActive());
    plot.window.show();
    EXPECT_TRUE(timer->isActive());
    plot.window.hide();
    EXPECT_FALSE(timer->isActive());
}
