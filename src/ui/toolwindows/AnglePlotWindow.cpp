#include "ui/toolwindows/AnglePlotWindow.h"

#include "platform/Dialogs.h"
#include "platform/SafeFile.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QHBoxLayout>
#include <QImage>
#include <QImageWriter>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace kap {

namespace {

// A refresh gap longer than this (monitor paused, link lost) breaks the line rather than
// drawing a straight move the actuator may never have made.
constexpr qint64 kGapMs = 3000;
// The current value is marked stale after this long without a reading.
constexpr qint64 kStaleMs = 3000;
constexpr int kScrollIntervalMs = 200;
constexpr qint64 kDefaultSpanMs = 60'000;

const QColor kPlotBackground(255, 255, 255);
const QColor kFrame(120, 120, 120);
const QColor kGrid(222, 222, 222);
const QColor kLine(25, 80, 170);
const QColor kText(40, 40, 40);
const QColor kDimText(120, 120, 120);
const QColor kRowShade(244, 244, 244);
const QColor kLit(40, 160, 60);
const QColor kAlarmLit(210, 40, 40);

struct Axis {
    double lo = 0, hi = 1, step = 0.5;
    int steps = 2;  // ticks at lo + k * step, k = 0 .. steps
    int decimals = 1;
};

// 1, 2 or 5 times a power of ten, whichever is nearest raw.
double niceStep(double raw)
{
    const double e = std::pow(10.0, std::floor(std::log10(raw)));
    const double f = raw / e;
    return (f < 1.5 ? 1.0 : f < 3.0 ? 2.0 : f < 7.0 ? 5.0 : 10.0) * e;
}

Axis angleAxis(double lo, double hi, int targetTicks)
{
    // The angle reads in hundredths: a still actuator gets a one-degree window, not noise
    // blown up to the full height.
    if (hi - lo < 1.0) {
        const double mid = (lo + hi) / 2;
        lo = mid - 0.5;
        hi = mid + 0.5;
    }
    const double margin = (hi - lo) * 0.05;
    lo -= margin;
    hi += margin;
    Axis a;
    a.step = niceStep((hi - lo) / std::max(targetTicks, 2));
    a.lo = std::floor(lo / a.step) * a.step;
    a.hi = std::ceil(hi / a.step) * a.step;
    a.steps = std::clamp(int(std::lround((a.hi - a.lo) / a.step)), 1, 100);
    a.decimals = std::max(0, int(-std::floor(std::log10(a.step) + 1e-9)));
    return a;
}

QString tickText(double v, const Axis& a)
{
    if (std::abs(v) < a.step / 2)
        v = 0;  // no "-0.0"
    // The same minus sign as the time axis.
    return QString::number(v, 'f', a.decimals).replace(QLatin1Char('-'), QChar(0x2212));
}

// A lamp row's caption as shown: the signal name as the drive panel shows it (the panel has
// the translations of these names).
QString shownCaption(const LampRow& row)
{
    return QCoreApplication::translate("kap::DrivePanel", row.caption.toUtf8().constData());
}

QString secondsText(qint64 ms)
{
    const qint64 s = ms / 1000;
    return s == 0 ? AnglePlotWindow::tr("0 s") : AnglePlotWindow::tr("\u2212%1 s").arg(s);
}

// Thousands of readings across a few hundred pixel columns: per column the first, lowest,
// highest and last reading draw the same line at a fraction of the cost.
QList<AngleSample> thinned(const QList<AngleSample>& in, qint64 from, qint64 span, int columns)
{
    if (in.size() <= 4 * qsizetype(columns))
        return in;
    const auto columnOf = [&](qint64 ms) {
        return qint64(std::floor(double(ms - from) * columns / double(span)));
    };
    QList<AngleSample> out;
    qsizetype i = 0;
    while (i < in.size()) {
        const qint64 column = columnOf(in[i].ms);
        qsizetype j = i, lo = i, hi = i;
        for (; j < in.size() && columnOf(in[j].ms) == column; ++j) {
            if (in[j].degrees < in[lo].degrees)
                lo = j;
            if (in[j].degrees > in[hi].degrees)
                hi = j;
        }
        qsizetype previous = -1;
        for (qsizetype k : {i, std::min(lo, hi), std::max(lo, hi), j - 1}) {
            if (k != previous)
                out.append(in[k]);
            previous = k;
        }
        i = j;
    }
    return out;
}

class PlotChart : public QWidget {
public:
    PlotChart(const AnglePlotWindow& window, const QPointer<AngleHistory>& history, QWidget* parent)
        : QWidget(parent), window_(window), history_(history)
    {
        setObjectName(QStringLiteral("picPlot"));
        setAttribute(Qt::WA_OpaquePaintEvent);
        setMinimumSize(640, 380);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        paint(p);
    }

private:
    void paint(QPainter& p);

    const AnglePlotWindow& window_;
    const QPointer<AngleHistory>& history_;
};

void PlotChart::paint(QPainter& p)
{
    const QRect r = rect();
    p.fillRect(r, palette().window());
    p.setFont(font());
    const QFontMetrics fm(font());
    QFont bigFont = font();
    bigFont.setPointSizeF(font().pointSizeF() * 1.3);
    bigFont.setBold(true);
    const QFontMetrics bigFm(bigFont);

    const qint64 span = window_.spanMs();
    const qint64 now = history_ ? history_->now() : 0;
    const qint64 from = now - span;
    QList<AngleSample> samples = history_ ? history_->samples(from - kGapMs, now)
                                          : QList<AngleSample>{};
    // Of the readings before the left edge only the last is kept, so the line runs into the
    // edge; the scale takes its value where the line crosses the edge.
    qsizetype firstInSpan = 0;
    while (firstInSpan < samples.size() && samples[firstInSpan].ms < from)
        ++firstInSpan;
    if (firstInSpan > 1) {
        samples.remove(0, firstInSpan - 1);
        firstInSpan = 1;
    }
    const QList<LampRow>& rows = window_.lampRows();

    // Vertical layout: heading, angle chart, lamp rows, time labels.
    const int pad = 8;
    const int headerH = bigFm.height() + 4;
    const int rowH = fm.height() + 4;
    const int lampsH = int(rows.size()) * rowH;
    const int xLabelH = fm.height() + 6;
    const int plotTop = r.top() + pad + headerH + pad;
    const int lampsBottom = r.bottom() - pad - xLabelH;
    const int lampsTop = lampsBottom - lampsH;
    const int plotBottom = lampsTop - pad;
    const int plotH = std::max(plotBottom - plotTop, 10);

    QList<double> shown;
    for (qsizetype i = firstInSpan; i < samples.size(); ++i)
        shown.append(samples[i].degrees);
    if (firstInSpan == 1 && samples.size() > 1 && samples[1].ms - samples[0].ms <= kGapMs) {
        const AngleSample& a = samples[0];
        const AngleSample& b = samples[1];
        shown.append(a.degrees
                     + (b.degrees - a.degrees) * double(from - a.ms) / double(b.ms - a.ms));
    }
    double lo = 0, hi = 0;
    if (!shown.isEmpty()) {
        const auto [mn, mx] = std::minmax_element(shown.cbegin(), shown.cend());
        lo = *mn;
        hi = *mx;
    }
    const Axis axis = angleAxis(lo, hi, plotH / (fm.height() * 2));
    int labelW = 0;
    for (int k = 0; k <= axis.steps; ++k)
        labelW = std::max(labelW, fm.horizontalAdvance(tickText(axis.lo + k * axis.step, axis)));
    for (const LampRow& row : rows)
        labelW = std::max(labelW, fm.horizontalAdvance(shownCaption(row)));
    const int left = r.left() + pad + labelW + pad;
    const int right = r.right() - pad - fm.horizontalAdvance(secondsText(0)) / 2;
    const QRect plot(QPoint(left, plotTop), QPoint(right, plotTop + plotH));
    const QRect lamps(QPoint(left, lampsTop), QPoint(right, lampsBottom));

    const auto xOf = [&](qint64 ms) {
        return plot.left() + double(ms - from) * plot.width() / double(span);
    };
    const auto yOf = [&](double deg) {
        return plot.bottom() - (deg - axis.lo) * plot.height() / (axis.hi - axis.lo);
    };

    // Heading: what is plotted on the left, the current value on the right.
    p.setPen(kText);
    p.drawText(QRect(left, r.top() + pad, plot.width(), headerH), Qt::AlignLeft | Qt::AlignVCenter,
               AnglePlotWindow::tr("Angle (deg)"));
    const AngleSample* latest = history_ ? history_->latest() : nullptr;
    QString stale;
    if (latest && now - latest->ms > kStaleMs)
        stale = AnglePlotWindow::tr("no reading for %1 s").arg((now - latest->ms) / 1000);
    const QString current =
        latest
            ? AnglePlotWindow::tr("Current %1\u00b0").arg(QString::number(latest->degrees, 'f', 2))
            : AnglePlotWindow::tr("Current \u2014");
    p.setFont(bigFont);
    const int currentW = bigFm.horizontalAdvance(current);
    p.drawText(QRect(right - currentW, r.top() + pad, currentW, headerH),
               Qt::AlignRight | Qt::AlignVCenter, current);
    p.setFont(font());
    if (!stale.isEmpty()) {
        p.setPen(kDimText);
        p.drawText(QRect(left, r.top() + pad, plot.width() - currentW - pad, headerH),
                   Qt::AlignRight | Qt::AlignVCenter, stale);
    }

    // Backgrounds: the chart, and alternate shading to follow a lamp row across.
    p.fillRect(plot, kPlotBackground);
    for (int i = 0; i < rows.size(); ++i)
        p.fillRect(QRect(left, lampsTop + i * rowH, lamps.width(), rowH),
                   i % 2 ? kRowShade : kPlotBackground);

    // Time grid through chart and lamps alike, at whole steps back from now.
    qint64 xStep = 1000;
    for (qint64 s : {1, 2, 5, 10, 15, 30, 60, 120}) {
        xStep = s * 1000;
        if (double(plot.width()) * double(xStep) / double(span) >= 70)
            break;
    }
    for (qint64 back = 0; back <= span; back += xStep) {
        const int x = int(std::lround(xOf(now - back)));
        p.setPen(kGrid);
        p.drawLine(x, plot.top(), x, plot.bottom());
        p.drawLine(x, lamps.top(), x, lamps.bottom());
        p.setPen(kText);
        const QString t = secondsText(back);
        const int w = fm.horizontalAdvance(t);
        p.drawText(QRect(x - w / 2 - 2, lamps.bottom() + 3, w + 4, xLabelH),
                   Qt::AlignHCenter | Qt::AlignTop, t);
    }

    // Angle grid and labels.
    for (int k = 0; k <= axis.steps; ++k) {
        const double v = axis.lo + k * axis.step;
        const int y = int(std::lround(yOf(v)));
        p.setPen(kGrid);
        p.drawLine(plot.left(), y, plot.right(), y);
        p.setPen(kText);
        p.drawText(QRect(r.left() + pad, y - fm.height() / 2, labelW, fm.height()),
                   Qt::AlignRight | Qt::AlignVCenter, tickText(v, axis));
    }

    // The angle, broken where readings stopped for a while.
    samples = thinned(samples, from, span, std::max(plot.width(), 1));
    p.save();
    p.setClipRect(plot.adjusted(1, 1, 0, 0));
    // A line denser than the pixels gains nothing from smoothing, and a wide smoothed pen
    // over a jagged line costs tens of ms a frame.
    const bool dense = samples.size() > plot.width() / 2;
    p.setRenderHint(QPainter::Antialiasing, !dense);
    p.setPen(dense ? QPen(kLine, 0) : QPen(kLine, 1.6));
    QList<QPointF> run;
    QList<QPointF> isolated;
    const auto endRun = [&] {
        if (run.size() == 1)
            isolated.append(run.front());
        else if (run.size() > 1)
            p.drawPolyline(run.constData(), int(run.size()));
        run.clear();
    };
    for (qsizetype i = 0; i < samples.size(); ++i) {
        if (i > 0 && samples[i].ms - samples[i - 1].ms > kGapMs)
            endRun();
        run.append(QPointF(xOf(samples[i].ms), yOf(samples[i].degrees)));
    }
    endRun();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(kLine);
    for (const QPointF& pt : isolated)
        p.drawEllipse(pt, 2.5, 2.5);
    p.restore();
    if (shown.isEmpty()) {
        p.setPen(kDimText);
        p.drawText(plot, Qt::AlignCenter, AnglePlotWindow::tr("No angle readings in this span"));
    }

    // Lamp timeline: a bar wherever the lamp was lit.
    if (history_) {
        const QList<LampChange> changes = history_->lampChanges(from, now);
        for (int i = 0; i < rows.size(); ++i) {
            const quint16 bit = quint16(1u << rows[i].index);
            const QColor lit = rows[i].caption == QLatin1String("ALR") ? kAlarmLit : kLit;
            const int top = lampsTop + i * rowH + 3;
            const auto bar = [&](qint64 a, qint64 b) {
                const double x1 = xOf(a), x2 = std::max(xOf(b), x1 + 1.0);
                p.fillRect(QRectF(x1, top, x2 - x1, rowH - 6), lit);
            };
            qint64 start = from;
            bool on = history_->lampsAt(from) & bit;
            for (const LampChange& c : changes) {
                const bool nowOn = c.mask & bit;
                if (nowOn == on)
                    continue;
                if (on)
                    bar(start, c.ms);
                on = nowOn;
                start = c.ms;
            }
            if (on)
                bar(start, now);
        }
    }
    p.setPen(kText);
    for (int i = 0; i < rows.size(); ++i)
        p.drawText(QRect(r.left() + pad, lampsTop + i * rowH, labelW, rowH),
                   Qt::AlignRight | Qt::AlignVCenter, shownCaption(rows[i]));

    p.setPen(kFrame);
    p.setBrush(Qt::NoBrush);
    p.drawRect(plot);
    p.drawRect(lamps);
}

struct SpanChoice {
    const char* text;
    qint64 ms;
};
constexpr SpanChoice kSpans[] = {
    {QT_TRANSLATE_NOOP("kap::AnglePlotWindow", "10 s"), 10'000},
    {QT_TRANSLATE_NOOP("kap::AnglePlotWindow", "30 s"), 30'000},
    {QT_TRANSLATE_NOOP("kap::AnglePlotWindow", "60 s"), 60'000},
    {QT_TRANSLATE_NOOP("kap::AnglePlotWindow", "2 min"), 120'000},
    {QT_TRANSLATE_NOOP("kap::AnglePlotWindow", "5 min"), 300'000},
};

}  // namespace

AnglePlotWindow::AnglePlotWindow(AngleHistory& history, Family family, Dialogs& dialogs,
                                 QWidget* parent)
    : QWidget(parent, Qt::Tool), history_(&history), rows_(plotLampRows(family)), dialogs_(dialogs)
{
    setObjectName(QStringLiteral("frmPlot"));
    setWindowTitle(tr("Angle plot"));
    // New data repaints the window; it never pulls the focus from the main window.
    setAttribute(Qt::WA_ShowWithoutActivating);

    auto* column = new QVBoxLayout(this);
    auto* bar = new QHBoxLayout;
    spanBox_ = new QComboBox(this);
    spanBox_->setObjectName(QStringLiteral("cboSpan"));
    for (const SpanChoice& c : kSpans)
        spanBox_->addItem(tr(c.text), QVariant::fromValue(c.ms));
    spanBox_->setCurrentIndex(spanBox_->findData(QVariant::fromValue(kDefaultSpanMs)));
    auto* spanLabel = new QLabel(tr("&Time span:"), this);
    spanLabel->setBuddy(spanBox_);
    exportButton_ = new QPushButton(tr("Export PNG\u2026"), this);
    exportButton_->setObjectName(QStringLiteral("cmdExport"));
    bar->addWidget(spanLabel);
    bar->addWidget(spanBox_);
    bar->addStretch(1);
    bar->addWidget(exportButton_);
    column->addLayout(bar);
    chart_ = new PlotChart(*this, history_, this);
    column->addWidget(chart_, 1);
    setMinimumSize(720, 480);
    resize(820, 600);

    scrollTimer_ = new QTimer(this);
    scrollTimer_->setObjectName(QStringLiteral("tmrScroll"));
    scrollTimer_->setInterval(kScrollIntervalMs);
    connect(scrollTimer_, &QTimer::timeout, chart_, qOverload<>(&QWidget::update));
    connect(spanBox_, &QComboBox::currentIndexChanged, chart_, qOverload<>(&QWidget::update));
    connect(exportButton_, &QPushButton::clicked, this, &AnglePlotWindow::exportClicked);
    connect(&history, &AngleHistory::sampleAdded, this, &AnglePlotWindow::dataArrived);
    connect(&history, &AngleHistory::lampsChanged, this, &AnglePlotWindow::dataArrived);
}

AnglePlotWindow::~AnglePlotWindow() = default;

qint64 AnglePlotWindow::spanMs() const
{
    return spanBox_->currentData().toLongLong();
}

void AnglePlotWindow::setSpanMs(qint64 ms)
{
    const int i = spanBox_->findData(QVariant::fromValue(ms));
    if (i >= 0)
        spanBox_->setCurrentIndex(i);
}

void AnglePlotWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    scrollTimer_->start();
}

void AnglePlotWindow::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    scrollTimer_->stop();
}

void AnglePlotWindow::dataArrived()
{
    if (isVisible() && !isMinimized())
        chart_->update();
}

bool AnglePlotWindow::exportPng(const QString& path, QString* error)
{
    // A window not shown yet has not laid the chart out.
    layout()->activate();
    // Drawn at the chart's own size whatever the screen's scale, so the file is predictable.
    QImage image(chart_->size(), QImage::Format_RGB32);
    image.fill(palette().window().color());
    chart_->render(&image);
    QString encoderError;
    const safefile::SaveResult saved = safefile::save(path, [&](QIODevice& out) {
        QImageWriter writer(&out, "png");
        if (writer.write(image))
            return true;
        encoderError = writer.errorString();
        return false;
    });
    if (!saved.ok && error)
        *error = encoderError.isEmpty() ? saved.error : encoderError;
    return saved.ok;
}

void AnglePlotWindow::exportClicked()
{
    FileDialogOptions request;
    request.title = tr("Export PNG");
    //: File dialog filter: description|pattern|; keep the |*.png| part.
    request.filter = tr("PNG image(*.png)|*.png|");
    request.defaultSuffix = QStringLiteral("png");
    request.initialName =
        QStringLiteral("angle-plot-%1.png")
            .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")));
    const QString path = dialogs_.saveFileName(request);
    if (path.isEmpty())
        return;
    QString error;
    if (!exportPng(path, &error))
        dialogs_.ok(tr("The picture could not be saved to %1.\n%2").arg(path, error), windowTitle(),
                    MsgIcon::Exclamation);
}

}  // namespace kap
